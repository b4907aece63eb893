// A site's data sources through the real unixODBC driver manager and the
// SQLite ODBC driver that telmar-site registered: the connection strings of
// the plug-in reach telmar.db, "select *" returns the record formats the
// plug-in binds by position, and a refused posting reports its text.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "site_support.h"

namespace telmar_test {
namespace {

namespace fs = std::filesystem;

enum class Kind { Integer, Text, Timestamp };

struct Column {
    std::string name;
    Kind kind;
    bool operator==(const Column& other) const { return name == other.name && kind == other.kind; }
};

std::ostream& operator<<(std::ostream& out, const Column& column) {
    static const char* const kinds[] = {"integer", "text", "timestamp"};
    return out << column.name << ':' << kinds[static_cast<int>(column.kind)];
}

Kind kindOf(SQLSMALLINT sqlType) {
    switch (sqlType) {
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_TINYINT:
        case SQL_BIGINT:
            return Kind::Integer;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return Kind::Timestamp;
        default:
            return Kind::Text;
    }
}

// The ODBC C interface takes statement text as non-const bytes it does not change.
SQLCHAR* sqlText(const std::string& text) {
    return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(text.c_str()));
}

std::string diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::string text;
    SQLCHAR state[6];
    SQLCHAR message[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1; SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state, &native, message,
                                                              sizeof message, &length));
         ++record)
        text += reinterpret_cast<char*>(message);
    return text;
}

// Sets an environment variable for the life of the object, then puts back
// what was there, so later tests (and telmar-site) see the usual ODBC setup.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The site's odbc.ini with ${SITE} expanded, next to a copy of its
// odbcinst.ini: what the platform layer hands the driver manager.
class OdbcSiteTest : public ::testing::Test {
protected:
    SiteFixture site;
    TempDir config;
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::optional<ScopedEnv> systemIni, userIni;

    void SetUp() override {
        fs::copy_file(site.dir() / "odbcinst.ini", config.path() / "odbcinst.ini");
        std::string odbcIni = readFile(site.dir() / "odbc.ini");
        for (size_t at; (at = odbcIni.find("${SITE}")) != std::string::npos;)
            odbcIni.replace(at, 7, site.dir().string());
        std::ofstream(config.path() / "odbc.ini") << odbcIni;
        systemIni.emplace("ODBCSYSINI", config.path().string());
        userIni.emplace("ODBCINI", (config.path() / "odbc.ini").string());

        ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
    }

    void TearDown() override {
        if (stmt != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        if (dbc != SQL_NULL_HDBC) {
            SQLDisconnect(dbc);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        }
        if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }

    void connect(const std::string& connectionString) {
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, sqlText(connectionString), SQL_NTS, out,
                                              sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
        ASSERT_TRUE(SQL_SUCCEEDED(rc)) << connectionString << ": " << diagnostics(SQL_HANDLE_DBC, dbc);
        ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)));
    }

    // Runs a statement; returns the driver's error text, empty on success.
    std::string execute(const std::string& sql) {
        SQLFreeStmt(stmt, SQL_CLOSE);
        const SQLRETURN rc = SQLExecDirect(stmt, sqlText(sql), SQL_NTS);
        return SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA ? "" : "error: " + diagnostics(SQL_HANDLE_STMT, stmt);
    }

    std::vector<Column> resultColumns() {
        SQLSMALLINT count = 0;
        SQLNumResultCols(stmt, &count);
        std::vector<Column> columns;
        for (SQLUSMALLINT i = 1; i <= count; ++i) {
            SQLCHAR name[256];
            SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            SQLDescribeCol(stmt, i, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
            columns.push_back({reinterpret_cast<char*>(name), kindOf(type)});
        }
        return columns;
    }

    // The first row's values as text, the way the plug-in reads a column by name.
    std::vector<std::string> firstRow() {
        std::vector<std::string> values;
        if (!SQL_SUCCEEDED(SQLFetch(stmt))) return values;
        SQLSMALLINT count = 0;
        SQLNumResultCols(stmt, &count);
        for (SQLUSMALLINT i = 1; i <= count; ++i) {
            char value[512];
            SQLLEN length = 0;
            SQLGetData(stmt, i, SQL_C_CHAR, value, sizeof value, &length);
            values.emplace_back(length == SQL_NULL_DATA ? "<null>" : value);
        }
        return values;
    }
};

class ConnectionStringTest : public OdbcSiteTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ConnectionStringTest, ReachesTheSiteDatabase) {
    connect(GetParam());
    ASSERT_EQ(execute("select Agent from LOCAL_AGENT"), "");
    EXPECT_EQ(firstRow(), std::vector<std::string>{"TELMAR"});
}

INSTANTIATE_TEST_SUITE_P(PluginDataSources, ConnectionStringTest,
                         ::testing::Values("DSN=TELMARykt;UID=SA;PWD=", "DSN=TELMARYKT;UID=SA;PWD=",
                                           "DSN=Telmarykt;UID=sa;PWD=", "DSN=TELMARdb;UID=SA;PWD=",
                                           "DSN=TELMARDb;UID=SA;PWD="));

TEST_F(OdbcSiteTest, BridgeRowHasTheFiveColumnsInRecordOrder) {
    connect("DSN=Telmarykt;UID=sa;PWD=");
    ASSERT_EQ(execute("Select * from YKT_BRIDGE where CardNo=000123"), "");

    const std::vector<Column> expected{{"CardNo", Kind::Integer}, {"Status", Kind::Integer},
                                       {"AcctType", Kind::Integer}, {"Acct", Kind::Integer},
                                       {"Password", Kind::Text}};
    EXPECT_EQ(resultColumns(), expected);
    EXPECT_EQ(firstRow(), (std::vector<std::string>{"123", "1", "4", "8004", "7777"}));
}

TEST_F(OdbcSiteTest, SavingsCardRowHasThe58ColumnsInRecordOrder) {
    connect("DSN=Telmarykt;UID=sa;PWD=");
    ASSERT_EQ(execute("select * from SavingsCard where CardID='2001'"), "");

    using K = Kind;
    const std::vector<Column> expected{
        {"Acct", K::Integer},       {"CardID", K::Text},        {"OwnerID", K::Integer},     {"OwnerType", K::Text},
        {"CardType", K::Text},      {"SecretWord", K::Text},    {"Password", K::Text},       {"AmountDebit", K::Text},
        {"AmountCredit", K::Text},  {"Surplus", K::Text},       {"Foregift", K::Text},       {"Quota", K::Text},
        {"ReAcct", K::Integer},     {"AccPeriod", K::Text},     {"Status", K::Integer},      {"Time1", K::Timestamp},
        {"Clerk1", K::Text},        {"Time2", K::Timestamp},    {"Clerk2", K::Text},         {"Time3", K::Timestamp},
        {"Clerk3", K::Text},        {"Time4", K::Timestamp},    {"Clerk4", K::Text},         {"LostReason", K::Text},
        {"Time5", K::Timestamp},    {"Clerk5", K::Text},        {"Time6", K::Timestamp},     {"Clerk6", K::Text},
        {"LastAmount1", K::Text},   {"Time7", K::Timestamp},    {"Clerk7", K::Text},         {"LargestAmount", K::Text},
        {"Time8", K::Timestamp},    {"Clerk8", K::Text},        {"LastAmount2", K::Text},    {"Time9", K::Timestamp},
        {"Clerk9", K::Text},        {"FrozeReason", K::Text},   {"ValidPeriod", K::Integer}, {"Name", K::Text},
        {"Sex", K::Integer},        {"Company", K::Text},       {"Nation", K::Text},         {"Postcode", K::Text},
        {"Email", K::Text},         {"Phone", K::Text},         {"Fax", K::Text},            {"IDType", K::Text},
        {"IDNo", K::Text},          {"MemberFee", K::Text},     {"EntryDate", K::Timestamp}, {"ValidPeriod1", K::Integer},
        {"Introducer", K::Text},    {"Occupation", K::Text},    {"Bank", K::Text},           {"BankAcct", K::Text},
        {"Addr", K::Text},          {"Comment", K::Text}};
    EXPECT_EQ(resultColumns(), expected);

    const std::vector<std::string> row = firstRow();
    ASSERT_EQ(row.size(), 58u);
    EXPECT_EQ(row[9], "100.50");                // Surplus, as text for atof
    EXPECT_EQ(row[11], "50.00");                // Quota
    EXPECT_EQ(row[14], "1");                    // Status
    EXPECT_EQ(row[15], "2024-01-15 09:30:00");  // Time1
    EXPECT_EQ(row[39], u8"李四");               // Name, UTF-8 from the driver
}

TEST_F(OdbcSiteTest, PostingRunsAndARefusalReportsItsText) {
    connect("DSN=TELMARdb;UID=SA;PWD=");

    EXPECT_EQ(execute("INSERT INTO zorYkt VALUES (2001,'D',101,120.50,'2001,120.50,','OP1',1,0,0)"), "");
    const std::string refused = execute("INSERT INTO zorYkt VALUES (2001,'D',101,30.02,'2001,30.02,','OP1',1,0,0)");
    EXPECT_NE(refused.find("insufficient balance"), std::string::npos) << refused;

    ASSERT_EQ(execute("select Surplus from SavingsCard where CardID='2001'"), "");
    EXPECT_EQ(firstRow(), std::vector<std::string>{"-20.00"});
    ASSERT_EQ(execute("Select TRANS_ID from yktpaydetail where TRANS_ID='2001,120.50,' and cancel=1"), "");
    EXPECT_TRUE(firstRow().empty());
}

}  // namespace
}  // namespace telmar_test

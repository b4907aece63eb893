// telmar-site on PostgreSQL: a site with a server of its own (one private
// cluster for the whole lifecycle: initdb is slow), stations joining a
// server, and the PostgreSQL schema kept equal to the SQLite one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>

#include "kind_test.h"
#include "site_support.h"

namespace telmar_test {
namespace {

namespace fs = std::filesystem;

CommandResult siteCommand(const std::string& command, const fs::path& site, const std::string& rest = "") {
    return runSiteTool(command + " " + shellQuoted(site.string()) + (rest.empty() ? "" : " " + rest));
}

std::string sqlOutput(const fs::path& site, const std::string& statement) {
    const CommandResult result = siteCommand("sql", site, shellQuoted(statement));
    EXPECT_EQ(result.exitCode, 0) << statement << "\n" << result.output;
    return result.output;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PostgresqlServerSite, LivesThroughCreateStopStartStationsAndDestroy) {
    TempDir temp;
    const fs::path server = temp.path() / "srv";

    if (geteuid() == 0) {
        // The server runs as the postgres user, who must reach its folders.
        const fs::path closed = temp.path() / "closed";
        fs::create_directory(closed);
        chmod(closed.c_str(), 0700);
        const CommandResult refused = siteCommand("create", closed / "srv", "--db postgresql");
        EXPECT_EQ(refused.exitCode, 1) << refused.output;
        EXPECT_TRUE(contains(refused.output, "cannot enter " + closed.string())) << refused.output;
        EXPECT_FALSE(fs::exists(closed / "srv"));
    }

    const CommandResult created = siteCommand("create", server, "--db postgresql");
    ASSERT_EQ(created.exitCode, 0) << created.output;
    EXPECT_TRUE(contains(created.output, "telmar-site stop " + server.string())) << created.output;

    EXPECT_EQ(readFile(server / "site.ini"), "[site]\ndb=postgresql\nserver=${SITE}\ndatabase=telmar\n");
    const std::string odbcIni = readFile(server / "odbc.ini");
    for (const char* dsn : {"[TELMARykt]\n", "[TELMARdb]\n"}) {
        const size_t section = odbcIni.find(dsn);
        ASSERT_NE(section, std::string::npos) << odbcIni;
        const std::string body = odbcIni.substr(section, odbcIni.find("\n\n", section) - section);
        for (const char* line : {"\nDriver=PostgreSQL Unicode\n", "\nServername=${SITE}/run\n", "\nPort=5432\n",
                                 "\nDatabase=telmar"})
            EXPECT_TRUE(contains(body, line)) << line << " in\n" << body;
    }
    const std::string odbcinst = readFile(server / "odbcinst.ini");
    EXPECT_EQ(odbcinst.rfind("[ODBC]\nPooling=Yes\n\n[PostgreSQL Unicode]\n", 0), 0u) << odbcinst;
    EXPECT_TRUE(contains(odbcinst, "\nCPTimeout=60\n")) << odbcinst;
    EXPECT_TRUE(contains(odbcinst, "/psqlodbcw.so\n")) << odbcinst;

    // No TCP port; only local connections; the stations' roles own nothing
    // themselves but reach everything through their group role.
    EXPECT_EQ(sqlOutput(server, "SELECT current_setting('listen_addresses') || '/' || current_setting('port')"),
              "/5432\n");
    EXPECT_EQ(sqlOutput(server, "SELECT DISTINCT tableowner FROM pg_tables WHERE schemaname = 'public'"),
              "telmar_station\n");
    EXPECT_EQ(sqlOutput(server, "SELECT r.rolname, r.rolcanlogin FROM pg_roles r"
                                " JOIN pg_auth_members m ON m.member = r.oid"
                                " JOIN pg_roles g ON g.oid = m.roleid AND g.rolname = 'telmar_station'"
                                " ORDER BY r.rolname"),
              "SA|t\nsa|t\n");
    EXPECT_EQ(sqlOutput(server, "SELECT count(*) FROM SavingsCard"), "4\n");
    EXPECT_EQ(siteCommand("check", server).exitCode, 0);

    const CommandResult again = siteCommand("create", server, "--db postgresql");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(contains(again.output, "telmar-site destroy " + server.string())) << again.output;

    // A station joins the server's database telmar; the server stays its site's.
    const fs::path station = temp.path() / "st";
    const CommandResult joined = siteCommand("create", station, "--db postgresql --server " + shellQuoted(server));
    ASSERT_EQ(joined.exitCode, 0) << joined.output;
    EXPECT_TRUE(contains(readFile(station / "odbc.ini"), "\nServername=" + server.string() + "/run\n"));
    EXPECT_TRUE(contains(readFile(station / "site.ini"), "\nserver=" + server.string() + "\ndatabase=telmar\n"));
    ASSERT_EQ(sqlOutput(station, statementFor(DbKind::Postgresql, posting("2002", "12.00"))), "");
    EXPECT_EQ(sqlOutput(server, "SELECT Surplus FROM SavingsCard WHERE CardID = '2002'"), "288.00\n");
    for (const char* command : {"start", "stop"}) {
        const CommandResult result = siteCommand(command, station);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(contains(result.output, "belongs to the site " + server.string())) << result.output;
    }
    EXPECT_EQ(siteCommand("destroy", station).exitCode, 0);
    EXPECT_FALSE(fs::exists(station));
    EXPECT_EQ(sqlOutput(server, "SELECT Surplus FROM SavingsCard WHERE CardID = '2002'"), "288.00\n");

    // Stop and start, each idempotent.
    EXPECT_TRUE(contains(siteCommand("start", server).output, "already running"));
    EXPECT_TRUE(contains(siteCommand("stop", server).output, "stopped the server"));
    EXPECT_TRUE(contains(siteCommand("stop", server).output, "not running"));
    EXPECT_NE(siteCommand("sql", server, "'SELECT 1'").exitCode, 0);
    EXPECT_TRUE(contains(siteCommand("start", server).output, "started the server"));
    EXPECT_EQ(sqlOutput(server, "SELECT Surplus FROM SavingsCard WHERE CardID = '2002'"), "288.00\n");

    // A stopped server is destroyed as well as a running one.
    siteCommand("stop", server);
    const CommandResult destroyed = siteCommand("destroy", server);
    EXPECT_EQ(destroyed.exitCode, 0) << destroyed.output;
    EXPECT_FALSE(fs::exists(server));
}

TEST(PostgresqlServerSite, DestroyRemovesWhatAnInterruptedCreateLeft) {
    TempDir temp;
    const fs::path site = temp.path() / "half";
    fs::create_directories(site / "pgdata");
    std::ofstream(site / "site.ini") << "[site]\ndb=postgresql\n";

    const CommandResult result = siteCommand("destroy", site);

    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_FALSE(fs::exists(site));
}

TEST(PostgresqlServerSite, RefusesASocketPathBeyondTheUnixLimit) {
    TempDir temp;
    const fs::path site = temp.path() / std::string(100, 'd');

    const CommandResult result = siteCommand("create", site, "--db postgresql");

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.output, "longer than 107 bytes")) << result.output;
    EXPECT_FALSE(fs::exists(site));
}

TEST(SiteDestroy, RefusesAFolderThatIsNotASite) {
    TempDir temp;
    std::ofstream(temp.path() / "notes.txt") << "keep";

    const CommandResult result = siteCommand("destroy", temp.path());

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.output, "not a site")) << result.output;
    EXPECT_EQ(readFile(temp.path() / "notes.txt"), "keep");
}

class PostgresqlStationTest : public KindTest {
protected:
    void SetUp() override {
        if (testPgServer().empty()) GTEST_SKIP() << "no PostgreSQL test server site (TELMAR_TEST_PG_SERVER)";
    }
    static std::string databasesNamed(const std::string& name) {
        return sqlOutput(testPgServer(), "SELECT count(*) FROM pg_database WHERE datname = '" + name + "'");
    }
};

TEST_F(PostgresqlStationTest, MakesItsOwnDatabaseAndDropsItOnDestroy) {
    TempDir temp;
    const std::string database = "station_" + std::to_string(getpid());
    const fs::path station = temp.path() / "st";

    const CommandResult created = siteCommand(
        "create", station, "--db postgresql --no-sample --pooling off --server " + shellQuoted(testPgServer()) +
                               " --database " + database);
    ASSERT_EQ(created.exitCode, 0) << created.output;
    EXPECT_EQ(databasesNamed(database), "1\n");
    EXPECT_EQ(sqlOutput(station, "SELECT current_database(), (SELECT count(*) FROM SavingsCard)"),
              database + "|0\n");
    EXPECT_EQ(readFile(station / "odbcinst.ini").rfind("[ODBC]\nPooling=No\n", 0), 0u);

    EXPECT_EQ(siteCommand("destroy", station).exitCode, 0);
    EXPECT_EQ(databasesNamed(database), "0\n");
}

TEST_F(PostgresqlStationTest, RefusesAServerThatIsNotAServerSite) {
    TempDir temp;
    SiteFixture sqliteSite;
    for (const fs::path& notServer : {sqliteSite.dir(), temp.path()}) {
        const CommandResult result =
            siteCommand("create", temp.path() / "st", "--db postgresql --server " + shellQuoted(notServer));
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(contains(result.output, "--server " + notServer.string())) << result.output;
        EXPECT_FALSE(fs::exists(temp.path() / "st"));
    }
}

// ---------------------------------------------------------------- schema drift

// What a column holds, as both editions should agree on it.
struct ColumnShape {
    std::string name;  // lower case: PostgreSQL folds unquoted names
    std::string kind;  // integer, text, money or time
    bool notNull;
    std::string defaultValue;  // without quotes and casts; "none" when there is none

    bool operator==(const ColumnShape& other) const {
        return name == other.name && kind == other.kind && notNull == other.notNull &&
               defaultValue == other.defaultValue;
    }
};

std::ostream& operator<<(std::ostream& out, const ColumnShape& c) {
    return out << c.name << ':' << c.kind << (c.notNull ? ":not null" : ":null") << ":default " << c.defaultValue;
}

using Schema = std::map<std::string, std::vector<ColumnShape>>;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// '0.00' -> 0.00, ''::character varying -> (empty), NULL -> none.
std::string plainDefault(const std::optional<std::string>& value) {
    if (!value) return "none";
    std::string text = value->substr(0, value->find("::"));
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') text = text.substr(1, text.size() - 2);
    return text;
}

// SQLite keeps money as text; these are its money columns (db/README.md).
bool isSqliteMoneyColumn(const std::string& name) {
    static const char* const money[] = {"amountdebit", "amountcredit", "surplus",   "foregift", "quota",
                                        "lastamount1", "largestamount", "lastamount2", "memberfee", "opening",
                                        "amount",      "balanceafter", "balance"};
    return std::find(std::begin(money), std::end(money), name) != std::end(money);
}

Schema sqliteSchema(Connection& db) {
    Schema schema;
    for (const auto& table : db.rows("SELECT name FROM sqlite_master WHERE type = 'table'"
                                     " AND name NOT LIKE 'sqlite_%'")) {
        auto& columns = schema[lowered(*table[0])];
        for (const auto& c : db.rows("SELECT name, type, \"notnull\" OR pk > 0, dflt_value FROM pragma_table_info('" +
                                     *table[0] + "') ORDER BY cid")) {
            const std::string name = lowered(*c[0]), type = *c[1];
            const std::string kind = type == "INTEGER"  ? "integer"
                                     : type == "DATETIME" ? "time"
                                     : isSqliteMoneyColumn(name) ? "money"
                                                                 : "text";
            columns.push_back({name, kind, *c[2] == "1", plainDefault(c[3])});
        }
    }
    return schema;
}

Schema postgresqlSchema(Connection& db) {
    Schema schema;
    for (const auto& c : db.rows("SELECT c.table_name, c.column_name, c.data_type, c.is_nullable, c.column_default"
                                 "  FROM information_schema.columns c"
                                 "  JOIN information_schema.tables t USING (table_schema, table_name)"
                                 " WHERE c.table_schema = 'public' AND t.table_type = 'BASE TABLE'"
                                 " ORDER BY c.table_name, c.ordinal_position")) {
        const std::string type = *c[2];
        const std::string kind = type == "integer"    ? "integer"
                                 : type == "numeric"    ? "money"
                                 : type.rfind("timestamp", 0) == 0 ? "time"
                                 : type == "character varying" ? "text"
                                                                : "unexpected " + type;
        schema[*c[0]].push_back({*c[1], kind, *c[3] == "NO", plainDefault(c[4])});
    }
    return schema;
}

TEST_F(PostgresqlStationTest, SchemaHasTheSqliteTablesAndColumnsInTheSameOrder) {
    SiteFixture sqliteSite(DbKind::Sqlite, "--no-sample");
    SiteFixture postgresqlSite(DbKind::Postgresql, "--no-sample");

    const Schema sqlite = sqliteSchema(sqliteSite.db());
    const Schema postgresql = postgresqlSchema(postgresqlSite.db());

    ASSERT_EQ(sqlite.size(), 9u);
    EXPECT_EQ(sqlite.at("savingscard").size(), 58u);
    for (const auto& [table, columns] : sqlite) {
        ASSERT_EQ(postgresql.count(table), 1u) << table;
        EXPECT_EQ(postgresql.at(table), columns) << table;
    }
    EXPECT_EQ(postgresql.size(), sqlite.size());
}

}  // namespace
}  // namespace telmar_test

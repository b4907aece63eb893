#include "site_support.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace telmar_test {

namespace fs = std::filesystem;

const char* kindName(DbKind kind) { return kind == DbKind::Sqlite ? "sqlite" : "postgresql"; }

CommandResult runCommand(const std::string& commandLine) {
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run: " + commandLine);
    std::string output;
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), got);
    const int status = pclose(pipe);
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {exitCode, output};
}

std::string shellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CommandResult runSiteTool(const std::string& arguments) {
    return runCommand(shellQuoted(TELMAR_SITE_TOOL) + " " + arguments);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string testPgServer() {
    const char* server = std::getenv("TELMAR_TEST_PG_SERVER");
    if (server != nullptr && *server != '\0') return server;
    return fs::exists(fs::path(TELMAR_TEST_PG_SERVER_DIR) / "site.ini") ? TELMAR_TEST_PG_SERVER_DIR : "";
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "telmar-db-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    chmod(path_.c_str(), 0711);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

// ---------------------------------------------------------------- statements

std::string transId(const std::string& cardText, const std::string& amountText) {
    return cardText + "," + amountText + ",";
}

static std::string commonArguments(const std::string& cardText, const std::string& amountText,
                                   const std::string& operatorName, const std::string& dateText) {
    return std::to_string(std::atoi(cardText.c_str())) + ",'" + dateText + "',101," + amountText + ",'" +
           transId(cardText, amountText) + "','" + operatorName + "',1,0,0";
}

ProcedureCall posting(const std::string& cardText, const std::string& amountText, const std::string& operatorName,
                      const std::string& dateText) {
    return {"zorYkt", commonArguments(cardText, amountText, operatorName, dateText)};
}

ProcedureCall vekPosting(const std::string& cardText, const std::string& amountText, const std::string& transCode,
                         const std::string& station) {
    return {"vekYkt", commonArguments(cardText, amountText, "OP1", "2024-05-01") + "," + transCode + "," + station};
}

ProcedureCall cancellation(const std::string& transId) { return {"zorYkt", "1,'1',1,1,'" + transId + "','ss',1,1,0"}; }

std::string statementFor(DbKind kind, const ProcedureCall& call) {
    if (kind == DbKind::Sqlite) return "INSERT INTO " + call.procedure + " VALUES (" + call.arguments + ")";
    return "CALL " + call.procedure + "(" + call.arguments + ")";
}

// ---------------------------------------------------------------- connections

std::optional<std::string> Connection::text(const std::string& sql) {
    const auto all = rows(sql);
    if (all.empty() || all.front().empty()) return std::nullopt;
    return all.front().front();
}

long long Connection::integer(const std::string& sql) {
    const auto value = text(sql);
    if (!value) throw std::runtime_error("no value: " + sql);
    return std::stoll(*value);
}

std::string Connection::list(const std::string& sql) {
    std::string joined;
    for (const auto& row : rows(sql)) {
        if (!joined.empty()) joined += ',';
        for (size_t i = 0; i < row.size(); ++i) joined += (i ? "|" : "") + row[i].value_or("null");
    }
    return joined;
}

std::string Connection::moneyState() {
    return list("SELECT 'S' || CardID || '=' || Surplus AS line FROM SavingsCard"
                " UNION ALL SELECT 'G' || Acct || '=' || Balance FROM GstProfile"
                " UNION ALL SELECT 'R' || Acct || '=' || Balance FROM GrpProfile"
                " UNION ALL SELECT 'T' || Acct || '=' || Balance FROM Tamain"
                " UNION ALL SELECT 'P' || PayNo || '=' || cancel FROM yktpaydetail"
                " ORDER BY 1");
}

namespace {

class SqliteConnection : public Connection {
public:
    explicit SqliteConnection(const fs::path& file) {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            const std::string error = sqlite3_errmsg(db_);
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + file.string() + ": " + error);
        }
        // The sites' data sources wait this long for another station's write.
        sqlite3_busy_timeout(db_, 10000);
    }
    ~SqliteConnection() override { sqlite3_close(db_); }

    DbKind kind() const override { return DbKind::Sqlite; }

    StatementResult exec(const std::string& sql) override {
        char* message = nullptr;
        const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
        StatementResult result{code == SQLITE_OK, message != nullptr ? message : ""};
        sqlite3_free(message);
        return result;
    }

    std::vector<std::vector<std::optional<std::string>>> rows(const std::string& sql) override {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("bad query: ") + sqlite3_errmsg(db_) + ": " + sql);
        std::vector<std::vector<std::optional<std::string>>> result;
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            auto& row = result.emplace_back();
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL) row.emplace_back();
                else row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            }
        }
        sqlite3_finalize(statement);
        if (step != SQLITE_DONE) throw std::runtime_error("query failed: " + sql);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

class PgConnection : public Connection {
public:
    PgConnection(const std::string& server, const std::string& database) {
        const std::string conninfo = "host=" + server + "/run port=5432 user=SA dbname=" + database;
        pg_ = PQconnectdb(conninfo.c_str());
        if (PQstatus(pg_) != CONNECTION_OK) {
            const std::string error = PQerrorMessage(pg_);
            PQfinish(pg_);
            throw std::runtime_error("cannot connect (" + conninfo + "): " + error);
        }
        PQsetClientEncoding(pg_, "UTF8");
    }
    ~PgConnection() override { PQfinish(pg_); }

    DbKind kind() const override { return DbKind::Postgresql; }

    StatementResult exec(const std::string& sql) override {
        PGresult* result = PQexec(pg_, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        const bool succeeded =
            status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY;
        StatementResult outcome{succeeded,
                                PQresultErrorMessage(result)};
        PQclear(result);
        return outcome;
    }

    std::vector<std::vector<std::optional<std::string>>> rows(const std::string& sql) override {
        PGresult* result = PQexec(pg_, sql.c_str());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            const std::string error = PQresultErrorMessage(result);
            PQclear(result);
            throw std::runtime_error("query failed: " + error + ": " + sql);
        }
        std::vector<std::vector<std::optional<std::string>>> all(PQntuples(result));
        for (int r = 0; r < PQntuples(result); ++r)
            for (int c = 0; c < PQnfields(result); ++c)
                all[r].push_back(PQgetisnull(result, r, c) ? std::nullopt
                                                           : std::optional<std::string>(PQgetvalue(result, r, c)));
        PQclear(result);
        return all;
    }

private:
    PGconn* pg_ = nullptr;
};

// A database name no other test process uses at the same time.
std::string freshDatabaseName() {
    static std::atomic<int> counter{0};
    return "t" + std::to_string(getpid()) + "_" + std::to_string(counter++);
}

}  // namespace

// ---------------------------------------------------------------- sites

SiteFixture::SiteFixture(DbKind kind, const std::string& createOptions) : kind_(kind), site_(temp_.path() / "site") {
    std::string arguments = "create " + shellQuoted(site_.string()) + " --db " + kindName(kind);
    if (kind == DbKind::Postgresql) {
        if (testPgServer().empty()) throw std::runtime_error("TELMAR_TEST_PG_SERVER is not set");
        database_ = freshDatabaseName();
        arguments += " --server " + shellQuoted(testPgServer()) + " --database " + database_;
    }
    const CommandResult created = runSiteTool(arguments + " " + createOptions);
    if (created.exitCode != 0) throw std::runtime_error("telmar-site create failed: " + created.output);
    db_ = connect();
}

SiteFixture::~SiteFixture() {
    db_.reset();
    runSiteTool("destroy " + shellQuoted(site_.string()));
}

std::unique_ptr<Connection> SiteFixture::connect() const {
    if (kind_ == DbKind::Sqlite) return std::make_unique<SqliteConnection>(site_ / "telmar.db");
    return std::make_unique<PgConnection>(testPgServer(), database_);
}

CommandResult SiteFixture::check() const { return runSiteTool("check " + shellQuoted(site_.string())); }

CommandResult SiteFixture::sql(const std::string& statement) const {
    return runSiteTool("sql " + shellQuoted(site_.string()) + " " + shellQuoted(statement));
}

}  // namespace telmar_test

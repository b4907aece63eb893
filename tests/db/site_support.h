// Helpers shared by the database tests: a throw-away site of either database
// kind made with the real telmar-site tool, the tool's command line, and a
// small connection to the site's database (sqlite3 or libpq).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace telmar_test {

enum class DbKind { Sqlite, Postgresql };

// "sqlite" / "postgresql": the --db value and the name in test names.
const char* kindName(DbKind kind);

struct CommandResult {
    int exitCode;
    std::string output;  // stdout and stderr together
};

// Runs a shell command line and collects its output.
CommandResult runCommand(const std::string& commandLine);

// Single-quotes a word for the shell.
std::string shellQuoted(const std::string& word);

// Runs telmar-site with the given (already quoted) arguments.
CommandResult runSiteTool(const std::string& arguments);

std::string readFile(const std::filesystem::path& file);

// The PostgreSQL server site shared by the tests: TELMAR_TEST_PG_SERVER, or
// the build's test server site; empty when neither is there.
std::string testPgServer();

// A fresh directory under the system temp dir, removed with its contents.
// Others may enter it (a server running as another user needs to).
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct StatementResult {
    bool succeeded;
    std::string error;  // the database's message; empty on success
    bool ok() const { return succeeded; }
};

// A call of a posting procedure, as the plug-in writes it: "Exec <procedure>
// <arguments>".
struct ProcedureCall {
    std::string procedure;
    std::string arguments;
};

// The first argument is the card number read the way atoi reads it; the
// identifier is "card,amount,".
ProcedureCall posting(const std::string& cardText, const std::string& amountText,
                      const std::string& operatorName = "OP1", const std::string& dateText = "2024-05-01");
ProcedureCall vekPosting(const std::string& cardText, const std::string& amountText, const std::string& transCode,
                         const std::string& station);
ProcedureCall cancellation(const std::string& transId);
std::string transId(const std::string& cardText, const std::string& amountText);

// What the platform sends for the call: INSERT INTO <procedure> VALUES (...)
// on SQLite, CALL <procedure>(...) on PostgreSQL.
std::string statementFor(DbKind kind, const ProcedureCall& call);

// One connection to a site's database, as a station would hold it.
class Connection {
public:
    virtual ~Connection() = default;
    virtual DbKind kind() const = 0;
    virtual StatementResult exec(const std::string& sql) = 0;
    // Every row's values as text, nullopt for NULL; throws on error.
    virtual std::vector<std::vector<std::optional<std::string>>> rows(const std::string& sql) = 0;

    StatementResult call(const ProcedureCall& procedureCall) { return exec(statementFor(kind(), procedureCall)); }
    // First column of the first row; nullopt for no row or NULL.
    std::optional<std::string> text(const std::string& sql);
    long long integer(const std::string& sql);
    // All rows: columns joined by '|', rows by ','; NULL shown as "null".
    std::string list(const std::string& sql);

    // Every balance of every account and every posting, as one text: equal
    // before and after a statement exactly when it moved no money and wrote
    // no posting.
    std::string moneyState();
};

// A site created by telmar-site in a temp dir: a SQLite site, or a station
// with a database of its own on the shared PostgreSQL test server. Removed
// (database included) at the end.
class SiteFixture {
public:
    explicit SiteFixture(DbKind kind = DbKind::Sqlite, const std::string& createOptions = "");
    ~SiteFixture();
    SiteFixture(const SiteFixture&) = delete;
    SiteFixture& operator=(const SiteFixture&) = delete;

    DbKind kind() const { return kind_; }
    const std::filesystem::path& dir() const { return site_; }
    // The connection opened with the site; connect() opens another one.
    Connection& db() { return *db_; }
    std::unique_ptr<Connection> connect() const;
    CommandResult check() const;
    CommandResult sql(const std::string& statement) const;

private:
    DbKind kind_;
    TempDir temp_;
    std::filesystem::path site_;
    std::string database_;  // PostgreSQL only
    std::unique_ptr<Connection> db_;
};

}  // namespace telmar_test

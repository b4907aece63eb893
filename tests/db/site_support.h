// Helpers shared by the database tests: a throw-away site made with the real
// telmar-site tool, the tool's command line, and a small SQLite handle.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>

namespace telmar_test {

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

// A fresh directory under the system temp dir, removed with its contents.
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
    int code;           // SQLite result code of the statement
    std::string error;  // empty on success
    bool ok() const { return code == SQLITE_OK; }
};

// One connection to a site's telmar.db, as a station would hold it.
class Database {
public:
    explicit Database(const std::filesystem::path& file);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    StatementResult exec(const std::string& sql);
    // First column of the first row as text; nullopt for no row or NULL.
    std::optional<std::string> text(const std::string& sql);
    long long integer(const std::string& sql);

    // Every balance of every account and every posting, as one text: equal
    // before and after a statement exactly when it moved no money and wrote
    // no posting.
    std::string moneyState();

private:
    sqlite3* db_ = nullptr;
};

// The statement the platform sends for a posting: "Exec zorYkt ..." rewritten
// as an INSERT into the procedure's view.  The first argument is the card
// number read the way atoi reads it; the identifier is "card,amount,".
std::string postingStatement(const std::string& cardText, const std::string& amountText,
                             const std::string& operatorName = "OP1",
                             const std::string& dateText = "2024-05-01");
std::string vekPostingStatement(const std::string& cardText, const std::string& amountText,
                                const std::string& transCode, const std::string& station);
std::string cancelStatement(const std::string& transId);
std::string transId(const std::string& cardText, const std::string& amountText);

// A site created by telmar-site in a temp dir, with an open connection.
class SiteFixture {
public:
    explicit SiteFixture(const std::string& createOptions = "");
    const std::filesystem::path& dir() const { return site_; }
    std::filesystem::path dbFile() const { return site_ / "telmar.db"; }
    Database& db() { return *db_; }
    CommandResult check() const;

private:
    TempDir temp_;
    std::filesystem::path site_;
    std::optional<Database> db_;
};

}  // namespace telmar_test

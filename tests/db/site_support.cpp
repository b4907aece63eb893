#include "site_support.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace telmar_test {

namespace fs = std::filesystem;

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

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "telmar-db-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Database::Database(const fs::path& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db_);
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + file.string() + ": " + error);
    }
    // The sites' data sources wait this long for another station's write.
    sqlite3_busy_timeout(db_, 10000);
}

Database::~Database() { sqlite3_close(db_); }

StatementResult Database::exec(const std::string& sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    StatementResult result{code, message != nullptr ? message : ""};
    sqlite3_free(message);
    return result;
}

std::optional<std::string> Database::text(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("bad query: ") + sqlite3_errmsg(db_) + ": " + sql);
    std::optional<std::string> value;
    const int step = sqlite3_step(statement);
    if (step == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (step != SQLITE_ROW && step != SQLITE_DONE) throw std::runtime_error("query failed: " + sql);
    return value;
}

long long Database::integer(const std::string& sql) {
    const auto value = text(sql);
    if (!value) throw std::runtime_error("no value: " + sql);
    return std::stoll(*value);
}

std::string Database::moneyState() {
    return text("SELECT group_concat(line, ';') FROM ("
                " SELECT 'S' || CardID || '=' || Surplus AS line FROM SavingsCard"
                " UNION ALL SELECT 'G' || Acct || '=' || Balance FROM GstProfile"
                " UNION ALL SELECT 'R' || Acct || '=' || Balance FROM GrpProfile"
                " UNION ALL SELECT 'T' || Acct || '=' || Balance FROM Tamain"
                " UNION ALL SELECT 'P' || PayNo || '=' || cancel FROM yktpaydetail"
                " ORDER BY 1)")
        .value_or("");
}

std::string transId(const std::string& cardText, const std::string& amountText) {
    return cardText + "," + amountText + ",";
}

static std::string commonArguments(const std::string& cardText, const std::string& amountText,
                                   const std::string& operatorName, const std::string& dateText) {
    return std::to_string(std::atoi(cardText.c_str())) + ",'" + dateText + "',101," + amountText +
           ",'" + transId(cardText, amountText) + "','" + operatorName + "',1,0,0";
}

std::string postingStatement(const std::string& cardText, const std::string& amountText,
                             const std::string& operatorName, const std::string& dateText) {
    return "INSERT INTO zorYkt VALUES (" + commonArguments(cardText, amountText, operatorName, dateText) +
           ")";
}

std::string vekPostingStatement(const std::string& cardText, const std::string& amountText,
                                const std::string& transCode, const std::string& station) {
    return "INSERT INTO vekYkt VALUES (" + commonArguments(cardText, amountText, "OP1", "2024-05-01") +
           "," + transCode + "," + station + ")";
}

std::string cancelStatement(const std::string& transId) {
    return "INSERT INTO zorYkt VALUES (1,'1',1,1,'" + transId + "','ss',1,1,0)";
}

SiteFixture::SiteFixture(const std::string& createOptions) : site_(temp_.path() / "site") {
    const CommandResult created = runSiteTool("create " + shellQuoted(site_.string()) + " " + createOptions);
    if (created.exitCode != 0) throw std::runtime_error("telmar-site create failed: " + created.output);
    db_.emplace(dbFile());
}

CommandResult SiteFixture::check() const { return runSiteTool("check " + shellQuoted(site_.string())); }

}  // namespace telmar_test

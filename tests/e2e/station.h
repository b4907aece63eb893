// Drives the real host program, zorhost, the way a cashier station runs it:
// a site directory made by telmar-site, the simulated card reader, the
// script user interface, and the logs of boxes, dialogs and statements.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace e2e {

using Json = nlohmann::json;

struct Outcome {
  int exitCode = -1;
  std::string out;                          // standard output, UTF-8
  std::string err;                          // standard error
  std::map<std::string, int> results;       // operation -> result, as printed
  std::map<std::string, std::string> params;  // KEY=VALUE lines
  std::vector<Json> ui;                     // boxes and dialogs, in order
  std::vector<Json> sql;                    // connections and statements, in order
  std::vector<std::string> reader;          // loads, calls and unloads of the card reader

  std::vector<std::string> Statements() const;
  std::vector<Json> Boxes() const;
  std::vector<Json> Dialogs() const;
  std::vector<std::string> Connections() const;
};

struct Invocation {
  std::vector<std::string> operations;
  std::map<std::string, std::string> params;  // --set KEY=VALUE, UTF-8
  std::vector<std::string> answers;           // --answer
  std::string card;                           // YKT_CARD; empty: no card on the reader
  std::string pin;                            // YKT_PIN; empty: unset
  bool keepGoing = false;
};

// A command started in the background, its output going to files in `dir`.
struct Process {
  int pid = -1;
  std::string dir;
};
Process StartCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);
// Waits for it; returns its exit status (128 + signal when killed).
int FinishCommand(Process& process, std::string* out, std::string* err);
// Both in one: runs a command to its end.
int RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               std::string* out, std::string* err);

// The database behind a site. PostgreSQL sites of the suite join the test
// run's test server, each with a database of its own.
enum class DbKind { Sqlite, Postgresql };
std::string KindName(DbKind kind);

// For the suites that run once on each database.
inline const auto kBothDatabases = testing::Values(DbKind::Sqlite, DbKind::Postgresql);
inline std::string DbParamName(const testing::TestParamInfo<DbKind>& info) { return KindName(info.param); }

class Station {
 public:
  // Creates a new site in a fresh temporary folder with `telmar-site create`.
  // A PostgreSQL site joins the test server unless it is to have a server
  // of its own (which a test may stop and start).
  enum class Server { Shared, OwnServer };
  explicit Station(DbKind kind = DbKind::Sqlite, const std::vector<std::string>& createOptions = {},
                   Server server = Server::Shared);
  ~Station();
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  const std::string& Site() const { return m_site; }
  DbKind Kind() const { return m_kind; }
  Outcome Operate(const Invocation& invocation) const;
  // Several stations at once, each a host process of its own.
  std::vector<Outcome> OperateAtOnce(const std::vector<Invocation>& invocations) const;

  // One host process running in the background.
  struct Operation {
    Process process;
    std::string logs;
  };
  Operation Start(const Invocation& invocation) const;
  Outcome Finish(Operation& operation) const;
  // Runs SQL (UTF-8) against the site's database through its own client
  // (`telmar-site sql`), not through the plug-in's ODBC layer; returns rows
  // of '|'-separated text.
  std::vector<std::string> Query(const std::string& sql) const;
  void Execute(const std::string& sql) const;
  // The same, left running in the background (for a statement that waits).
  Process StartSql(const std::string& sql) const;
  // telmar-site check: exit status and output.
  int LedgerCheck(std::string* output = nullptr) const;

  // What differs between the databases, kept in these few places.
  std::string MissingTableText() const;                          // part of the driver's "no such table" text
  void AllowNull(const std::string& table, const std::string& column) const;
  void BreakConnection() const;  // the data sources then name a database that cannot be reached
  // telmar-site start / stop of a site with a server of its own.
  void StartServer() const;
  void StopServer() const;

 private:
  DbKind m_kind;
  std::string m_site;
};

std::string BuildPath(const std::string& relative);
// One JSON object per line, as the logs are written.
std::vector<Json> ReadJsonLines(const std::string& path);

// A card read at a station, answered in the dialog.
Invocation Read(const std::string& card, const std::string& pin, const std::string& answer = "ok",
                const std::string& station = "1");
// The log entries of the boxes the operator sees.
Json Box(const std::string& text, const std::string& caption, int flags);
Json AfxBox(const std::string& text, int type);

}  // namespace e2e

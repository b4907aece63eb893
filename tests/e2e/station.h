// Drives the real host program, zorhost, the way a cashier station runs it:
// a site directory made by telmar-site, the simulated card reader, the
// script user interface, and the logs of boxes, dialogs and statements.
#pragma once

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

// Runs a command, returns its exit status; output captured into files.
int RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               std::string* out, std::string* err);

class Station {
 public:
  // Creates a new site in a fresh temporary folder with `telmar-site create`.
  explicit Station(const std::vector<std::string>& createOptions = {});
  ~Station();
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  const std::string& Site() const { return m_site; }
  Outcome Operate(const Invocation& invocation) const;
  // Runs SQL (UTF-8) against the site's database through its own client,
  // not through the plug-in's ODBC layer; returns rows of '|'-separated text.
  std::vector<std::string> Query(const std::string& sql) const;
  void Execute(const std::string& sql) const;
  // telmar-site check: exit status and output.
  int LedgerCheck(std::string* output = nullptr) const;

 private:
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

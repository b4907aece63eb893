#include "station.h"
#include "text_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace e2e {
namespace {

using test_support::ReadWhole;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string MakeTempDir(const std::string& prefix) {
  std::string pattern = testing::TempDir() + prefix + "XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  // A site's own database server runs as another user, who must get through.
  chmod(pattern.c_str(), 0711);
  return pattern;
}

void ParseOutput(Outcome& run) {
  for (const std::string& line : Lines(run.out)) {
    const auto colon = line.find(": ");
    const auto equals = line.find('=');
    if (equals != std::string::npos && (colon == std::string::npos || equals < colon)) {
      run.params[line.substr(0, equals)] = line.substr(equals + 1);
    } else if (colon != std::string::npos && line.compare(0, 9, "version: ") != 0) {
      run.results[line.substr(0, colon)] = std::stoi(line.substr(colon + 2));
    }
  }
}

}  // namespace

std::vector<Json> ReadJsonLines(const std::string& path) {
  std::vector<Json> objects;
  for (const std::string& line : Lines(ReadWhole(path))) objects.push_back(Json::parse(line));
  return objects;
}

std::string BuildPath(const std::string& relative) { return std::string(TELMAR_BUILD_DIR) + "/" + relative; }

std::vector<std::string> Outcome::Statements() const {
  std::vector<std::string> statements;
  for (const Json& entry : sql) {
    if (entry.contains("sql")) statements.push_back(entry["sql"]);
  }
  return statements;
}

std::vector<Json> Outcome::Boxes() const {
  std::vector<Json> boxes;
  for (const Json& entry : ui) {
    if (entry.contains("box")) boxes.push_back(entry);
  }
  return boxes;
}

std::vector<Json> Outcome::Dialogs() const {
  std::vector<Json> dialogs;
  for (const Json& entry : ui) {
    if (entry.contains("dialog")) dialogs.push_back(entry);
  }
  return dialogs;
}

std::vector<std::string> Outcome::Connections() const {
  std::vector<std::string> connections;
  for (const Json& entry : sql) {
    if (entry.contains("connect")) connections.push_back(entry["connect"]);
  }
  return connections;
}

Invocation Read(const std::string& card, const std::string& pin, const std::string& answer,
                const std::string& station) {
  Invocation invocation;
  invocation.operations = {"readcard"};
  invocation.card = card;
  invocation.pin = pin;
  invocation.answers = {answer};
  invocation.params = {{"STATION_ID", station}};
  return invocation;
}

Json Box(const std::string& text, const std::string& caption, int flags) {
  return {{"box", "MessageBoxA"}, {"text", text}, {"caption", caption}, {"flags", flags}};
}

Json AfxBox(const std::string& text, int type) { return {{"box", "AfxMessageBox"}, {"text", text}, {"type", type}}; }

namespace {

std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const auto equals = text.find('=');
    if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const char* cleared : {"YKT_CARD", "YKT_PIN", "YKT_SIM_LOG", "TELMAR_TRACE"}) environment.erase(cleared);
  for (const auto& [key, value] : env) environment[key] = value;
  std::vector<std::string> text;
  for (const auto& [key, value] : environment) text.push_back(key + "=" + value);
  return text;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

Process StartCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
  Process process;
  process.dir = MakeTempDir("cmd");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (process.dir + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (process.dir + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> envText = EnvironmentWith(env);
  std::vector<std::string> args = argv;
  const int spawned =
      posix_spawnp(&process.pid, args[0].c_str(), &actions, nullptr, Pointers(args).data(), Pointers(envText).data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);
  return process;
}

int FinishCommand(Process& process, std::string* out, std::string* err) {
  int status = 0;
  waitpid(process.pid, &status, 0);
  if (out) *out = ReadWhole(process.dir + "/out");
  if (err) *err = ReadWhole(process.dir + "/err");
  std::filesystem::remove_all(process.dir);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               std::string* out, std::string* err) {
  Process process = StartCommand(argv, env);
  return FinishCommand(process, out, err);
}

std::string KindName(DbKind kind) { return kind == DbKind::Sqlite ? "sqlite" : "postgresql"; }

namespace {

// The run's test server; TELMAR_TEST_PG_SERVER may name another one.
std::string TestServer() {
  const char* server = std::getenv("TELMAR_TEST_PG_SERVER");
  return server && *server ? server : TELMAR_TEST_PG_SERVER_DIR;
}

// A database name of its own for each PostgreSQL station of the suite.
std::string DatabaseNameFor(const std::string& site) {
  std::string name = "e2e_" + std::to_string(getpid()) + "_";
  for (char ch : std::filesystem::path(site).parent_path().filename().string()) {
    name += std::isalnum(static_cast<unsigned char>(ch)) ? static_cast<char>(std::tolower(ch)) : '_';
  }
  return name;
}

std::string SiteTool() { return BuildPath("bin/telmar-site"); }

}  // namespace

Station::Station(DbKind kind, const std::vector<std::string>& createOptions, Server server) : m_kind(kind) {
  m_site = MakeTempDir("site") + "/site";
  std::vector<std::string> argv = {SiteTool(), "create", m_site, "--db", KindName(kind)};
  if (kind == DbKind::Postgresql && server == Server::Shared) {
    argv.insert(argv.end(), {"--server", TestServer(), "--database", DatabaseNameFor(m_site)});
  }
  argv.insert(argv.end(), createOptions.begin(), createOptions.end());
  std::string err;
  if (RunCommand(argv, {}, nullptr, &err) != 0) throw std::runtime_error("telmar-site create failed: " + err);
}

Station::~Station() {
  RunCommand({SiteTool(), "destroy", m_site}, {}, nullptr, nullptr);
  std::filesystem::remove_all(std::filesystem::path(m_site).parent_path());
}

Station::Operation Station::Start(const Invocation& invocation) const {
  Operation operation;
  operation.logs = MakeTempDir("logs");
  const std::string& logs = operation.logs;
  std::vector<std::string> argv = {BuildPath("bin/zorhost"), "--site", m_site, "--ui", "script",
                                   "--ui-log", logs + "/ui.jsonl", "--sql-log", logs + "/sql.jsonl"};
  for (const std::string& answer : invocation.answers) argv.insert(argv.end(), {"--answer", answer});
  for (const auto& [key, value] : invocation.params) argv.insert(argv.end(), {"--set", key + "=" + value});
  if (invocation.keepGoing) argv.push_back("--keep-going");
  argv.insert(argv.end(), invocation.operations.begin(), invocation.operations.end());

  std::map<std::string, std::string> env = {{"YKT_SIM_LOG", logs + "/reader.log"}};
  if (!invocation.card.empty()) env["YKT_CARD"] = invocation.card;
  if (!invocation.pin.empty()) env["YKT_PIN"] = invocation.pin;
  operation.process = StartCommand(argv, env);
  return operation;
}

Outcome Station::Finish(Operation& operation) const {
  Outcome run;
  run.exitCode = FinishCommand(operation.process, &run.out, &run.err);
  ParseOutput(run);
  run.ui = ReadJsonLines(operation.logs + "/ui.jsonl");
  run.sql = ReadJsonLines(operation.logs + "/sql.jsonl");
  run.reader = Lines(ReadWhole(operation.logs + "/reader.log"));
  std::filesystem::remove_all(operation.logs);
  return run;
}

Outcome Station::Operate(const Invocation& invocation) const {
  Operation operation = Start(invocation);
  return Finish(operation);
}

std::vector<Outcome> Station::OperateAtOnce(const std::vector<Invocation>& invocations) const {
  std::vector<Operation> running;
  for (const Invocation& invocation : invocations) running.push_back(Start(invocation));
  std::vector<Outcome> outcomes;
  for (Operation& operation : running) outcomes.push_back(Finish(operation));
  return outcomes;
}

std::vector<std::string> Station::Query(const std::string& sql) const {
  std::string out, err;
  const int status = RunCommand({SiteTool(), "sql", m_site, sql}, {}, &out, &err);
  if (status != 0) throw std::runtime_error("query failed: " + err);
  return Lines(out);
}

void Station::Execute(const std::string& sql) const { Query(sql); }

Process Station::StartSql(const std::string& sql) const { return StartCommand({SiteTool(), "sql", m_site, sql}, {}); }

int Station::LedgerCheck(std::string* output) const {
  std::string out, err;
  const int status = RunCommand({SiteTool(), "check", m_site}, {}, &out, &err);
  if (output) *output = out + err;
  return status;
}

std::string Station::MissingTableText() const {
  return m_kind == DbKind::Sqlite ? "no such table" : "does not exist";
}

void Station::AllowNull(const std::string& table, const std::string& column) const {
  if (m_kind == DbKind::Postgresql) {
    Execute("ALTER TABLE " + table + " ALTER COLUMN " + column + " DROP NOT NULL");
    return;
  }
  // SQLite cannot drop a constraint: the table is copied without its
  // constraints, as an older database may have it.
  Execute("PRAGMA legacy_alter_table=ON; CREATE TABLE Loose AS SELECT * FROM " + table + "; DROP TABLE " + table +
          "; ALTER TABLE Loose RENAME TO " + table);
}

void Station::StartServer() const {
  std::string err;
  if (RunCommand({SiteTool(), "start", m_site}, {}, nullptr, &err) != 0) throw std::runtime_error(err);
}

void Station::StopServer() const {
  std::string err;
  if (RunCommand({SiteTool(), "stop", m_site}, {}, nullptr, &err) != 0) throw std::runtime_error(err);
}

void Station::BreakConnection() const {
  const std::string edit = m_kind == DbKind::Sqlite ? "s#^Database=.*#Database=${SITE}/missing/telmar.db#"
                                                    : "s#^Servername=.*#Servername=${SITE}/missing#";
  RunCommand({"sed", "-i", edit, m_site + "/odbc.ini"}, {}, nullptr, nullptr);
}

}  // namespace e2e

#include "station.h"
#include "text_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

int RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               std::string* out, std::string* err) {
  const std::string dir = MakeTempDir("cmd");
  const std::string outPath = dir + "/out", errPath = dir + "/err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

  std::map<std::string, std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const auto equals = text.find('=');
    if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const char* cleared : {"YKT_CARD", "YKT_PIN", "YKT_SIM_LOG", "TELMAR_TRACE"}) environment.erase(cleared);
  for (const auto& [key, value] : env) environment[key] = value;
  std::vector<std::string> envText;
  for (const auto& [key, value] : environment) envText.push_back(key + "=" + value);
  std::vector<char*> envp, args;
  for (std::string& text : envText) envp.push_back(text.data());
  envp.push_back(nullptr);
  std::vector<std::string> argvCopy = argv;
  for (std::string& arg : argvCopy) args.push_back(arg.data());
  args.push_back(nullptr);

  pid_t pid;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (out) *out = ReadWhole(outPath);
  if (err) *err = ReadWhole(errPath);
  std::filesystem::remove_all(dir);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Station::Station(const std::vector<std::string>& createOptions) {
  m_site = MakeTempDir("site") + "/site";
  std::vector<std::string> argv = {BuildPath("bin/telmar-site"), "create", m_site};
  argv.insert(argv.end(), createOptions.begin(), createOptions.end());
  std::string err;
  if (RunCommand(argv, {}, nullptr, &err) != 0) throw std::runtime_error("telmar-site create failed: " + err);
}

Station::~Station() { std::filesystem::remove_all(std::filesystem::path(m_site).parent_path()); }

Outcome Station::Operate(const Invocation& invocation) const {
  const std::string logs = MakeTempDir("logs");
  std::vector<std::string> argv = {BuildPath("bin/zorhost"), "--site", m_site, "--ui", "script",
                                   "--ui-log", logs + "/ui.jsonl", "--sql-log", logs + "/sql.jsonl"};
  for (const std::string& answer : invocation.answers) argv.insert(argv.end(), {"--answer", answer});
  for (const auto& [key, value] : invocation.params) argv.insert(argv.end(), {"--set", key + "=" + value});
  if (invocation.keepGoing) argv.push_back("--keep-going");
  argv.insert(argv.end(), invocation.operations.begin(), invocation.operations.end());

  std::map<std::string, std::string> env = {{"YKT_SIM_LOG", logs + "/reader.log"}};
  if (!invocation.card.empty()) env["YKT_CARD"] = invocation.card;
  if (!invocation.pin.empty()) env["YKT_PIN"] = invocation.pin;

  Outcome run;
  run.exitCode = RunCommand(argv, env, &run.out, &run.err);
  ParseOutput(run);
  run.ui = ReadJsonLines(logs + "/ui.jsonl");
  run.sql = ReadJsonLines(logs + "/sql.jsonl");
  run.reader = Lines(ReadWhole(logs + "/reader.log"));
  std::filesystem::remove_all(logs);
  return run;
}

std::vector<std::string> Station::Query(const std::string& sql) const {
  std::string out, err;
  const int status = RunCommand({"sqlite3", "-batch", "-bail", m_site + "/telmar.db", sql}, {}, &out, &err);
  if (status != 0) throw std::runtime_error("query failed: " + err);
  return Lines(out);
}

void Station::Execute(const std::string& sql) const { Query(sql); }

int Station::LedgerCheck(std::string* output) const {
  std::string out, err;
  const int status = RunCommand({BuildPath("bin/telmar-site"), "check", m_site}, {}, &out, &err);
  if (output) *output = out + err;
  return status;
}

}  // namespace e2e

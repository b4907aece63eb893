// zorhost: stands in for the cashier and point-of-sale programs. It loads a
// plug-in, makes one object, gives it parameters, runs operations on it in
// order and prints what came back.
#include <dlfcn.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ZORBASE.h"
#include "telmar/encoding.h"
#include "telmar/site.h"
#include "telmar/ui.h"

namespace {

constexpr int kAllSucceeded = 0;
constexpr int kOperationRefused = 1;
constexpr int kCannotStart = 2;

struct Options {
  std::string site = "site";
  std::string plugin;
  std::string ui;
  std::vector<std::string> answers;
  std::string uiLog;
  std::string sqlLog;
  bool keepGoing = false;
  std::vector<std::string> settings;
  std::vector<std::string> operations;
};

struct StartError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string ProgramDirectory() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

std::string DefaultPlugin() { return ProgramDirectory() + "/../lib/zor_ykt.so"; }

class Plugin {
 public:
  explicit Plugin(const std::string& path) : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (!m_handle) throw StartError(std::string("cannot load the plug-in: ") + dlerror());
    m_factory = reinterpret_cast<GetZORObjectProc>(dlsym(m_handle, "GetZORObject"));
    m_version = reinterpret_cast<VersionExportProc>(dlsym(m_handle, "VersionExport"));
    if (!m_factory || !m_version) {
      dlclose(m_handle);
      throw StartError("the plug-in " + path + " lacks GetZORObject or VersionExport");
    }
  }
  ~Plugin() { dlclose(m_handle); }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  ZORBASE* NewObject() const { return m_factory(); }
  std::string Version() const {
    CString version, date, fileName;
    m_version(version, date, fileName);
    return telmar::GbkToUtf8Lossy(version.str()) + " " + telmar::GbkToUtf8Lossy(date.str()) + " " +
           telmar::GbkToUtf8Lossy(fileName.str());
  }

 private:
  void* m_handle;
  GetZORObjectProc m_factory = nullptr;
  VersionExportProc m_version = nullptr;
};

void InstallUserInterface(const Options& options) {
  const bool interactive = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  const std::string kind = options.ui.empty() ? (interactive ? "tty" : "script") : options.ui;
  if (kind == "tty") {
    telmar::SetUserInterface(telmar::MakeTtyUserInterface(options.uiLog));
  } else {
    telmar::SetUserInterface(telmar::MakeScriptUserInterface(options.answers, options.uiLog));
  }
}

void GiveParameters(ZORBASE& object, const std::vector<std::string>& settings) {
  for (const std::string& setting : settings) {
    const auto equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) throw StartError("--set wants KEY=VALUE, not " + setting);
    try {
      object.SetParam(setting.substr(0, equals).c_str(), telmar::Utf8ToGbk(setting.substr(equals + 1)).c_str());
    } catch (const telmar::EncodingError&) {
      throw StartError("--set " + setting + ": the value has no GBK form");
    }
  }
}

int RunOperation(ZORBASE& object, const std::string& operation) {
  if (operation == "post") return object.Post();
  if (operation == "readcard") return object.ReadCard();
  if (operation == "cancancel") return object.CanCancel();
  return object.Cancel();
}

void PrintParameters(const ZORBASE& object) {
  for (const auto& [key, value] : object.Params()) {
    std::cout << key << "=" << telmar::GbkToUtf8Lossy(value) << "\n";
  }
}

int Run(const Options& options) {
  telmar::SetSiteDirectory(options.site);
  telmar::SetSqlLog(options.sqlLog);
  InstallUserInterface(options);
  Plugin plugin(options.plugin.empty() ? DefaultPlugin() : options.plugin);

  std::unique_ptr<ZORBASE> object(plugin.NewObject());
  if (!object) throw StartError("the plug-in made no object");
  GiveParameters(*object, options.settings);

  int status = kAllSucceeded;
  for (const std::string& operation : options.operations) {
    if (operation == "version") {
      std::cout << "version: " << plugin.Version() << std::endl;
      continue;
    }
    const int result = RunOperation(*object, operation);
    std::cout << operation << ": " << result << std::endl;
    if (result == 0) {
      status = kOperationRefused;
      if (!options.keepGoing) break;
    }
  }
  PrintParameters(*object);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"Runs operations of a one-card payment plug-in, as a cashier station would."};
  app.add_option("--site", options.site, "site directory (reader configuration, ODBC configuration, database)");
  app.add_option("--plugin", options.plugin, "plug-in library (default: zor_ykt.so in the build's lib/)");
  app.add_option("--ui", options.ui, "user interface: script or tty (default: tty on a terminal)")
      ->check(CLI::IsMember({"script", "tty"}));
  // One value per occurrence, so that the operations after them stay operations.
  app.add_option("--answer", options.answers, "answer of the next dialog in the script UI: ok, cancel or none")
      ->allow_extra_args(false)
      ->check(CLI::IsMember({"ok", "cancel", "none"}));
  app.add_option("--ui-log", options.uiLog, "append every message box and dialog to FILE as JSON lines");
  app.add_option("--sql-log", options.sqlLog, "append every connection and statement to FILE as JSON lines");
  app.add_flag("--keep-going", options.keepGoing, "run every operation even after one returned 0");
  app.add_option("--set", options.settings, "parameter KEY=VALUE given to the object before the operations")
      ->allow_extra_args(false);
  app.add_option("operations", options.operations, "version, readcard, post, cancancel, cancel")
      ->required()
      ->check(CLI::IsMember({"version", "readcard", "post", "cancancel", "cancel"}));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kCannotStart;
  }
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "zorhost: " << e.what() << std::endl;
    return kCannotStart;
  }
}

#include <mutex>

#include "telmar/ui.h"
#include "ui/active_ui.h"

namespace telmar {
namespace {

struct Installed {
  std::mutex mutex;
  std::shared_ptr<UserInterface> ui;
};

// Built on first use: boxes may be shown from load-time constructors.
Installed& TheInstalled() {
  static Installed installed;
  return installed;
}

}  // namespace

void SetUserInterface(std::unique_ptr<UserInterface> ui) {
  Installed& installed = TheInstalled();
  std::lock_guard<std::mutex> lock(installed.mutex);
  installed.ui = std::move(ui);
}

std::shared_ptr<UserInterface> ActiveUserInterface() {
  Installed& installed = TheInstalled();
  std::lock_guard<std::mutex> lock(installed.mutex);
  if (!installed.ui) installed.ui = MakeScriptUserInterface({}, "");
  return installed.ui;
}

UserInterface& CurrentUserInterface() { return *ActiveUserInterface(); }

}  // namespace telmar

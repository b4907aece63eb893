// The user interface of an operator at a terminal.
#include <cstdio>
#include <mutex>

#include "telmar/ui.h"
#include "ui/tty_render.h"
#include "ui/tty_terminal.h"
#include "ui/ui_log.h"

namespace telmar {
namespace {

class TtyUserInterface : public UserInterface {
 public:
  explicit TtyUserInterface(const std::string& logPath) : m_log(logPath) {}

  // Without a terminal the text still reaches someone: on standard error.
  int ShowMessageBox(const MessageBoxRequest& request) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.LogBox(request);
    const std::unique_ptr<Terminal> terminal = Terminal::Open();
    if (!terminal) {
      std::fputs(PlainMessageBox(request).c_str(), stderr);
      return IDOK;
    }
    ModalSession session(*terminal);
    terminal->Write(RenderMessageBox(request, terminal->Size()));
    for (Key key = terminal->ReadKey(); key == Key::Other; key = terminal->ReadKey()) {
    }
    return IDOK;
  }

  int RunModalDialog(const DialogView& view) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int result = AskOperator(view);
    m_log.LogDialog(view, result);
    return result;
  }

 private:
  // Enter accepts, Esc refuses, and so does a terminal that went away.
  static int AskOperator(const DialogView& view) {
    const std::unique_ptr<Terminal> terminal = Terminal::Open();
    if (!terminal) return -1;
    ModalSession session(*terminal);
    terminal->Write(RenderDialog(view, terminal->Size()));
    for (;;) {
      switch (terminal->ReadKey()) {
        case Key::Enter: return IDOK;
        case Key::Escape:
        case Key::Closed: return IDCANCEL;
        case Key::Other: break;
      }
    }
  }

  std::mutex m_mutex;  // one terminal, one box or dialog at a time
  UiLog m_log;
};

}  // namespace

std::unique_ptr<UserInterface> MakeTtyUserInterface(const std::string& logPath) {
  return std::make_unique<TtyUserInterface>(logPath);
}

}  // namespace telmar

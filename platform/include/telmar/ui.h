// The user-interface layer: every message box and modal dialog of the
// process goes through one UserInterface that the host chooses. Texts given
// to it are GBK; each realisation converts at its own edge.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "telmar/resource.h"

namespace telmar {

enum class BoxKind { AfxMessageBox, MessageBoxA, ReportError };

struct MessageBoxRequest {
  BoxKind kind;
  std::string text;     // GBK
  std::string caption;  // GBK; empty for AfxMessageBox and ReportError
  UINT type;            // the type or flags as the caller gave them
};

// A dialog as it is about to be shown: its template plus what the dialog's
// initialisation changed (the title and the texts of the controls).
struct DialogView {
  const DialogTemplate* dialogTemplate;
  std::string title;                     // GBK
  std::vector<std::string> itemTexts;    // GBK, one per template item, in template order
};

class AFX_EXT_CLASS UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Returns the button that closed the box (IDOK for the boxes used here).
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  // Returns IDOK, IDCANCEL, or -1 when the dialog cannot be created.
  virtual int RunModalDialog(const DialogView& view) = 0;
};

// Non-interactive: each dialog takes the next answer ("ok", "cancel" or
// "none" for a dialog that cannot be created); with none left it is refused
// as by Cancel. Boxes are acknowledged at once. When `logPath` is not empty,
// every box and dialog is appended to it as one JSON object per line, texts
// in UTF-8:
//   {"box":"AfxMessageBox","text":"...","type":48}
//   {"box":"MessageBoxA","text":"...","caption":"...","flags":48}
//   {"box":"ReportError","text":"...","type":0}
//   {"dialog":129,"title":"...","items":{"1000":"...",...},"answer":"ok"}
// where items holds the text of every edit box by control id.
// Throws std::invalid_argument for another answer and std::runtime_error
// when the log cannot be opened.
AFX_EXT_CLASS std::unique_ptr<UserInterface> MakeScriptUserInterface(std::vector<std::string> answers,
                                                                     const std::string& logPath);

// An operator at a terminal: boxes and dialogs are drawn on the controlling
// terminal (else on standard input and output when both are terminals); a
// box waits for Enter; in a dialog Enter accepts and Esc refuses. With no
// terminal a dialog cannot be created (-1) and a box is written to standard
// error. When `logPath` is not empty, boxes and dialogs are logged as above
// too. The terminal is expected to show UTF-8.
AFX_EXT_CLASS std::unique_ptr<UserInterface> MakeTtyUserInterface(const std::string& logPath);

// Installs the process's user interface; safe to call from any thread, and a
// box or dialog already open keeps the interface it was opened on. Without
// one, a script interface with no answers and no log is used.
AFX_EXT_CLASS void SetUserInterface(std::unique_ptr<UserInterface> ui);
AFX_EXT_CLASS UserInterface& CurrentUserInterface();

}  // namespace telmar

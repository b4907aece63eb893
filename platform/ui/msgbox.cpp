#include "telmar/msgbox.h"

#include "ui/active_ui.h"

namespace {

std::string TextOf(LPCSTR text) { return text ? text : ""; }

int Show(telmar::BoxKind kind, LPCSTR text, LPCSTR caption, UINT type) {
  const telmar::MessageBoxRequest request{kind, TextOf(text), TextOf(caption), type};
  return telmar::ActiveUserInterface()->ShowMessageBox(request);
}

}  // namespace

int AfxMessageBox(LPCSTR text, UINT nType, UINT /*nIDHelp*/) {
  return Show(telmar::BoxKind::AfxMessageBox, text, nullptr, nType);
}

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT flags) {
  return Show(telmar::BoxKind::MessageBoxA, text, caption, flags);
}

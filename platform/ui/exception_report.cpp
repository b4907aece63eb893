#include "telmar/exception.h"

#include <cstring>

#include "ui/active_ui.h"
#include "ui/gbk_text.h"

namespace {
// What the class library shows for an exception that carries no text.
const char* const kNoErrorText = "No error message is available.";
}  // namespace

int CException::ReportError(UINT nType, UINT /*nMessageID*/) {
  const CString text = GetErrorText();
  const telmar::MessageBoxRequest request{telmar::BoxKind::ReportError,
                                          text.IsEmpty() ? kNoErrorText : text.str(), "", nType};
  return telmar::ActiveUserInterface()->ShowMessageBox(request);
}

BOOL CException::GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!buffer || maxLength == 0) return FALSE;
  const CString text = GetErrorText();
  const std::string fitted = telmar::gbk::ClipToWidth(text.str(), maxLength - 1);
  std::memcpy(buffer, fitted.c_str(), fitted.size() + 1);
  return text.IsEmpty() ? FALSE : TRUE;
}

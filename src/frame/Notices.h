// The notice box and the texts that several operations show in it.
#pragma once

#include "telmar/exception.h"
#include "telmar/msgbox.h"

constexpr const char* kNoticeCaption = "提示";           // notice
constexpr const char* kDatabaseOpenError = "数据库打开错误";  // database open error

// A message box with no owner window and the caption "提示".
inline int Notice(const char* text, UINT flags = MB_ICONWARNING) {
  return MessageBoxA(nullptr, text, kNoticeCaption, flags);
}

// A settlement step that failed: the error's own report first, then the
// step's own failure text. The error is released.
inline int ReportSettlementFailure(CException* e, const char* failureText) {
  e->ReportError(MB_OK, 0);
  e->Delete();
  Notice(failureText, MB_ICONHAND);
  return 0;
}

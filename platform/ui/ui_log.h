// The record of every box and dialog that a user interface showed: one JSON
// object per line, texts in UTF-8, appended and flushed line by line so that
// a log read while the process runs (or after it died) is complete.
#pragma once

#include <mutex>
#include <string>

#include "telmar/ui.h"

namespace telmar {

class UiLog {
 public:
  // An empty path keeps no log. Throws std::runtime_error when the file
  // cannot be opened for appending.
  explicit UiLog(const std::string& path);
  ~UiLog();
  UiLog(const UiLog&) = delete;
  UiLog& operator=(const UiLog&) = delete;

  void LogBox(const MessageBoxRequest& request);
  // `result` is what the dialog returned: IDOK, IDCANCEL or -1.
  void LogDialog(const DialogView& view, int result);

 private:
  void Append(const std::string& line);

  int m_fd = -1;
  std::mutex m_mutex;
};

// "AfxMessageBox", "MessageBoxA" or "ReportError".
const char* BoxKindName(BoxKind kind);

// "ok", "cancel" or "none" for IDOK, IDCANCEL and a dialog not shown.
const char* DialogAnswerWord(int result);

}  // namespace telmar

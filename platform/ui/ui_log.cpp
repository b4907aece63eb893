#include "ui/ui_log.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "telmar/encoding.h"

namespace telmar {
namespace {

using Record = nlohmann::ordered_json;

std::string Utf8(const std::string& gbk) { return GbkToUtf8Lossy(gbk); }

Record BoxRecord(const MessageBoxRequest& request) {
  Record record;
  record["box"] = BoxKindName(request.kind);
  record["text"] = Utf8(request.text);
  if (request.kind == BoxKind::MessageBoxA) {
    record["caption"] = Utf8(request.caption);
    record["flags"] = request.type;
  } else {
    record["type"] = request.type;
  }
  return record;
}

// The texts of the edit boxes, keyed by control id: what the operator read.
Record EditTexts(const DialogView& view) {
  Record items = Record::object();
  const DialogTemplate& dialog = *view.dialogTemplate;
  for (int i = 0; i < dialog.itemCount; ++i) {
    const DialogItemTemplate& item = dialog.items[i];
    if (item.controlClass != DialogControlClass::Edit) continue;
    items[std::to_string(item.id)] = Utf8(view.itemTexts.at(static_cast<std::size_t>(i)));
  }
  return items;
}

Record DialogRecord(const DialogView& view, int result) {
  Record record;
  record["dialog"] = view.dialogTemplate->id;
  record["title"] = Utf8(view.title);
  record["items"] = EditTexts(view);
  record["answer"] = DialogAnswerWord(result);
  return record;
}

}  // namespace

UiLog::UiLog(const std::string& path) {
  if (path.empty()) return;
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (m_fd < 0) {
    throw std::runtime_error("cannot open the user-interface log " + path + ": " + std::strerror(errno));
  }
}

UiLog::~UiLog() {
  if (m_fd >= 0) ::close(m_fd);
}

void UiLog::LogBox(const MessageBoxRequest& request) {
  if (m_fd >= 0) Append(BoxRecord(request).dump());
}

void UiLog::LogDialog(const DialogView& view, int result) {
  if (m_fd >= 0) Append(DialogRecord(view, result).dump());
}

// One write per line: with O_APPEND, lines of several processes sharing the
// log do not interleave.
void UiLog::Append(const std::string& line) {
  const std::string text = line + '\n';
  std::lock_guard<std::mutex> lock(m_mutex);
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(m_fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a full disk must not take the operator's box away
    done += static_cast<std::size_t>(n);
  }
}

const char* BoxKindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::AfxMessageBox: return "AfxMessageBox";
    case BoxKind::MessageBoxA: return "MessageBoxA";
    case BoxKind::ReportError: return "ReportError";
  }
  return "";
}

const char* DialogAnswerWord(int result) {
  if (result == IDOK) return "ok";
  if (result == IDCANCEL) return "cancel";
  return "none";
}

}  // namespace telmar

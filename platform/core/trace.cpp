#include "telmar/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "telmar/cstring.h"
#include "telmar/encoding.h"

namespace {
std::mutex g_traceMutex;

void WriteTrace(const std::string& utf8) {
  const char* target = std::getenv("TELMAR_TRACE");
  if (!target || !*target) return;
  std::lock_guard<std::mutex> lock(g_traceMutex);
  if (std::strcmp(target, "-") == 0) {
    std::fputs(utf8.c_str(), stderr);
    return;
  }
  if (FILE* file = std::fopen(target, "a")) {
    std::fputs(utf8.c_str(), file);
    std::fclose(file);
  }
}
}  // namespace

void AfxTrace(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[1024];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  WriteTrace(telmar::GbkToUtf8Lossy(buffer));
}

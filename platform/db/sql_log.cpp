#include "db/sql_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "telmar/encoding.h"
#include "telmar/site.h"

namespace telmar {
namespace {

class SqlLog {
 public:
  ~SqlLog() { CloseFile(); }

  void Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    CloseFile();
    if (path.empty()) return;
    // O_APPEND and one write() per line keep lines whole when several
    // processes append to the same file.
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0) throw std::runtime_error("cannot open the statement log " + path + ": " + std::strerror(errno));
  }

  bool IsOpen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fd >= 0;
  }

  void Append(const nlohmann::ordered_json& entry) {
    const std::string line = entry.dump() + "\n";
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd >= 0) WriteAll(line);
  }

 private:
  void WriteAll(const std::string& line) {
    std::size_t written = 0;
    while (written < line.size()) {
      const ssize_t n = ::write(m_fd, line.data() + written, line.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      written += static_cast<std::size_t>(n);
    }
  }

  void CloseFile() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

  std::mutex m_mutex;
  int m_fd = -1;
};

SqlLog& TheLog() {
  static SqlLog log;
  return log;
}

// Never throws: a log that cannot be written must not fail a payment.
template <typename BuildEntry>
void AppendToLog(BuildEntry build) noexcept {
  try {
    if (TheLog().IsOpen()) TheLog().Append(build());
  } catch (...) {
  }
}

}  // namespace

void SetSqlLog(const std::string& path) { TheLog().Open(path); }

void LogConnect(const std::string& connectString) noexcept {
  AppendToLog([&] { return nlohmann::ordered_json{{"connect", GbkToUtf8Lossy(connectString)}}; });
}

void LogDisconnect(const std::string& connectString) noexcept {
  AppendToLog([&] { return nlohmann::ordered_json{{"disconnect", GbkToUtf8Lossy(connectString)}}; });
}

void LogStatement(const std::string& statement, const std::string& dataSource) noexcept {
  AppendToLog([&] {
    return nlohmann::ordered_json{{"sql", GbkToUtf8Lossy(statement)}, {"dsn", GbkToUtf8Lossy(dataSource)}};
  });
}

}  // namespace telmar

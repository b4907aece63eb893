#include "pty_child.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char kReportMark[] = "@@report@@";
const int kPatienceMs = 5000;

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

[[noreturn]] void RunChild(const std::function<std::string()>& body, int reportFd) {
  const std::string report = body();
  WriteAll(reportFd, std::string("\n") + kReportMark + report + kReportMark + "\n");
  ::_exit(0);
}

}  // namespace

PtyChild::PtyChild(const std::function<std::string()>& body, int rows, int cols) {
  winsize size{};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(cols);
  if (::openpty(&m_master, &m_slave, nullptr, nullptr, &size) != 0) return;
  m_pid = ::fork();
  if (m_pid == 0) {
    ::close(m_master);
    ::setsid();
    ::ioctl(m_slave, TIOCSCTTY, 0);
    ::dup2(m_slave, STDIN_FILENO);
    ::dup2(m_slave, STDOUT_FILENO);
    RunChild(body, STDOUT_FILENO);
  }
}

PtyChild::~PtyChild() {
  if (m_pid > 0 && Running()) {
    ::kill(m_pid, SIGKILL);
    Wait();
  }
  if (m_master >= 0) ::close(m_master);
  if (m_slave >= 0) ::close(m_slave);
}

bool PtyChild::ReadMore(int timeoutMs) {
  pollfd request{m_master, POLLIN, 0};
  if (::poll(&request, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  const ssize_t n = ::read(m_master, buffer, sizeof buffer);
  if (n <= 0) return false;
  m_output.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool PtyChild::WaitForOutput(const std::string& text) {
  for (int waited = 0; m_output.find(text) == std::string::npos; waited += 50) {
    if (waited > kPatienceMs) return false;
    ReadMore(50);
  }
  return true;
}

void PtyChild::Send(const std::string& keys) { WriteAll(m_master, keys); }

std::string PtyChild::Report() {
  const std::string mark = kReportMark;
  if (!WaitForOutput(mark) || !WaitForOutput(mark + "\r\n")) return "";
  const std::size_t begin = m_output.find(mark) + mark.size();
  return m_output.substr(begin, m_output.find(mark, begin) - begin);
}

bool PtyChild::Running() {
  int status = 0;
  return ::waitpid(m_pid, &status, WNOHANG) == 0;
}

int PtyChild::Wait() {
  int status = 0;
  while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  m_pid = -1;
  return status;
}

termios PtyChild::TerminalAttributes() const {
  termios attributes{};
  ::tcgetattr(m_slave, &attributes);
  return attributes;
}

DetachedResult RunWithoutTerminal(const std::function<std::string()>& body) {
  int errorPipe[2];
  int reportPipe[2];
  if (::pipe(errorPipe) != 0 || ::pipe(reportPipe) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setsid();
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(errorPipe[1], STDERR_FILENO);
    ::close(errorPipe[0]);
    ::close(reportPipe[0]);
    const std::string report = body();
    WriteAll(reportPipe[1], report);
    ::_exit(0);
  }
  ::close(errorPipe[1]);
  ::close(reportPipe[1]);
  auto readAll = [](int fd) {
    std::string text;
    char buffer[1024];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
  };
  DetachedResult result;
  result.report = readAll(reportPipe[0]);
  result.errorOutput = readAll(errorPipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return result;
}

// --- the screen ---------------------------------------------------------------

namespace {

bool IsWide(char32_t cp) {
  return (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6);
}

std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

char32_t CodePoint(const std::string& ch) {
  const auto lead = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) return lead;
  char32_t cp = lead & (0xFF >> (ch.size() + 1));
  for (std::size_t i = 1; i < ch.size(); ++i) cp = (cp << 6) | (static_cast<unsigned char>(ch[i]) & 0x3F);
  return cp;
}

class Screen {
 public:
  Screen(int rows, int cols) : m_rows(rows), m_cols(cols) { Clear(); }

  void Clear() {
    m_cells.assign(static_cast<std::size_t>(m_rows), std::vector<std::string>(static_cast<std::size_t>(m_cols), " "));
  }

  void MoveTo(int row, int col) {
    m_row = row;
    m_col = col;
  }

  // Characters past the right edge are lost, so a drawing too wide shows.
  void Put(const std::string& ch) {
    const int width = IsWide(CodePoint(ch)) ? 2 : 1;
    if (m_row < 0 || m_row >= m_rows || m_col + width > m_cols) return;
    auto& row = m_cells[static_cast<std::size_t>(m_row)];
    row[static_cast<std::size_t>(m_col)] = ch;
    if (width == 2) row[static_cast<std::size_t>(m_col + 1)] = "";
    m_col += width;
  }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const auto& cells : m_cells) {
      std::string text;
      for (const std::string& cell : cells) text += cell;
      rows.push_back(text);
    }
    return rows;
  }

 private:
  int m_rows;
  int m_cols;
  int m_row = 0;
  int m_col = 0;
  std::vector<std::vector<std::string>> m_cells;
};

// ESC [ params final: cursor position (H) and clear (J); the rest ignored.
std::size_t ApplyControlSequence(const std::string& output, std::size_t start, Screen& screen) {
  std::size_t end = start + 2;
  while (end < output.size() && !(output[end] >= 0x40 && output[end] <= 0x7E)) ++end;
  const std::string params = output.substr(start + 2, end - start - 2);
  const char final = end < output.size() ? output[end] : '\0';
  if (final == 'H') {
    const std::size_t semicolon = params.find(';');
    const int row = params.empty() ? 1 : std::stoi(params.substr(0, semicolon));
    const int col = semicolon == std::string::npos ? 1 : std::stoi(params.substr(semicolon + 1));
    screen.MoveTo(row - 1, col - 1);
  } else if (final == 'J' && params == "2") {
    screen.Clear();
  }
  return end + 1;
}

}  // namespace

std::vector<std::string> ScreenRows(const std::string& output, int rows, int cols) {
  Screen screen(rows, cols);
  std::size_t i = 0;
  while (i < output.size()) {
    if (output.compare(i, 2, "\x1b[") == 0) {
      i = ApplyControlSequence(output, i, screen);
    } else if (static_cast<unsigned char>(output[i]) < 0x20) {
      ++i;
    } else {
      const std::size_t length = Utf8Length(static_cast<unsigned char>(output[i]));
      screen.Put(output.substr(i, length));
      i += length;
    }
  }
  return screen.Rows();
}

int RowOf(const std::vector<std::string>& rows, const std::string& text) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].find(text) != std::string::npos) return static_cast<int>(i);
  }
  return -1;
}

#include "ui/tty_terminal.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace telmar {
namespace {

const char kEnterScreen[] = "\x1b[?1049h\x1b[?25l\x1b[2J";
const char kLeaveScreen[] = "\x1b[0m\x1b[?25h\x1b[?1049l";
// How long the bytes of one escape sequence may straggle behind its Esc.
const int kEscapeSequenceMs = 50;

void WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

bool InputWaiting(int fd, int timeoutMs) {
  pollfd request{fd, POLLIN, 0};
  return ::poll(&request, 1, timeoutMs) > 0 && (request.revents & POLLIN);
}

// What a fatal signal must undo; written before the handlers go in.
struct SessionState {
  int in = -1;
  int out = -1;
  termios saved{};
};
SessionState g_session;

const int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[sizeof kFatalSignals / sizeof kFatalSignals[0]];

void RestoreTerminal() {
  ::tcsetattr(g_session.in, TCSANOW, &g_session.saved);
  WriteAll(g_session.out, kLeaveScreen, sizeof kLeaveScreen - 1);
}

void RestorePreviousHandlers() {
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) ::sigaction(kFatalSignals[i], &g_previous[i], nullptr);
}

// Async-signal-safe: tcsetattr, write, sigaction and raise only. The signal
// is delivered again to whatever handled it before.
void OnFatalSignal(int signal) {
  RestoreTerminal();
  RestorePreviousHandlers();
  ::raise(signal);
}

void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = OnFatalSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) ::sigaction(kFatalSignals[i], &action, &g_previous[i]);
}

void EnterRawMode(int fd, const termios& saved) {
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
  raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | IXON));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(fd, TCSANOW, &raw);
}

}  // namespace

std::unique_ptr<Terminal> Terminal::Open() {
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) return std::make_unique<Terminal>(fd, fd, true);
  if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO)) {
    return std::make_unique<Terminal>(STDIN_FILENO, STDOUT_FILENO, false);
  }
  return nullptr;
}

Terminal::~Terminal() {
  if (m_owned) ::close(m_in);
}

ScreenSize Terminal::Size() const {
  winsize size{};
  if (::ioctl(m_out, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    return {size.ws_row, size.ws_col};
  }
  return {24, 80};
}

void Terminal::Write(const std::string& bytes) const { WriteAll(m_out, bytes.data(), bytes.size()); }

Key Terminal::ReadKey() const {
  unsigned char byte = 0;
  ssize_t n;
  do {
    n = ::read(m_in, &byte, 1);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) return Key::Closed;
  if (byte == '\r' || byte == '\n') return Key::Enter;
  return byte == 0x1b ? EscapeOrSequence() : Key::Other;
}

// After an Esc: a lone Esc, or the start of a key's escape sequence (CSI
// "ESC [ params final" or SS3 "ESC O x"), read to its end so that nothing
// after it is lost.
Key Terminal::EscapeOrSequence() const {
  unsigned char byte = 0;
  if (!ReadByteWithin(kEscapeSequenceMs, byte)) return Key::Escape;
  if (byte == 'O') {
    ReadByteWithin(kEscapeSequenceMs, byte);
  } else if (byte == '[') {
    while (ReadByteWithin(kEscapeSequenceMs, byte) && !(byte >= 0x40 && byte <= 0x7E)) {
    }
  }
  return Key::Other;
}

bool Terminal::ReadByteWithin(int timeoutMs, unsigned char& byte) const {
  return InputWaiting(m_in, timeoutMs) && ::read(m_in, &byte, 1) == 1;
}

ModalSession::ModalSession(const Terminal& terminal) {
  g_session.in = terminal.InputFd();
  g_session.out = terminal.OutputFd();
  ::tcgetattr(g_session.in, &g_session.saved);
  InstallHandlers();
  EnterRawMode(g_session.in, g_session.saved);
  terminal.Write(kEnterScreen);
}

ModalSession::~ModalSession() {
  RestoreTerminal();
  RestorePreviousHandlers();
}

}  // namespace telmar

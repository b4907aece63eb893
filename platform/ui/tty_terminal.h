// The operator's terminal: found, put into a modal session (keys one at a
// time without echo, an alternate screen), and read key by key.
#pragma once

#include <memory>
#include <string>

namespace telmar {

struct ScreenSize {
  int rows;
  int cols;
};

enum class Key { Enter, Escape, Other, Closed };

class Terminal {
 public:
  // The controlling terminal, else standard input and output when both are
  // terminals; null when there is no terminal to talk to.
  static std::unique_ptr<Terminal> Open();

  Terminal(int in, int out, bool owned) : m_in(in), m_out(out), m_owned(owned) {}
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  ScreenSize Size() const;
  void Write(const std::string& bytes) const;
  // Blocks for the next key. An escape sequence (arrow keys and the like)
  // counts as one Other key, a lone Esc as Escape; end of input as Closed.
  Key ReadKey() const;

  int InputFd() const { return m_in; }
  int OutputFd() const { return m_out; }

 private:
  Key EscapeOrSequence() const;
  bool ReadByteWithin(int timeoutMs, unsigned char& byte) const;

  int m_in;
  int m_out;
  bool m_owned;
};

// While it lives: no echo, no line editing (signal keys still work), the
// alternate screen, a hidden cursor. All of it is undone on destruction and
// also when the process is ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT. One
// session at a time per process.
class ModalSession {
 public:
  explicit ModalSession(const Terminal& terminal);
  ~ModalSession();
  ModalSession(const ModalSession&) = delete;
  ModalSession& operator=(const ModalSession&) = delete;
};

}  // namespace telmar

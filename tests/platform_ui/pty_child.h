// A child process that runs a piece of user-interface code with a fresh
// pseudo-terminal as its controlling terminal, standard input and output,
// the way an operator's terminal would be. The test plays the operator
// through the terminal's other end.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <termios.h>
#include <vector>

class PtyChild {
 public:
  // `body` runs in the child; what it returns is handed back by Report().
  explicit PtyChild(const std::function<std::string()>& body, int rows = 24, int cols = 80);
  ~PtyChild();
  PtyChild(const PtyChild&) = delete;
  PtyChild& operator=(const PtyChild&) = delete;

  // Reads the screen output until `text` has appeared (UTF-8); false after
  // a few seconds without it.
  bool WaitForOutput(const std::string& text);
  void Send(const std::string& keys);
  // The child's report, once its body has returned; empty if it did not.
  std::string Report();
  bool Running();
  // Waits for the child's end; its wait status.
  int Wait();

  const std::string& Output() const { return m_output; }
  termios TerminalAttributes() const;
  pid_t Pid() const { return m_pid; }

 private:
  bool ReadMore(int timeoutMs);

  int m_master = -1;
  int m_slave = -1;
  pid_t m_pid = -1;
  std::string m_output;
};

// A child with no terminal at all: new session, standard input and output
// on /dev/null. Returns what the body returned and what it wrote to
// standard error.
struct DetachedResult {
  std::string report;
  std::string errorOutput;
};
DetachedResult RunWithoutTerminal(const std::function<std::string()>& body);

// The text of each row of a screen after `output` was written to it:
// cursor moves and clearing are followed, attributes dropped, unwritten
// cells are blanks.
std::vector<std::string> ScreenRows(const std::string& output, int rows = 24, int cols = 80);
// Index of the first row that contains `text`, -1 if none.
int RowOf(const std::vector<std::string>& rows, const std::string& text);

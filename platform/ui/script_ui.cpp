// The user interface of unattended runs and tests: answers are given in
// advance and everything shown is logged.
#include <mutex>
#include <stdexcept>

#include "telmar/ui.h"
#include "ui/ui_log.h"

namespace telmar {
namespace {

int ParseAnswer(const std::string& answer) {
  if (answer == "ok") return IDOK;
  if (answer == "cancel") return IDCANCEL;
  if (answer == "none") return -1;
  throw std::invalid_argument("unknown dialog answer \"" + answer + "\" (expected ok, cancel or none)");
}

std::vector<int> ParseAnswers(const std::vector<std::string>& answers) {
  std::vector<int> results;
  results.reserve(answers.size());
  for (const std::string& answer : answers) results.push_back(ParseAnswer(answer));
  return results;
}

class ScriptUserInterface : public UserInterface {
 public:
  ScriptUserInterface(const std::vector<std::string>& answers, const std::string& logPath)
      : m_answers(ParseAnswers(answers)), m_log(logPath) {}

  int ShowMessageBox(const MessageBoxRequest& request) override {
    m_log.LogBox(request);
    return IDOK;
  }

  int RunModalDialog(const DialogView& view) override {
    const int result = NextAnswer();
    m_log.LogDialog(view, result);
    return result;
  }

 private:
  // With the script used up, the operator is taken to have refused.
  int NextAnswer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_next == m_answers.size()) return IDCANCEL;
    return m_answers[m_next++];
  }

  const std::vector<int> m_answers;
  std::size_t m_next = 0;
  std::mutex m_mutex;
  UiLog m_log;
};

}  // namespace

std::unique_ptr<UserInterface> MakeScriptUserInterface(std::vector<std::string> answers,
                                                      const std::string& logPath) {
  return std::make_unique<ScriptUserInterface>(answers, logPath);
}

}  // namespace telmar

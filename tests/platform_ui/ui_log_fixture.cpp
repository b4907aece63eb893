#include "ui_log_fixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "telmar/ui.h"

void UiLogTest::SetUp() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  // Parameterised test names hold '/'.
  std::string name = std::string(test->test_suite_name()) + "_" + test->name();
  for (char& ch : name) {
    if (ch == '/') ch = '_';
  }
  m_logPath = ::testing::TempDir() + "platform_ui_" + name + "_" + std::to_string(::getpid()) + ".jsonl";
  std::remove(m_logPath.c_str());
}

void UiLogTest::TearDown() {
  telmar::SetUserInterface(nullptr);
  std::remove(m_logPath.c_str());
}

void UiLogTest::InstallScript(const std::vector<std::string>& answers) {
  telmar::SetUserInterface(telmar::MakeScriptUserInterface(answers, m_logPath));
}

std::vector<std::string> UiLogTest::LogLines() const {
  std::vector<std::string> lines;
  std::ifstream log(m_logPath);
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}

std::vector<nlohmann::json> UiLogTest::LogRecords() const {
  std::vector<nlohmann::json> records;
  for (const std::string& line : LogLines()) records.push_back(nlohmann::json::parse(line));
  return records;
}

ACCTINFO SampleAccount(const char* type) {
  ACCTINFO info{};
  std::strcpy(info.ShowType, type);
  info.ShowStatus = 1;
  info.ShowAcct = 4711;
  std::strcpy(info.Name, "张三");
  std::strcpy(info.Addr, "北京市东城区");
  std::strcpy(info.Phone, "010-65123456");
  std::strcpy(info.Limit, "500.00");
  std::strcpy(info.Balance, "1234.50");
  std::strcpy(info.DisCode, "VIP9");
  std::strcpy(info.Remark, "长住客人");
  return info;
}

// Tests that install a user interface logging to a fresh file, and read the
// log back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "frame/ZorYkt.h"

class UiLogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A script user interface with these answers, logging to LogPath().
  void InstallScript(const std::vector<std::string>& answers);
  const std::string& LogPath() const { return m_logPath; }
  std::vector<std::string> LogLines() const;
  std::vector<nlohmann::json> LogRecords() const;

 private:
  std::string m_logPath;
};

// An account record with every text filled, `type` as its account type.
ACCTINFO SampleAccount(const char* type);

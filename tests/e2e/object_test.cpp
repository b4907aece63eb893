// One plug-in object through several operations, in this process: the
// object's own state between operations, and a second station changing the
// database between a card read and its posting.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "ZORBASE.h"
#include "frame/ZorYkt.h"
#include "station.h"
#include "telmar/encoding.h"
#include "telmar/site.h"
#include "telmar/ui.h"

namespace e2e {
namespace {

class PluginObjectTest : public testing::TestWithParam<DbKind> {
 protected:
  void SetUp() override {
    telmar::SetSiteDirectory(station.Site());
    m_uiLog = station.Site() + "/ui.jsonl";
    m_sqlLog = station.Site() + "/sql.jsonl";
    telmar::SetSqlLog(m_sqlLog);
    telmar::SetUserInterface(telmar::MakeScriptUserInterface({"ok", "ok", "ok"}, m_uiLog));
    m_library = dlopen(BuildPath("lib/zor_ykt.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(m_library, nullptr) << dlerror();
    auto factory = reinterpret_cast<GetZORObjectProc>(dlsym(m_library, "GetZORObject"));
    m_object.reset(static_cast<CZorYkt*>(factory()));
    m_object->SetParam("STATION_ID", "1");
  }
  void TearDown() override {
    m_object.reset();
    telmar::SetUserInterface(nullptr);
    if (m_library) dlclose(m_library);
    std::string report;
    EXPECT_EQ(station.LedgerCheck(&report), 0) << report;
  }

  int ReadCard(const char* card, const char* pin) {
    setenv("YKT_CARD", card, 1);
    setenv("YKT_PIN", pin, 1);
    return m_object->ReadCard();
  }
  std::vector<Json> Ui() const { return ReadJsonLines(m_uiLog); }
  std::size_t StatementCount() const {
    std::size_t count = 0;
    for (const Json& entry : ReadJsonLines(m_sqlLog)) count += entry.contains("sql");
    return count;
  }
  // Post of 10.00 answers 0 with this notice, and sends nothing.
  void ExpectPostRefusedUnsent(const char* notice) {
    const std::size_t statements = StatementCount();
    m_object->SetParam("TRANS_AMOUNT", "10.00");
    EXPECT_EQ(m_object->Post(), 0);
    EXPECT_EQ(Ui().back()["text"], notice);
    EXPECT_EQ(StatementCount(), statements);
  }

  // Without the driver manager's pool: this one process meets several
  // sites in a row, and a pooled connection would outlive its site.
  Station station{GetParam(), {"--pooling", "off"}};
  std::unique_ptr<CZorYkt> m_object;

 private:
  void* m_library = nullptr;
  std::string m_uiLog;
  std::string m_sqlLog;
};

// Mended: a card without a bridge row is checked against nothing the
// previous card left, and cannot be charged.
TEST_P(PluginObjectTest, NothingCarriesOverFromThePreviousCard) {
  ASSERT_EQ(ReadCard("0:TELMAR:2001", "4444"), 1);
  const std::size_t dialogsBefore = Ui().size();
  EXPECT_EQ(ReadCard("0:TELMAR:9999", "4444"), 0);  // the previous card's PIN
  EXPECT_EQ(Ui().size(), dialogsBefore);            // no account was shown
  EXPECT_STREQ(m_object->m_Card.AcctType, "");
  EXPECT_STREQ(m_object->m_Card.Password, "");
  EXPECT_EQ(m_object->m_Card.Acct, 0);
  ExpectPostRefusedUnsent("未读卡,不能结帐!");
}

TEST_P(PluginObjectTest, AGuestReadKeepsTheMemberCardsHolderAndBalance) {
  ASSERT_EQ(ReadCard("0:TELMAR:2001", "4444"), 1);
  ASSERT_EQ(ReadCard("0:TELMAR:1001", "1234"), 1);
  EXPECT_EQ(m_object->m_strHolder, telmar::Utf8ToGbk("华夏科技有限公司").c_str());
  EXPECT_EQ(m_object->m_strBalance, "100.50");
}

// A second station spends the balance after this one read the card: the
// posting procedure refuses, and nothing is written.
TEST_P(PluginObjectTest, ACardDrainedSinceItWasReadIsRefusedByTheDatabase) {
  ASSERT_EQ(ReadCard("0:TELMAR:2001", "4444"), 1);
  station.Execute(
      "UPDATE SavingsCard SET Surplus='0.00' WHERE CardID='2001'; "
      "UPDATE SavingsCardOpening SET Opening='0.00' WHERE CardID='2001'");
  m_object->SetParam("TRANS_AMOUNT", "100.00");
  EXPECT_EQ(m_object->Post(), 0);
  const std::vector<Json> ui = Ui();
  ASSERT_GE(ui.size(), 2u);
  EXPECT_EQ(ui[ui.size() - 2]["box"], "ReportError");
  EXPECT_NE(ui[ui.size() - 2]["text"].get<std::string>().find("insufficient balance"), std::string::npos);
  EXPECT_EQ(ui.back()["text"], "一卡通传帐失败");
  EXPECT_EQ(station.Query("SELECT count(*) FROM yktpaydetail").at(0), "0");
  EXPECT_EQ(station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='2001'").at(0), "0.00");
}

// Mended: a card number beyond 32 bits is refused, not sent wrapped.
TEST_P(PluginObjectTest, ACardNumberBeyondThirtyTwoBitsIsNotPosted) {
  ASSERT_EQ(ReadCard("0:TELMAR:1001", "1234"), 1);
  std::strcpy(m_object->m_pCardData + kCardNumberOffset, "4294967297");
  ExpectPostRefusedUnsent("卡号超出范围,不能结帐!");
}

TEST_P(PluginObjectTest, CanCancelSplitsThePostingIdentifier) {
  struct {
    const char* transId;  // UTF-8
    const char* cardNo;
    const char* transNo;
  } cases[] = {
      {"045,120.50,", "045", "120.50"},
      {"045", "", ""},
      {"A,B", "A", ""},
      {"A,B,C,", "A", "B"},
      // Fields longer than their places are cut at a character boundary.
      {"一二三四五六七八九十一二三,1234567890123456789012345678901234567890,", "一二三四五六七八九十一二",
       "1234567890123456789012345678901"},
  };
  m_object->SetParam("TRANS_TYPE", "8");
  m_object->SetParam("OPERATOR", "OP1");
  for (const auto& c : cases) {
    const std::string transId = telmar::Utf8ToGbk(c.transId);
    m_object->SetParam("TRANS_ID", transId.c_str());
    EXPECT_EQ(m_object->CanCancel(), 1) << c.transId;
    EXPECT_EQ(m_object->m_strTransId, transId.c_str());
    EXPECT_EQ(telmar::GbkToUtf8(m_object->m_Card.CardNo), c.cardNo);
    EXPECT_EQ(std::string(m_object->m_Card.TransNo), c.transNo);
  }
}

INSTANTIATE_TEST_SUITE_P(Db, PluginObjectTest, kBothDatabases, DbParamName);

}  // namespace
}  // namespace e2e

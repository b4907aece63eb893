// Settling a bill end to end: the posting statement, the member card's
// balance test and message, and checking and cancelling a posting, with the
// database looked at afterwards and its ledger checked after every test.
#include <gtest/gtest.h>

#include "station.h"

namespace e2e {
namespace {

Invocation Pay(const std::string& card, const std::string& pin, const std::string& amount,
               std::map<std::string, std::string> extra = {}) {
  Invocation invocation = Read("0:TELMAR:" + card, pin);
  invocation.operations.push_back("post");
  invocation.params.insert({{"TRANS_AMOUNT", amount},
                            {"DATE", "2026-12-11"},
                            {"OPERATOR", "OP1"},
                            {"POS_GUEST_ACCT", "101"}});
  for (const auto& [key, value] : extra) invocation.params[key] = value;
  return invocation;
}

Invocation CheckAndCancel(const std::string& transId, const std::string& transType = "8") {
  Invocation invocation;
  invocation.operations = {"cancancel", "cancel"};
  invocation.params = {{"TRANS_TYPE", transType}, {"OPERATOR", "OP1"}, {"TRANS_ID", transId}};
  return invocation;
}

class SettlementTest : public testing::TestWithParam<DbKind> {
 protected:
  void TearDown() override {
    std::string report;
    EXPECT_EQ(station.LedgerCheck(&report), 0) << report;
  }

  std::string Surplus(const std::string& card) const {
    return station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='" + card + "'").at(0);
  }
  std::string Postings(const std::string& where = "1=1") const {
    return station.Query("SELECT count(*) FROM yktpaydetail WHERE " + where).at(0);
  }
  // Opens card 2001 anew with this balance and quota and no postings.
  void SetCard2001(const std::string& surplus, const std::string& quota) const {
    station.Execute("UPDATE SavingsCard SET Surplus='" + surplus + "', Quota='" + quota +
                    "' WHERE CardID='2001'; UPDATE SavingsCardOpening SET Opening='" + surplus +
                    "' WHERE CardID='2001'; DELETE FROM yktpaydetail WHERE CardNo='2001'");
  }

  Station station{GetParam()};
};

TEST_P(SettlementTest, TheTwoPostingStatementsAreSentByteForByte) {
  station.Execute("INSERT INTO YKT_BRIDGE VALUES (45, 1, 1, 5001, '1234')");
  struct {
    std::map<std::string, std::string> extra;
    const char* statement;
  } cases[] = {
      {{{"JIEKOUTRANS", "0"}}, "Exec zorYkt 45,'2026-12-11',101,120.50,'045,120.50,','OP1',1,0,0"},
      {{{"JIEKOUTRANS", "1"}, {"TRANS_CODE", "31"}, {"STATION_ID", "2"}},
       "Exec vekYkt 45,'2026-12-11',101,120.50,'045,120.50,','OP1',1,0,0,31,2"},
      {{{"JIEKOUTRANS", " 1"}}, "Exec zorYkt 45,'2026-12-11',101,120.50,'045,120.50,','OP1',1,0,0"},
      {{{"JIEKOUTRANS", "01"}}, "Exec zorYkt 45,'2026-12-11',101,120.50,'045,120.50,','OP1',1,0,0"},
  };
  for (const auto& c : cases) {
    const Outcome run = station.Operate(Pay("045", "1234", "120.50", c.extra));
    EXPECT_EQ(run.results.at("post"), 1) << c.statement << run.out;
    EXPECT_EQ(run.Statements().back(), c.statement);
    EXPECT_EQ(run.Connections().back(), "DSN=TELMARdb;UID=SA;PWD=");
    EXPECT_EQ(run.params.at("TRANS_ID"), "045,120.50,");
    EXPECT_EQ(run.params.at("TRANS_TYPE"), "8");
    EXPECT_EQ(run.params.at("TRANS_DESCP"), "张三: : 余￥");  // a guest on a new object
    EXPECT_TRUE(run.Boxes().empty());
  }
  EXPECT_EQ(station.Query("SELECT ProcName, TransCode, Station FROM yktpaydetail WHERE ProcName='vekYkt'"),
            std::vector<std::string>{"vekYkt|31|2"});
  EXPECT_EQ(station.Query("SELECT Balance FROM GstProfile WHERE Acct=5001").at(0), "482.00");
}

TEST_P(SettlementTest, AmountsAndAccountsGoInAsTheHostGaveThem) {
  const Outcome whole = station.Operate(Pay("1002", "2222", "50", {{"POS_GUEST_ACCT", "abc"}}));
  EXPECT_EQ(whole.results.at("post"), 1);
  EXPECT_EQ(whole.Statements().back(), "Exec zorYkt 1002,'2026-12-11',0,50,'1002,50,','OP1',1,0,0");
  EXPECT_EQ(whole.params.at("TRANS_ID"), "1002,50,");
  EXPECT_EQ(station.Query("SELECT Balance FROM GrpProfile WHERE Acct=6001").at(0), "50.00");
}

TEST_P(SettlementTest, TheMemberCardBalanceTest) {
  struct {
    const char* surplus;
    const char* quota;
    const char* amount;
    bool passes;
    const char* left;  // the balance shown and kept, or the refusal
  } cases[] = {
      {"100.00", "0", "100.00", true, "0.00"},
      {"100.00", "50.00", "120.00", true, "-20.00"},
      {"100.00", "50.00", "160.00", false,
       "对不起,客人余额为       100.00 元, 差额        60.00 元 ,本次结账不足!"},
      {"50.00", "0", "50.01", true, "-0.01"},
      {"100.00", "0", "100.01", false,
       "对不起,客人余额为       100.00 元, 差额         0.01 元 ,本次结账不足!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.surplus) + " + " + c.quota + " - " + c.amount);
    SetCard2001(c.surplus, c.quota);
    const Outcome run = station.Operate(Pay("2001", "4444", c.amount));
    EXPECT_EQ(run.results.at("post"), c.passes ? 1 : 0);
    if (c.passes) {
      EXPECT_EQ(run.Boxes(), (std::vector<Json>{Box(std::string("会员卡内余额为 ") + c.left + " 元.", "提示", 0)}));
      EXPECT_EQ(run.params.at("TRANS_DESCP"), std::string("李四: 华夏科技有限公司: 余￥") + c.left);
      EXPECT_EQ(Surplus("2001"), c.left);
    } else {
      EXPECT_EQ(run.Boxes(), (std::vector<Json>{Box(c.left, "提示", 48)}));
      EXPECT_EQ(run.params.count("TRANS_ID"), 0u);
      EXPECT_EQ(run.Statements().size(), 5u);  // the card read only
      EXPECT_EQ(Surplus("2001"), c.surplus);
    }
  }
}

TEST_P(SettlementTest, ANegativeAmountPassesAndShowsNoBalance) {
  const Outcome run = station.Operate(Pay("2001", "4444", "-50"));
  EXPECT_EQ(run.results.at("post"), 1);
  EXPECT_TRUE(run.Boxes().empty());
  EXPECT_EQ(run.params.at("TRANS_DESCP"), "李四: 华夏科技有限公司: 余￥150.50");
  EXPECT_EQ(Surplus("2001"), "150.50");
}

TEST_P(SettlementTest, AFailingProcedureShowsTheDriversTextThenThePostingFailure) {
  // An empty transaction code leaves an empty argument position: the
  // database rejects the statement as it stands.
  const Outcome rejected = station.Operate(Pay("1001", "1234", "10.00", {{"JIEKOUTRANS", "1"}, {"TRANS_CODE", ""}}));
  EXPECT_EQ(rejected.results.at("post"), 0);
  EXPECT_EQ(rejected.Statements().back(), "Exec vekYkt 1001,'2026-12-11',101,10.00,'1001,10.00,','OP1',1,0,0,,1");
  ASSERT_EQ(rejected.Boxes().size(), 2u);
  EXPECT_EQ(rejected.Boxes()[0]["box"], "ReportError");
  EXPECT_EQ(rejected.Boxes()[0]["type"], 0);
  EXPECT_NE(rejected.Boxes()[0]["text"].get<std::string>().find("syntax error"), std::string::npos);
  EXPECT_EQ(rejected.Boxes()[1], Box("一卡通传帐失败", "提示", 16));
  EXPECT_EQ(rejected.params.at("TRANS_ID"), "1001,10.00,");  // left behind by the failed attempt
  EXPECT_EQ(Postings(), "0");
}

TEST_P(SettlementTest, APostingIsCheckedCancelledAndNeverRefundedTwice) {
  const Outcome paid = station.Operate(Pay("2001", "4444", "30.00"));
  ASSERT_EQ(paid.results.at("post"), 1);
  EXPECT_EQ(Surplus("2001"), "70.50");

  const Outcome cancelled = station.Operate(CheckAndCancel("2001,30.00,", "4"));
  EXPECT_EQ(cancelled.results.at("cancancel"), 1);
  EXPECT_EQ(cancelled.results.at("cancel"), 1);
  EXPECT_EQ(cancelled.Statements(),
            (std::vector<std::string>{"Select TRANS_ID from yktpaydetail where TRANS_ID='2001,30.00,' and cancel=1",
                                      "Exec zorYkt 1,'1',1,1,'2001,30.00,','ss',1,1,0"}));
  EXPECT_EQ(cancelled.Connections(),
            (std::vector<std::string>{"DSN=TELMARYKT;UID=SA;PWD=", "DSN=TELMARdb;UID=SA;PWD="}));
  EXPECT_TRUE(cancelled.Boxes().empty());  // a cancellation shows no balance
  EXPECT_EQ(Surplus("2001"), "100.50");
  EXPECT_EQ(Postings("cancel=1"), "1");

  Invocation again = CheckAndCancel("2001,30.00,");
  again.keepGoing = true;  // a host that ignores the answer
  const Outcome twice = station.Operate(again);
  EXPECT_EQ(twice.results.at("cancancel"), 0);
  EXPECT_EQ(twice.results.at("cancel"), 0);
  ASSERT_EQ(twice.Boxes().size(), 2u);
  EXPECT_EQ(twice.Boxes()[0]["box"], "ReportError");
  EXPECT_EQ(twice.Boxes()[1], Box("一卡通取消结帐失败", "提示", 16));
  EXPECT_EQ(Surplus("2001"), "100.50");
}

// An identifier is only the card and the amount: paying the same amount
// again brings the same identifier back. Each standing posting under it can
// still be checked and cancelled, one at a time, and only when none is left
// does the check answer that it was cancelled.
TEST_P(SettlementTest, AnIdentifierThatComesBackCanStillBeCancelled) {
  for (int i = 0; i < 2; ++i) ASSERT_EQ(station.Operate(Pay("2001", "4444", "10.00")).results.at("post"), 1);
  EXPECT_EQ(Surplus("2001"), "80.50");
  for (const char* left : {"90.50", "100.50"}) {
    const Outcome run = station.Operate(CheckAndCancel("2001,10.00,"));
    EXPECT_EQ(run.results.at("cancancel"), 1);
    EXPECT_EQ(run.results.at("cancel"), 1);
    EXPECT_EQ(Surplus("2001"), left);
  }
  EXPECT_EQ(station.Operate(CheckAndCancel("2001,10.00,")).results.at("cancancel"), 0);

  ASSERT_EQ(station.Operate(Pay("2001", "4444", "10.00")).results.at("post"), 1);
  const Outcome again = station.Operate(CheckAndCancel("2001,10.00,"));
  EXPECT_EQ(again.results.at("cancancel"), 1);
  EXPECT_EQ(again.results.at("cancel"), 1);
  EXPECT_EQ(Surplus("2001"), "100.50");
  EXPECT_EQ(station.Operate(CheckAndCancel("2001,10.00,")).results.at("cancancel"), 0);
}

TEST_P(SettlementTest, CancelWithoutAnEarlierCheckSendsTheEmptyIdentifier) {
  Invocation invocation;
  invocation.operations = {"cancel"};
  const Outcome run = station.Operate(invocation);
  EXPECT_EQ(run.Statements(), std::vector<std::string>{"Exec zorYkt 1,'1',1,1,'','ss',1,1,0"});
  EXPECT_EQ(run.results.at("cancel"), 0);
  EXPECT_EQ(run.Boxes().back(), Box("一卡通取消结帐失败", "提示", 16));
}

TEST_P(SettlementTest, CanCancelNeedsItsThreeParametersAndAsksOnlyThen) {
  for (const char* missing : {"TRANS_TYPE", "OPERATOR", "TRANS_ID"}) {
    Invocation invocation = CheckAndCancel("2001,30.00,");
    invocation.operations = {"cancancel"};
    invocation.params.erase(missing);
    const Outcome run = station.Operate(invocation);
    EXPECT_EQ(run.results.at("cancancel"), 0) << missing;
    EXPECT_TRUE(run.sql.empty()) << missing;
    EXPECT_TRUE(run.ui.empty()) << missing;
  }
  Invocation unknown = CheckAndCancel("9,9,");
  unknown.operations = {"cancancel"};
  EXPECT_EQ(station.Operate(unknown).results.at("cancancel"), 1);  // no row: nothing says it was cancelled
}

// Mended: nothing is charged without a card that ReadCard accepted.
TEST_P(SettlementTest, PostWithoutAnAcceptedCardIsRefusedUnsent) {
  Invocation alone = Pay("2001", "4444", "10.00");
  alone.operations = {"post"};
  const Outcome unread = station.Operate(alone);
  EXPECT_EQ(unread.results.at("post"), 0);
  EXPECT_EQ(unread.ui, (std::vector<Json>{Box("未读卡,不能结帐!", "提示", 48)}));
  EXPECT_TRUE(unread.sql.empty());

  Invocation refused = Pay("2001", "4444", "10.00");
  refused.answers = {"cancel"};
  refused.keepGoing = true;
  const Outcome afterCancel = station.Operate(refused);
  EXPECT_EQ(afterCancel.results.at("readcard"), 0);
  EXPECT_EQ(afterCancel.results.at("post"), 0);
  EXPECT_EQ(afterCancel.Boxes().back(), Box("未读卡,不能结帐!", "提示", 48));
  EXPECT_EQ(afterCancel.params.count("TRANS_ID"), 0u);
  EXPECT_EQ(Postings(), "0");
}

// Mended: only numbers go where the statement has no quotes.
TEST_P(SettlementTest, ValuesThatAreNotNumbersAreRefusedBeforeAnythingIsWritten) {
  struct {
    const char* amount;
    std::map<std::string, std::string> extra;
    const char* message;
  } cases[] = {
      {"12a", {}, "结帐金额错误,不能结帐!"},
      {"", {}, "结帐金额错误,不能结帐!"},
      {"1e3", {}, "结帐金额错误,不能结帐!"},
      {"10,0", {}, "结帐金额错误,不能结帐!"},
      {"10;DELETE FROM yktpaydetail", {}, "结帐金额错误,不能结帐!"},
      {"10.00", {{"JIEKOUTRANS", "1"}, {"TRANS_CODE", "31 OR 1=1"}}, "交易代码或站点号错误,不能结帐!"},
      {"10.00", {{"JIEKOUTRANS", "1"}, {"TRANS_CODE", "31"}, {"STATION_ID", "1"}, {"OPERATOR", "OP1"}},
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.amount);
    const Outcome run = station.Operate(Pay("1001", "1234", c.amount, c.extra));
    if (!c.message) {
      EXPECT_EQ(run.results.at("post"), 1);
      continue;
    }
    EXPECT_EQ(run.results.at("post"), 0);
    EXPECT_EQ(run.Boxes(), (std::vector<Json>{Box(c.message, "提示", 48)}));
    EXPECT_EQ(run.params.count("TRANS_ID"), 0u);
    EXPECT_EQ(run.Statements().size(), 5u);
  }
  EXPECT_EQ(Postings(), "1");
}

// Mended: quotes in quoted values are doubled, and stored as given.
TEST_P(SettlementTest, QuotesInTextValuesAreDoubled) {
  const Outcome run = station.Operate(Pay("1001", "1234", "10.00", {{"OPERATOR", "O'Brien"}, {"DATE", "11'12"}}));
  EXPECT_EQ(run.results.at("post"), 1);
  EXPECT_EQ(run.Statements().back(), "Exec zorYkt 1001,'11''12',101,10.00,'1001,10.00,','O''Brien',1,0,0");
  EXPECT_EQ(station.Query("SELECT Operator, PayDate FROM yktpaydetail"), std::vector<std::string>{"O'Brien|11'12"});

  const Outcome check = station.Operate(CheckAndCancel("1001,10.00,'"));
  EXPECT_EQ(check.Statements().front(),
            "Select TRANS_ID from yktpaydetail where TRANS_ID='1001,10.00,''' and cancel=1");
  EXPECT_EQ(check.Statements().back(), "Exec zorYkt 1,'1',1,1,'1001,10.00,''','ss',1,1,0");
  EXPECT_EQ(check.results.at("cancel"), 0);  // no such posting
  EXPECT_EQ(Postings("cancel=0"), "1");
}

// Mended: a check that cannot connect, or whose query fails, says so and
// answers 0 instead of querying a closed connection or throwing.
TEST_P(SettlementTest, CanCancelReportsADatabaseItCannotAsk) {
  Invocation check = CheckAndCancel("2001,30.00,");
  check.operations = {"cancancel"};
  Station broken{GetParam()};
  broken.Execute("DROP TABLE yktpaydetail");
  const Outcome failed = broken.Operate(check);
  EXPECT_EQ(failed.results.at("cancancel"), 0);
  ASSERT_EQ(failed.Boxes().size(), 1u);
  EXPECT_EQ(failed.Boxes()[0]["box"], "ReportError");
  EXPECT_NE(failed.Boxes()[0]["text"].get<std::string>().find(broken.MissingTableText()), std::string::npos);

  RunCommand({"sed", "-i", "s/^\\[TELMARykt\\]/[OTHERykt]/", broken.Site() + "/odbc.ini"}, {}, nullptr, nullptr);
  const Outcome unconnected = broken.Operate(check);
  EXPECT_EQ(unconnected.results.at("cancancel"), 0);
  EXPECT_EQ(unconnected.ui, (std::vector<Json>{AfxBox("数据库打开错误", 0)}));
  EXPECT_TRUE(unconnected.Statements().empty());
}

INSTANTIATE_TEST_SUITE_P(Db, SettlementTest, kBothDatabases, DbParamName);

}  // namespace
}  // namespace e2e

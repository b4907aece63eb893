// Reading a card end to end: the reader, the hotel and kind checks, the
// bridge, the PIN, the status and the account dialog.
#include <gtest/gtest.h>

#include "station.h"

namespace e2e {
namespace {

const char* const kYkt = "DSN=TELMARykt;UID=SA;PWD=";
const char* const kRecordset = "DSN=Telmarykt;UID=sa;PWD=";


class ReadCardTest : public testing::TestWithParam<DbKind> {
 protected:
  Station station{GetParam()};
};

struct AccountCase {
  const char* card;
  const char* pin;
  const char* title;
  std::map<std::string, std::string> items;
  const char* accountStatement;
  const char* accountConnect;
};

const AccountCase kAccounts[] = {
    {"1001", "1234", "客人信息浏览",
     {{"1000", "张三"}, {"1001", "北京市海淀区中关村大街1号"}, {"1002", "100080"}, {"1003", "010-62345679"},
      {"1004", "010-62345678"}, {"1005", "G12345678"}, {"1006", ""}},
     "select ChnName,Sex,Address,Poscode,Phone,Pasprt,Fax,Balance,Status from GstProfile where Acct=5001",
     "DSN=TELMARdb;UID=SA;PWD="},
    {"1002", "2222", "团体客人信息浏览",
     {{"1000", "长城旅行团"}, {"1001", "北京市东城区王府井大街8号"}, {"1002", "100006"}, {"1003", "010-65123457"},
      {"1004", "010-65123456"}, {"1005", "王五"}, {"1006", ""}},
     "select Name,Addr,ContName,Zip,Phone,Fax,Balance,Status from GrpProfile where Acct=6001",
     "DSN=TELMARDb;UID=SA;PWD="},
    {"1003", "3333", "特殊帐户浏览",
     {{"1000", "环球旅行社"}, {"1001", "上海市黄浦区南京东路100号"}, {"1002", "200001"}, {"1003", "021-63211235"},
      {"1004", "021-63211234"}, {"1005", "赵六"}, {"1006", ""}},
     "select TaName,Addr,Contact,Zip,Phone,Fax,Balance,Status from Tamain where Acct=7001",
     "DSN=TELMARDb;UID=SA;PWD="},
    {"2001", "4444", "应收帐户信息浏览",
     {{"1000", "李四"}, {"1001", "北京市朝阳区建国路88号"}, {"1002", "100.50"}, {"1003", "50.00"},
      {"1004", "13800138000"}, {"1005", "VIP10"}, {"1006", "金卡会员"}},
     "select * from SavingsCard where CardID='2001'", "DSN=Telmarykt;UID=sa;PWD="},
};

TEST_P(ReadCardTest, EachAccountTypeIsShownAndTheOperatorsAnswerIsTheResult) {
  for (const AccountCase& account : kAccounts) {
    for (const std::string answer : {"ok", "cancel"}) {
      SCOPED_TRACE(std::string(account.card) + " " + answer);
      const Outcome run = station.Operate(Read(std::string("0:TELMAR:") + account.card, account.pin, answer));
      EXPECT_EQ(run.results.at("readcard"), answer == "ok" ? 1 : 0);
      EXPECT_EQ(run.exitCode, answer == "ok" ? 0 : 1);
      EXPECT_TRUE(run.Boxes().empty());
      ASSERT_EQ(run.Dialogs().size(), 1u);
      const Json dialog = run.Dialogs()[0];
      EXPECT_EQ(dialog["dialog"], 129);
      EXPECT_EQ(dialog["title"], account.title);
      EXPECT_EQ(dialog["answer"], answer);
      const auto items = dialog["items"].get<std::map<std::string, std::string>>();
      EXPECT_EQ(items, account.items);

      const std::string card = account.card;
      EXPECT_EQ(run.Statements(), (std::vector<std::string>{
                                      "select Agent from LOCAL_AGENT",
                                      "Select * from YKT_BRIDGE where CardNo=" + card,
                                      "select * from SavingsCard where CardID='" + card + "'",
                                      "select Code from CardDiscount where CardNo='" + card + "' and PosID=1",
                                      account.accountStatement,
                                  }));
      EXPECT_EQ(run.Connections(), (std::vector<std::string>{kYkt, kRecordset, kRecordset, kYkt,
                                                            account.accountConnect}));
      EXPECT_EQ(run.reader, (std::vector<std::string>{"load", "ReadCardExport", "unload", "load",
                                                      "CheckPwdExport 等待客人输入密码:", "unload"}));
    }
  }
}

TEST_P(ReadCardTest, MemberCardHandsOverItsLimitAndKeepsTheDiscountCode) {
  const Outcome run = station.Operate(Read("0:TELMAR:2001", "4444"));
  EXPECT_EQ(run.params.at("MAX_AMOUNT"), "150.50");
  EXPECT_EQ(run.params.at("DIS_CODE"), "VIP10");
}

TEST_P(ReadCardTest, MaxAmountIsBalancePlusQuota) {
  struct {
    const char* surplus;
    const char* quota;
    const char* expected;
    bool textColumn;  // a quota that only a text column can hold
  } cases[] = {{"100.5", "50", "150.50", false},
               {"100", "", "100.00", true},
               {"100", "abc", "100.00", true},
               {"-20", "50", "30.00", false}};
  for (const auto& c : cases) {
    if (c.textColumn && station.Kind() != DbKind::Sqlite) continue;
    station.Execute(std::string("UPDATE SavingsCard SET Surplus='") + c.surplus + "', Quota='" + c.quota +
                    "' WHERE CardID='2001'");
    const Outcome run = station.Operate(Read("0:TELMAR:2001", "4444"));
    EXPECT_EQ(run.params.at("MAX_AMOUNT"), c.expected) << c.surplus << " + " << c.quota;
  }
}

TEST_P(ReadCardTest, MemberCardWithoutANameShowsItsCompany) {
  const Outcome run = station.Operate(Read("0:TELMAR:2002", "5555"));
  ASSERT_EQ(run.Dialogs().size(), 1u);
  EXPECT_EQ(run.Dialogs()[0]["items"]["1000"], "东方贸易公司");
  EXPECT_EQ(run.Dialogs()[0]["items"]["1003"], "0.00");
}

TEST_P(ReadCardTest, CardsThatAreNotThisHotelsOneCardsAreRefusedInOrder) {
  struct {
    const char* card;
    const char* message;
  } cases[] = {
      {"0:OTHER:1001", "非本酒店卡,不能使用!"},
      {"5:OTHER:1001", "非本酒店卡,不能使用!"},  // the hotel check comes first
      {"1:TELMAR:1001", "非酒店一卡通,不能使用!"},
  };
  for (const auto& c : cases) {
    const Outcome run = station.Operate(Read(c.card, "1234"));
    EXPECT_EQ(run.results.at("readcard"), 0) << c.card;
    EXPECT_EQ(run.ui, (std::vector<Json>{Box(c.message, "提示", 48)})) << c.card;
    EXPECT_EQ(run.Statements(), (std::vector<std::string>{"select Agent from LOCAL_AGENT"})) << c.card;
    EXPECT_EQ(run.reader, (std::vector<std::string>{"load", "ReadCardExport", "unload"})) << c.card;
  }
}

TEST_P(ReadCardTest, NoCardOnTheReaderEndsSilently) {
  const Outcome run = station.Operate(Read("", "1234"));
  EXPECT_EQ(run.results.at("readcard"), 0);
  EXPECT_TRUE(run.ui.empty());
  EXPECT_EQ(run.reader, (std::vector<std::string>{"load", "ReadCardExport", "unload"}));
}

TEST_P(ReadCardTest, ThePinMayBeKeyedTwice) {
  const Outcome right = station.Operate(Read("0:TELMAR:1001", "0000,1234"));
  EXPECT_EQ(right.results.at("readcard"), 1);
  EXPECT_EQ(right.reader, (std::vector<std::string>{"load", "ReadCardExport", "unload", "load",
                                                    "CheckPwdExport 等待客人输入密码:",
                                                    "CheckPwdExport 请客人再次输入密码:", "unload"}));
  const Outcome wrong = station.Operate(Read("0:TELMAR:1001", "0000,9999"));
  EXPECT_EQ(wrong.results.at("readcard"), 0);
  EXPECT_TRUE(wrong.ui.empty());
}

TEST_P(ReadCardTest, ABlockedCardIsRefusedAfterThePin) {
  const Outcome run = station.Operate(Read("0:TELMAR:2003", "6666"));
  EXPECT_EQ(run.results.at("readcard"), 0);
  EXPECT_EQ(run.ui, (std::vector<Json>{Box("此卡不能使用,已被挂失删除或冻结!", "提示", 48)}));
  EXPECT_EQ(run.reader.at(4), "CheckPwdExport 等待客人输入密码:");
}

TEST_P(ReadCardTest, TheMemberCardsStatusOverridesTheBridges) {
  station.Execute("UPDATE YKT_BRIDGE SET Status=0 WHERE CardNo=2001");
  EXPECT_EQ(station.Operate(Read("0:TELMAR:2001", "4444")).results.at("readcard"), 1);
  station.Execute("UPDATE YKT_BRIDGE SET Status=0 WHERE CardNo=1001");
  const Outcome guest = station.Operate(Read("0:TELMAR:1001", "1234"));
  EXPECT_EQ(guest.results.at("readcard"), 0);
  EXPECT_EQ(guest.ui, (std::vector<Json>{Box("此卡不能使用,已被挂失删除或冻结!", "提示", 48)}));
}

TEST_P(ReadCardTest, OnlyTheExactCodeNoyktBarsTheCardAtTheStation) {
  const Outcome barred = station.Operate(Read("0:TELMAR:1004", "8888", "ok", "2"));
  EXPECT_EQ(barred.results.at("readcard"), 0);
  EXPECT_EQ(barred.ui, (std::vector<Json>{AfxBox("该客人不能在本站点用一卡通签单!", 16)}));
  EXPECT_EQ(barred.params.at("DIS_CODE"), "NOYKT");
  EXPECT_EQ(barred.reader.size(), 3u);  // the PIN is not asked for

  for (const char* code : {"noykt", "NOYKT "}) {
    station.Execute(std::string("UPDATE CardDiscount SET Code='") + code + "' WHERE CardNo='1004'");
    const Outcome allowed = station.Operate(Read("0:TELMAR:1004", "8888", "ok", "2"));
    EXPECT_EQ(allowed.results.at("readcard"), 1) << code;
    EXPECT_EQ(allowed.params.at("DIS_CODE"), code);
  }
}

TEST_P(ReadCardTest, WithoutADiscountRowTheHostsCodeStays) {
  Invocation invocation = Read("0:TELMAR:2002", "5555");
  invocation.params["DIS_CODE"] = "HOST";
  const Outcome run = station.Operate(invocation);
  EXPECT_EQ(run.results.at("readcard"), 1);
  EXPECT_EQ(run.params.at("DIS_CODE"), "HOST");
  EXPECT_EQ(run.Dialogs().at(0)["items"]["1005"], "HOST");
}

TEST_P(ReadCardTest, LeadingZerosMatchTheIntegerBridgeRowAndTheTextCardRow) {
  const Outcome run = station.Operate(Read("0:TELMAR:000123", "7777"));
  EXPECT_EQ(run.results.at("readcard"), 1);
  EXPECT_EQ(run.Statements().at(1), "Select * from YKT_BRIDGE where CardNo=000123");
  EXPECT_EQ(run.Dialogs().at(0)["items"]["1000"], "周八");
  EXPECT_EQ(run.params.at("MAX_AMOUNT"), "88.00");
}

TEST_P(ReadCardTest, AnAccountTypeOutsideOneToFourEndsSilently) {
  station.Execute("UPDATE YKT_BRIDGE SET AcctType=7 WHERE CardNo=1001");
  const Outcome run = station.Operate(Read("0:TELMAR:1001", "1234"));
  EXPECT_EQ(run.results.at("readcard"), 0);
  EXPECT_TRUE(run.ui.empty());
}

TEST_P(ReadCardTest, AMissingTableShowsTheDriversTextWithTheStepsBoxType) {
  struct {
    const char* table;
    int type;
  } cases[] = {{"CardDiscount", 16}, {"SavingsCard", 48}, {"YKT_BRIDGE", 16}, {"LOCAL_AGENT", 48}};
  for (const auto& c : cases) {
    Station fresh{GetParam()};
    fresh.Execute(std::string("DROP TABLE ") + c.table);
    const Outcome run = fresh.Operate(Read("0:TELMAR:1001", "1234"));
    EXPECT_EQ(run.results.at("readcard"), 0) << c.table;
    ASSERT_EQ(run.ui.size(), 1u) << c.table;
    EXPECT_EQ(run.ui[0]["box"], "AfxMessageBox");
    EXPECT_EQ(run.ui[0]["type"], c.type) << c.table;
    EXPECT_NE(run.ui[0]["text"].get<std::string>().find(fresh.MissingTableText()), std::string::npos) << run.ui[0];
  }
}

TEST_P(ReadCardTest, AProfileWithoutARowShowsEmptyBoxes) {
  station.Execute("DELETE FROM GstProfile WHERE Acct=5001");
  const Outcome run = station.Operate(Read("0:TELMAR:1001", "1234"));
  EXPECT_EQ(run.results.at("readcard"), 1);
  using Items = std::map<std::string, std::string>;
  const auto items = run.Dialogs().at(0)["items"].get<Items>();
  for (const auto& [id, text] : items) EXPECT_EQ(text, "") << id;
  EXPECT_EQ(run.Dialogs().at(0)["title"], "客人信息浏览");
}

// Mended: malformed card data is refused before any statement is built.
TEST_P(ReadCardTest, MalformedCardDataIsRefusedBeforeAnyStatement) {
  for (const char* card : {"0:TELMAR:", "0:TELMAR:12a4", "0:TELMAR:12345678901234567890123456",
                           "0:TELMAR:1001 or 1=1", "00:TELMAR:1001", "0:TELMARX:1001"}) {
    const Outcome run = station.Operate(Read(card, "1234"));
    EXPECT_EQ(run.results.at("readcard"), 0) << card;
    EXPECT_EQ(run.ui, (std::vector<Json>{Box("卡数据错误,不能使用!", "提示", 48)})) << card;
    EXPECT_EQ(run.Statements(), (std::vector<std::string>{"select Agent from LOCAL_AGENT"})) << card;
  }
}

// Mended: the station number goes in without quotes, so only a number may.
TEST_P(ReadCardTest, AStationThatIsNotANumberFailsTheDiscountStepUnsent) {
  for (const char* stationId : {"", "1 or 1=1", "1;DROP TABLE LOCAL_AGENT"}) {
    const Outcome run = station.Operate(Read("0:TELMAR:1001", "1234", "ok", stationId));
    EXPECT_EQ(run.results.at("readcard"), 0) << stationId;
    ASSERT_EQ(run.ui.size(), 1u) << stationId;
    EXPECT_EQ(run.ui[0]["box"], "AfxMessageBox");
    EXPECT_EQ(run.ui[0]["type"], 16);
    EXPECT_EQ(run.Statements().size(), 3u) << stationId;  // agent, bridge, member card
  }
  EXPECT_EQ(station.Query("SELECT count(*) FROM LOCAL_AGENT"), std::vector<std::string>{"1"});
}

// Mended: long texts are cut at a character boundary, NULL reads as empty.
TEST_P(ReadCardTest, LongAndNullProfileTextsFitTheirBoxes) {
  station.AllowNull("GstProfile", "Phone");
  station.Execute("UPDATE GstProfile SET ChnName='一二三四五六七八九十一二三四五六七八九十', Phone=NULL WHERE Acct=5001");
  const Outcome run = station.Operate(Read("0:TELMAR:1001", "1234"));
  ASSERT_EQ(run.Dialogs().size(), 1u);
  EXPECT_EQ(run.Dialogs()[0]["items"]["1000"], "一二三四五六七八九十一二三四");  // 28 of 29 bytes
  EXPECT_EQ(run.Dialogs()[0]["items"]["1004"], "");
}

// Mended: a reader library that cannot be loaded is reported.
TEST_P(ReadCardTest, AReaderThatCannotBeLoadedIsReported) {
  Station broken{GetParam()};
  std::string out;
  RunCommand({"sh", "-c", "printf '[YKT_CFG]\\nDrive1=NOREADER.dll\\n' > " + broken.Site() + "/ICCOM.ini"}, {}, &out,
             nullptr);
  const Outcome run = broken.Operate(Read("0:TELMAR:1001", "1234"));
  EXPECT_EQ(run.results.at("readcard"), 0);
  EXPECT_EQ(run.ui, (std::vector<Json>{Box("读卡: 调用DLL错误", "错误提示", 48)}));
}

// Mended: a connection that fails with an error never leaves the plug-in.
TEST_P(ReadCardTest, AConnectionFailureIsReportedNotThrown) {
  Station broken{GetParam()};
  broken.BreakConnection();
  const Outcome run = broken.Operate(Read("0:TELMAR:1001", "1234"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.results.at("readcard"), 0);
  ASSERT_EQ(run.ui.size(), 1u);
  EXPECT_EQ(run.ui[0]["box"], "ReportError");
  EXPECT_EQ(run.ui[0]["type"], 0);
}

INSTANTIATE_TEST_SUITE_P(Db, ReadCardTest, kBothDatabases, DbParamName);

}  // namespace
}  // namespace e2e

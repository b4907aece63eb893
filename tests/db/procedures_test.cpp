// The posting procedures zorYkt and vekYkt, driven with the statements the
// platform sends, on a site made by telmar-site with the sample data.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "site_support.h"

namespace telmar_test {
namespace {

class ProcedureTest : public ::testing::Test {
protected:
    SiteFixture site;
    Database& db = site.db();

    std::string surplus(const std::string& cardId) {
        return db.text("SELECT Surplus FROM SavingsCard WHERE CardID = '" + cardId + "'").value_or("<none>");
    }
    long long postings() { return db.integer("SELECT count(*) FROM yktpaydetail"); }
    void expectOk(const std::string& sql) {
        const StatementResult result = db.exec(sql);
        ASSERT_TRUE(result.ok()) << sql << "\n" << result.error;
    }
};

TEST_F(ProcedureTest, MemberPostingLowersSurplusExactlyAndRecordsOneDetailRow) {
    expectOk(postingStatement("2001", "20.25"));

    EXPECT_EQ(surplus("2001"), "80.25");
    ASSERT_EQ(postings(), 1);
    EXPECT_EQ(db.text("SELECT TRANS_ID || '|' || cancel || '|' || CardNo || '|' || AcctType || '|' || Acct"
                      " || '|' || Amount || '|' || PayDate || '|' || GuestAcct || '|' || Operator"
                      " || '|' || ifnull(TransCode, 'null') || '|' || ifnull(Station, 'null')"
                      " || '|' || ProcName || '|' || BalanceAfter || '|' || ifnull(CancelTime, 'null')"
                      " FROM yktpaydetail"),
              "2001,20.25,|0|2001|4|8001|20.25|2024-05-01|101|OP1|null|null|zorYkt|80.25|null");
    EXPECT_EQ(db.integer("SELECT PostTime GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:*'"
                         " FROM yktpaydetail"),
              1);
}

TEST_F(ProcedureTest, RepeatedSmallPostingsStayExactToTheCent) {
    for (int i = 0; i < 10; ++i) expectOk(postingStatement("2001", "0.10"));
    for (int i = 0; i < 3; ++i) expectOk(postingStatement("2001", "0.07"));

    EXPECT_EQ(surplus("2001"), "99.29");
    EXPECT_EQ(db.text("SELECT BalanceAfter FROM yktpaydetail ORDER BY PayNo DESC LIMIT 1"), "99.29");
}

TEST_F(ProcedureTest, VekYktRecordsTransactionCodeAndStation) {
    expectOk(vekPostingStatement("2001", "10.00", "31", "2"));

    EXPECT_EQ(surplus("2001"), "90.50");
    EXPECT_EQ(db.text("SELECT TransCode || '|' || Station || '|' || ProcName || '|' || TRANS_ID"
                      " FROM yktpaydetail"),
              "31|2|vekYkt|2001,10.00,");
}

TEST_F(ProcedureTest, CancellationReversesExactlyAndOnlyOnce) {
    expectOk(postingStatement("2001", "33.33"));
    ASSERT_EQ(surplus("2001"), "67.17");

    expectOk(cancelStatement("2001,33.33,"));
    EXPECT_EQ(surplus("2001"), "100.50");
    EXPECT_EQ(db.integer("SELECT cancel FROM yktpaydetail"), 1);
    EXPECT_TRUE(db.text("SELECT CancelTime FROM yktpaydetail").has_value());

    const std::string before = db.moneyState();
    const StatementResult again = db.exec(cancelStatement("2001,33.33,"));
    EXPECT_FALSE(again.ok());
    EXPECT_NE(again.error.find("no standing posting"), std::string::npos) << again.error;
    EXPECT_EQ(db.moneyState(), before);
}

TEST_F(ProcedureTest, CancellationTakesTheMostRecentStandingPostingOfTheIdentifier) {
    expectOk(postingStatement("2002", "10.00"));
    expectOk(postingStatement("2002", "10.00"));
    ASSERT_EQ(surplus("2002"), "280.00");

    expectOk(cancelStatement("2002,10.00,"));
    EXPECT_EQ(surplus("2002"), "290.00");
    EXPECT_EQ(db.text("SELECT group_concat(cancel, ',') FROM (SELECT cancel FROM yktpaydetail ORDER BY PayNo)"),
              "0,1");

    expectOk(cancelStatement("2002,10.00,"));
    EXPECT_EQ(surplus("2002"), "300.00");
    EXPECT_FALSE(db.exec(cancelStatement("2002,10.00,")).ok());
    EXPECT_EQ(surplus("2002"), "300.00");
}

TEST_F(ProcedureTest, ChineseTextSurvivesStorageAndPosting) {
    EXPECT_EQ(db.text("SELECT Name || '/' || Company || '/' || Comment FROM SavingsCard WHERE CardID = '2001'"),
              u8"李四/华夏科技有限公司/金卡会员");
    EXPECT_EQ(db.text("SELECT ChnName || '/' || Sex || '/' || Address FROM GstProfile WHERE Acct = 5001"),
              u8"张三/男/北京市海淀区中关村大街1号");
    EXPECT_EQ(db.text("SELECT Name || '/' || Company FROM SavingsCard WHERE CardID = '2002'"), u8"/东方贸易公司");

    expectOk(postingStatement("1001", "5.00", u8"收银员甲", u8"二〇二四年五月一日"));
    EXPECT_EQ(db.text("SELECT Operator || '/' || PayDate FROM yktpaydetail"), u8"收银员甲/二〇二四年五月一日");
}

// Member cards: balance plus quota must cover the amount, within one cent.
struct BalanceCase {
    const char* name;
    const char* card;
    const char* amount;
    bool accepted;
    const char* surplusAfter;
};

void PrintTo(const BalanceCase& c, std::ostream* out) { *out << c.name; }

class MemberBalanceTest : public ProcedureTest, public ::testing::WithParamInterface<BalanceCase> {};

TEST_P(MemberBalanceTest, ChargesOnlyWhatBalancePlusQuotaCovers) {
    const BalanceCase& c = GetParam();
    const std::string before = db.moneyState();

    const StatementResult result = db.exec(postingStatement(c.card, c.amount));

    EXPECT_EQ(result.ok(), c.accepted) << result.error;
    EXPECT_EQ(surplus(c.card), c.surplusAfter);
    if (c.accepted) {
        EXPECT_EQ(db.text("SELECT BalanceAfter FROM yktpaydetail"), c.surplusAfter);
    } else {
        EXPECT_NE(result.error.find("insufficient balance"), std::string::npos) << result.error;
        EXPECT_EQ(db.moneyState(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, MemberBalanceTest,
    ::testing::Values(BalanceCase{"QuotaAdmitsOverdraftToMinusQuota", "2001", "150.50", true, "-50.00"},
                      BalanceCase{"OneCentBeyondQuotaIsTolerated", "2001", "150.51", true, "-50.01"},
                      BalanceCase{"TwoCentsBeyondQuotaRefused", "2001", "150.52", false, "100.50"},
                      BalanceCase{"WholeBalanceWithoutQuota", "2002", "300.00", true, "0.00"},
                      BalanceCase{"OneCentOverWithoutQuotaTolerated", "2002", "300.01", true, "-0.01"},
                      BalanceCase{"TwoCentsOverWithoutQuotaRefused", "2002", "300.02", false, "300.00"},
                      BalanceCase{"AmountWithoutDecimals", "2002", "50", true, "250.00"},
                      BalanceCase{"NegativeAmountCreditsTheCard", "2002", "-50", true, "350.00"},
                      BalanceCase{"LeadingZerosCardByText", "000123", "88.00", true, "0.00"},
                      BalanceCase{"LeadingZerosCardRefusedBeyondBalance", "000123", "88.02", false, "88.00"}),
    [](const auto& info) { return std::string(info.param.name); });

// Statements the procedures must refuse, leaving no money moved and no posting.
struct RefusalCase {
    const char* name;
    const char* setup;  // SQL run before, e.g. to block a card
    std::string statement;
    const char* error;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class RefusalTest : public ProcedureTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, RefusesWithClearTextAndWritesNothing) {
    const RefusalCase& c = GetParam();
    ASSERT_TRUE(db.exec(c.setup).ok());
    const std::string before = db.moneyState();

    const StatementResult result = db.exec(c.statement);

    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    EXPECT_EQ(db.moneyState(), before);
    EXPECT_EQ(postings(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Postings, RefusalTest,
    ::testing::Values(
        RefusalCase{"BlockedMemberCard", "", postingStatement("2003", "1.00"), "member card is blocked"},
        RefusalCase{"CardBlockedInBridge", "UPDATE YKT_BRIDGE SET Status = 0 WHERE CardNo = 1001",
                    postingStatement("1001", "1.00"), "card is blocked"},
        RefusalCase{"UnknownCard", "", postingStatement("9999", "1.00"), "unknown card"},
        RefusalCase{"AmountWithThreeDecimals", "", postingStatement("2002", "10.005"), "at most 2 decimals"},
        RefusalCase{"AmountWithThreeDecimalsOnHotelAccount", "", postingStatement("1001", "0.001"),
                    "at most 2 decimals"},
        RefusalCase{"AmountIsText", "",
                    "INSERT INTO zorYkt VALUES (2002,'D',101,'10.00','2002,10.00,','OP1',1,0,0)",
                    "must be a number"},
        RefusalCase{"AmountNotANumber", "", postingStatement("2002", "abc"), "no such column"},
        RefusalCase{"IdentifierOfAnotherCard", "",
                    "INSERT INTO zorYkt VALUES (2001,'D',101,10.00,'2002,10.00,','OP1',1,0,0)",
                    "does not start with the card number"},
        RefusalCase{"MemberCardWithoutSavingsCardRow", "DELETE FROM SavingsCard WHERE CardID = '2002'",
                    postingStatement("2002", "1.00"), "account of the card does not exist"},
        RefusalCase{"GuestWithoutProfile", "DELETE FROM GstProfile WHERE Acct = 5001",
                    postingStatement("1001", "1.00"), "account of the card does not exist"},
        RefusalCase{"PostingFlagNeitherZeroNorOne", "",
                    "INSERT INTO zorYkt VALUES (2001,'D',101,1.00,'2001,1.00,','OP1',1,2,0)", "argument 8"},
        RefusalCase{"CancelOfUnknownIdentifier", "", cancelStatement("2001,1.00,"), "no standing posting"},
        RefusalCase{"EmptyTransactionCode", "",
                    "INSERT INTO vekYkt VALUES (2001,'D',101,1.00,'2001,1.00,','OP1',1,0,0,,2)", "syntax error"},
        RefusalCase{"EmptyStation", "",
                    "INSERT INTO vekYkt VALUES (2001,'D',101,1.00,'2001,1.00,','OP1',1,0,0,31,)", "syntax error"},
        RefusalCase{"EmptyAmount", "", "INSERT INTO zorYkt VALUES (2001,'D',101,,'2001,,','OP1',1,0,0)",
                    "syntax error"}),
    [](const auto& info) { return std::string(info.param.name); });

// Guest, group and travel-agent cards charge the hotel account behind them.
struct HotelAccountCase {
    const char* name;
    const char* card;
    const char* table;
    int acctType;
    int acct;
};

void PrintTo(const HotelAccountCase& c, std::ostream* out) { *out << c.name; }

class HotelAccountTest : public ProcedureTest, public ::testing::WithParamInterface<HotelAccountCase> {};

TEST_P(HotelAccountTest, ChargeIsOwedByTheAccountAndCancelTakesItBack) {
    const HotelAccountCase& c = GetParam();
    const std::string balanceQuery =
        std::string("SELECT Balance FROM ") + c.table + " WHERE Acct = " + std::to_string(c.acct);

    expectOk(postingStatement(c.card, "120.50"));
    expectOk(postingStatement(c.card, "0.25"));
    EXPECT_EQ(db.text(balanceQuery), "120.75");
    EXPECT_EQ(db.text("SELECT group_concat(AcctType || ':' || Acct || ':' || ifnull(BalanceAfter, 'null'), ',')"
                      " FROM yktpaydetail"),
              std::to_string(c.acctType) + ":" + std::to_string(c.acct) + ":null," + std::to_string(c.acctType) +
                  ":" + std::to_string(c.acct) + ":null");

    expectOk(cancelStatement(transId(c.card, "120.50")));
    EXPECT_EQ(db.text(balanceQuery), "0.25");
    EXPECT_EQ(db.text("SELECT group_concat(Surplus, ',') FROM (SELECT Surplus FROM SavingsCard ORDER BY CardID)"),
              "88.00,100.50,300.00,20.00");
}

INSTANTIATE_TEST_SUITE_P(Accounts, HotelAccountTest,
                         ::testing::Values(HotelAccountCase{"Guest", "1001", "GstProfile", 1, 5001},
                                           HotelAccountCase{"Group", "1002", "GrpProfile", 2, 6001},
                                           HotelAccountCase{"TravelAgent", "1003", "Tamain", 3, 7001}),
                         [](const auto& info) { return std::string(info.param.name); });

// Stations post at the same time, each on its own connection; the test of
// the balance and the charge must not come apart.
TEST_F(ProcedureTest, ConcurrentStationsNeverOverdrawAMemberCard) {
    constexpr int kStations = 8;
    constexpr int kAttemptsEach = 10;
    std::atomic<int> accepted{0};
    std::vector<std::thread> stations;
    for (int s = 0; s < kStations; ++s) {
        stations.emplace_back([&] {
            Database station(site.dbFile());
            for (int i = 0; i < kAttemptsEach; ++i)
                if (station.exec(postingStatement("2002", "7.00")).ok()) ++accepted;
        });
    }
    for (auto& station : stations) station.join();

    EXPECT_EQ(accepted.load(), 42);  // 42 * 7.00 = 294.00 of 300.00
    EXPECT_EQ(surplus("2002"), "6.00");
    EXPECT_EQ(postings(), 42);
}

}  // namespace
}  // namespace telmar_test

// The posting procedures zorYkt and vekYkt, driven with the statements the
// platform sends, on a site made by telmar-site with the sample data; every
// suite runs on SQLite and on PostgreSQL.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "kind_test.h"
#include "site_support.h"

namespace telmar_test {
namespace {

class ProcedureTest : public KindTest, public ::testing::WithParamInterface<DbKind> {
protected:
    void SetUp() override { openSite(GetParam()); }
};

TEST_P(ProcedureTest, MemberPostingLowersSurplusExactlyAndRecordsOneDetailRow) {
    expectOk(posting("2001", "20.25"));

    EXPECT_EQ(surplus("2001"), "80.25");
    ASSERT_EQ(postings(), 1);
    EXPECT_EQ(db().list("SELECT TRANS_ID, cancel, CardNo, AcctType, Acct, Amount, PayDate, GuestAcct, Operator,"
                        " TransCode, Station, ProcName, BalanceAfter, CancelTime FROM yktpaydetail"),
              "2001,20.25,|0|2001|4|8001|20.25|2024-05-01|101|OP1|null|null|zorYkt|80.25|null");
    EXPECT_EQ(db().integer("SELECT count(*) FROM yktpaydetail"
                           " WHERE CAST(PostTime AS VARCHAR(30)) LIKE '____-__-__ __:__:__'"),
              1);
}

TEST_P(ProcedureTest, RepeatedSmallPostingsStayExactToTheCent) {
    for (int i = 0; i < 10; ++i) expectOk(posting("2001", "0.10"));
    for (int i = 0; i < 3; ++i) expectOk(posting("2001", "0.07"));

    EXPECT_EQ(surplus("2001"), "99.29");
    EXPECT_EQ(db().text("SELECT BalanceAfter FROM yktpaydetail ORDER BY PayNo DESC LIMIT 1"), "99.29");
}

TEST_P(ProcedureTest, VekYktRecordsTransactionCodeAndStation) {
    expectOk(vekPosting("2001", "10.00", "31", "2"));

    EXPECT_EQ(surplus("2001"), "90.50");
    EXPECT_EQ(db().list("SELECT TransCode, Station, ProcName, TRANS_ID FROM yktpaydetail"),
              "31|2|vekYkt|2001,10.00,");
}

TEST_P(ProcedureTest, CancellationReversesExactlyAndOnlyOnce) {
    expectOk(posting("2001", "33.33"));
    ASSERT_EQ(surplus("2001"), "67.17");

    expectOk(cancellation("2001,33.33,"));
    EXPECT_EQ(surplus("2001"), "100.50");
    EXPECT_EQ(db().integer("SELECT cancel FROM yktpaydetail"), 1);
    EXPECT_TRUE(db().text("SELECT CancelTime FROM yktpaydetail").has_value());

    const std::string before = db().moneyState();
    const StatementResult again = db().call(cancellation("2001,33.33,"));
    EXPECT_FALSE(again.ok());
    EXPECT_NE(again.error.find("no standing posting"), std::string::npos) << again.error;
    EXPECT_EQ(db().moneyState(), before);
}

TEST_P(ProcedureTest, CancellationTakesTheMostRecentStandingPostingOfTheIdentifier) {
    expectOk(posting("2002", "10.00"));
    expectOk(posting("2002", "10.00"));
    ASSERT_EQ(surplus("2002"), "280.00");

    // Cancelled while the other stands: 2, which the cancellation check
    // (cancel = 1) does not count; once none stands, both are 1.
    expectOk(cancellation("2002,10.00,"));
    EXPECT_EQ(surplus("2002"), "290.00");
    EXPECT_EQ(db().list("SELECT cancel FROM yktpaydetail ORDER BY PayNo"), "0,2");

    expectOk(cancellation("2002,10.00,"));
    EXPECT_EQ(surplus("2002"), "300.00");
    EXPECT_EQ(db().list("SELECT cancel FROM yktpaydetail ORDER BY PayNo"), "1,1");

    expectOk(posting("2002", "10.00"));
    EXPECT_EQ(db().list("SELECT cancel FROM yktpaydetail ORDER BY PayNo"), "2,2,0");
    expectOk(cancellation("2002,10.00,"));
    EXPECT_EQ(db().list("SELECT cancel FROM yktpaydetail ORDER BY PayNo"), "1,1,1");
    EXPECT_EQ(surplus("2002"), "300.00");
    EXPECT_FALSE(db().call(cancellation("2002,10.00,")).ok());
    EXPECT_EQ(surplus("2002"), "300.00");
}

TEST_P(ProcedureTest, ChineseTextSurvivesStorageAndPosting) {
    EXPECT_EQ(db().text("SELECT Name || '/' || Company || '/' || Comment FROM SavingsCard WHERE CardID = '2001'"),
              u8"李四/华夏科技有限公司/金卡会员");
    EXPECT_EQ(db().text("SELECT ChnName || '/' || Sex || '/' || Address FROM GstProfile WHERE Acct = 5001"),
              u8"张三/男/北京市海淀区中关村大街1号");
    EXPECT_EQ(db().text("SELECT Name || '/' || Company FROM SavingsCard WHERE CardID = '2002'"), u8"/东方贸易公司");

    expectOk(posting("1001", "5.00", u8"收银员甲", u8"二〇二四年五月一日"));
    EXPECT_EQ(db().text("SELECT Operator || '/' || PayDate FROM yktpaydetail"), u8"收银员甲/二〇二四年五月一日");
}

// Member cards: balance plus quota must cover the amount, within one cent.
struct BalanceCase {
    const char* name;
    const char* card;
    const char* amount;
    bool accepted;
    const char* surplusAfter;
};

class MemberBalanceTest : public KindTest, public ::testing::WithParamInterface<std::tuple<DbKind, BalanceCase>> {
protected:
    void SetUp() override { openSite(std::get<0>(GetParam())); }
};

TEST_P(MemberBalanceTest, ChargesOnlyWhatBalancePlusQuotaCovers) {
    const BalanceCase& c = std::get<1>(GetParam());
    const std::string before = db().moneyState();

    const StatementResult result = db().call(posting(c.card, c.amount));

    EXPECT_EQ(result.ok(), c.accepted) << result.error;
    EXPECT_EQ(surplus(c.card), c.surplusAfter);
    if (c.accepted) {
        EXPECT_EQ(db().text("SELECT BalanceAfter FROM yktpaydetail"), c.surplusAfter);
    } else {
        EXPECT_NE(result.error.find("insufficient balance"), std::string::npos) << result.error;
        EXPECT_EQ(db().moneyState(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, MemberBalanceTest,
    ::testing::Combine(
        kBothKinds,
        ::testing::Values(BalanceCase{"QuotaAdmitsOverdraftToMinusQuota", "2001", "150.50", true, "-50.00"},
                          BalanceCase{"OneCentBeyondQuotaIsTolerated", "2001", "150.51", true, "-50.01"},
                          BalanceCase{"TwoCentsBeyondQuotaRefused", "2001", "150.52", false, "100.50"},
                          BalanceCase{"WholeBalanceWithoutQuota", "2002", "300.00", true, "0.00"},
                          BalanceCase{"OneCentOverWithoutQuotaTolerated", "2002", "300.01", true, "-0.01"},
                          BalanceCase{"TwoCentsOverWithoutQuotaRefused", "2002", "300.02", false, "300.00"},
                          BalanceCase{"AmountWithoutDecimals", "2002", "50", true, "250.00"},
                          BalanceCase{"TrailingZeroDecimalsAreNoExtraDecimals", "2002", "50.100", true, "249.90"},
                          BalanceCase{"NegativeAmountCreditsTheCard", "2002", "-50", true, "350.00"},
                          BalanceCase{"LeadingZerosCardByText", "000123", "88.00", true, "0.00"},
                          BalanceCase{"LeadingZerosCardRefusedBeyondBalance", "000123", "88.02", false, "88.00"})),
    kindCaseTestName<BalanceCase>);

// Statements the procedures must refuse, leaving no money moved and no posting.
struct RefusalCase {
    const char* name;
    const char* setup;  // SQL run before, e.g. to block a card
    ProcedureCall call;
    const char* error;
    // Where PostgreSQL words it differently; nullptr: the same words.
    const char* postgresqlError = nullptr;
};

class RefusalTest : public KindTest, public ::testing::WithParamInterface<std::tuple<DbKind, RefusalCase>> {
protected:
    void SetUp() override { openSite(std::get<0>(GetParam())); }
};

TEST_P(RefusalTest, RefusesWithClearTextAndWritesNothing) {
    const auto& [kind, c] = GetParam();
    ASSERT_TRUE(db().exec(c.setup).ok());
    const std::string before = db().moneyState();

    const StatementResult result = db().call(c.call);

    EXPECT_FALSE(result.ok());
    const char* expected = kind == DbKind::Postgresql && c.postgresqlError ? c.postgresqlError : c.error;
    EXPECT_NE(result.error.find(expected), std::string::npos) << result.error;
    EXPECT_EQ(db().moneyState(), before);
    EXPECT_EQ(postings(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Postings, RefusalTest,
    ::testing::Combine(
        kBothKinds,
        ::testing::Values(
            RefusalCase{"BlockedMemberCard", "", posting("2003", "1.00"), "member card is blocked"},
            RefusalCase{"CardBlockedInBridge", "UPDATE YKT_BRIDGE SET Status = 0 WHERE CardNo = 1001",
                        posting("1001", "1.00"), "card is blocked"},
            RefusalCase{"UnknownCard", "", posting("9999", "1.00"), "unknown card"},
            RefusalCase{"UnknownAccountType", "UPDATE YKT_BRIDGE SET AcctType = 7 WHERE CardNo = 1001",
                        posting("1001", "1.00"), "unknown account type"},
            RefusalCase{"AmountWithThreeDecimals", "", posting("2002", "10.005"), "at most 2 decimals"},
            RefusalCase{"AmountWithThreeDecimalsOnHotelAccount", "", posting("1001", "0.001"), "at most 2 decimals"},
            RefusalCase{"AmountOutOfRange", "", posting("1001", "1000000000000"), "out of range"},
            RefusalCase{"AmountNotANumber", "", posting("2002", "abc"), "no such column", "does not exist"},
            RefusalCase{"IdentifierOfAnotherCard", "",
                        {"zorYkt", "2001,'D',101,10.00,'2002,10.00,','OP1',1,0,0"},
                        "does not start with the card number"},
            RefusalCase{"IdentifierWithoutCardNumber", "",
                        {"zorYkt", "2001,'D',101,10.00,',10.00,','OP1',1,0,0"},
                        "does not start with the card number"},
            RefusalCase{"MemberCardWithoutSavingsCardRow", "DELETE FROM SavingsCard WHERE CardID = '2002'",
                        posting("2002", "1.00"), "account of the card does not exist"},
            RefusalCase{"GuestWithoutProfile", "DELETE FROM GstProfile WHERE Acct = 5001", posting("1001", "1.00"),
                        "account of the card does not exist"},
            RefusalCase{"PostingFlagNeitherZeroNorOne", "",
                        {"zorYkt", "2001,'D',101,1.00,'2001,1.00,','OP1',1,2,0"}, "argument 8"},
            RefusalCase{"CancelOfUnknownIdentifier", "", cancellation("2001,1.00,"), "no standing posting"},
            RefusalCase{"EmptyTransactionCode", "", {"vekYkt", "2001,'D',101,1.00,'2001,1.00,','OP1',1,0,0,,2"},
                        "syntax error"},
            RefusalCase{"EmptyStation", "", {"vekYkt", "2001,'D',101,1.00,'2001,1.00,','OP1',1,0,0,31,"},
                        "syntax error"},
            RefusalCase{"EmptyAmount", "", {"zorYkt", "2001,'D',101,,'2001,,','OP1',1,0,0"}, "syntax error"})),
    kindCaseTestName<RefusalCase>);

// SQLite sees the type of each literal; PostgreSQL converts a quoted
// literal to the parameter's type, so there '10.00' is the number 10.00.
TEST(SqliteProcedure, RefusesAQuotedAmount) {
    SiteFixture site(DbKind::Sqlite);
    const std::string before = site.db().moneyState();

    const StatementResult result = site.db().call({"zorYkt", "2002,'D',101,'10.00','2002,10.00,','OP1',1,0,0"});

    EXPECT_NE(result.error.find("must be a number"), std::string::npos) << result.error;
    EXPECT_EQ(site.db().moneyState(), before);
}

// Guest, group and travel-agent cards charge the hotel account behind them.
struct HotelAccountCase {
    const char* name;
    const char* card;
    const char* table;
    int acctType;
    int acct;
};

class HotelAccountTest : public KindTest,
                         public ::testing::WithParamInterface<std::tuple<DbKind, HotelAccountCase>> {
protected:
    void SetUp() override { openSite(std::get<0>(GetParam())); }
};

TEST_P(HotelAccountTest, ChargeIsOwedByTheAccountAndCancelTakesItBack) {
    const HotelAccountCase& c = std::get<1>(GetParam());
    const std::string balanceQuery =
        std::string("SELECT Balance FROM ") + c.table + " WHERE Acct = " + std::to_string(c.acct);
    const std::string detail = std::to_string(c.acctType) + "|" + std::to_string(c.acct) + "|null";

    expectOk(posting(c.card, "120.50"));
    expectOk(posting(c.card, "0.25"));
    EXPECT_EQ(db().text(balanceQuery), "120.75");
    EXPECT_EQ(db().list("SELECT AcctType, Acct, BalanceAfter FROM yktpaydetail ORDER BY PayNo"),
              detail + "," + detail);

    expectOk(cancellation(transId(c.card, "120.50")));
    EXPECT_EQ(db().text(balanceQuery), "0.25");
    EXPECT_EQ(db().list("SELECT Surplus FROM SavingsCard ORDER BY CardID"), "88.00,100.50,300.00,20.00");
}

INSTANTIATE_TEST_SUITE_P(Accounts, HotelAccountTest,
                         ::testing::Combine(kBothKinds,
                                            ::testing::Values(HotelAccountCase{"Guest", "1001", "GstProfile", 1, 5001},
                                                              HotelAccountCase{"Group", "1002", "GrpProfile", 2, 6001},
                                                              HotelAccountCase{"TravelAgent", "1003", "Tamain", 3,
                                                                               7001})),
                         kindCaseTestName<HotelAccountCase>);

// Runs `station` on `count` threads, each with its own connection, released
// together so that their statements meet at the database.
template <typename Station>
void runStationsTogether(const SiteFixture& site, int count, Station station) {
    std::vector<std::unique_ptr<Connection>> connections;
    for (int s = 0; s < count; ++s) connections.push_back(site.connect());
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (auto& connection : connections) {
        threads.emplace_back([&go, &station, db = connection.get()] {
            while (!go.load()) std::this_thread::yield();
            station(*db);
        });
    }
    go = true;
    for (auto& thread : threads) thread.join();
}

// Stations post at the same time; the test of the balance and the charge
// must not come apart.  Card 2001 holds 100.50 with a quota of 50.00: 21
// charges of 7.00 fit (147.00), a 22nd would go below minus the quota.
TEST_P(ProcedureTest, ConcurrentStationsNeverOverdrawAMemberCard) {
    std::atomic<int> accepted{0};
    std::atomic<int> refusedForBalance{0};
    runStationsTogether(*site, 8, [&](Connection& station) {
        for (int i = 0; i < 10; ++i) {
            const StatementResult result = station.call(posting("2001", "7.00"));
            if (result.ok()) ++accepted;
            else if (result.error.find("insufficient balance") != std::string::npos) ++refusedForBalance;
        }
    });

    EXPECT_EQ(accepted.load(), 21);
    EXPECT_EQ(refusedForBalance.load(), 80 - 21);
    EXPECT_EQ(surplus("2001"), "-46.50");
    EXPECT_EQ(postings(), 21);
    EXPECT_EQ(db().list("SELECT BalanceAfter FROM yktpaydetail ORDER BY PayNo DESC LIMIT 1"), "-46.50");
    EXPECT_EQ(site->check().exitCode, 0) << site->check().output;
}

// Four stations cancel the same posting at once: one refund, three refusals.
TEST_P(ProcedureTest, ConcurrentCancellationsOfOnePostingRefundOnce) {
    expectOk(posting("2002", "40.00"));
    ASSERT_EQ(surplus("2002"), "260.00");

    std::atomic<int> cancelled{0};
    std::atomic<int> refused{0};
    runStationsTogether(*site, 4, [&](Connection& station) {
        const StatementResult result = station.call(cancellation("2002,40.00,"));
        if (result.ok()) ++cancelled;
        else if (result.error.find("no standing posting") != std::string::npos) ++refused;
    });

    EXPECT_EQ(cancelled.load(), 1);
    EXPECT_EQ(refused.load(), 3);
    EXPECT_EQ(surplus("2002"), "300.00");
    EXPECT_EQ(db().list("SELECT cancel FROM yktpaydetail"), "1");
}

// A cancellation that waited for another one's lock on the posting must see
// that the other one won.  Here all four wait behind a transaction holding
// the lock, so each meets the posting only after it changed under them.
TEST(PostgresqlProcedure, CancellationsWaitingOnTheLockRecheckThePosting) {
    if (testPgServer().empty()) GTEST_SKIP() << "no PostgreSQL test server site (TELMAR_TEST_PG_SERVER)";
    SiteFixture site(DbKind::Postgresql);
    ASSERT_TRUE(site.db().call(posting("2002", "10.00")).ok());
    ASSERT_TRUE(site.db().call(posting("2002", "40.00")).ok());
    ASSERT_TRUE(site.db().call(posting("2002", "40.00")).ok());
    const auto holder = site.connect();
    ASSERT_TRUE(holder->exec("BEGIN").ok());
    ASSERT_TRUE(holder->exec("SELECT PayNo FROM yktpaydetail FOR UPDATE").ok());

    std::atomic<int> cancelled{0};
    std::thread release([&] {
        const auto watcher = site.connect();
        for (int i = 0; i < 500 && watcher->integer("SELECT count(*) FROM pg_stat_activity"
                                                    " WHERE datname = current_database()"
                                                    " AND wait_event_type = 'Lock'") < 4;
             ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        holder->exec("COMMIT");
    });
    runStationsTogether(site, 4, [&](Connection& station) {
        if (station.call(cancellation("2002,40.00,")).ok()) ++cancelled;
    });
    release.join();

    // Two standing postings of that identifier: two cancellations succeed,
    // the most recent first; the others find nothing standing.
    EXPECT_EQ(cancelled.load(), 2);
    EXPECT_EQ(site.db().list("SELECT Amount, cancel FROM yktpaydetail ORDER BY PayNo"),
              "10.00|0,40.00|1,40.00|1");
    EXPECT_EQ(site.db().text("SELECT Surplus FROM SavingsCard WHERE CardID = '2002'"), "290.00");
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProcedureTest, kBothKinds, kindTestName);

}  // namespace
}  // namespace telmar_test

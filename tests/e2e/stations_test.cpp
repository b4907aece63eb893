// Many stations on one site at the same time, and a database server that
// goes away in the middle: money is never lost, doubled or overdrawn.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "station.h"

namespace e2e {
namespace {

std::string Cents(int cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
  return text;
}

int ToCents(const std::string& amount) { return static_cast<int>(std::lround(std::stod(amount) * 100)); }

Invocation Payment(const std::string& card, const std::string& pin, const std::string& amount) {
  Invocation invocation = Read("0:TELMAR:" + card, pin);
  invocation.operations.push_back("post");
  invocation.params.insert(
      {{"TRANS_AMOUNT", amount}, {"DATE", "2026-12-11"}, {"OPERATOR", "OP1"}, {"POS_GUEST_ACCT", "0"}});
  return invocation;
}

void ExpectLedgerClean(const Station& station) {
  std::string report;
  EXPECT_EQ(station.LedgerCheck(&report), 0) << report;
}

// The standing postings of a posting identifier.
int Standing(const Station& station, const std::string& transId) {
  return std::stoi(
      station.Query("SELECT count(*) FROM yktpaydetail WHERE cancel=0 AND TRANS_ID='" + transId + "'").at(0));
}

class StationsTest : public testing::TestWithParam<DbKind> {};

// Eight stations pay from card 2001 (100.50 and a quota of 50.00) at once,
// 241.08 in all: some must be refused, and those that pass move the money.
TEST_P(StationsTest, EightStationsPayingFromOneCardNeverOverdrawIt) {
  Station station{GetParam()};
  std::vector<Invocation> payments;
  for (int i = 1; i <= 8; ++i) payments.push_back(Payment("2001", "4444", Cents(3000 + i)));
  const std::vector<Outcome> outcomes = station.OperateAtOnce(payments);

  int paidCents = 0;
  int refused = 0;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const Outcome& run = outcomes[i];
    const std::string amount = payments[i].params.at("TRANS_AMOUNT");
    const std::string transId = "2001," + amount + ",";
    SCOPED_TRACE(amount + "\n" + run.out + run.err);
    ASSERT_EQ(run.results.at("readcard"), 1);
    if (run.results.at("post") == 1) {
      paidCents += ToCents(amount);
      EXPECT_EQ(Standing(station, transId), 1);
    } else {
      ++refused;
      EXPECT_FALSE(run.Boxes().empty());  // the operator was told
      EXPECT_EQ(Standing(station, transId), 0);
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(paidCents, 0);
  const int surplus = ToCents(station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='2001'").at(0));
  EXPECT_EQ(surplus, 10050 - paidCents);
  EXPECT_GE(surplus, -5000);
  ExpectLedgerClean(station);
}

// Four stations cancel the same posting at once: exactly one refunds it.
TEST_P(StationsTest, OnlyOneOfSeveralSimultaneousCancellationsRefunds) {
  Station station{GetParam()};
  ASSERT_EQ(station.Operate(Payment("2002", "5555", "40.00")).results.at("post"), 1);
  Invocation cancel;
  cancel.operations = {"cancancel", "cancel"};
  cancel.params = {{"TRANS_TYPE", "4"}, {"OPERATOR", "OP1"}, {"TRANS_ID", "2002,40.00,"}};
  const std::vector<Outcome> outcomes = station.OperateAtOnce(std::vector<Invocation>(4, cancel));

  int cancelled = 0;
  for (const Outcome& run : outcomes) {
    const bool done = run.results.count("cancel") && run.results.at("cancel") == 1;
    cancelled += done;
    if (!done) {
      EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    }
  }
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='2002'").at(0), "300.00");
  EXPECT_EQ(station.Query("SELECT count(*) FROM yktpaydetail WHERE cancel=1").at(0), "1");
  ExpectLedgerClean(station);
}

INSTANTIATE_TEST_SUITE_P(Db, StationsTest, kBothDatabases, DbParamName);

// Polls `sql` (a count) until it reaches `count`; false after ten seconds.
bool WaitForCount(const Station& station, const std::string& sql, int count) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (std::stoi(station.Query(sql).at(0)) >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// The server stops while stations are posting: every posting that was cut
// off answers 0 and tells the operator, none is left half written, and once
// the server is back payments go through again with nothing repaired. To
// have them all in flight when it stops, another session holds the card's
// row, so that each posting waits inside its transaction.
TEST(ServerOutage, PostingsCutOffByAStoppedServerLeaveNothingHalfWritten) {
  Station station{DbKind::Postgresql, {}, Station::Server::OwnServer};
  Process holder = station.StartSql(
      "SELECT 1 FROM SavingsCard WHERE CardID='2002' FOR UPDATE; SELECT pg_sleep(60)");
  ASSERT_TRUE(WaitForCount(station, "SELECT count(*) FROM pg_locks WHERE mode='RowShareLock'", 1));

  std::vector<Invocation> payments;
  for (int i = 1; i <= 8; ++i) payments.push_back(Payment("2002", "5555", Cents(100 + i)));
  std::vector<Station::Operation> running;
  for (const Invocation& payment : payments) running.push_back(station.Start(payment));
  ASSERT_TRUE(WaitForCount(station, "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type='Lock'", 8));
  station.StopServer();
  std::vector<Outcome> outcomes;
  for (Station::Operation& operation : running) outcomes.push_back(station.Finish(operation));
  FinishCommand(holder, nullptr, nullptr);
  station.StartServer();

  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const Outcome& run = outcomes[i];
    const std::string amount = payments[i].params.at("TRANS_AMOUNT");
    SCOPED_TRACE(amount + "\n" + run.out + run.err);
    EXPECT_EQ(run.results.at("readcard"), 1);
    EXPECT_EQ(run.results.at("post"), 0);
    ASSERT_EQ(run.Boxes().size(), 2u);
    EXPECT_EQ(run.Boxes()[0]["box"], "ReportError");
    EXPECT_EQ(run.Boxes()[1], Box("一卡通传帐失败", "提示", 16));
    EXPECT_EQ(Standing(station, "2002," + amount + ","), 0);
  }
  EXPECT_EQ(station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='2002'").at(0), "300.00");
  ExpectLedgerClean(station);

  const Outcome after = station.Operate(Payment("2002", "5555", "9.99"));
  EXPECT_EQ(after.results.at("post"), 1) << after.out << after.err;
  EXPECT_EQ(station.Query("SELECT Surplus FROM SavingsCard WHERE CardID='2002'").at(0), "290.01");
  ExpectLedgerClean(station);
}

}  // namespace
}  // namespace e2e

// telmar-site: the sites it creates, its ledger check, its SQL command and,
// for PostgreSQL, the servers it runs.
#include <gtest/gtest.h>

#include <fstream>

#include "kind_test.h"
#include "site_support.h"

namespace telmar_test {
namespace {

namespace fs = std::filesystem;

TEST(SiteCreate, WritesRelocatableConfigurationForBothDataSources) {
    SiteFixture site;

    EXPECT_EQ(readFile(site.dir() / "ICCOM.ini"), "[YKT_CFG]\nDrive1=YKTCOM.dll\n");
    EXPECT_EQ(readFile(site.dir() / "site.ini"), "[site]\ndb=sqlite\n");
    const std::string odbcIni = readFile(site.dir() / "odbc.ini");
    for (const char* dsn : {"[TELMARykt]\n", "[TELMARdb]\n"}) {
        const size_t section = odbcIni.find(dsn);
        ASSERT_NE(section, std::string::npos) << dsn;
        const std::string body = odbcIni.substr(section, odbcIni.find("\n\n", section) - section);
        EXPECT_NE(body.find("\nDriver=SQLite3\n"), std::string::npos) << body;
        EXPECT_NE(body.find("\nDatabase=${SITE}/telmar.db\n"), std::string::npos) << body;
        EXPECT_NE(body.find("\nTimeout=10000"), std::string::npos) << body;
    }
    for (const char* file : {"ICCOM.ini", "site.ini", "odbc.ini", "odbcinst.ini"})
        EXPECT_EQ(readFile(site.dir() / file).find(site.dir().string()), std::string::npos) << file;
}

TEST(SiteCreate, RegistersTheInstalledSqliteOdbcDriverByAbsolutePathWithoutPooling) {
    SiteFixture site;
    const std::string odbcinst = readFile(site.dir() / "odbcinst.ini");
    ASSERT_EQ(odbcinst.rfind("[ODBC]\nPooling=No\n\n[SQLite3]\n", 0), 0u) << odbcinst;
    EXPECT_EQ(odbcinst.find("CPTimeout"), std::string::npos) << odbcinst;
    const size_t key = odbcinst.find("\nDriver=");
    ASSERT_NE(key, std::string::npos) << odbcinst;
    const size_t start = key + 8;
    const fs::path driver = odbcinst.substr(start, odbcinst.find('\n', start) - start);
    EXPECT_TRUE(driver.is_absolute()) << driver;
    EXPECT_TRUE(fs::is_regular_file(driver)) << driver;
}

TEST(SiteCreate, RefusesADirectoryThatIsNotEmpty) {
    TempDir temp;
    const fs::path keep = temp.path() / "keep.txt";
    std::ofstream(keep) << "operator notes";

    const CommandResult result = runSiteTool("create " + shellQuoted(temp.path().string()));

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("not empty"), std::string::npos) << result.output;
    EXPECT_EQ(readFile(keep), "operator notes");
    EXPECT_FALSE(fs::exists(temp.path() / "telmar.db"));
    EXPECT_FALSE(fs::exists(temp.path() / "odbc.ini"));
}

TEST(SiteCreate, AcceptsAnExistingEmptyDirectory) {
    TempDir temp;
    const CommandResult result = runSiteTool("create " + shellQuoted(temp.path().string()));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(fs::is_regular_file(temp.path() / "telmar.db"));
}

class SiteKindTest : public KindTest, public ::testing::WithParamInterface<DbKind> {};

TEST_P(SiteKindTest, WithoutSampleHasEmptyTablesButWorkingProcedures) {
    openSite(GetParam(), "--no-sample");

    for (const char* table : {"LOCAL_AGENT", "YKT_BRIDGE", "SavingsCard", "SavingsCardOpening", "CardDiscount",
                              "yktpaydetail", "GstProfile", "GrpProfile", "Tamain"})
        EXPECT_EQ(db().integer(std::string("SELECT count(*) FROM ") + table), 0) << table;
    const StatementResult result = db().call(posting("2001", "1.00"));
    EXPECT_NE(result.error.find("unknown card"), std::string::npos) << result.error;
    EXPECT_EQ(site->check().exitCode, 0);
}

TEST_P(SiteKindTest, SampleDataHoldsTheDocumentedCards) {
    openSite(GetParam());

    EXPECT_EQ(db().text("SELECT Agent FROM LOCAL_AGENT"), "TELMAR");
    EXPECT_EQ(db().list("SELECT * FROM YKT_BRIDGE ORDER BY CardNo"),
              "123|1|4|8004|7777,1001|1|1|5001|1234,1002|1|2|6001|2222,1003|1|3|7001|3333,"
              "1004|1|1|5002|8888,2001|1|4|8001|4444,2002|1|4|8002|5555,2003|1|4|8003|6666");
    EXPECT_EQ(db().list("SELECT CardID, Surplus, Quota, Status, Time1, Time2 FROM SavingsCard ORDER BY CardID"),
              "000123|88.00|0.00|1|2024-04-01 08:00:00|1980-01-01 12:00:00,"
              "2001|100.50|50.00|1|2024-01-15 09:30:00|1980-01-01 12:00:00,"
              "2002|300.00|0.00|1|2024-02-01 10:00:00|1980-01-01 12:00:00,"
              "2003|20.00|0.00|0|2024-03-01 14:00:00|1980-01-01 12:00:00");
    EXPECT_EQ(db().list("SELECT * FROM CardDiscount ORDER BY CardNo, PosID"), "1001|1|GST05,1004|2|NOYKT,2001|1|VIP10");
    EXPECT_EQ(db().list("SELECT AmountDebit, Foregift, MemberFee, OwnerType FROM SavingsCard WHERE CardID = '2002'"),
              "0.00|0.00|0.00|");
}

TEST_P(SiteKindTest, LedgerCheckPassesAfterPostingsAndCancellations) {
    openSite(GetParam());
    for (const ProcedureCall& call :
         {posting("2001", "150.51"), cancellation("2001,150.51,"), posting("2001", "0.10"), posting("2001", "0.10"),
          posting("2002", "299.99"), posting("000123", "-12"), posting("1001", "45.00"),
          vekPosting("2002", "0.01", "31", "2"), cancellation("2002,299.99,")})
        ASSERT_TRUE(db().call(call).ok()) << call.arguments;

    const CommandResult result = site->check();

    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "ledger OK: 4 member cards, 4 standing member-card postings\n");
}

// What the end-to-end tests read through `telmar-site sql` must not depend
// on the kind of database.
TEST_P(SiteKindTest, SqlCommandPrintsRowsTheSameWayForEitherKind) {
    openSite(GetParam());
    ASSERT_TRUE(db().call(posting("2001", "20.25")).ok());

    const CommandResult rows = site->sql(
        "SELECT CardID, Surplus, Quota, Time1, Name FROM SavingsCard WHERE CardID IN ('2001', '2002') ORDER BY CardID;"
        " SELECT TRANS_ID, Amount, BalanceAfter, TransCode, CancelTime FROM yktpaydetail");
    EXPECT_EQ(rows.exitCode, 0) << rows.output;
    EXPECT_EQ(rows.output, u8"2001|80.25|50.00|2024-01-15 09:30:00|李四\n"
                           u8"2002|300.00|0.00|2024-02-01 10:00:00|\n"
                           "2001,20.25,|20.25|80.25||\n");

    const CommandResult refused = site->sql(statementFor(GetParam(), posting("2001", "500.00")));
    EXPECT_EQ(refused.exitCode, 1) << refused.output;
    EXPECT_NE(refused.output.find("insufficient balance"), std::string::npos) << refused.output;
    EXPECT_EQ(runSiteTool("sql " + shellQuoted(site->dir().string()) + " 'SELECT * FROM NoSuchTable'").exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SiteKindTest, kBothKinds, kindTestName);

struct TamperCase {
    const char* name;
    const char* tamper;
    const char* card;
};

class LedgerTamperTest : public KindTest, public ::testing::WithParamInterface<std::tuple<DbKind, TamperCase>> {};

TEST_P(LedgerTamperTest, FailsAndNamesTheCard) {
    const auto& [kind, c] = GetParam();
    openSite(kind);
    ASSERT_TRUE(db().call(posting("2001", "10.00")).ok());
    ASSERT_TRUE(db().exec(c.tamper).ok());

    const CommandResult result = site->check();

    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find(std::string("card ") + c.card + ":"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("ledger OK"), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(
    Tampering, LedgerTamperTest,
    ::testing::Combine(
        kBothKinds,
        ::testing::Values(
            TamperCase{"SurplusOneCentShort", "UPDATE SavingsCard SET Surplus = '299.99' WHERE CardID = '2002'", "2002"},
            TamperCase{"SurplusRaised", "UPDATE SavingsCard SET Surplus = '100.50' WHERE CardID = '2001'", "2001"},
            TamperCase{"PostingMarkedCancelledWithoutRefund", "UPDATE yktpaydetail SET cancel = 1", "2001"},
            TamperCase{"OpeningMissing", "DELETE FROM SavingsCardOpening WHERE CardID = '000123'", "000123"})),
    kindCaseTestName<TamperCase>);

TEST(LedgerCheck, ReportsTheDisagreementInTheSameWordsForEitherKind) {
    if (testPgServer().empty()) GTEST_SKIP() << "no PostgreSQL test server site (TELMAR_TEST_PG_SERVER)";
    for (DbKind kind : {DbKind::Sqlite, DbKind::Postgresql}) {
        SiteFixture site(kind);
        ASSERT_TRUE(site.db().call(posting("2002", "0.10")).ok());
        ASSERT_TRUE(site.db().exec("UPDATE SavingsCard SET Surplus = '299.99' WHERE CardID = '2002'").ok());
        const CommandResult result = site.check();
        EXPECT_EQ(result.exitCode, 1) << kindName(kind);
        EXPECT_EQ(result.output.substr(0, result.output.find('\n')),
                  "card 2002: Surplus 299.99, expected 299.90 (opening 300.00 less postings 0.10)")
            << kindName(kind);
    }
}

}  // namespace
}  // namespace telmar_test

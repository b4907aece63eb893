// telmar-site: the site it creates and its ledger check.
#include <gtest/gtest.h>

#include <fstream>

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

TEST(SiteCreate, RegistersTheInstalledSqliteOdbcDriverByAbsolutePath) {
    SiteFixture site;
    const std::string odbcinst = readFile(site.dir() / "odbcinst.ini");
    ASSERT_EQ(odbcinst.rfind("[SQLite3]\n", 0), 0u) << odbcinst;
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

TEST(SiteCreate, WithoutSampleHasEmptyTablesButWorkingProcedures) {
    SiteFixture site("--no-sample");
    Database& db = site.db();

    for (const char* table : {"LOCAL_AGENT", "YKT_BRIDGE", "SavingsCard", "SavingsCardOpening", "CardDiscount",
                              "yktpaydetail", "GstProfile", "GrpProfile", "Tamain"})
        EXPECT_EQ(db.integer(std::string("SELECT count(*) FROM ") + table), 0) << table;
    const StatementResult posting = db.exec(postingStatement("2001", "1.00"));
    EXPECT_NE(posting.error.find("unknown card"), std::string::npos) << posting.error;
    EXPECT_EQ(site.check().exitCode, 0);
}

TEST(SiteCreate, SampleDataHoldsTheDocumentedCards) {
    SiteFixture site;
    Database& db = site.db();

    EXPECT_EQ(db.text("SELECT Agent FROM LOCAL_AGENT"), "TELMAR");
    EXPECT_EQ(db.text("SELECT group_concat(CardNo || ':' || Status || ':' || AcctType || ':' || Acct || ':' || Password,"
                      " ' ') FROM (SELECT * FROM YKT_BRIDGE ORDER BY CardNo)"),
              "123:1:4:8004:7777 1001:1:1:5001:1234 1002:1:2:6001:2222 1003:1:3:7001:3333 "
              "1004:1:1:5002:8888 2001:1:4:8001:4444 2002:1:4:8002:5555 2003:1:4:8003:6666");
    EXPECT_EQ(db.text("SELECT group_concat(CardID || ':' || Surplus || ':' || Quota || ':' || Status, ' ')"
                      " FROM (SELECT * FROM SavingsCard ORDER BY CardID)"),
              "000123:88.00:0.00:1 2001:100.50:50.00:1 2002:300.00:0.00:1 2003:20.00:0.00:0");
    EXPECT_EQ(db.text("SELECT group_concat(CardNo || ':' || PosID || ':' || Code, ' ')"
                      " FROM (SELECT * FROM CardDiscount ORDER BY CardNo, PosID)"),
              "1001:1:GST05 1004:2:NOYKT 2001:1:VIP10");
}

TEST(LedgerCheck, PassesAfterPostingsAndCancellations) {
    SiteFixture site;
    Database& db = site.db();
    for (const std::string& sql :
         {postingStatement("2001", "150.51"), cancelStatement("2001,150.51,"), postingStatement("2001", "0.10"),
          postingStatement("2001", "0.10"), postingStatement("2002", "299.99"), postingStatement("000123", "-12"),
          postingStatement("1001", "45.00"), vekPostingStatement("2002", "0.01", "31", "2"),
          cancelStatement("2002,299.99,")})
        ASSERT_TRUE(db.exec(sql).ok()) << sql;

    const CommandResult result = site.check();

    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("ledger OK"), std::string::npos) << result.output;
}

struct TamperCase {
    const char* name;
    const char* tamper;
    const char* card;
};

void PrintTo(const TamperCase& c, std::ostream* out) { *out << c.name; }

class LedgerTamperTest : public ::testing::TestWithParam<TamperCase> {};

TEST_P(LedgerTamperTest, FailsAndNamesTheCard) {
    SiteFixture site;
    Database& db = site.db();
    ASSERT_TRUE(db.exec(postingStatement("2001", "10.00")).ok());
    ASSERT_TRUE(db.exec(GetParam().tamper).ok());

    const CommandResult result = site.check();

    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find(std::string("card ") + GetParam().card + ":"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("ledger OK"), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(
    Tampering, LedgerTamperTest,
    ::testing::Values(TamperCase{"SurplusOneCentShort", "UPDATE SavingsCard SET Surplus = '299.99' WHERE CardID = '2002'",
                                 "2002"},
                      TamperCase{"SurplusRaised", "UPDATE SavingsCard SET Surplus = '100.50' WHERE CardID = '2001'",
                                 "2001"},
                      TamperCase{"PostingMarkedCancelledWithoutRefund", "UPDATE yktpaydetail SET cancel = 1", "2001"},
                      TamperCase{"OpeningMissing", "DELETE FROM SavingsCardOpening WHERE CardID = '000123'",
                                 "000123"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace telmar_test

// CDatabase on the real driver manager and SQLite driver: connecting,
// statements, stored-procedure calls and Chinese text.
#include <gtest/gtest.h>

#include <string>

#include "odbc_site.h"
#include "telmar/database.h"

namespace {

using dbtest::DbErrorOf;
using dbtest::FirstValue;
using dbtest::OneCardTest;

TEST(DatabaseOpen, UndefinedDataSourceReturnsFalseWithoutException) {
  CDatabase db;
  EXPECT_FALSE(db.OpenEx("DSN=NoSuchSource;UID=sa;PWD=", 0));
  EXPECT_FALSE(db.IsOpen());
  ASSERT_NE(db.OpenFailure(), nullptr);
  EXPECT_NE(db.OpenFailure()->m_strStateNativeOrigin.str().find("State:IM002"), std::string::npos);
}

TEST(DatabaseOpen, OtherConnectFailureRaisesTheDriverManagersText) {
  CDatabase db;
  const std::string error = DbErrorOf([&] { db.OpenEx(dbtest::kBrokenDriver, 0); });
  EXPECT_NE(error.find("no-such-driver.so"), std::string::npos) << error;
  EXPECT_FALSE(db.IsOpen());
}

TEST(DatabaseOpen, CloseIsIdempotentAndAllowsReopening) {
  CDatabase db;
  db.Close();
  ASSERT_TRUE(db.OpenEx(dbtest::kHotel));
  db.Close();
  db.Close();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_NE(DbErrorOf([&] { db.ExecuteSQL("select 1"); }), "");
  ASSERT_TRUE(db.OpenEx(dbtest::kHotel));
  db.ExecuteSQL("select 1");
}

class DataSourceNameCase : public OneCardTest, public ::testing::WithParamInterface<const char*> {};

// One definition serves the module's names in every letter case; the row
// written on the fixture's open connection is visible at once (autocommit).
TEST_P(DataSourceNameCase, ReachesTheOneCardDatabase) {
  Run({"DROP TABLE IF EXISTS Marker", "CREATE TABLE Marker (Name TEXT)", "INSERT INTO Marker VALUES ('one-card')"});
  CDatabase other;
  ASSERT_TRUE(other.OpenEx(GetParam(), 0));
  EXPECT_EQ(FirstValue(other, "select Name from Marker", "Name"), "one-card");
}

INSTANTIATE_TEST_SUITE_P(Names, DataSourceNameCase,
                         ::testing::Values("DSN=TELMARykt;UID=SA;PWD=", "DSN=TELMARYKT;UID=SA;PWD=",
                                           "ODBC;DSN=Telmarykt;UID=sa;PWD=", "DSN=telmarykt;UID=sa;PWD="));

TEST_F(OneCardTest, StatementErrorCarriesTheDriversText) {
  const dbtest::DbFailure failure = dbtest::DbFailureOf([&] { m_db.ExecuteSQL("delete from NoSuchTable"); });
  EXPECT_NE(failure.error.find("no such table"), std::string::npos) << failure.error;
  EXPECT_EQ(failure.stateNativeOrigin.rfind("State:HY000,Native:1,", 0), 0u) << failure.stateNativeOrigin;
  // The connection stays usable after a failed statement.
  m_db.ExecuteSQL("select 1");
}

// Debian's SQLite driver has no wide entry points; the driver manager
// converts through the locale's code set and would drop every Chinese
// character if that were not UTF-8.
TEST_F(OneCardTest, ChineseTextIsStoredAsItsCharacters) {
  Run({"DROP TABLE IF EXISTS Guest", "CREATE TABLE Guest (Acct INTEGER, Name TEXT)",
       "INSERT INTO Guest VALUES (1, '张三丰')"});
  EXPECT_EQ(FirstValue(m_db, "select hex(Name) as H from Guest", "H"), "E5BCA0E4B889E4B8B0");
  EXPECT_EQ(FirstValue(m_db, "select Name from Guest", "Name"), "张三丰");
  EXPECT_EQ(FirstValue(m_db, "select Acct from Guest where Name='张三丰'", "Acct"), "1");
}

TEST_F(OneCardTest, LongChineseTextCrossesReadChunksWhole) {
  std::string name;
  for (int i = 0; i < 1500; ++i) name += (i % 2) ? "中" : "a文";
  Run({"DROP TABLE IF EXISTS Remark", "CREATE TABLE Remark (Comment TEXT)"});
  m_db.ExecuteSQL(("INSERT INTO Remark VALUES ('" + name + "')").c_str());
  const std::string read = FirstValue(m_db, "select Comment from Remark", "Comment");
  EXPECT_EQ(read.size(), name.size());
  EXPECT_TRUE(read == name) << "the text read back differs from the text stored";
}

TEST_F(OneCardTest, ExecRunsTheProcedureStandIn) {
  dbtest::CreateProcedure(m_db, "zorYkt");
  m_db.ExecuteSQL("  exec zorYkt '000123','12.50','张'  ");
  EXPECT_EQ(FirstValue(m_db, "select A || '|' || B || '|' || C as Call from Calls", "Call"), "000123|12.50|张");
}

class EmptyArgumentPosition : public OneCardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EmptyArgumentPosition, FailsAtTheDatabase) {
  dbtest::CreateProcedure(m_db, "zorYkt");
  EXPECT_NE(DbErrorOf([&] { m_db.ExecuteSQL(GetParam()); }), "");
  EXPECT_EQ(FirstValue(m_db, "select count(*) as N from Calls", "N"), "0");
}

INSTANTIATE_TEST_SUITE_P(Calls, EmptyArgumentPosition,
                         ::testing::Values("Exec zorYkt '1',,'a'", "Exec zorYkt '1','2','a',"));

TEST_F(OneCardTest, QueryTimeoutIsAccepted) {
  Run({"DROP TABLE IF EXISTS Timed", "CREATE TABLE Timed (N INTEGER)"});
  m_db.SetQueryTimeout(300);
  m_db.ExecuteSQL("INSERT INTO Timed VALUES (7)");
  EXPECT_EQ(FirstValue(m_db, "select N from Timed", "N"), "7");
  m_db.SetQueryTimeout(0);
  EXPECT_EQ(FirstValue(m_db, "select N from Timed", "N"), "7");
}

}  // namespace

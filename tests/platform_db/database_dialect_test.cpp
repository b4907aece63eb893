// Pure conversions of statements and connection strings, and CTime.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "telmar/database.h"
#include "telmar/database_dialect.h"

namespace {

struct ProcedureCase {
  const char* dbms;
  const char* statement;
  const char* expected;
};

class AdaptProcedureCallTest : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(AdaptProcedureCallTest, GivesTheDatabaseItsOwnForm) {
  EXPECT_EQ(telmar::AdaptProcedureCall(GetParam().dbms, GetParam().statement), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, AdaptProcedureCallTest,
    ::testing::Values(
        ProcedureCase{"SQLite", "Exec zorYkt '1001','12.50','张三'", "INSERT INTO zorYkt VALUES ('1001','12.50','张三')"},
        ProcedureCase{"SQLite", "  EXEC  vekYkt\t1,2  \r\n", "INSERT INTO vekYkt VALUES (1,2)"},
        ProcedureCase{"SQLite", "exec [dbo].[zorYkt] 1", "INSERT INTO [dbo].[zorYkt] VALUES (1)"},
        // Empty positions are the database's to refuse, not ours to repair.
        ProcedureCase{"SQLite", "Exec zorYkt '1',0,0,,", "INSERT INTO zorYkt VALUES ('1',0,0,,)"},
        ProcedureCase{"PostgreSQL", "Exec zorYkt '1001','12.50','张三'", "CALL zorYkt('1001','12.50','张三')"},
        ProcedureCase{"PostgreSQL", "Exec zorYkt 1,", "CALL zorYkt(1,)"},
        ProcedureCase{"Microsoft SQL Server", "Exec zorYkt 1", "Exec zorYkt 1"},
        ProcedureCase{"SQLite", "select * from Executions", "select * from Executions"},
        ProcedureCase{"SQLite", "Execute zorYkt 1", "Execute zorYkt 1"},
        ProcedureCase{"SQLite", "Exec", "Exec"}));

struct ConnectCase {
  const char* connect;
  const char* withoutMarker;
  const char* dataSource;
};

class ConnectStringTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectStringTest, MarkerAndDataSource) {
  EXPECT_EQ(telmar::WithoutOdbcMarker(GetParam().connect), GetParam().withoutMarker);
  EXPECT_EQ(telmar::DataSourceName(GetParam().connect), GetParam().dataSource);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ConnectStringTest,
    ::testing::Values(ConnectCase{"ODBC;DSN=Telmarykt;UID=sa;PWD=", "DSN=Telmarykt;UID=sa;PWD=", "Telmarykt"},
                      ConnectCase{"DSN=TELMARdb;UID=SA;PWD=", "DSN=TELMARdb;UID=SA;PWD=", "TELMARdb"},
                      ConnectCase{"UID=sa;dsn=hotel;PWD=", "UID=sa;dsn=hotel;PWD=", "hotel"},
                      ConnectCase{"Driver=SQLite3;Database=/tmp/x.db", "Driver=SQLite3;Database=/tmp/x.db", ""}));

class CTimeTest : public ::testing::Test {
 protected:
  // A zone with daylight saving, so that the flag matters.
  void SetUp() override {
    const char* zone = std::getenv("TZ");
    m_savedZone = zone ? zone : "";
    m_hadZone = zone != nullptr;
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    if (m_hadZone) {
      setenv("TZ", m_savedZone.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string m_savedZone;
  bool m_hadZone = false;
};

TEST_F(CTimeTest, BuildsAndReadsLocalTime) {
  const CTime time(2023, 7, 14, 9, 5, 30);
  EXPECT_EQ(time.GetTime(), 1689318330);  // 07:05:30 UTC, summer time
  EXPECT_EQ(time.GetYear(), 2023);
  EXPECT_EQ(time.GetMonth(), 7);
  EXPECT_EQ(time.GetDay(), 14);
  EXPECT_EQ(time.GetHour(), 9);
  EXPECT_EQ(time.GetMinute(), 5);
  EXPECT_EQ(time.GetSecond(), 30);
}

TEST_F(CTimeTest, DaylightFlagIsPassedToTheConversion) {
  // 12:00 in January read as summer time is 11:00 standard time.
  EXPECT_EQ(CTime(1980, 1, 1, 12, 0, 0, 1).GetTime(), CTime(1980, 1, 1, 12, 0, 0, 0).GetTime() - 3600);
  EXPECT_EQ(CTime(1980, 1, 1, 12, 0, 0, -1).GetTime(), 315572400);
}

}  // namespace

// The two typed record sets on a real site database: the columns of a row
// are bound by position into members of their own types.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "data/CardRet.h"
#include "data/YktBdgRet.h"
#include "telmar/site.h"

namespace {

class RecordsetTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string dir = testing::TempDir() + "recordsetsXXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    m_site = dir + "/site";
    const std::string create = std::string(TELMAR_SITE_TOOL) + " create " + m_site + " >/dev/null";
    ASSERT_EQ(std::system(create.c_str()), 0);
    telmar::SetSiteDirectory(m_site);
  }
  void TearDown() override { std::system((std::string("rm -rf ") + m_site + "/..").c_str()); }

  // Changes the site's data through the platform's own connection.
  void Execute(const char* sql) {
    CDatabase database;
    ASSERT_TRUE(database.OpenEx("DSN=TELMARykt;UID=SA;PWD="));
    database.ExecuteSQL(sql);
    database.Close();
  }

 private:
  std::string m_site;
};

CTime InitialTime() { return CTime(1980, 1, 1, 12, 0, 0, -1); }

TEST_F(RecordsetTest, AFreshMemberCardSetHoldsItsInitialValues) {
  CCardRet card;
  EXPECT_EQ(card.m_nFields, 58u);
  EXPECT_EQ(card.m_nDefaultType, static_cast<UINT>(CRecordset::dynaset));
  EXPECT_EQ(card.GetDefaultConnect(), "ODBC;DSN=Telmarykt;UID=sa;PWD=");
  EXPECT_EQ(card.GetDefaultSQL(), "[dbo].[SavingsCard]");
  EXPECT_EQ(card.m_Acct, 0);
  EXPECT_EQ(card.m_Sex, 0);
  EXPECT_TRUE(card.m_Surplus.IsEmpty());
  for (const CTime* time : {&card.m_Time1, &card.m_Time2, &card.m_Time3, &card.m_Time4, &card.m_Time5,
                            &card.m_Time6, &card.m_Time7, &card.m_Time8, &card.m_Time9, &card.m_EntryDate}) {
    EXPECT_EQ(*time, InitialTime());
    EXPECT_EQ(time->GetHour(), 12);
    EXPECT_EQ(time->GetYear(), 1980);
  }
}

TEST_F(RecordsetTest, AMemberCardRowIsBoundByPositionIntoTypedMembers) {
  Execute("UPDATE SavingsCard SET Sex=2, Time1='2026-12-11 08:30:15', LastAmount2='12.34', "
          "Comment='最后一列' WHERE CardID='2001'");
  CCardRet card;
  card.Open(CRecordset::snapshot, "select * from SavingsCard where CardID='2001'", CRecordset::none);
  ASSERT_GT(card.GetRecordCount(), 0);
  card.MoveFirst();
  EXPECT_EQ(card.m_CardID, "2001");
  EXPECT_EQ(card.m_Acct, 8001);                  // a long, first column
  EXPECT_EQ(card.m_Status, 1);                   // an int
  EXPECT_EQ(card.m_Sex, 2);                      // the byte
  EXPECT_EQ(card.m_Name, "李四");                // text in GBK
  EXPECT_EQ(card.m_Surplus, "100.50");
  EXPECT_EQ(card.m_Quota, "50.00");
  EXPECT_EQ(card.m_LastAmount2, "12.34");
  EXPECT_EQ(card.m_Comment, "最后一列");         // the 58th column
  EXPECT_EQ(card.m_Time1, CTime(2026, 12, 11, 8, 30, 15, -1));
  card.Close();
}

TEST_F(RecordsetTest, ABridgeRowIsReadAndTheIntegerKeyIgnoresLeadingZeros) {
  YktBdgRet bridge;
  EXPECT_EQ(bridge.m_nFields, 5u);
  EXPECT_EQ(bridge.GetDefaultSQL(), "[dbo].[YKT_BRIDGE]");
  bridge.Open(CRecordset::snapshot, "Select * from YKT_BRIDGE where CardNo=000123", CRecordset::none);
  ASSERT_FALSE(bridge.IsEOF());
  EXPECT_EQ(bridge.m_CardNo, 123);
  EXPECT_EQ(bridge.m_Status, 1);
  EXPECT_EQ(bridge.m_AcctType, 4);
  EXPECT_EQ(bridge.m_Acct, 8004);
  EXPECT_EQ(bridge.m_Password, "7777");
  bridge.Close();

  bridge.Open(CRecordset::snapshot, "Select * from YKT_BRIDGE where CardNo=9999", CRecordset::none);
  EXPECT_TRUE(bridge.IsEOF());
  EXPECT_TRUE(bridge.IsBOF());
}

}  // namespace

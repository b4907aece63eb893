// Typed record sets: a connection of their own from the default connection
// string, columns bound by position, members holding the current row.
#include <gtest/gtest.h>

#include <string>

#include "odbc_site.h"
#include "telmar/database.h"

namespace {

using dbtest::DbErrorOf;
using dbtest::OneCardTest;

// Shaped like the module's record sets: one exchange of each kind.
class CardRecord : public CRecordset {
 public:
  explicit CardRecord(int textLength = 255, const char* connect = dbtest::kOneCardMarked)
      : CRecordset(nullptr), m_textLength(textLength), m_connect(connect) {
    m_nFields = 5;
  }

  LONG m_CardNo = 0;
  int m_Status = 0;
  BYTE m_Sex = 0;
  CTime m_Time1 = CTime(1980, 1, 1, 12, 0, 0);
  CString m_Password;

  CString GetDefaultConnect() override { return m_connect; }
  CString GetDefaultSQL() override { return "[dbo].[CardTable]"; }
  void DoFieldExchange(CFieldExchange* pFX) override {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, "[CardNo]", m_CardNo);
    RFX_Int(pFX, "[Status]", m_Status);
    RFX_Byte(pFX, "[Sex]", m_Sex);
    RFX_Date(pFX, "[Time1]", m_Time1);
    RFX_Text(pFX, "[Password]", m_Password, m_textLength, 12, 0);
  }

 private:
  int m_textLength;
  const char* m_connect;
};

class TypedRecordsetTest : public OneCardTest {
 protected:
  void SetUp() override {
    OneCardTest::SetUp();
    // Names unlike the exchange's: binding is by position only.
    Run({"DROP TABLE IF EXISTS CardTable",
         "CREATE TABLE CardTable (c1 INTEGER, c2 INTEGER, c3 INTEGER, c4 TEXT, c5 TEXT, c6 TEXT)",
         "INSERT INTO CardTable VALUES (-2000000001, 1, 258, '2023-05-01 12:30:45', '密码', 'extra')",
         "INSERT INTO CardTable VALUES (42, 2, 7, '1999-12-31 23:59:59', 'second', 'extra')",
         "INSERT INTO CardTable VALUES (NULL, NULL, NULL, NULL, NULL, NULL)"});
  }
};

TEST_F(TypedRecordsetTest, MembersHoldTheCurrentRow) {
  CardRecord rs;
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, "select * from CardTable where c1 is not null order by c2", 0));
  ASSERT_NE(rs.m_pDatabase, nullptr);
  EXPECT_EQ(rs.m_pDatabase->GetConnect().str(), "DSN=Telmarykt;UID=sa;PWD=");
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.m_CardNo, -2000000001);
  EXPECT_EQ(rs.m_Status, 1);
  EXPECT_EQ(rs.m_Sex, 2);  // the low eight bits of 258
  EXPECT_EQ(rs.m_Time1, CTime(2023, 5, 1, 12, 30, 45));
  EXPECT_EQ(rs.m_Password.str(), "密码");

  rs.MoveNext();
  EXPECT_EQ(rs.m_CardNo, 42);
  EXPECT_EQ(rs.m_Status, 2);
  EXPECT_EQ(rs.m_Sex, 7);
  EXPECT_EQ(rs.m_Time1, CTime(1999, 12, 31, 23, 59, 59));
  EXPECT_EQ(rs.m_Password.str(), "second");

  rs.MoveFirst();
  EXPECT_EQ(rs.m_CardNo, -2000000001);
  rs.Close();
  EXPECT_EQ(rs.m_pDatabase, nullptr);
}

TEST_F(TypedRecordsetTest, NullReadsAsEmptyZeroAndZeroTime) {
  CardRecord rs;
  rs.m_CardNo = 5;
  rs.m_Status = 5;
  rs.m_Sex = 5;
  rs.m_Password = "old";
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, "select * from CardTable where c1 is null", 0));
  EXPECT_EQ(rs.m_CardNo, 0);
  EXPECT_EQ(rs.m_Status, 0);
  EXPECT_EQ(rs.m_Sex, 0);
  EXPECT_EQ(rs.m_Time1, CTime(0));
  EXPECT_EQ(rs.m_Password.str(), "");
}

TEST_F(TypedRecordsetTest, EmptyResultLeavesMembersAlone) {
  CardRecord rs;
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, "select * from CardTable where c1 = 7", 0));
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_EQ(rs.GetRecordCount(), 0);
  EXPECT_EQ(rs.m_Time1, CTime(1980, 1, 1, 12, 0, 0));
  EXPECT_EQ(rs.m_Password.str(), "");
}

TEST_F(TypedRecordsetTest, FewerColumnsThanTheExchangeRaises) {
  CardRecord rs;
  EXPECT_NE(DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select c1, c2, c3, c4 from CardTable", 0); }), "");
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(rs.m_pDatabase, nullptr);
}

TEST_F(TypedRecordsetTest, NonNumberInAnIntegerColumnRaises) {
  CardRecord rs;
  EXPECT_NE(DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select 1, 'x', 0, NULL, ''", 0); }), "");
}

TEST_F(TypedRecordsetTest, StatementWithoutSelectReadsTheDefaultTable) {
  CardRecord rs;
  // SQLite reads [dbo].[CardTable] as the table CardTable of schema dbo,
  // which it does not know: the error shows the statement that was built.
  const std::string error = DbErrorOf([&] { rs.Open(CRecordset::snapshot, nullptr, 0); });
  EXPECT_NE(error.find("dbo"), std::string::npos) << error;
}

TEST(TypedRecordset, UndefinedDataSourceRaises) {
  CardRecord rs(255, "ODBC;DSN=NoSuchSource;UID=sa;PWD=");
  const std::string error = DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select 1, 1, 1, NULL, ''", 0); });
  EXPECT_NE(error.find("not found"), std::string::npos) << error;
  EXPECT_FALSE(rs.IsOpen());
}

struct CutCase {
  int maxLength;
  const char* stored;
  const char* read;
};

class TextCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(TextCut, KeepsWholeCharactersWithinTheLength) {
  CardRecord rs(GetParam().maxLength);
  const std::string sql = std::string("select 1, 1, 1, NULL, '") + GetParam().stored + "'";
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, sql.c_str(), 0));
  EXPECT_EQ(rs.m_Password.str(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextCut,
                         ::testing::Values(CutCase{5, "a中文字", "a中文"}, CutCase{4, "a中文字", "a中"},
                                           CutCase{3, "中文", "中"}, CutCase{1, "中", ""},
                                           CutCase{3, "abcdef", "abc"}, CutCase{255, "a中文字", "a中文字"}));

struct DateCase {
  const char* text;
  CTime time;
};

class DateText : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateText, ReadsAsLocalTime) {
  CardRecord rs;
  const std::string sql = std::string("select 1, 1, 1, '") + GetParam().text + "', ''";
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, sql.c_str(), 0));
  EXPECT_EQ(rs.m_Time1, GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(Forms, DateText,
                         ::testing::Values(DateCase{"2023-05-01", CTime(2023, 5, 1, 0, 0, 0)},
                                           DateCase{"2023-05-01 08:15", CTime(2023, 5, 1, 8, 15, 0)},
                                           DateCase{"2023-05-01 08:15:30.250", CTime(2023, 5, 1, 8, 15, 30)},
                                           DateCase{"2023-05-01T08:15:30", CTime(2023, 5, 1, 8, 15, 30)}));

TEST_F(TypedRecordsetTest, TextThatIsNoDateRaises) {
  CardRecord rs;
  EXPECT_NE(DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select 1, 1, 1, 'yesterday', ''", 0); }), "");
}

}  // namespace

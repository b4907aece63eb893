// Plain record sets on an open CDatabase: the snapshot, the row position
// and values read by column name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odbc_site.h"
#include "telmar/database.h"

namespace {

using dbtest::DbErrorOf;
using dbtest::FirstValue;
using dbtest::OneCardTest;

class RowNavigation : public OneCardTest, public ::testing::WithParamInterface<int> {
 protected:
  std::vector<std::string> StoreAgents() {
    Run({"DROP TABLE IF EXISTS LOCAL_AGENT", "CREATE TABLE LOCAL_AGENT (Id INTEGER, Agent TEXT)"});
    std::vector<std::string> agents;
    for (int i = 1; i <= GetParam(); ++i) {
      agents.push_back("代理" + std::to_string(i));
      m_db.ExecuteSQL(("INSERT INTO LOCAL_AGENT VALUES (" + std::to_string(i) + ", '" + agents.back() + "')").c_str());
    }
    return agents;
  }
};

TEST_P(RowNavigation, FirstRowIsCurrentAndMoveNextWalksTheSnapshot) {
  const std::vector<std::string> agents = StoreAgents();
  const long rows = static_cast<long>(agents.size());
  CRecordset rs(&m_db);
  ASSERT_TRUE(rs.Open(CRecordset::snapshot, "select Agent from LOCAL_AGENT order by Id", CRecordset::none));
  EXPECT_TRUE(rs.IsOpen());
  EXPECT_EQ(rs.IsBOF() && rs.IsEOF(), rows == 0);
  EXPECT_EQ(rs.GetRecordCount(), rows > 0 ? 1 : 0);

  // Rows written after the open do not reach the snapshot.
  m_db.ExecuteSQL("INSERT INTO LOCAL_AGENT VALUES (99, 'late')");
  std::vector<std::string> read;
  while (!rs.IsEOF()) {
    CString agent;
    rs.GetFieldValue("Agent", agent);
    read.push_back(agent.str());
    EXPECT_EQ(rs.GetRecordCount(), static_cast<long>(read.size()));
    rs.MoveNext();
  }
  EXPECT_EQ(read, agents);
  EXPECT_EQ(rs.GetRecordCount(), rows);

  CString value;
  EXPECT_NE(DbErrorOf([&] { rs.GetFieldValue("Agent", value); }), "");
  if (rows > 0) {
    rs.MoveFirst();
    rs.GetFieldValue("Agent", value);
    EXPECT_EQ(value.str(), agents.front());
  } else {
    EXPECT_NE(DbErrorOf([&] { rs.MoveFirst(); }), "");
  }
  rs.Close();
  rs.Close();
  EXPECT_FALSE(rs.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Rows, RowNavigation, ::testing::Values(0, 1, 3));

class ColumnName : public OneCardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ColumnName, MatchesWithoutRegardToLetterCase) {
  Run({"DROP TABLE IF EXISTS CardDiscount", "CREATE TABLE CardDiscount (CardNo TEXT, Code TEXT)",
       "INSERT INTO CardDiscount VALUES ('1001', 'VIP')"});
  EXPECT_EQ(FirstValue(m_db, "select Code from CardDiscount", GetParam()), "VIP");
}

INSTANTIATE_TEST_SUITE_P(Names, ColumnName, ::testing::Values("Code", "code", "CODE", "cOdE"));

// The second byte of a GBK character may be an ASCII letter: 丄 is 81 41
// ("A") and 乤 is 81 61 ("a"); they are different names.
TEST_F(OneCardTest, ChineseColumnNamesAreNotFoldedAsLetters) {
  EXPECT_EQ(FirstValue(m_db, "select 1 as 丄, 2 as 乤", "乤"), "2");
  EXPECT_EQ(FirstValue(m_db, "select 1 as 丄, 2 as 乤", "丄"), "1");
}

TEST_F(OneCardTest, UnknownColumnRaises) {
  CRecordset rs(&m_db);
  rs.Open(CRecordset::snapshot, "select 1 as Code", CRecordset::none);
  CString value;
  EXPECT_NE(DbErrorOf([&] { rs.GetFieldValue("Codes", value); }), "");
}

struct TextCase {
  const char* expression;
  const char* text;
};

class ValueAsText : public OneCardTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ValueAsText, WhateverTheColumnType) {
  const std::string sql = std::string("select ") + GetParam().expression + " as V";
  EXPECT_EQ(FirstValue(m_db, sql.c_str(), "V"), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Types, ValueAsText,
                         ::testing::Values(TextCase{"42", "42"}, TextCase{"-7", "-7"}, TextCase{"12.5", "12.5"},
                                           TextCase{"'12.50'", "12.50"}, TextCase{"''", ""},
                                           TextCase{"NULL", ""}));

TEST_F(OneCardTest, StatementErrorRaisesFromOpen) {
  CRecordset rs(&m_db);
  const std::string error = DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select * from NoSuchTable", 0); });
  EXPECT_NE(error.find("no such table"), std::string::npos) << error;
  EXPECT_FALSE(rs.IsOpen());
}

TEST(PlainRecordset, OnClosedDatabaseRaises) {
  CDatabase db;
  CRecordset rs(&db);
  EXPECT_NE(DbErrorOf([&] { rs.Open(CRecordset::snapshot, "select 1", 0); }), "");
}

}  // namespace

// The statement log: what a sequence of database steps leaves in it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "odbc_site.h"
#include "telmar/database.h"
#include "telmar/site.h"

namespace {

std::vector<std::string> LinesOf(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

class Bridge : public CRecordset {
 public:
  Bridge() : CRecordset(nullptr) { m_nFields = 1; }
  LONG m_CardNo = 0;
  CString GetDefaultConnect() override { return dbtest::kOneCardMarked; }
  void DoFieldExchange(CFieldExchange* pFX) override {
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, "[CardNo]", m_CardNo);
  }
};

TEST(SqlLog, RecordsConnectionsAndStatementsAsTheCallerBuiltThem) {
  {
    CDatabase setup;
    ASSERT_TRUE(setup.OpenEx(dbtest::kHotel));
    dbtest::CreateProcedure(setup, "zorYkt");
  }
  const std::string path = dbtest::SiteFolder() + "/sql.log";
  telmar::SetSqlLog(path);
  {
    CDatabase db;
    ASSERT_TRUE(db.OpenEx(dbtest::kHotel, 0));
    db.SetQueryTimeout(300);
    db.ExecuteSQL("Exec zorYkt '1001','12.50','张三'");
    EXPECT_NE(dbtest::DbErrorOf([&] { db.ExecuteSQL("select * from NoSuchTable"); }), "");
    db.Close();
    db.Close();
    CDatabase undefined;
    EXPECT_FALSE(undefined.OpenEx("DSN=NoSuchSource;UID=sa;PWD=", 0));
    Bridge bridge;
    ASSERT_TRUE(bridge.Open(CRecordset::snapshot, "Select 7 as CardNo", 0));
    EXPECT_EQ(bridge.m_CardNo, 7);
    // Destroyed while open: the record set ends its own connection.
  }
  telmar::SetSqlLog("");

  const std::vector<std::string> expected = {
      u8R"({"connect":"DSN=TELMARdb;UID=SA;PWD="})",
      u8R"({"sql":"Exec zorYkt '1001','12.50','张三'","dsn":"TELMARdb"})",
      u8R"({"sql":"select * from NoSuchTable","dsn":"TELMARdb"})",
      u8R"({"disconnect":"DSN=TELMARdb;UID=SA;PWD="})",
      u8R"({"connect":"DSN=Telmarykt;UID=sa;PWD="})",
      u8R"({"sql":"Select 7 as CardNo","dsn":"Telmarykt"})",
      u8R"({"disconnect":"DSN=Telmarykt;UID=sa;PWD="})",
  };
  EXPECT_EQ(LinesOf(path), expected);
}

TEST(SqlLog, AppendsToWhatIsThere) {
  const std::string path = dbtest::SiteFolder() + "/appended.log";
  std::ofstream(path) << "{\"earlier\":1}\n";
  telmar::SetSqlLog(path);
  {
    CDatabase db;
    ASSERT_TRUE(db.OpenEx(dbtest::kHotel, 0));
  }
  telmar::SetSqlLog("");
  const std::vector<std::string> expected = {
      R"({"earlier":1})",
      R"({"connect":"DSN=TELMARdb;UID=SA;PWD="})",
      R"({"disconnect":"DSN=TELMARdb;UID=SA;PWD="})",
  };
  EXPECT_EQ(LinesOf(path), expected);
}

}  // namespace

#include "odbc_site.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace dbtest {
namespace {

std::string g_siteFolder;

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

class OdbcSite : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/platform-db-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    g_siteFolder = pattern;
    // DontDLClose keeps the driver loaded, so that leak reports can name it.
    WriteFile(g_siteFolder + "/odbcinst.ini",
              "[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\nDontDLClose=1\n"
              "[Missing]\nDriver=" + g_siteFolder + "/no-such-driver.so\n");
    WriteFile(g_siteFolder + "/odbc.ini",
              "[Telmarykt]\nDriver=SQLite3\nDatabase=" + g_siteFolder + "/ykt.db\n"
              "[TELMARdb]\nDriver=SQLite3\nDatabase=" + g_siteFolder + "/hotel.db\n"
              "[BrokenDriver]\nDriver=Missing\nDatabase=" + g_siteFolder + "/broken.db\n");
    // Before the first ODBC call: the driver manager reads them once.
    setenv("ODBCSYSINI", g_siteFolder.c_str(), 1);
    setenv("ODBCINI", (g_siteFolder + "/odbc.ini").c_str(), 1);
  }

  void TearDown() override { std::filesystem::remove_all(g_siteFolder); }
};

}  // namespace

std::string SiteFolder() { return g_siteFolder; }

DbFailure DbFailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (CDBException* e) {
    DbFailure failure{e->m_strError.str(), e->m_strStateNativeOrigin.str()};
    e->Delete();
    return failure;
  }
  ADD_FAILURE() << "no CDBException was raised";
  return DbFailure{};
}

void OneCardTest::Run(std::initializer_list<const char*> statements) {
  for (const char* statement : statements) m_db.ExecuteSQL(statement);
}

std::string FirstValue(CDatabase& db, const char* sql, const char* column) {
  CRecordset rs(&db);
  rs.Open(CRecordset::snapshot, sql, CRecordset::none);
  CString value;
  rs.GetFieldValue(column, value);
  return value.str();
}

void CreateProcedure(CDatabase& db, const char* name) {
  const std::string procedure = name;
  for (const std::string& statement : {
           "DROP VIEW IF EXISTS " + procedure,
           std::string("DROP TABLE IF EXISTS Calls"),
           std::string("CREATE TABLE Calls (A TEXT, B TEXT, C TEXT)"),
           "CREATE VIEW " + procedure + " AS SELECT A, B, C FROM Calls",
           "CREATE TRIGGER " + procedure + "Call INSTEAD OF INSERT ON " + procedure +
               " BEGIN INSERT INTO Calls VALUES (NEW.A, NEW.B, NEW.C); END",
       }) {
    db.ExecuteSQL(statement.c_str());
  }
}

}  // namespace dbtest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new dbtest::OdbcSite);
  return RUN_ALL_TESTS();
}

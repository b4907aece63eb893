// The database classes on a PostgreSQL site with the driver manager's
// connection pooling on: one step's connection is reused by the next, and
// nothing of the first step's session reaches the second.
//
// The site is a station made with telmar-site, with a database of its own,
// on the build's PostgreSQL test server site or the one TELMAR_TEST_PG_SERVER
// names; without a server the tests are skipped.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "telmar/database.h"
#include "telmar/site.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kOneCard = "DSN=TELMARykt;UID=SA;PWD=";

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int RunSiteTool(const std::string& arguments) {
  const int status = std::system((Quoted(TELMAR_SITE_TOOL) + " " + arguments + " >/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The station site, made once for the process: the driver manager reads the
// site's ODBC configuration on the first connection.
class PooledStation : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* named = std::getenv("TELMAR_TEST_PG_SERVER");
    const std::string server = named && *named ? named : TELMAR_TEST_PG_SERVER_DIR;
    if (!fs::exists(server + "/site.ini")) return;
    std::string pattern = (fs::temp_directory_path() / "telmar-pool-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    const std::string site = m_folder + "/site";
    ASSERT_EQ(RunSiteTool("create " + Quoted(site) + " --db postgresql --no-sample --pooling on --server " +
                          Quoted(server) + " --database pool_" + std::to_string(getpid())),
              0);
    telmar::SetSiteDirectory(site);
    s_ready = true;
  }

  void TearDown() override {
    if (m_folder.empty()) return;
    RunSiteTool("destroy " + Quoted(m_folder + "/site"));
    fs::remove_all(m_folder);
  }

  static bool s_ready;

 private:
  std::string m_folder;
};

bool PooledStation::s_ready = false;

// The column v of the first row of `sql`.
std::string FirstValue(CDatabase& db, const char* sql) {
  CRecordset rs(&db);
  rs.Open(CRecordset::snapshot, sql, CRecordset::none);
  CString value;
  rs.GetFieldValue("v", value);
  return value.str();
}

class PoolingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PooledStation::s_ready) GTEST_SKIP() << "no PostgreSQL test server site (TELMAR_TEST_PG_SERVER)";
  }

  // One step of a station: open, run, close.
  template <typename Step>
  void InOneStep(Step step) {
    CDatabase db;
    ASSERT_TRUE(db.OpenEx(kOneCard));
    step(db);
    db.Close();
  }
};

TEST_F(PoolingTest, NextStepReusesTheConnectionButSeesNothingOfThePreviousSession) {
  std::string firstBackend;
  InOneStep([&](CDatabase& db) {
    firstBackend = FirstValue(db, "select pg_backend_pid() as v");
    db.ExecuteSQL("CREATE TEMP TABLE step_scratch (x integer)");
    db.ExecuteSQL("SET application_name = 'first step'");
    db.ExecuteSQL("BEGIN");
    db.ExecuteSQL("INSERT INTO LOCAL_AGENT (Agent) VALUES ('UNCOMMITTED')");
  });

  InOneStep([&](CDatabase& db) {
    EXPECT_EQ(FirstValue(db, "select pg_backend_pid() as v"), firstBackend) << "the pool was not used";
    EXPECT_EQ(FirstValue(db, "select count(*) as v from pg_class where relname = 'step_scratch'"), "0");
    EXPECT_EQ(FirstValue(db, "select current_setting('application_name') as v"), "");
    EXPECT_EQ(FirstValue(db, "select count(*) as v from LOCAL_AGENT"), "0");
    EXPECT_EQ(FirstValue(db, "select current_user as v"), "SA");
    // The reused connection is in autocommit again: this row is there for
    // a third step.
    db.ExecuteSQL("INSERT INTO LOCAL_AGENT (Agent) VALUES ('COMMITTED')");
  });

  InOneStep([&](CDatabase& db) {
    EXPECT_EQ(FirstValue(db, "select pg_backend_pid() as v"), firstBackend);
    EXPECT_EQ(FirstValue(db, "select Agent as v from LOCAL_AGENT"), "COMMITTED");
    db.ExecuteSQL("DELETE FROM LOCAL_AGENT");
  });
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new PooledStation);
  return RUN_ALL_TESTS();
}

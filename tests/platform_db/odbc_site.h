// A throw-away site for the database tests: SQLite files in a temporary
// folder, named by DSNs that the driver manager finds through ODBCSYSINI and
// ODBCINI.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "telmar/database.h"

namespace dbtest {

// The one-card and the hotel data source, each defined once in odbc.ini as
// "Telmarykt" and "TELMARdb"; the module names them in several letter cases.
constexpr const char* kOneCard = "DSN=TELMARykt;UID=SA;PWD=";
constexpr const char* kOneCardMarked = "ODBC;DSN=Telmarykt;UID=sa;PWD=";
constexpr const char* kHotel = "DSN=TELMARdb;UID=SA;PWD=";
// Defined, but its driver library does not exist.
constexpr const char* kBrokenDriver = "DSN=BrokenDriver;UID=sa;PWD=";

// The folder of the site, for files the tests write there.
std::string SiteFolder();

struct DbFailure {
  std::string error;              // m_strError
  std::string stateNativeOrigin;  // m_strStateNativeOrigin
};

// What the CDBException that `action` raises carries; a test failure when it
// raises none.
DbFailure DbFailureOf(const std::function<void()>& action);
inline std::string DbErrorOf(const std::function<void()>& action) { return DbFailureOf(action).error; }

// A test with an open connection to the one-card database.
class OneCardTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_db.OpenEx(kOneCard)); }
  void Run(std::initializer_list<const char*> statements);

  CDatabase m_db;
};

// The value of one column of the first row of `sql`, read on `db`.
std::string FirstValue(CDatabase& db, const char* sql, const char* column);

// The SQLite stand-in for a stored procedure: a view whose INSTEAD OF INSERT
// trigger records each call's three arguments in the table Calls.
void CreateProcedure(CDatabase& db, const char* name);

}  // namespace dbtest

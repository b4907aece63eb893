// One connection to a data source, on the process's ODBC environment. This
// header keeps the unixODBC types out, so the class-library side can use it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "db/odbc_error.h"
#include "db/result_snapshot.h"

namespace telmar {

class OdbcConnection {
 public:
  // Connects without a prompt. nullptr when the data source is not defined,
  // with the driver manager's diagnostics in `notFound`; any other failure
  // raises OdbcError.
  static std::unique_ptr<OdbcConnection> Open(const std::string& connectString, std::optional<OdbcError>& notFound);

  // Rolls back whatever is open, on PostgreSQL also discards the session's
  // state (DISCARD ALL), and disconnects, so that a pooled connection goes
  // back clean. Errors are ignored: there is nobody left to tell.
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // Runs a statement and steps through all its results, so that an error
  // raised late in a batch or procedure is reported, not dropped.
  void Execute(const std::string& statement, unsigned long queryTimeoutSeconds);
  // Runs a statement and reads its first result whole.
  std::unique_ptr<ResultSnapshot> Query(const std::string& statement, unsigned long queryTimeoutSeconds);

  // SQL_DBMS_NAME, asked once.
  const std::string& DbmsName();

 private:
  struct Handle;
  explicit OdbcConnection(std::unique_ptr<Handle> handle);
  bool IsPostgreSql() noexcept;
  void DiscardSessionState() noexcept;

  std::unique_ptr<Handle> m_handle;
  std::optional<std::string> m_dbmsName;
};

}  // namespace telmar

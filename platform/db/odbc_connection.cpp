#include "db/odbc_connection.h"

#include <cstdint>
#include <vector>

#include "db/odbc_diagnostics.h"
#include "db/odbc_result_reader.h"
#include "db/odbc_text.h"

namespace telmar {

struct OdbcConnection::Handle {
  ConnectionHandle connection;
};

namespace {

template <SQLSMALLINT Kind, SQLSMALLINT ParentKind>
OdbcHandle<Kind> AllocateHandle(const OdbcHandle<ParentKind>& parent) {
  SQLHANDLE handle = SQL_NULL_HANDLE;
  CheckOdbc(SQLAllocHandle(Kind, parent.get(), &handle), parent);
  return OdbcHandle<Kind>(handle);
}

// Drivers that cannot limit a statement's time say so with 01S02 (value
// changed) or HYC00 (not implemented); the statement then runs without limit.
void LimitStatementTime(const StatementHandle& statement, unsigned long seconds) {
  const SQLRETURN rc = SQLSetStmtAttrW(statement.get(), SQL_ATTR_QUERY_TIMEOUT,
                                       reinterpret_cast<SQLPOINTER>(static_cast<std::uintptr_t>(seconds)), 0);
  if (SQL_SUCCEEDED(rc)) return;
  const Diagnostics diagnostics = ReadDiagnostics(statement);
  if (HasState(diagnostics, "01S02") || HasState(diagnostics, "HYC00")) return;
  throw MakeOdbcError(rc, diagnostics);
}

// SQL_NO_DATA from the execution (a change that touched no row) is success.
StatementHandle ExecuteOn(const ConnectionHandle& connection, const std::string& statement,
                          unsigned long queryTimeoutSeconds) {
  StatementHandle handle = AllocateHandle<SQL_HANDLE_STMT>(connection);
  LimitStatementTime(handle, queryTimeoutSeconds);
  std::vector<SQLWCHAR> wideStatement = ToSqlWide(statement);
  const SQLRETURN rc = SQLExecDirectW(handle.get(), wideStatement.data(), SQL_NTS);
  if (rc != SQL_NO_DATA) CheckOdbc(rc, handle);
  return handle;
}

}  // namespace

std::unique_ptr<OdbcConnection> OdbcConnection::Open(const std::string& connectString,
                                                     std::optional<OdbcError>& notFound) {
  auto handle = std::make_unique<Handle>(Handle{AllocateHandle<SQL_HANDLE_DBC>(Environment())});
  std::vector<SQLWCHAR> wideConnect = ToSqlWide(connectString);
  const SQLRETURN rc = SQLDriverConnectW(handle->connection.get(), nullptr, wideConnect.data(), SQL_NTS, nullptr, 0,
                                         nullptr, SQL_DRIVER_NOPROMPT);
  if (SQL_SUCCEEDED(rc)) {
    return std::unique_ptr<OdbcConnection>(new OdbcConnection(std::move(handle)));
  }
  const Diagnostics diagnostics = ReadDiagnostics(handle->connection);
  // IM002 (data source name not found) is where a prompt would have asked
  // for the missing details; SQL_NO_DATA is a prompt that was cancelled.
  if (rc == SQL_NO_DATA || HasState(diagnostics, "IM002")) {
    notFound = MakeOdbcError(rc, diagnostics);
    return nullptr;
  }
  throw MakeOdbcError(rc, diagnostics);
}

OdbcConnection::OdbcConnection(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}

OdbcConnection::~OdbcConnection() {
  SQLEndTran(SQL_HANDLE_DBC, m_handle->connection.get(), SQL_ROLLBACK);
  if (IsPostgreSql()) DiscardSessionState();
  SQLDisconnect(m_handle->connection.get());
}

bool OdbcConnection::IsPostgreSql() noexcept {
  try {
    return DbmsName() == "PostgreSQL";
  } catch (...) {
    return false;
  }
}

// A pooled PostgreSQL connection would otherwise hand the next user this
// session's temporary tables, settings, prepared statements and locks.
void OdbcConnection::DiscardSessionState() noexcept {
  const SQLHDBC connection = m_handle->connection.get();
  SQLSetConnectAttrW(connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement))) return;
  std::vector<SQLWCHAR> discard = ToSqlWide("DISCARD ALL");
  SQLExecDirectW(statement, discard.data(), SQL_NTS);
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

void OdbcConnection::Execute(const std::string& statement, unsigned long queryTimeoutSeconds) {
  const StatementHandle executed = ExecuteOn(m_handle->connection, statement, queryTimeoutSeconds);
  for (;;) {
    const SQLRETURN rc = SQLMoreResults(executed.get());
    if (rc == SQL_NO_DATA) return;
    CheckOdbc(rc, executed);
  }
}

std::unique_ptr<ResultSnapshot> OdbcConnection::Query(const std::string& statement,
                                                      unsigned long queryTimeoutSeconds) {
  const StatementHandle executed = ExecuteOn(m_handle->connection, statement, queryTimeoutSeconds);
  return ReadResult(executed);
}

const std::string& OdbcConnection::DbmsName() {
  if (!m_dbmsName) {
    SQLWCHAR name[256] = {};
    SQLSMALLINT length = 0;
    CheckOdbc(SQLGetInfoW(m_handle->connection.get(), SQL_DBMS_NAME, name, sizeof name, &length),
              m_handle->connection);
    m_dbmsName = FromSqlWide(name, sizeof name / sizeof name[0] - 1);
  }
  return *m_dbmsName;
}

}  // namespace telmar

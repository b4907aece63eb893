#include "telmar/database.h"

#include "db/db_exception.h"
#include "db/odbc_connection.h"
#include "db/sql_log.h"
#include "telmar/database_dialect.h"

CDatabase::CDatabase() = default;

CDatabase::~CDatabase() { CDatabase::Close(); }

BOOL CDatabase::OpenEx(LPCSTR lpszConnectString, DWORD /*dwOptions*/) {
  Close();
  m_openFailure.reset();
  const std::string connectString = telmar::WithoutOdbcMarker(lpszConnectString ? lpszConnectString : "");
  std::optional<telmar::OdbcError> notFound;
  m_connection = telmar::RaisingDbException([&] { return telmar::OdbcConnection::Open(connectString, notFound); });
  if (!m_connection) {
    m_openFailure.reset(telmar::NewDbException(*notFound));
    return FALSE;
  }
  m_strConnect = connectString;
  telmar::LogConnect(connectString);
  return TRUE;
}

void CDatabase::Close() {
  if (!m_connection) return;
  telmar::LogDisconnect(m_strConnect.str());
  m_connection.reset();
}

BOOL CDatabase::IsOpen() const { return m_connection != nullptr; }

void CDatabase::SetQueryTimeout(DWORD dwSeconds) { m_queryTimeout = dwSeconds; }

void CDatabase::ExecuteSQL(LPCSTR lpszSQL) {
  telmar::OdbcConnection& connection = OpenConnection();
  const std::string statement = lpszSQL ? lpszSQL : "";
  telmar::LogStatement(statement, telmar::DataSourceName(m_strConnect.str()));
  telmar::RaisingDbException([&] {
    connection.Execute(telmar::AdaptProcedureCall(connection.DbmsName(), statement), m_queryTimeout);
  });
}

telmar::OdbcConnection& CDatabase::OpenConnection() const {
  if (!m_connection) telmar::ThrowDbError("the database is not open");
  return *m_connection;
}

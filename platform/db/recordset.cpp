#include <strings.h>

#include "db/db_exception.h"
#include "db/odbc_connection.h"
#include "db/result_snapshot.h"
#include "db/sql_log.h"
#include "telmar/database.h"
#include "telmar/database_dialect.h"

namespace {

bool IsSelectStatement(LPCSTR sql) {
  while (*sql == ' ' || (*sql >= '\t' && *sql <= '\r')) ++sql;
  return strncasecmp(sql, "select", 6) == 0;
}

}  // namespace

CRecordset::CRecordset(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

CRecordset::~CRecordset() { CRecordset::Close(); }

BOOL CRecordset::Open(UINT /*nOpenType*/, LPCSTR lpszSQL, DWORD /*dwOptions*/) {
  Close();
  try {
    CDatabase& database = ConnectedDatabase();
    const CString statement = StatementToRun(lpszSQL);
    telmar::LogStatement(statement.str(), telmar::DataSourceName(database.GetConnect().str()));
    m_snapshot = telmar::RaisingDbException(
        [&] { return database.Connection()->Query(statement.str(), database.QueryTimeout()); });
    CheckExchangeColumns();
    m_current = 0;
    m_seen = RowCount() > 0 ? 1 : 0;
    LoadCurrentRow();
  } catch (...) {
    Close();
    throw;
  }
  return TRUE;
}

// A record set built without a database connects on its own from its
// default connection string and keeps that connection until Close().
CDatabase& CRecordset::ConnectedDatabase() {
  if (!m_pDatabase) {
    auto own = std::make_unique<CDatabase>();
    if (!own->OpenEx(GetDefaultConnect())) throw new CDBException(*own->OpenFailure());
    m_ownDatabase = std::move(own);
    m_pDatabase = m_ownDatabase.get();
  }
  if (!m_pDatabase->IsOpen()) telmar::ThrowDbError("the record set's database is not open");
  return *m_pDatabase;
}

CString CRecordset::StatementToRun(LPCSTR lpszSQL) {
  if (lpszSQL && IsSelectStatement(lpszSQL)) return CString(lpszSQL);
  return CString("SELECT * FROM ") + GetDefaultSQL();
}

void CRecordset::CheckExchangeColumns() {
  CFieldExchange count(CFieldExchange::CountColumns, this);
  DoFieldExchange(&count);
  const std::size_t available = m_snapshot->ColumnCount();
  if (static_cast<std::size_t>(count.m_columnIndex) > available) {
    telmar::ThrowDbError("the record set exchanges " + std::to_string(count.m_columnIndex) +
                         " columns but the result has " + std::to_string(available));
  }
}

void CRecordset::Close() {
  m_snapshot.reset();
  m_current = -1;
  m_seen = 0;
  if (m_ownDatabase) {
    m_pDatabase = nullptr;
    m_ownDatabase.reset();
  }
}

BOOL CRecordset::IsOpen() const { return m_snapshot != nullptr; }

BOOL CRecordset::IsBOF() const { return RowCount() == 0; }

BOOL CRecordset::IsEOF() const { return !HasCurrentRow(); }

long CRecordset::GetRecordCount() const { return m_seen; }

void CRecordset::MoveFirst() {
  if (RowCount() == 0) telmar::ThrowDbError("the record set has no row to move to");
  m_current = 0;
  LoadCurrentRow();
}

void CRecordset::MoveNext() {
  if (!HasCurrentRow()) telmar::ThrowDbError("the record set is past its last row");
  ++m_current;
  if (HasCurrentRow() && m_current + 1 > m_seen) m_seen = m_current + 1;
  LoadCurrentRow();
}

void CRecordset::GetFieldValue(LPCSTR lpszName, CString& strValue) {
  const std::string name = lpszName ? lpszName : "";
  if (!HasCurrentRow()) telmar::ThrowDbError("no current row to read column " + name + " from");
  const std::optional<std::size_t> column = m_snapshot->FindColumn(name);
  if (!column) telmar::ThrowDbError("the result has no column " + name);
  const telmar::ResultSnapshot::Value& value = m_snapshot->At(static_cast<std::size_t>(m_current), *column);
  strValue = value ? CString(*value) : CString();
}

CString CRecordset::GetDefaultConnect() { return CString("ODBC;"); }

CString CRecordset::GetDefaultSQL() { return CString(); }

void CRecordset::DoFieldExchange(CFieldExchange* /*pFX*/) {}

void CRecordset::LoadCurrentRow() {
  if (!HasCurrentRow()) return;
  CFieldExchange fetch(CFieldExchange::Fetch, this);
  DoFieldExchange(&fetch);
}

bool CRecordset::HasCurrentRow() const { return m_current >= 0 && m_current < RowCount(); }

long CRecordset::RowCount() const { return m_snapshot ? static_cast<long>(m_snapshot->RowCount()) : 0; }

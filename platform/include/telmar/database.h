// Database classes of the class library, on the unixODBC driver manager.
//
// Text crosses the ODBC boundary through the wide-character API as UTF-16
// and is GBK on this side. Every failure of the driver manager or a driver
// raises CDBException (thrown as a pointer, released with Delete()).
//
// When a statement log is set (telmar::SetSqlLog), every connection opened
// and closed and every statement sent is appended to it as one JSON object
// per line, in order:
//   {"connect":"DSN=..."}
//   {"sql":"<the statement exactly as the caller built it>","dsn":"<DSN value>"}
//   {"disconnect":"DSN=..."}
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "telmar/cstring.h"
#include "telmar/exception.h"

// A point in time, in seconds since 1 January 1970 00:00:00 UTC.
class AFX_EXT_CLASS CTime {
 public:
  CTime() = default;
  explicit CTime(std::time_t time) : m_time(time) {}
  // Local time; nDST -1 lets the C library decide on daylight saving.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

  std::time_t GetTime() const { return m_time; }
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  bool operator==(const CTime& other) const { return m_time == other.m_time; }
  bool operator!=(const CTime& other) const { return m_time != other.m_time; }

 private:
  std::time_t m_time = 0;
};

namespace telmar {
class OdbcConnection;
class ResultSnapshot;
}  // namespace telmar

class AFX_EXT_CLASS CDatabase {
 public:
  enum DatabaseOptions : DWORD {
    openExclusive = 0x0001,
    openReadOnly = 0x0002,
    useCursorLib = 0x0004,
    noOdbcDialog = 0x0008,
    forceOdbcDialog = 0x0010,
  };

  CDatabase();
  virtual ~CDatabase();
  CDatabase(const CDatabase&) = delete;
  CDatabase& operator=(const CDatabase&) = delete;

  // TRUE when connected. FALSE, with no exception, when the data source is
  // not defined: on this platform that is the case in which a connection
  // dialog would have asked for the missing details. Any other failure
  // raises CDBException with the driver's text. A leading "ODBC;" is removed;
  // the rest goes to the driver manager unchanged. An open connection is
  // closed first. The options are accepted and have no effect.
  virtual BOOL OpenEx(LPCSTR lpszConnectString, DWORD dwOptions = 0);
  virtual void Close();
  BOOL IsOpen() const;
  const CString& GetConnect() const { return m_strConnect; }

  // Time limit, in seconds, of the statements that follow (0: none). Until
  // it is set, statements have the class library's default of 15 seconds.
  void SetQueryTimeout(DWORD dwSeconds);

  // Runs one statement and discards its rows. A stored-procedure call in the
  // form "Exec name arguments" is handed to a database that does not speak
  // Transact-SQL in that database's own form (see database_dialect.h).
  void ExecuteSQL(LPCSTR lpszSQL);

  // For CRecordset and tests.
  telmar::OdbcConnection* Connection() const { return m_connection.get(); }
  DWORD QueryTimeout() const { return m_queryTimeout; }
  // Why the last OpenEx returned FALSE (the driver manager's diagnostics);
  // null after a successful OpenEx.
  const CDBException* OpenFailure() const { return m_openFailure.get(); }

 private:
  telmar::OdbcConnection& OpenConnection() const;

  std::unique_ptr<telmar::OdbcConnection> m_connection;
  std::unique_ptr<CDBException> m_openFailure;
  CString m_strConnect;
  DWORD m_queryTimeout = 15;
};

class CRecordset;

// Moves values between a record set's current row and its typed members.
class AFX_EXT_CLASS CFieldExchange {
 public:
  enum FieldType : UINT { noFieldType = static_cast<UINT>(-1), outputColumn = 0, param = 1 };
  enum Operation { CountColumns, Fetch };

  CFieldExchange(Operation op, CRecordset* recordset);
  void SetFieldType(UINT nFieldType) { m_fieldType = nFieldType; }

  Operation m_operation;
  UINT m_fieldType = noFieldType;
  CRecordset* m_prs;
  int m_columnIndex = 0;  // 0-based position of the next result column
};

// Exchanges bind result columns by position, in the order they are called.
// A NULL column reads as empty text, 0, or a zero CTime.
AFX_EXT_CLASS void RFX_Long(CFieldExchange* pFX, LPCSTR szName, LONG& value);
AFX_EXT_CLASS void RFX_Int(CFieldExchange* pFX, LPCSTR szName, int& value);
AFX_EXT_CLASS void RFX_Byte(CFieldExchange* pFX, LPCSTR szName, BYTE& value);
AFX_EXT_CLASS void RFX_Date(CFieldExchange* pFX, LPCSTR szName, CTime& value);
// Text longer than nMaxLength bytes is cut at a GBK character boundary.
AFX_EXT_CLASS void RFX_Text(CFieldExchange* pFX, LPCSTR szName, CString& value, int nMaxLength = 255,
                            int nColumnType = 12 /* SQL_VARCHAR */, short nScale = 0);

class AFX_EXT_CLASS CRecordset {
 public:
  enum OpenType : UINT { dynaset = 0, snapshot = 1, dynamic = 2, forwardOnly = 3 };
  enum OpenOptions : DWORD { none = 0, readOnly = 0x0004 };
  static constexpr UINT useDefaultType = static_cast<UINT>(-1);

  explicit CRecordset(CDatabase* pDatabase = nullptr);
  virtual ~CRecordset();
  CRecordset(const CRecordset&) = delete;
  CRecordset& operator=(const CRecordset&) = delete;

  // Runs the statement and keeps its rows as a static snapshot; the first
  // row, if any, becomes current. Without a database object, a connection of
  // the record set's own is opened from GetDefaultConnect() ("ODBC;" prefix
  // removed), m_pDatabase points at it while the record set is open, and
  // Close() ends it. A data source that is not defined, like every other
  // failure, raises CDBException. The open type is always a snapshot.
  virtual BOOL Open(UINT nOpenType = useDefaultType, LPCSTR lpszSQL = nullptr, DWORD dwOptions = none);
  virtual void Close();
  BOOL IsOpen() const;

  BOOL IsBOF() const;
  BOOL IsEOF() const;
  // Rows seen so far: the highest row made current, counted from 1.
  long GetRecordCount() const;
  // Both raise CDBException when there is no row to move to.
  void MoveFirst();
  void MoveNext();

  // The current row's value of the named column (any letter case), as text;
  // NULL reads as empty text. No current row, or no such column, raises
  // CDBException.
  void GetFieldValue(LPCSTR lpszName, CString& strValue);

  virtual CString GetDefaultConnect();
  virtual CString GetDefaultSQL();
  virtual void DoFieldExchange(CFieldExchange* pFX);

  UINT m_nFields = 0;
  UINT m_nDefaultType = snapshot;
  CDatabase* m_pDatabase;

  // For the field exchange: the current row's value at a column position.
  const telmar::ResultSnapshot* Snapshot() const { return m_snapshot.get(); }
  long CurrentRow() const { return m_current; }

 private:
  CDatabase& ConnectedDatabase();
  CString StatementToRun(LPCSTR lpszSQL);
  void CheckExchangeColumns();
  void LoadCurrentRow();
  bool HasCurrentRow() const;
  long RowCount() const;

  std::unique_ptr<CDatabase> m_ownDatabase;
  std::unique_ptr<telmar::ResultSnapshot> m_snapshot;
  long m_current = -1;
  long m_seen = 0;
};

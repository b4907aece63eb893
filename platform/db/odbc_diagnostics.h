// Diagnostic records of a failed ODBC call, and the OdbcError made of them.
#pragma once

#include <string>
#include <vector>

#include "db/odbc_error.h"
#include "db/odbc_handles.h"

namespace telmar {

struct DiagnosticRecord {
  std::string state;  // SQLSTATE, five characters
  SQLINTEGER native = 0;
  std::string message;  // GBK, as the driver manager or driver wrote it
};
using Diagnostics = std::vector<DiagnosticRecord>;

// Must run right after the failing call: any other call on the handle
// replaces its records.
Diagnostics ReadDiagnostics(SQLSMALLINT kind, SQLHANDLE handle);

template <SQLSMALLINT Kind>
Diagnostics ReadDiagnostics(const OdbcHandle<Kind>& handle) {
  return ReadDiagnostics(Kind, handle.get());
}

bool HasState(const Diagnostics& diagnostics, const char* state);

OdbcError MakeOdbcError(SQLRETURN rc, const Diagnostics& diagnostics);

template <SQLSMALLINT Kind>
void CheckOdbc(SQLRETURN rc, const OdbcHandle<Kind>& handle) {
  if (!SQL_SUCCEEDED(rc)) throw MakeOdbcError(rc, ReadDiagnostics(handle));
}

}  // namespace telmar

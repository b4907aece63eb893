#include "db/odbc_diagnostics.h"

#include <string>

#include "db/odbc_text.h"

namespace telmar {
namespace {

// A driver in a loop of warnings must not keep us here.
constexpr SQLSMALLINT kMaxRecords = 32;

// The bracketed tags in front of a message ("[unixODBC][Driver Manager]")
// name the components the message passed through.
std::string OriginOf(const std::string& message) {
  std::size_t end = 0;
  while (end < message.size() && message[end] == '[') {
    const std::size_t close = message.find(']', end);
    if (close == std::string::npos) break;
    end = close + 1;
  }
  return message.substr(0, end);
}

bool ReadRecord(SQLSMALLINT kind, SQLHANDLE handle, SQLSMALLINT number, DiagnosticRecord& record) {
  SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
  std::vector<SQLWCHAR> text(512);
  SQLSMALLINT textLength = 0;
  SQLRETURN rc = SQLGetDiagRecW(kind, handle, number, state, &record.native, text.data(),
                                static_cast<SQLSMALLINT>(text.size()), &textLength);
  if (rc == SQL_SUCCESS_WITH_INFO && textLength >= static_cast<SQLSMALLINT>(text.size())) {
    text.resize(static_cast<std::size_t>(textLength) + 1);
    rc = SQLGetDiagRecW(kind, handle, number, state, &record.native, text.data(),
                        static_cast<SQLSMALLINT>(text.size()), &textLength);
  }
  if (!SQL_SUCCEEDED(rc)) return false;
  record.state = FromSqlWide(state, SQL_SQLSTATE_SIZE);
  record.message = FromSqlWide(text.data(), text.size() - 1);
  return true;
}

}  // namespace

Diagnostics ReadDiagnostics(SQLSMALLINT kind, SQLHANDLE handle) {
  Diagnostics diagnostics;
  for (SQLSMALLINT number = 1; number <= kMaxRecords; ++number) {
    DiagnosticRecord record;
    if (!ReadRecord(kind, handle, number, record)) break;
    diagnostics.push_back(std::move(record));
  }
  return diagnostics;
}

bool HasState(const Diagnostics& diagnostics, const char* state) {
  for (const DiagnosticRecord& record : diagnostics) {
    if (record.state == state) return true;
  }
  return false;
}

OdbcError MakeOdbcError(SQLRETURN rc, const Diagnostics& diagnostics) {
  std::string error;
  std::string stateNativeOrigin;
  for (const DiagnosticRecord& record : diagnostics) {
    if (!error.empty()) error += '\n';
    error += record.message;
    if (!stateNativeOrigin.empty()) stateNativeOrigin += '\n';
    stateNativeOrigin += "State:" + record.state + ",Native:" + std::to_string(record.native) +
                         ",Origin:" + OriginOf(record.message);
  }
  if (diagnostics.empty()) error = "ODBC call failed with return code " + std::to_string(rc);
  return OdbcError(rc, error, stateNativeOrigin);
}

}  // namespace telmar

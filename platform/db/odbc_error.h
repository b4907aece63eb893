// A failure inside the ODBC layer. The files that include the unixODBC
// headers cannot include the class-library headers (both define BOOL and
// HINSTANCE), so this neutral type carries a failure across, and the
// class-library side turns it into a CDBException.
#pragma once

#include <stdexcept>
#include <string>

namespace telmar {

struct OdbcError : std::runtime_error {
  OdbcError(short retCode, const std::string& error, const std::string& stateNativeOrigin)
      : std::runtime_error(error), retCode(retCode), error(error), stateNativeOrigin(stateNativeOrigin) {}

  short retCode;
  std::string error;              // the driver's message texts (GBK), one per line
  std::string stateNativeOrigin;  // "State:...,Native:...,Origin:..." per record
};

// A failure that this layer itself detects; no driver involved.
[[noreturn]] inline void ThrowOdbcError(const std::string& gbkText) { throw OdbcError(-1, gbkText, std::string()); }

}  // namespace telmar

// CDBException for the class-library side of the database classes.
#pragma once

#include <string>

#include "db/odbc_error.h"
#include "telmar/exception.h"

namespace telmar {

inline CDBException* NewDbException(const OdbcError& error) {
  return new CDBException(error.retCode, error.error, error.stateNativeOrigin);
}

// A failure that the database classes themselves detect.
[[noreturn]] inline void ThrowDbError(const std::string& gbkText) {
  throw NewDbException(OdbcError(-1, gbkText, std::string()));
}

// Runs an ODBC-layer step; its failure leaves as CDBException.
template <typename Step>
auto RaisingDbException(Step step) -> decltype(step()) {
  try {
    return step();
  } catch (const OdbcError& error) {
    throw NewDbException(error);
  }
}

}  // namespace telmar

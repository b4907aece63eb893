#include <clocale>
#include <cstring>
#include <langinfo.h>

#include "db/odbc_diagnostics.h"
#include "db/odbc_handles.h"

namespace telmar {
namespace {

// Drivers without wide entry points (Debian's SQLite driver is one) get their
// text from the driver manager converted through the code set of the
// process's locale; in the "C" locale every Chinese character is lost.
void UseUtf8CharacterType() {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) ThrowOdbcError("the C.UTF-8 locale is not available");
}

EnvironmentHandle CreateEnvironment() {
  UseUtf8CharacterType();
  SQLHANDLE handle = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) {
    ThrowOdbcError("the ODBC driver manager cannot create an environment");
  }
  EnvironmentHandle environment(handle);
  CheckOdbc(SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
            environment);
  return environment;
}

}  // namespace

const EnvironmentHandle& Environment() {
  static const EnvironmentHandle environment = CreateEnvironment();
  return environment;
}

}  // namespace telmar

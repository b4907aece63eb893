// How statements and connection strings written for a Transact-SQL server
// are handed to the databases this platform runs on. Pure functions on GBK
// text, so they can be checked without a database.
#pragma once

#include <string>

#include "telmar/wintypes.h"

namespace telmar {

// "Exec <name> <arguments>" (any letter case of Exec, blanks around the
// statement allowed) becomes, for the DBMS named by SQL_DBMS_NAME:
//   "SQLite":     INSERT INTO <name> VALUES (<arguments>)
//                 (the procedure is a view with an INSTEAD OF INSERT trigger)
//   "PostgreSQL": CALL <name>(<arguments>)
// The arguments are passed on unchanged, empty positions included, so a
// malformed call still fails at the database. Every other statement, and
// every statement for another DBMS, is returned unchanged.
AFX_EXT_CLASS std::string AdaptProcedureCall(const std::string& dbmsName, const std::string& statement);

// The connection string without a leading "ODBC;", which only marks it as an
// ODBC connection string and means nothing to the driver manager.
AFX_EXT_CLASS std::string WithoutOdbcMarker(const std::string& connectString);

// The value of the DSN keyword (any letter case) as written, or "".
AFX_EXT_CLASS std::string DataSourceName(const std::string& connectString);

}  // namespace telmar

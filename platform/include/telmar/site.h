// The site directory: one relocatable folder with everything a station needs
// (reader configuration ICCOM.ini, ODBC configuration, embedded database).
#pragma once

#include <string>

#include "telmar/wintypes.h"

namespace telmar {

// Chooses the site for this process. Must be called before the first
// database connection. Throws std::runtime_error when the folder is missing.
// The site's odbc.ini and odbcinst.ini may name files inside the site as
// ${SITE}/...: a private copy with ${SITE} expanded to the site's absolute
// path is handed to the ODBC driver manager, so the site holds no absolute
// path of its own and can be moved or copied.
AFX_EXT_CLASS void SetSiteDirectory(const std::string& directory);

// The chosen site's absolute path; empty when none was chosen.
AFX_EXT_CLASS std::string SiteDirectory();

// Appends one JSON object per line for every connection opened and closed
// and every statement sent (see telmar/database.h). Empty path: no log.
AFX_EXT_CLASS void SetSqlLog(const std::string& path);

}  // namespace telmar

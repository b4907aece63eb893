// GBK <-> UTF-16 for the ODBC wide API.
#pragma once

#include <string>

namespace telmar {

// Text that is not GBK raises OdbcError.
std::u16string Utf16ForOdbc(const std::string& gbk);

// A character that GBK cannot hold becomes '?', as the code-page conversion
// of the original platform did: a value must stay readable.
std::string GbkFromOdbc(const std::u16string& utf16);

}  // namespace telmar

// Text buffers of the ODBC wide API.
#pragma once

#include <sql.h>
#include <sqlucode.h>

#include <cstddef>
#include <string>
#include <vector>

#include "db/gbk_utf16.h"

namespace telmar {

// unixODBC's SQLWCHAR is a 2-byte UTF-16 unit, unlike the 4-byte wchar_t of
// Linux: copy unit by unit, never cast between them.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be a UTF-16 code unit");

// NUL-terminated, for SQL_NTS.
inline std::vector<SQLWCHAR> ToSqlWide(const std::string& gbk) {
  const std::u16string utf16 = Utf16ForOdbc(gbk);
  std::vector<SQLWCHAR> wide(utf16.begin(), utf16.end());
  wide.push_back(0);
  return wide;
}

// Units before the first NUL, at most `capacity`.
inline std::size_t SqlWideLength(const SQLWCHAR* text, std::size_t capacity) {
  std::size_t length = 0;
  while (length < capacity && text[length] != 0) ++length;
  return length;
}

// The text up to the first NUL within `capacity` units.
inline std::string FromSqlWide(const SQLWCHAR* text, std::size_t capacity) {
  return GbkFromOdbc(std::u16string(text, text + SqlWideLength(text, capacity)));
}

}  // namespace telmar

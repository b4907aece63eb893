// Code-page conversion at the edges of the system: the module holds GBK
// (CP936) bytes, terminals, logs and the command line speak UTF-8, and the
// ODBC wide API speaks UTF-16. Conversions never fail silently: bytes that do
// not convert raise EncodingError.
#pragma once

#include <stdexcept>
#include <string>

#include "telmar/wintypes.h"

namespace telmar {

struct AFX_EXT_CLASS EncodingError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

AFX_EXT_CLASS std::string GbkToUtf8(const std::string& gbk);
AFX_EXT_CLASS std::string Utf8ToGbk(const std::string& utf8);
AFX_EXT_CLASS std::u16string GbkToUtf16(const std::string& gbk);
AFX_EXT_CLASS std::string Utf16ToGbk(const std::u16string& utf16);

// Like GbkToUtf8, but a byte that is not GBK becomes U+FFFD: for logs and
// screens, which must show whatever arrived.
AFX_EXT_CLASS std::string GbkToUtf8Lossy(const std::string& gbk);

}  // namespace telmar

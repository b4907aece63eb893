#include "db/gbk_utf16.h"

#include "db/odbc_error.h"
#include "telmar/encoding.h"

namespace telmar {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::string Utf16ToGbkReplacingUnknown(const std::u16string& utf16) {
  std::string gbk;
  for (std::size_t i = 0; i < utf16.size();) {
    const std::size_t units = IsHighSurrogate(utf16[i]) && i + 1 < utf16.size() ? 2 : 1;
    try {
      gbk += Utf16ToGbk(utf16.substr(i, units));
    } catch (const EncodingError&) {
      gbk += '?';
    }
    i += units;
  }
  return gbk;
}

}  // namespace

std::u16string Utf16ForOdbc(const std::string& gbk) {
  try {
    return GbkToUtf16(gbk);
  } catch (const EncodingError&) {
    ThrowOdbcError("text sent to the database is not valid GBK: " + gbk);
  }
}

std::string GbkFromOdbc(const std::u16string& utf16) {
  try {
    return Utf16ToGbk(utf16);
  } catch (const EncodingError&) {
    return Utf16ToGbkReplacingUnknown(utf16);
  }
}

}  // namespace telmar

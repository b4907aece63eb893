#include "db/result_snapshot.h"

namespace telmar {
namespace {

bool IsGbkLeadByte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// ASCII letters compare without case; the second byte of a GBK character
// can look like an ASCII letter and must compare exactly.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsGbkLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::size_t> ResultSnapshot::FindColumn(const std::string& name) const {
  for (std::size_t column = 0; column < m_columnNames.size(); ++column) {
    if (EqualIgnoringCase(m_columnNames[column], name)) return column;
  }
  return std::nullopt;
}

}  // namespace telmar

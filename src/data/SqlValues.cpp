#include "data/SqlValues.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::size_t CountDigits(const char* text) {
  std::size_t count = 0;
  while (IsDigit(text[count])) ++count;
  return count;
}

const char* SkipSign(const char* text) { return (*text == '+' || *text == '-') ? text + 1 : text; }

// strtoll saturates at its own limits, far beyond 32 bits.
long long SaturatingParse(const char* text) { return std::strtoll(text, nullptr, 10); }

}  // namespace

CString SqlQuoted(const char* text) {
  CString quoted;
  for (const char* p = text ? text : ""; *p; ++p) {
    quoted += *p;
    if (*p == '\'') quoted += '\'';
  }
  return quoted;
}

bool IsInt32Text(const char* text) {
  if (!text) return false;
  const char* digits = SkipSign(text);
  const std::size_t count = CountDigits(digits);
  if (count == 0 || count > 10 || digits[count] != '\0') return false;
  const long long value = SaturatingParse(text);
  return value >= INT_MIN && value <= INT_MAX;
}

bool IsDecimalText(const char* text) {
  if (!text) return false;
  const char* digits = SkipSign(text);
  const std::size_t whole = CountDigits(digits);
  if (whole == 0) return false;
  const char* rest = digits + whole;
  if (*rest == '\0') return true;
  if (*rest != '.') return false;
  const std::size_t fraction = CountDigits(rest + 1);
  return fraction > 0 && rest[1 + fraction] == '\0';
}

bool IsCardNumberText(const char* text) {
  if (!text) return false;
  const std::size_t count = CountDigits(text);
  return count >= 1 && count <= 25 && text[count] == '\0';
}

int ReadDecimalInteger(const char* text) {
  const long long value = SaturatingParse(text ? text : "");
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

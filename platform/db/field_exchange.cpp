#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "db/db_exception.h"
#include "db/result_snapshot.h"
#include "telmar/database.h"

CFieldExchange::CFieldExchange(Operation op, CRecordset* recordset) : m_operation(op), m_prs(recordset) {}

namespace {

using Value = telmar::ResultSnapshot::Value;

// Claims the next result column for an output field. Returns the current
// row's value there when values are being fetched, null otherwise.
const Value* NextColumn(CFieldExchange* pFX) {
  if (pFX->m_fieldType != CFieldExchange::outputColumn) return nullptr;
  const int column = pFX->m_columnIndex++;
  if (pFX->m_operation != CFieldExchange::Fetch) return nullptr;
  const CRecordset& recordset = *pFX->m_prs;
  return &recordset.Snapshot()->At(static_cast<std::size_t>(recordset.CurrentRow()),
                                   static_cast<std::size_t>(column));
}

std::string Trimmed(const std::string& text) {
  const char* const blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

[[noreturn]] void ThrowBadValue(LPCSTR name, const std::string& text, const char* expected) {
  telmar::ThrowDbError(std::string("column ") + name + " holds \"" + text + "\", which is not " + expected);
}

template <typename Number>
bool ParseWhole(const std::string& text, Number& number) {
  const char* const end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  return result.ec == std::errc() && result.ptr == end;
}

// The column's integer value: drivers give integers as digits, and some give
// whole-number decimals and floats ("1.00") for integer-typed columns.
std::int64_t IntegerOf(const Value& value, LPCSTR name) {
  if (!value) return 0;
  const std::string text = Trimmed(*value);
  std::int64_t integer = 0;
  if (ParseWhole(text, integer)) return integer;
  double real = 0;
  if (ParseWhole(text, real) && real > -9.2e18 && real < 9.2e18) return static_cast<std::int64_t>(real);
  ThrowBadValue(name, *value, "a number");
}

template <typename Integer>
Integer IntegerInRange(const Value& value, LPCSTR name) {
  const std::int64_t integer = IntegerOf(value, name);
  if (integer < std::numeric_limits<Integer>::min() || integer > std::numeric_limits<Integer>::max()) {
    ThrowBadValue(name, *value, "a 32-bit integer");
  }
  return static_cast<Integer>(integer);
}

// "YYYY-MM-DD", optionally followed by " HH:MM", ":SS" and a fraction of a
// second, as the drivers write dates and timestamps.
CTime TimeOf(const Value& value, LPCSTR name) {
  if (!value) return CTime();
  const std::string text = Trimmed(*value);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int used = 0;
  const char* rest = text.c_str();
  if (std::sscanf(rest, "%4d-%2d-%2d%n", &year, &month, &day, &used) != 3) ThrowBadValue(name, text, "a date");
  rest += used;
  if ((*rest == ' ' || *rest == 'T') && std::sscanf(rest + 1, "%2d:%2d%n", &hour, &minute, &used) == 2) {
    rest += 1 + used;
    if (std::sscanf(rest, ":%2d%n", &second, &used) == 1) rest += used;
    if (*rest == '.') {
      ++rest;
      while (*rest >= '0' && *rest <= '9') ++rest;
    }
  }
  if (*rest != '\0') ThrowBadValue(name, text, "a date");
  return CTime(year, month, day, hour, minute, second);
}

bool IsGbkLeadByte(char byte) {
  const auto unsignedByte = static_cast<unsigned char>(byte);
  return unsignedByte >= 0x81 && unsignedByte <= 0xFE;
}

// At most maxLength bytes, never half of a double-byte character.
std::string CutAtCharacterBoundary(const std::string& text, int maxLength) {
  const std::size_t limit = maxLength > 0 ? static_cast<std::size_t>(maxLength) : 0;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = IsGbkLeadByte(text[end]) && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace

void RFX_Long(CFieldExchange* pFX, LPCSTR szName, LONG& value) {
  if (const Value* column = NextColumn(pFX)) value = IntegerInRange<LONG>(*column, szName);
}

void RFX_Int(CFieldExchange* pFX, LPCSTR szName, int& value) {
  if (const Value* column = NextColumn(pFX)) value = IntegerInRange<int>(*column, szName);
}

void RFX_Byte(CFieldExchange* pFX, LPCSTR szName, BYTE& value) {
  if (const Value* column = NextColumn(pFX)) value = static_cast<BYTE>(IntegerOf(*column, szName) & 0xFF);
}

void RFX_Date(CFieldExchange* pFX, LPCSTR szName, CTime& value) {
  if (const Value* column = NextColumn(pFX)) value = TimeOf(*column, szName);
}

void RFX_Text(CFieldExchange* pFX, LPCSTR /*szName*/, CString& value, int nMaxLength, int /*nColumnType*/,
              short /*nScale*/) {
  if (const Value* column = NextColumn(pFX)) value = CutAtCharacterBoundary(column->value_or(""), nMaxLength);
}

#include "db/odbc_result_reader.h"

#include "db/odbc_diagnostics.h"
#include "db/odbc_text.h"

namespace telmar {
namespace {

std::string ColumnName(const StatementHandle& statement, SQLUSMALLINT column) {
  std::vector<SQLWCHAR> name(256);
  SQLSMALLINT length = 0;
  const auto describe = [&] {
    CheckOdbc(SQLDescribeColW(statement.get(), column, name.data(), static_cast<SQLSMALLINT>(name.size()), &length,
                              nullptr, nullptr, nullptr, nullptr),
              statement);
  };
  describe();
  if (length >= static_cast<SQLSMALLINT>(name.size())) {
    name.resize(static_cast<std::size_t>(length) + 1);
    describe();
  }
  return FromSqlWide(name.data(), name.size() - 1);
}

// Text of any length, in chunks; SQLGetData has no W form, the C type
// SQL_C_WCHAR makes it the wide read. A chunk that does not hold the rest of the
// value is NUL-terminated and reports the remaining length or SQL_NO_TOTAL.
ResultSnapshot::Value ReadText(const StatementHandle& statement, SQLUSMALLINT column) {
  constexpr std::size_t kChunkUnits = 1024;
  SQLWCHAR chunk[kChunkUnits];
  std::u16string text;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
    if (rc == SQL_NO_DATA) break;
    CheckOdbc(rc, statement);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    const bool partial = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk);
    const std::size_t units =
        partial ? kChunkUnits - 1 : SqlWideLength(chunk, static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR));
    text.append(chunk, chunk + units);
    if (!partial) break;
  }
  return GbkFromOdbc(text);
}

}  // namespace

std::unique_ptr<ResultSnapshot> ReadResult(const StatementHandle& statement) {
  auto snapshot = std::make_unique<ResultSnapshot>();
  SQLSMALLINT columns = 0;
  CheckOdbc(SQLNumResultCols(statement.get(), &columns), statement);
  for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(columns); ++column) {
    snapshot->AddColumn(ColumnName(statement, column));
  }
  if (columns == 0) return snapshot;
  for (;;) {
    const SQLRETURN rc = SQLFetch(statement.get());
    if (rc == SQL_NO_DATA) break;
    CheckOdbc(rc, statement);
    std::vector<ResultSnapshot::Value> row;
    for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(columns); ++column) {
      row.push_back(ReadText(statement, column));
    }
    snapshot->AddRow(std::move(row));
  }
  return snapshot;
}

}  // namespace telmar

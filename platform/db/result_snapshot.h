// All rows of a result, read into memory when the record set opens: a static
// snapshot that the data source cannot change underneath the reader.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace telmar {

class ResultSnapshot {
 public:
  using Value = std::optional<std::string>;  // GBK text; nullopt for NULL

  void AddColumn(std::string name) { m_columnNames.push_back(std::move(name)); }
  void AddRow(std::vector<Value> row) { m_rows.push_back(std::move(row)); }

  std::size_t ColumnCount() const { return m_columnNames.size(); }
  std::size_t RowCount() const { return m_rows.size(); }
  // Column names are matched without regard to letter case: PostgreSQL's
  // driver folds unquoted names to lower case.
  std::optional<std::size_t> FindColumn(const std::string& name) const;
  const Value& At(std::size_t row, std::size_t column) const { return m_rows.at(row).at(column); }

 private:
  std::vector<std::string> m_columnNames;
  std::vector<std::vector<Value>> m_rows;
};

}  // namespace telmar

// The statement log (telmar::SetSqlLog): one JSON object per line.
#pragma once

#include <string>

namespace telmar {

void LogConnect(const std::string& connectString) noexcept;
void LogDisconnect(const std::string& connectString) noexcept;
void LogStatement(const std::string& statement, const std::string& dataSource) noexcept;

}  // namespace telmar

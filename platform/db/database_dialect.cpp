#include "telmar/database_dialect.h"

#include <strings.h>

#include <algorithm>
#include <string_view>

namespace telmar {
namespace {

const char* const kBlanks = " \t\r\n\f\v";

bool IsBlank(char ch) { return std::string_view(kBlanks).find(ch) != std::string_view::npos; }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
  const std::size_t length = std::char_traits<char>::length(prefix);
  return text.size() >= length && strncasecmp(text.data(), prefix, length) == 0;
}

struct ProcedureCall {
  std::string name;
  std::string arguments;
};

bool ParseExec(const std::string& statement, ProcedureCall& call) {
  const std::string text = Trimmed(statement);
  const std::size_t keyword = 4;  // "Exec"
  if (!StartsWithIgnoringCase(text, "exec") || text.size() <= keyword || !IsBlank(text[keyword])) return false;
  const std::size_t nameStart = text.find_first_not_of(kBlanks, keyword);
  const std::size_t nameEnd = std::min(text.find_first_of(kBlanks, nameStart), text.size());
  call.name = text.substr(nameStart, nameEnd - nameStart);
  const std::size_t argumentsStart = text.find_first_not_of(kBlanks, nameEnd);
  call.arguments = argumentsStart == std::string::npos ? std::string() : text.substr(argumentsStart);
  return true;
}

}  // namespace

std::string AdaptProcedureCall(const std::string& dbmsName, const std::string& statement) {
  ProcedureCall call;
  if (!ParseExec(statement, call)) return statement;
  if (dbmsName == "SQLite") return "INSERT INTO " + call.name + " VALUES (" + call.arguments + ")";
  if (dbmsName == "PostgreSQL") return "CALL " + call.name + "(" + call.arguments + ")";
  return statement;
}

std::string WithoutOdbcMarker(const std::string& connectString) {
  return StartsWithIgnoringCase(connectString, "ODBC;") ? connectString.substr(5) : connectString;
}

std::string DataSourceName(const std::string& connectString) {
  std::size_t start = 0;
  while (start <= connectString.size()) {
    const std::size_t end = std::min(connectString.find(';', start), connectString.size());
    const std::string attribute = connectString.substr(start, end - start);
    const std::size_t equals = attribute.find('=');
    if (equals != std::string::npos && strcasecmp(Trimmed(attribute.substr(0, equals)).c_str(), "DSN") == 0) {
      return attribute.substr(equals + 1);
    }
    start = end + 1;
  }
  return std::string();
}

}  // namespace telmar

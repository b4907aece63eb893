#include "telmar/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(const char* text, int length)
    : m_text(text && length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string()) {}

CString::CString(const std::string& text) : m_text(text) {}

CString::CString(char ch, int repeat) : m_text(repeat > 0 ? static_cast<std::size_t>(repeat) : 0u, ch) {}

void CString::Format(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  va_list probe;
  va_copy(probe, args);
  const int needed = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (needed < 0) {
    va_end(args);
    m_text.clear();
    return;
  }
  std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  m_text.assign(buffer.data(), static_cast<std::size_t>(needed));
}

namespace {
bool IsBlank(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }
}  // namespace

CString& CString::TrimLeft() {
  std::size_t first = 0;
  while (first < m_text.size() && IsBlank(m_text[first])) ++first;
  m_text.erase(0, first);
  return *this;
}

CString& CString::TrimRight() {
  std::size_t end = m_text.size();
  while (end > 0 && IsBlank(m_text[end - 1])) --end;
  m_text.erase(end);
  return *this;
}

int CString::Compare(LPCSTR other) const { return std::strcmp(m_text.c_str(), other ? other : ""); }

int CString::Find(char ch) const {
  const auto pos = m_text.find(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCSTR sub, int start) const {
  if (start < 0 || static_cast<std::size_t>(start) > m_text.size()) return -1;
  const auto pos = m_text.find(sub ? sub : "", static_cast<std::size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
  if (count <= 0) return CString();
  return CString(m_text.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count <= 0 || first >= GetLength()) return CString();
  return CString(m_text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const {
  if (count <= 0) return CString();
  if (count >= GetLength()) return *this;
  return CString(m_text.substr(m_text.size() - static_cast<std::size_t>(count)));
}

CString& CString::operator=(LPCSTR text) {
  m_text = text ? text : "";
  return *this;
}

CString& CString::operator+=(const CString& other) {
  m_text += other.m_text;
  return *this;
}

CString& CString::operator+=(LPCSTR text) {
  m_text += text ? text : "";
  return *this;
}

CString& CString::operator+=(char ch) {
  m_text += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, LPCSTR b) { return CString(a.str() + (b ? b : "")); }
CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.str()); }
bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCSTR b) { return a.str() == (b ? b : ""); }
bool operator==(LPCSTR a, const CString& b) { return b == a; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
bool operator!=(LPCSTR a, const CString& b) { return !(b == a); }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }

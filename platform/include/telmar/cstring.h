// Text value of the class library: a byte string (GBK inside the module)
// with value semantics.
#pragma once

#include <string>

#include "telmar/wintypes.h"

class AFX_EXT_CLASS CString {
 public:
  CString() = default;
  CString(const char* text);  // NOLINT: implicit, as the interface expects
  CString(const char* text, int length);
  CString(const std::string& text);  // NOLINT
  CString(char ch, int repeat = 1);

  int GetLength() const { return static_cast<int>(m_text.size()); }
  BOOL IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  char GetAt(int index) const { return m_text.at(static_cast<std::size_t>(index)); }
  char operator[](int index) const { return GetAt(index); }

  operator LPCSTR() const { return m_text.c_str(); }  // NOLINT
  const std::string& str() const { return m_text; }

  // printf-style formatting; the format is checked by the compiler.
  void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));

  // White space: blank, tab, line feed, vertical tab, form feed, carriage return.
  CString& TrimLeft();
  CString& TrimRight();

  int Compare(LPCSTR other) const;
  int Find(char ch) const;
  int Find(LPCSTR sub, int start = 0) const;
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;

  CString& operator=(LPCSTR text);
  CString& operator+=(const CString& other);
  CString& operator+=(LPCSTR text);
  CString& operator+=(char ch);

 private:
  std::string m_text;
};

AFX_EXT_CLASS CString operator+(const CString& a, const CString& b);
AFX_EXT_CLASS CString operator+(const CString& a, LPCSTR b);
AFX_EXT_CLASS CString operator+(LPCSTR a, const CString& b);
AFX_EXT_CLASS bool operator==(const CString& a, const CString& b);
AFX_EXT_CLASS bool operator==(const CString& a, LPCSTR b);
AFX_EXT_CLASS bool operator==(LPCSTR a, const CString& b);
AFX_EXT_CLASS bool operator!=(const CString& a, const CString& b);
AFX_EXT_CLASS bool operator!=(const CString& a, LPCSTR b);
AFX_EXT_CLASS bool operator!=(LPCSTR a, const CString& b);
AFX_EXT_CLASS bool operator<(const CString& a, const CString& b);

// The host's plug-in base class. Every plug-in object derives from it; host
// and plug-in exchange all data as named text parameters held here.
#pragma once

#include <map>
#include <string>

#include "telmar/cstring.h"

#ifndef ZORBASE_API
#define ZORBASE_API __attribute__((visibility("default")))
#endif

class ZORBASE_API ZORBASE {
 public:
  ZORBASE();
  virtual ~ZORBASE();

  // The operations, in this slot order. Nonzero is success.
  virtual int Post();
  virtual int ReadCard();
  virtual int CanCancel();
  virtual int Cancel();

  // Keeps its own copy of the value; a new value replaces the old one.
  void SetParam(const char* key, const char* value);
  // The value, or the empty text for a key that was never set.
  CString GetParam(const char* key);
  BOOL IsParamSet(const char* key);

  // For the host: every parameter, sorted by key.
  const std::map<std::string, std::string>& Params() const { return m_params; }

 private:
  std::map<std::string, std::string> m_params;
};

// The two exports a plug-in library provides.
typedef ZORBASE* (*GetZORObjectProc)();
typedef void (*VersionExportProc)(CString& version, CString& date, CString& fileName);

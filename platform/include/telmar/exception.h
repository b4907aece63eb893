// Exceptions of the class library. They are thrown as pointers to heap
// objects (`throw new CDBException(...)`) and the handler releases them with
// Delete(), the way the module's code is written.
#pragma once

#include "telmar/cstring.h"

class AFX_EXT_CLASS CException {
 public:
  virtual ~CException() = default;

  // Shows the exception's own text in a message box of the given type.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);
  virtual BOOL GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext = nullptr) const;
  virtual CString GetErrorText() const { return CString(); }
  void Delete() { delete this; }
};

// A failure reported by the ODBC driver manager or a driver.
class AFX_EXT_CLASS CDBException : public CException {
 public:
  CDBException(RETCODE retCode, const CString& error, const CString& stateNativeOrigin)
      : m_nRetCode(retCode), m_strError(error), m_strStateNativeOrigin(stateNativeOrigin) {}

  CString GetErrorText() const override { return m_strError; }

  RETCODE m_nRetCode;
  CString m_strError;              // the driver's own message text (GBK)
  CString m_strStateNativeOrigin;  // "State:...,Native:...,Origin:..." of each record
};

// Any other failure of a platform service (memory, a broken site setting):
// it belongs to the same family so the module's handlers catch it.
class AFX_EXT_CLASS CPlatformException : public CException {
 public:
  explicit CPlatformException(const CString& text) : m_strText(text) {}
  CString GetErrorText() const override { return m_strText; }

 private:
  CString m_strText;
};

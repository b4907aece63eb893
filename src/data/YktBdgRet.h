// Typed record set over the bridge table YKT_BRIDGE: card number to account.
#pragma once

#include "telmar/database.h"

class YktBdgRet : public CRecordset {
 public:
  explicit YktBdgRet(CDatabase* pDatabase = nullptr);

  LONG m_CardNo;
  int m_Status;
  int m_AcctType;
  LONG m_Acct;
  CString m_Password;

  CString GetDefaultConnect() override;
  CString GetDefaultSQL() override;
  void DoFieldExchange(CFieldExchange* pFX) override;
};

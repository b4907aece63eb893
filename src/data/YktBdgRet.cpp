#include "data/YktBdgRet.h"

#include "data/ConnectStrings.h"

YktBdgRet::YktBdgRet(CDatabase* pDatabase)
    : CRecordset(pDatabase), m_CardNo(0), m_Status(0), m_AcctType(0), m_Acct(0) {
  m_nFields = 5;
  m_nDefaultType = snapshot;
}

CString YktBdgRet::GetDefaultConnect() { return kConnectYktRecordset; }

CString YktBdgRet::GetDefaultSQL() { return "[dbo].[YKT_BRIDGE]"; }

void YktBdgRet::DoFieldExchange(CFieldExchange* pFX) {
  pFX->SetFieldType(CFieldExchange::outputColumn);
  RFX_Long(pFX, "[CardNo]", m_CardNo);
  RFX_Int(pFX, "[Status]", m_Status);
  RFX_Int(pFX, "[AcctType]", m_AcctType);
  RFX_Long(pFX, "[Acct]", m_Acct);
  RFX_Text(pFX, "[Password]", m_Password, 255, 12, 0);
}

#include "data/CardRet.h"

#include "data/ConnectStrings.h"

namespace {
// Date-time members start at noon on 1 January 1980, local time.
CTime InitialTime() { return CTime(1980, 1, 1, 12, 0, 0, -1); }
}  // namespace

CCardRet::CCardRet(CDatabase* pDatabase)
    : CRecordset(pDatabase),
      m_Acct(0),
      m_OwnerID(0),
      m_ReAcct(0),
      m_Status(0),
      m_Time1(InitialTime()),
      m_Time2(InitialTime()),
      m_Time3(InitialTime()),
      m_Time4(InitialTime()),
      m_Time5(InitialTime()),
      m_Time6(InitialTime()),
      m_Time7(InitialTime()),
      m_Time8(InitialTime()),
      m_Time9(InitialTime()),
      m_ValidPeriod(0),
      m_Sex(0),
      m_EntryDate(InitialTime()),
      m_ValidPeriod1(0) {
  m_nFields = 58;
  m_nDefaultType = dynaset;
}

CString CCardRet::GetDefaultConnect() { return kConnectYktRecordset; }

CString CCardRet::GetDefaultSQL() { return "[dbo].[SavingsCard]"; }

void CCardRet::DoFieldExchange(CFieldExchange* pFX) {
  pFX->SetFieldType(CFieldExchange::outputColumn);
  RFX_Long(pFX, "[Acct]", m_Acct);
  RFX_Text(pFX, "[CardID]", m_CardID, 255, 12, 0);
  RFX_Long(pFX, "[OwnerID]", m_OwnerID);
  RFX_Text(pFX, "[OwnerType]", m_OwnerType, 255, 12, 0);
  RFX_Text(pFX, "[CardType]", m_CardType, 255, 12, 0);
  RFX_Text(pFX, "[SecretWord]", m_SecretWord, 255, 12, 0);
  RFX_Text(pFX, "[Password]", m_Password, 255, 12, 0);
  RFX_Text(pFX, "[AmountDebit]", m_AmountDebit, 255, 12, 0);
  RFX_Text(pFX, "[AmountCredit]", m_AmountCredit, 255, 12, 0);
  RFX_Text(pFX, "[Surplus]", m_Surplus, 255, 12, 0);
  RFX_Text(pFX, "[Foregift]", m_Foregift, 255, 12, 0);
  RFX_Text(pFX, "[Quota]", m_Quota, 255, 12, 0);
  RFX_Long(pFX, "[ReAcct]", m_ReAcct);
  RFX_Text(pFX, "[AccPeriod]", m_AccPeriod, 255, 12, 0);
  RFX_Int(pFX, "[Status]", m_Status);
  RFX_Date(pFX, "[Time1]", m_Time1);
  RFX_Text(pFX, "[Clerk1]", m_Clerk1, 255, 12, 0);
  RFX_Date(pFX, "[Time2]", m_Time2);
  RFX_Text(pFX, "[Clerk2]", m_Clerk2, 255, 12, 0);
  RFX_Date(pFX, "[Time3]", m_Time3);
  RFX_Text(pFX, "[Clerk3]", m_Clerk3, 255, 12, 0);
  RFX_Date(pFX, "[Time4]", m_Time4);
  RFX_Text(pFX, "[Clerk4]", m_Clerk4, 255, 12, 0);
  RFX_Text(pFX, "[LostReason]", m_LostReason, 255, 12, 0);
  RFX_Date(pFX, "[Time5]", m_Time5);
  RFX_Text(pFX, "[Clerk5]", m_Clerk5, 255, 12, 0);
  RFX_Date(pFX, "[Time6]", m_Time6);
  RFX_Text(pFX, "[Clerk6]", m_Clerk6, 255, 12, 0);
  RFX_Text(pFX, "[LastAmount1]", m_LastAmount1, 255, 12, 0);
  RFX_Date(pFX, "[Time7]", m_Time7);
  RFX_Text(pFX, "[Clerk7]", m_Clerk7, 255, 12, 0);
  RFX_Text(pFX, "[LargestAmount]", m_LargestAmount, 255, 12, 0);
  RFX_Date(pFX, "[Time8]", m_Time8);
  RFX_Text(pFX, "[Clerk8]", m_Clerk8, 255, 12, 0);
  RFX_Text(pFX, "[LastAmount2]", m_LastAmount2, 255, 12, 0);
  RFX_Date(pFX, "[Time9]", m_Time9);
  RFX_Text(pFX, "[Clerk9]", m_Clerk9, 255, 12, 0);
  RFX_Text(pFX, "[FrozeReason]", m_FrozeReason, 255, 12, 0);
  RFX_Int(pFX, "[ValidPeriod]", m_ValidPeriod);
  RFX_Text(pFX, "[Name]", m_Name, 255, 12, 0);
  RFX_Byte(pFX, "[Sex]", m_Sex);
  RFX_Text(pFX, "[Company]", m_Company, 255, 12, 0);
  RFX_Text(pFX, "[Nation]", m_Nation, 255, 12, 0);
  RFX_Text(pFX, "[Postcode]", m_Postcode, 255, 12, 0);
  RFX_Text(pFX, "[Email]", m_Email, 255, 12, 0);
  RFX_Text(pFX, "[Phone]", m_Phone, 255, 12, 0);
  RFX_Text(pFX, "[Fax]", m_Fax, 255, 12, 0);
  RFX_Text(pFX, "[IDType]", m_IDType, 255, 12, 0);
  RFX_Text(pFX, "[IDNo]", m_IDNo, 255, 12, 0);
  RFX_Text(pFX, "[MemberFee]", m_MemberFee, 255, 12, 0);
  RFX_Date(pFX, "[EntryDate]", m_EntryDate);
  RFX_Int(pFX, "[ValidPeriod1]", m_ValidPeriod1);
  RFX_Text(pFX, "[Introducer]", m_Introducer, 255, 12, 0);
  RFX_Text(pFX, "[Occupation]", m_Occupation, 255, 12, 0);
  RFX_Text(pFX, "[Bank]", m_Bank, 255, 12, 0);
  RFX_Text(pFX, "[BankAcct]", m_BankAcct, 255, 12, 0);
  RFX_Text(pFX, "[Addr]", m_Addr, 255, 12, 0);
  RFX_Text(pFX, "[Comment]", m_Comment, 255, 12, 0);
}

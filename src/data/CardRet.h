// Typed record set over the member-card table SavingsCard, one member per
// column in the table's order (results are bound by position).
#pragma once

#include "telmar/database.h"

class CCardRet : public CRecordset {
 public:
  explicit CCardRet(CDatabase* pDatabase = nullptr);

  LONG m_Acct;
  CString m_CardID;
  LONG m_OwnerID;
  CString m_OwnerType;
  CString m_CardType;
  CString m_SecretWord;
  CString m_Password;
  CString m_AmountDebit;
  CString m_AmountCredit;
  CString m_Surplus;
  CString m_Foregift;
  CString m_Quota;
  LONG m_ReAcct;
  CString m_AccPeriod;
  int m_Status;
  CTime m_Time1;
  CString m_Clerk1;
  CTime m_Time2;
  CString m_Clerk2;
  CTime m_Time3;
  CString m_Clerk3;
  CTime m_Time4;
  CString m_Clerk4;
  CString m_LostReason;
  CTime m_Time5;
  CString m_Clerk5;
  CTime m_Time6;
  CString m_Clerk6;
  CString m_LastAmount1;
  CTime m_Time7;
  CString m_Clerk7;
  CString m_LargestAmount;
  CTime m_Time8;
  CString m_Clerk8;
  CString m_LastAmount2;
  CTime m_Time9;
  CString m_Clerk9;
  CString m_FrozeReason;
  int m_ValidPeriod;
  CString m_Name;
  BYTE m_Sex;
  CString m_Company;
  CString m_Nation;
  CString m_Postcode;
  CString m_Email;
  CString m_Phone;
  CString m_Fax;
  CString m_IDType;
  CString m_IDNo;
  CString m_MemberFee;
  CTime m_EntryDate;
  int m_ValidPeriod1;
  CString m_Introducer;
  CString m_Occupation;
  CString m_Bank;
  CString m_BankAcct;
  CString m_Addr;
  CString m_Comment;

  CString GetDefaultConnect() override;
  CString GetDefaultSQL() override;
  void DoFieldExchange(CFieldExchange* pFX) override;
};

// Post: charge the bill to the account that ReadCard identified.
#include <cstdlib>

#include "data/ConnectStrings.h"
#include "data/SqlValues.h"
#include "frame/OperationGuard.h"
#include "frame/ZorYkt.h"
#include "telmar/database.h"
#include "telmar/msgbox.h"

namespace {

constexpr const char* kNoticeCaption = "提示";
constexpr int kMemberCard = 4;

void Refuse(const char* text) { MessageBoxA(nullptr, text, kNoticeCaption, MB_ICONWARNING); }

// TRANS_CODE and STATION_ID go into the site procedure's call without
// quotes: a number, or nothing (which the database rejects, as before).
bool IsBareArgument(const CString& text) { return text.IsEmpty() || IsInt32Text(text); }

}  // namespace

int CZorYkt::Post() {
  return GuardOperation([this] { return DoPost(); });
}

int CZorYkt::DoPost() {
  const CString amount = GetParam("TRANS_AMOUNT");
  if (!CheckPostInputs(amount)) return 0;
  if (std::atoi(m_Card.AcctType) == kMemberCard && !CheckBalance()) return FALSE;

  const CString transId = CString(CardNumber()) + "," + amount + ",";
  SetParam("TRANS_TYPE", "8");
  SetParam("TRANS_ID", transId);
  CString description;
  description.Format("%s: %s: 余￥%s", m_Card.Info.Name, static_cast<LPCSTR>(m_strHolder),
                     static_cast<LPCSTR>(m_strBalance));
  SetParam("TRANS_DESCP", description);
  return RunPostingStatement(amount, transId);
}

// Refuses, before anything is written or sent, what would make a wrong or
// unsafe posting: no accepted card, an amount that is not a number, bare
// arguments that are not numbers, a card number beyond 32 bits.
int CZorYkt::CheckPostInputs(const CString& amount) {
  if (!m_bCardAccepted) {
    Refuse("未读卡,不能结帐!");  // no card read, cannot check out
    return 0;
  }
  if (!IsDecimalText(amount)) {
    Refuse("结帐金额错误,不能结帐!");  // wrong amount
    return 0;
  }
  if (GetParam("JIEKOUTRANS") == "1" && !(IsBareArgument(GetParam("TRANS_CODE")) && IsBareArgument(GetParam("STATION_ID")))) {
    Refuse("交易代码或站点号错误,不能结帐!");  // wrong transaction code or station
    return 0;
  }
  if (!IsInt32Text(CardNumber())) {
    Refuse("卡号超出范围,不能结帐!");  // card number out of range
    return 0;
  }
  return 1;
}

BOOL CZorYkt::RunPostingStatement(const CString& amount, const CString& transId) {
  CDatabase database;
  try {
    if (!database.OpenEx(kConnectHotel, 0)) {
      Refuse("数据库打开错误");
      return FALSE;
    }
    const CString siteProcedure = GetParam("JIEKOUTRANS");
    const CString transCode = GetParam("TRANS_CODE");
    const CString station = GetParam("STATION_ID");
    const int cardNumber = ReadDecimalInteger(CardNumber());
    const int guestAcct = ReadDecimalInteger(GetParam("POS_GUEST_ACCT"));
    const CString date = SqlQuoted(GetParam("DATE"));
    const CString operatorName = SqlQuoted(GetParam("OPERATOR"));
    const CString quotedTransId = SqlQuoted(transId);
    CString statement;
    if (siteProcedure == "1") {
      statement.Format("Exec vekYkt %d,'%s',%d,%s,'%s','%s',1,0,0,%s,%s", cardNumber, static_cast<LPCSTR>(date),
                       guestAcct, static_cast<LPCSTR>(amount), static_cast<LPCSTR>(quotedTransId),
                       static_cast<LPCSTR>(operatorName), static_cast<LPCSTR>(transCode),
                       static_cast<LPCSTR>(station));
    } else {
      statement.Format("Exec zorYkt %d,'%s',%d,%s,'%s','%s',1,0,0", cardNumber, static_cast<LPCSTR>(date),
                       guestAcct, static_cast<LPCSTR>(amount), static_cast<LPCSTR>(quotedTransId),
                       static_cast<LPCSTR>(operatorName));
    }
    database.SetQueryTimeout(300);
    database.ExecuteSQL(statement);
    database.Close();
    m_strBalance.TrimLeft();
    m_strBalance.TrimRight();
    if (std::atoi(m_Card.AcctType) == kMemberCard) ShowBalance(amount);
  } catch (CException* e) {
    e->ReportError(MB_OK, 0);
    e->Delete();
    MessageBoxA(nullptr, "一卡通传帐失败", kNoticeCaption, MB_ICONHAND);
    return FALSE;
  }
  return TRUE;
}

// Post: charge the bill to the account that ReadCard identified.
#include <cstdlib>

#include "data/ConnectStrings.h"
#include "data/SqlValues.h"
#include "frame/Notices.h"
#include "frame/OperationGuard.h"
#include "frame/ZorYkt.h"
#include "telmar/database.h"

// What the host gave for this posting, read once.
struct PostingInputs {
  CString amount;         // TRANS_AMOUNT, exactly as given
  CString siteProcedure;  // JIEKOUTRANS
  CString transCode;      // TRANS_CODE
  CString station;        // STATION_ID
  CString guestAcct;      // POS_GUEST_ACCT
  CString date;           // DATE
  CString operatorName;   // OPERATOR
};

namespace {

constexpr int kMemberCard = 4;

// TRANS_CODE and STATION_ID go into the site procedure's call without
// quotes: a number, or nothing (which the database rejects, as before).
bool IsBareArgument(const CString& text) { return text.IsEmpty() || IsInt32Text(text); }

bool UsesSiteProcedure(const PostingInputs& inputs) { return inputs.siteProcedure == "1"; }

CString PostingStatement(const PostingInputs& inputs, const char* cardNumber, const CString& transId) {
  const int card = ReadDecimalInteger(cardNumber);
  const int guestAcct = ReadDecimalInteger(inputs.guestAcct);
  const CString date = SqlQuoted(inputs.date);
  const CString operatorName = SqlQuoted(inputs.operatorName);
  const CString quotedTransId = SqlQuoted(transId);
  CString statement;
  if (UsesSiteProcedure(inputs)) {
    statement.Format("Exec vekYkt %d,'%s',%d,%s,'%s','%s',1,0,0,%s,%s", card, static_cast<LPCSTR>(date), guestAcct,
                     static_cast<LPCSTR>(inputs.amount), static_cast<LPCSTR>(quotedTransId),
                     static_cast<LPCSTR>(operatorName), static_cast<LPCSTR>(inputs.transCode),
                     static_cast<LPCSTR>(inputs.station));
  } else {
    statement.Format("Exec zorYkt %d,'%s',%d,%s,'%s','%s',1,0,0", card, static_cast<LPCSTR>(date), guestAcct,
                     static_cast<LPCSTR>(inputs.amount), static_cast<LPCSTR>(quotedTransId),
                     static_cast<LPCSTR>(operatorName));
  }
  return statement;
}

}  // namespace

int CZorYkt::Post() {
  return GuardOperation([this] { return DoPost(); });
}

int CZorYkt::DoPost() {
  const PostingInputs inputs{GetParam("TRANS_AMOUNT"), GetParam("JIEKOUTRANS"), GetParam("TRANS_CODE"),
                             GetParam("STATION_ID"),   GetParam("POS_GUEST_ACCT"), GetParam("DATE"),
                             GetParam("OPERATOR")};
  if (!CheckPostInputs(inputs)) return 0;
  if (std::atoi(m_Card.AcctType) == kMemberCard && !CheckBalance()) return FALSE;

  const CString transId = CString(CardNumber()) + "," + inputs.amount + ",";
  SetParam("TRANS_TYPE", "8");
  SetParam("TRANS_ID", transId);
  CString description;
  description.Format("%s: %s: 余￥%s", m_Card.Info.Name, static_cast<LPCSTR>(m_strHolder),
                     static_cast<LPCSTR>(m_strBalance));
  SetParam("TRANS_DESCP", description);
  return RunPostingStatement(inputs, transId);
}

// Refuses, before anything is written or sent, what would make a wrong or
// unsafe posting: no accepted card, an amount that is not a number, bare
// arguments that are not numbers, a card number beyond 32 bits.
int CZorYkt::CheckPostInputs(const PostingInputs& inputs) {
  const char* refusal = nullptr;
  if (!m_bCardAccepted) {
    refusal = "未读卡,不能结帐!";  // no card read, cannot check out
  } else if (!IsDecimalText(inputs.amount)) {
    refusal = "结帐金额错误,不能结帐!";  // wrong amount
  } else if (UsesSiteProcedure(inputs) && !(IsBareArgument(inputs.transCode) && IsBareArgument(inputs.station))) {
    refusal = "交易代码或站点号错误,不能结帐!";  // wrong transaction code or station
  } else if (!IsInt32Text(CardNumber())) {
    refusal = "卡号超出范围,不能结帐!";  // card number out of range
  }
  if (refusal) Notice(refusal);
  return refusal ? 0 : 1;
}

BOOL CZorYkt::RunPostingStatement(const PostingInputs& inputs, const CString& transId) {
  CDatabase database;
  try {
    if (!database.OpenEx(kConnectHotel, 0)) {
      Notice(kDatabaseOpenError);
      return FALSE;
    }
    database.SetQueryTimeout(300);
    database.ExecuteSQL(PostingStatement(inputs, CardNumber(), transId));
    database.Close();
    m_strBalance.TrimLeft();
    m_strBalance.TrimRight();
    if (std::atoi(m_Card.AcctType) == kMemberCard) ShowBalance(inputs.amount);
  } catch (CException* e) {
    return ReportSettlementFailure(e, "一卡通传帐失败");
  }
  return TRUE;
}

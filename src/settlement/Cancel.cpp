// CanCancel and Cancel: undo a posting by its identifier.
#include <cstdlib>

#include "data/ConnectStrings.h"
#include "data/FixedField.h"
#include "data/SqlValues.h"
#include "frame/Notices.h"
#include "frame/OperationGuard.h"
#include "frame/ZorYkt.h"
#include "telmar/database.h"
#include "telmar/msgbox.h"

namespace {

// The identifier is "card,amount,": the first field before the first comma,
// the second between the first and the second. Without the commas that
// mark a field, the field is empty.
void SplitTransId(const CString& transId, CString& first, CString& second) {
  const int comma = transId.Find(',');
  first = comma < 0 ? CString() : transId.Left(comma);
  const CString rest = comma < 0 ? transId : transId.Mid(comma + 1);
  const int nextComma = rest.Find(',');
  second = nextComma < 0 ? CString() : rest.Left(nextComma);
}

}  // namespace

int CZorYkt::CanCancel() {
  return GuardOperation([this] { return DoCanCancel(); });
}

int CZorYkt::Cancel() {
  return GuardOperation([this] { return DoCancel(); });
}

int CZorYkt::DoCanCancel() {
  if (!IsParamSet("TRANS_TYPE") || !IsParamSet("OPERATOR") || !IsParamSet("TRANS_ID")) return FALSE;
  m_strTransId = GetParam("TRANS_ID");
  CString cardNo, transNo;
  SplitTransId(m_strTransId, cardNo, transNo);
  CopyField(m_Card.CardNo, cardNo);
  CopyField(m_Card.TransNo, transNo);

  CDatabase database;
  try {
    // Without a connection there is nothing to ask; never query a closed one.
    if (!database.OpenEx(kConnectYktCancelCheck, 0)) {
      AfxMessageBox(kDatabaseOpenError, MB_OK);
      return FALSE;
    }
  } catch (CDBException* e) {
    e->ReportError(MB_OK, 0);
    e->Delete();
    AfxMessageBox("打开数据库失败!", MB_OK);
    return FALSE;
  }
  CString statement;
  statement.Format("Select TRANS_ID from yktpaydetail where TRANS_ID='%s' and cancel=1",
                   static_cast<LPCSTR>(SqlQuoted(m_strTransId)));
  CRecordset cancelled(&database);
  try {
    cancelled.Open(CRecordset::snapshot, statement, CRecordset::none);
  } catch (CDBException* e) {
    e->ReportError(MB_OK, 0);
    e->Delete();
    database.Close();
    return FALSE;
  }
  const BOOL result = cancelled.GetRecordCount() > 0 ? FALSE : TRUE;
  cancelled.Close();
  database.Close();
  return result;
}

int CZorYkt::DoCancel() {
  BOOL result = TRUE;
  CDatabase database;
  try {
    if (!database.OpenEx(kConnectHotel, 0)) {
      Notice(kDatabaseOpenError);
      return FALSE;
    }
    CString statement;
    statement.Format("Exec zorYkt 1,'1',1,1,'%s','ss',1,1,0", static_cast<LPCSTR>(SqlQuoted(m_strTransId)));
    database.SetQueryTimeout(300);
    database.ExecuteSQL(statement);
    database.Close();
    if (std::atoi(GetParam("TRANS_TYPE")) == 4) result = ShowBalance("-" + CString(m_Card.TransNo));
  } catch (CException* e) {
    return ReportSettlementFailure(e, "一卡通取消结帐失败");
  }
  return result;
}

// The account lookups: read the account behind the card, fill the display
// record, and let the operator confirm it in the account dialog.
#include <cstdlib>

#include "data/ConnectStrings.h"
#include "data/FixedField.h"
#include "data/RecordsetStep.h"
#include "frame/Notices.h"
#include "frame/ZorYkt.h"
#include "telmar/database.h"
#include "telmar/msgbox.h"
#include "ui/ShowDlg.h"

// One profile table: where it lives, its statement, which column goes into
// which box (in the order they are copied), and its row test.
struct ProfileLookup {
  const char* connect;
  const char* statementFormat;
  const char* nameColumn;
  const char* addrColumn;
  const char* balanceColumn;
  const char* phoneColumn;
  const char* disCodeColumn;
  const char* limitColumn;
  bool countsRows;  // row test GetRecordCount() > 0 rather than not (IsBOF and IsEOF)
};

namespace {

const ProfileLookup kGuestLookup = {
    kConnectHotel,
    "select ChnName,Sex,Address,Poscode,Phone,Pasprt,Fax,Balance,Status from GstProfile where Acct=%d",
    "ChnName", "Address", "Poscode", "Phone", "Pasprt", "Fax", true};

const ProfileLookup kGroupLookup = {
    kConnectHotelAccounts,
    "select Name,Addr,ContName,Zip,Phone,Fax,Balance,Status from GrpProfile where Acct=%d",
    "Name", "Addr", "Zip", "Phone", "ContName", "Fax", false};

const ProfileLookup kTravelAgentLookup = {
    kConnectHotelAccounts,
    "select TaName,Addr,Contact,Zip,Phone,Fax,Balance,Status from Tamain where Acct=%d",
    "TaName", "Addr", "Zip", "Phone", "Contact", "Fax", false};

bool HasRow(CRecordset& result, bool countsRows) {
  return countsRows ? result.GetRecordCount() > 0 : !(result.IsBOF() && result.IsEOF());
}

template <std::size_t N>
void CopyColumn(CRecordset& result, const char* column, char (&field)[N]) {
  CString value;
  result.GetFieldValue(column, value);
  CopyField(field, value);
}

}  // namespace

int CZorYkt::ShowGstAcct() { return ShowProfileAcct(kGuestLookup); }
int CZorYkt::ShowGrpAcct() { return ShowProfileAcct(kGroupLookup); }
int CZorYkt::ShowTaAcct() { return ShowProfileAcct(kTravelAgentLookup); }

void CZorYkt::PrepareDisplayRecord() {
  ACCTINFO& info = m_Card.Info;
  info.ShowAcct = m_Card.Acct;
  info.Name[0] = '\0';
  info.Addr[0] = '\0';
  info.Balance[0] = '\0';
  info.Phone[0] = '\0';
  info.DisCode[0] = '\0';
  info.Limit[0] = '\0';
  info.ShowStatus = 0;
}

int CZorYkt::ShowProfileAcct(const ProfileLookup& lookup) {
  PrepareDisplayRecord();
  CDatabase database;
  if (!database.OpenEx(lookup.connect, 0)) {
    AfxMessageBox(kDatabaseOpenError, MB_ICONHAND);
    return 0;
  }
  CString statement;
  statement.Format(lookup.statementFormat, static_cast<int>(m_Card.Acct));
  CRecordset profile(&database);
  if (!OpenSnapshotOrReport(profile, statement, MB_ICONHAND)) {
    database.Close();
    return 0;
  }
  if (HasRow(profile, lookup.countsRows)) {
    profile.MoveFirst();
    ACCTINFO& info = m_Card.Info;
    CopyColumn(profile, lookup.nameColumn, info.Name);
    CopyColumn(profile, lookup.addrColumn, info.Addr);
    CopyColumn(profile, lookup.balanceColumn, info.Balance);
    CopyColumn(profile, lookup.phoneColumn, info.Phone);
    CopyColumn(profile, lookup.disCodeColumn, info.DisCode);
    CopyColumn(profile, lookup.limitColumn, info.Limit);
    CString status;
    profile.GetFieldValue("Status", status);
    info.ShowStatus = static_cast<signed char>(std::atoi(status) & 0xFF);
  }
  profile.Close();
  database.Close();
  return ShowAccountDialog(false);
}

int CZorYkt::ShowAccountDialog(bool withRemark) {
  CShowDlg dialog(nullptr);
  dialog.m_Info = m_Card.Info;
  CopyField(dialog.m_Info.ShowType, m_Card.AcctType);
  if (!withRemark) dialog.m_Info.Remark[0] = '\0';
  return dialog.DoModal() == IDOK ? 1 : 0;
}

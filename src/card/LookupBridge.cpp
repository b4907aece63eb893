// LookupBridge: from the card number to the account behind the card, the
// card's current status, and this station's discount code.
#include <cstdio>

#include "data/CardRet.h"
#include "data/ConnectStrings.h"
#include "data/FixedField.h"
#include "data/RecordsetStep.h"
#include "data/SqlValues.h"
#include "data/YktBdgRet.h"
#include "frame/Notices.h"
#include "frame/ZorYkt.h"
#include "telmar/msgbox.h"

namespace {

// The low byte of a stored status, as the working record keeps it.
signed char StatusByte(int status) { return static_cast<signed char>(status & 0xFF); }

}  // namespace

int CZorYkt::LookupBridge() {
  if (!ReadBridgeRow()) return 0;
  if (!ReadMemberCardStatus()) return 0;
  return ReadStationDiscount();
}

int CZorYkt::ReadBridgeRow() {
  CString statement;
  statement.Format("Select * from YKT_BRIDGE where CardNo=%s", CardNumber());
  statement.TrimLeft();
  statement.TrimRight();
  YktBdgRet bridge;
  if (!OpenSnapshotOrReport(bridge, statement, MB_ICONHAND)) return 0;
  if (!bridge.IsEOF()) {
    // A PIN that does not fit its field would be checked cut short, so such
    // a card is refused rather than accepted on part of its PIN.
    if (bridge.m_Password.GetLength() >= static_cast<int>(sizeof m_Card.Password)) {
      AfxMessageBox("卡密码数据错误,不能使用!", MB_ICONHAND);
      return 0;
    }
    CopyField(m_Card.Password, bridge.m_Password);
    // Only a one-digit type is an account type; any other leaves the field
    // empty, which no account type matches.
    if (bridge.m_AcctType >= 0 && bridge.m_AcctType <= 9) {
      std::snprintf(m_Card.AcctType, sizeof m_Card.AcctType, "%d", bridge.m_AcctType);
    }
    m_Card.Status = StatusByte(bridge.m_Status);
    m_Card.Acct = bridge.m_Acct;
  }
  bridge.Close();
  return 1;
}

int CZorYkt::ReadMemberCardStatus() {
  CCardRet card;
  if (!OpenMemberCard(card)) return 0;
  if (card.GetRecordCount() > 0) {
    card.MoveFirst();
    m_Card.Status = StatusByte(card.m_Status);
  }
  card.Close();
  return 1;
}

int CZorYkt::ReadStationDiscount() {
  CDatabase database;
  if (!database.OpenEx(kConnectYkt, 0)) {
    AfxMessageBox(kDatabaseOpenError, MB_ICONHAND);
    return 0;
  }
  const CString station = GetParam("STATION_ID");
  // The station goes into the statement without quotes, so only a number
  // may go there; anything else fails the step as a rejected statement would.
  if (!IsInt32Text(station)) {
    CString message;
    message.Format("站点号错误: '%s'", static_cast<LPCSTR>(station));  // wrong station number
    AfxMessageBox(message, MB_ICONHAND);
    database.Close();
    return 0;
  }
  CString statement;
  statement.Format("select Code from CardDiscount where CardNo='%s' and PosID=%s",
                   static_cast<LPCSTR>(SqlQuoted(CardNumber())), static_cast<LPCSTR>(station));
  CRecordset discounts(&database);
  if (!OpenSnapshotOrReport(discounts, statement, MB_ICONHAND)) {
    database.Close();
    return 0;
  }
  bool codeRead = false;
  CString code;
  if (!(discounts.IsBOF() && discounts.IsEOF())) {
    discounts.MoveFirst();
    discounts.GetFieldValue("Code", code);
    SetParam("DIS_CODE", code);
    codeRead = true;
  }
  discounts.Close();
  database.Close();
  if (codeRead && code == "NOYKT") {
    AfxMessageBox("该客人不能在本站点用一卡通签单!", MB_ICONHAND);
    return 0;
  }
  return 1;
}

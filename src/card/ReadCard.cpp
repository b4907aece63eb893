// ReadCard: read the card, make sure it is this hotel's one-card, resolve
// its account, take the PIN, and show the account for the operator.
#include <cstdlib>
#include <cstring>

#include "card/CardDriver.h"
#include "data/ConnectStrings.h"
#include "data/FixedField.h"
#include "data/RecordsetStep.h"
#include "data/SqlValues.h"
#include "frame/Notices.h"
#include "frame/OperationGuard.h"
#include "frame/ZorYkt.h"
#include "telmar/database.h"
#include "telmar/msgbox.h"

namespace {

constexpr const char* kCardDataError = "卡数据错误,不能使用!";  // card data error, cannot be used

// Is there a NUL in buffer[first..last]?
bool HasTerminator(const char* buffer, int first, int last) {
  return std::memchr(buffer + first, '\0', static_cast<std::size_t>(last - first + 1)) != nullptr;
}

}  // namespace

int CZorYkt::ReadCard() {
  m_bCardAccepted = false;
  const int result = GuardOperation([this] { return DoReadCard(); });
  m_bCardAccepted = result != 0;
  return result;
}

int CZorYkt::DoReadCard() {
  if (!ReadLocalAgent()) return 0;

  char driverName[kDriverNameSize];
  ReadDriverName(driverName);

  // A driver that fills only part of the buffer must not leave the last
  // card's fields behind.
  std::memset(m_pCardData, 0, kCardDataSize);
  if (!ReadCardWithDriver(driverName, m_pCardData)) return 0;
  if (!CheckCardData()) return 0;

  CopyField(m_Card.CardNo, CardNumber());
  CopyField(m_Card.Agent, m_pCardData + kCardAgentOffset);

  ClearBridgeFields();
  if (!LookupBridge()) return 0;

  if (!CheckPinWithDriver(driverName, m_Card.Password)) return 0;
  if (m_Card.Status != 1) {
    Notice("此卡不能使用,已被挂失删除或冻结!");
    return 0;
  }
  return DispatchOnAccountType();
}

int CZorYkt::ReadLocalAgent() {
  CDatabase database;
  if (!database.OpenEx(kConnectYkt, 0)) {
    AfxMessageBox(kDatabaseOpenError, MB_ICONEXCLAMATION);
    return 0;
  }
  m_strAgent.Empty();
  CRecordset agents(&database);
  if (!OpenSnapshotOrReport(agents, "select Agent from LOCAL_AGENT", MB_ICONEXCLAMATION)) {
    database.Close();
    return 0;
  }
  if (!(agents.IsBOF() && agents.IsEOF())) {
    agents.MoveFirst();
    agents.GetFieldValue("Agent", m_strAgent);
  }
  agents.Close();
  database.Close();
  return 1;
}

// The hotel check comes before the kind check. Fields that are not
// terminated where they must be, and card numbers that are not 1 to 25
// digits, are refused before any of them is read or put into a statement.
int CZorYkt::CheckCardData() {
  const bool wellFormed = m_pCardData[kCardKindOffset + 1] == '\0' &&
                          HasTerminator(m_pCardData, kCardAgentOffset, kCardNumberOffset - 1) &&
                          HasTerminator(m_pCardData, kCardNumberOffset, kCardDataSize - 1);
  if (!wellFormed) {
    Notice(kCardDataError);
    return 0;
  }
  if (m_strAgent != m_pCardData + kCardAgentOffset) {
    Notice("非本酒店卡,不能使用!");
    return 0;
  }
  if (std::atoi(m_pCardData + kCardKindOffset) != 0) {
    Notice("非酒店一卡通,不能使用!");
    return 0;
  }
  if (!IsCardNumberText(CardNumber())) {
    Notice(kCardDataError);
    return 0;
  }
  return 1;
}

// Nothing of an earlier card may decide about this one: a card without a
// bridge row finds an empty PIN, status 0 and no account type.
void CZorYkt::ClearBridgeFields() {
  m_Card.AcctType[0] = '\0';
  m_Card.Password[0] = '\0';
  m_Card.Status = 0;
  m_Card.Acct = 0;
}

int CZorYkt::DispatchOnAccountType() {
  switch (std::atoi(m_Card.AcctType)) {
    case 1:
      return ShowGstAcct();
    case 2:
      return ShowGrpAcct();
    case 3:
      return ShowTaAcct();
    case 4:
      return ShowMemberCard();
    default:
      return 0;
  }
}

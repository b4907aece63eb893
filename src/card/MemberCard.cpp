// ShowMemberCard: a stored-value card's account from SavingsCard.
#include <cstdlib>

#include "data/CardRet.h"
#include "data/FixedField.h"
#include "data/RecordsetStep.h"
#include "data/SqlValues.h"
#include "frame/ZorYkt.h"

// The card's SavingsCard row, read by its number as text. A failed open is
// shown in a warning box and the record set closed.
int CZorYkt::OpenMemberCard(CCardRet& card) {
  CString statement;
  statement.Format("select * from SavingsCard where CardID='%s'", static_cast<LPCSTR>(SqlQuoted(CardNumber())));
  if (OpenSnapshotOrReport(card, statement, MB_ICONEXCLAMATION)) return 1;
  card.Close();
  return 0;
}

int CZorYkt::ShowMemberCard() {
  PrepareDisplayRecord();
  m_Card.Info.Remark[0] = '\0';

  CCardRet card;
  if (!OpenMemberCard(card)) return 0;
  if (card.GetRecordCount() > 0) {
    card.MoveFirst();
    ACCTINFO& info = m_Card.Info;
    CopyField(info.Name, card.m_Name == "" ? card.m_Company : card.m_Name);
    CopyField(info.Addr, card.m_Addr);
    CopyField(info.Balance, card.m_Surplus);
    CopyField(info.Phone, card.m_Phone);
    CopyField(info.DisCode, GetParam("DIS_CODE"));
    CopyField(info.Limit, card.m_Quota);
    CopyField(info.Remark, card.m_Comment);
    info.ShowStatus = static_cast<signed char>(card.m_Status & 0xFF);
    m_strBalance = card.m_Surplus;
    CString maxAmount;
    maxAmount.Format("%.2f", std::atof(card.m_Surplus) + std::atof(card.m_Quota));
    SetParam("MAX_AMOUNT", maxAmount);
    m_strHolder = card.m_Company;
  }
  card.Close();
  return ShowAccountDialog(true);
}

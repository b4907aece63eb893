// The balance test before a member-card charge and the balance message after.
#include <cstdlib>

#include "frame/Notices.h"
#include "frame/ZorYkt.h"

// The amount is taken at single precision and the sums made in double, as
// the checkout has always done: one cent of tolerance below zero.
BOOL CZorYkt::CheckBalance() {
  const float amount = static_cast<float>(std::atof(GetParam("TRANS_AMOUNT")));
  const double balance = std::atof(m_Card.Info.Balance);
  const double limit = std::atof(m_Card.Info.Limit);
  if ((limit + balance) - amount < -0.01) {
    CString message;
    message.Format("对不起,客人余额为 %12.2f 元, 差额 %12.2f 元 ,本次结账不足!", balance, amount - balance);
    Notice(message);
    return FALSE;
  }
  m_strBalance.Format("%.2f", balance - amount);
  return TRUE;
}

BOOL CZorYkt::ShowBalance(CString amount) {
  if (amount.GetLength() > 0 && amount[0] == '-') return TRUE;
  Notice("会员卡内余额为 " + m_strBalance + " 元.", MB_OK);
  return TRUE;
}

#include "ui/ShowDlg.h"

#include <cstdlib>

namespace {

// The title names the kind of account; an unknown kind gets no title.
LPCSTR TitleForAccountType(int accountType) {
  switch (accountType) {
    case 1: return "客人信息浏览";
    case 2: return "团体客人信息浏览";
    case 3: return "特殊帐户浏览";
    case 4: return "应收帐户信息浏览";
    default: return "";
  }
}

}  // namespace

CShowDlg::CShowDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CShowDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CShowDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(TitleForAccountType(std::atoi(m_Info.ShowType)));
  SetDlgItemText(IDC_NAME, m_Info.Name);
  SetDlgItemText(IDC_ADDR, m_Info.Addr);
  SetDlgItemText(IDC_BALANCE, m_Info.Balance);
  SetDlgItemText(IDC_LIMIT, m_Info.Limit);
  SetDlgItemText(IDC_PHONE, m_Info.Phone);
  SetDlgItemText(IDC_DISCODE, m_Info.DisCode);
  SetDlgItemText(IDC_REMARK, m_Info.Remark);
  return TRUE;
}

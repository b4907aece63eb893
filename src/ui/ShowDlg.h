// The account dialog: shows the account behind a card for the operator to
// accept (OK) or refuse (Cancel). It only shows; nothing flows back.
#pragma once

#include "frame/ZorYkt.h"
#include "telmar/dialog.h"
#include "ui/resource_ids.h"

class CShowDlg : public CDialog {
 public:
  enum { IDD = IDD_SHOWDLG };

  explicit CShowDlg(CWnd* pParent = nullptr);

  // Filled by the caller, every text NUL-terminated, before DoModal.
  ACCTINFO m_Info;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
};

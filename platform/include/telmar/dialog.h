// Modal dialogs built from a template found in the module chain.
#pragma once

#include <string>
#include <vector>

#include "telmar/cstring.h"
#include "telmar/resource.h"

class CWnd {
 public:
  virtual ~CWnd() = default;
};

// Data exchange between controls and members; the module's dialog binds
// nothing, so it carries no state.
class CDataExchange {};

class AFX_EXT_CLASS CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Finds the template, runs OnInitDialog and hands the dialog to the user
  // interface. IDOK, IDCANCEL, or -1 when the template is not found or the
  // dialog cannot be created.
  virtual int DoModal();

  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* pDX);

  void SetWindowText(LPCSTR text);
  void SetDlgItemText(int nID, LPCSTR text);

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  const DialogTemplate* m_template = nullptr;
  std::string m_title;
  std::vector<std::string> m_itemTexts;
};

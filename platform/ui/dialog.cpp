#include "telmar/dialog.h"

#include "telmar/extmodule.h"
#include "ui/active_ui.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
  m_template = telmar::FindDialogTemplate(m_nIDTemplate);
  if (!m_template) return -1;
  m_title = m_template->caption ? m_template->caption : "";
  m_itemTexts.clear();
  for (int i = 0; i < m_template->itemCount; ++i) {
    LPCSTR text = m_template->items[i].text;
    m_itemTexts.emplace_back(text ? text : "");
  }
  OnInitDialog();
  const telmar::DialogView view{m_template, m_title, m_itemTexts};
  // The window is gone once the operator has answered.
  m_template = nullptr;
  const int result = telmar::ActiveUserInterface()->RunModalDialog(view);
  return result == IDOK || result == IDCANCEL ? result : -1;
}

BOOL CDialog::OnInitDialog() {
  CDataExchange exchange;
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

void CDialog::SetWindowText(LPCSTR text) {
  if (m_template) m_title = text ? text : "";
}

// Like the dialog manager, the first control with the id; none, nothing.
void CDialog::SetDlgItemText(int nID, LPCSTR text) {
  if (!m_template) return;
  for (int i = 0; i < m_template->itemCount; ++i) {
    if (m_template->items[i].id != nID) continue;
    m_itemTexts[static_cast<std::size_t>(i)] = text ? text : "";
    return;
  }
}

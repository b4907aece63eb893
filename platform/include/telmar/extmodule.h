// Extension modules: a module that joins the process's chain of modules in
// which resources (dialog templates) are looked up.
#pragma once

#include "telmar/resource.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HINSTANCE hModule = nullptr;
  HINSTANCE hResource = nullptr;
};

AFX_EXT_CLASS BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE instance);
AFX_EXT_CLASS void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Membership of one module in the chain. Created on the heap at attach; from
// then on the chain owns it and AfxTermExtensionModule removes and frees it.
class AFX_EXT_CLASS CDynLinkLibrary {
 public:
  CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HINSTANCE m_hModule;
  HINSTANCE m_hResource;
  BOOL m_bSystem;
};

namespace telmar {
// Looks a dialog template up in the chain, most recently joined module first.
AFX_EXT_CLASS const DialogTemplate* FindDialogTemplate(UINT id);
// Number of modules now in the chain (for diagnostics and tests).
AFX_EXT_CLASS int ModuleChainLength();
}  // namespace telmar

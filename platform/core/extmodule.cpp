#include "telmar/extmodule.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

std::mutex g_chainMutex;
// Most recently joined module last; lookups walk it backwards.
std::vector<CDynLinkLibrary*>& Chain() {
  static std::vector<CDynLinkLibrary*> chain;
  return chain;
}

const DialogTemplate* FindIn(HINSTANCE handle, UINT id) {
  const auto* instance = static_cast<const TelmarModuleInstance*>(handle);
  if (!instance || !instance->resources) return nullptr;
  const ResourceTable& table = *instance->resources;
  for (int i = 0; i < table.dialogCount; ++i) {
    if (table.dialogs[i] && table.dialogs[i]->id == id) return table.dialogs[i];
  }
  return nullptr;
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE instance) {
  if (!instance) return FALSE;
  state.hModule = instance;
  state.hResource = instance;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*bAll*/) {
  std::vector<CDynLinkLibrary*> leaving;
  {
    std::lock_guard<std::mutex> lock(g_chainMutex);
    for (CDynLinkLibrary* link : Chain()) {
      if (link->m_hModule == state.hModule) leaving.push_back(link);
    }
  }
  for (CDynLinkLibrary* link : leaving) delete link;
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  Chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  auto& chain = Chain();
  chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

namespace telmar {

const DialogTemplate* FindDialogTemplate(UINT id) {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  const auto& chain = Chain();
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (const DialogTemplate* found = FindIn((*it)->m_hResource, id)) return found;
  }
  return nullptr;
}

int ModuleChainLength() {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  return static_cast<int>(Chain().size());
}

}  // namespace telmar

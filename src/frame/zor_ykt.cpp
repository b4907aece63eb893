// Module entry and the two exports of the plug-in library.
#include <new>

#include "ZorYkt.h"
#include "telmar/extmodule.h"
#include "telmar/trace.h"

extern const ResourceTable g_zorYktResources;

namespace {

AFX_EXTENSION_MODULE ZorYktDLL;
TelmarModuleInstance g_zorYktInstance = {"zor_ykt", &g_zorYktResources};
bool g_attached = false;

BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, void* /*reserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    AfxTrace("%s", "ZOR_YKT.DLL Initializing!\n");
    if (!AfxInitExtensionModule(ZorYktDLL, hInstance)) return 0;
    new CDynLinkLibrary(ZorYktDLL, FALSE);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    AfxTrace("%s", "ZOR_YKT.DLL Terminating!\n");
    AfxTermExtensionModule(ZorYktDLL, FALSE);
  }
  return 1;
}

// The loader runs these when the library is loaded and unloaded. A failed
// attach cannot fail dlopen here, so it leaves the factory without objects.
__attribute__((constructor)) void AttachModule() {
  g_attached = DllMain(&g_zorYktInstance, DLL_PROCESS_ATTACH, nullptr) != 0;
}
__attribute__((destructor)) void DetachModule() { DllMain(&g_zorYktInstance, DLL_PROCESS_DETACH, nullptr); }

}  // namespace

// Everything else stays inside the library (hidden by default, and the
// linker's version script lets only these two names out).
#define ZOR_EXPORT extern "C" __attribute__((visibility("default")))

ZOR_EXPORT ZORBASE* GetZORObject() {
  if (!g_attached) return nullptr;
  try {
    return new CZorYkt;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ZOR_EXPORT void VersionExport(CString& version, CString& date, CString& fileName) {
  version = "2.0";
  date = "01/11/2001";
  fileName = "zor_ykt.dll";
}

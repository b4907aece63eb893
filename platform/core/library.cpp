#include "telmar/library.h"

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>

#include <string>

#include "telmar/site.h"

namespace {

thread_local std::string t_lastError;

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string SharedObjectName(const std::string& name) {
  const std::size_t n = name.size();
  if (n > 4 && strcasecmp(name.c_str() + n - 4, ".dll") == 0) return name.substr(0, n - 4) + ".so";
  return name;
}

std::string PlatformLibraryDirectory() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&AfxLoadLibrary), &info) || !info.dli_fname) return std::string();
  const std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ResolveLibraryPath(const std::string& fileName) {
  if (fileName.find('/') != std::string::npos) return fileName;
  const std::string name = SharedObjectName(fileName);
  for (const std::string& directory : {telmar::SiteDirectory(), PlatformLibraryDirectory()}) {
    if (!directory.empty() && FileExists(directory + "/" + name)) return directory + "/" + name;
  }
  return name;  // left to the loader's own search
}

}  // namespace

// RTLD_NOW: a library with a missing symbol fails here, not in the middle of
// a payment.
HMODULE AfxLoadLibrary(LPCSTR fileName) {
  if (!fileName || !*fileName) {
    t_lastError = "no library name";
    return nullptr;
  }
  void* handle = dlopen(ResolveLibraryPath(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) t_lastError = dlerror();
  return handle;
}

BOOL AfxFreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? TRUE : FALSE; }

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  if (!module || !procName) return nullptr;
  dlerror();
  void* symbol = dlsym(module, procName);
  if (!symbol) {
    const char* error = dlerror();
    t_lastError = error ? error : std::string("symbol not found: ") + procName;
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

namespace telmar {
std::string LastLibraryError() { return t_lastError; }
}  // namespace telmar

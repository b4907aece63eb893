// Run-time loading of shared libraries (dlopen). A name with a '/' is used as
// given. A bare name is looked up first in the site directory, then in the
// directory of the platform library (the build's or installation's lib/);
// a bare name ending in ".dll" (any case) stands for the same name with
// ".so" there, so that configurations keep the names they always had.
#pragma once

#include <string>

#include "telmar/wintypes.h"

AFX_EXT_CLASS HMODULE AfxLoadLibrary(LPCSTR fileName);
AFX_EXT_CLASS BOOL AfxFreeLibrary(HMODULE module);
AFX_EXT_CLASS FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

namespace telmar {
// The dlerror() text of the last failed AfxLoadLibrary or GetProcAddress
// on this thread, for messages and logs.
AFX_EXT_CLASS std::string LastLibraryError();
}  // namespace telmar

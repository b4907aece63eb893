// Profile (.ini) files. A bare file name is looked up in the site directory,
// which plays the part of the system directory for configuration files.
#pragma once

#include "telmar/wintypes.h"

// Copies the value of `key` in `section` (or `defaultValue` when the file,
// section or key is missing) into `buffer`, cut to size - 1 bytes and NUL
// terminated; returns the number of bytes copied, terminator excluded.
AFX_EXT_CLASS DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                             LPSTR buffer, DWORD size, LPCSTR fileName);

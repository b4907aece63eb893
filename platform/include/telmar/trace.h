// Debug trace. Lines go where the environment variable TELMAR_TRACE says:
// unset or empty, nowhere; "-", standard error; anything else, a file that
// is appended to. Texts are converted from GBK to UTF-8.
#pragma once

#include "telmar/wintypes.h"

AFX_EXT_CLASS void AfxTrace(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));

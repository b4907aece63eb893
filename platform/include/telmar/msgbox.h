// Modal message boxes. They are shown through the user interface that the
// host chose (see telmar/ui.h) and return the button that closed them.
#pragma once

#include "telmar/wintypes.h"

AFX_EXT_CLASS int AfxMessageBox(LPCSTR text, UINT nType = MB_OK, UINT nIDHelp = 0);
AFX_EXT_CLASS int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags);

// Resources that a module carries: dialog templates as plain data, laid out
// like the class library's dialog templates (dialog units, styles).
#pragma once

#include "telmar/wintypes.h"

enum : DWORD {
  WS_POPUP = 0x80000000u,
  WS_CHILD = 0x40000000u,
  WS_VISIBLE = 0x10000000u,
  WS_DISABLED = 0x08000000u,
  WS_CAPTION = 0x00C00000u,
  WS_BORDER = 0x00800000u,
  WS_SYSMENU = 0x00080000u,
  WS_GROUP = 0x00020000u,
  WS_TABSTOP = 0x00010000u,
  DS_MODALFRAME = 0x00000080u,
  DS_SETFONT = 0x00000040u,
  BS_PUSHBUTTON = 0x00000000u,
  BS_DEFPUSHBUTTON = 0x00000001u,
  BS_GROUPBOX = 0x00000007u,
  SS_LEFT = 0x00000000u,
  ES_LEFT = 0x00000000u,
  ES_AUTOHSCROLL = 0x00000080u,
  WS_EX_TRANSPARENT = 0x00000020u,
};

// LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
constexpr unsigned short kLangChineseSimplified = 0x0804;

enum class DialogControlClass { Button, Static, Edit };

struct DialogItemTemplate {
  DialogControlClass controlClass;
  int id;            // -1 for controls without an id (IDC_STATIC)
  LPCSTR text;       // GBK
  short x, y, cx, cy;
  DWORD style;
  DWORD exStyle;
};

struct DialogTemplate {
  UINT id;
  unsigned short language;
  LPCSTR caption;  // GBK
  short cx, cy;
  DWORD style;
  LPCSTR fontName;
  short fontPoints;
  const DialogItemTemplate* items;
  int itemCount;
};

struct ResourceTable {
  const DialogTemplate* const* dialogs;
  int dialogCount;
};

// What a loaded module is to the platform: its name and its resources. A
// module's entry point receives a pointer to its own instance record.
struct TelmarModuleInstance {
  LPCSTR name;
  const ResourceTable* resources;
};

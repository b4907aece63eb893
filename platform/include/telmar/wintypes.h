// Basic types and constants of the class-library interface the module is
// written against, sized for Linux x86-64 with 32-bit ints and longs kept
// where stored records fix their width.
#pragma once

#include <cstddef>
#include <cstdint>

// The ODBC headers declare some of the same names (BOOL as a macro, the
// others as identical typedefs); these are written to agree with them in
// either order of inclusion.
#ifndef BOOL
typedef int BOOL;
#endif
typedef unsigned char BYTE;
typedef unsigned int UINT;
typedef unsigned int DWORD;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef signed short RETCODE;
// Stored records fix their integers at 32 bits, which `long` is not on LP64.
typedef std::int32_t LONG;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// The calling convention names of the original interfaces carry no meaning
// on x86-64 Linux, where there is one C calling convention.
#define WINAPI
#define AFXAPI
#define AFX_EXT_CLASS __attribute__((visibility("default")))

// An instance handle points at the module's TelmarModuleInstance record.
typedef void* HINSTANCE;
typedef void* HMODULE;
typedef void* HWND;
typedef void (*FARPROC)();

enum : UINT {
  MB_OK = 0x00000000u,
  MB_OKCANCEL = 0x00000001u,
  MB_ICONHAND = 0x00000010u,
  MB_ICONSTOP = MB_ICONHAND,
  MB_ICONERROR = MB_ICONHAND,
  MB_ICONQUESTION = 0x00000020u,
  MB_ICONEXCLAMATION = 0x00000030u,
  MB_ICONWARNING = MB_ICONEXCLAMATION,
  MB_ICONASTERISK = 0x00000040u,
  MB_ICONINFORMATION = MB_ICONASTERISK,
};

enum : int { IDOK = 1, IDCANCEL = 2 };

enum : DWORD {
  DLL_PROCESS_DETACH = 0,
  DLL_PROCESS_ATTACH = 1,
  DLL_THREAD_ATTACH = 2,
  DLL_THREAD_DETACH = 3,
};

#include "card/CardDriver.h"

#include <cstring>

#include "telmar/library.h"
#include "telmar/msgbox.h"
#include "telmar/profile.h"

namespace {

typedef int (*ReadCardProc)(char* cardData);
typedef int (*CheckPwdProc)(const char* password, const char* prompt);

constexpr const char* kErrorCaption = "错误提示";
constexpr const char* kReadDllError = "读卡: 调用DLL错误";
constexpr const char* kPinDllError = "IC卡DLL文件调用错误";

// Loads the driver, runs `use` with the named entry point, and releases the
// driver exactly once. A driver that does not load or lacks the entry point
// is reported with `errorText`.
template <typename Proc, typename Use>
int WithDriverEntry(const char* driverName, const char* entryName, const char* errorText, Use use) {
  HMODULE driver = AfxLoadLibrary(driverName);
  if (!driver) {
    MessageBoxA(nullptr, errorText, kErrorCaption, MB_ICONWARNING);
    return 0;
  }
  Proc entry = reinterpret_cast<Proc>(GetProcAddress(driver, entryName));
  if (!entry) {
    MessageBoxA(nullptr, errorText, kErrorCaption, MB_ICONWARNING);
    AfxFreeLibrary(driver);
    return 0;
  }
  const int result = use(entry);
  AfxFreeLibrary(driver);
  return result;
}

}  // namespace

void ReadDriverName(char (&name)[kDriverNameSize]) {
  GetPrivateProfileStringA("YKT_CFG", "Drive1", "YKTCOM.dll", name, kDriverNameSize, "ICCOM.ini");
}

int ReadCardWithDriver(const char* driverName, char* cardData) {
  return WithDriverEntry<ReadCardProc>(driverName, "ReadCardExport", kReadDllError, [cardData](ReadCardProc read) {
    return read(cardData) != 0 ? 1 : 0;
  });
}

int CheckPinWithDriver(const char* driverName, const char* password) {
  return WithDriverEntry<CheckPwdProc>(driverName, "CheckPwdExport", kPinDllError, [password](CheckPwdProc check) {
    if (check(password, "等待客人输入密码:") != 0) return 1;
    return check(password, "请客人再次输入密码:") != 0 ? 1 : 0;
  });
}

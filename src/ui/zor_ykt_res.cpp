// The plug-in's resources. The texts are GBK: this file is compiled with
// -fexec-charset=GBK. Everything here is constant data, ready before any
// load-time constructor reads it.
#include <iterator>

#include "telmar/resource.h"
#include "ui/resource_ids.h"

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFT | WS_CHILD | WS_VISIBLE | WS_GROUP;
constexpr DWORD kBox = ES_LEFT | WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kGroup = BS_GROUPBOX | WS_CHILD | WS_VISIBLE;

using C = DialogControlClass;

// The account dialog; template order is the tab order.
constexpr DialogItemTemplate kShowDlgItems[] = {
    {C::Button, IDOK, "确 定", 45, 108, 44, 17, kButton | BS_DEFPUSHBUTTON, 0},
    {C::Button, IDCANCEL, "取 消", 105, 108, 44, 17, kButton | BS_PUSHBUTTON, 0},
    {C::Static, IDC_STATIC, "姓 名:", 15, 18, 27, 10, kLabel, 0},
    {C::Static, IDC_STATIC, "地 址:", 15, 68, 27, 10, kLabel, 0},
    {C::Static, IDC_STATIC, "余 额 :", 15, 35, 27, 10, kLabel, 0},
    {C::Static, IDC_STATIC, "折扣代码:", 99, 51, 35, 10, kLabel, 0},
    {C::Static, IDC_STATIC, "电 话:", 15, 51, 27, 10, kLabel, 0},
    {C::Edit, IDC_NAME, "", 44, 16, 86, 12, kBox, 0},
    {C::Edit, IDC_ADDR, "", 44, 68, 108, 12, kBox, 0},
    {C::Edit, IDC_BALANCE, "", 44, 35, 41, 12, kBox, 0},
    {C::Edit, IDC_LIMIT, "", 139, 35, 41, 12, kBox, 0},
    {C::Edit, IDC_PHONE, "", 44, 51, 41, 12, kBox, 0},
    {C::Button, IDC_STATIC, "基本信息", 5, 3, 179, 101, kGroup, WS_EX_TRANSPARENT},
    {C::Static, IDC_STATIC, "限    额 :", 103, 35, 30, 10, kLabel, 0},
    {C::Edit, IDC_DISCODE, "", 139, 51, 41, 12, kBox, 0},
    {C::Static, IDC_STATIC, "备 注:", 15, 89, 27, 13, kLabel, 0},
    {C::Edit, IDC_REMARK, "", 43, 86, 110, 13, kBox, 0},
};

constexpr DialogTemplate kShowDlg = {
    IDD_SHOWDLG,
    kLangChineseSimplified,
    "帐户信息",
    191,
    132,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    "System",
    10,
    kShowDlgItems,
    static_cast<int>(std::size(kShowDlgItems)),
};

constexpr const DialogTemplate* kDialogs[] = {&kShowDlg};

}  // namespace

extern const ResourceTable g_zorYktResources;
constexpr ResourceTable g_zorYktResources = {kDialogs, static_cast<int>(std::size(kDialogs))};

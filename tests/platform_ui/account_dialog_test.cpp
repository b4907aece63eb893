// The plug-in's account dialog: template 129 as the module carries it, and
// what CShowDlg puts into it.
#include <cstring>

#include "telmar/extmodule.h"
#include "ui/ShowDlg.h"
#include "ui_log_fixture.h"

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFT | WS_CHILD | WS_VISIBLE | WS_GROUP;
constexpr DWORD kBox = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kGroup = BS_GROUPBOX | WS_CHILD | WS_VISIBLE;

struct ExpectedItem {
  DialogControlClass controlClass;
  int id;
  const char* text;
  short x, y, cx, cy;
  DWORD style;
  DWORD exStyle;
};

using C = DialogControlClass;
const ExpectedItem kExpectedItems[] = {
    {C::Button, 1, "确 定", 45, 108, 44, 17, kButton | BS_DEFPUSHBUTTON, 0},
    {C::Button, 2, "取 消", 105, 108, 44, 17, kButton, 0},
    {C::Static, -1, "姓 名:", 15, 18, 27, 10, kLabel, 0},
    {C::Static, -1, "地 址:", 15, 68, 27, 10, kLabel, 0},
    {C::Static, -1, "余 额 :", 15, 35, 27, 10, kLabel, 0},
    {C::Static, -1, "折扣代码:", 99, 51, 35, 10, kLabel, 0},
    {C::Static, -1, "电 话:", 15, 51, 27, 10, kLabel, 0},
    {C::Edit, 1000, "", 44, 16, 86, 12, kBox, 0},
    {C::Edit, 1001, "", 44, 68, 108, 12, kBox, 0},
    {C::Edit, 1002, "", 44, 35, 41, 12, kBox, 0},
    {C::Edit, 1003, "", 139, 35, 41, 12, kBox, 0},
    {C::Edit, 1004, "", 44, 51, 41, 12, kBox, 0},
    {C::Button, -1, "基本信息", 5, 3, 179, 101, kGroup, WS_EX_TRANSPARENT},
    {C::Static, -1, "限    额 :", 103, 35, 30, 10, kLabel, 0},
    {C::Edit, 1005, "", 139, 51, 41, 12, kBox, 0},
    {C::Static, -1, "备 注:", 15, 89, 27, 13, kLabel, 0},
    {C::Edit, 1006, "", 43, 86, 110, 13, kBox, 0},
};

TEST(AccountDialogTemplate, IsFoundInTheChainWithItsFrame) {
  const DialogTemplate* dialog = telmar::FindDialogTemplate(CShowDlg::IDD);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->id, 129u);
  EXPECT_EQ(dialog->language, 0x0804);
  // The texts are GBK bytes, not the UTF-8 of the source.
  EXPECT_STREQ(dialog->caption, "\xd5\xca\xbb\xa7\xd0\xc5\xcf\xa2");
  EXPECT_EQ(dialog->cx, 191);
  EXPECT_EQ(dialog->cy, 132);
  EXPECT_EQ(dialog->style, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
  EXPECT_STREQ(dialog->fontName, "System");
  EXPECT_EQ(dialog->fontPoints, 10);
}

TEST(AccountDialogTemplate, HoldsTheSeventeenControlsInTabOrder) {
  const DialogTemplate* dialog = telmar::FindDialogTemplate(129);
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(dialog->itemCount, static_cast<int>(std::size(kExpectedItems)));
  for (int i = 0; i < dialog->itemCount; ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const DialogItemTemplate& item = dialog->items[i];
    const ExpectedItem& expected = kExpectedItems[i];
    EXPECT_EQ(item.controlClass, expected.controlClass);
    EXPECT_EQ(item.id, expected.id);
    EXPECT_STREQ(item.text, expected.text);
    EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
              (std::vector<int>{expected.x, expected.y, expected.cx, expected.cy}));
    EXPECT_EQ(item.style, expected.style);
    EXPECT_EQ(item.exStyle, expected.exStyle);
  }
  // Inner blanks, byte for byte.
  EXPECT_STREQ(dialog->items[4].text, "\xd3\xe0 \xb6\xee :");
  EXPECT_STREQ(dialog->items[13].text, "\xcf\xde    \xb6\xee :");
}

struct TitleCase {
  const char* showType;
  const char* title;  // UTF-8, as logged
};
void PrintTo(const TitleCase& titleCase, std::ostream* out) { *out << "ShowType \"" << titleCase.showType << '"'; }

class AccountDialogTitle : public UiLogTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(AccountDialogTitle, FollowsTheAccountType) {
  InstallScript({"ok"});
  CShowDlg dialog;
  dialog.m_Info = SampleAccount(GetParam().showType);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  const std::vector<nlohmann::json> records = LogRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["title"], GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Types, AccountDialogTitle,
                         ::testing::Values(TitleCase{"1", u8"客人信息浏览"}, TitleCase{"2", u8"团体客人信息浏览"},
                                           TitleCase{"3", u8"特殊帐户浏览"}, TitleCase{"4", u8"应收帐户信息浏览"},
                                           TitleCase{"0", ""}, TitleCase{"9", ""}, TitleCase{"", ""}),
                         [](const ::testing::TestParamInfo<TitleCase>& info) {
                           return std::string(*info.param.showType ? "Type" : "Empty") + info.param.showType;
                         });

using AccountDialogBoxes = UiLogTest;

TEST_F(AccountDialogBoxes, ShowEachFieldInItsBox) {
  InstallScript({"cancel"});
  CShowDlg dialog;
  dialog.m_Info = SampleAccount("4");
  std::memset(dialog.m_Info.Remark, 'r', sizeof dialog.m_Info.Remark - 1);
  dialog.m_Info.Remark[sizeof dialog.m_Info.Remark - 1] = '\0';
  ASSERT_EQ(dialog.DoModal(), IDCANCEL);

  const std::string longRemark(99, 'r');
  const std::vector<std::string> expected = {
      u8R"({"dialog":129,"title":"应收帐户信息浏览","items":{"1000":"张三","1001":"北京市东城区",)"
      u8R"("1002":"1234.50","1003":"500.00","1004":"010-65123456","1005":"VIP9","1006":")" +
      longRemark + R"("},"answer":"cancel"})"};
  EXPECT_EQ(LogLines(), expected);
}

}  // namespace

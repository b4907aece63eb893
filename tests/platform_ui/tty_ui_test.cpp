// The terminal user interface, driven through a pseudo-terminal as an
// operator would drive it.
#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "pty_child.h"
#include "telmar/msgbox.h"
#include "telmar/ui.h"
#include "ui/ShowDlg.h"
#include "ui_log_fixture.h"

namespace {

const char kDialogDrawn[] = "Esc = Cancel";  // the last thing drawn
const char kBoxDrawn[] = "[ OK ]";

std::string TerminalModes() {
  termios modes{};
  ::tcgetattr(STDIN_FILENO, &modes);
  return std::string(" canonical=") + ((modes.c_lflag & ICANON) ? "1" : "0") +
         " echo=" + ((modes.c_lflag & ECHO) ? "1" : "0");
}

ACCTINFO LongDiscountAccount() {
  ACCTINFO info = SampleAccount("1");
  std::memset(info.DisCode, 'D', sizeof info.DisCode - 1);
  info.DisCode[sizeof info.DisCode - 1] = '\0';
  return info;
}

std::function<std::string()> AccountDialogOnTty(const std::string& logPath) {
  return [logPath] {
    telmar::SetUserInterface(telmar::MakeTtyUserInterface(logPath));
    CShowDlg dialog;
    dialog.m_Info = LongDiscountAccount();
    const int result = dialog.DoModal();
    return "result=" + std::to_string(result) + TerminalModes();
  };
}

using TtyDialog = UiLogTest;

// Each label sits on the row of its box, the boxes keep their text inside
// their border (a long text is cut), and the whole dialog fits 80 x 24.
TEST_F(TtyDialog, DrawsTheTemplateLaidOutOnTheScreen) {
  PtyChild child(AccountDialogOnTty(LogPath()));
  ASSERT_TRUE(child.WaitForOutput(kDialogDrawn)) << child.Output();
  const std::vector<std::string> rows = ScreenRows(child.Output());

  const int titleRow = RowOf(rows, u8" 客人信息浏览");
  ASSERT_GE(titleRow, 0);
  EXPECT_LT(titleRow, RowOf(rows, u8"+-基本信息-"));
  EXPECT_LT(RowOf(rows, u8"+-基本信息-"), RowOf(rows, u8"姓 名:"));

  const std::pair<const char*, const char*> labelledBoxes[] = {
      {u8"姓 名:", u8"[张三 "},      {u8"余 额 :", u8"[1234.50 "},      {u8"限    额 :", u8"[500.00 "},
      {u8"电 话:", u8"[010-65123456"}, {u8"折扣代码:", u8"[DDDD"},         {u8"地 址:", u8"[北京市东城区 "},
      {u8"备 注:", u8"[长住客人 "}};
  for (const auto& [label, box] : labelledBoxes) {
    SCOPED_TRACE(label);
    const int row = RowOf(rows, label);
    ASSERT_GE(row, 0);
    EXPECT_LT(rows[row].find(label), rows[row].find(box));
  }
  // Right of the rightmost boxes: only the group box's side, then the window's.
  for (const char* rightmost : {u8"[500.00 ", u8"[DDDD"}) {
    const std::string& row = rows[RowOf(rows, rightmost)];
    std::string after = row.substr(row.find(']', row.find(rightmost)) + 1);
    after.erase(std::remove(after.begin(), after.end(), ' '), after.end());
    EXPECT_EQ(after, "||") << row;
  }
  const int buttons = RowOf(rows, u8"[[ 确 定 ]]");
  ASSERT_GT(buttons, RowOf(rows, u8"备 注:") + 1);  // below the group box's bottom edge
  EXPECT_LT(rows[buttons].find(u8"[[ 确 定 ]]"), rows[buttons].find(u8"[ 取 消 ]"));
}

struct KeyCase {
  const char* name;
  const char* keys;
  int result;
  const char* answer;
};
void PrintTo(const KeyCase& keyCase, std::ostream* out) { *out << keyCase.name; }

class TtyDialogKeys : public UiLogTest, public ::testing::WithParamInterface<KeyCase> {};

// Enter accepts and Esc refuses; keys that send escape sequences do
// neither. The terminal comes back as it was either way.
TEST_P(TtyDialogKeys, AnswerTheDialog) {
  PtyChild child(AccountDialogOnTty(LogPath()));
  ASSERT_TRUE(child.WaitForOutput(kDialogDrawn)) << child.Output();
  EXPECT_FALSE(child.TerminalAttributes().c_lflag & (ICANON | ECHO));
  child.Send(GetParam().keys);
  EXPECT_EQ(child.Report(), "result=" + std::to_string(GetParam().result) + " canonical=1 echo=1");
  EXPECT_TRUE(child.Output().find("\x1b[?1049l") != std::string::npos);

  const std::vector<nlohmann::json> records = LogRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["answer"], GetParam().answer);
  EXPECT_EQ(records[0]["items"]["1000"], u8"张三");
}

INSTANTIATE_TEST_SUITE_P(Keys, TtyDialogKeys,
                         ::testing::Values(KeyCase{"Enter", "\r", IDOK, "ok"},
                                           KeyCase{"Esc", "\x1b", IDCANCEL, "cancel"},
                                           KeyCase{"ArrowThenEnter", "\x1b[Ax\r", IDOK, "ok"},
                                           KeyCase{"KeypadThenEsc", "\x1bOP\x1b", IDCANCEL, "cancel"}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST(TtyDialogSignal, AKillRestoresTheTerminal) {
  PtyChild child(AccountDialogOnTty(""));
  ASSERT_TRUE(child.WaitForOutput(kDialogDrawn)) << child.Output();
  ASSERT_FALSE(child.TerminalAttributes().c_lflag & ICANON);
  ::kill(child.Pid(), SIGTERM);
  const int status = child.Wait();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  const tcflag_t modes = child.TerminalAttributes().c_lflag;
  EXPECT_TRUE((modes & ICANON) && (modes & ECHO));
}

struct BoxCase {
  const char* name;
  std::function<int()> show;
  const char* captionRow;  // UTF-8
  const char* textRow;
};
void PrintTo(const BoxCase& boxCase, std::ostream* out) { *out << boxCase.name; }

class TtyBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(TtyBox, ShowsCaptionIconAndTextUntilEnter) {
  PtyChild child([] {
    telmar::SetUserInterface(telmar::MakeTtyUserInterface(""));
    return "result=" + std::to_string(GetParam().show()) + TerminalModes();
  });
  ASSERT_TRUE(child.WaitForOutput(kBoxDrawn)) << child.Output();
  const std::vector<std::string> rows = ScreenRows(child.Output());
  const int captionRow = RowOf(rows, GetParam().captionRow);
  ASSERT_GE(captionRow, 0);
  EXPECT_LT(captionRow, RowOf(rows, GetParam().textRow));
  EXPECT_LT(RowOf(rows, GetParam().textRow), RowOf(rows, kBoxDrawn));

  ::usleep(200 * 1000);
  EXPECT_TRUE(child.Running()) << "the box must wait for the operator";
  child.Send("\r");
  EXPECT_EQ(child.Report(), "result=1 canonical=1 echo=1");
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TtyBox,
    ::testing::Values(BoxCase{"AfxMessageBox", [] { return AfxMessageBox("数据库打开错误", MB_ICONEXCLAMATION); },
                              "| TELMAR ", u8"[warning] 数据库打开错误"},
                      BoxCase{"MessageBoxA", [] { return MessageBoxA(nullptr, "一卡通传帐失败", "提示", MB_ICONHAND); },
                              u8"| 提示 ", u8"[error] 一卡通传帐失败"},
                      BoxCase{"Plain", [] { return AfxMessageBox("打开数据库失败!"); }, "| TELMAR ",
                              u8"|  打开数据库失败!"}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

using TtyWithoutTerminal = UiLogTest;

TEST_F(TtyWithoutTerminal, DialogIsNotCreatedAndBoxesGoToStandardError) {
  const std::string logPath = LogPath();
  const DetachedResult result = RunWithoutTerminal([logPath] {
    telmar::SetUserInterface(telmar::MakeTtyUserInterface(logPath));
    CShowDlg dialog;
    dialog.m_Info = SampleAccount("2");
    const int dialogResult = dialog.DoModal();
    const int boxResult = AfxMessageBox("数据库打开错误", MB_ICONHAND);
    return std::to_string(dialogResult) + " " + std::to_string(boxResult);
  });
  EXPECT_EQ(result.report, "-1 1");
  EXPECT_EQ(result.errorOutput, u8"TELMAR: [error] 数据库打开错误\n");

  const std::vector<nlohmann::json> records = LogRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["answer"], "none");
  EXPECT_EQ(records[0]["title"], u8"团体客人信息浏览");
  EXPECT_EQ(records[1]["box"], "AfxMessageBox");
}

}  // namespace

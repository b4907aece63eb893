// The script user interface: what it logs for each box, and how it answers
// dialogs. Texts here are GBK (this file compiles with -fexec-charset=GBK);
// the log holds UTF-8, written as u8 literals.
#include <stdexcept>

#include "telmar/dialog.h"
#include "telmar/exception.h"
#include "telmar/msgbox.h"
#include "telmar/ui.h"
#include "ui/ShowDlg.h"
#include "ui_log_fixture.h"

namespace {

using ScriptUiTest = UiLogTest;

TEST_F(ScriptUiTest, LogsEachKindOfBoxExactlyWithItsTextInUtf8) {
  InstallScript({});
  CDBException error(-1, "[unixODBC]连接失败", "State:08001,Native:0,Origin:[unixODBC]");

  EXPECT_EQ(AfxMessageBox("数据库打开错误", MB_ICONEXCLAMATION), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "一卡通传帐失败", "提示", MB_ICONHAND), IDOK);
  EXPECT_EQ(error.ReportError(MB_OK, 0), IDOK);
  EXPECT_EQ(AfxMessageBox("打开数据库失败!", MB_OK), IDOK);

  const std::vector<std::string> expected = {
      u8R"({"box":"AfxMessageBox","text":"数据库打开错误","type":48})",
      u8R"({"box":"MessageBoxA","text":"一卡通传帐失败","caption":"提示","flags":16})",
      u8R"({"box":"ReportError","text":"[unixODBC]连接失败","type":0})",
      u8R"({"box":"AfxMessageBox","text":"打开数据库失败!","type":0})",
  };
  EXPECT_EQ(LogLines(), expected);
}

// Driver texts carry quotes, line breaks and now and then bytes that are not
// GBK; the line must stay one valid JSON object all the same.
TEST_F(ScriptUiTest, LogLinesStayValidJsonForAnyText) {
  InstallScript({});
  AfxMessageBox("Invalid object name 'X'.\n\"at\" \\ 行 2", MB_ICONHAND);
  MessageBoxA(nullptr, "bad \x81 byte", nullptr, MB_OK);
  CPlatformException silent("");
  silent.ReportError();

  const std::vector<nlohmann::json> records = LogRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]["text"], u8"Invalid object name 'X'.\n\"at\" \\ 行 2");
  EXPECT_EQ(records[1]["text"], u8"bad \uFFFD byte");
  EXPECT_EQ(records[1]["caption"], "");
  EXPECT_EQ(records[2]["text"], "No error message is available.");
}

TEST_F(ScriptUiTest, GetErrorMessageCopiesTheTextWithoutSplittingACharacter) {
  CDBException error(-1, "错误ab", "");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  UINT help = 99;
  EXPECT_TRUE(error.GetErrorMessage(buffer, sizeof buffer, &help));
  EXPECT_STREQ(buffer, "错");
  EXPECT_EQ(help, 0u);

  char whole[16];
  ASSERT_TRUE(error.GetErrorMessage(whole, sizeof whole));
  EXPECT_STREQ(whole, "错误ab");
  EXPECT_FALSE(CPlatformException("").GetErrorMessage(whole, sizeof whole));
}

TEST_F(ScriptUiTest, DialogsTakeTheAnswersInOrderThenCancel) {
  InstallScript({"ok", "cancel", "none", "ok"});
  const std::vector<int> expected = {IDOK, IDCANCEL, -1, IDOK, IDCANCEL, IDCANCEL};
  std::vector<int> results;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    CShowDlg dialog;
    dialog.m_Info = SampleAccount("1");
    results.push_back(dialog.DoModal());
  }
  EXPECT_EQ(results, expected);

  std::vector<std::string> answers;
  for (const nlohmann::json& record : LogRecords()) answers.push_back(record["answer"]);
  EXPECT_EQ(answers, (std::vector<std::string>{"ok", "cancel", "none", "ok", "cancel", "cancel"}));
}

TEST_F(ScriptUiTest, RejectsAnUnknownAnswer) {
  EXPECT_THROW(telmar::MakeScriptUserInterface({"ok", "yes"}, ""), std::invalid_argument);
}

TEST_F(ScriptUiTest, ALogThatCannotBeOpenedIsAnError) {
  EXPECT_THROW(telmar::MakeScriptUserInterface({}, "/nonexistent-dir/ui.jsonl"), std::runtime_error);
}

// A dialog whose template no module provides is never created: DoModal
// gives -1 and the user interface neither sees it nor spends an answer.
TEST_F(ScriptUiTest, DialogWithoutTemplateInTheChainIsNotCreated) {
  InstallScript({"ok"});
  CDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_TRUE(LogLines().empty());

  CShowDlg dialog;
  dialog.m_Info = SampleAccount("1");
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

// A dialog that changes nothing shows its template as it is; texts given to
// ids the template lacks go nowhere; the base initialisation runs the data
// exchange once.
class PlainDialog : public CDialog {
 public:
  PlainDialog() : CDialog(129) {}
  int exchanges = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    ++exchanges;
  }
};

class StrayTextDialog : public PlainDialog {
 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetDlgItemText(4711, "无处");
    SetDlgItemText(1001, "地址");
    return TRUE;
  }
};

TEST_F(ScriptUiTest, BaseDialogShowsTheTemplateAndIgnoresUnknownIds) {
  InstallScript({"ok", "ok"});
  PlainDialog plain;
  EXPECT_EQ(plain.DoModal(), IDOK);
  EXPECT_EQ(plain.exchanges, 1);
  StrayTextDialog stray;
  EXPECT_EQ(stray.DoModal(), IDOK);

  const std::vector<std::string> expected = {
      u8R"({"dialog":129,"title":"帐户信息","items":{"1000":"","1001":"","1002":"","1003":"","1004":"","1005":"","1006":""},"answer":"ok"})",
      u8R"({"dialog":129,"title":"帐户信息","items":{"1000":"","1001":"地址","1002":"","1003":"","1004":"","1005":"","1006":""},"answer":"ok"})",
  };
  EXPECT_EQ(LogLines(), expected);
}

TEST_F(ScriptUiTest, WithoutAnInstalledInterfaceDialogsAreRefusedAndBoxesAcknowledged) {
  telmar::SetUserInterface(nullptr);
  CShowDlg dialog;
  dialog.m_Info = SampleAccount("4");
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(AfxMessageBox("提示"), IDOK);
}

}  // namespace

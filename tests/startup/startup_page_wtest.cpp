// The Startup Programs page driven in a running TovrelEx: rows, button
// states, disable, enable, remove (one and several), sorting and the
// secret-locations box, with the registry checked after each change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fixtures.h"

using namespace testsupport;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const char kDisabledIndex[] = "Software\\Brenvik\\Tovrel\\Disabled";
const char* const kTitles[] = {"Alpha Helper", "Mid Agent", "Zed Tool"};
const char* const kCommands[] = {"C:\\windows\\notepad.exe /a", "C:\\windows\\regedit.exe",
                                 "C:\\windows\\system32\\cmd.exe /z"};
constexpr int kEnable = 10, kDisable = 11, kRemove = 1003, kSecretBox = 1014;

class StartupPageTest : public SheetTest {
 protected:
  SavedKey run_{HKEY_CURRENT_USER, kUserRun};
  HWND page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    SheetTest::SetUp();
    for (int i = 0; i < 3; ++i) SetText(HKEY_CURRENT_USER, kUserRun, kTitles[i], kCommands[i]);
  }
  bool Open() {
    if (!program_.Open("-START")) return false;
    page_ = program_.page();
    list_ = program_.list();
    return WaitFor([&] { return FindRow(list_, kTitles[2]) >= 0; }, 10000);
  }
  void Close() { EXPECT_TRUE(program_.CloseByPage()); }
  void Select(const char* title) {
    int row = FindRow(list_, title);
    ASSERT_GE(row, 0) << title;
    SelectRows(list_, {row});
  }
  // The row of a title once the refilled list shows it with this type text.
  bool WaitRowType(const char* title, const std::string& type) {
    return WaitFor([&] {
      int row = FindRow(list_, title);
      return row >= 0 && CellText(list_, row, 3) == type;
    }, 5000);
  }
  bool Shown(int id) { return IsShown(page_, id); }
};

TEST_F(StartupPageTest, RowsShowCommandTypeAndFirstDetection) {
  ASSERT_TRUE(Open());
  int row = FindRow(list_, "Alpha Helper");
  ASSERT_GE(row, 0);
  EXPECT_EQ(CellText(list_, row, 1), "notepad.exe /a");
  EXPECT_EQ(CellText(list_, row, 3), "HKCU_RUN");
  std::string detected = CellText(list_, row, 4);
  EXPECT_FALSE(detected.empty());
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Brenvik\\Detected\\Startup", "C:\\WINDOWS\\NOTEPAD.EXE",
                    "<missing>"),
            detected);
  // The status bar (NT family) shows the selected command.
  Select("Mid Agent");
  if (HWND bar = GetDlgItem(program_.sheet(), 6050)) {
    EXPECT_TRUE(WaitFor([&] { return LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0)) > 0; }, 3000));
  }
  Close();
}

TEST_F(StartupPageTest, CompanyArrivesFromTheProgramFile) {
  SetText(HKEY_CURRENT_USER, kUserRun, "Fixture Company", "\"" + BinPath("ver_two_translations.dll") + "\"");
  ASSERT_TRUE(Open());
  EXPECT_TRUE(WaitFor([&] {
    int row = FindRow(list_, "Fixture Company");
    return row >= 0 && CellText(list_, row, 2) == "Brenvik Fixtures";
  }, 10000));
  Close();
}

TEST_F(StartupPageTest, DisableEnableAndTheButtonStates) {
  ASSERT_TRUE(Open());
  Select("Zed Tool");
  EXPECT_TRUE(WaitFor([&] { return Shown(kDisable) && !Shown(kEnable); }, 3000));
  EXPECT_EQ(ControlText(page_, kRemove), "&Remove");

  ASSERT_TRUE(Click(page_, kDisable));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kUserRun, "Zed Tool"));
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kDisabledIndex, "Zed Tool"), "11");
  EXPECT_TRUE(WaitRowType("Zed Tool", "   Disabled"));
  Select("Zed Tool");
  EXPECT_TRUE(WaitFor([&] { return Shown(kEnable) && !Shown(kDisable); }, 3000));

  ASSERT_TRUE(Click(page_, kEnable));
  EXPECT_NE(GetText(HKEY_CURRENT_USER, kUserRun, "Zed Tool").find("cmd.exe"), std::string::npos);
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kDisabledIndex, "Zed Tool"));
  Close();
}

TEST_F(StartupPageTest, RemoveAsksForOneAndNotForSeveral) {
  ASSERT_TRUE(Open());
  Select("Mid Agent");
  Press(page_, kRemove);
  std::string question = AnswerMessageBox(program_.main(), IDNO);
  EXPECT_NE(question.find("regedit.exe"), std::string::npos) << question;
  // The command that asked has ended once the page answers a sent message.
  EXPECT_TRUE(Settle(page_));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kUserRun, "Mid Agent"));

  Select("Mid Agent");
  Press(page_, kRemove);
  EXPECT_FALSE(AnswerMessageBox(program_.main(), IDYES).empty());
  EXPECT_TRUE(WaitFor([&] { return !HasValue(HKEY_CURRENT_USER, kUserRun, "Mid Agent"); }, 5000));

  // Two at once: no question.
  ASSERT_TRUE(WaitFor([&] { return FindRow(list_, "Mid Agent") < 0 && FindRow(list_, "Zed Tool") >= 0; }, 5000));
  SelectRows(list_, {FindRow(list_, "Alpha Helper"), FindRow(list_, "Zed Tool")});
  ASSERT_TRUE(Click(page_, kRemove));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kUserRun, "Alpha Helper"));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kUserRun, "Zed Tool"));
  EXPECT_EQ(FindDialog(MessageBoxOf(program_.main())), nullptr);
  Close();
}

TEST_F(StartupPageTest, SortTwiceThenReopenAndDisabledLast) {
  SetText(HKEY_CURRENT_USER, kUserRun, "Aaa First", "C:\\windows\\notepad.exe /b");
  ASSERT_TRUE(Open());
  Select("Aaa First");
  ASSERT_TRUE(Click(page_, kDisable));  // disabled: sorts after every enabled entry
  ASSERT_TRUE(WaitRowType("Aaa First", "   Disabled"));
  auto position = [&](const char* t) { return FindRow(list_, t); };
  ClickColumn(list_, 0);  // ascending
  EXPECT_LT(position("Alpha Helper"), position("Zed Tool"));
  EXPECT_EQ(position("Aaa First"), RowCount(list_) - 1);
  ClickColumn(list_, 0);  // descending
  EXPECT_GT(position("Alpha Helper"), position("Zed Tool"));
  EXPECT_EQ(position("Aaa First"), RowCount(list_) - 1);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kOptionsKey, "SortStartup"), "1");
  Close();

  ASSERT_TRUE(Open());  // the stored column, ascending again
  EXPECT_LT(FindRow(list_, "Alpha Helper"), FindRow(list_, "Mid Agent"));
  EXPECT_LT(FindRow(list_, "Mid Agent"), FindRow(list_, "Zed Tool"));
  Select("Aaa First");
  ASSERT_TRUE(Click(page_, kEnable));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kUserRun, "Aaa First"));
  Close();
}

TEST_F(StartupPageTest, SecretLocationsBoxShowsWinlogonEntries) {
  ASSERT_TRUE(Open());
  int before = RowCount(list_);
  SendDlgItemMessageA(page_, kSecretBox, BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(Click(page_, kSecretBox));
  int shell = FindRow(list_, "LOGON_SHELL", 3);
  if (!IsNtFamily()) {
    EXPECT_EQ(shell, -1);  // the Winlogon values are read on the NT family only
  } else {
    ASSERT_GE(shell, 0);
    EXPECT_GT(RowCount(list_), before);
    SelectRows(list_, {shell});
    EXPECT_TRUE(WaitFor([&] { return ControlText(page_, kRemove) == "&Reset"; }, 3000));
    EXPECT_FALSE(IsEnabled(page_, kEnable));
    EXPECT_FALSE(IsEnabled(page_, kDisable));
    EXPECT_TRUE(IsEnabled(page_, kRemove));
  }
  SendDlgItemMessageA(page_, kSecretBox, BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(Click(page_, kSecretBox));
  EXPECT_EQ(RowCount(list_), before);
  Close();
}

TEST_F(StartupPageTest, EnterInTheListOpensTheInformationWindow) {
  ASSERT_TRUE(Open());
  Select("Alpha Helper");
  PostMessageA(list_, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(list_, WM_KEYUP, VK_RETURN, 0xC0000001);
  DialogQuery info = OfProcessOf(program_.main());
  info.caption = "Alpha Helper";
  HWND window = WaitDialog(info);
  EXPECT_TRUE(window);
  if (window) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitClosed(window));
  }
  Close();
}

}  // namespace

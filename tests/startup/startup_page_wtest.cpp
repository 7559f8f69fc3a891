// The Startup Programs page driven in a running TovrelEx: rows, button
// states, disable, enable, remove (one and several), sorting and the
// secret-locations box, with the registry checked after each change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;
using namespace sheetdriver;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const char kDisabledIndex[] = "Software\\Brenvik\\Tovrel\\Disabled";
const char* const kTitles[] = {"Alpha Helper", "Mid Agent", "Zed Tool"};

void SetText(HKEY root, const char* key, const char* name, const char* value) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_SZ, (const BYTE*)value, DWORD(strlen(value) + 1));
  RegCloseKey(k);
}

bool HasValue(HKEY root, const char* key, const char* name, std::string* data = nullptr) {
  char text[512] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return false;
  if (data) *data = text;
  return true;
}

class StartupPageTest : public testing::Test {
 protected:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr, sheet_ = nullptr, page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    EndAll();
    Clean();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    SetText(HKEY_CURRENT_USER, kUserRun, kTitles[0], "C:\\windows\\notepad.exe /a");
    SetText(HKEY_CURRENT_USER, kUserRun, kTitles[1], "C:\\windows\\regedit.exe");
    SetText(HKEY_CURRENT_USER, kUserRun, kTitles[2], "C:\\windows\\system32\\cmd.exe /z");
  }
  void TearDown() override {
    Stop();
    EndAll();
    Clean();
  }
  static void Clean() {
    ClearProductKeys();
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserRun, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
      for (const char* t : kTitles) RegDeleteValueA(k, t);
      RegDeleteValueA(k, "Aaa First");
      RegCloseKey(k);
    }
  }
  static void EndAll() {
    for (HWND w; (w = FindWindowA("TovrelEx", nullptr)) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (!p) break;
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
  bool Open() {
    process_ = StartProgram(BinPath("TovrelEx.exe"), "-START");
    if (!process_) return false;
    if (!WaitFor([&] { return (main_ = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (sheet_ = FindSheet(main_)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (page_ = CurrentPage(sheet_)) != nullptr; }, 10000)) return false;
    list_ = GetDlgItem(page_, 1000);
    return WaitFor([&] { return FindRow(list_, kTitles[2]) >= 0; }, 10000);
  }
  void Close() {
    PostMessageA(page_, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
    EXPECT_EQ(WaitExit(process_, 10000), 0);
    CloseHandle(process_);
    process_ = nullptr;
  }
  void Stop() {
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
  }
  void Select(const char* title) {
    int row = FindRow(list_, title);
    ASSERT_GE(row, 0) << title;
    SelectRows(list_, {row});
  }
  // Presses a button and waits until the page has refilled its list.
  void PressAndWait(int id) {
    Press(page_, id);
    Sleep(300);
    WaitFor([&] { return RowCount(list_) > 0; }, 5000);
  }
  bool Visible(int id) { return (GetWindowLongA(GetDlgItem(page_, id), GWL_STYLE) & WS_VISIBLE) != 0; }
  bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(page_, id)) != FALSE; }
  std::string Caption(int id) {
    char text[64] = "";
    GetDlgItemTextA(page_, id, text, sizeof text);
    return text;
  }
};

TEST_F(StartupPageTest, RowsShowCommandTypeAndFirstDetection) {
  ASSERT_TRUE(Open());
  int row = FindRow(list_, "Alpha Helper");
  ASSERT_GE(row, 0);
  EXPECT_EQ(CellText(list_, row, 1), "notepad.exe /a");
  EXPECT_EQ(CellText(list_, row, 3), "HKCU_RUN");
  std::string detected = CellText(list_, row, 4);
  EXPECT_FALSE(detected.empty());
  std::string stored;
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, "Software\\Brenvik\\Detected\\Startup", "C:\\WINDOWS\\NOTEPAD.EXE",
                       &stored));
  EXPECT_EQ(stored, detected);
  // The status bar (NT family) shows the selected command.
  Select("Mid Agent");
  if (HWND bar = GetDlgItem(sheet_, 6050)) {
    WaitFor([&] { return SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0) > 0; }, 3000);
    EXPECT_GT(LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0)), 0);
  }
  Close();
}

TEST_F(StartupPageTest, DisableEnableAndTheButtonStates) {
  ASSERT_TRUE(Open());
  Select("Zed Tool");
  WaitFor([&] { return Visible(11); }, 3000);
  EXPECT_TRUE(Visible(11));
  EXPECT_FALSE(Visible(10));
  EXPECT_EQ(Caption(1003), "&Remove");

  PressAndWait(11);
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kUserRun, "Zed Tool"));
  std::string code;
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kDisabledIndex, "Zed Tool", &code));
  EXPECT_EQ(code, "11");
  ASSERT_TRUE(WaitFor([&] { return FindRow(list_, "Zed Tool") >= 0; }, 5000));
  EXPECT_EQ(CellText(list_, FindRow(list_, "Zed Tool"), 3), "   Disabled");
  Select("Zed Tool");
  EXPECT_TRUE(WaitFor([&] { return Visible(10) && !Visible(11); }, 3000));

  PressAndWait(10);
  std::string command;
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kUserRun, "Zed Tool", &command));
  EXPECT_NE(command.find("cmd.exe"), std::string::npos);
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kDisabledIndex, "Zed Tool"));
  Close();
}

TEST_F(StartupPageTest, RemoveAsksForOneAndNotForSeveral) {
  ASSERT_TRUE(Open());
  Select("Mid Agent");
  Press(page_, 1003);
  std::string question = AnswerMessageBox(main_, IDNO);
  EXPECT_NE(question.find("regedit.exe"), std::string::npos) << question;
  Sleep(300);
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kUserRun, "Mid Agent"));

  Select("Mid Agent");
  Press(page_, 1003);
  EXPECT_FALSE(AnswerMessageBox(main_, IDYES).empty());
  EXPECT_TRUE(WaitFor([&] { return !HasValue(HKEY_CURRENT_USER, kUserRun, "Mid Agent"); }, 5000));

  // Two at once: no question.
  WaitFor([&] { return FindRow(list_, "Zed Tool") >= 0; }, 5000);
  SelectRows(list_, {FindRow(list_, "Alpha Helper"), FindRow(list_, "Zed Tool")});
  Press(page_, 1003);
  EXPECT_TRUE(WaitFor([&] {
    return !HasValue(HKEY_CURRENT_USER, kUserRun, "Alpha Helper") &&
           !HasValue(HKEY_CURRENT_USER, kUserRun, "Zed Tool");
  }, 5000));
  EXPECT_EQ(FindMessageBox(main_), nullptr);
  Close();
}

TEST_F(StartupPageTest, SortTwiceThenReopenAndDisabledLast) {
  SetText(HKEY_CURRENT_USER, kUserRun, "Aaa First", "C:\\windows\\notepad.exe /b");
  ASSERT_TRUE(Open());
  Select("Aaa First");
  PressAndWait(11);  // disabled: sorts after every enabled entry
  auto position = [&](const char* t) { return FindRow(list_, t); };
  ClickColumn(list_, 0);  // ascending
  Sleep(300);
  EXPECT_LT(position("Alpha Helper"), position("Zed Tool"));
  EXPECT_EQ(position("Aaa First"), RowCount(list_) - 1);
  ClickColumn(list_, 0);  // descending
  Sleep(300);
  EXPECT_GT(position("Alpha Helper"), position("Zed Tool"));
  EXPECT_EQ(position("Aaa First"), RowCount(list_) - 1);
  std::string stored;
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kOptionsKey, "SortStartup", &stored));
  EXPECT_EQ(stored, "1");
  Close();

  ASSERT_TRUE(Open());  // the stored column, ascending again
  EXPECT_LT(FindRow(list_, "Alpha Helper"), FindRow(list_, "Mid Agent"));
  EXPECT_LT(FindRow(list_, "Mid Agent"), FindRow(list_, "Zed Tool"));
  Select("Aaa First");
  PressAndWait(10);
  Close();
}

TEST_F(StartupPageTest, SecretLocationsBoxShowsWinlogonEntries) {
  ASSERT_TRUE(Open());
  int before = RowCount(list_);
  HWND box = GetDlgItem(page_, 1014);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  PostMessageA(page_, WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), (LPARAM)box);
  Sleep(500);
  WaitFor([&] { return RowCount(list_) > 0; }, 5000);
  int shell = -1;
  for (int i = 0; i < RowCount(list_); ++i)
    if (CellText(list_, i, 3) == "LOGON_SHELL") shell = i;
  if (!IsNtFamily()) {
    EXPECT_EQ(shell, -1);  // the Winlogon values are read on the NT family only
  } else {
    ASSERT_GE(shell, 0);
    EXPECT_GT(RowCount(list_), before);
    SelectRows(list_, {shell});
    EXPECT_TRUE(WaitFor([&] { return Caption(1003) == "&Reset"; }, 3000));
    EXPECT_FALSE(Enabled(10));
    EXPECT_FALSE(Enabled(11));
    EXPECT_TRUE(Enabled(1003));
  }
  SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
  PostMessageA(page_, WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), (LPARAM)box);
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == before; }, 5000));
  Close();
}

}  // namespace

namespace {

struct TitledWindow {
  DWORD pid;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchTitledWindow(HWND w, LPARAM l) {
  TitledWindow* f = reinterpret_cast<TitledWindow*>(l);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char text[128] = "";
  GetWindowTextA(w, text, sizeof text);
  if (pid != f->pid || !IsWindowVisible(w) || strcmp(text, f->title) != 0) return TRUE;
  f->found = w;
  return FALSE;
}

HWND FindWindowTitled(DWORD pid, const char* title) {
  TitledWindow f{pid, title, nullptr};
  EnumWindows(MatchTitledWindow, (LPARAM)&f);
  return f.found;
}

}  // namespace

TEST_F(StartupPageTest, EnterInTheListOpensTheInformationWindow) {
  ASSERT_TRUE(Open());
  Select("Alpha Helper");
  DWORD pid = GetProcessId(process_);
  PostMessageA(list_, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(list_, WM_KEYUP, VK_RETURN, 0xC0000001);
  HWND info = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (info = FindWindowTitled(pid, "Alpha Helper")) != nullptr; }, 8000));
  if (info) {
    PostMessageA(info, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(info); }, 5000));
  }
  Close();
}

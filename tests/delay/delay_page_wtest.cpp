// The Delayed Start page driven in a running TovrelEx: its rows, sorting by
// delay, Remove with each answer, and the options dialog, with the store
// and the Run keys checked after each change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"
#include "tests/ui/dialog_driver.h"

using namespace testsupport;
using namespace sheetdriver;

namespace {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const char kDelay[] = "Software\\Brenvik\\Tovrel\\Delay";
const char* const kKeys[] = {"", "\\Title", "\\Time", "\\Parameters", "\\Shortcuts", "\\Applet"};

struct Seed {
  HKEY hive;
  const char* program;
  const char* code;
  const char* title;
  const char* time;
  bool file;
} const kSeeds[] = {
    {HKEY_LOCAL_MACHINE, "C:\\delaytest\\a\\same.exe", "1", "Same Machine", "95", true},
    {HKEY_CURRENT_USER, "C:\\delaytest\\b\\same.exe", "11", "Same User", "30", false},
    {HKEY_CURRENT_USER, "C:\\delaytest\\third.exe", "11", "Third", "600", true},
};

void SetText(HKEY root, const std::string& key, const char* name, const char* value) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_SZ, (const BYTE*)value, DWORD(strlen(value) + 1));
  RegCloseKey(k);
}

std::string Get(HKEY root, const std::string& key, const char* name) {
  char text[512] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return "<missing>";
  return text;
}

// How many of the six values of a seeded program remain.
int ValuesLeft(const Seed& s) {
  int n = 0;
  for (const char* key : kKeys) n += Get(s.hive, std::string(kDelay) + key, s.program) != "<missing>";
  return n;
}

void MakeFile(const char* path) {
  std::string p = path;
  CreateDirectoryA("C:\\delaytest", nullptr);
  CreateDirectoryA(p.substr(0, p.find_last_of('\\')).c_str(), nullptr);
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
}

// Ends copies of the program an earlier test left running: a new start
// would hand its request to them.
void EndRunningCopies() {
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

class DelayPageTest : public testing::Test {
 protected:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr, sheet_ = nullptr, page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    EndRunningCopies();
    ClearProductKeys();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    for (const Seed& s : kSeeds) {
      SetText(s.hive, kDelay, s.program, s.code);
      SetText(s.hive, std::string(kDelay) + "\\Title", s.program, s.title);
      SetText(s.hive, std::string(kDelay) + "\\Time", s.program, s.time);
      SetText(s.hive, std::string(kDelay) + "\\Parameters", s.program, " /p");
      SetText(s.hive, std::string(kDelay) + "\\Shortcuts", s.program, "");
      SetText(s.hive, std::string(kDelay) + "\\Applet", s.program, "");
      if (s.file) MakeFile(s.program); else DeleteFileA(s.program);
    }
  }
  void TearDown() override {
    if (process_) {
      TerminateProcess(process_, 0);
      WaitForSingleObject(process_, 5000);
      CloseHandle(process_);
    }
    for (const Seed& s : kSeeds) {
      HKEY k;
      if (RegOpenKeyExA(s.hive, kRun, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) continue;
      RegDeleteValueA(k, s.title);
      RegCloseKey(k);
    }
    ClearProductKeys();
  }
  bool Open() {
    process_ = StartProgram(BinPath("TovrelEx.exe"), "-DELAY");
    if (!process_) return false;
    if (!WaitFor([&] { return (main_ = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (sheet_ = FindSheet(main_)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (page_ = CurrentPage(sheet_)) != nullptr; }, 10000)) return false;
    list_ = GetDlgItem(page_, 1000);
    return WaitFor([&] { return RowCount(list_) == 3; }, 10000);
  }
  // Presses a button of the page and answers each question that follows.
  void RemoveAnswering(std::initializer_list<int> answers) {
    Press(page_, 1003);
    for (int answer : answers) EXPECT_NE(AnswerMessageBox(main_, answer), "");
    Sleep(300);
    WaitFor([&] { return FindMessageBox(main_) == nullptr; }, 3000);
  }
};

TEST_F(DelayPageTest, RowsShowStatusAndDelayAndSortByDelay) {
  ASSERT_TRUE(Open());
  struct Row {
    const char* title;
    const char* command;
    const char* status;
    const char* delay;
  } rows[] = {{"Same Machine", "same.exe", "", "1 Min. : 35 Sec."},
              {"Same User", "same.exe", "Local File not found.", "30 Sec."},
              {"Third", "third.exe", "", "10 Min. : 0 Sec."}};
  for (const Row& r : rows) {
    int row = FindRow(list_, r.title);
    ASSERT_GE(row, 0) << r.title;
    EXPECT_EQ(CellText(list_, row, 1), r.command);
    EXPECT_EQ(CellText(list_, row, 2), r.status);
    EXPECT_EQ(CellText(list_, row, 3), r.delay);
  }
  ClickColumn(list_, 3);
  EXPECT_TRUE(WaitFor([&] { return CellText(list_, 0, 0) == "Same User"; }, 5000));
  EXPECT_EQ(Column(list_, 0), (std::vector<std::string>{"Same User", "Same Machine", "Third"}));
}

// Cancel leaves every selected entry; No on the per-user program of one
// file name takes out all its values and leaves the machine's; Yes puts the
// machine's back into its Run key and deletes its six values.
TEST_F(DelayPageTest, RemoveActsOnTheRowsOwnEntryByAnswer) {
  ASSERT_TRUE(Open());
  SelectRows(list_, {0, 1, 2});
  RemoveAnswering({IDCANCEL});
  for (const Seed& s : kSeeds) EXPECT_EQ(ValuesLeft(s), 6) << s.title;

  SelectRows(list_, {FindRow(list_, "Same User")});
  RemoveAnswering({IDNO});
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == 2; }, 5000));
  EXPECT_EQ(ValuesLeft(kSeeds[1]), 0);
  EXPECT_EQ(ValuesLeft(kSeeds[0]), 6);
  EXPECT_EQ(Get(HKEY_CURRENT_USER, kRun, "Same User"), "<missing>");

  SelectRows(list_, {FindRow(list_, "Same Machine")});
  RemoveAnswering({IDYES});
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == 1; }, 5000));
  EXPECT_EQ(ValuesLeft(kSeeds[0]), 0);
  EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, kRun, "Same Machine"), "C:\\delaytest\\a\\same.exe /p");
  EXPECT_EQ(ValuesLeft(kSeeds[2]), 6);
}

TEST_F(DelayPageTest, OptionsDialogSetsTheDelayShown) {
  ASSERT_TRUE(Open());
  SelectRows(list_, {FindRow(list_, "Third")});
  Press(page_, 1197);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = uitest::FindDialogOf(sheet_)) != nullptr; }, 8000));
  SendDlgItemMessageA(dialog, 1196, CB_SETCURSEL, 2, 0);
  SendDlgItemMessageA(dialog, 1191, CB_SETCURSEL, 4, 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return CellText(list_, FindRow(list_, "Third"), 3) == "2 Min. : 40 Sec."; }, 5000));
  EXPECT_EQ(Get(HKEY_CURRENT_USER, std::string(kDelay) + "\\Time", kSeeds[2].program), "160");
}

}  // namespace

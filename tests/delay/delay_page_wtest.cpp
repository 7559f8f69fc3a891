// The Delayed Start page driven in a running TovrelEx: its rows, sorting by
// delay, Remove with each answer, and the options dialog, with the store
// and the Run keys checked after each change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;

namespace {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const std::string kDelay = "Software\\Brenvik\\Tovrel\\Delay";
const char* const kKeys[] = {"", "\\Title", "\\Time", "\\Parameters", "\\Shortcuts", "\\Applet"};
constexpr int kRemove = 1003;
constexpr int kDelayOptions = 1197;

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

// How many of the six values of a seeded program remain.
int ValuesLeft(const Seed& s) {
  int n = 0;
  for (const char* key : kKeys) n += HasValue(s.hive, kDelay + key, s.program);
  return n;
}

class DelayPageTest : public testing::Test {
 protected:
  SavedKey machineRun_{HKEY_LOCAL_MACHINE, kRun};
  SavedKey userRun_{HKEY_CURRENT_USER, kRun};
  RunningProgram program_;
  HWND page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    CreateDirectoryA("C:\\delaytest", nullptr);
    CreateDirectoryA("C:\\delaytest\\a", nullptr);
    for (const Seed& s : kSeeds) {
      const char* values[] = {s.code, s.title, s.time, " /p", "", ""};
      for (int k = 0; k < 6; ++k) SetText(s.hive, kDelay + kKeys[k], s.program, values[k]);
      if (s.file) WriteWholeFile(s.program, "MZ"); else DeleteFileA(s.program);
    }
  }
  void TearDown() override {
    program_.Stop();
    ClearProductKeys();
  }
  bool Open() {
    if (!program_.Open("-DELAY")) return false;
    page_ = program_.page();
    list_ = program_.list();
    return WaitFor([&] { return RowCount(list_) == 3; }, 10000);
  }
  // Presses Remove and gives each question that follows its answer.
  void RemoveAnswering(std::initializer_list<int> answers) {
    Press(page_, kRemove);
    for (int answer : answers) EXPECT_NE(AnswerMessageBox(program_.main(), answer), "");
    EXPECT_TRUE(Settle(page_));
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
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRun, "Same User"));

  SelectRows(list_, {FindRow(list_, "Same Machine")});
  RemoveAnswering({IDYES});
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == 1; }, 5000));
  EXPECT_EQ(ValuesLeft(kSeeds[0]), 0);
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kRun, "Same Machine"), "C:\\delaytest\\a\\same.exe /p");
  EXPECT_EQ(ValuesLeft(kSeeds[2]), 6);
}

TEST_F(DelayPageTest, OptionsDialogSetsTheDelayShown) {
  ASSERT_TRUE(Open());
  SelectRows(list_, {FindRow(list_, "Third")});
  Press(page_, kDelayOptions);
  HWND dialog = WaitDialog(OwnedBy(program_.sheet()));
  ASSERT_TRUE(dialog);
  SendDlgItemMessageA(dialog, 1196, CB_SETCURSEL, 2, 0);
  SendDlgItemMessageA(dialog, 1191, CB_SETCURSEL, 4, 0);
  Press(dialog, IDOK);
  EXPECT_TRUE(WaitClosed(dialog));
  EXPECT_TRUE(WaitFor([&] { return CellText(list_, FindRow(list_, "Third"), 3) == "2 Min. : 40 Sec."; }, 5000));
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kDelay + "\\Time", kSeeds[2].program), "160");
}

}  // namespace

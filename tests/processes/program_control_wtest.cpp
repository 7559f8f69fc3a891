// Ending running programs from the sheet, driven in a running TovrelEx:
// the Active Tasks page's Kill Task after sorting, the Startup page's
// stop-before-disable and the information window's Kill Task. Every
// program a test starts is ended by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kKillTaskId = 1007;
constexpr int kInfoId = 1008;
constexpr int kDisableId = 11;
constexpr int kInfoKillId = 3;

std::string Lower(std::string s) {
  for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
  return s;
}

// Row of a module (file name, any case) in the Active Tasks list, or -1.
int ModuleRow(HWND list, const std::string& name) {
  std::vector<std::string> modules = Column(list, 0);
  for (size_t i = 0; i < modules.size(); ++i)
    if (Lower(modules[i]) == Lower(name)) return int(i);
  return -1;
}

std::string HistoryText() { return ReadWholeFile(BinPath("history.txt")); }

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Two copies of the waiting test program under names of their own, so the
// list shows a row for each.
class RunningPrograms : public testing::Test {
 protected:
  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    DeleteFileA(BinPath("history.txt").c_str());
    SetText(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel\\Options", "Sound", "0");
    folder_ = TempFilePath("Tovrel task pages");
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* name : {"tovtaska.exe", "tovtaskb.exe"}) {
      std::string path = folder_ + "\\" + name;
      ASSERT_TRUE(CopyFileA(BinPath("sleeper.exe").c_str(), path.c_str(), FALSE));
      paths_.push_back(path);
      HANDLE p = StartProgram(path, "120000");
      ASSERT_NE(p, nullptr);
      children_.push_back(p);
    }
  }
  void TearDown() override {
    program_.Stop();
    for (HANDLE p : children_) {
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
    for (const std::string& path : paths_) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder_.c_str());
    DeleteValue(HKEY_CURRENT_USER, kUserRun, "Waiting Agent Test");
    ClearProductKeys();
    DeleteFileA(BinPath("history.txt").c_str());
  }
  bool Running(int i) { return WaitForSingleObject(children_[i], 0) == WAIT_TIMEOUT; }
  bool OpenTasks() {
    if (!program_.Open("-TASK")) return false;
    return WaitFor([&] {
      return ModuleRow(program_.list(), "tovtaska.exe") >= 0 &&
             ModuleRow(program_.list(), "tovtaskb.exe") >= 0;
    }, 15000);
  }

  std::string folder_;
  std::vector<std::string> paths_;
  std::vector<HANDLE> children_;
  RunningProgram program_;
};

}  // namespace

TEST_F(RunningPrograms, KillTaskAfterSortingEndsOnlyTheSelectedProgram) {
  ASSERT_TRUE(OpenTasks());
  HWND list = program_.list();
  // Sorted by module name the way that puts b above a, so the rows no
  // longer stand in the order of the entries behind them.
  auto bFirst = [&] { return ModuleRow(list, "tovtaskb.exe") < ModuleRow(list, "tovtaska.exe"); };
  ClickColumn(list, 0);
  if (!bFirst()) ClickColumn(list, 0);
  ASSERT_TRUE(WaitFor(bFirst, 5000));
  SelectRows(list, {ModuleRow(list, "tovtaskb.exe")});
  Press(program_.page(), kKillTaskId);
  ASSERT_EQ(WaitExit(children_[1], 10000), 1);
  EXPECT_TRUE(Running(0));
  ASSERT_TRUE(WaitFor([&] { return ModuleRow(program_.list(), "tovtaskb.exe") < 0; }, 10000));
  EXPECT_GE(ModuleRow(program_.list(), "tovtaska.exe"), 0);
  std::string history = HistoryText();
  EXPECT_EQ(Count(history, "\tTASK_Kill\tINFO_TASK\t"), 1) << history;
  EXPECT_NE(Lower(history).find("tovtaskb.exe"), std::string::npos) << history;
}

TEST_F(RunningPrograms, InformationWindowKillTaskAsksThenEnds) {
  SetText(HKEY_CURRENT_USER, kUserRun, "Waiting Agent Test", paths_[0]);
  ASSERT_TRUE(program_.Open("-START"));
  HWND list = program_.list();
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "Waiting Agent Test") >= 0; }, 10000));
  SelectRows(list, {FindRow(list, "Waiting Agent Test")});
  Press(program_.page(), kInfoId);
  DialogQuery query = OfProcessOf(program_.main());
  query.caption = "Waiting Agent Test";
  HWND info = WaitDialog(query);
  ASSERT_NE(info, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsShown(info, kInfoKillId); }, 5000));
  Press(info, kInfoKillId);
  std::string question = AnswerMessageBox(program_.main(), IDYES);
  EXPECT_NE(question.find("Waiting Agent Test is currently"), std::string::npos) << question;
  EXPECT_EQ(WaitExit(children_[0], 10000), 1);
  EXPECT_TRUE(Running(1));
  // Shown again: the program no longer runs.
  EXPECT_TRUE(WaitFor([&] { return !IsShown(info, kInfoKillId); }, 5000));
  PostMessageA(info, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitClosed(info));
  EXPECT_EQ(Count(HistoryText(), "\tTASK_Kill\tINFO_TASK\tWaiting Agent Test\t"), 1);
}

TEST_F(RunningPrograms, DisablingARunningStartupProgramStopsItOnRequest) {
  SetText(HKEY_CURRENT_USER, kUserRun, "Waiting Agent Test", paths_[0]);
  ASSERT_TRUE(program_.Open("-START"));
  HWND list = program_.list();
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "Waiting Agent Test") >= 0; }, 10000));
  SelectRows(list, {FindRow(list, "Waiting Agent Test")});
  Press(program_.page(), kDisableId);
  std::string question = AnswerMessageBox(program_.main(), IDYES);
  EXPECT_NE(question.find("Waiting Agent Test is currently"), std::string::npos) << question;
  EXPECT_EQ(WaitExit(children_[0], 10000), 1);
  EXPECT_TRUE(Running(1));
  EXPECT_TRUE(WaitFor([&] { return !HasValue(HKEY_CURRENT_USER, kUserRun, "Waiting Agent Test"); }, 10000));
}

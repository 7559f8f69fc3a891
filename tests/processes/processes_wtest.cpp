// The running-program walk under Wine, in both families: copies of a test
// program that only waits are started, listed, found and ended. Every
// process a test starts is ended by the test.
#include "processes/process_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files.h"
#include "core/history.h"
#include "core/settings.h"
#include "core/entries.h"
#include "tests/support/wine_support.h"
#include "processes/processes.h"

using namespace tov;
using namespace testsupport;

namespace {

struct Child {
  HANDLE process = nullptr;
  DWORD id = 0;
};

Child StartSleeper(const std::string& exe) {
  Child c;
  std::string line = "\"" + exe + "\" 120000";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    c.process = pi.hProcess;
    c.id = pi.dwProcessId;
  }
  return c;
}

bool Running(const Child& c) { return WaitForSingleObject(c.process, 0) == WAIT_TIMEOUT; }

int CountLines(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string HistoryText() {
  char path[MAX_PATH];
  HistoryFilePath(path, sizeof path);
  return ReadWholeFile(path);
}

// Three copies of the sleeper: two of the built program and one of a copy
// in a folder with a long name (whose short form differs), plus a copy
// named like a common host program.
class Processes : public testing::Test {
 protected:
  void SetUp() override {
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
    original_ = BinPath("sleeper.exe");
    folder_ = TempFilePath("Tovrel sleeper copies");
    CreateDirectoryA(folder_.c_str(), nullptr);
    copy_ = folder_ + "\\sleeper.exe";
    host_ = folder_ + "\\RUNDLL32.EXE";
    ASSERT_TRUE(CopyFileA(original_.c_str(), copy_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(original_.c_str(), host_.c_str(), FALSE));
    for (const std::string* exe : {&original_, &original_, &copy_, &host_}) {
      children_.push_back(StartSleeper(*exe));
      ASSERT_NE(children_.back().process, nullptr) << *exe;
    }
    // A started process is walked once its program is mapped.
    ASSERT_TRUE(WaitFor([&] { return FindProcessOfProgram(copy_.c_str()) != 0; }, 5000));
  }
  void TearDown() override {
    for (Child& c : children_) {
      if (!c.process) continue;
      TerminateProcess(c.process, 0);
      WaitForSingleObject(c.process, 5000);
      CloseHandle(c.process);
    }
    DeleteFileA(copy_.c_str());
    DeleteFileA(host_.c_str());
    RemoveDirectoryA(folder_.c_str());
    ClearEntries();
    ClearHistoryFile();
  }
  bool IsChild(DWORD id, std::initializer_list<int> which) {
    for (int i : which)
      if (children_[i].id == id) return true;
    return false;
  }

  std::string original_, folder_, copy_, host_;
  std::vector<Child> children_;
};

std::string Lower(std::string s) {
  for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TEST_F(Processes, OneRowPerProgramWithFullPaths) {
  ASSERT_GT(ListActiveTasks(), 0);
  std::vector<int> rows;
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* e = EntryAt(i);
    EXPECT_EQ(e->code, 600);
    if (Lower(e->path).find("sleeper.exe") != std::string::npos) rows.push_back(i);
  }
  ASSERT_EQ(rows.size(), 2u);
  std::vector<std::string> paths;
  for (int i : rows) paths.push_back(Lower(EntryAt(i)->path));
  EXPECT_NE(paths[0], paths[1]);
  for (int i : rows) {
    std::string path = Lower(EntryAt(i)->path);
    bool isCopy = path == Lower(copy_);
    EXPECT_TRUE(isCopy || path == Lower(original_)) << path;
    // The row keeps the id of a process of its own program.
    if (isCopy)
      EXPECT_TRUE(IsChild(DWORD(EntryAt(i)->flag), {2}));
    else
      EXPECT_TRUE(IsChild(DWORD(EntryAt(i)->flag), {0, 1}));
  }
}

TEST_F(Processes, FindByFullShortAndBareName) {
  EXPECT_TRUE(IsChild(FindProcessOfProgram(original_.c_str()), {0, 1}));
  EXPECT_TRUE(IsChild(FindProcessOfProgram(copy_.c_str()), {2}));
  char shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameA(copy_.c_str(), shortPath, sizeof shortPath), 0u);
  ASSERT_NE(Lower(shortPath), Lower(copy_));
  EXPECT_TRUE(IsChild(FindProcessOfProgram(shortPath), {2}));
  EXPECT_TRUE(IsChild(FindProcessOfProgram("sleeper.exe"), {0, 1, 2}));
  EXPECT_TRUE(IsProgramRunning(("\"" + copy_ + "\" /min").c_str()));
  // A common host is found by its path, never by its bare name.
  EXPECT_TRUE(IsChild(FindProcessOfProgram(host_.c_str()), {3}));
  EXPECT_EQ(FindProcessOfProgram("rundll32.exe"), 0u);
  EXPECT_EQ(StopRunningProgram("RUNDLL32.EXE", "Host", false), 0u);
  EXPECT_TRUE(Running(children_[3]));
  EXPECT_EQ(FindProcessOfProgram("C:\\No Such Folder\\sleeper.exe"), 0u);
  EXPECT_FALSE(IsProgramRunning(""));
}

TEST_F(Processes, StopEndsTheProgramWithOneHistoryLine) {
  DWORD id = StopRunningProgram(copy_.c_str(), "Sleeper Copy", false);
  EXPECT_EQ(id, children_[2].id);
  ASSERT_EQ(WaitExit(children_[2].process, 5000), 1);  // not 259, "still running"
  EXPECT_TRUE(Running(children_[0]));
  EXPECT_TRUE(Running(children_[1]));
  std::string history = HistoryText();
  EXPECT_EQ(CountLines(history, "\tTASK_Kill\tINFO_TASK\tSleeper Copy\t"), 1) << history;
  // Nothing running any more: no question, no line.
  EXPECT_EQ(StopRunningProgram(copy_.c_str(), "Sleeper Copy", true), 0u);
  EXPECT_EQ(HistoryText(), history);
}

TEST_F(Processes, AnIdNowRunningAnotherProgramIsNotEnded) {
  // The id of a process of the original, offered as if it ran the copy.
  EXPECT_FALSE(KillProcessOfProgram(children_[0].id, copy_.c_str()));
  EXPECT_TRUE(Running(children_[0]));
  EXPECT_FALSE(KillProcessOfProgram(0, copy_.c_str()));
  EXPECT_TRUE(KillProcessOfProgram(children_[2].id, copy_.c_str()));
  EXPECT_EQ(WaitExit(children_[2].process, 5000), 1);
}

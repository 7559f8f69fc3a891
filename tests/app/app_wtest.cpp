// TovrelEx as a process: command line, single instance, forwarding, quiet
// end, removal path and the resident monitor stand-in.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"
#include "ui/sheet.h"

using namespace testsupport;

namespace {

const char kOptions[] = "Software\\Brenvik\\Tovrel\\Options";

class ProgramTest : public testing::Test {
 protected:
  std::string log_ = TempFilePath("tovrel_monitor_log.txt");

  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("TOVREL_MONITOR_LOG", log_.c_str());
  }
  void TearDown() override {
    EndAllInstances();
    ClearProductKeys();
  }

  static HANDLE Run(const std::string& args) { return StartProgram(BinPath("TovrelEx.exe"), args); }

  static HWND WaitMainWindow() {
    HWND w = nullptr;
    WaitFor([&] { return (w = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000);
    return w;
  }

  // The page the running instance was last asked to open, or 0.
  static int RequestedPage(HWND w) { return (int)(INT_PTR)GetPropA(w, tov::kRequestedPageProp); }

  static bool WaitPage(HWND w, int page) {
    return WaitFor([&] { return RequestedPage(w) == page; }, 10000);
  }

  int CountInLog(const std::string& what) const {
    std::string text = ReadWholeFile(log_);
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  static void SetStoredOption(const char* name, const char* value) {
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kOptions, name, value));
  }
};

TEST_F(ProgramTest, EmptyCommandLineOpensDelayedStartThenSecondStartForwards) {
  HANDLE first = Run("");
  ASSERT_TRUE(first);
  HWND w = WaitMainWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitPage(w, tov::kCmdDelayedStart));
  // The hidden main window: visible style, no area, off the screen.
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_LE(r.bottom, 0);

  HANDLE second = Run("-OPTION");
  EXPECT_EQ(WaitExit(second, 10000), 0);  // forwards and ends at once
  CloseHandle(second);
  EXPECT_TRUE(WaitPage(w, tov::kCmdOptions));
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), w);  // still one instance

  // -Q ends the running instance; the quiet start itself ends at once too.
  HANDLE quiet = Run("-q");
  EXPECT_EQ(WaitExit(quiet, 10000), 0);
  CloseHandle(quiet);
  EXPECT_EQ(WaitExit(first, 10000), 0);
  CloseHandle(first);
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), nullptr);
}

TEST_F(ProgramTest, LastSwitchWinsAndClosingSavesOptions) {
  HANDLE p = Run("-OPTION -TASK");
  HWND w = WaitMainWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitPage(w, tov::kCmdActiveTasks));
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
  // Ending writes the options back, with "Update" set.
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kOptions, "Tasks"), TextValue("11"));
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kOptions, "Update"), "1");
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kOptions, "MaxCookie"));  // never written by the program
}

TEST_F(ProgramTest, StoredStartTabAndOverLongCommandLine) {
  SetStoredOption("StartTab", "6040");
  std::string line = "-OPTION";
  line.resize(773, 'x');
  HANDLE p = Run(line);
  HWND w = WaitMainWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitPage(w, tov::kCmdIEHelpers));  // no switch matched
  PostMessageA(w, WM_COMMAND, tov::kCmdClose, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);

  SetStoredOption("StartTab", "5");
  p = Run("");
  w = WaitMainWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitPage(w, tov::kCmdDelayedStart));
  PostMessageA(w, WM_COMMAND, tov::kCmdClose, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
}

TEST_F(ProgramTest, QuietWithNoInstanceDoesNothing) {
  HANDLE p = Run("-Q");
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), nullptr);
}

TEST_F(ProgramTest, StartLaunchesTheMonitorOnce) {
  HANDLE p = Run("-START");
  HWND w = WaitMainWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitPage(w, tov::kCmdStartup));
  ASSERT_TRUE(WaitFor([] { return FindWindowA("Tovrel", nullptr) != nullptr; }, 10000));
  // A second "-START" while the monitor runs starts no second copy.
  HANDLE again = Run("-START -OPTION");
  EXPECT_EQ(WaitExit(again, 10000), 0);
  CloseHandle(again);
  EXPECT_TRUE(WaitPage(w, tov::kCmdOptions));
  Sleep(500);
  EXPECT_EQ(CountInLog("start "), 1);
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
}

TEST_F(ProgramTest, RemoveClosesTheMonitorAndCreatesNoWindow) {
  HANDLE monitor = StartProgram(BinPath("Tovrel.exe"), "");
  ASSERT_TRUE(WaitFor([] { return FindWindowA("Tovrel", nullptr) != nullptr; }, 10000));
  HANDLE p = Run("-remove");
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), nullptr);
  EXPECT_EQ(WaitExit(monitor, 10000), 0);  // the stand-in ends on 6030
  CloseHandle(monitor);
  EXPECT_EQ(CountInLog("command 6030 0"), 1);
}

TEST_F(ProgramTest, ExitRequestFollowsConfirmExit) {
  HANDLE p = Run("-TASK");
  HWND w = WaitMainWindow();
  ASSERT_TRUE(w);
  // ConfirmExit on and no monitor: the monitor is started and we stay.
  SetStoredOption("ConfirmExit", "1");
  PostMessageA(w, WM_COMMAND, tov::kCmdExitRequest, 0);
  ASSERT_TRUE(WaitFor([] { return FindWindowA("Tovrel", nullptr) != nullptr; }, 10000));
  EXPECT_EQ(WaitExit(p, 300), -1);
  // With the monitor running the sheet opens at Startup Programs.
  PostMessageA(w, WM_COMMAND, tov::kCmdExitRequest, 0);
  EXPECT_TRUE(WaitPage(w, tov::kCmdStartup));
  // ConfirmExit off: the program ends.
  SetStoredOption("ConfirmExit", "0");
  PostMessageA(w, WM_COMMAND, tov::kCmdExitRequest, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0);
  CloseHandle(p);
}

}  // namespace

#include "app/app.h"

TEST(VersionLabel, MonitorVersionThenProgramVersion) {
  // The stand-in monitor beside the tests carries no version resource.
  char label[512];
  EXPECT_EQ(tov::VersionLabel(label, sizeof label), 12u);
  EXPECT_STREQ(label, ":11.2.2007.1");
  char small[4];
  tov::VersionLabel(small, sizeof small);
  EXPECT_STREQ(small, ":11");
}

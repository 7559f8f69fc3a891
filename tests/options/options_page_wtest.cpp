// The Options page in a running TovrelEx: the check boxes and their
// options, automatic start, the monitor's taskbar message, the History
// button and the options kept across the page's re-initialisation.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "resources/resource.h"
#include "tests/support/fixtures.h"

using namespace testsupport;

namespace {

const char kOptions[] = "Software\\Brenvik\\Tovrel\\Options";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsPageTest : public SheetTest {
 protected:
  SavedValue autostart_{HKEY_LOCAL_MACHINE, kRun, "Tovrel"};
  SavedKey uninstall_{HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovrel 2007"};
  std::string log_ = TempFilePath("tovrel_options_monitor_log.txt");

  HWND OpenOptions() {
    if (!program_.Open("-OPTION")) return nullptr;
    HWND page = program_.page();
    WaitFor([&] { return GetDlgItem(page, IDC_OPTIONS_AUTO_RUN) != nullptr; }, 5000);
    return page;
  }
  static std::string Stored(const char* option) { return GetText(HKEY_CURRENT_USER, kOptions, option, "-"); }
};

// control, option, whether ticking it shows message 927
struct BoxRow {
  int control;
  const char* option;
  bool tellsAboutIcon;
};
const BoxRow kBoxes[] = {
    {IDC_OPTIONS_LOCK_FILE_TYPES, "LockFileTypes", false},
    {IDC_OPTIONS_HISTORY, "History", false},
    {IDC_OPTIONS_HIDE_ICON, "HideFenno", true},
    {IDC_OPTIONS_SOUND, "Sound", false},
    {IDC_OPTIONS_CONFIRM_EXIT, "ConfirmExit", false},
};

void ClickBox(HWND page, const BoxRow& box, HWND main) {
  bool ticks = !IsChecked(page, box.control);
  if (!(box.tellsAboutIcon && ticks)) {
    ASSERT_TRUE(ClickCheckBox(page, box.control));
    return;
  }
  FlipCheckBox(page, box.control);
  Press(page, box.control);
  EXPECT_NE(AnswerMessageBox(main, IDOK).find("Taskbar icon will be hidden"), std::string::npos);
  EXPECT_TRUE(Settle(page));
}

TEST_F(OptionsPageTest, EachBoxTogglesItsOwnOptionAndSurvivesReopening) {
  HWND page = OpenOptions();
  ASSERT_TRUE(page);
  EXPECT_EQ(IsShown(page, IDC_OPTIONS_WININIT_TEXT), !IsNtFamily());  // the restart file is 9x only
  std::map<std::string, std::string> expected;
  for (const BoxRow& box : kBoxes) expected[box.option] = IsChecked(page, box.control) ? "1" : "0";
  for (const BoxRow& box : kBoxes) {
    SCOPED_TRACE(box.option);
    ClickBox(page, box, program_.main());
    expected[box.option] = expected[box.option] == "1" ? "0" : "1";
    for (const BoxRow& other : kBoxes) EXPECT_EQ(Stored(other.option), expected[other.option]) << other.option;
  }
  ASSERT_TRUE(program_.CloseByPage());
  page = OpenOptions();
  ASSERT_TRUE(page);
  for (const BoxRow& box : kBoxes) EXPECT_EQ(IsChecked(page, box.control), expected[box.option] == "1") << box.option;
}

TEST_F(OptionsPageTest, AutomaticRunFollowsTheRunKey) {
  HWND page = OpenOptions();
  ASSERT_TRUE(page);
  // The first run turned automatic start on.
  EXPECT_TRUE(IsChecked(page, IDC_OPTIONS_AUTO_RUN));
  {
    ReadOnlyKey locked(HKEY_LOCAL_MACHINE, kRun);
    if (locked.enforced()) {
      ASSERT_TRUE(ClickCheckBox(page, IDC_OPTIONS_AUTO_RUN));
      EXPECT_TRUE(IsChecked(page, IDC_OPTIONS_AUTO_RUN));  // the value could not go
      EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel"));
    }
  }
  ASSERT_TRUE(ClickCheckBox(page, IDC_OPTIONS_AUTO_RUN));
  EXPECT_FALSE(IsChecked(page, IDC_OPTIONS_AUTO_RUN));
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel"));
  ASSERT_TRUE(ClickCheckBox(page, IDC_OPTIONS_AUTO_RUN));
  EXPECT_TRUE(IsChecked(page, IDC_OPTIONS_AUTO_RUN));
  EXPECT_NE(GetText(HKEY_LOCAL_MACHINE, kRun, "Tovrel").find("\\tovrel.exe"), std::string::npos);
}

TEST_F(OptionsPageTest, TheMonitorIsToldToHideAndShowItsIcon) {
  DeleteFileA(log_.c_str());
  SetEnvironmentVariableA("TOVREL_MONITOR_LOG", log_.c_str());
  HANDLE monitor = StartProgram(BinPath("Tovrel.exe"), "");
  ASSERT_TRUE(WaitFor([] { return FindWindowA("Tovrel", nullptr) != nullptr; }, 10000));
  HWND page = OpenOptions();
  ASSERT_TRUE(page);
  ClickBox(page, kBoxes[2], program_.main());
  EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(log_).find("command 6053 1") != std::string::npos; }, 5000));
  ClickBox(page, kBoxes[2], program_.main());
  EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(log_).find("command 6053 0") != std::string::npos; }, 5000));
  SetEnvironmentVariableA("TOVREL_MONITOR_LOG", nullptr);
  CloseHandle(monitor);
}

TEST_F(OptionsPageTest, HistoryButtonOpensTheHistoryWindow) {
  HWND page = OpenOptions();
  ASSERT_TRUE(page);
  Press(page, IDC_OPTIONS_VIEW_HISTORY);
  HWND history = WaitDialog(OwnedBy(program_.sheet()));
  ASSERT_TRUE(history);
  EXPECT_TRUE(GetDlgItem(history, IDC_HISTORY_CLEAR) != nullptr);
  PostMessageA(history, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitClosed(history));
}

TEST_F(OptionsPageTest, AnOptionTickedOnAnotherPageIsKeptWhenOptionsOpens) {
  ASSERT_TRUE(program_.Open("-START"));
  HWND startup = program_.page();
  ASSERT_FALSE(IsChecked(startup, IDC_STARTUP_SHOW_ALL));
  ASSERT_TRUE(ClickCheckBox(startup, IDC_STARTUP_SHOW_ALL));
  HWND sheet = program_.sheet();
  SendMessageA(sheet, PSM_SETCURSEL, WPARAM(TabCount(sheet) - 1), 0);
  ASSERT_TRUE(WaitFor([&] { return GetDlgItem(VisiblePage(sheet), IDC_OPTIONS_AUTO_RUN) != nullptr; }, 8000));
  EXPECT_EQ(Stored("ShowAllStartup"), "1");  // saved before the options were read afresh
}

}  // namespace

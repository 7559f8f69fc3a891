// The History window, opened for real from the built program's resources
// with a seeded history file, and driven through window messages from a
// second thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/history.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/program.h"
#include "resources/resource.h"
#include "startup/changes.h"
#include "core/entries.h"
#include "tests/support/fixtures.h"
#include "ui/history_window.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kAgent[] = "HistWinAgent";
const char kAgentCommand[] = "\"C:\\Program Files\\HistWin Agent\\agent.exe\" /tray";

std::string HistoryPath() { return HistoryFile(); }

// The agent's Run value as it stands.
RegValue RunValue() { return ReadValue(HKEY_CURRENT_USER, kRunKey, kAgent); }

HWND ListOf(HWND d) { return GetDlgItem(d, IDC_HISTORY_LIST); }

class HistoryWindowTest : public DialogTest {
 protected:
  SavedValue agent_{HKEY_CURRENT_USER, kRunKey, kAgent};
  void SetUp() override {
    DialogTest::SetUp();
    DeleteValue(HKEY_CURRENT_USER, kRunKey, kAgent);
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
  }
  void TearDown() override {
    ClearHistoryFile();
    ClearEntries();
    DialogTest::TearDown();
  }
  void Open(std::function<void(HWND)> drive) {
    Drive([&] { HistoryWindow(owner_.top); return 0; }, std::move(drive));
  }
};

const char kThreeEvents[] =
    "03/07/2007  1:07 PM\t*START_Remove\tCURRENT_RUN\tAgent\tC:\\Agent\\agent.exe /min\t\r\n"
    "12/01/2006  9:00 AM\tTASK_Kill\tINFO_TASK\tKill me\tC:\\Tools\\x.exe\tsrc\r\n"
    "01/02/2007  12:05 AM\tSTART_Restore\tBOGUS_TYPE\tOdd\tcmd\t\r\n";

TEST_F(HistoryWindowTest, ShowsTheFileWithItsTextsColumnsAndMarkers) {
  ASSERT_TRUE(WriteWholeFile(HistoryPath(), kThreeEvents));
  const DialogSnapshot expected = {
      {kCaption, "Tovrel History"},
      {IDC_HISTORY_INTRO,
       "The following is a history of events that occurred with Tovrel. \nEvents with an * may be "
       "reversed by clicking the restore button."},
      {IDC_HISTORY_RESTORE, "&Restore [disabled]"},
      {IDC_HISTORY_CLEAR, "&Clear File"},
      {IDOK, "Close"}};
  DialogSnapshot seen;
  std::vector<std::string> headers, titles, actions, types, dates;
  std::vector<int> images, widths;
  std::vector<bool> restoreOffered;  // rows 0, 1, 2, 0 again, then none selected
  int listWidth = 0;
  Open([&](HWND d) {
    HWND list = ListOf(d);
    seen = SnapshotLike(d, expected);
    for (int c = 0; c < 4; ++c) {
      headers.push_back(HeaderText(list, c));
      widths.push_back(ListColumnWidth(list, c));
    }
    RECT r;
    GetWindowRect(list, &r);
    listWidth = r.right - r.left;
    titles = Column(list, 0);
    actions = Column(list, 1);
    types = Column(list, 2);
    dates = Column(list, 3);
    for (int row = 0; row < RowCount(list); ++row) images.push_back(RowImage(list, row));
    for (int row : {0, 1, 2, 0, -1}) {
      ClickRow(list, row);
      restoreOffered.push_back(IsEnabled(d, IDC_HISTORY_RESTORE));
    }
    Screenshot(d, "history_window");
    Click(d, IDOK);
  });
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(headers, (std::vector<std::string>{"Title", "Action", "Command", "Date Modified"}));
  const double shares[] = {0.35, 0.22, 0.22, 0.38};
  int usable = listWidth - GetSystemMetrics(SM_CXVSCROLL);
  ASSERT_EQ(widths.size(), 4u);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(widths[c], int(usable * shares[c])) << "column " << c;
  // File order; the third column shows the type name; names come from the
  // first table row of their code.
  EXPECT_EQ(titles, (std::vector<std::string>{"Agent", "Kill me", "Odd"}));
  EXPECT_EQ(actions, (std::vector<std::string>{"*START_Remove", "TASK_Kill", "SERVICE_Disabled"}));
  EXPECT_EQ(types, (std::vector<std::string>{"CURRENT_RUN", "INFO_TASK", "TYPE_UNKNOWN"}));
  EXPECT_EQ(dates, (std::vector<std::string>{"03/07/2007  1:07 PM", "12/01/2006  9:00 AM",
                                             "01/02/2007  12:05 AM"}));
  // Each row has its own icon after the program icon (image 0) and the
  // default program icon (image 1).
  EXPECT_EQ(images, (std::vector<int>{2, 3, 4}));
  // Only the removal can be restored; with nothing selected nothing can.
  EXPECT_EQ(restoreOffered, (std::vector<bool>{true, false, false, true, false}));
  // Closing leaves the entry list empty and the place of the window saved.
  EXPECT_EQ(EntryCount(), 0);
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kProductKey, "xHistory"));
}

TEST_F(HistoryWindowTest, ColumnClicksSortAndStoreTheColumn) {
  ASSERT_TRUE(WriteWholeFile(HistoryPath(), kThreeEvents));
  std::vector<std::string> byDate, byDateDown, byTitleDown, reopened;
  Open([&](HWND d) {
    NotifyFromList(ListOf(d), LVN_COLUMNCLICK, -1, 3);
    byDate = Column(ListOf(d), 0);
    NotifyFromList(ListOf(d), LVN_COLUMNCLICK, -1, 3);
    byDateDown = Column(ListOf(d), 0);
    NotifyFromList(ListOf(d), LVN_COLUMNCLICK, -1, 0);
    NotifyFromList(ListOf(d), LVN_COLUMNCLICK, -1, 0);
    byTitleDown = Column(ListOf(d), 0);
    Click(d, IDOK);
  });
  // By time, not by the text of the date.
  EXPECT_EQ(byDate, (std::vector<std::string>{"Kill me", "Odd", "Agent"}));
  EXPECT_EQ(byDateDown, (std::vector<std::string>{"Agent", "Odd", "Kill me"}));
  EXPECT_EQ(byTitleDown, (std::vector<std::string>{"Odd", "Kill me", "Agent"}));
  EXPECT_EQ(GetOption("SortHistory", 0), 1);
  // A new opening shows the file's order again, newest last.
  Open([&](HWND d) {
    reopened = Column(ListOf(d), 0);
    Click(d, IDOK);
  });
  EXPECT_EQ(reopened, (std::vector<std::string>{"Agent", "Kill me", "Odd"}));
}

TEST_F(HistoryWindowTest, NewestEventsAreScrolledIntoView) {
  for (int i = 0; i < 60; ++i)
    ASSERT_EQ(AddHistoryEvent(("Event " + std::to_string(i)).c_str(), "C:\\x.exe", "", 600, 5), 1);
  int top = -1, perPage = 0, rows = 0;
  Open([&](HWND d) {
    rows = RowCount(ListOf(d));
    top = int(SendMessageA(ListOf(d), LVM_GETTOPINDEX, 0, 0));
    perPage = int(SendMessageA(ListOf(d), LVM_GETCOUNTPERPAGE, 0, 0));
    Click(d, IDOK);
  });
  EXPECT_EQ(rows, 60);
  EXPECT_GT(top, 0);
  EXPECT_GE(top + perPage, 60);
}

TEST_F(HistoryWindowTest, RestoreWritesARemovedRunEntryBack) {
  SetText(HKEY_CURRENT_USER, kRunKey, kAgent, kAgentCommand);
  const RegValue original = RunValue();
  ASSERT_TRUE(original.exists);
  ASSERT_EQ(DeleteRunProgram(kAgent, kAgentCommand, "", 11), 1);
  ASSERT_FALSE(RunValue().exists);
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);

  int row = -1, rowsAfter = 0, selectedAfter = -1;
  std::string action;
  bool restoreAfter = false;
  Open([&](HWND d) {
    row = FindRow(ListOf(d), kAgent);
    if (row < 0) return;
    action = CellText(ListOf(d), row, 1);
    ClickRow(ListOf(d), row);
    Click(d, IDC_HISTORY_RESTORE);
    rowsAfter = RowCount(ListOf(d));
    selectedAfter = FirstSelectedRow(ListOf(d));
    restoreAfter = IsEnabled(d, IDC_HISTORY_RESTORE);
    Click(d, IDOK);
  });
  ASSERT_EQ(row, 0);
  EXPECT_EQ(action, "*START_Remove");
  EXPECT_EQ(RunValue(), original);
  // The file is read again; the event stays (it can be restored again).
  EXPECT_EQ(rowsAfter, 2);
  EXPECT_EQ(selectedAfter, 0);
  EXPECT_TRUE(restoreAfter);
}

TEST_F(HistoryWindowTest, RestoringALineTwiceChangesNothingAndSaysSo) {
  SetText(HKEY_CURRENT_USER, kRunKey, kAgent, kAgentCommand);
  const RegValue original = RunValue();
  ASSERT_EQ(DeleteRunProgram(kAgent, kAgentCommand, "", 11), 1);
  RegValue afterFirst;
  std::string second;
  Open([&](HWND d) {
    ClickRow(ListOf(d), 0);
    Click(d, IDC_HISTORY_RESTORE);  // done: no box
    afterFirst = RunValue();
    ClickRow(ListOf(d), 0);
    Press(d, IDC_HISTORY_RESTORE);
    second = AnswerMessageBox(d, IDOK);
    Click(d, IDOK);
  });
  EXPECT_EQ(afterFirst, original);
  EXPECT_NE(second.find("already"), std::string::npos) << second;
  EXPECT_EQ(RunValue(), original);
}

TEST_F(HistoryWindowTest, DoubleClickTurnsADisableBackOnlyOnce) {
  SetText(HKEY_CURRENT_USER, kRunKey, kAgent, kAgentCommand);
  const RegValue original = RunValue();
  ASSERT_EQ(DisableRunProgram(kAgent, kAgentCommand, "", 11), 1);
  ASSERT_TRUE(IsTitleDisabled(kAgent));
  ASSERT_EQ(AddHistoryEvent(kAgent, kAgentCommand, "", 11, 1), 1);  // "START_Disable"
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);

  bool restoreOffered = true, enabledAfterFirst = false, enabledAfterSecond = false;
  RegValue valueAfterFirst;
  int rowsAfterKill = 0;
  Open([&](HWND d) {
    ClickRow(ListOf(d), 0);
    restoreOffered = IsEnabled(d, IDC_HISTORY_RESTORE);
    DoubleClickRow(ListOf(d), 0);
    enabledAfterFirst = !IsTitleDisabled(kAgent);
    valueAfterFirst = RunValue();
    // A second double click would disable it again: the event is undone
    // already, so nothing changes.
    DoubleClickRow(ListOf(d), 0);
    enabledAfterSecond = !IsTitleDisabled(kAgent);
    DoubleClickRow(ListOf(d), 1);  // "TASK_Kill": nothing to reverse
    rowsAfterKill = RowCount(ListOf(d));
    Click(d, IDOK);
  });
  EXPECT_FALSE(restoreOffered);
  EXPECT_TRUE(enabledAfterFirst);
  EXPECT_EQ(valueAfterFirst, original);
  EXPECT_TRUE(enabledAfterSecond);
  EXPECT_EQ(RunValue(), original);
  EXPECT_EQ(rowsAfterKill, 2);
}

TEST_F(HistoryWindowTest, ClearFileDeletesTheFileAndEmptiesTheList) {
  const std::string file = HistoryPath();
  ASSERT_TRUE(WriteWholeFile(file, kThreeEvents));
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  int rowsBefore = 0, rowsAfter = -1, rowsOnMissing = -1;
  bool cleared = false, existsAfter = true, noQuestion = false;
  Open([&](HWND d) {
    rowsBefore = RowCount(ListOf(d));
    // Posted, so that a question (there is none) could not hold the driver;
    // then the effect, or a question, is waited for.
    Press(d, IDC_HISTORY_CLEAR);
    cleared = WaitFor([&] {
      return (RowCount(ListOf(d)) == 0 && !PathExists(file)) || FindDialog(OwnedBy(d));
    }, 8000);
    HWND box = FindDialog(OwnedBy(d));
    noQuestion = box == nullptr;
    if (box) PostMessageA(box, WM_COMMAND, IDNO, 0);
    rowsAfter = RowCount(ListOf(d));
    existsAfter = PathExists(file);
    // Clearing a missing file just shows the empty list.
    Click(d, IDC_HISTORY_CLEAR);
    rowsOnMissing = RowCount(ListOf(d));
    Click(d, IDOK);
  });
  EXPECT_EQ(rowsBefore, 3);
  EXPECT_TRUE(cleared);
  EXPECT_TRUE(noQuestion);
  EXPECT_EQ(rowsAfter, 0);
  EXPECT_FALSE(existsAfter);  // a read-only file is deleted too
  EXPECT_EQ(rowsOnMissing, 0);
  // Events written afterwards start a new file.
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);
  EXPECT_TRUE(PathExists(HistoryPath()));
}

}  // namespace

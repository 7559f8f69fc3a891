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
#include "startup/entries.h"
#include "tests/support/wine_support.h"
#include "tests/ui/dialog_driver.h"
#include "ui/history_window.h"

using namespace tov;
using namespace uitest;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kAgent[] = "HistWinAgent";
const char kAgentCommand[] = "\"C:\\Program Files\\HistWin Agent\\agent.exe\" /tray";

std::string HistoryPath() {
  char path[MAX_PATH];
  EXPECT_TRUE(HistoryFilePath(path, sizeof path));
  return path;
}

bool HistoryFileExists() { return GetFileAttributesA(HistoryPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteHistory(const std::string& text) {
  FILE* f = fopen(HistoryPath().c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

// The agent's Run value as it stands: type and bytes, empty when missing.
std::string RunValue() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  DWORD type = 0, size = 0;
  std::string bytes;
  if (RegQueryValueExA(key, kAgent, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    RegQueryValueExA(key, kAgent, nullptr, &type, (BYTE*)&bytes[0], &size);
    bytes = std::to_string(type) + ":" + bytes;
  }
  RegCloseKey(key);
  return bytes;
}

void SetRunValue(const char* command) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, kAgent, 0, REG_SZ, (const BYTE*)command, DWORD(strlen(command) + 1));
  RegCloseKey(key);
}

void DeleteRunValue() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kAgent);
  RegCloseKey(key);
}

HWND ListOf(HWND d) { return GetDlgItem(d, IDC_HISTORY_LIST); }
int RowCount(HWND d) { return int(SendMessageA(ListOf(d), LVM_GETITEMCOUNT, 0, 0)); }

std::string Cell(HWND d, int row, int column) {
  char text[512] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(ListOf(d), LVM_GETITEMTEXTA, row, (LPARAM)&item);
  return text;
}

std::vector<std::string> Column(HWND d, int column) {
  std::vector<std::string> cells;
  for (int row = 0; row < RowCount(d); ++row) cells.push_back(Cell(d, row, column));
  return cells;
}

int ImageOf(HWND d, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(ListOf(d), LVM_GETITEMA, 0, (LPARAM)&item);
  return item.iImage;
}

std::string Header(HWND d, int column) {
  char text[128] = "";
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT;
  c.pszText = text;
  c.cchTextMax = sizeof text;
  SendMessageA(ListOf(d), LVM_GETCOLUMNA, column, (LPARAM)&c);
  return text;
}

void Notify(HWND d, UINT code, int row, int column = 0) {
  NMLISTVIEW n{};
  n.hdr.hwndFrom = ListOf(d);
  n.hdr.idFrom = IDC_HISTORY_LIST;
  n.hdr.code = code;
  n.iItem = row;
  n.iSubItem = column;
  SendMessageA(d, WM_NOTIFY, IDC_HISTORY_LIST, (LPARAM)&n);
}

// Selects a row the way a click does (the list tells the window).
void SelectOnly(HWND d, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(ListOf(d), LVM_SETITEMSTATE, WPARAM(-1), (LPARAM)&item);
  if (row >= 0) {
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(ListOf(d), LVM_SETITEMSTATE, row, (LPARAM)&item);
  }
  Notify(d, NM_CLICK, row);
}

void DoubleClick(HWND d, int row) {
  SelectOnly(d, row);
  Notify(d, NM_DBLCLK, row);
}

int RowOf(HWND d, const std::string& title) {
  for (int row = 0; row < RowCount(d); ++row)
    if (Cell(d, row, 0) == title) return row;
  return -1;
}

class HistoryWindowTest : public testing::Test {
 protected:
  HMODULE program_ = nullptr;
  OwnerWindow owner_;
  void SetUp() override {
    testsupport::ClearProductKeys();
    DeleteRunValue();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    program_ = LoadLibraryExA(testsupport::BinPath("TovrelEx.exe").c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program_);
    SetProgramInstance(program_);
    SetProgramCaption("Tovrel");
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
  }
  void TearDown() override {
    ClearHistoryFile();
    ClearEntries();
    DeleteRunValue();
    SetProgramInstance(nullptr);
    if (program_) FreeLibrary(program_);
    testsupport::ClearProductKeys();
  }
  void Open(std::function<void(HWND)> drive) {
    bool found = false;
    RunDriven(owner_.top, std::move(drive), [&] { HistoryWindow(owner_.top); return 0; }, &found);
    EXPECT_TRUE(found) << "the History window did not appear";
  }
};

const char kThreeEvents[] =
    "03/07/2007  1:07 PM\t*START_Remove\tCURRENT_RUN\tAgent\tC:\\Agent\\agent.exe /min\t\r\n"
    "12/01/2006  9:00 AM\tTASK_Kill\tINFO_TASK\tKill me\tC:\\Tools\\x.exe\tsrc\r\n"
    "01/02/2007  12:05 AM\tSTART_Restore\tBOGUS_TYPE\tOdd\tcmd\t\r\n";

TEST_F(HistoryWindowTest, ShowsTheFileWithItsTextsColumnsAndMarkers) {
  WriteHistory(kThreeEvents);
  struct Seen {
    std::string caption, intro, restore, clear, close;
    std::vector<std::string> headers, titles, actions, types, dates;
    std::vector<int> images;
    int widths[4] = {}, listWidth = 0;
    bool restoreAtOpen = true, restoreOnRemove = false, restoreOnKill = true, restoreOnOdd = true;
    bool restoreNone = true;
  } s;
  Open([&](HWND d) {
    s.caption = Caption(d);
    s.intro = Text(d, IDC_HISTORY_INTRO);
    s.restore = Text(d, IDC_HISTORY_RESTORE);
    s.clear = Text(d, IDC_HISTORY_CLEAR);
    s.close = Text(d, IDOK);
    for (int c = 0; c < 4; ++c) {
      s.headers.push_back(Header(d, c));
      s.widths[c] = int(SendMessageA(ListOf(d), LVM_GETCOLUMNWIDTH, c, 0));
    }
    RECT r;
    GetWindowRect(ListOf(d), &r);
    s.listWidth = r.right - r.left;
    s.titles = Column(d, 0);
    s.actions = Column(d, 1);
    s.types = Column(d, 2);
    s.dates = Column(d, 3);
    for (int row = 0; row < RowCount(d); ++row) s.images.push_back(ImageOf(d, row));
    s.restoreAtOpen = Enabled(d, IDC_HISTORY_RESTORE);
    SelectOnly(d, 0);
    s.restoreOnRemove = Enabled(d, IDC_HISTORY_RESTORE);
    SelectOnly(d, 1);
    s.restoreOnKill = Enabled(d, IDC_HISTORY_RESTORE);
    SelectOnly(d, 2);
    s.restoreOnOdd = Enabled(d, IDC_HISTORY_RESTORE);
    SelectOnly(d, 0);
    SelectOnly(d, -1);  // nothing selected
    s.restoreNone = Enabled(d, IDC_HISTORY_RESTORE);
    Screenshot(d, "history_window");
    Click(d, IDOK);
  });
  EXPECT_EQ(s.caption, "Tovrel History");
  EXPECT_EQ(s.intro,
            "The following is a history of events that occurred with Tovrel. \nEvents with an * "
            "may be reversed by clicking the restore button.");
  EXPECT_EQ(s.restore, "&Restore");
  EXPECT_EQ(s.clear, "&Clear File");
  EXPECT_EQ(s.close, "Close");
  EXPECT_EQ(s.headers, (std::vector<std::string>{"Title", "Action", "Command", "Date Modified"}));
  const double shares[] = {0.35, 0.22, 0.22, 0.38};
  int usable = s.listWidth - GetSystemMetrics(SM_CXVSCROLL);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(s.widths[c], int(usable * shares[c])) << "column " << c;
  // File order; the third column shows the type name; names come from the
  // first table row of their code.
  EXPECT_EQ(s.titles, (std::vector<std::string>{"Agent", "Kill me", "Odd"}));
  EXPECT_EQ(s.actions, (std::vector<std::string>{"*START_Remove", "TASK_Kill", "SERVICE_Disabled"}));
  EXPECT_EQ(s.types, (std::vector<std::string>{"CURRENT_RUN", "INFO_TASK", "TYPE_UNKNOWN"}));
  EXPECT_EQ(s.dates, (std::vector<std::string>{"03/07/2007  1:07 PM", "12/01/2006  9:00 AM",
                                               "01/02/2007  12:05 AM"}));
  // Each row has its own icon after the program icon (image 0).
  EXPECT_EQ(s.images, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(s.restoreAtOpen);
  EXPECT_TRUE(s.restoreOnRemove);
  EXPECT_FALSE(s.restoreOnKill);
  EXPECT_FALSE(s.restoreOnOdd);
  EXPECT_FALSE(s.restoreNone);
  // Closing leaves the entry list empty and the place of the window saved.
  EXPECT_EQ(EntryCount(), 0);
  char x[16] = "";
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kProductKey, "xHistory", x), 0u);
}

TEST_F(HistoryWindowTest, ColumnClicksSortAndStoreTheColumn) {
  WriteHistory(kThreeEvents);
  std::vector<std::string> byDate, byDateDown, byTitleDown, reopened;
  Open([&](HWND d) {
    Notify(d, LVN_COLUMNCLICK, -1, 3);
    byDate = Column(d, 0);
    Notify(d, LVN_COLUMNCLICK, -1, 3);
    byDateDown = Column(d, 0);
    Notify(d, LVN_COLUMNCLICK, -1, 0);
    Notify(d, LVN_COLUMNCLICK, -1, 0);
    byTitleDown = Column(d, 0);
    Click(d, IDOK);
  });
  // By time, not by the text of the date.
  EXPECT_EQ(byDate, (std::vector<std::string>{"Kill me", "Odd", "Agent"}));
  EXPECT_EQ(byDateDown, (std::vector<std::string>{"Agent", "Odd", "Kill me"}));
  EXPECT_EQ(byTitleDown, (std::vector<std::string>{"Odd", "Kill me", "Agent"}));
  EXPECT_EQ(GetOption("SortHistory", 0), 1);
  // A new opening shows the file's order again, newest last.
  Open([&](HWND d) {
    reopened = Column(d, 0);
    Click(d, IDOK);
  });
  EXPECT_EQ(reopened, (std::vector<std::string>{"Agent", "Kill me", "Odd"}));
}

TEST_F(HistoryWindowTest, NewestEventsAreScrolledIntoView) {
  for (int i = 0; i < 60; ++i)
    ASSERT_EQ(AddHistoryEvent(("Event " + std::to_string(i)).c_str(), "C:\\x.exe", "", 600, 5), 1);
  int top = -1, perPage = 0, rows = 0;
  Open([&](HWND d) {
    rows = RowCount(d);
    top = int(SendMessageA(ListOf(d), LVM_GETTOPINDEX, 0, 0));
    perPage = int(SendMessageA(ListOf(d), LVM_GETCOUNTPERPAGE, 0, 0));
    Click(d, IDOK);
  });
  EXPECT_EQ(rows, 60);
  EXPECT_GT(top, 0);
  EXPECT_GE(top + perPage, 60);
}

TEST_F(HistoryWindowTest, RestoreWritesARemovedRunEntryBack) {
  SetRunValue(kAgentCommand);
  const std::string original = RunValue();
  ASSERT_FALSE(original.empty());
  ASSERT_EQ(DeleteRunProgram(kAgent, kAgentCommand, "", 11), 1);
  ASSERT_EQ(RunValue(), "");
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);

  int row = -1, rowsAfter = 0, selectedAfter = -1;
  std::string action;
  bool restoreAfter = false;
  Open([&](HWND d) {
    row = RowOf(d, kAgent);
    if (row < 0) return;
    action = Cell(d, row, 1);
    SelectOnly(d, row);
    Click(d, IDC_HISTORY_RESTORE);
    rowsAfter = RowCount(d);
    selectedAfter = int(SendMessageA(ListOf(d), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    restoreAfter = Enabled(d, IDC_HISTORY_RESTORE);
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

// Presses a button by a posted message, so that a message box it opens can
// be answered here; returns the box's text, "" when no box showed.
std::string PressAndAnswer(HWND d, int id) {
  PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(d, id));
  HWND box = nullptr;
  testsupport::WaitFor([&] { return (box = FindDialogOf(d)) != nullptr; }, 3000);
  if (box == nullptr) return "";
  char text[512] = "";
  GetDlgItemTextA(box, 65535, text, sizeof text);
  testsupport::WaitFor([&] {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return !IsWindow(box);
  }, 3000);
  return text;
}

TEST_F(HistoryWindowTest, RestoringALineTwiceChangesNothingAndSaysSo) {
  SetRunValue(kAgentCommand);
  const std::string original = RunValue();
  ASSERT_EQ(DeleteRunProgram(kAgent, kAgentCommand, "", 11), 1);
  std::string first = "-", second;
  Open([&](HWND d) {
    SelectOnly(d, 0);
    first = PressAndAnswer(d, IDC_HISTORY_RESTORE);
    SelectOnly(d, 0);
    second = PressAndAnswer(d, IDC_HISTORY_RESTORE);
    Click(d, IDOK);
  });
  EXPECT_EQ(first, "");  // done: no message
  EXPECT_NE(second.find("already"), std::string::npos) << second;
  EXPECT_EQ(RunValue(), original);
}

TEST_F(HistoryWindowTest, DoubleClickTurnsADisableBackOnlyOnce) {
  SetRunValue(kAgentCommand);
  const std::string original = RunValue();
  ASSERT_EQ(DisableRunProgram(kAgent, kAgentCommand, "", 11), 1);
  ASSERT_TRUE(IsTitleDisabled(kAgent));
  ASSERT_EQ(AddHistoryEvent(kAgent, kAgentCommand, "", 11, 1), 1);  // "START_Disable"
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);

  bool restoreOffered = true, enabledAfterFirst = false, enabledAfterSecond = false;
  std::string valueAfterFirst;
  int rowsAfterKill = 0;
  Open([&](HWND d) {
    SelectOnly(d, 0);
    restoreOffered = Enabled(d, IDC_HISTORY_RESTORE);
    DoubleClick(d, 0);
    enabledAfterFirst = !IsTitleDisabled(kAgent);
    valueAfterFirst = RunValue();
    // A second double click would disable it again: the event is undone
    // already, so nothing changes.
    DoubleClick(d, 0);
    enabledAfterSecond = !IsTitleDisabled(kAgent);
    DoubleClick(d, 1);  // "TASK_Kill": nothing to reverse
    rowsAfterKill = RowCount(d);
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
  WriteHistory(kThreeEvents);
  SetFileAttributesA(HistoryPath().c_str(), FILE_ATTRIBUTE_READONLY);
  int rowsBefore = 0, rowsAfter = -1, rowsOnMissing = -1;
  bool existsAfter = true, noQuestion = false;
  Open([&](HWND d) {
    rowsBefore = RowCount(d);
    // Posted, so that a question (there is none) could not hold the driver.
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_CLEAR, BN_CLICKED), 0);
    SendMessageA(d, WM_NULL, 0, 0);
    HWND box = FindDialogOf(d);
    noQuestion = box == nullptr;
    if (box) PostMessageA(box, WM_COMMAND, IDNO, 0);
    rowsAfter = RowCount(d);
    existsAfter = HistoryFileExists();
    // Clearing a missing file just shows the empty list.
    Click(d, IDC_HISTORY_CLEAR);
    rowsOnMissing = RowCount(d);
    Click(d, IDOK);
  });
  EXPECT_EQ(rowsBefore, 3);
  EXPECT_TRUE(noQuestion);
  EXPECT_EQ(rowsAfter, 0);
  EXPECT_FALSE(existsAfter);  // a read-only file is deleted too
  EXPECT_EQ(rowsOnMissing, 0);
  // Events written afterwards start a new file.
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "", 600, 5), 1);
  EXPECT_TRUE(HistoryFileExists());
}

}  // namespace

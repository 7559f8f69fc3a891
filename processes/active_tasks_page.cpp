// The Active Tasks page: one row per running program file with its
// description, company and first-detection date; Refresh, and Kill Task
// for the selected programs.
#include <windows.h>
#include <commctrl.h>

#include "core/entries.h"
#include "core/files.h"
#include "core/history.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/text.h"
#include "core/version.h"
#include "hidden/reboot_delete.h"
#include "processes/process_walk.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "core/detected.h"
#include "startup/catalogue.h"
#include "ui/page_framework.h"

namespace tov {

const PageDefinition& ActiveTasksPage();

namespace {

constexpr char kActiveTasksDetectedKey[] = "Software\\Brenvik\\Detected\\ActiveTasks";

enum TaskColumn { kColModule, kColDescription, kColCompany, kColDetected, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextModule, 0.25}, {kTextProgramDescription, 0.35}, {kTextCompany, 0.20},
    {kTextFirstDetected, 0.20},
};

// The first-detection date of a running program, recorded now when it was
// not known yet.
void DetectedText(const char* path, char (&out)[kFirstDetectedCapacity]) {
  char program[kPathCapacity];
  out[0] = 0;
  if (!ProgramOfCommand(path, program) || !program[0]) return;
  if (GetFirstDetected(program, kCodeRunningTask, out) > 0) return;
  RecordFirstDetected(path, kActiveTasksDetectedKey);
  GetFirstDetected(program, kCodeRunningTask, out);
}

void TaskSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColModule: FileNameOf(e->path, key->text, sizeof key->text); break;
    case kColDescription: CopyText(key->text, e->title); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      ListCompany(entry, company);
      CopyText(key->text, company);
      break;
    }
    case kColDetected: {
      char detected[kFirstDetectedCapacity];
      DetectedText(e->path, detected);
      SortableDate(detected, key->text, sizeof key->text);
      break;
    }
  }
}

void FillTaskList(HWND page) {
  FirstDetectedHeld dates;  // one read of the dates for every row
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ListActiveTasks();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    char name[kPathCapacity];
    // A program known only by a bare name gets no row.
    if (FileNameOf(e.path, name) == 0) continue;
    int row = InsertRow(list, i, name, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    SetRowCompany(list, row, kColCompany, e.path);
    char detected[kFirstDetectedCapacity];
    DetectedText(e.path, detected);
    SetRowText(list, row, kColDetected, detected);
    if (e.title[0]) SetRowText(list, row, kColDescription, e.title);
  }
  ApplyStoredSort(list, ActiveTasksPage().list, TaskSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

void OnRefresh(HWND page) { FillTaskList(page); }

// Ends the program of every selected row. Each row's entry keeps the id of
// the process found when the list was made; a process that has ended since,
// or whose id now belongs to another program, is left alone.
void OnKillTask(HWND page) {
  HWND list = PageList(page);
  if (NextSelectedRow(list, -1) < 0) {
    NothingSelected(page);
    return;
  }
  for (int row = NextSelectedRow(list, -1); row >= 0; row = NextSelectedRow(list, row)) {
    const Entry* e = EntryAt(RowEntry(list, row));
    if (!e || !KillProcessOfProgram(DWORD(e->flag), e->path)) continue;
    char program[kPathCapacity];
    ProgramOfCommand(e->path, program);
    AddHistoryEvent(e->title, program, e->extra, kCodeRunningTask, kActionTaskKill);
  }
  FillTaskList(page);
}


void OnTaskLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_ACTIVE_REFRESH, IDC_ACTIVE_KILL, IDC_PAGE_CLOSE};
  LayoutPageWithButtons(page, buttons);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextActiveTasksIntro},
    {IDC_ACTIVE_REFRESH, kTextRefresh},
    {IDC_ACTIVE_KILL, kTextKillTask},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRefresh, kCmdRefresh, nullptr},
    {kTextKillTask, kCmdKillTask, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
};

const PageCommandRow kCommands[] = {
    {kCmdRefresh, OnRefresh, BN_CLICKED},
    {kCmdKillTask, OnKillTask, BN_CLICKED},
    {kCmdDeleteOnReboot, DeleteSelectedFileOnReboot, BN_CLICKED},
};

PageDefinition MakeActiveTasksPage() {
  PageDefinition d{};
  d.pageId = kCmdActiveTasks;
  d.helpFile = "tasks.html";
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.sortOption = "SortActiveTask";
  d.list.lastSortableColumn = kColDetected;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = TaskSortKeys;
  d.fill = FillTaskList;
  d.layout = OnTaskLayout;
  return d;
}

}  // namespace

const PageDefinition& ActiveTasksPage() {
  static const PageDefinition page = MakeActiveTasksPage();
  return page;
}

}  // namespace tov

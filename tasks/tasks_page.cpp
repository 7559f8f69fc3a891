// The Scheduled Tasks page: the work items of the Windows Task Scheduler
// with their program, company and next and last run times; Remove deletes
// a task and its value in the known list of tasks.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/version.h"
#include "hidden/reboot_delete.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/baseline_rules.h"
#include "tasks/scheduler.h"
#include "tasks/tasks.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& ScheduledTasksPage();

namespace {

enum TaskColumn { kColName, kColProgram, kColCompany, kColNextRun, kColLastRun, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextName, 0.30}, {kTextProgram, 0.20}, {kTextCompany, 0.20}, {kTextNextRunTime, 0.18},
    {kTextLastRunTime, 0.16},
};
constexpr int kTextRemoveTaskQuestion = 687;

void TaskSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColName: CopyTextN(key->text, sizeof key->text, e->title); break;
    case kColProgram: FileNameOf(e->path, key->text, sizeof key->text); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      ListCompany(entry, company);
      CopyTextN(key->text, sizeof key->text, company);
      break;
    }
    // The run times sort as their texts, month first.
    case kColNextRun: CopyTextN(key->text, sizeof key->text, e->source); break;
    case kColLastRun: CopyTextN(key->text, sizeof key->text, e->extra); break;
  }
}

// The introduction in two paragraphs: what the list holds, how to learn
// more.
void ShowIntroduction(HWND page) {
  char intro[kMessageCapacity];
  char second[kMessageCapacity];
  LoadText(kTextScheduledTasksIntro, intro);
  LoadText(kTextSelectAScheduledTask, second);
  AppendText(intro, second);
  SetDlgItemTextA(page, IDC_PAGE_INTRO, intro);
}

size_t TaskLocationText(int, char* out, size_t cap) {
  return LoadText(kTextWindowsTaskScheduler, out, cap);
}

void FillTaskList(HWND page) {
  ShowIntroduction(page);
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ListScheduledTasks();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    char name[kEntryTitleSlot];
    TaskDisplayName(e.title, name, sizeof name);
    int row = InsertRow(list, i, name, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    char program[kPathCapacity];
    if (FileNameOf(e.path, program) == 0) CopyText(program, e.path);
    SetRowText(list, row, kColProgram, program);
    SetRowCompany(list, row, kColCompany, e.path, kImageListPage, true);
    SetRowText(list, row, kColNextRun, e.source);
    SetRowText(list, row, kColLastRun, e.extra);
  }
  ApplyStoredSort(list, ScheduledTasksPage().list, TaskSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

void OnRemoveTask(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    NothingSelected(page);
    return;
  }
  char title[kEntryTitleSlot];
  EntryTitle(entry, title, sizeof title);
  if (!AskAbout(page, kTextRemoveTaskQuestion, title, MB_ICONEXCLAMATION)) return;
  // The known-list value goes only with the task itself: a task that is
  // still there stays known to the monitor.
  if (DeleteScheduledTask(title) == S_OK) DeleteRegValue(HKEY_CURRENT_USER, kKnownTasksKey, title);
  RefillPage(ScheduledTasksPage(), page);
}


const ControlText kTexts[] = {
    {IDC_TASKS_REMOVE, kTextRemove},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRemove, kCmdRemove, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
};

const PageCommandRow kCommands[] = {
    {kCmdRemove, OnRemoveTask, BN_CLICKED},
    {kCmdDeleteOnReboot, DeleteSelectedFileOnReboot, BN_CLICKED},
};

// Info, Remove and Close along the bottom.
void OnTaskLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_TASKS_REMOVE, IDC_PAGE_CLOSE};
  LayoutPageWithButtons(page, buttons);
}

PageDefinition MakeScheduledTasksPage() {
  PageDefinition d{};
  d.pageId = kCmdScheduledTasks;
  d.helpFile = "scheduler.html";
  d.patrolTitleId = kPatrolTasks;
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.fullWidth = true;
  d.list.sortOption = "SortScheduledTask";
  d.list.lastSortableColumn = kColumnCount - 1;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = TaskSortKeys;
  d.fill = FillTaskList;
  d.locationText = TaskLocationText;
  d.layout = OnTaskLayout;
  return d;
}

}  // namespace

const PageDefinition& ScheduledTasksPage() {
  static const PageDefinition page = MakeScheduledTasksPage();
  return page;
}

// What the information window asks of this family.
void GetTaskStatusText(const char* taskName, char* out, size_t cap) {
  ReadTaskStatusText(taskName, out, cap);
}

void GetTaskComment(const char* taskName, char* out, size_t cap) {
  ReadTaskComment(taskName, out, cap);
}

}  // namespace tov

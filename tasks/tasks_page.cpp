// The Scheduled Tasks page: the work items of the Windows Task Scheduler
// with their program, company and next and last run times; Remove deletes
// a task and its value in the known list of tasks.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "core/files.h"
#include "core/messages.h"
#include "app/command_line.h"
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
#include "startup/baseline.h"
#include "startup/entries.h"
#include "ui/page_framework.h"
#include "ui/pages.h"
#include "ui/patrol_dialog.h"

namespace tov {

namespace {

extern const PageDefinition kTasksPage;

enum TaskColumn { kColName, kColProgram, kColCompany, kColNextRun, kColLastRun, kColumnCount };
const int kColumnTexts[kColumnCount] = {kTextName, kTextProgram, kTextCompany, kTextNextRunTime,
                                        kTextLastRunTime};
constexpr int kTextRemoveTaskQuestion = 687;

void CompanyText(const char* path, char (&out)[kVersionFieldCapacity]) {
  out[0] = 0;
  char program[kPathCapacity];
  VersionStrings version;
  if (ProgramOfCommand(path, program) && program[0] && ReadVersionStrings(program, &version))
    CopyText(out, version.companyName);
}

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
      CompanyText(e->path, company);
      CopyTextN(key->text, sizeof key->text, company);
      break;
    }
    // The run times sort as their texts, month first.
    case kColNextRun: CopyTextN(key->text, sizeof key->text, e->source); break;
    case kColLastRun: CopyTextN(key->text, sizeof key->text, e->extra); break;
  }
}

void FillTaskList(HWND page) {
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
    char company[kVersionFieldCapacity];
    CompanyText(e.path, company);
    SetRowText(list, row, kColCompany, company);
    SetRowText(list, row, kColNextRun, e.source);
    SetRowText(list, row, kColLastRun, e.extra);
  }
  ApplyStoredSort(list, kCmdScheduledTasks, TaskSortKeys);
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
  char question[kMessageCapacity];
  LoadText(kTextRemoveTaskQuestion, question);
  char text[kMessageCapacity + kTitleCapacity];
  FormatOneText(question, title, text, sizeof text);
  if (MessageBoxA(page, text, ProgramCaption(), MB_YESNO | MB_ICONEXCLAMATION | MB_TOPMOST) != IDYES)
    return;
  // The known-list value goes only with the task itself: a task that is
  // still there stays known to the monitor.
  if (DeleteScheduledTask(title) == S_OK) DeleteRegValue(HKEY_CURRENT_USER, kKnownTasksKey, title);
  RefillPage(kTasksPage, page);
}

void OnDeleteTaskFile(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    NothingSelected(page);
    return;
  }
  char question[kMessageCapacity];
  LoadText(kTextIsThisKnownAdware, question);
  if (MessageBoxA(page, question, ProgramCaption(), MB_YESNO | MB_ICONSTOP | MB_TOPMOST) != IDYES)
    return;
  char path[kEntryPathSlot];
  EntryPath(entry, path, sizeof path);
  DeleteFileOnReboot(path);
}

const PageCommandRow kCommands[] = {
    {kCmdRemove, OnRemoveTask},
    {kCmdDeleteOnReboot, OnDeleteTaskFile},
};

// Info, Remove and Close along the bottom.
void OnTaskLayout(HWND page) {
  PageLayout layout;
  StandardPageLayout(page, &layout);
  const int buttons[] = {IDC_PAGE_INFO, IDC_TASKS_REMOVE, IDC_PAGE_CLOSE};
  layout.buttonCount = 3;
  for (int i = 0; i < 3; ++i) layout.buttons[i] = GetDlgItem(page, buttons[i]);
  LayoutPage(layout);
}

const PageDefinition kTasksPage = {
    kCmdScheduledTasks,
    kTextScheduledTasksIntro,
    kPatrolTasks,
    kColumnTexts,
    kColumnCount,
    kCommands,
    int(sizeof kCommands / sizeof kCommands[0]),
    TaskSortKeys,
    FillTaskList,
    nullptr,
    OnTaskLayout,
};

// The introduction in two paragraphs: what the list holds, how to learn more.
BOOL OnInitDialog(HWND page) {
  InitialisePage(kTasksPage, page);
  char intro[kMessageCapacity];
  char second[kMessageCapacity];
  LoadText(kTextScheduledTasksIntro, intro);
  LoadText(kTextSelectAScheduledTask, second);
  AppendText(intro, second);
  SetDlgItemTextA(page, IDC_PAGE_INTRO, intro);
  SetControlText(page, kTextRemove, IDC_TASKS_REMOVE);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK ScheduledTasksPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) return OnInitDialog(page);
  return PageMessage(kTasksPage, page, msg, wParam, lParam);
}

// What the information window asks of this family.
void GetTaskStatusText(const char* taskName, char* out, size_t cap) {
  ReadTaskStatusText(taskName, out, cap);
}

void GetTaskComment(const char* taskName, char* out, size_t cap) {
  ReadTaskComment(taskName, out, cap);
}

}  // namespace tov

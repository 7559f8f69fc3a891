// The Startup Programs page: every startup entry with its icon, command,
// company, type and first-detection date, and the commands that disable,
// enable, remove, reset, add and delay them.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/version.h"
#include "delay/delay_store.h"
#include "hidden/reboot_delete.h"
#include "resources/resource.h"
#include "startup/baseline.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "startup/entries.h"
#include "startup/enumerate.h"
#include "ui/info_window.h"
#include "ui/page_framework.h"
#include "ui/pages.h"
#include "ui/patrol_dialog.h"

namespace tov {

namespace {

constexpr int kTextIntro = 211;
constexpr int kTextRemoveQuestion = 15;
constexpr int kTextRemove = 302;
constexpr int kTextAdd = 311;
constexpr int kTextDisabledType = 626;
constexpr int kTextEnable = 632;
constexpr int kTextDisable = 633;
constexpr int kTextReset = 677;
constexpr int kTextRebootQuestion = 800;
constexpr int kTextAddTitle = 902;
constexpr int kTextCannotDelay = 1130;
constexpr char kRunDllPrefix[] = "RunDLL32.exe ";
constexpr char kOwnMonitorFile[] = "Tovrel.exe";
constexpr size_t kShortestAddedPath = 5;
constexpr size_t kExtensionLength = 4;
constexpr size_t kCodeTextCapacity = 16;

enum StartupColumn { kColTitle, kColCommand, kColCompany, kColType, kColDetected, kColumnCount };
const int kColumnTexts[kColumnCount] = {627, 628, 699, 714, 912};

// The first-detection date of an entry's program, recorded now when it was
// not known yet.
void DetectedText(int entry, char (&out)[kFirstDetectedCapacity]) {
  const Entry* e = EntryAt(entry);
  out[0] = 0;
  if (!e) return;
  char program[kPathCapacity];
  ProgramOfCommand(e->path, program);
  if (GetFirstDetected(program, e->code, out) > 0) return;
  char key[kDetectedKeyCapacity];
  if (!DetectedKeyOf(DetectedKindOf(e->code), key)) return;
  RecordFirstDetected(e->path, key);
  GetFirstDetected(program, e->code, out);
}

void CompanyText(const char* path, char (&out)[kVersionFieldCapacity]) {
  out[0] = 0;
  char program[kPathCapacity];
  VersionStrings version;
  if (!ProgramOfCommand(path, program) || !program[0]) return;
  ReadVersionStrings(program, &version);
  CopyText(out, version.companyName);
}

void CommandText(const Entry& e, char (&out)[kSortKeyCapacity]) {
  CopyText(out, e.flag == 1 ? kRunDllPrefix : "");
  char name[kPathCapacity];
  AppendText(out, FileNameOf(e.path, name) > 0 ? name : e.path);
}

void StartupSortKeys(int entry, int column, int direction, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  char text[kSortKeyCapacity] = "";
  switch (column) {
    case kColTitle: CopyText(text, e->title); break;
    case kColCommand: FileNameOf(e->path, text); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      CompanyText(e->path, company);
      CopyText(text, company);
      break;
    }
    case kColType: snprintf(text, sizeof text, "%d", e->code); break;
    case kColDetected: {
      char detected[kFirstDetectedCapacity];
      DetectedText(entry, detected);
      SortableDate(detected, key->text, sizeof key->text);
      return;
    }
  }
  MakeStartupKey(text, IsEntryDisabled(entry) != 0, direction, key->text, sizeof key->text);
}

void FillStartupList(HWND page) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  BuildStartupList(1);
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  char disabledType[kTitleCapacity];
  LoadText(kTextDisabledType, disabledType);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    int row = InsertRow(list, i, e.title, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    char command[kSortKeyCapacity];
    CommandText(e, command);
    SetRowText(list, row, kColCommand, command);
    char company[kVersionFieldCapacity];
    CompanyText(e.path, company);
    SetRowText(list, row, kColCompany, company);
    SetRowText(list, row, kColType, IsEntryDisabled(i) ? disabledType : TypeNameOf(e.code));
    char detected[kFirstDetectedCapacity];
    DetectedText(i, detected);
    SetRowText(list, row, kColDetected, detected);
  }
  ApplyStoredSort(list, kCmdStartup, StartupSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

void ShowButton(HWND page, int id, bool shown) {
  HWND button = GetDlgItem(page, id);
  ShowWindow(button, shown ? SW_SHOW : SW_HIDE);
  EnableWindow(button, shown);
}

// Button captions and states for the first selected entry, by what its
// location allows.
void OnStartupSelection(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    ShowWindow(GetDlgItem(page, IDC_STARTUP_ENABLE), SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_STARTUP_DISABLE), SW_HIDE);
    return;
  }
  bool disabled = IsEntryDisabled(entry) != 0;
  ShowButton(page, IDC_STARTUP_ENABLE, disabled);
  ShowButton(page, IDC_STARTUP_DISABLE, !disabled);
  HWND remove = GetDlgItem(page, IDC_STARTUP_REMOVE);
  EnableWindow(remove, TRUE);
  SetControlText(page, kTextRemove, IDC_STARTUP_REMOVE);
  const LocationInfo* location = FindLocation(EntryCode(entry));
  if (!location) return;
  if (location->remove == kRemoveReset) SetControlText(page, kTextReset, IDC_STARTUP_REMOVE);
  if (!location->canDisable) {
    EnableWindow(GetDlgItem(page, IDC_STARTUP_ENABLE), FALSE);
    EnableWindow(GetDlgItem(page, IDC_STARTUP_DISABLE), FALSE);
  }
  if (location->remove == kRemoveNone || location->remove == kRemoveListedOnly)
    EnableWindow(remove, FALSE);
}

// The selected entries, in list order, as fixed copies: the changes may
// rebuild nothing meanwhile, but the copies keep each call independent of
// the list.
struct Selection {
  int count;
  int entries[kMaxEntries];
};

bool ReadSelection(HWND page, Selection* out) {
  HWND list = PageList(page);
  out->count = 0;
  for (int row = NextSelectedRow(list, -1); row >= 0 && out->count < kMaxEntries;
       row = NextSelectedRow(list, row))
    out->entries[out->count++] = RowEntry(list, row);
  if (out->count > 0) return true;
  NothingSelected(page);
  return false;
}

Selection g_selection;

void OnDisable(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  bool ask = g_selection.count == 1;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e) continue;
    StopRunningProgram(e->path, e->title, ask);
    if (!IsTitleDisabled(e->title)) DisableRunProgram(e->title, e->path, e->source, e->code);
  }
  FillStartupList(page);
}

void OnEnable(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (e && IsTitleDisabled(e->title)) DisableRunProgram(e->title, e->path, e->source, e->code);
  }
  FillStartupList(page);
}

bool AskRemove(HWND page, const char* path) {
  char question[kMessageCapacity];
  LoadText(kTextRemoveQuestion, question);
  char text[kMessageCapacity + kPathCapacity];
  snprintf(text, sizeof text, question, path);
  return MessageBoxA(page, text, ProgramCaption(), MB_YESNO | MB_ICONWARNING | MB_TOPMOST) == IDYES;
}

void OnRemove(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  bool single = g_selection.count == 1;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e) continue;
    if (e->code > 249) {
      DeleteRegProgram(page, e->title, e->path, e->source, e->code);
      continue;
    }
    StopRunningProgram(e->path, e->title, single);
    if (single && !AskRemove(page, e->path)) continue;
    DeleteRunProgram(e->title, e->path, e->source, e->code);
  }
  FillStartupList(page);
}

void OnMoveToDelayed(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e) continue;
    const LocationInfo* location = FindLocation(e->code);
    if (!location || !location->canDelay) {
      ShowErrorMessage(kTextCannotDelay);
      continue;
    }
    if (ContainsText(e->path, kOwnMonitorFile)) {
      ShowErrorMessage(kTextCannotDelay);
      break;
    }
    MoveToDelayedStart(g_selection.entries[i]);
  }
  FillStartupList(page);
}

// The name of an added program: its description, else its product name,
// else its file name without the extension.
void AddedProgramName(const char* path, char (&name)[kTitleCapacity]) {
  VersionStrings version;
  ReadVersionStrings(path, &version);
  if (CopyText(name, version.fileDescription) && name[0]) return;
  if (CopyText(name, version.productName) && name[0]) return;
  char file[kPathCapacity];
  if (FileNameOf(path, file) == 0) CopyText(file, path);
  size_t length = strlen(file);
  if (length > kExtensionLength) file[length - kExtensionLength] = 0;
  CopyText(name, file);
}

void OnAdd(HWND page) {
  char path[kPathCapacity];
  if (!ChooseProgramFile(page, kTextAddTitle, path, sizeof path)) return;
  if (strlen(path) < kShortestAddedPath) return;
  char name[kTitleCapacity];
  AddedProgramName(path, name);
  SetRegString(HKEY_CURRENT_USER, FindLocation(kCodeUserRun)->key, name, path);
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, path, "1");
  FillStartupList(page);
}

void OnShowAll(HWND page) {
  int on = IsDlgButtonChecked(page, IDC_STARTUP_SHOW_ALL) == BST_CHECKED ? 1 : 0;
  SetSetting(kOptShowAllStartup, on);
  FillStartupList(page);
  if (SendMessageA(PageList(page), LVM_GETITEMCOUNT, 0, 0) > 0) SelectRow(PageList(page), 0);
}

void OnDeleteOnReboot(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    NothingSelected(page);
    return;
  }
  char question[kMessageCapacity];
  LoadText(kTextRebootQuestion, question);
  if (MessageBoxA(page, question, ProgramCaption(), MB_YESNO | MB_ICONSTOP | MB_TOPMOST) != IDYES)
    return;
  char path[kEntryPathSlot];
  EntryPath(entry, path, sizeof path);
  DWORD error = NO_ERROR;
  if (!DeleteFileOnReboot(path, &error)) ShowFileFailure(page, path, error);
}

// Five bottom buttons; Enable sits where Disable is.
void OnStartupLayout(HWND page) {
  PageLayout layout;
  StandardPageLayout(page, &layout);
  const int buttons[] = {IDC_PAGE_INFO, IDC_STARTUP_ADD, IDC_STARTUP_DISABLE, IDC_STARTUP_REMOVE,
                         IDC_PAGE_CLOSE};
  layout.buttonCount = 5;
  for (int i = 0; i < 5; ++i) layout.buttons[i] = GetDlgItem(page, buttons[i]);
  layout.alternates[2] = GetDlgItem(page, IDC_STARTUP_ENABLE);
  LayoutPage(layout);
  // The check box sits just above the list, under the introduction.
  HWND box = GetDlgItem(page, IDC_STARTUP_SHOW_ALL);
  RECT list, boxRect;
  GetWindowRect(layout.list, &list);
  GetWindowRect(box, &boxRect);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&list), 2);
  SetWindowPos(box, nullptr, list.left, list.top - (boxRect.bottom - boxRect.top) - 3, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const PageCommandRow kCommands[] = {
    {kCmdDisable, OnDisable},         {kCmdEnable, OnEnable},
    {kCmdRemove, OnRemove},           {kCmdMoveToDelayed, OnMoveToDelayed},
    {kCmdAdd, OnAdd},                 {IDC_STARTUP_SHOW_ALL, OnShowAll},
    {kCmdDeleteOnReboot, OnDeleteOnReboot},
};

const PageDefinition kStartupPage = {
    kCmdStartup,
    kTextIntro,
    kPatrolStartup,
    kColumnTexts,
    kColumnCount,
    kCommands,
    int(sizeof kCommands / sizeof kCommands[0]),
    StartupSortKeys,
    FillStartupList,
    OnStartupSelection,
    OnStartupLayout,
};

BOOL OnInitDialog(HWND page) {
  InitialisePage(kStartupPage, page);
  SetControlText(page, kTextAdd, IDC_STARTUP_ADD);
  SetControlText(page, kTextEnable, IDC_STARTUP_ENABLE);
  SetControlText(page, kTextDisable, IDC_STARTUP_DISABLE);
  SetControlText(page, kTextRemove, IDC_STARTUP_REMOVE);
  EnableWindow(GetDlgItem(page, IDC_STARTUP_SHOW_ALL), TRUE);
  CheckDlgButton(page, IDC_STARTUP_SHOW_ALL,
                 Setting(kOptShowAllStartup) > 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK StartupPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(page);
  }
  return PageMessage(kStartupPage, page, msg, wParam, lParam);
}

}  // namespace tov

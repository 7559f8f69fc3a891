// The Startup Programs page: every startup entry with its icon, command,
// company, type and first-detection date, and the commands that disable,
// enable, remove, reset, add and delay them.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "core/detected.h"
#include "core/page_ids.h"
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
#include "resources/string_ids.h"
#include "startup/baseline.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "core/entries.h"
#include "startup/entry_facts.h"
#include "startup/enumerate.h"
#include "processes/processes.h"
#include "ui/info_window.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

// The page's definition, below.
const PageDefinition& StartupPage();

namespace {

constexpr char kRunDllPrefix[] = "RunDLL32.exe ";
constexpr char kOwnMonitorFile[] = "Tovrel.exe";
constexpr size_t kShortestAddedPath = 5;
constexpr size_t kExtensionLength = 4;
constexpr size_t kCodeTextCapacity = 16;

enum StartupColumn { kColTitle, kColCommand, kColCompany, kColType, kColDetected, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextTitle, 0.30}, {kTextCommand, 0.16}, {kTextCompany, 0.18}, {kTextType, 0.15},
    {kTextFirstDetected, 0.20},
};

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

// Whether each entry was disabled when the list was filled, as its Type
// cell shows it; the sort keys read it here instead of the disabled index
// (the page fills the list again after every change it makes).
bool g_filledDisabled[kMaxEntries];

bool FilledDisabled(int entry) { return entry >= 0 && entry < kMaxEntries && g_filledDisabled[entry]; }

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
      ListCompany(entry, company);
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
  MakeStartupKey(text, FilledDisabled(entry), direction, key->text, sizeof key->text);
}

void FillStartupList(HWND page) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  DisabledIndexHeld index;
  FirstDetectedHeld dates;
  BuildStartupList(1);
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(EntryCount()), 0);
  CreateImageList(list, kImageListPage);
  char disabledType[kTitleCapacity];
  LoadText(kTextDisabled, disabledType);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    g_filledDisabled[i] = IsEntryDisabled(i) != 0;
    int row = InsertRow(list, i, e.title, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    char command[kSortKeyCapacity];
    CommandText(e, command);
    SetRowText(list, row, kColCommand, command);
    SetRowCompany(list, row, kColCompany, e.path);
    SetRowText(list, row, kColType, g_filledDisabled[i] ? disabledType : TypeNameOf(e.code));
    char detected[kFirstDetectedCapacity];
    DetectedText(i, detected);
    SetRowText(list, row, kColDetected, detected);
  }
  ApplyStoredSort(list, StartupPage().list, StartupSortKeys);
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

// A message with one text (a title or path) put in its first "%s"; a
// translated text is never used as a format.
int AskWithText(HWND page, int textId, const char* value, UINT style) {
  char pattern[kMessageCapacity];
  LoadText(textId, pattern);
  char text[kMessageCapacity + kPathCapacity];
  FormatOneText(pattern, value, text, sizeof text);
  return MessageBoxA(page, text, ProgramCaption(), style | MB_TOPMOST);
}

// Tells the user why a change of the selection did not happen.
void ReportChange(HWND page, int result, const char* title) {
  if (result == kChangeTitleTaken)
    AskWithText(page, kTextTitleTaken, title, MB_OK | MB_ICONWARNING);
  else if (result == kChangeFailed)
    AskWithText(page, kTextNotChanged, title, MB_OK | MB_ICONWARNING);
}

void OnDisable(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  bool ask = g_selection.count == 1;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e || IsEntryDisabled(g_selection.entries[i])) continue;
    StopRunningProgram(e->path, e->title, ask);
    ReportChange(page, DisableRunProgram(e->title, e->path, e->source, e->code), e->title);
  }
  FillStartupList(page);
}

void OnEnable(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (e && IsEntryDisabled(g_selection.entries[i]))
      ReportChange(page, DisableRunProgram(e->title, e->path, e->source, e->code), e->title);
  }
  FillStartupList(page);
}

bool AskRemove(HWND page, const char* path) {
  return AskWithText(page, kTextYouHaveChosenTo, path, MB_YESNO | MB_ICONWARNING) == IDYES;
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
    if (!DeleteRunProgram(e->title, e->path, e->source, e->code))
      ReportChange(page, kChangeFailed, e->title);
  }
  FillStartupList(page);
}

void OnMoveToDelayed(HWND page) {
  if (!ReadSelection(page, &g_selection)) return;
  bool failed = false;
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e) continue;
    const LocationInfo* location = FindLocation(e->code);
    if (!location || !location->canDelay) {
      ShowErrorMessage(kTextThisProgramMustRemain);
      continue;
    }
    if (ContainsText(e->path, kOwnMonitorFile)) {
      ShowErrorMessage(kTextThisProgramMustRemain);
      break;
    }
    if (!MoveToDelayedStart(g_selection.entries[i])) failed = true;
  }
  // Nothing is implied that did not happen.
  if (failed) ShowErrorMessage(kTextNotChanged);
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
  if (!ChooseProgramFile(page, kTextAddAutoStartProgram, path, sizeof path)) return;
  if (strlen(path) < kShortestAddedPath) return;
  char name[kTitleCapacity];
  AddedProgramName(path, name);
  int result = AddUserRunProgram(name, path, false);
  if (result == kChangeAlreadyPresent &&
      AskWithText(page, kTextReplaceRunValue, name, MB_YESNO | MB_ICONQUESTION) == IDYES)
    result = AddUserRunProgram(name, path, true);
  if (result == kChangeFailed) ReportChange(page, result, name);
  FillStartupList(page);
}

// The check box has stored its state in the option already.
void OnShowAll(HWND page) {
  FillStartupList(page);
  if (SendMessageA(PageList(page), LVM_GETITEMCOUNT, 0, 0) > 0) SelectRow(PageList(page), 0);
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
  PlaceAboveList(page, layout.list, IDC_STARTUP_SHOW_ALL);
}

bool IsStartupEntryDisabled(int entry) { return IsEntryDisabled(entry) != 0; }

// Winlogon and registry-hook entries (code 250 on) cannot be delayed,
// removed, disabled or deleted from the menu.
// Changes are offered for the entries a user may change: not the protected
// default conditions (250 and above), nor the Run keys opened under
// HKEY_USERS, which are listed only (as their buttons say).
bool WhenUserStartupEntry(const MenuEntryFacts& entry) {
  const LocationInfo* location = FindLocation(entry.code);
  return entry.code < 250 && !(location && location->remove == kRemoveListedOnly);
}
bool WhenUserAndDisabled(const MenuEntryFacts& entry) {
  return WhenUserStartupEntry(entry) && entry.disabled;
}
bool WhenUserAndEnabled(const MenuEntryFacts& entry) {
  return WhenUserStartupEntry(entry) && !entry.disabled;
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextStartupIntro},   {IDC_STARTUP_ADD, kTextAdd},
    {IDC_STARTUP_ENABLE, kTextEnable},     {IDC_STARTUP_DISABLE, kTextDisable},
    {IDC_STARTUP_REMOVE, kTextRemove},
};

const CheckBoxRow kCheckBoxes[] = {
    {IDC_STARTUP_SHOW_ALL, kOptShowAllStartup},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextAdd, kCmdAdd, nullptr},
    {kTextMoveToDelayedStart, kCmdMoveToDelayed, WhenUserStartupEntry},
    {0, 0, WhenUserStartupEntry},
    {kTextRemove, kCmdRemove, WhenUserStartupEntry},
    {kTextEnable, kCmdEnable, WhenUserAndDisabled},
    {kTextDisable, kCmdDisable, WhenUserAndEnabled},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, WhenUserStartupEntry},
};

const PageCommandRow kCommands[] = {
    {kCmdDisable, OnDisable, BN_CLICKED},
    {kCmdEnable, OnEnable, BN_CLICKED},
    {kCmdRemove, OnRemove, BN_CLICKED},
    {kCmdMoveToDelayed, OnMoveToDelayed, BN_CLICKED},
    {kCmdAdd, OnAdd, BN_CLICKED},
    {IDC_STARTUP_SHOW_ALL, OnShowAll, BN_CLICKED},
    {kCmdDeleteOnReboot, DeleteSelectedFileOnReboot, BN_CLICKED},
};

PageDefinition MakeStartupPage() {
  PageDefinition d{};
  d.pageId = kCmdStartup;
  d.helpFile = "startup.html";
  d.patrolTitleId = kPatrolStartup;
  d.texts = kTexts;
  d.checkBoxes = kCheckBoxes;
  d.list.columns = kColumns;
  d.list.sortOption = "SortStartup";
  d.list.lastSortableColumn = kColDetected;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = StartupSortKeys;
  d.fill = FillStartupList;
  d.selectionChanged = OnStartupSelection;
  d.layout = OnStartupLayout;
  d.entryDisabled = IsStartupEntryDisabled;
  d.locationText = LocationText;
  return d;
}

}  // namespace

const PageDefinition& StartupPage() {
  static const PageDefinition page = MakeStartupPage();
  return page;
}

}  // namespace tov

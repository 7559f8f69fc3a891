// The Delayed Start page: the programs of the delayed-start store with their
// state and delay, and the commands that add, launch, set the options of,
// restore and remove them.
#include <windows.h>
#include <commctrl.h>

#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/text.h"
#include "delay/delay_dialogs.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "core/page_ids.h"
#include "processes/processes.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/entry_facts.h"
#include "ui/page_framework.h"

namespace tov {

// The page's definition, below.
const PageDefinition& DelayPage();

namespace {

constexpr size_t kUnitCapacity = 32;

enum DelayColumn { kColTitle, kColCommand, kColStatus, kColDelay, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextTitle, 0.35}, {kTextCommand, 0.30}, {kTextStatus, 0.15}, {kTextDelayTime, 0.20},
};

bool IsRunning(const char* path) {
  char program[kPathCapacity];
  return ProgramOfCommand(path, program) && program[0] && IsProgramRunning(program);
}

long DelaySeconds(int entry) {
  char name[kDelayNameCapacity];
  long seconds = 0;
  if (!DelayedEntryName(entry, name) ||
      !ReadDelaySeconds(DelayHiveKey(EntryFlag(entry)), name, &seconds))
    return 0;
  return seconds;
}

void StatusText(const Entry& e, char (&out)[kMessageCapacity]) {
  out[0] = 0;
  if (IsRunning(e.path)) {
    LoadText(kTextRunning, out);
    return;
  }
  char file[kPathCapacity];
  CopyText(file, e.path);
  if (!FileExists(file)) LoadText(kTextLocalFileNotFound, out);
}

void DelaySortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColTitle: CopyText(key->text, e->title); break;
    case kColCommand: FileNameOf(e->path, key->text); break;
    case kColStatus: CopyText(key->text, IsRunning(e->path) ? "0" : "1"); break;
    case kColDelay:
      // By number: a text key is compared cut to the shorter one.
      key->isNumber = true;
      key->number = DelaySeconds(entry);
      break;
  }
}

void FillDelayedList(HWND page) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  BuildDelayedList();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  char minutes[kUnitCapacity];
  char seconds[kUnitCapacity];
  LoadText(kTextMin, minutes);
  LoadText(kTextSec, seconds);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    int row = InsertRow(list, i, e.title, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    char text[kMessageCapacity];
    if (FileNameOf(e.path, text) == 0) CopyText(text, e.path);
    SetRowText(list, row, kColCommand, text);
    StatusText(e, text);
    SetRowText(list, row, kColStatus, text);
    DelayText(DelaySeconds(i), minutes, seconds, text, sizeof text);
    SetRowText(list, row, kColDelay, text);
  }
  ApplyStoredSort(list, DelayPage().list, DelaySortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

// The selected entries in list order, by each row's own entry: two programs
// of one file name (in both hives, or in two folders) stay apart.
struct Selection {
  int count;
  int entries[kMaxEntries];
};
Selection g_selection;

bool ReadSelection(HWND page) {
  HWND list = PageList(page);
  g_selection.count = 0;
  for (int row = NextSelectedRow(list, -1); row >= 0 && g_selection.count < kMaxEntries;
       row = NextSelectedRow(list, row))
    g_selection.entries[g_selection.count++] = RowEntry(list, row);
  if (g_selection.count > 0) return true;
  NothingSelected(page);
  return false;
}

void Refill(HWND page) {
  FillDelayedList(page);
  if (SendMessageA(PageList(page), LVM_GETITEMCOUNT, 0, 0) > 0) SelectRow(PageList(page), 0);
}

// Yes puts the program back into its startup location (it stays delayed
// when that fails); No takes it out of the store only; Cancel stops.
void OnRemove(HWND page) {
  if (!ReadSelection(page)) return;
  char question[kMessageCapacity];
  LoadText(kTextThisProgramWillBe, question);
  for (int i = 0; i < g_selection.count; ++i) {
    const Entry* e = EntryAt(g_selection.entries[i]);
    if (!e) continue;
    int answer = MessageBoxA(page, question, ProgramCaption(),
                             MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST);
    if (answer == IDCANCEL) break;
    if (answer == IDYES)
      RestoreDelayed(g_selection.entries[i]);
    else
      RemoveDelayed(g_selection.entries[i]);
  }
  Refill(page);
}

void OnAdd(HWND page) {
  char path[kPathCapacity];
  if (!ChooseProgramFile(page, kTextAddAutoStartProgram, path, sizeof path)) return;
  int type = AskProgramType(page);
  if (type == kTypeCancelled) return;
  AddDelayed(path, type == kTypeAllUsers);
  Refill(page);
}

void OnLaunch(HWND page) {
  if (!ReadSelection(page)) return;
  for (int i = 0; i < g_selection.count; ++i) LaunchDelayed(g_selection.entries[i]);
  Refill(page);
}

void OnDelayOptions(HWND page) {
  if (!ReadSelection(page)) return;
  ShowDelayOptions(page, g_selection.entries[0]);
  Refill(page);
}

void OnRestore(HWND page) {
  if (!ReadSelection(page)) return;
  for (int i = 0; i < g_selection.count; ++i) RestoreDelayed(g_selection.entries[i]);
  Refill(page);
}

void OnDelayLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_DELAY_ADD, IDC_DELAY_OPTIONS, IDC_DELAY_REMOVE,
                         IDC_PAGE_CLOSE};
  LayoutPageWithButtons(page, buttons);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextDelayedStartIntro},    {IDC_DELAY_HINT, kTextRightClickOnPrograms},
    {IDC_DELAY_ADD, kTextAdd},                   {IDC_DELAY_OPTIONS, kTextDelayOptions},
    {IDC_DELAY_REMOVE, kTextRemove},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextAdd, kCmdAdd, nullptr},
    {kTextLaunchProgram, kCmdLaunch, nullptr},
    {kTextDelayStartOptions, kCmdDelayOptions, nullptr},
    {0, 0, nullptr},
    {kTextRemove, kCmdRemove, nullptr},
    {kTextRestoreProgramToWindows, kCmdRestoreToStartup, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
};

const PageCommandRow kCommands[] = {
    {kCmdRemove, OnRemove, BN_CLICKED},
    {kCmdAdd, OnAdd, BN_CLICKED},
    {kCmdLaunch, OnLaunch, BN_CLICKED},
    {kCmdDelayOptions, OnDelayOptions, BN_CLICKED},
    {kCmdRestoreToStartup, OnRestore, BN_CLICKED},
};

PageDefinition MakeDelayPage() {
  PageDefinition d{};
  d.pageId = kCmdDelayedStart;
  d.helpFile = "delay.html";
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.sortOption = "SortPrograms";
  d.list.lastSortableColumn = kColDelay;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = DelaySortKeys;
  d.fill = FillDelayedList;
  d.layout = OnDelayLayout;
  d.locationText = LocationText;
  return d;
}

}  // namespace

const PageDefinition& DelayPage() {
  static const PageDefinition page = MakeDelayPage();
  return page;
}

}  // namespace tov

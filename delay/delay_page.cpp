// The Delayed Start page: the programs of the delayed-start store with their
// state and delay, and the commands that add, launch, set the options of,
// restore and remove them.
#include <windows.h>
#include <commctrl.h>

#include "app/command_line.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/text.h"
#include "delay/delay_dialogs.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "resources/resource.h"
#include "startup/entries.h"
#include "ui/info_window.h"
#include "ui/page_framework.h"
#include "ui/pages.h"

namespace tov {

namespace {

constexpr int kTextIntro = 1100;
constexpr int kTextHint = 1133;
constexpr int kTextAdd = 311;
constexpr int kTextRemove = 302;
constexpr int kTextDelayOptions = 1132;
constexpr int kTextRunning = 655;
constexpr int kTextFileNotFound = 730;
constexpr int kTextMinutes = 1121;
constexpr int kTextSeconds = 1122;
constexpr int kTextRemoveQuestion = 1134;
constexpr int kTextAddTitle = 902;
constexpr size_t kUnitCapacity = 32;

enum DelayColumn { kColTitle, kColCommand, kColStatus, kColDelay, kColumnCount };
const int kColumnTexts[kColumnCount] = {627, 628, 648, 1119};

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
  if (!FileExists(file)) LoadText(kTextFileNotFound, out);
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
  LoadText(kTextMinutes, minutes);
  LoadText(kTextSeconds, seconds);
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
  ApplyStoredSort(list, kCmdDelayedStart, DelaySortKeys);
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
  LoadText(kTextRemoveQuestion, question);
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
  if (!ChooseProgramFile(page, kTextAddTitle, path, sizeof path)) return;
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
  PageLayout layout;
  StandardPageLayout(page, &layout);
  const int buttons[] = {IDC_PAGE_INFO, IDC_DELAY_ADD, IDC_DELAY_OPTIONS, IDC_DELAY_REMOVE,
                         IDC_PAGE_CLOSE};
  layout.buttonCount = 5;
  for (int i = 0; i < 5; ++i) layout.buttons[i] = GetDlgItem(page, buttons[i]);
  LayoutPage(layout);
}

const PageCommandRow kCommands[] = {
    {kCmdRemove, OnRemove},
    {kCmdAdd, OnAdd},
    {kCmdLaunch, OnLaunch},
    {kCmdDelayOptions, OnDelayOptions},
    {kCmdRestoreToStartup, OnRestore},
};

const PageDefinition kDelayPage = {
    kCmdDelayedStart,
    kTextIntro,
    0,
    kColumnTexts,
    kColumnCount,
    kCommands,
    int(sizeof kCommands / sizeof kCommands[0]),
    DelaySortKeys,
    FillDelayedList,
    nullptr,
    OnDelayLayout,
};

BOOL OnInitDialog(HWND page) {
  InitialisePage(kDelayPage, page);
  SetControlText(page, kTextHint, IDC_DELAY_HINT);
  SetControlText(page, kTextAdd, IDC_DELAY_ADD);
  SetControlText(page, kTextDelayOptions, IDC_DELAY_OPTIONS);
  SetControlText(page, kTextRemove, IDC_DELAY_REMOVE);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK DelayPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(page);
  }
  return PageMessage(kDelayPage, page, msg, wParam, lParam);
}

}  // namespace tov

#include "ui/history_window.h"

#include <windows.h>
#include <commctrl.h>

#include "core/history.h"
#include "core/history_format.h"
#include "core/history_names.h"
#include "core/messages.h"
#include "core/program.h"
#include "core/text.h"
#include "core/trace.h"
#include "reports/reports.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "core/entries.h"
#include "ui/history_rules.h"
#include "ui/listview.h"
#include "ui/page_framework.h"
#include "ui/page_rules.h"
#include "ui/sort_keys.h"
#include "ui/window_position.h"

namespace tov {

namespace {


// Where the window was last closed; it opens centred until then.
const char kPositionNames[4][12] = {"xHistory", "yHistory", "dxHistory", "dyHistory"};

HWND HistoryList(HWND window) { return GetDlgItem(window, IDC_HISTORY_LIST); }

void HistoryKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->number = 0;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case 0: CopyText(key->text, e->title); break;
    case 1: CopyText(key->text, HistoryActionName(e->flag)); break;
    case 2: CopyText(key->text, HistoryTypeName(e->code)); break;
    case 3: HistorySortableDate(e->extra, key->text, sizeof key->text); break;
  }
}

// Restore is offered exactly for a selected event that can be reversed.
void UpdateRestoreButton(HWND window) {
  int entry = SelectedEntry(HistoryList(window));
  bool reversible = entry >= 0 && IsReversibleAction(EntryFlag(entry));
  EnableWindow(GetDlgItem(window, IDC_HISTORY_RESTORE), reversible);
}

// Reads the file again and shows one row per event in file order, the
// newest scrolled into view.
void FillHistory(HWND window) {
  HWND list = HistoryList(window);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListHistory);
  int count = LoadHistory();
  for (int i = 0; i < count; ++i) {
    const Entry* e = EntryAt(i);
    if (!e) break;
    int image = AddProgramIcon(e->path, 0, kImageListHistory);
    int row = InsertRow(list, i, e->title, image, i);
    if (row < 0) continue;
    SetRowText(list, row, 1, HistoryActionName(e->flag));
    SetRowText(list, row, 2, HistoryTypeName(e->code));
    SetRowText(list, row, 3, e->extra);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  if (count > 0) SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(count - 1), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateRestoreButton(window);
}

constexpr int kTextAlreadyPresent = 2902;
constexpr int kTextTitleTaken = 2901;
constexpr int kTextNotChanged = 2903;

void ShowRestoreMessage(HWND window, int textId, const char* title) {
  char pattern[kMessageCapacity];
  LoadText(textId, pattern);
  char text[kMessageCapacity + kTitleCapacity];
  FormatOneText(pattern, title, text, sizeof text);
  MessageBoxA(window, text, ProgramCaption(), MB_OK | MB_ICONINFORMATION);
}

// Reverses the selected event and reads the file again, keeping the event
// selected. A disable or enable is turned back only while the entry is
// still in the state the event left it in (CanRestoreHistoryEvent).
void RestoreSelected(HWND window) {
  HWND list = HistoryList(window);
  int row = SelectedRow(list);
  int entry = RowEntry(list, row);
  if (row < 0 || entry < 0) return;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  if (!CanRestoreHistoryEvent(entry)) {
    Trace("HistoryWindow", "event can no longer be reversed");
    return;
  }
  int outcome = kRestoreFailed;
  RestoreHistoryEvent(window, entry, &outcome);
  // A restore that changed nothing says so; it is never shown as done.
  int text = outcome == kRestoreAlreadyPresent ? kTextAlreadyPresent
             : outcome == kRestoreTitleTaken   ? kTextTitleTaken
             : outcome == kRestoreFailed && RestoreKindOf(e->flag, e->code) != kRestoreNothing
                 ? kTextNotChanged
                 : 0;
  if (text != 0) ShowRestoreMessage(window, text, e->title);
  // The file is read again in its order, so the event is row entry now.
  FillHistory(window);
  if (entry < int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) SelectRow(list, entry);
  UpdateRestoreButton(window);
}

void OnRestore(HWND window) {
  int entry = SelectedEntry(HistoryList(window));
  if (entry < 0 || !IsReversibleAction(EntryFlag(entry))) return;
  RestoreSelected(window);
}

// Deletes the file (its attributes cleared first) and shows what is left:
// an empty list.
void OnClearFile(HWND window) {
  if (!ClearHistoryFile()) Trace("HistoryWindow", "history file not deleted");
  FillHistory(window);
}

void OnFullReport(HWND window) {
  // The report fills the entry list with everything it lists.
  FullReport(window);
  FillHistory(window);
}

void OnHelp(HWND) { ShowHelp(nullptr); }

void OnClose(HWND window) { EndDialog(window, IDOK); }

struct CommandRow {
  int command;
  void (*handler)(HWND window);
};
const CommandRow kCommands[] = {
    {IDC_HISTORY_RESTORE, OnRestore}, {IDC_HISTORY_CLEAR, OnClearFile},
    {IDOK, OnClose},                  {IDCANCEL, OnClose},
    {kCmdOnlineInfo, OnOnlineInfo},   {kCmdFullReport, OnFullReport},
    {kCmdHelp, OnHelp},
};

void OnCommand(HWND window, int command) {
  for (const CommandRow& row : kCommands) {
    if (row.command != command) continue;
    row.handler(window);
    return;
  }
}

void OnInitDialog(HWND window) {
  char title[kTitleCapacity];
  if (LoadText(kTextTovrelHistory, title) > 0) SetWindowTextA(window, title);
  SetControlText(window, kTextRestore, IDC_HISTORY_RESTORE);
  SetControlText(window, kTextClearFile, IDC_HISTORY_CLEAR);
  SetControlText(window, kTextClose, IDOK);
  SetControlText(window, kTextTheFollowingIsA, IDC_HISTORY_INTRO);
  HWND list = HistoryList(window);
  SetupColumns(list, kHistoryList);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  ResetSortDirections();
  EnableWindow(GetDlgItem(window, IDC_HISTORY_RESTORE), FALSE);
  RestoreWindowPosition(window, kPositionNames[0], kPositionNames[1], nullptr, nullptr);
  FillHistory(window);
}

void OnDestroy(HWND window) {
  SaveWindowPosition(window, kPositionNames[0], kPositionNames[1], kPositionNames[2],
                     kPositionNames[3]);
  ClearEntries();
  DestroyImageList(kImageListHistory);
}

LRESULT OnNotify(HWND window, const NMHDR* header) {
  if (header->idFrom != IDC_HISTORY_LIST) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED:
    case NM_CLICK:
    case LVN_KEYDOWN:
      UpdateRestoreButton(window);
      break;
    case NM_DBLCLK:
      // Whatever the action: a double click also turns back a disable or
      // an enable, which the Restore button does not offer.
      RestoreSelected(window);
      break;
    case NM_RCLICK:
      ShowEntryMenu(window, kHistoryMenu, IDC_HISTORY_LIST);
      break;
    case LVN_COLUMNCLICK:
      OnListColumnClick(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem,
                        kHistoryList, HistoryKeys);
      break;
  }
  return 0;
}

INT_PTR CALLBACK HistoryProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(window);
      return TRUE;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrA(window, DWLP_MSGRESULT, OnNotify(window, reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void HistoryWindow(HWND owner) {
  Trace("HistoryWindow", "");
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_HISTORY), owner, HistoryProc, 0);
}

}  // namespace tov

// The cookie viewer: every cookie of the current store in a list with
// check boxes; the checked ones are kept, the others (or the checked ones)
// removed. Internet Explorer cookies are files and are deleted; Mozilla
// cookies are marked in the Nuts key and taken out by the filter pass.
#include <windows.h>
#include <commctrl.h>

#include "cookies/cookie_viewer.h"
#include "cookies/cookies.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/page_framework.h"
#include "ui/page_pictures.h"
#include "ui/patrol_dialog.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr const char* kPosition[4] = {"xCookie", "yCookie", "dxCookie", "dyCookie"};
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 320;
constexpr int kCheckedState = 2;  // state image of a checked box
constexpr char kHelpFile[] = "cookies.html";
constexpr size_t kTextViewerLimit = 16384;
int g_textViewerTitle = 0;  // the text viewer's title text

enum ViewerColumn { kColName, kColDate, kColPath, kColValue, kColSecure };

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_VIEWER_LIST); }
bool Mozilla() { return CurrentCookieStore() == kStoreMozilla; }
const ListFacts& Facts() { return CookieViewerList(CurrentCookieStore()); }

void CookieSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  if (!Mozilla()) {
    if (column == kColName) CopyText(key->text, e->title);
    if (column == kColDate) CopyText(key->text, e->extra);
    if (column == kColPath) key->isNumber = true, key->number = e->code;
    return;
  }
  switch (column) {
    case kColName: CopyText(key->text, e->title); break;
    case kColDate: CopyText(key->text, e->extra); break;
    case kColPath: CopyText(key->text, e->path); break;
    case kColValue: CopyText(key->text, e->source); break;
    case kColSecure: key->isNumber = true, key->number = e->flag; break;
  }
}

bool RowChecked(HWND list, int row) {
  UINT state = UINT(SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK));
  return (state >> 12) == kCheckedState;
}

void SetRowChecked(HWND list, int row, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), (LPARAM)&item);
}

void AddRow(HWND list, int entry) {
  const Entry& e = *EntryAt(entry);
  int row = InsertRow(list, int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)), e.title, 0, entry);
  if (row < 0) return;
  SetRowText(list, row, kColDate, e.extra);
  if (Mozilla()) {
    char secure[kTitleCapacity];
    LoadText(e.flag ? kTextTrue : kTextFalse, secure);
    SetRowText(list, row, kColPath, e.path);
    SetRowText(list, row, kColValue, e.source);
    SetRowText(list, row, kColSecure, secure);
  }
  SetRowChecked(list, row, IsCookieKept(e.title));
}

// The store's cookies; a Mozilla cookie marked for removal is not shown.
void FillViewer(HWND dialog) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ReadCookies(0);
  HWND list = List(dialog);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < EntryCount(); ++i)
    if (!Mozilla() || !HasNutsValue(EntryAt(i)->title)) AddRow(list, i);
  ApplyStoredSort(list, Facts(), CookieSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous);
}

// Takes a cookie away: its file, or a removal mark for the filter pass.
void RemoveCookie(const Entry& e) {
  SetCookieKept(e.title, false);
  if (Mozilla())
    MarkCookieForRemoval(e.title);
  else
    DeleteFileForce(e.path);
}

// Removes the rows whose check state is `which`; with keepOthers the other
// rows are remembered as kept.
void RemoveRows(HWND dialog, bool which, bool keepOthers) {
  HWND list = List(dialog);
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  int rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const Entry* e = EntryAt(RowEntry(list, row));
    if (!e) continue;
    if (RowChecked(list, row) == which)
      RemoveCookie(*e);
    else if (keepOthers)
      SetCookieKept(e->title, true);
  }
  SetErrorMode(previous);
  if (Mozilla()) ReadCookies(1);
  FillViewer(dialog);
}

void OnRemoveUnchecked(HWND dialog) {
  if (AskAbout(dialog, kTextAreYouSureYou, "", MB_ICONQUESTION)) RemoveRows(dialog, false, true);
}

void OnRemoveChecked(HWND dialog) {
  if (AskAbout(dialog, kTextAreYouSureYouId738, "", MB_ICONQUESTION)) RemoveRows(dialog, true, false);
}

void OnView(HWND dialog) {
  if (Mozilla()) return;
  int entry = SelectedEntry(List(dialog));
  if (entry < 0) {
    ShowInfoMessage(kTextNoCookieHasBeen);
    return;
  }
  TextViewer(dialog, EntryAt(entry)->path, kTextTovrelCookies);
}

void OnMonitor(HWND dialog) {
  ShowErrorMessage(kTextWeRecommendThatYou);  // the message dialog, not a question
  int result = PatrolTimeDialog(dialog, kPatrolCookies);
  if (ApplyPatrolResult(kPatrolCookies, result))
    ShowPatrolState(dialog, PatrolIsOn(kPatrolCookies), false);
}

void OnSelection(HWND dialog) {
  char path[kEntryPathSlot] = "";
  EntryPath(SelectedEntry(List(dialog)), path, sizeof path);
  SendDlgItemMessageA(dialog, IDC_VIEWER_STATUS, SB_SETTEXTA, 0, (LPARAM)path);
}

// Texts and buttons top, the list between, the four buttons spread evenly
// along the bottom above the status bar.
void OnSize(HWND dialog) {
  HWND status = GetDlgItem(dialog, IDC_VIEWER_STATUS);
  SendMessageA(status, WM_SIZE, 0, 0);
  RECT client, bar, folder, button;
  GetClientRect(dialog, &client);
  GetWindowRect(status, &bar);
  GetWindowRect(GetDlgItem(dialog, IDC_VIEWER_FOLDER), &folder);
  GetWindowRect(GetDlgItem(dialog, IDCANCEL), &button);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&folder), 2);
  RECT units = {7, 4, 0, 0};
  MapDialogRect(dialog, &units);
  int margin = units.left, gap = units.top;
  int buttonWidth = button.right - button.left, buttonHeight = button.bottom - button.top;
  int buttonTop = client.bottom - (bar.bottom - bar.top) - gap - buttonHeight;
  int width = client.right - 2 * margin;
  SetWindowPos(GetDlgItem(dialog, IDC_VIEWER_FOLDER), nullptr, margin, folder.top, width,
               folder.bottom - folder.top, SWP_NOZORDER | SWP_NOACTIVATE);
  int listTop = folder.bottom + gap / 2;
  SetWindowPos(List(dialog), nullptr, margin, listTop, width, buttonTop - gap - listTop,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const int buttons[] = {IDC_VIEWER_VIEW, IDC_VIEWER_REMOVE_UNCHECKED, IDC_VIEWER_REMOVE_CHECKED, IDCANCEL};
  int space = (width - 4 * buttonWidth) / 3;
  for (int i = 0; i < 4; ++i)
    SetWindowPos(GetDlgItem(dialog, buttons[i]), nullptr, margin + i * (buttonWidth + space), buttonTop,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT monitor;
  GetWindowRect(GetDlgItem(dialog, IDC_PAGE_MONITOR), &monitor);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&monitor), 2);
  int monitorWidth = monitor.right - monitor.left;
  SetWindowPos(GetDlgItem(dialog, IDC_PAGE_MONITOR), nullptr, client.right - margin - monitorWidth,
               monitor.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT label;
  GetWindowRect(GetDlgItem(dialog, IDC_PAGE_MONITOR_LABEL), &label);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&label), 2);
  int labelWidth = label.right - label.left;
  SetWindowPos(GetDlgItem(dialog, IDC_PAGE_MONITOR_LABEL), nullptr,
               client.right - margin - monitorWidth / 2 - labelWidth / 2, label.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(dialog, nullptr, TRUE);
}

void SetupViewerColumns(HWND list) {
  const ListFacts& facts = Facts();
  for (int column = 0; column < facts.columns.count; ++column) {
    char header[kTitleCapacity];
    LoadText(facts.columns.rows[column].textId, header);
    SetupColumn(list, column, header, facts);
  }
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

void OnInitDialog(HWND dialog) {
  char folder[kPathCapacity] = "";
  if (Mozilla() && !FindMozillaFolder(folder, sizeof folder)) SetCookieStore(kStoreInternetExplorer);
  if (!Mozilla()) FindIECookieFolder(folder, sizeof folder);
  char title[kTitleCapacity];
  if (LoadText(kTextTovrelCookies, title)) SetWindowTextA(dialog, title);
  SetControlText(dialog, kTextFennoTheWatchdogReports, IDC_VIEWER_INTRO);
  SetControlText(dialog, kTextCheckTheCookiesYou, IDC_VIEWER_HINT);
  SetControlText(dialog, kTextView, IDC_VIEWER_VIEW);
  SetControlText(dialog, kTextRemoveUnchecked, IDC_VIEWER_REMOVE_UNCHECKED);
  SetControlText(dialog, kTextRemoveChecked, IDC_VIEWER_REMOVE_CHECKED);
  SetControlText(dialog, kTextClose, IDCANCEL);
  SetControlText(dialog, kTextMonitor, IDC_PAGE_MONITOR_LABEL);
  SetDlgItemTextA(dialog, IDC_VIEWER_FOLDER, folder);
  if (Mozilla()) ShowWindow(GetDlgItem(dialog, IDC_VIEWER_VIEW), SW_HIDE);
  CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, dialog,
                  (HMENU)(INT_PTR)IDC_VIEWER_STATUS, ProgramInstance(), nullptr);
  AttachPictureButtons(dialog);
  ShowPatrolState(dialog, PatrolIsOn(kPatrolCookies), false);
  SetupViewerColumns(List(dialog));
  char saved[16];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, kPosition[0], saved) > 0)
    RestoreWindowPosition(dialog, kPosition[0], kPosition[1], kPosition[2], kPosition[3]);
  else
    CentreWindow(dialog);
  OnSize(dialog);
  ReadCookies(1);
  FillViewer(dialog);
}

LRESULT OnNotify(HWND dialog, const NMHDR* header) {
  if (header->idFrom != IDC_VIEWER_LIST) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: OnSelection(dialog); break;
    case NM_DBLCLK:
    case NM_RETURN: OnView(dialog); break;
    case NM_RCLICK: ShowEntryMenu(dialog, CookieViewerMenu(), IDC_VIEWER_LIST); break;
    case LVN_COLUMNCLICK:
      OnListColumnClick(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem,
                        Facts(), CookieSortKeys);
      break;
  }
  return 0;
}

void OnCommand(HWND dialog, int command) {
  switch (command) {
    case kCmdInfo: OnView(dialog); break;
    case kCmdRemoveUnchecked: OnRemoveUnchecked(dialog); break;
    case kCmdRemoveChecked: OnRemoveChecked(dialog); break;
    case kCmdPatrolTime: OnMonitor(dialog); break;
    case kCmdOnlineInfo: OnOnlineInfo(dialog); break;
    case kCmdHelp: ShowHelp(kHelpFile); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
  }
}

INT_PTR CALLBACK CookieViewerProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_SIZE: OnSize(dialog); return TRUE;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinimumWidth;
      info->ptMinTrackSize.y = kMinimumHeight;
      return TRUE;
    }
    case WM_MOUSEMOVE: OnPictureMouseMove(dialog, wParam, lParam); return TRUE;
    case WM_LBUTTONDOWN: OnPictureButtonDown(dialog, lParam); return TRUE;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: OnPictureButtonUp(dialog, lParam); return TRUE;
    case WM_DESTROY:
      DetachPictureButtons(dialog);
      SaveWindowPosition(dialog, kPosition[0], kPosition[1], kPosition[2], kPosition[3]);
      return FALSE;
  }
  return FALSE;
}

// The text viewer: the path above, the text read-only, Close or Escape.
INT_PTR CALLBACK TextViewerProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    const char* path = reinterpret_cast<const char*>(lParam);
    TextBlock text = ReadTextFile(path, kTextViewerLimit, true);
    SetDlgItemTextA(dialog, IDC_TEXT_VIEWER_TEXT, text ? text.get() : "");
    SetDlgItemTextA(dialog, IDC_TEXT_VIEWER_PATH, path);
    SetControlText(dialog, kTextClose, IDCANCEL);
    char title[kTitleCapacity];
    if (LoadText(g_textViewerTitle, title)) SetWindowTextA(dialog, title);
    CentreWindow(dialog);
    SetFocus(GetDlgItem(dialog, IDCANCEL));  // the text shown, not selected
    return FALSE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void CookieViewer(HWND owner) {
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_COOKIE_VIEWER), owner, CookieViewerProc, 0);
}

void TextViewer(HWND owner, const char* path, int titleTextId) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
  g_textViewerTitle = titleTextId;
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_TEXT_VIEWER), owner, TextViewerProc,
                  (LPARAM)path);
}

}  // namespace tov

#include "ui/page_framework.h"

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <prsht.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstring>

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "reports/reports.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "core/entries.h"
#include "core/page_ids.h"
#include "ui/info_window.h"
#include "ui/list_worker.h"
#include "ui/look.h"
#include "ui/page_pictures.h"
#include "ui/patrol_dialog.h"
#include "ui/sheet.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr int kHandCursorId = 32649;

// Status text and Info font for the first selected entry, then the page's
// own button states.
void OnSelectionChanged(const PageDefinition& def, HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry >= 0) {
    char path[kEntryPathSlot];
    EntryPath(entry, path, sizeof path);
    SetStatusText(path);
    UpdateNoteButton(page, entry);
  }
  if (def.selectionChanged) def.selectionChanged(page);
}

void ActivatePage(const PageDefinition& def, HWND page) {
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (def.fill) def.fill(page);
  StartQueuedListWork(kImageListPage);
  HWND list = PageList(page);
  if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) SelectRow(list, 0);
  CreateActivePage(page);
  if (def.patrolTitleId)
    ShowPatrolState(page, PatrolIsOn(def.patrolTitleId), PatrolIsRealtime(def.patrolTitleId));
  SetActivePageId(def.pageId);
  OnSelectionChanged(def, page);
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(kHandCursorId)));
}

LRESULT OnNotify(const PageDefinition& def, HWND page, const NMHDR* header) {
  if (header->code == PSN_SETACTIVE) {
    ActivatePage(def, page);
    return 0;
  }
  if (header->code == PSN_KILLACTIVE) {
    CleanupActivePage(page);
    return FALSE;
  }
  if (header->idFrom != IDC_PAGE_LIST) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        OnSelectionChanged(def, page);
      break;
    }
    case NM_CLICK:
    case LVN_KEYDOWN:
      OnSelectionChanged(def, page);
      break;
    case NM_RCLICK:
      ShowEntryMenu(page, def.menu, IDC_PAGE_LIST, def.entryDisabled);
      break;
    case NM_DBLCLK:
    case NM_RETURN:
      RunPageCommand(def, page, kCmdInfo);
      break;
    case LVN_GETDISPINFOA:
      AnswerDisplayInfo(kImageListPage, reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)));
      break;
    case LVN_COLUMNCLICK:
      if (def.sortKeys)
        OnListColumnClick(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem,
                          def.list, def.sortKeys);
      break;
  }
  return 0;
}

void OnMonitor(const PageDefinition& def, HWND page) {
  if (!def.patrolTitleId) return;
  int result = PatrolTimeDialog(page, def.patrolTitleId);
  if (!ApplyPatrolResult(def.patrolTitleId, result)) return;
  ShowPatrolState(page, PatrolIsOn(def.patrolTitleId), PatrolIsRealtime(def.patrolTitleId));
}

// Closing a page closes the sheet: its Cancel ends the sheet's loop, and
// the pages' destruction then ends the program.
void OnPageClose(HWND page) { PropSheet_PressButton(GetParent(page), PSBTN_CANCEL); }

void OnDestroyPage(HWND page) {
  DestroyImageList(kImageListPage);
  if (ActivePageId() == 0) return;  // another page of this sheet did it
  SetActivePageId(0);
  SaveSheetPosition(GetParent(page));
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
}


}  // namespace

HWND PageList(HWND page) { return GetDlgItem(page, IDC_PAGE_LIST); }

bool NothingSelected(HWND page) {
  if (SelectedEntry(PageList(page)) >= 0) return false;
  ShowInfoMessage(kTextNoSelectionHasBeen);
  return true;
}

void PlaceAboveList(HWND page, HWND list, int controlId) {
  HWND control = GetDlgItem(page, controlId);
  RECT listRect, controlRect;
  GetWindowRect(list, &listRect);
  GetWindowRect(control, &controlRect);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&listRect), 2);
  SetWindowPos(control, nullptr, listRect.left,
               listRect.top - (controlRect.bottom - controlRect.top) - 3, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StandardPageLayout(HWND page, PageLayout* layout) {
  *layout = PageLayout{};
  layout->page = page;
  layout->picture = GetDlgItem(page, IDC_PAGE_PICTURE);
  layout->helpButton = GetDlgItem(page, IDC_PAGE_HELP);
  layout->helpLabel = GetDlgItem(page, IDC_PAGE_HELP_LABEL);
  layout->monitorButton = GetDlgItem(page, IDC_PAGE_MONITOR);
  layout->monitorLabel = GetDlgItem(page, IDC_PAGE_MONITOR_LABEL);
  layout->intro[0] = GetDlgItem(page, IDC_PAGE_INTRO);
  layout->list = PageList(page);
}

void LayoutPage(const PageLayout& layout) {
  HWND sheet = GetParent(layout.page);
  RECT sr;
  GetWindowRect(sheet, &sr);
  LayoutInput in{};
  in.sheetWidth = sr.right - sr.left;
  in.sheetHeight = sr.bottom - sr.top;
  in.oneTabRow = SheetTabRows() <= 1;
  RECT units = {7, 44, 14, 90};
  MapDialogRect(layout.page, &units);
  RECT units35 = {0, 35, 0, 0};
  MapDialogRect(layout.page, &units35);
  in.units = LayoutUnits{units.left, units.top, units.right, units.bottom, units35.top};
  auto width = [](HWND w) {
    RECT r{};
    if (w) GetWindowRect(w, &r);
    return int(r.right - r.left);
  };
  in.helpWidth = width(layout.helpButton);
  if (layout.helpButton) {
    RECT picture;
    GetWindowRect(layout.helpButton, &picture);
    in.pictureHeight = picture.bottom - picture.top;
  }
  in.helpLabelWidth = width(layout.helpLabel);
  in.monitorWidth = width(layout.monitorButton);
  if (layout.monitorButton && !(GetWindowLongA(layout.monitorButton, GWL_STYLE) & WS_VISIBLE))
    in.monitorWidth = 0;
  in.monitorLabelWidth = width(layout.monitorLabel);
  in.buttonCount = layout.buttonCount;
  if (layout.buttonCount > 0 && layout.buttons[0]) {
    RECT b;
    GetWindowRect(layout.buttons[0], &b);
    in.buttonWidth = b.right - b.left;
    in.buttonHeight = b.bottom - b.top;
  }
  LayoutResult out;
  ComputePageLayout(in, &out);
  auto place = [](HWND w, const Placement& p) {
    if (w) SetWindowPos(w, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  auto placeSized = [](HWND w, const Placement& p) {
    if (w) SetWindowPos(w, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(layout.helpButton, out.help);
  place(layout.helpLabel, out.helpLabel);
  place(layout.monitorButton, out.monitor);
  place(layout.monitorLabel, out.monitorLabel);
  placeSized(layout.list, out.list);
  int n = layout.buttonCount < kMaxBottomButtons ? layout.buttonCount : kMaxBottomButtons;
  for (int i = 0; i < n; ++i) {
    placeSized(layout.buttons[i], out.buttons[i]);
    placeSized(layout.alternates[i], out.buttons[i]);
  }
  InvalidateRect(layout.page, nullptr, TRUE);
}

// The dialog manager keeps Enter from a list view for the default button.
// A page's list asks for it instead, so the list reports NM_RETURN and Enter
// opens the selected entry like a double click. Every list view has its
// class's procedure, so one variable keeps it: this procedure sees every
// message of the list (each row of a fill), and a window property would
// cost a look-up per message.
static WNDPROC g_listViewProc;

static LRESULT CALLBACK ListEnterProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = g_listViewProc;
  if (!original) return DefWindowProcA(list, msg, wParam, lParam);
  if (msg == WM_GETDLGCODE && lParam) {
    const MSG* m = reinterpret_cast<const MSG*>(lParam);
    if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
      return CallWindowProcA(original, list, msg, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)original);
  return CallWindowProcA(original, list, msg, wParam, lParam);
}

static void TakeEnterInList(HWND list) {
  if (!list) return;
  WNDPROC original = (WNDPROC)GetWindowLongPtrA(list, GWLP_WNDPROC);
  if (original == ListEnterProc) return;
  // A list some other code subclassed first keeps its own procedure.
  if (g_listViewProc && original != g_listViewProc) return;
  g_listViewProc = original;
  SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ListEnterProc);
}

void InitialisePage(const PageDefinition& def, HWND page) {
  HWND list = PageList(page);
  TakeEnterInList(list);
  SetControlText(page, kTextInfo, IDC_PAGE_INFO);
  SetControlText(page, kTextClose, IDC_PAGE_CLOSE);
  SetControlText(page, kTextHelp, IDC_PAGE_HELP_LABEL);
  SetControlText(page, kTextMonitor, IDC_PAGE_MONITOR_LABEL);
  for (const ControlText& row : def.texts) SetControlText(page, row.textId, row.controlId);
  for (const CheckBoxRow& row : def.checkBoxes) {
    EnableWindow(GetDlgItem(page, row.controlId), TRUE);
    CheckDlgButton(page, row.controlId, Setting(row.option) > 0 ? BST_CHECKED : BST_UNCHECKED);
  }
  if (!IsNtPlatform()) ShowWindow(GetDlgItem(page, IDC_PAGE_CLOSE), SW_HIDE);
  SetupColumns(list, def.list);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  ResetSortDirections();
  SetActivePageId(def.pageId);
  PlaceSheet(GetParent(page), def.pageId);
}

void RefillPage(const PageDefinition& def, HWND page) {
  if (def.fill) def.fill(page);
  StartQueuedListWork(kImageListPage);
  OnSelectionChanged(def, page);
}

bool RunPageCommand(const PageDefinition& def, HWND page, int command, int notification) {
  bool handled = false;
  if (notification == BN_CLICKED) {
    for (const CheckBoxRow& row : def.checkBoxes) {
      if (row.controlId != command) continue;
      SetSetting(row.option, IsDlgButtonChecked(page, command) == BST_CHECKED ? 1 : 0);
      handled = true;
    }
  }
  for (const PageCommandRow& row : def.commands) {
    if (row.command != command || row.notification != notification) continue;
    row.handler(page);
    return true;
  }
  if (handled || notification != BN_CLICKED) return handled;
  switch (command) {
    case kCmdInfo: OnInfo(def, page); return true;
    case kCmdViewNote: OnViewNote(page); return true;
    case kCmdExploreFolder: OnExploreFolder(page); return true;
    case kCmdProgramProperties: OnProgramProperties(page); return true;
    case kCmdOnlineInfo: OnOnlineInfo(page); return true;
    case kCmdHelp: ShowHelp(def.helpFile); return true;
    case kCmdPatrolTime: OnMonitor(def, page); return true;
    case kCmdFullReport:
      // The report lists every family through the entry list.
      FullReport(page);
      RefillPage(def, page);
      return true;
    case kCmdPageClose: PostMessageA(page, WM_CLOSE, 0, 0); return true;
  }
  return false;
}

INT_PTR PageMessage(const PageDefinition& def, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      InitialisePage(def, page);
      return TRUE;
    case WM_NOTIFY: {
      // A list sends several notifications per row it takes in; a result of
      // 0 is what the dialog manager answers anyway, so only another one is
      // stored.
      LRESULT result = OnNotify(def, page, reinterpret_cast<NMHDR*>(lParam));
      if (result == 0) return FALSE;
      SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_COMMAND:
      return RunPageCommand(def, page, LOWORD(wParam), HIWORD(wParam));
    case WM_MOUSEMOVE:
      OnPictureMouseMove(page, wParam, lParam);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnPictureButtonDown(page, lParam);
      return TRUE;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      OnPictureButtonUp(page, lParam);
      return TRUE;
    case WM_SETCURSOR:
      OnButtonSetCursor((HWND)wParam);
      return FALSE;
    case WM_DRAWITEM:
      return OnButtonDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case kLayoutPageMessage:
      if (def.layout) {
        def.layout(page);
      } else {
        PageLayout layout;
        StandardPageLayout(page, &layout);
        layout.buttonCount = 1;
        layout.buttons[0] = GetDlgItem(page, IDC_PAGE_CLOSE);
        LayoutPage(layout);
      }
      return TRUE;
    case WM_CLOSE:
      OnPageClose(page);
      return TRUE;
    case WM_DESTROY:
      OnDestroyPage(page);
      return FALSE;
  }
  return FALSE;
}

// The page's definition rides in the dialog's own user slot: reading it
// is cheap, and the page reads it for every message.
INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    LPARAM definition = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
    SetWindowLongPtrA(page, DWLP_USER, definition);
  }
  const PageDefinition* def = reinterpret_cast<const PageDefinition*>(GetWindowLongPtrA(page, DWLP_USER));
  if (def == nullptr) return FALSE;
  INT_PTR result = PageMessage(*def, page, msg, wParam, lParam);
  if (msg == WM_DESTROY) SetWindowLongPtrA(page, DWLP_USER, 0);
  return result;
}

void CreateActivePage(HWND page) {
  Trace("Create Active Page", "");
  TraceMemory("Create Active Page");
  AttachPictureButtons(page);
  HWND sheet = GetParent(page);
  SetWindowLongA(sheet, GWL_EXSTYLE, GetWindowLongA(sheet, GWL_EXSTYLE) & ~WS_EX_CONTEXTHELP);
  HWND ok = GetDlgItem(sheet, IDOK);
  ShowWindow(ok, SW_HIDE);
  EnableWindow(ok, FALSE);
  SetControlText(sheet, kTextClose, IDCANCEL);
  SetWindowTextA(MainWindow(), ProgramCaption());
  SetCurrentPage(page);
  SetStatusText("");
  if (IsNtPlatform()) SizeSheetContents(sheet);
}

void CleanupActivePage(HWND page) {
  Trace("CleanupActivePage", "");
  // The rows' icons and companies are not wanted any more.
  EndListWork(kImageListPage);
  ClearEntries();
  DetachPictureButtons(page);
  SetStatusText("");
  SaveSheetPosition(GetParent(page));
}

void SetStatusText(const char* text) {
  if (HWND bar = SheetStatusBar()) SendMessageA(bar, SB_SETTEXTA, 0 | SBT_POPOUT, (LPARAM)text);
}


}  // namespace tov

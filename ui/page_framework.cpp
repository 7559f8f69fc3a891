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
#include "ui/look.h"
#include "ui/patrol_dialog.h"
#include "ui/sheet.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr size_t kButtonTextCapacity = 512;
constexpr size_t kAddressCapacity = 520;
constexpr size_t kSoundPathCapacity = 260;
constexpr int kHandCursorId = 32649;
constexpr COLORREF kButtonTextColour = RGB(0, 0, 64);
constexpr COLORREF kButtonHotColour = RGB(0, 0, 255);
constexpr COLORREF kButtonShadowColour = RGB(192, 192, 192);
constexpr char kSoundSchemeKey[] = "AppEvents\\Schemes\\Apps\\Tovrel\\";

// Picture buttons: the one under the mouse and the one pressed.
HWND g_hoveredPicture = nullptr;
HWND g_pressedPicture = nullptr;
// Owner-drawn look: the push button under the mouse and the text colour.
HWND g_hotButton = nullptr;
COLORREF g_buttonColour = kButtonTextColour;

LPCSTR PropName(int id) { return MAKEINTATOM(id); }

void SetPicture(HWND control, HANDLE picture) {
  if (control && picture) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
}

bool IsPictureButton(HWND control) {
  return control && GetPropA(control, PropName(kPictureNormalProp)) != nullptr;
}

// The picture button under a point of the page, or null.
HWND PictureButtonAt(HWND page, LPARAM lParam) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  HWND control = ChildWindowFromPointEx(page, pt, CWP_SKIPINVISIBLE);
  if (control == page || !IsPictureButton(control)) return nullptr;
  return control;
}

HANDLE HoverPicture(HWND control) {
  int prop = GetDlgCtrlID(control) == IDC_PAGE_HELP ? kPictureHoverProp : kPicturePressedProp;
  return GetPropA(control, PropName(prop));
}

int PictureCommand(HWND control) {
  int prop = GetDlgCtrlID(control) == IDC_PAGE_HELP ? kPictureHelpCommandProp : kPictureCommandProp;
  return int(INT_PTR(GetPropA(control, PropName(prop))));
}

void OnPictureMouseMove(HWND page, WPARAM keys, LPARAM lParam) {
  if (keys & MK_LBUTTON) return;
  HWND control = PictureButtonAt(page, lParam);
  if (control == g_hoveredPicture) return;
  if (g_hoveredPicture && IsWindow(g_hoveredPicture))
    SetPicture(g_hoveredPicture, GetPropA(g_hoveredPicture, PropName(kPictureNormalProp)));
  g_hoveredPicture = control;
  if (control) SetPicture(control, HoverPicture(control));
}

void OnPictureButtonDown(HWND page, LPARAM lParam) {
  HWND control = PictureButtonAt(page, lParam);
  if (!control) return;
  SetPicture(control, GetPropA(control, PropName(kPicturePressedProp)));
  g_pressedPicture = control;
}

void OnPictureButtonUp(HWND page, LPARAM lParam) {
  HWND control = PictureButtonAt(page, lParam);
  g_pressedPicture = nullptr;
  if (!control) return;
  SetPicture(control, GetPropA(control, PropName(kPictureNormalProp)));
  if (int command = PictureCommand(control)) SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void SetPictureButton(HWND control, int normal, int pressed, int hover, int commandProp, int command) {
  if (!control) return;
  SetPropA(control, PropName(kPictureNormalProp), ProgramPicture(normal));
  SetPropA(control, PropName(kPicturePressedProp), ProgramPicture(pressed));
  if (hover) SetPropA(control, PropName(kPictureHoverProp), ProgramPicture(hover));
  SetPropA(control, PropName(commandProp), (HANDLE)(INT_PTR)command);
  SetPicture(control, ProgramPicture(normal));
}

void RemovePictureButton(HWND control, int lastProp) {
  if (!control) return;
  for (int prop = kPictureNormalProp; prop <= lastProp; ++prop) RemovePropA(control, PropName(prop));
  if (control == g_hoveredPicture) g_hoveredPicture = nullptr;
  if (control == g_pressedPicture) g_pressedPicture = nullptr;
}

bool IsLookButton(HWND control) {
  char className[16];
  if (!control || !GetClassNameA(control, className, sizeof className)) return false;
  if (lstrcmpiA(className, "Button") != 0) return false;
  LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_OWNERDRAW || type == BS_DEFPUSHBUTTON;
}

// Bright blue text while the mouse is over an owner-drawn or default push
// button; the colour returns when it leaves.
void OnSetCursor(HWND control) {
  HWND hot = IsLookButton(control) ? control : nullptr;
  if (hot == g_hotButton) return;
  if (g_hotButton && IsWindow(g_hotButton)) {
    g_buttonColour = kButtonTextColour;
    InvalidateRect(g_hotButton, nullptr, TRUE);
  }
  g_hotButton = hot;
  if (hot) {
    g_buttonColour = kButtonHotColour;
    InvalidateRect(hot, nullptr, TRUE);
  }
}

bool OnDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return false;
  char text[kButtonTextCapacity];
  GetWindowTextA(item->hwndItem, text, sizeof text);
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  DrawFrameControl(dc, &r, DFC_BUTTON,
                   DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  HGDIOBJ oldFont = SelectObject(dc, ProgramFont(kFontButton));
  SetBkMode(dc, TRANSPARENT);
  UINT format = strchr(text, '\n') ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, kButtonShadowColour);
  DrawTextA(dc, text, -1, &shadow, format);
  SetTextColor(dc, item->hwndItem == g_hotButton ? g_buttonColour : kButtonTextColour);
  DrawTextA(dc, text, -1, &r, format);
  if (item->itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
  SelectObject(dc, oldFont);
  return true;
}

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

// The entry's program file, or false.
bool EntryProgram(int entry, char (&program)[kPathCapacity]) {
  char path[kEntryPathSlot];
  EntryPath(entry, path, sizeof path);
  return ProgramOfCommand(path, program) && program[0];
}

}  // namespace

HWND PageList(HWND page) { return GetDlgItem(page, IDC_PAGE_LIST); }

bool NothingSelected(HWND page) {
  if (SelectedEntry(PageList(page)) >= 0) return false;
  ShowInfoMessage(kTextNoSelectionHasBeen);
  return true;
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
// opens the selected entry like a double click.
static const char kListProcProp[] = "TovrelListProc";

static LRESULT CALLBACK ListEnterProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = (WNDPROC)GetPropA(list, kListProcProp);
  if (!original) return DefWindowProcA(list, msg, wParam, lParam);
  if (msg == WM_GETDLGCODE && lParam) {
    const MSG* m = reinterpret_cast<const MSG*>(lParam);
    if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
      return CallWindowProcA(original, list, msg, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(list, kListProcProp);
    SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)original);
  }
  return CallWindowProcA(original, list, msg, wParam, lParam);
}

static void TakeEnterInList(HWND list) {
  if (!list || GetPropA(list, kListProcProp)) return;
  WNDPROC original = (WNDPROC)GetWindowLongPtrA(list, GWLP_WNDPROC);
  SetPropA(list, kListProcProp, (HANDLE)original);
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
    case kCmdFullReport: FullReport(page); return true;
    case kCmdPageClose: PostMessageA(page, WM_CLOSE, 0, 0); return true;
  }
  return false;
}

INT_PTR PageMessage(const PageDefinition& def, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      InitialisePage(def, page);
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrA(page, DWLP_MSGRESULT, OnNotify(def, page, reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
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
      OnSetCursor((HWND)wParam);
      return FALSE;
    case WM_DRAWITEM:
      return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
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

namespace {
const char kDefinitionProp[] = "TovrelPageDefinition";
}  // namespace

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    LPARAM definition = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
    SetPropA(page, kDefinitionProp, (HANDLE)definition);
  }
  const PageDefinition* def = static_cast<const PageDefinition*>(GetPropA(page, kDefinitionProp));
  if (def == nullptr) return FALSE;
  INT_PTR result = PageMessage(*def, page, msg, wParam, lParam);
  if (msg == WM_DESTROY) RemovePropA(page, kDefinitionProp);
  return result;
}

void CreateActivePage(HWND page) {
  Trace("Create Active Page", "");
  TraceMemory("Create Active Page");
  SetPictureButton(GetDlgItem(page, IDC_PAGE_HELP), IDB_HELP, IDB_HELP_PRESSED, IDB_HELP_HOVER,
                   kPictureHelpCommandProp, kCmdHelp);
  SetPictureButton(GetDlgItem(page, IDC_PAGE_MONITOR), IDB_MONITOR_OFF, IDB_MONITOR_PRESSED, 0,
                   kPictureCommandProp, kCmdPatrolTime);
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
  ClearEntries();
  RemovePictureButton(GetDlgItem(page, IDC_PAGE_HELP), kPictureHelpCommandProp);
  RemovePictureButton(GetDlgItem(page, IDC_PAGE_MONITOR), kPictureCommandProp);
  SetStatusText("");
  SaveSheetPosition(GetParent(page));
}

void SetStatusText(const char* text) {
  if (HWND bar = SheetStatusBar()) SendMessageA(bar, SB_SETTEXTA, 0 | SBT_POPOUT, (LPARAM)text);
}

void ShowPatrolState(HWND page, bool on, bool realtime) {
  HWND button = GetDlgItem(page, IDC_PAGE_MONITOR);
  if (!button) return;
  int picture = realtime ? IDB_MONITOR_REALTIME : on ? IDB_MONITOR_ON : IDB_MONITOR_OFF;
  SetPropA(button, PropName(kPictureNormalProp), ProgramPicture(picture));
  SetPropA(button, PropName(kPicturePressedProp), ProgramPicture(IDB_MONITOR_PRESSED));
  SetPicture(button, ProgramPicture(picture));
  ShowWindow(button, SW_SHOW);
}

void UpdateNoteButton(HWND page, int entryIndex) {
  char path[kEntryPathSlot];
  EntryPath(entryIndex, path, sizeof path);
  bool note = path[0] && NoteExists(path);
  SendDlgItemMessageA(page, IDC_PAGE_INFO, WM_SETFONT,
                      (WPARAM)ProgramFont(note ? kFontNoteButtonBold : kFontButton), TRUE);
}

HMENU BuildEntryMenu(const EntryMenu& rows, int entryIndex, bool (*entryDisabled)(int entry)) {
  char path[kEntryPathSlot];
  EntryPath(entryIndex, path, sizeof path);
  MenuEntryFacts facts{EntryCode(entryIndex), entryDisabled && entryDisabled(entryIndex),
                       path[0] != 0 && NoteExists(path)};
  MenuItem items[kMaxMenuItems];
  int count = EntryMenuItems(rows, facts, items, kMaxMenuItems);
  if (count == 0) return nullptr;
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < count; ++i) {
    if (items[i].textId == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    char text[kTitleCapacity];
    LoadText(items[i].textId, text);
    AppendMenuA(menu, MF_STRING, UINT_PTR(items[i].command), text);
  }
  return menu;
}

bool ShowEntryMenu(HWND page, const EntryMenu& rows, int listId, bool (*entryDisabled)(int entry)) {
  int entry = SelectedEntry(GetDlgItem(page, listId));
  if (entry < 0) return false;
  HMENU menu = BuildEntryMenu(rows, entry, entryDisabled);
  if (!menu) return false;
  POINT pt;
  GetCursorPos(&pt);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, page, nullptr);
  DestroyMenu(menu);
  return true;
}

void OnInfo(const PageDefinition& def, HWND page) {
  if (NothingSelected(page)) return;
  HWND list = PageList(page);
  int row = SelectedRow(list);
  InfoWindow(list, RowEntry(list, row), def.locationText);
  SelectRow(list, row);
}

void OnViewNote(HWND page) {
  if (NothingSelected(page)) return;
  char path[kEntryPathSlot];
  EntryPath(SelectedEntry(PageList(page)), path, sizeof path);
  char note[kPathCapacity];
  if (!NotePath(path, note) || FileExists(note) == 0) return;
  ShellExecuteA(page, "open", note, nullptr, nullptr, SW_SHOWDEFAULT);
}

void OnExploreFolder(HWND page) {
  if (NothingSelected(page)) return;
  char program[kPathCapacity];
  if (!EntryProgram(SelectedEntry(PageList(page)), program)) return;
  char folder[kPathCapacity];
  if (FolderOfFile(program, folder) == 0) return;
  ShellExecuteA(page, "explore", folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnProgramProperties(HWND page) {
  if (NothingSelected(page)) return;
  char program[kPathCapacity];
  if (!EntryProgram(SelectedEntry(PageList(page)), program) || FileExists(program) == 0) return;
  InvokeShellVerb(page, program, nullptr, "properties");
}

void OnOnlineInfo(HWND page) {
  if (NothingSelected(page)) return;
  int entry = SelectedEntry(PageList(page));
  char program[kPathCapacity] = "";
  EntryProgram(entry, program);
  char title[kEntryTitleSlot];
  EntryTitle(entry, title, sizeof title);
  OpenOnlineInformation(EntryCode(entry), program, title);
}

void ShowHelp(const char* helpFile) {
  char language[16];
  LoadText(kTextLanguageCode, language);
  char file[kPathCapacity];
  if (HelpFileName(helpFile, language, file, sizeof file) == 0) return;
  char local[kPathCapacity];
  if (ProgramFolder(local) > 0 && AppendBackslash(local) && AppendText(local, file) &&
      FileExists(local) != 0) {
    ShellExecuteA(nullptr, "open", local, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  char address[kAddressCapacity];
  SiteRoot(address, sizeof address);
  if (!AppendText(address, file)) return;
  if (!FindAolWindow()) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  char appPath[kPathCapacity];
  GetProfileStringA("WAOL", "AppPath", "", appPath, sizeof appPath);
  char line[kAddressCapacity + kPathCapacity];
  bool whole = appPath[0] ? CopyText(line, appPath) && AppendText(line, "\\WAOL.EXE -u\"")
                          : CopyText(line, "waol.exe -u\"");
  if (whole && AppendText(line, address)) WinExec(line, SW_SHOWNORMAL);
}

void PlayEventSound(const char* event) {
  if (Setting(kOptSound) <= 0) return;
  char key[kPathCapacity];
  if (!CopyText(key, kSoundSchemeKey) || !AppendText(key, event) || !AppendText(key, "\\.current"))
    return;
  char file[kSoundPathCapacity];
  GetRegString(HKEY_CURRENT_USER, key, "", file);
  if (file[0]) {
    PlaySoundA(file, nullptr, SND_FILENAME | SND_SYNC | SND_NOWAIT);
    return;
  }
  PlaySoundA(MAKEINTRESOURCEA(IDW_EVENT_SOUND), ProgramInstance(), SND_RESOURCE | SND_SYNC | SND_NOWAIT);
}

}  // namespace tov

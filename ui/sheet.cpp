#include "ui/sheet.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "app/command_line.h"
#include "core/messages.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "resources/resource.h"
#include "ui/page_framework.h"
#include "ui/pages.h"
#include "ui/window_position.h"

namespace tov {

const char kRequestedPageProp[] = "TovrelExRequestedPage";

namespace {

constexpr int kTextCaption = 2;
constexpr int kTextSheetFailed = 24;
constexpr size_t kPageTitleCapacity = 256;
constexpr int kMaxPages = 10;
constexpr DWORD kCurrentStructuresVersion = (4 << 16) | 71;  // comctl32 4.71
// Page and header structure sizes: the current ones and those older
// libraries know.
constexpr UINT kPageStructSize = 48;
constexpr UINT kPageStructSizeOld = 40;
constexpr UINT kHeaderStructSize = 52;
constexpr UINT kHeaderStructSizeOld = 40;
constexpr int kPageWidthMargin = 28;
constexpr int kPageHeightMargin = 112;
constexpr int kOneRowExtraHeight = 10;

const SheetPage kPages[kMaxPages] = {
    {kCmdStartup, 606, IDI_PAGE_STARTUP, IDD_PAGE_STARTUP, StartupPageProc, false},
    {kCmdDelayedStart, 609, IDI_PAGE_DELAYED_START, IDD_PAGE_DELAYED_START, GenericPageProc, false},
    {kCmdIEHelpers, 694, IDI_PAGE_IE_HELPERS, IDD_PAGE_IE_HELPERS, GenericPageProc, false},
    {kCmdScheduledTasks, 680, IDI_PAGE_SCHEDULED_TASKS, IDD_PAGE_SCHEDULED_TASKS, GenericPageProc, false},
    {kCmdServices, 636, IDI_PAGE_SERVICES, IDD_PAGE_SERVICES, GenericPageProc, true},
    {kCmdActiveTasks, 607, IDI_PAGE_ACTIVE_TASKS, IDD_PAGE_ACTIVE_TASKS, GenericPageProc, false},
    {kCmdCookies, 608, IDI_PAGE_COOKIES, IDD_PAGE_COOKIES, GenericPageProc, false},
    {kCmdFileTypes, 739, IDI_PAGE_FILE_TYPES, IDD_PAGE_FILE_TYPES, GenericPageProc, false},
    {kCmdHiddenFiles, 973, IDI_PAGE_HIDDEN_FILES, IDD_PAGE_HIDDEN_FILES, HiddenPageProc, false},
    {kCmdOptions, 610, IDI_PAGE_OPTIONS, IDD_PAGE_OPTIONS, GenericPageProc, false},
};

int g_activePageId = 0;

// State of the open sheet; reset whenever a sheet opens.
struct SheetState {
  bool placed;          // the first page has placed the sheet (NT family)
  HWND statusBar;
  HWND currentPage;
  int tabRows;
  SIZE minimum;
  WNDPROC sheetProc;    // the sheet's own procedure, before subclassing
  HIMAGELIST tabIcons;
};
SheetState g_sheet;

LRESULT CALLBACK SheetSubclassProc(HWND sheet, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = g_sheet.sheetProc;
  switch (msg) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) SizeSheetContents(sheet);
      break;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = g_sheet.minimum.cx;
      info->ptMinTrackSize.y = g_sheet.minimum.cy;
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(sheet, GWLP_WNDPROC, (LONG_PTR)original);
      g_sheet.sheetProc = nullptr;
      break;
  }
  return CallWindowProcA(original, sheet, msg, wParam, lParam);
}

// On the NT family the sheet gets a caption, system menu and sizing border.
int CALLBACK SheetCallback(HWND, UINT msg, LPARAM lParam) {
  if (msg != PSCB_PRECREATE || lParam == 0) return 0;
  const DWORD addStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT | DS_3DLOOK;
  const DWORD addExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
  WORD* words = reinterpret_cast<WORD*>(lParam);
  if (words[1] == 0xFFFF) {  // extended template: version, signature, help id, ex style, style
    DWORD* fields = reinterpret_cast<DWORD*>(words + 2);
    fields[1] |= addExStyle;
    fields[2] |= addStyle;
  } else {
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(lParam);
    t->style |= addStyle;
    t->dwExtendedStyle |= addExStyle;
  }
  return 0;
}

void BringToFront(HWND mainWindow, bool topmost) {
  if (topmost)
    SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  else
    BringWindowToTop(mainWindow);
  SetForegroundWindow(mainWindow);
}

// A page command while the sheet is open only brings it to the front.
void OnSheetAlreadyOpen(HWND mainWindow, int command) {
  if (command == kCmdCookies) {
    BringToFront(mainWindow, true);
    return;
  }
  if (ActivePageId() == kCmdActiveTasks && CurrentPage())
    SendMessageA(CurrentPage(), WM_COMMAND, MAKEWPARAM(kCmdRefresh, 0), 0);
  BringToFront(mainWindow, false);
}

void CreateStatusBar(HWND sheet) {
  g_sheet.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                                      0, 0, 0, 0, sheet, (HMENU)(INT_PTR)kSheetStatusBarId,
                                      ProgramInstance(), nullptr);
}

void GiveTabsPageIcons(HWND tabs) {
  if (g_sheet.tabIcons) return;
  g_sheet.tabIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kMaxPages, 0);
  if (!g_sheet.tabIcons) return;
  int rows[kMaxPages];
  int count = SheetPagesShown(IsNtPlatform(), rows, kMaxPages);
  for (int i = 0; i < count; ++i) {
    HICON icon = (HICON)LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(kPages[rows[i]].iconId),
                                   IMAGE_ICON, 16, 16, 0);
    ImageList_AddIcon(g_sheet.tabIcons, icon);
    if (icon) DestroyIcon(icon);
  }
  SendMessageA(tabs, TCM_SETIMAGELIST, 0, (LPARAM)g_sheet.tabIcons);
}

}  // namespace

int ActivePageId() { return g_activePageId; }
void SetActivePageId(int id) { g_activePageId = id; }

int SheetPageCount() { return kMaxPages; }
const SheetPage& SheetPageAt(int row) { return kPages[row]; }

int SheetPagesShown(bool nt, int* rows, int cap) {
  int count = 0;
  for (int row = 0; row < kMaxPages && count < cap; ++row) {
    if (kPages[row].ntOnly && !nt) continue;
    if (kPages[row].ntOnly) Trace("TabDialog - If Windows 2000", "True");
    rows[count++] = row;
  }
  return count;
}

int SheetTabRows() { return g_sheet.tabRows; }
HWND SheetStatusBar() { return g_sheet.statusBar; }
void SetCurrentPage(HWND page) { g_sheet.currentPage = page; }
HWND CurrentPage() { return g_sheet.currentPage; }

void PlaceSheet(HWND sheet, int pageCommand) {
  SetOption("StartTab", pageCommand);
  if (!IsNtPlatform()) {
    RestoreSheetPosition(sheet, false);
    return;
  }
  if (g_sheet.placed) return;
  g_sheet.placed = true;
  RECT client;
  GetClientRect(sheet, &client);
  g_sheet.minimum.cx = client.right - 10;
  g_sheet.minimum.cy = client.bottom - 32;
  CreateStatusBar(sheet);
  g_sheet.sheetProc = (WNDPROC)SetWindowLongPtrA(sheet, GWLP_WNDPROC, (LONG_PTR)SheetSubclassProc);
  RestoreSheetPosition(sheet, true);
}

void SizeSheetContents(HWND sheet) {
  RECT r;
  if (!GetWindowRect(sheet, &r)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  HWND tabs = PropSheet_GetTabControl(sheet);
  if (tabs) {
    g_sheet.tabRows = TabCtrl_GetRowCount(tabs);
    SetWindowPos(tabs, nullptr, 0, 0, w - 20, h - 67, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GiveTabsPageIcons(tabs);
  }
  if (g_sheet.statusBar) {
    SetWindowPos(g_sheet.statusBar, nullptr, 0, 0, w - 28, h - 131,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(g_sheet.statusBar, WM_SIZE, 0, 0);  // it docks itself at the bottom
  }
  HWND close = GetDlgItem(sheet, IDCANCEL);
  SetWindowPos(close, nullptr, w - 92, h - 66, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(close, SW_HIDE);
  HWND page = g_sheet.currentPage;
  if (!page || !IsWindow(page)) return;
  int pageHeight = h - kPageHeightMargin + (g_sheet.tabRows <= 1 ? kOneRowExtraHeight : 0);
  SetWindowPos(page, nullptr, 0, 0, w - kPageWidthMargin, pageHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(page, kLayoutPageMessage, 0, 0);
  UpdateWindow(page);
  ShowWindow(page, SW_SHOW);
}

int TabDialog(HWND mainWindow, int command) {
  SetPropA(mainWindow, kRequestedPageProp, (HANDLE)(INT_PTR)command);
  if (ActivePageId() > 0) {
    OnSheetAlreadyOpen(mainWindow, command);
    return 0;
  }
  SetActivePageId(1);
  g_sheet = SheetState{};

  bool current = LibraryVersion("comctl32.dll") >= kCurrentStructuresVersion;
  Trace("TabDialog - Check comctl32.dll ", current ? "V1" : "V0");
  UINT pageSize = current ? kPageStructSize : kPageStructSizeOld;
  UINT headerSize = current ? kHeaderStructSize : kHeaderStructSizeOld;

  char caption[kCaptionCapacity];
  if (LoadText(kTextCaption, caption) > 0) SetProgramCaption(caption);

  const bool nt = IsNtPlatform();
  int rows[kMaxPages];
  int count = SheetPagesShown(nt, rows, kMaxPages);
  static char titles[kMaxPages][kPageTitleCapacity];
  // The sheet steps through the page records by their stated size, so they
  // are packed at that stride.
  alignas(PROPSHEETPAGEA) static unsigned char pageRecords[kMaxPages * sizeof(PROPSHEETPAGEA)];
  memset(pageRecords, 0, sizeof pageRecords);
  int start = 0;
  for (int i = 0; i < count; ++i) {
    const SheetPage& row = kPages[rows[i]];
    LoadText(row.titleId, titles[i]);
    PROPSHEETPAGEA p{};
    p.dwSize = pageSize;
    p.dwFlags = PSP_USETITLE | PSP_USEICONID;
    p.hInstance = ProgramInstance();
    p.pszTemplate = MAKEINTRESOURCEA(row.dialogId);
    p.pszIcon = MAKEINTRESOURCEA(row.iconId);
    p.pszTitle = titles[i];
    p.pfnDlgProc = row.proc;
    p.lParam = row.command;
    memcpy(pageRecords + i * pageSize, &p, pageSize);
    if (row.command == command) start = i;
  }

  PROPSHEETHEADERA header{};
  header.dwSize = headerSize;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | (nt ? PSH_USECALLBACK : 0);
  header.hwndParent = mainWindow;
  header.hInstance = ProgramInstance();
  header.pszCaption = ProgramCaption();
  header.nPages = UINT(count);
  header.nStartPage = UINT(start);
  header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pageRecords);
  header.pfnCallback = nt ? SheetCallback : nullptr;

  Trace("TabDialog", "PropertySheet");
  PlayEventSound("Open");
  INT_PTR result = PropertySheetA(&header);
  if (result < 0) ShowErrorMessage(kTextSheetFailed);
  if (g_sheet.tabIcons) ImageList_Destroy(g_sheet.tabIcons);
  g_sheet = SheetState{};
  SetActivePageId(0);
  return 0;
}

void CentreWindow(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 3;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tov

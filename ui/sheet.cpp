#include "ui/sheet.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstddef>
#include <cstring>

#include "core/messages.h"
#include "core/owned.h"
#include "core/page_ids.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/listview.h"
#include "ui/page_framework.h"
#include "ui/window_position.h"

namespace tov {

const char kRequestedPageProp[] = "TovrelExRequestedPage";

namespace {

constexpr size_t kPageTitleCapacity = 256;
constexpr DWORD kCurrentStructuresVersion = (4 << 16) | 71;  // comctl32 4.71
// Page and header structure sizes: the current ones and those older
// libraries know (48/40 and 52/40 bytes in the 32-bit program). Taken from
// the members, so a 64-bit build hands over whole records too.
constexpr UINT kPageStructSize = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);
constexpr UINT kPageStructSizeOld = offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT*);
constexpr UINT kHeaderStructSize = offsetof(PROPSHEETHEADERA, hbmHeader) + sizeof(HBITMAP);
constexpr UINT kHeaderStructSizeOld = offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK);
static_assert(sizeof(void*) != 4 || (kPageStructSize == 48 && kPageStructSizeOld == 40 &&
                                     kHeaderStructSize == 52 && kHeaderStructSizeOld == 40),
              "the 32-bit record sizes older comctl32 versions check");
constexpr int kPageWidthMargin = 28;
constexpr int kPageHeightMargin = 112;
constexpr int kOneRowExtraHeight = 10;

// The sheet's pages in order, as the program registered them at start.
const SheetPage* g_pages = nullptr;
int g_pageCount = 0;

int g_activePageId = 0;

// State of the open sheet; reset whenever a sheet opens.
struct SheetState {
  bool placed;          // the first page has placed the sheet (NT family)
  HWND statusBar;
  HWND currentPage;
  int tabRows;
  SIZE minimum;
  WNDPROC sheetProc;    // the sheet's own procedure, before subclassing
  ImageList tabIcons;
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
  g_sheet.tabIcons.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kMaxPages, 0));
  if (!g_sheet.tabIcons) return;
  int rows[kMaxPages];
  int count = SheetPagesShown(IsNtPlatform(), rows, kMaxPages);
  for (int i = 0; i < count; ++i) {
    Icon icon((HICON)LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(g_pages[rows[i]].iconId),
                                IMAGE_ICON, 16, 16, 0));
    PutIconImage(g_sheet.tabIcons.get(), -1, icon.get());
  }
  SendMessageA(tabs, TCM_SETIMAGELIST, 0, (LPARAM)g_sheet.tabIcons.get());
}

}  // namespace

int ActivePageId() { return g_activePageId; }
void SetActivePageId(int id) { g_activePageId = id; }

void SetSheetPages(const SheetPage* pages, int count) {
  g_pages = pages;
  g_pageCount = pages ? (count < kMaxPages ? count : kMaxPages) : 0;
}

int SheetPageCount() { return g_pageCount; }
const SheetPage& SheetPageAt(int row) { return g_pages[row]; }

int SheetPagesShown(bool nt, int* rows, int cap) {
  int count = 0;
  for (int row = 0; row < g_pageCount && count < cap; ++row) {
    if (g_pages[row].ntOnly && !nt) continue;
    if (g_pages[row].ntOnly) Trace("TabDialog - If Windows 2000", "True");
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
  if (LoadText(kTextTovrel, caption) > 0) SetProgramCaption(caption);

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
    const SheetPage& row = g_pages[rows[i]];
    const PageDefinition* definition = row.definition;
    LoadText(row.titleId, titles[i]);
    PROPSHEETPAGEA p{};
    p.dwSize = pageSize;
    p.dwFlags = PSP_USETITLE | PSP_USEICONID;
    p.hInstance = ProgramInstance();
    p.pszTemplate = MAKEINTRESOURCEA(row.dialogId);
    p.pszIcon = MAKEINTRESOURCEA(row.iconId);
    p.pszTitle = titles[i];
    p.pfnDlgProc = row.proc ? row.proc : PageProc;
    p.lParam = (LPARAM)definition;
    memcpy(pageRecords + i * pageSize, &p, pageSize);
    // 6045 is the Cookies page with its cookie list shown at once.
    if (row.command == command || (command == kCmdViewCookies && row.command == kCmdCookies)) start = i;
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
  if (result < 0) ShowErrorMessage(kTextERRORYourSystemIs);
  g_sheet = SheetState{};
  SetActivePageId(0);
  return 0;
}

}  // namespace tov

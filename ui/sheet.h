// The tab property sheet that owns every page: the page table, the sheet's
// own state (status bar, current page, tab rows, minimum size) and its
// sizing, and the window placement helpers the pages share.
#pragma once
#include <windows.h>

namespace tov {

// Command id of the page that was last initialised or activated; 0 when no
// sheet is open.
int ActivePageId();
void SetActivePageId(int id);

// Opens the sheet at the page of that command, or brings an open sheet to
// the front. Modal: returns 0 when the sheet is closed.
int TabDialog(HWND mainWindow, int command);

// Name of the main-window property that records the last page command the
// sheet was asked for (read by tests and by a later start of the program).
extern const char kRequestedPageProp[];

struct PageDefinition;

// Most pages a sheet holds.
constexpr int kMaxPages = 10;

// One row of the page list, in sheet order.
struct SheetPage {
  int command;    // page command (ActivePageId while it shows)
  int titleId;    // tab text
  int iconId;     // tab icon
  int dialogId;   // dialog template
  DLGPROC proc;   // page procedure; null: PageProc
  // What the page shows; null: a page not built yet, shown by the generic
  // page. The procedure gets it as the PROPSHEETPAGE lParam.
  const PageDefinition* definition;
  bool ntOnly;    // only on the NT family (Services)
};
// The program hands the sheet its page list once at start (the rows stay
// the caller's; at most kMaxPages are used).
void SetSheetPages(const SheetPage* pages, int count);
int SheetPageCount();
const SheetPage& SheetPageAt(int row);
// The pages the sheet shows on this platform, in order: count, and the
// table rows through rows (capacity cap). 
int SheetPagesShown(bool nt, int* rows, int cap);

// Sheet state used by the page framework.
// Restores the sheet's saved place when a page is created and stores the
// page as "StartTab". On the NT family only the first page of a sheet does
// it, together with the subclassing (resizing, minimum size) and the
// status bar.
void PlaceSheet(HWND sheet, int pageCommand);
// Sizes the tab control, status bar, Close button and current page for the
// sheet's size and asks the page to lay itself out (NT family).
void SizeSheetContents(HWND sheet);
int SheetTabRows();
HWND SheetStatusBar();
void SetCurrentPage(HWND page);
HWND CurrentPage();

}  // namespace tov

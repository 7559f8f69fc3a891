// The Cookies page: the filter words (add, remove), the browser whose
// cookies are read and its folder, and the way into the cookie viewer.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>
#include <shellapi.h>

#include "cookies/cookie_viewer.h"
#include "cookies/cookies.h"
#include "core/entries.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/page_ids.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/catalogue.h"
#include "ui/look.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& CookiesPage();

namespace {

// Posted when the page becomes active and the viewer is to open at once.
constexpr UINT kOpenViewerMessage = WM_APP + 28;
constexpr int kBrowserExplorerChoice = 1;
constexpr int kBrowserMozillaChoice = 6;
constexpr int kWordEntryLimit = 127;
constexpr int kFolderIconIndex = 3;  // shell32's closed folder
constexpr char kWordEditProc[] = "TovrelWordEditProc";

// The headers do not show (the list has none); the second column stays empty.
const ColumnRow kColumns[] = {{kTextCookieFilters, 0.60}, {kTextCookiesWithNuts, 0.39}};

// The store the page shows: the Browser option's, or Internet Explorer
// when there is no Mozilla profile to read.
int ShownStore() {
  char folder[kPathCapacity];
  if (ChosenCookieStore() == kStoreMozilla && FindMozillaFolder(folder, sizeof folder))
    return kStoreMozilla;
  return kStoreInternetExplorer;
}

void ShowFolder(HWND page, int store) {
  char folder[kPathCapacity] = "";
  if (store == kStoreMozilla)
    FindMozillaFolder(folder, sizeof folder);
  else
    FindIECookieFolder(folder, sizeof folder);
  SetDlgItemTextA(page, IDC_COOKIES_FOLDER, folder);
}

void ShowStore(HWND page) {
  int store = ShownStore();
  SetCookieStore(store);
  bool mozilla = IsMozillaInstalled();
  EnableWindow(GetDlgItem(page, IDC_COOKIES_EXPLORER), mozilla);
  ShowWindow(GetDlgItem(page, IDC_COOKIES_MOZILLA), mozilla ? SW_SHOW : SW_HIDE);
  CheckRadioButton(page, IDC_COOKIES_EXPLORER, IDC_COOKIES_MOZILLA,
                   store == kStoreMozilla ? IDC_COOKIES_MOZILLA : IDC_COOKIES_EXPLORER);
  ShowFolder(page, store);
}

// The filter words (data 1) as rows; the marks stay out of sight.
void FillWords(HWND page) {
  LoadFilterWords();
  ClearEntries();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < FilterItemCount(); ++i) {
    const FilterItem& item = *FilterItemAt(i);
    if (item.data != 1 || !AddEntry(item.text, "", "", "", kCodeNutsCookie, 0)) continue;
    InsertRow(list, EntryCount() - 1, EntryAt(EntryCount() - 1)->title, 0, EntryCount() - 1);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetDlgItemTextA(page, IDC_COOKIES_SELECTED, "");
  ShowStore(page);
}

void OnWordSelected(HWND page) {
  char word[kEntryTitleSlot] = "";
  EntryTitle(SelectedEntry(PageList(page)), word, sizeof word);
  SetDlgItemTextA(page, IDC_COOKIES_SELECTED, word);
}

void OnAdd(HWND page) {
  char word[kWordEntryLimit + 1] = "";
  GetDlgItemTextA(page, IDC_COOKIES_WORD, word, sizeof word);
  if (!UsableFilterWord(word)) return;
  if (LoadFilterWords() >= kFilterItemLimit) {
    ShowInfoMessage(kTextIMSorryBut);
    return;
  }
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  AddFilterWord(word);
  SetCursor(previous);
  SetDlgItemTextA(page, IDC_COOKIES_WORD, "");
  RefillPage(CookiesPage(), page);
}

void OnRemove(HWND page) {
  HWND list = PageList(page);
  int row = SelectedRow(list);
  if (row < 0) {
    ShowInfoMessage(kTextNoCookieHasBeen);
    return;
  }
  char word[kEntryTitleSlot] = "";
  EntryTitle(RowEntry(list, row), word, sizeof word);
  RemoveFilterWord(word);
  RefillPage(CookiesPage(), page);
  int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (count > 0) SelectRow(list, row < count ? row : count - 1);
  SetDlgItemTextA(page, IDC_COOKIES_SELECTED, "");
}

void ChooseStore(HWND page, int browser) {
  SetOption("Browser", browser);
  int store = StoreOfBrowserChoice(browser);
  SetCookieStore(store);
  ShowFolder(page, store);
}
void OnExplorer(HWND page) { ChooseStore(page, kBrowserExplorerChoice); }
void OnMozilla(HWND page) { ChooseStore(page, kBrowserMozillaChoice); }

int CheckedStore(HWND page) {
  return IsDlgButtonChecked(page, IDC_COOKIES_MOZILLA) == BST_CHECKED ? kStoreMozilla
                                                                       : kStoreInternetExplorer;
}

void OnViewCookies(HWND page) {
  SetCookieStore(CheckedStore(page));  // the viewer falls back to IE without a Mozilla profile
  CookieViewer(page);
  RefillPage(CookiesPage(), page);  // the viewer filled the entry list with cookies
}

// The user opens the wanted folder in the open-file dialog and confirms;
// the folder is kept whatever the file name field holds.
void OnChooseFolder(HWND page) {
  char title[kTitleCapacity];
  LoadText(kTextSelectFolderForInternet, title);
  char start[kPathCapacity] = "";
  GetRegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "AppData", start);
  char file[kPathCapacity] = "Path";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = page;
  ofn.lpstrFilter = "All Folder (*.*) \0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = start;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_NOVALIDATE;
  if (!GetOpenFileNameA(&ofn)) return;
  char folder[kPathCapacity];
  if (!FolderOfChosenPath(file, folder, sizeof folder)) return;
  int store = CheckedStore(page);
  SetRegString(HKEY_CURRENT_USER, kProductKey, store == kStoreMozilla ? "CookieFolder" : "IECookieFolder",
               folder);
  ShowFolder(page, store);
}

void IgnoreCommand(HWND) {}

// Enter in the word field adds the word, as the Add button does.
LRESULT CALLBACK WordEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = (WNDPROC)GetPropA(edit, kWordEditProc);
  if (!original) return DefWindowProcA(edit, msg, wParam, lParam);
  if (msg == WM_GETDLGCODE && lParam &&
      reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN && wParam == VK_RETURN)
    return CallWindowProcA(original, edit, msg, wParam, lParam) | DLGC_WANTMESSAGE;
  if (msg == WM_CHAR && wParam == '\r') {
    SendMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(IDC_COOKIES_ADD, BN_CLICKED), 0);
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(edit, kWordEditProc);
    SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)original);
  }
  return CallWindowProcA(original, edit, msg, wParam, lParam);
}

void OnInitCookiesPage(HWND page) {
  static Icon folderIcon(ExtractIconA(ProgramInstance(), "shell32.dll", kFolderIconIndex));
  SendDlgItemMessageA(page, IDC_COOKIES_FOLDER_BUTTON, BM_SETIMAGE, IMAGE_ICON,
                      (LPARAM)folderIcon.get());
  SendDlgItemMessageA(page, IDC_COOKIES_FILTERS_TITLE, WM_SETFONT,
                      (WPARAM)ProgramFont(kFontBoldMedium), FALSE);
  HWND edit = GetDlgItem(page, IDC_COOKIES_WORD);
  SendMessageA(edit, EM_LIMITTEXT, kWordEntryLimit, 0);
  SetPropA(edit, kWordEditProc, (HANDLE)GetWindowLongPtrA(edit, GWLP_WNDPROC));
  SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)WordEditProc);
  char caption[kTitleCapacity];
  if (LoadText(kTextCookiesWithNuts, caption)) SetDlgItemTextA(page, IDC_PAGE_LIST, caption);
}

// Moves a control to (x, y) keeping its size, or sizes it too.
void Place(HWND page, int id, int x, int y, int width = 0, int height = 0) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (width > 0 ? 0 : SWP_NOSIZE);
  SetWindowPos(GetDlgItem(page, id), nullptr, x, y, width, height, flags);
}

RECT ControlRect(HWND page, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(page, id), &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The word list takes the left half down to the Remove row above Close;
// the store controls keep their places relative to the right half.
void OnCookiesLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_CLOSE};
  PageLayout layout;
  LayoutPageWithButtons(page, buttons, &layout);
  RECT client;
  GetClientRect(page, &client);
  RECT units = {7, 74, 4, 18};
  MapDialogRect(page, &units);
  int margin = units.left, gap = units.right;
  int half = (client.right - 3 * margin) / 2;
  RECT close = ControlRect(page, IDC_PAGE_CLOSE);
  RECT remove = ControlRect(page, IDC_COOKIES_REMOVE);
  RECT selected = ControlRect(page, IDC_COOKIES_SELECTED);
  int rowHeight = remove.bottom - remove.top;
  int rowTop = close.top - gap - rowHeight;
  int listTop = units.top;
  if (rowTop - gap - listTop < rowHeight) return;  // too small a sheet: keep the template
  Place(page, IDC_PAGE_LIST, margin, listTop, half, rowTop - gap - listTop);
  int removeWidth = remove.right - remove.left;
  Place(page, IDC_COOKIES_REMOVE, margin + half - removeWidth, rowTop);
  Place(page, IDC_COOKIES_SELECTED, margin, rowTop + 1, half - removeWidth - gap,
        selected.bottom - selected.top);
  RECT add = ControlRect(page, IDC_COOKIES_ADD);
  RECT word = ControlRect(page, IDC_COOKIES_WORD);
  Place(page, IDC_COOKIES_ADD, margin + half - (add.right - add.left), add.top);
  Place(page, IDC_COOKIES_WORD, margin, word.top, half - (add.right - add.left) - gap,
        word.bottom - word.top);
  int right = 2 * margin + half;
  const int rightSide[] = {IDC_COOKIES_PICTURE,       IDC_COOKIES_VIEW_TEXT, IDC_COOKIES_EXPLORER,
                           IDC_COOKIES_MOZILLA,       IDC_COOKIES_FOLDER_BUTTON,
                           IDC_COOKIES_FOLDER,        IDC_COOKIES_VIEW,      IDC_COOKIES_ALWAYS};
  RECT anchor = ControlRect(page, IDC_COOKIES_PICTURE);
  for (int id : rightSide) {
    RECT r = ControlRect(page, id);
    Place(page, id, right + (r.left - anchor.left), r.top);
  }
  RECT folder = ControlRect(page, IDC_COOKIES_FOLDER);
  Place(page, IDC_COOKIES_FOLDER, folder.left, folder.top, client.right - margin - folder.left,
        folder.bottom - folder.top);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextCookiesIntro},
    {IDC_COOKIES_FILTERS_TITLE, kTextCookieFilters},
    {IDC_COOKIES_ENTER_TEXT, kTextEnterTextYouWant},
    {IDC_COOKIES_VIEW_TEXT, kTextClickBelowToSee},
    {IDC_COOKIES_ADD, kTextAdd},
    {IDC_COOKIES_REMOVE, kTextRemove},
    {IDC_COOKIES_VIEW, kTextViewCookies},
    {IDC_COOKIES_ALWAYS, kTextAlwaysViewCookies},
    {IDC_COOKIES_EXPLORER, kTextInternetExplorer},
    {IDC_COOKIES_MOZILLA, kTextMozillaBased},
};

const CheckBoxRow kCheckBoxes[] = {{IDC_COOKIES_ALWAYS, kOptViewCookies}};

const PageCommandRow kCommands[] = {
    {IDC_COOKIES_ADD, OnAdd, BN_CLICKED},
    {IDC_COOKIES_REMOVE, OnRemove, BN_CLICKED},
    {IDC_COOKIES_EXPLORER, OnExplorer, BN_CLICKED},
    {IDC_COOKIES_MOZILLA, OnMozilla, BN_CLICKED},
    {IDC_COOKIES_VIEW, OnViewCookies, BN_CLICKED},
    {IDC_COOKIES_FOLDER_BUTTON, OnChooseFolder, BN_CLICKED},
    {kCmdInfo, IgnoreCommand, BN_CLICKED},  // a double-clicked word opens nothing
};

PageDefinition MakeCookiesPage() {
  PageDefinition d{};
  d.pageId = kCmdCookies;
  d.helpFile = "cookies.html";
  d.patrolTitleId = kPatrolCookieFilter;
  d.texts = kTexts;
  d.checkBoxes = kCheckBoxes;
  d.list.columns = kColumns;
  d.list.sortOption = nullptr;
  d.list.lastSortableColumn = -1;
  d.commands = kCommands;
  d.fill = FillWords;
  d.selectionChanged = OnWordSelected;
  d.layout = OnCookiesLayout;
  return d;
}

}  // namespace

const PageDefinition& CookiesPage() {
  static const PageDefinition page = MakeCookiesPage();
  return page;
}

// The shared page procedure, and the viewer opened at once when the page
// becomes active with "Always View Cookies" on.
INT_PTR CALLBACK CookiesPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kOpenViewerMessage) {
    OnViewCookies(page);
    return TRUE;
  }
  INT_PTR result = PageMessage(CookiesPage(), page, msg, wParam, lParam);
  if (msg == WM_INITDIALOG) OnInitCookiesPage(page);
  if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE &&
      Setting(kOptViewCookies) > 0)
    PostMessageA(page, kOpenViewerMessage, 0, 0);
  return result;
}

}  // namespace tov

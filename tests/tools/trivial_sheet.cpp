// The benchmark's yardstick: a property sheet with one page and one list,
// filled with the values of the HKLM and HKCU Run keys (title, command,
// type and date columns) the plainest way. Started as TovrelEx is, so the
// benchmark times both the same way from outside.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <initializer_list>

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kListId = 1000;

void AddColumn(HWND list, int column, const char* text) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.cx = 120;
  c.pszText = const_cast<char*>(text);
  c.iSubItem = column;
  SendMessageA(list, LVM_INSERTCOLUMNA, column, (LPARAM)&c);
}

void SetCell(HWND list, int row, int column, const char* text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

void Fill(HWND list) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[32];
  wsprintfA(date, "%04d/%02d/%02d %02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
  int row = 0;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    for (DWORD i = 0;; ++i) {
      char name[256], data[1024];
      DWORD nameLength = sizeof name, dataLength = sizeof data - 1, type = 0;
      LONG r = RegEnumValueA(key, i, name, &nameLength, nullptr, &type, (BYTE*)data, &dataLength);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS) continue;
      data[dataLength] = 0;
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = name;
      int at = int(SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item));
      const char* file = data;
      for (const char* p = data; *p; ++p)
        if (*p == '\\') file = p + 1;
      SetCell(list, at, 1, file);
      SetCell(list, at, 2, root == HKEY_LOCAL_MACHINE ? "HKLM_RUN" : "HKCU_RUN");
      SetCell(list, at, 3, date);
      ++row;
    }
    RegCloseKey(key);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG) return FALSE;
  RECT r;
  GetClientRect(page, &r);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                              0, 0, r.right, r.bottom, page, (HMENU)(INT_PTR)kListId,
                              GetModuleHandleA(nullptr), nullptr);
  const char* headers[] = {"Title", "Command", "Type", "First detected"};
  for (int c = 0; c < 4; ++c) AddColumn(list, c, headers[c]);
  Fill(list);
  return TRUE;
}

// A page template in memory: an empty child dialog the list fills.
struct PageTemplate {
  DLGTEMPLATE dialog;
  WORD menu, windowClass, title;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  static PageTemplate page{};
  page.dialog.style = WS_CHILD | DS_CONTROL;
  page.dialog.cx = 300;
  page.dialog.cy = 200;
  PROPSHEETPAGEA p{};
  p.dwSize = sizeof p;
  p.dwFlags = PSP_DLGINDIRECT;
  p.hInstance = instance;
  p.pResource = &page.dialog;
  p.pfnDlgProc = PageProc;
  HPROPSHEETPAGE pages[] = {CreatePropertySheetPageA(&p)};
  PROPSHEETHEADERA h{};
  h.dwSize = sizeof h;
  h.dwFlags = PSH_NOAPPLYNOW;
  h.hInstance = instance;
  h.pszCaption = "Trivial sheet";
  h.nPages = 1;
  h.phpage = pages;
  PropertySheetA(&h);
  return 0;
}

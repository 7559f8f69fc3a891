// Drives a running TovrelEx's property sheet from a test: finds the sheet,
// its tab control, pages and list, reads and selects list rows across the
// process boundary, presses buttons and answers message boxes.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/wine_support.h"

namespace sheetdriver {

inline bool IsOwnedBy(HWND w, HWND owner) { return GetWindow(w, GW_OWNER) == owner; }

struct FindData {
  HWND owner;
  HWND found;
  bool messageBox;
};

inline BOOL CALLBACK FindOwnedDialog(HWND w, LPARAM l) {
  FindData* d = reinterpret_cast<FindData*>(l);
  char cls[32];
  GetClassNameA(w, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  bool isBox = GetDlgItem(w, 65535) != nullptr && PropSheet_GetTabControl(w) == nullptr;
  if (d->messageBox) {
    DWORD pid = 0, ownerPid = 0;
    GetWindowThreadProcessId(w, &pid);
    GetWindowThreadProcessId(d->owner, &ownerPid);
    if (isBox && pid == ownerPid) {
      d->found = w;
      return FALSE;
    }
    return TRUE;
  }
  if (IsOwnedBy(w, d->owner) && FindWindowExA(w, nullptr, WC_TABCONTROLA, nullptr)) {
    d->found = w;
    return FALSE;
  }
  return TRUE;
}

// The sheet owned by the main window, or null.
inline HWND FindSheet(HWND mainWindow) {
  FindData d{mainWindow, nullptr, false};
  EnumWindows(FindOwnedDialog, (LPARAM)&d);
  return d.found;
}

// A message box of the main window's process, or null.
inline HWND FindMessageBox(HWND mainWindow) {
  FindData d{mainWindow, nullptr, true};
  EnumWindows(FindOwnedDialog, (LPARAM)&d);
  return d.found;
}

inline std::string MessageBoxText(HWND box) {
  char text[2048] = "";
  GetDlgItemTextA(box, 65535, text, sizeof text);
  return text;
}

// Waits for a message box, answers it and returns its text ("" when none
// came).
inline std::string AnswerMessageBox(HWND mainWindow, int button, DWORD ms = 8000) {
  HWND box = nullptr;
  if (!testsupport::WaitFor([&] { return (box = FindMessageBox(mainWindow)) != nullptr; }, ms))
    return "";
  std::string text = MessageBoxText(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
  testsupport::WaitFor([&] { return !IsWindow(box); }, ms);
  return text;
}

inline HWND TabControl(HWND sheet) { return FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr); }

inline int TabCount(HWND sheet) { return int(SendMessageA(TabControl(sheet), TCM_GETITEMCOUNT, 0, 0)); }

inline int CurrentTab(HWND sheet) { return int(SendMessageA(TabControl(sheet), TCM_GETCURSEL, 0, 0)); }

// The visible page (a child dialog of the sheet).
inline HWND CurrentPage(HWND sheet) {
  for (HWND w = FindWindowExA(sheet, nullptr, "#32770", nullptr); w;
       w = FindWindowExA(sheet, w, "#32770", nullptr))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

inline HWND PageList(HWND sheet) {
  HWND page = CurrentPage(sheet);
  return page ? GetDlgItem(page, 1000) : nullptr;
}

// Memory in the sheet's process for list-view records.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND w, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  char* at() const { return static_cast<char*>(at_); }
  void Write(size_t offset, const void* data, size_t n) {
    WriteProcessMemory(process_, at() + offset, data, n, nullptr);
  }
  void Read(size_t offset, void* data, size_t n) {
    ReadProcessMemory(process_, at() + offset, data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
  size_t size_;
};

inline int RowCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string CellText(HWND list, int row, int column) {
  RemoteBuffer remote(list, sizeof(LVITEMA) + 600);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = remote.at() + sizeof(LVITEMA);
  item.cchTextMax = 600;
  remote.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)remote.at());
  char text[600] = "";
  remote.Read(sizeof(LVITEMA), text, sizeof text);
  text[599] = 0;
  return text;
}

inline std::vector<std::string> Column(HWND list, int column) {
  std::vector<std::string> out;
  for (int i = 0; i < RowCount(list); ++i) out.push_back(CellText(list, i, column));
  return out;
}

inline int FindRow(HWND list, const std::string& title) {
  for (int i = 0; i < RowCount(list); ++i)
    if (CellText(list, i, 0) == title) return i;
  return -1;
}

inline void SetRowState(HWND list, int row, UINT state, UINT mask) {
  RemoteBuffer remote(list, sizeof(LVITEMA));
  LVITEMA item{};
  item.state = state;
  item.stateMask = mask;
  remote.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), (LPARAM)remote.at());
}

// Only these rows selected (the others cleared).
inline void SelectRows(HWND list, std::initializer_list<int> rows) {
  SetRowState(list, -1, 0, LVIS_SELECTED);
  for (int row : rows) SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

inline int ColumnWidth(HWND list, int column) {
  return int(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}

// Posts a button press to the page (the page may open a modal box).
inline void Press(HWND page, int id) {
  PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page, id));
}

// Sends a column click notification through the list's own header click:
// the page sorts on LVN_COLUMNCLICK, so the test asks the list's header.
inline void ClickColumn(HWND list, int column) {
  HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
  RemoteBuffer remote(list, sizeof(RECT));
  SendMessageA(header, HDM_GETITEMRECT, column, (LPARAM)remote.at());
  RECT r;
  remote.Read(0, &r, sizeof r);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
}

}  // namespace sheetdriver

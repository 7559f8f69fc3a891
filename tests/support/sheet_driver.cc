#include "tests/support/sheet_driver.h"

#include <commctrl.h>

#include <cstring>

#include "tests/support/dialogs.h"
#include "tests/support/wine_support.h"

namespace testsupport {

namespace {

BOOL CALLBACK MatchSheet(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w) || GetWindow(w, GW_OWNER) != search->first)
    return TRUE;
  if (!FindWindowExA(w, nullptr, WC_TABCONTROLA, nullptr)) return TRUE;
  search->second = w;
  return FALSE;
}

}  // namespace

HWND FindSheet(HWND mainWindow) {
  std::pair<HWND, HWND> search{mainWindow, nullptr};
  EnumWindows(MatchSheet, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND TabControl(HWND sheet) { return FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr); }

int TabCount(HWND sheet) { return int(SendMessageA(TabControl(sheet), TCM_GETITEMCOUNT, 0, 0)); }

int CurrentTab(HWND sheet) { return int(SendMessageA(TabControl(sheet), TCM_GETCURSEL, 0, 0)); }

std::string TabText(HWND sheet, int tab) {
  char text[128] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  RemoteBuffer remote(sheet, sizeof item + sizeof text);
  item.pszText = remote.at() + sizeof item;
  item.cchTextMax = sizeof text;
  remote.Write(0, &item, sizeof item);
  SendMessageA(TabControl(sheet), TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(remote.at()));
  remote.Read(sizeof item, text, sizeof text);
  text[sizeof text - 1] = 0;
  return text;
}

HWND VisiblePage(HWND sheet) {
  for (HWND w = FindWindowExA(sheet, nullptr, "#32770", nullptr); w; w = FindWindowExA(sheet, w, "#32770", nullptr))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

HWND VisibleList(HWND sheet) {
  HWND page = VisiblePage(sheet);
  return page ? GetDlgItem(page, kPageListId) : nullptr;
}

RemoteBuffer::RemoteBuffer(HWND w, size_t size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

void RemoteBuffer::Write(size_t offset, const void* data, size_t n) {
  WriteProcessMemory(process_, at() + offset, data, n, nullptr);
}

void RemoteBuffer::Read(size_t offset, void* data, size_t n) {
  ReadProcessMemory(process_, at() + offset, data, n, nullptr);
}

int RowCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string CellText(HWND list, int row, int column) {
  constexpr int kCell = 600;
  RemoteBuffer remote(list, sizeof(LVITEMA) + kCell);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = remote.at() + sizeof(LVITEMA);
  item.cchTextMax = kCell;
  remote.Write(0, &item, sizeof item);
  remote.Write(sizeof item, "", 1);
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.at()));
  char text[kCell] = "";
  remote.Read(sizeof(LVITEMA), text, sizeof text);
  text[kCell - 1] = 0;
  return text;
}

std::vector<std::string> Column(HWND list, int column) {
  std::vector<std::string> out;
  for (int i = 0; i < RowCount(list); ++i) out.push_back(CellText(list, i, column));
  return out;
}

int FindRow(HWND list, const std::string& text, int column) {
  for (int i = 0; i < RowCount(list); ++i)
    if (CellText(list, i, column) == text) return i;
  return -1;
}

int RowImage(HWND list, int row) {
  RemoteBuffer remote(list, sizeof(LVITEMA));
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  remote.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.at()));
  remote.Read(0, &item, sizeof item);
  return item.iImage;
}

std::string HeaderText(HWND list, int column) {
  char text[128] = "";
  LVCOLUMNA c{};
  RemoteBuffer remote(list, sizeof c + sizeof text);
  c.mask = LVCF_TEXT;
  c.pszText = remote.at() + sizeof c;
  c.cchTextMax = sizeof text;
  remote.Write(0, &c, sizeof c);
  SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(remote.at()));
  remote.Read(sizeof c, text, sizeof text);
  text[sizeof text - 1] = 0;
  return text;
}

int ListColumnWidth(HWND list, int column) { return int(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)); }

int FirstSelectedRow(HWND list) {
  return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  RemoteBuffer remote(list, sizeof(LVITEMA));
  LVITEMA item{};
  item.state = state;
  item.stateMask = mask;
  remote.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(remote.at()));
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
  SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ClickColumn(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RemoteBuffer remote(list, sizeof(RECT));
  SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(remote.at()));
  RECT r;
  remote.Read(0, &r, sizeof r);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
}

void NotifyFromList(HWND list, UINT code, int row, int column) {
  NMLISTVIEW n{};
  n.hdr.hwndFrom = list;
  n.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
  n.hdr.code = code;
  n.iItem = row;
  n.iSubItem = column;
  SendMessageA(GetParent(list), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

void ClickRow(HWND list, int row) {
  if (row >= 0)
    SelectRows(list, {row});
  else
    SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  NotifyFromList(list, NM_CLICK, row);
}

void DoubleClickRow(HWND list, int row) {
  ClickRow(list, row);
  NotifyFromList(list, NM_DBLCLK, row);
}

void EndAllInstances() {
  for (const char* cls : {"TovrelEx", "Tovrel"}) {
    for (int i = 0; i < 50; ++i) {
      HWND w = FindWindowA(cls, nullptr);
      if (!w) break;
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (p) {
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
      }
      WaitFor([&] { return !IsWindow(w); }, 2000);
    }
  }
}

bool RunningProgram::Start(const std::string& args) {
  Stop();
  process_ = StartProgram(BinPath("TovrelEx.exe"), args);
  if (!process_) return false;
  return WaitFor([&] { return (main_ = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000);
}

bool RunningProgram::Open(const std::string& args) {
  if (!Start(args)) return false;
  if (!WaitFor([&] { return (sheet_ = FindSheet(main_)) != nullptr; }, 15000)) return false;
  return WaitFor([&] { return VisiblePage(sheet_) != nullptr; }, 10000);
}

bool RunningProgram::CloseByPage() {
  HWND visible = page();
  if (!visible) return false;
  Press(visible, kPageCloseId);
  return WaitEnd() == 0;
}

long RunningProgram::WaitEnd(DWORD ms) {
  if (!process_) return -1;
  long code = WaitExit(process_, ms);
  if (code != -1) {
    CloseHandle(process_);
    process_ = nullptr;
  }
  return code;
}

void RunningProgram::Stop() {
  if (!process_) return;
  TerminateProcess(process_, 0);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace testsupport

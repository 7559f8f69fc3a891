// Drives TovrelEx's property sheet from a test: starts the program, finds
// its sheet, tabs, pages and lists, reads and selects list rows (across the
// process boundary, or in this process), and closes or ends the program.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

constexpr int kPageListId = 1000;
constexpr int kPageCloseId = 1004;

// The sheet owned by the main window, or null.
HWND FindSheet(HWND mainWindow);
HWND TabControl(HWND sheet);
int TabCount(HWND sheet);
int CurrentTab(HWND sheet);
std::string TabText(HWND sheet, int tab);
// The visible page (a child dialog of the sheet) and its list.
HWND VisiblePage(HWND sheet);
HWND VisibleList(HWND sheet);

// Memory in the process of a window, for records a message points to.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND w, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  char* at() const { return static_cast<char*>(at_); }
  void Write(size_t offset, const void* data, size_t n);
  void Read(size_t offset, void* data, size_t n);

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
};

// List views, in this process or another.
int RowCount(HWND list);
std::string CellText(HWND list, int row, int column);
std::vector<std::string> Column(HWND list, int column);
// The first row whose cell in `column` reads `text`, or -1.
int FindRow(HWND list, const std::string& text, int column = 0);
int RowImage(HWND list, int row);
std::string HeaderText(HWND list, int column);
int ListColumnWidth(HWND list, int column);
// The first selected row, or -1.
int FirstSelectedRow(HWND list);
void SetRowState(HWND list, int row, UINT state, UINT mask);
// Only these rows selected and the last one focused (the others cleared).
void SelectRows(HWND list, std::initializer_list<int> rows);
// Clicks a column header through the list's own header control, so the
// list sends LVN_COLUMNCLICK to its page as a mouse click would.
void ClickColumn(HWND list, int column);
// Sends a list notification to the list's parent as the list would. In
// this process only: a WM_NOTIFY record does not cross processes.
void NotifyFromList(HWND list, UINT code, int row, int column = 0);
// Selects one row (or none, for -1) and tells the parent as a click does.
void ClickRow(HWND list, int row);
void DoubleClickRow(HWND list, int row);

// Ends every running TovrelEx and monitor stand-in ("Tovrel") a test left.
void EndAllInstances();

// A TovrelEx started by the test. Ended (terminated if need be) when the
// object goes out of scope.
class RunningProgram {
 public:
  RunningProgram() = default;
  ~RunningProgram() { Stop(); }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Starts TovrelEx with args and waits for its main window.
  bool Start(const std::string& args);
  // Start, then waits for the sheet and a visible page.
  bool Open(const std::string& args);
  // Presses Close on the visible page; true when the program ended with 0.
  bool CloseByPage();
  // Waits for the program to end by itself; its exit code or -1.
  long WaitEnd(DWORD ms = 10000);
  // Terminates the program if it still runs.
  void Stop();

  HWND main() const { return main_; }
  HWND sheet() const { return sheet_; }
  HWND page() const { return VisiblePage(sheet_); }
  HWND list() const { return VisibleList(sheet_); }
  HANDLE process() const { return process_; }

 private:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr;
  HWND sheet_ = nullptr;
};

}  // namespace testsupport

#include "options/restart_commands.h"

#include <cstdlib>
#include <memory>

#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/text.h"
#include "resources/resource.h"
#include "ui/sheet.h"

namespace tov {

namespace {

constexpr int kTextTitle = 30;
constexpr int kTextNoCommands = 59;
constexpr int kTextLegend = 702;
constexpr int kTextDelete = 614;
constexpr int kTextClose = 304;
// A larger file is shown in part, and then it cannot be deleted from here.
constexpr DWORD kShownLimit = 1024 * 1024;

struct FreeBlock {
  void operator()(char* p) const { free(p); }
};
using Block = std::unique_ptr<char, FreeBlock>;

// The file as it was shown, so that Delete acts on that and nothing newer.
struct RestartView {
  char path[kPathCapacity];
  DWORD size;
  FILETIME written;
  bool whole;
};

bool InWindowsFolder(const char* name, char (&out)[kPathCapacity]) {
  UINT n = GetWindowsDirectoryA(out, sizeof out);
  return n > 0 && n < sizeof out && AppendBackslash(out) && AppendText(out, name);
}

// The file's text for an edit box: every line feed after a carriage
// return, zero bytes as blanks, at most kShownLimit bytes. Null when the
// file cannot be read or is empty.
Block ReadShownText(const char* path, RestartView* view) {
  Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Block();
  DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size == 0 || !GetFileTime(file.get(), nullptr, nullptr, &view->written))
    return Block();
  DWORD want = size < kShownLimit ? size : kShownLimit;
  Block raw(static_cast<char*>(malloc(want)));
  DWORD got = 0;
  if (!raw || !ReadFile(file.get(), raw.get(), want, &got, nullptr) || got == 0) return Block();
  Block text(static_cast<char*>(malloc(size_t(got) * 2 + 1)));
  if (!text) return Block();
  size_t o = 0;
  for (DWORD i = 0; i < got; ++i) {
    char c = raw.get()[i];
    if (c == '\n' && (i == 0 || raw.get()[i - 1] != '\r')) text.get()[o++] = '\r';
    text.get()[o++] = c == 0 ? ' ' : c;
  }
  text.get()[o] = 0;
  view->size = size;
  view->whole = got == size;
  return text;
}

bool ShowFileText(HWND dialog, RestartView* view) {
  Block text = ReadShownText(view->path, view);
  if (!text) return false;
  HWND box = GetDlgItem(dialog, IDC_RESTART_TEXT);
  SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextA(box, text.get());
  EnableWindow(GetDlgItem(dialog, IDC_RESTART_DELETE), view->whole);
  return true;
}

bool ChangedSinceShown(const RestartView& view) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(view.path, GetFileExInfoStandard, &data)) return true;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != view.size ||
         CompareFileTime(&data.ftLastWriteTime, &view.written) != 0;
}

BOOL OnInitDialog(HWND dialog, RestartView* view) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
  char title[kTitleCapacity];
  LoadText(kTextTitle, title);
  SetWindowTextA(dialog, title);
  SetDlgItemTextA(dialog, IDC_RESTART_PATH, view->path);
  SetControlText(dialog, kTextLegend, IDC_RESTART_LEGEND);
  SetControlText(dialog, kTextDelete, IDC_RESTART_DELETE);
  SetControlText(dialog, kTextClose, IDCANCEL);
  ShowFileText(dialog, view);
  CentreWindow(dialog);
  return TRUE;
}

// Deletes the file that was shown. A file changed since then (another
// program added a command) is shown again instead, for a second look.
void OnDelete(HWND dialog, RestartView* view) {
  if (!view->whole) return;
  if (ChangedSinceShown(*view)) {
    if (!ShowFileText(dialog, view)) EndDialog(dialog, IDCANCEL);
    return;
  }
  SetFileAttributesA(view->path, FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(view->path);
  EndDialog(dialog, IDC_RESTART_DELETE);
}

INT_PTR CALLBACK RestartProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<RestartView*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, reinterpret_cast<RestartView*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_RESTART_DELETE && HIWORD(wParam) == BN_CLICKED) {
        OnDelete(dialog, view);
      } else if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int ShowRestartCommands(HWND owner) {
  char program[kPathCapacity];
  if (!InWindowsFolder("wininit.exe", program) ||
      GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES)
    return 0;
  RestartView view{};
  if (!InWindowsFolder("wininit.ini", view.path)) return 0;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(view.path, GetFileExInfoStandard, &data) ||
      (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)) {
    char title[kTitleCapacity];
    char text[kMessageCapacity];
    LoadText(kTextTitle, title);
    LoadText(kTextNoCommands, text);
    MessageBoxA(owner, text, title, MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    return 1;
  }
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_RESTART_COMMANDS), owner, RestartProc,
                  reinterpret_cast<LPARAM>(&view));
  return 2;
}

}  // namespace tov

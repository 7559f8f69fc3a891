// Drives a modal dialog of the program from a second thread: the test
// thread opens the dialog (and runs its modal loop); the driver waits for
// the dialog to show, reads and changes its controls through window
// messages, and closes it. A dialog the driver leaves open is closed with
// IDCANCEL so no test waits forever. Screenshots of a dialog are written
// when TOVREL_SHOT_DIR names a folder.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace uitest {

struct DialogSearch {
  HWND owner;
  HWND found;
};

inline BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  char className[16];
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  search->found = window;
  return FALSE;
}

// The visible dialog owned by owner, or null.
inline HWND FindDialogOf(HWND owner) {
  DialogSearch search{owner, nullptr};
  EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct DriverJob {
  HWND owner;
  std::function<void(HWND)> drive;
  bool found;
};

inline DWORD WINAPI DriverThread(void* param) {
  auto* job = static_cast<DriverJob*>(param);
  HWND dialog = nullptr;
  for (int i = 0; i < 500 && !dialog; ++i) {
    dialog = FindDialogOf(job->owner);
    if (!dialog) Sleep(10);
  }
  job->found = dialog != nullptr;
  if (!dialog) return 0;
  job->drive(dialog);
  for (int i = 0; i < 100 && IsWindow(dialog); ++i) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Sleep(20);
  }
  return 0;
}

// Runs open() (which shows a modal dialog owned by owner) while drive(dialog)
// works on the dialog from a second thread. found tells whether the dialog
// appeared.
template <typename Open>
auto RunDriven(HWND owner, std::function<void(HWND)> drive, Open open, bool* found)
    -> decltype(open()) {
  DriverJob job{owner, std::move(drive), false};
  HANDLE thread = CreateThread(nullptr, 0, DriverThread, &job, 0, nullptr);
  auto result = open();
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  if (found) *found = job.found;
  return result;
}

inline void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline std::string Text(HWND dialog, int id) {
  char text[4096] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline std::string Caption(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

// Top of a control in its dialog's client area.
inline int ClientTop(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  POINT p{r.left, r.top};
  ScreenToClient(dialog, &p);
  return p.y;
}

inline int WindowHeight(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

inline int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

// Copies the window's screen rectangle into "<TOVREL_SHOT_DIR>\<name>.bmp".
inline void Screenshot(HWND window, const char* name) {
  const char* folder = getenv("TOVREL_SHOT_DIR");
  if (!folder || !folder[0]) return;
  Sleep(300);
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DWORD rowBytes = (DWORD(w) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + rowBytes * DWORD(h);
  std::string path = std::string(folder) + "\\" + name + ".bmp";
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(&file, sizeof file, 1, f);
    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    fwrite(bits, rowBytes, DWORD(h), f);
    fclose(f);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// A hidden top-level window to own the dialogs, with a child standing in
// for a page's list.
struct OwnerWindow {
  HWND top = nullptr;
  HWND child = nullptr;
  OwnerWindow() {
    top = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, top, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnerWindow() {
    if (top) DestroyWindow(top);
  }
};

}  // namespace uitest

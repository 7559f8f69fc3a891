#include "tests/support/dialogs.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/wine_support.h"

namespace testsupport {

namespace {

constexpr int kMessageBoxTextId = 65535;

bool Matches(HWND w, const DialogQuery& q) {
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w) || w == q.except) return false;
  if (q.owner && GetWindow(w, GW_OWNER) != q.owner) return false;
  if (q.process) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != q.process) return false;
  }
  if (q.caption && WindowText(w) != q.caption) return false;
  if (q.messageBox &&
      (!GetDlgItem(w, kMessageBoxTextId) || FindWindowExA(w, nullptr, WC_TABCONTROLA, nullptr)))
    return false;
  return true;
}

struct Search {
  const DialogQuery* query;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!Matches(w, *search->query)) return TRUE;
  search->found = w;
  return FALSE;
}

}  // namespace

DialogQuery OwnedBy(HWND owner) {
  DialogQuery q;
  q.owner = owner;
  return q;
}

DialogQuery OfProcess(DWORD process) {
  DialogQuery q;
  q.process = process;
  return q;
}

DialogQuery OfProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return OfProcess(pid);
}

DialogQuery MessageBoxOf(HWND window) {
  DialogQuery q = OfProcessOf(window);
  q.messageBox = true;
  return q;
}

HWND FindDialog(const DialogQuery& query) {
  Search search{&query, nullptr};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitDialog(const DialogQuery& query, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindDialog(query)) != nullptr; }, ms);
  return found;
}

bool WaitClosed(HWND window, DWORD ms) {
  return WaitFor([&] { return !IsWindow(window); }, ms);
}

std::string ControlText(HWND dialog, int id) {
  char text[4096] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::string WindowText(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsShown(HWND dialog, int id) {
  return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool IsChecked(HWND dialog, int id) {
  return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Click(HWND dialog, int id, DWORD ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)), SMTO_NORMAL, ms,
                             &result) != 0;
}

void FlipCheckBox(HWND dialog, int id) {
  bool checked = SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

bool ClickCheckBox(HWND dialog, int id, DWORD ms) {
  FlipCheckBox(dialog, id);
  return Click(dialog, id, ms);
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Settle(HWND window, DWORD ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

DialogSnapshot Snapshot(HWND dialog, std::initializer_list<int> ids) {
  DialogSnapshot seen;
  for (int id : ids) {
    if (id == kCaption) {
      seen[id] = WindowText(dialog);
      continue;
    }
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
      seen[id] = "<no control>";
      continue;
    }
    if (!IsShown(dialog, id)) {
      seen[id] = "[hidden]";  // the user sees no text
      continue;
    }
    std::string text = ControlText(dialog, id);
    if (!IsEnabled(dialog, id)) text += " [disabled]";
    char cls[16] = "";
    GetClassNameA(control, cls, sizeof cls);
    if (_stricmp(cls, "Button") == 0 && IsChecked(dialog, id)) text += " [checked]";
    seen[id] = text;
  }
  return seen;
}

DialogSnapshot SnapshotLike(HWND dialog, const DialogSnapshot& expected) {
  DialogSnapshot seen;
  for (const auto& control : expected) {
    DialogSnapshot one = Snapshot(dialog, {control.first});
    seen[control.first] = one[control.first];
  }
  return seen;
}

std::string AnswerMessageBox(HWND window, int button, DWORD ms) {
  HWND box = WaitDialog(MessageBoxOf(window), ms);
  if (!box) return "";
  std::string text = ControlText(box, kMessageBoxTextId);
  Press(box, button);
  WaitClosed(box, ms);
  return text;
}

DialogAnswerer::DialogAnswerer(DialogQuery query, int button) : query_(query), button_(button) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogAnswerer::~DialogAnswerer() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
}

DWORD WINAPI DialogAnswerer::Run(void* self) {
  auto* me = static_cast<DialogAnswerer*>(self);
  HWND last = nullptr;
  while (!me->stop_) {
    HWND box = FindDialog(me->query_);
    if (box) {
      Press(box, me->button_);
      if (box != last) InterlockedIncrement(&me->answered_);
      last = box;
    }
    Sleep(50);
  }
  return 0;
}

namespace {

struct DriverJob {
  DialogQuery query;
  std::function<void(HWND)> drive;
  bool found;
};

DWORD WINAPI DriverThread(void* param) {
  auto* job = static_cast<DriverJob*>(param);
  HWND dialog = nullptr;
  for (int i = 0; i < 1000 && !dialog; ++i) {
    dialog = FindDialog(job->query);
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

}  // namespace

int RunDriven(const DialogQuery& query, std::function<void(HWND)> drive, std::function<int()> open,
              bool* found) {
  DriverJob job{query, std::move(drive), false};
  HANDLE thread = CreateThread(nullptr, 0, DriverThread, &job, 0, nullptr);
  int result = open();
  WaitForSingleObject(thread, 20000);
  CloseHandle(thread);
  if (found) *found = job.found;
  return result;
}

int ControlTop(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  POINT p{r.left, r.top};
  ScreenToClient(dialog, &p);
  return p.y;
}

int WindowHeight(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

void Screenshot(HWND window, const char* name) {
  const char* folder = getenv("TOVREL_SHOT_DIR");
  if (!folder || !folder[0]) return;
  Sleep(300);  // the picture only: let the window finish painting
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

OwnerWindow::OwnerWindow() {
  top = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
  child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, top, nullptr, GetModuleHandleA(nullptr),
                          nullptr);
}

OwnerWindow::~OwnerWindow() {
  if (top) DestroyWindow(top);
}

}  // namespace testsupport

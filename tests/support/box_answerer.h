// Answers the next modal box the test's own process shows (a message box, or
// a dialog with an OK button) from a helper thread, so that a test can call
// code that asks a question and still run to its end.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

class BoxAnswerer {
 public:
  // Presses button on the first visible dialog of this process that appears
  // within ms milliseconds.
  explicit BoxAnswerer(int button, DWORD ms = 8000) : button_(button), ms_(ms) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~BoxAnswerer() { Wait(); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  // Waits for the helper; true when a box was answered. Its text (the
  // message box's Static 65535, else the dialog's first text) is in Text().
  bool Wait() {
    if (thread_) {
      WaitForSingleObject(thread_, ms_ + 2000);
      CloseHandle(thread_);
      thread_ = nullptr;
    }
    return answered_;
  }
  const std::string& Text() {
    Wait();
    return text_;
  }

 private:
  static BOOL CALLBACK Find(HWND w, LPARAM l) {
    HWND* found = reinterpret_cast<HWND*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || lstrcmpA(cls, "#32770") != 0)
      return TRUE;
    *found = w;
    return FALSE;
  }
  static BOOL CALLBACK FirstText(HWND w, LPARAM l) {
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    char text[1024] = "";
    GetWindowTextA(w, text, sizeof text);
    LONG kind = GetWindowLongA(w, GWL_STYLE) & SS_TYPEMASK;
    if (lstrcmpiA(cls, "Static") != 0 || text[0] == 0 || kind == SS_BITMAP || kind == SS_ICON)
      return TRUE;
    *reinterpret_cast<std::string*>(l) = text;
    return FALSE;
  }
  static DWORD WINAPI Run(LPVOID p) {
    BoxAnswerer* self = static_cast<BoxAnswerer*>(p);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < self->ms_) {
      HWND box = nullptr;
      EnumWindows(Find, reinterpret_cast<LPARAM>(&box));
      if (box) {
        Sleep(50);  // let the box finish its initialisation
        char text[1024] = "";
        if (GetDlgItemTextA(box, 65535, text, sizeof text) > 0)
          self->text_ = text;
        else
          EnumChildWindows(box, FirstText, reinterpret_cast<LPARAM>(&self->text_));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED),
                     (LPARAM)GetDlgItem(box, self->button_));
        self->answered_ = true;
        return 0;
      }
      Sleep(20);
    }
    return 0;
  }

  int button_;
  DWORD ms_;
  HANDLE thread_ = nullptr;
  bool answered_ = false;
  std::string text_;
};

}  // namespace testsupport

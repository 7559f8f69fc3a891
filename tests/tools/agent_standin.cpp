// Stand-in for the Windows 98 scheduler agent "mstask.exe": owns one window
// of class "SAGEWINDOWCLASS" titled "SYSTEM AGENT COM WINDOW" until it is
// ended. Appends "start <pid>" to the file named by TOVREL_AGENT_LOG. With
// TOVREL_AGENT_NO_WINDOW set it never makes its window, like an agent that
// hangs while starting.
#include <windows.h>

#include <cstdio>

static LRESULT CALLBACK AgentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

static void RecordStart() {
  char log[MAX_PATH];
  if (!GetEnvironmentVariableA("TOVREL_AGENT_LOG", log, sizeof log)) return;
  HANDLE f = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  char line[64];
  int n = snprintf(line, sizeof line, "start %lu\r\n", (unsigned long)GetCurrentProcessId());
  DWORD written = 0;
  WriteFile(f, line, DWORD(n), &written, nullptr);
  CloseHandle(f);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RecordStart();
  char noWindow[8];
  if (GetEnvironmentVariableA("TOVREL_AGENT_NO_WINDOW", noWindow, sizeof noWindow)) {
    Sleep(60000);
    return 0;
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = AgentProc;
  wc.hInstance = instance;
  wc.lpszClassName = "SAGEWINDOWCLASS";
  if (!RegisterClassA(&wc)) return 1;
  HWND w = CreateWindowExA(0, "SAGEWINDOWCLASS", "SYSTEM AGENT COM WINDOW", WS_OVERLAPPED, 0, 0,
                           0, 0, nullptr, nullptr, instance, nullptr);
  if (!w) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

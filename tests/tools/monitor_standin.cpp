// Stand-in for the resident monitor Tovrel.exe: owns one window of class
// "Tovrel" and appends a line for its start and for every WM_COMMAND it
// receives to the file named by TOVREL_MONITOR_LOG. Command 6030 ends it.
#include <windows.h>

#include <cstdio>

static char g_log[MAX_PATH];

static void Record(const char* line) {
  if (!g_log[0]) return;
  HANDLE f = CreateFileA(g_log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, line, DWORD(lstrlenA(line)), &written, nullptr);
  CloseHandle(f);
}

static LRESULT CALLBACK MonitorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    char line[64];
    snprintf(line, sizeof line, "command %u %ld\r\n", (unsigned)LOWORD(wp), (long)lp);
    Record(line);
    if (LOWORD(wp) == 6030) DestroyWindow(w);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  GetEnvironmentVariableA("TOVREL_MONITOR_LOG", g_log, sizeof g_log);
  WNDCLASSA wc{};
  wc.lpfnWndProc = MonitorProc;
  wc.hInstance = instance;
  wc.lpszClassName = "Tovrel";
  if (!RegisterClassA(&wc)) return 1;
  HWND w = CreateWindowExA(0, "Tovrel", "Tovrel", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                           instance, nullptr);
  if (!w) return 1;
  char line[64];
  snprintf(line, sizeof line, "start %lu\r\n", (unsigned long)GetCurrentProcessId());
  Record(line);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

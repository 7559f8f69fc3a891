#include "app/monitor.h"

namespace tov {

HWND FindMonitorWindow() { return FindWindowA("Tovrel", nullptr); }
bool IsMonitorRunning() { return FindMonitorWindow() != nullptr; }

void StartMonitor() {
  if (IsMonitorRunning()) return;
  WinExec("Tovrel.exe", SW_SHOW);
}

namespace {
DWORD WINAPI StartMonitorThread(LPVOID) {
  StartMonitor();
  return 0;
}
}  // namespace

void StartMonitorInBackground() {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, StartMonitorThread, nullptr, 0, &id);
  if (!thread) {
    StartMonitor();
    return;
  }
  CloseHandle(thread);
}

void CloseMonitor() {
  if (HWND w = FindMonitorWindow()) PostMessageA(w, WM_COMMAND, kMonitorCmdClose, 0);
}

void SetMonitorIconHidden(bool hide) {
  if (HWND w = FindMonitorWindow()) SendMessageA(w, WM_COMMAND, kMonitorCmdTaskbarIcon, hide ? 1 : 0);
}

}  // namespace tov

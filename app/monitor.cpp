#include "app/monitor.h"

namespace tov {

HWND FindMonitorWindow() { return FindWindowA("Tovrel", nullptr); }
bool IsMonitorRunning() { return FindMonitorWindow() != nullptr; }

void StartMonitor() {
  if (IsMonitorRunning()) return;
  WinExec("Tovrel.exe", SW_SHOW);
}

void CloseMonitor() {
  if (HWND w = FindMonitorWindow()) PostMessageA(w, WM_COMMAND, kMonitorCmdClose, 0);
}

void SetMonitorIconHidden(bool hide) {
  if (HWND w = FindMonitorWindow()) SendMessageA(w, WM_COMMAND, kMonitorCmdTaskbarIcon, hide ? 1 : 0);
}

}  // namespace tov

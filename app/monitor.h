// What the program relies on of the resident monitor Tovrel.exe: one
// top-level window of class "Tovrel", started by bare file name.
#pragma once
#include <windows.h>

namespace tov {

constexpr int kMonitorCmdClose = 6030;
constexpr int kMonitorCmdTaskbarIcon = 6053;

HWND FindMonitorWindow();
bool IsMonitorRunning();
// Starts "Tovrel.exe" (show command 5) unless its window exists. The result
// is not checked and not waited for.
void StartMonitor();
// The same on a thread of its own: looking for the program to start takes
// a while, and the first page need not wait for it. Starts it here when no
// thread can be made.
void StartMonitorInBackground();
// Posts WM_COMMAND 6030 to the monitor when it runs.
void CloseMonitor();
// Sends WM_COMMAND 6053 with lParam 1 (hide) or 0 (show); nothing when the
// monitor is not running.
void SetMonitorIconHidden(bool hide);

}  // namespace tov

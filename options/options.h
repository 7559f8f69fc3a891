// What the Options family offers the program: its page, and the program's
// initialisation, which the page runs again when it opens.
#pragma once
#include <windows.h>

namespace tov {

// The resident monitor's command that hides (lParam 1) or shows (0) its
// taskbar icon.
constexpr int kMonitorTaskbarIconCommand = 6053;

// The program hands its initialisation over at start; the Options page runs
// it again when it opens, so every option is read afresh.
void SetOptionsInitialise(void (*initialise)());

// The Options page's procedure (its definition comes as the page's lParam).
INT_PTR CALLBACK OptionsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tov

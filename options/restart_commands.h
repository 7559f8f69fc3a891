// The restart-commands viewer (main-window command 6034): shows the
// commands that Windows 9x carries out at its next restart, from
// wininit.ini, and can delete that file.
#pragma once
#include <windows.h>

namespace tov {

// Does nothing when the Windows folder holds no wininit.exe (the NT family).
// Otherwise shows wininit.ini in the viewer, or string 59 when it is
// missing or empty. Returns what was shown: 0 nothing, 1 the message, 2 the
// viewer.
int ShowRestartCommands(HWND owner);

}  // namespace tov

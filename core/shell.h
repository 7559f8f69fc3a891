// Starting programs and shell verbs, and what the running platform is.
#pragma once
#include <windows.h>

namespace tov {

// Brings window to the foreground and opens file with parameters through the
// shell; when the shell cannot, starts "file parameters" directly. Null on
// success, the window on failure.
HWND RunProgram(HWND window, const char* file, const char* parameters);
// Runs a shell verb ("properties", "explore", ...) on a file through its
// item list, shown normally.
bool InvokeShellVerb(HWND window, const char* file, const char* parameters, const char* verb);
// True on the NT family.
bool IsNtPlatform();
// major * 65536 + minor from the library's DllGetVersion; 0 when the
// library, the export or the call fails.
DWORD LibraryVersion(const char* libraryFile);
// A running AOL client's main window, or null.
HWND FindAolWindow();

}  // namespace tov

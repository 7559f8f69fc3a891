// Entry of TovrelEx: command line, single instance, main window and the
// message loop.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// Runs the program; returns its exit code (0 on every early exit).
int TovrelMain(HINSTANCE instance, const char* cmdLine);

// ProductVersion of Tovrel.exe in the program folder, followed by ":" and
// that of TovrelEx.exe when it is there too. Returns the length.
size_t VersionLabel(char* out, size_t cap);

// Main window: registration, creation and its procedure.
bool RegisterMainClass(HINSTANCE instance, const char* className);
HWND CreateMainWindow(HINSTANCE instance, const char* className, const char* caption);
LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tov

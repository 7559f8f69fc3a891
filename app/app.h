// Entry of TovrelEx: command line, single instance, main window and the
// message loop.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// Runs the program; returns its exit code (0 on every early exit).
int TovrelMain(HINSTANCE instance, const char* cmdLine);

// Main window: registration, creation and its procedure.
bool RegisterMainClass(HINSTANCE instance, const char* className);
HWND CreateMainWindow(HINSTANCE instance, const char* className, const char* caption);
LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tov

// Process-wide state of the running program that every part reads: the
// instance handle, the main window and the caption, the class name, and the
// ini and trace paths.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

constexpr size_t kCaptionCapacity = 32;

HINSTANCE ProgramInstance();
void SetProgramInstance(HINSTANCE instance);
HWND MainWindow();
void SetMainWindow(HWND window);
// Caption of the sheet and default caption of message boxes.
const char* ProgramCaption();
void SetProgramCaption(const char* caption);
const char* MainClassName();
void SetMainClassName(const char* name);
const char* IniPath();
void SetIniPath(const char* path);


// Centres a window: x = (screen width - width) / 2, y = (screen height -
// height) / 3; size unchanged, not activated.
void CentreWindow(HWND window);

}  // namespace tov

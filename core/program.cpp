#include "core/program.h"

#include "core/text.h"

namespace tov {

namespace {
HINSTANCE g_instance;
HWND g_mainWindow;
char g_caption[kCaptionCapacity];
char g_className[kCaptionCapacity];
char g_iniPath[kPathCapacity];
}  // namespace

HINSTANCE ProgramInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }
void SetProgramInstance(HINSTANCE instance) { g_instance = instance; }
HWND MainWindow() { return g_mainWindow; }
void SetMainWindow(HWND window) { g_mainWindow = window; }
const char* ProgramCaption() { return g_caption; }
void SetProgramCaption(const char* caption) { CopyText(g_caption, caption); }
const char* MainClassName() { return g_className; }
void SetMainClassName(const char* name) { CopyText(g_className, name); }
const char* IniPath() { return g_iniPath; }
void SetIniPath(const char* path) { CopyText(g_iniPath, path); }

void CentreWindow(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 3;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tov

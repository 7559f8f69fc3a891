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

}  // namespace tov

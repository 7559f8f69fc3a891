#include "core/shell.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>

#include "core/owned.h"
#include "core/text.h"

namespace tov {

namespace {

constexpr INT_PTR kShellSuccess = 32;  // ShellExecute and WinExec succeed above this
constexpr DWORD kDllVersionRecordSize = 20;

}  // namespace

HWND RunProgram(HWND window, const char* file, const char* parameters) {
  if (window) SetForegroundWindow(window);
  HINSTANCE shell = ShellExecuteA(window, "open", file, parameters, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(shell) > kShellSuccess) return nullptr;
  // Started directly, a path with spaces is quoted so the parameters stay
  // apart from it.
  char line[kMessageCapacity];
  bool quote = strchr(file, ' ') != nullptr && file[0] != '"';
  bool whole = CopyText(line, quote ? "\"" : "");
  whole = whole && AppendText(line, file);
  whole = whole && AppendText(line, quote ? "\"" : "");
  if (parameters && parameters[0]) {
    whole = whole && AppendText(line, " ");
    whole = whole && AppendText(line, parameters);
  }
  if (!whole) return window;
  if (WinExec(line, SW_SHOWNORMAL) >= kShellSuccess) return nullptr;
  return window;
}

bool InvokeShellVerb(HWND window, const char* file, const char* parameters, const char* verb) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = window;
  info.lpVerb = verb;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.nShow = SW_SHOW;
  return ShellExecuteExA(&info) != FALSE;
}

bool IsNtPlatform() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return false;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

DWORD LibraryVersion(const char* libraryFile) {
  Module library(LoadLibraryA(libraryFile));
  if (!library) return 0;
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), "DllGetVersion")));
  if (!getVersion) return 0;
  DLLVERSIONINFO info{};
  static_assert(sizeof info == kDllVersionRecordSize, "DllGetVersion record of 20 bytes");
  info.cbSize = kDllVersionRecordSize;
  if (FAILED(getVersion(&info))) return 0;
  return info.dwMajorVersion * 65536 + info.dwMinorVersion;
}

HWND FindAolWindow() {
  static const char* const kTitles[] = {"America  Online", "America Online", "AOL", "AOL Canada"};
  for (const char* title : kTitles)
    if (HWND w = FindWindowA("AOL Frame25", title)) return w;
  return FindWindowA("AOL Frame", "America  Online");
}

}  // namespace tov

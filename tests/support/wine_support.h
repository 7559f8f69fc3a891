// Helpers shared by the Windows tests: paths of the built programs, clean
// registry keys, child processes and bounded waits.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// Folder of the running test executable (the build's bin folder).
std::string BinFolder();
std::string BinPath(const char* file);
// Deletes HKCU and HKLM "Software\Brenvik" so each test starts clean.
void ClearProductKeys();
bool IsNtFamily();
// True when the tests run under Wine (ntdll exports wine_get_version).
bool IsWine();

// Starts a program with a command line; returns the process handle (0 on
// failure). The caller closes it.
HANDLE StartProgram(const std::string& exe, const std::string& args);
// Waits for the process to end; returns its exit code, or -1 on time-out.
long WaitExit(HANDLE process, DWORD ms);
// Polls (pumping this thread's messages) until cond() holds or ms pass.
template <typename F> bool WaitFor(F cond, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start > ms) return false;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(20);
  }
}
std::string ReadWholeFile(const std::string& path);
std::string TempFilePath(const char* name);

}  // namespace testsupport

// Helpers shared by the Windows tests: paths of the built programs, the
// Windows family under test, clean product keys, files, child processes
// and bounded waits.
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
// "nt" or "win98": the family this run tests (TOVREL_FAMILY, else the
// platform). Both families run at once and share the bin folder, so files
// placed there carry it in their names.
const char* Family();
// True under Wine (Wine differences are marked with it, never worked around).
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
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// Deletes a folder with everything in it.
void RemoveFolderTree(const std::string& folder);
std::string TempFilePath(const char* name);
// Saves a shell link at `file` to `target` (with a description when one is
// given). The caller has initialised COM.
bool SaveShortcut(const std::string& file, const std::string& target, const std::string& description);

}  // namespace testsupport

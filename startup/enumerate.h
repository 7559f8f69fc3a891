// Reads every autostart location into the shared entry list, in a fixed
// order: the Run keys of three hives, the Startup folders, WIN.INI, the
// disabled store, the Winlogon values and the registry hooks. Also the
// folder walk with its per-file callback, shortcut resolution and the
// program/parameters split of a command line.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// What spBuildProc does with the items the folder walk hands it. Startup
// folders (1) add code-200 entries; the cookie (2) and hidden-file (7)
// scans bring their own handling.
enum WalkMode { kWalkStartup = 1, kWalkCookies = 2, kWalkHidden = 7 };
void SetWalkMode(int mode);
int CurrentWalkMode();

// Per-item callback of WalkFolder: full path, find data, the walk's value.
// Non-zero stops the walk.
typedef int (*WalkProc)(const char* path, const WIN32_FIND_DATAA* found, LPARAM value);
// Lists folder\*.*; directories whose name begins with "." are passed over;
// with depth > 0 a directory is walked (depth - 1) before it is handed to
// the callback itself. Files and directories alike go to the callback; the
// first non-zero result ends the whole walk. Items whose full path does not
// fit 260 characters are passed over. Returns 0.
int WalkFolder(const char* folder, WalkProc callback, int depth, LPARAM value);
// The callback of every folder walk, acting by the current walk mode.
int spBuildProc(const char* path, const WIN32_FIND_DATAA* found, LPARAM value);

// ResolveShortcut's result when the link's target is gone or is no file
// (S_FALSE from the shell).
constexpr HRESULT kShortcutNotFound = S_FALSE;
// Loads a shell link file and resolves it without user interface (500 ms at
// most). A failing step returns its error with both outputs empty; a
// target that is gone returns kShortcutNotFound; otherwise target receives
// the link's file target in short form, description its description, and
// the result is that of the path query. COM must be initialised on the
// calling thread.
HRESULT ResolveShortcut(const char* shortcut, char* target, size_t targetCap, char* description,
                        size_t descriptionCap);
template <size_t A, size_t B>
HRESULT ResolveShortcut(const char* shortcut, char (&target)[A], char (&description)[B]) {
  return ResolveShortcut(shortcut, target, A, description, B);
}

// Program and parameters of a command line (SplitCommandText with this
// machine's Windows folder); the program in its long form, in the file's
// own case when it exists. Returns the number of characters consumed.
size_t SplitCommand(const char* command, char* program, size_t programCap, char* parameters,
                    size_t parametersCap);
template <size_t A, size_t B>
size_t SplitCommand(const char* command, char (&program)[A], char (&parameters)[B]) {
  return SplitCommand(command, program, A, parameters, B);
}

// Clears the entry list and reads every location. flag 1: for the Startup
// Programs page, the Winlogon values and registry hooks only when
// ShowAllStartup is on; flag 0: everything. The Winlogon values are read
// on the NT family only. Returns the number of entries.
int BuildStartupList(int flag);

// One location family each, appending to the entry list.
void BuildRun();              // codes 1-5, 11-15, 21-25
void GetStartupGroup();       // code 200, the Startup and Common Startup folders
void GetWinPrograms();        // codes 101 then 100
void GetDisabledPrograms();   // the disabled store and the "Disabled" folder
void GetWinLogon_Userinit();  // code 250
void GetWinLogon_Shell();     // code 251
void BuildRegInfo();          // codes 252-256

}  // namespace tov

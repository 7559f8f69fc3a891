// Changes to the autostart locations: disabling an entry (moving it into the
// disabled store, where the program still lists it), enabling it again,
// removing it, resetting the Winlogon values to the Windows defaults and
// putting a removed entry back. Every operation takes the entry's fields as
// the page read them: title, path (the command), source, location code.
//
// A Run-key entry (codes 1-5, 11-15) keeps, beside the described disabled
// store, the exact value it had in its Run key (bytes and registry type,
// under kOriginalRunValuesKey), so that enabling it, or restoring it after
// a removal, writes back exactly what was there.
#pragma once
#include <windows.h>

#include <cstddef>

#include "core/registry.h"  // kWinIniListCapacity

namespace tov {

// Longest texts the changes accept (terminator included); longer input is
// refused and changes nothing.
constexpr size_t kChangeTitleCapacity = 128;
constexpr size_t kChangeCommandCapacity = 260;
constexpr size_t kChangeSourceCapacity = 260;
// The disabled index is read with this many characters.
constexpr size_t kIndexReadCapacity = 257;
// AppInit_Dlls is read with 255 characters; a longer list is left alone.
constexpr size_t kAppInitCapacity = 256;

// What a change came to.
enum ChangeResult {
  kChangeFailed = 0,          // nothing changed (not handled, no rights, nothing matched)
  kChangeDone = 1,            // the change was made
  kChangeTitleTaken = 2,      // another entry of that title is disabled: nothing changed
  kChangeAlreadyPresent = 3,  // the entry (or a value of its name) is there already
};

// True when the disabled index holds a non-empty value named title.
bool IsTitleDisabled(const char* title);

// True when two commands stand for the same program and parameters: the
// RunDLL32 head and quotes dropped, environment strings expanded, the
// program compared in its long-path form and the parameters without the
// blanks around them, all ignoring case.
bool SameStartupCommand(const char* a, const char* b);

// A toggle: enables the entry when it is the one the disabled store holds
// for its title (DisabledCodeOf), disables it otherwise. Codes 1-5, 11-15,
// 100, 101, 200 and 256; other codes change nothing. A ChangeResult:
// kChangeTitleTaken when another entry of the same title is disabled (the
// store holds one entry per title, so neither is touched).
int DisableRunProgram(const char* title, const char* command, const char* source, int code);

// Removes the entry from its location (or its copy from the disabled store),
// writes a "*START_Remove" history line unless command contains "Tovrel",
// and deletes the known-list values command and title. Codes 250-255 go to
// DeleteRegProgram with the main window. 1 when handled, 0 for other codes
// and refused input.
int DeleteRunProgram(const char* title, const char* command, const char* source, int code);

// Codes 250 and 251 reset Winlogon "Userinit" and "Shell" without asking;
// 252-255 are removed only after the default-condition warning was
// answered with its box ticked. 1 when something was changed, 0 otherwise
// (other codes, declined warning).
int DeleteRegProgram(HWND owner, const char* title, const char* command, const char* source,
                     int code);

// Puts a removed entry back into its location and records command in the
// known list. A ChangeResult: kChangeDone when written; kChangeAlreadyPresent
// (nothing written) when the location holds the entry, or a value of its
// name, already; kChangeFailed for codes without a location to write.
// A Startup-folder program file that Remove kept in the "Removed" folder
// (named by source) is moved back to its path; a shortcut is written again.
int RestoreRunProgram(const char* title, const char* command, const char* source, int code);

// Adds a program to the current user's Run key under name, its path quoted
// when it holds a blank, and records it in the known list. An existing
// value of that name is replaced only with replace; otherwise the result is
// kChangeAlreadyPresent and nothing is written.
int AddUserRunProgram(const char* name, const char* path, bool replace);

// Writes a shell link: path, description, icon, working folder and
// arguments in that order, saved to shortcutFile. The result of the save
// (or of the step that failed).
HRESULT CreateShortcut(const char* shortcutFile, const char* target, const char* arguments,
                       const char* workingFolder, const char* description, const char* iconFile,
                       int iconIndex);

// Registers the two write-backs below with the history log, a toggle only while the entry is
// still in the state its event left it in.
void RegisterStartupRestoreHandlers();

// Write-back of the startup changes used by the Restore of the History
// window: put a removed entry back in the location of its code, and toggle
// the disabled state of an entry. A RestoreOutcome (core/history.h).
int RestoreStartupEntry(const char* title, const char* command, const char* source, int code);
int ToggleStartupEntry(const char* title, const char* command, const char* source, int code);

}  // namespace tov

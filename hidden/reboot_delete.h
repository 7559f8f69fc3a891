// Files deleted when Windows restarts, before it is fully loaded.
#pragma once
#include <windows.h>

namespace tov {

// Asks Windows to delete the file at the next restart: on the NT family
// through the pending file operations, on the 9x family with a "NUL=" line
// in the [rename] section of wininit.ini (every byte already there kept).
// The file loses its read-only, hidden and system attributes so the
// deletion cannot be refused. Only an existing file is accepted (a command
// line or a folder is refused). True when the request was made; false with
// the attributes unchanged otherwise, error (when given) receiving the
// system's error code.
bool DeleteFileOnReboot(const char* path, DWORD* error = nullptr);

// Tells the user that the file could not be deleted or moved: the path and
// the system's description of the error, in a stop box with the program
// caption.
void ShowFileFailure(HWND owner, const char* path, DWORD error);

// The entry menu's Delete File on Reboot for the selected entry of a page's
// list: asks first, then asks Windows to delete the entry's program file
// and tells the user when that failed.
void DeleteSelectedFileOnReboot(HWND page);

}  // namespace tov

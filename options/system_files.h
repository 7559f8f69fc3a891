// The plain files that change how Windows starts or resolves names (HOSTS,
// Autoexec.bat, Config.sys): their baseline with copies in the data folder,
// which the resident monitor compares against, and viewing HOSTS.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// HKLM key of the baseline: default value the date it was made, one
// sub-key per file.
extern const char kSysfilesKey[];

// The HOSTS file: "<System>\drivers\etc\HOSTS" on the NT family,
// "<Windows>\HOSTS" on Windows 9x. False when it does not fit cap.
bool HostsPath(char* out, size_t cap);
template <size_t N> bool HostsPath(char (&out)[N]) { return HostsPath(out, N); }

// Creates the sub-key name of the baseline; when the file exists, writes
// its "Date", "Size", "Type", "Location" (and "Comment" under the same key
// of HKEY_CURRENT_USER when not empty) and copies the file into the data
// folder as name, replacing an older copy even when that one is read-only.
// True when the copy was made.
bool RecordSystemFile(const char* name, const char* path, const char* comment, int type);

// Records HOSTS, C:\autoexec.bat and C:\Config.sys once: does nothing when
// the baseline's date is there.
void MakeSystemFileBaseline();

// Opens HOSTS in Notepad, or tells the user (string 736) that there is
// none. True when Notepad was started.
bool ViewHostsFile(HWND owner);

}  // namespace tov

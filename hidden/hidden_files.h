// The hidden files of the system folders: the scan that lists them, their
// last-write dates, unhiding, and the baseline of known hidden files that
// the resident monitor compares against.
#pragma once
#include <windows.h>

#include <cstddef>

#include "hidden/hidden_rules.h"

namespace tov {

// HKCU key of the known hidden files: default value "P" once the baseline
// exists, one value per file named by its full path.
extern const char kHiddenBaselineKey[];

// Clears the entry list and lists every hidden file (not folder) of C:\,
// the Windows folder, the System folder and its sub-folders, the common
// files folder and its sub-folders, and the temporary folder and its
// sub-folders: title its ProductName, path and source its full path, code
// 370, flag 1 when it is a system file too. Returns the number of entries.
int ScanHiddenFiles();
// The folder walk's step for the scan above.
int AddHiddenItem(const char* path, const WIN32_FIND_DATAA* found);

// The file's last-write time (local, FormatDateTime) and its size in bytes.
// Returns the length of the date text; 0 with both texts empty when the
// file cannot be opened (another program holds it) or has no times.
size_t LastWrittenText(const char* file, char* date, size_t dateCap, char* size, size_t sizeCap);

// Clears the hidden, system and read-only attributes. False when the file's
// attributes could not be changed.
bool UnhideFile(const char* path);

// Writes the baseline of known hidden files once per profile (and the known
// startup lists with it); does nothing when it exists.
void InitHiddenBaseline();

}  // namespace tov

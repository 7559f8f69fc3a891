// Paths and files of the running system: program and data folders, file
// tests and small file operations.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// Folder of the running program's file; 0 and empty text on failure or when
// it is longer than 260 characters.
size_t ProgramFolder(char* out, size_t cap);
template <size_t N> size_t ProgramFolder(char (&out)[N]) { return ProgramFolder(out, N); }
// "<AppData>\Tovrel" (created with its "vault" sub-folder), or the program
// folder when there is no AppData or the vault cannot be made. Non-zero
// when a folder was found.
int DataFolder(char* out, size_t cap);
template <size_t N> int DataFolder(char (&out)[N]) { return DataFolder(out, N); }

}  // namespace tov

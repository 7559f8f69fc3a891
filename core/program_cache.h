// The version strings of program files as the lists showed them: each
// distinct program is read once per list fill, and the information window
// and the reports ask here before reading a file again. Used on the user
// interface's thread only.
#pragma once
#include "core/version.h"

namespace tov {

// Forgets every program (a new fill reads them again).
void ClearProgramCache();
// Keeps the strings read for a program path (compared without case); a
// full cache keeps nothing more.
void StoreVersionStrings(const char* program, const VersionStrings& strings);
// True, with out filled, when the cache holds the program.
bool CachedVersionStrings(const char* program, VersionStrings* out);
// The strings of a program from the cache, else read from the file (and
// kept); returns what ReadVersionStrings returns: ProductName is non-empty.
bool ProgramVersionStrings(const char* program, VersionStrings* out);

}  // namespace tov

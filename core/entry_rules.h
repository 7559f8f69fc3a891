// The text rules of AddEntry that need nothing from the system: which
// entries are refused for over-long fields, and the title derived from a
// path when an entry has none. No Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// Longest texts AddEntry accepts (characters); one more refuses the entry.
constexpr size_t kEntryTitleLimit = 128;
constexpr size_t kEntryPathLimit = 260;
constexpr size_t kEntrySourceLimit = 260;
constexpr size_t kEntryExtraLimit = 1024;

// True when no field is longer than its limit (a null text counts as empty).
bool EntryFieldsFit(const char* title, const char* path, const char* source, const char* extra);

// The title of an entry that has none: the file-name part of path (after
// its last backslash) without its last four characters (the extension and
// its dot). A name of four characters or fewer is kept whole, so a short
// name never turns into an empty title; a path ending in a backslash gives
// an empty title.
void TitleFromPath(const char* path, char* out, size_t cap);

}  // namespace tov

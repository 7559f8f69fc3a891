// The one shared list of items that every page fills: fixed-slot records
// added through AddEntry and addressed by index. Each record is allocated on
// its own when added and freed when the list is cleared.
#pragma once
#include <cstddef>

namespace tov {

constexpr int kMaxEntries = 4096;
constexpr size_t kEntryTitleSlot = 128;
constexpr size_t kEntryPathSlot = 260;
constexpr size_t kEntrySourceSlot = 260;
constexpr size_t kEntryExtraSlot = 1024;
constexpr size_t kLocationTextCapacity = 512;
constexpr size_t kDisabledIndexCapacity = 32;  // room for a disabled-index value

struct Entry {
  char title[kEntryTitleSlot];
  char path[kEntryPathSlot];
  char source[kEntrySourceSlot];
  int code;
  int flag;
  char extra[kEntryExtraSlot];
};

// Adds an entry by the list's rules; 1 when added, 0 when refused (list full,
// MaxCookie cookies reached for code 500, a field over its limit, no memory).
// Null texts count as empty. The path loses its double quotes and is stored
// in its long-path form; an empty title comes from the path's file name; a
// title containing "Tovrel" is stored as the program caption.
int AddEntry(const char* title, const char* path, const char* source, const char* extra, int code,
             int flag);
// The same, and when the title is replaced by the program caption the
// caller's buffer receives the caption too (cut to fit its capacity).
int AddEntryUpdatingTitle(char* title, size_t titleCap, const char* path, const char* source,
                          const char* extra, int code, int flag);
// A caller passing its own title array gets the caption written back.
template <size_t N>
int AddEntry(char (&title)[N], const char* path, const char* source, const char* extra, int code,
             int flag) {
  return AddEntryUpdatingTitle(title, N, path, source, extra, code, flag);
}

int EntryCount();
// Frees every record; the list is empty afterwards.
void ClearEntries();

// Accessors by index; out-of-range indexes give nullptr, empty text and 0.
// The text readers copy into the caller's buffer (cut to cap) and return the
// copied length.
const Entry* EntryAt(int index);
size_t EntryTitle(int index, char* out, size_t cap);
size_t EntryPath(int index, char* out, size_t cap);
size_t EntrySource(int index, char* out, size_t cap);
size_t EntryExtra(int index, char* out, size_t cap);
int EntryCode(int index);
int EntryFlag(int index);

// The code the disabled index (HKLM "Software\Brenvik\Tovrel\Disabled")
// keeps for a title; 0 when absent or not a number.
int DisabledIndexCodeOf(const char* title);
// The location code when this entry is the one the disabled store holds for
// its title, else 0. The index names one entry per title, so another entry
// of the same title (another Run key, a Startup-folder file) is not
// disabled by it: the index code must be the entry's own code, and the
// stored command its command (for the Startup folder: its file lies in the
// program's "Disabled" folder).
int DisabledCodeOf(const char* title, const char* path, const char* source, int code);
// DisabledCodeOf for the entry at index; 0 when the index is out of range.
int IsEntryDisabled(int index);

// The text naming the entry's location to the user (at most 511 characters),
// with " *    Disabled * " before it when the entry is disabled. Returns its
// length; 0 and empty text for codes without a location text.
size_t LocationText(int index, char* out, size_t cap);
template <size_t N> size_t LocationText(int index, char (&out)[N]) {
  return LocationText(index, out, N);
}

}  // namespace tov

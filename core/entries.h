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
// The text naming an entry's location to the user (511 characters).
constexpr size_t kLocationTextCapacity = 512;

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

// The path as the list stores it: without double quotes, in its long-path
// form when it has at least four characters (a command line with arguments
// is not converted and stays as it is). True when the conversion was tried.
bool EntryPathOf(const char* path, char (&out)[kEntryPathSlot]);

}  // namespace tov

// Registry access used by every part of the program. Failures are silent:
// readers give empty text, writers return false, and a trace point is passed.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

constexpr size_t kRegQueryBytes = 1024;   // values longer than this are not read
constexpr size_t kRegTreePathCapacity = 520;
constexpr size_t kSubKeyNameCapacity = 260;

// Reads a text value (REG_SZ, or REG_EXPAND_SZ with environment references
// expanded). Returns its length, or 0 with empty text when the key or value
// is missing, the value is longer than 1023 characters, or it does not fit
// cap (a value of exactly cap - 1 characters fits).
size_t GetRegString(HKEY root, const char* key, const char* name, char* out, size_t cap);
// The text GetRegString gives for a value read as type and size bytes into
// data (kRegQueryBytes + 1 bytes, terminated here).
size_t RegTextOf(DWORD type, char* data, DWORD size, char* out, size_t cap);
template <size_t N>
size_t GetRegString(HKEY root, const char* key, const char* name, char (&out)[N]) {
  return GetRegString(root, key, name, out, N);
}
bool SetRegString(HKEY root, const char* key, const char* name, const char* text);
bool SetRegDword(HKEY root, const char* key, const char* name, DWORD number);
bool DeleteRegValue(HKEY root, const char* key, const char* name);
bool CreateRegKey(HKEY root, const char* key);
// Deletes key with all its sub-keys; true also when it did not exist.
bool DeleteRegTree(HKEY root, const char* key);
bool RegKeyExists(HKEY root, const char* key);
// True when the value exists, whatever its type and length.
bool RegValueExists(HKEY root, const char* key, const char* name);

// WIN.INI [windows] program lists (";"-separated) are read and written with
// this capacity; a list that fills it may have been cut and is left as it
// is, so no program past the cut is lost. A read-only win.ini is made
// writable for the edit.
constexpr size_t kWinIniListCapacity = 1024;
// Takes item out of the list of keyName; true when the list was written.
bool RemoveWinIniItem(const char* keyName, const char* item);
// Takes the items for which match answers true out of the list of keyName.
// True only when one matched and the list was written; a list without such
// an item is left as it is.
bool RemoveWinIniItemMatching(const char* keyName, bool (*match)(const char* piece, void* context),
                              void* context);
// True when an item of the list of keyName matches.
bool WinIniListHolds(const char* keyName, bool (*match)(const char* piece, void* context),
                     void* context);
// Appends ";" and item; refused when the result would not fit. True when
// the list was written.
bool AppendWinIniItem(const char* keyName, const char* item);

}  // namespace tov

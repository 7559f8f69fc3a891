#include "core/registry.h"

#include <cstring>

#include "core/owned.h"
#include "core/text.h"
#include "core/trace.h"

namespace tov {

size_t RegTextOf(DWORD type, char* data, DWORD size, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return 0;
  data[size < kRegQueryBytes ? size : kRegQueryBytes] = 0;
  char expanded[kRegQueryBytes];
  expanded[0] = 0;
  const char* text = data;
  if (type == REG_EXPAND_SZ) {
    DWORD need = ExpandEnvironmentStringsA(data, expanded, sizeof expanded);
    if (need == 0) {
      CopyText(expanded, data);
    } else if (need > sizeof expanded) {
      Trace(data, "Registry Error #1023: String can not be expanded");
      expanded[sizeof expanded - 1] = 0;
    }
    text = expanded;
  }
  size_t len = strlen(text);
  if (len + 1 > cap) {
    Trace(text, "Registry Error #1024: Buffer overflow contained");
    return 0;
  }
  memcpy(out, text, len + 1);
  return len;
}

size_t GetRegString(HKEY root, const char* key, const char* name, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  RegKey k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, k.put()) != ERROR_SUCCESS) return 0;
  // One byte more than the query size so a stored value without its own
  // terminator is still terminated.
  char data[kRegQueryBytes + 1];
  DWORD type = 0, size = kRegQueryBytes;
  if (RegQueryValueExA(k.get(), name, nullptr, &type, (BYTE*)data, &size) != ERROR_SUCCESS) return 0;
  return RegTextOf(type, data, size, out, cap);
}

static bool OpenForWrite(HKEY root, const char* key, REGSAM access, RegKey& k, bool traceText) {
  if (RegOpenKeyExA(root, key, 0, access, k.put()) == ERROR_SUCCESS) return true;
  if (traceText) Trace("ERROR RegOpenKeyEx:SetRegValue", key);
  if (!CreateRegKey(root, key)) return false;
  return RegOpenKeyExA(root, key, 0, access, k.put()) == ERROR_SUCCESS;
}

bool SetRegString(HKEY root, const char* key, const char* name, const char* text) {
  RegKey k;
  if (!OpenForWrite(root, key, KEY_ALL_ACCESS, k, true)) return false;
  return RegSetValueExA(k.get(), name, 0, REG_SZ, (const BYTE*)text, DWORD(strlen(text) + 1)) ==
         ERROR_SUCCESS;
}

bool SetRegDword(HKEY root, const char* key, const char* name, DWORD number) {
  RegKey k;
  if (!OpenForWrite(root, key, KEY_WRITE, k, false)) return false;
  return RegSetValueExA(k.get(), name, 0, REG_DWORD, (const BYTE*)&number, sizeof number) ==
         ERROR_SUCCESS;
}

bool DeleteRegValue(HKEY root, const char* key, const char* name) {
  RegKey k;
  if (RegOpenKeyExA(root, key, 0, KEY_WRITE, k.put()) != ERROR_SUCCESS) return false;
  if (RegDeleteValueA(k.get(), name) == ERROR_SUCCESS) return true;
  Trace("ERROR RegDeleteValue", name ? name : "");
  return false;
}

bool CreateRegKey(HKEY root, const char* key) {
  RegKey k;
  if (RegCreateKeyExA(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      k.put(), nullptr) == ERROR_SUCCESS)
    return true;
  Trace("ERROR RegCreateKey", key);
  return false;
}

bool RegKeyExists(HKEY root, const char* key) {
  RegKey k;
  return RegOpenKeyExA(root, key, 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

bool RegValueExists(HKEY root, const char* key, const char* name) {
  RegKey k;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool DeleteRegTree(HKEY root, const char* key) {
  char path[kRegTreePathCapacity];
  if (!CopyText(path, key)) return false;  // a cut path would name another key
  if (RegDeleteKeyA(root, path) == ERROR_SUCCESS) return true;
  RegKey k;
  LONG rc = RegOpenKeyExA(root, path, 0, KEY_READ, k.put());
  if (rc != ERROR_SUCCESS) return rc == ERROR_FILE_NOT_FOUND;
  size_t base = strlen(path);
  if (!AppendText(path, "\\")) return false;
  for (;;) {
    char sub[kSubKeyNameCapacity];
    DWORD len = sizeof sub;
    if (RegEnumKeyExA(k.get(), 0, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    path[base + 1] = 0;
    if (!AppendText(path, sub)) break;
    if (!DeleteRegTree(root, path)) break;
  }
  path[base] = 0;
  k.reset();
  return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

static void ClearReadOnlyWinIni() {
  char path[kPathCapacity];
  UINT n = GetWindowsDirectoryA(path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  if (!AppendBackslash(path) || !AppendText(path, "win.ini")) return;
  DWORD attrs = GetFileAttributesA(path);
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path, attrs & ~FILE_ATTRIBUTE_READONLY);
}

// A list that fills the whole read buffer may have been cut; writing it
// back would drop the programs past the cut, so it is left alone.
static bool ReadWinIniList(const char* keyName, char* list, DWORD cap) {
  DWORD n = GetProfileStringA("windows", keyName, "", list, cap);
  return n + 1 < cap;
}

bool RemoveWinIniItem(const char* keyName, const char* item) {
  char list[kWinIniListCapacity];
  if (!ReadWinIniList(keyName, list, sizeof list)) return false;
  char rebuilt[kWinIniListCapacity];
  if (!RemoveListItem(list, item, rebuilt, sizeof rebuilt)) return false;
  ClearReadOnlyWinIni();
  return WriteProfileStringA("windows", keyName, rebuilt) != 0;
}

bool RemoveWinIniItemMatching(const char* keyName, bool (*match)(const char* piece, void* context),
                              void* context) {
  char list[kWinIniListCapacity];
  if (!ReadWinIniList(keyName, list, sizeof list)) return false;
  char rebuilt[kWinIniListCapacity];
  bool matched = false;
  if (!RemoveListItemMatching(list, match, context, rebuilt, sizeof rebuilt, &matched) || !matched)
    return false;
  ClearReadOnlyWinIni();
  return WriteProfileStringA("windows", keyName, rebuilt) != 0;
}

bool WinIniListHolds(const char* keyName, bool (*match)(const char* piece, void* context),
                     void* context) {
  char list[kWinIniListCapacity];
  ReadWinIniList(keyName, list, sizeof list);
  char rebuilt[kWinIniListCapacity];
  bool matched = false;
  RemoveListItemMatching(list, match, context, rebuilt, sizeof rebuilt, &matched);
  return matched;
}

bool AppendWinIniItem(const char* keyName, const char* item) {
  char list[kWinIniListCapacity];
  if (!ReadWinIniList(keyName, list, sizeof list)) return false;
  // Refuse rather than write a cut program path into the list.
  if (!AppendText(list, ";") || !AppendText(list, item)) return false;
  ClearReadOnlyWinIni();
  return WriteProfileStringA("windows", keyName, list) != 0;
}

}  // namespace tov

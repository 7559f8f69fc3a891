#include "startup/changes.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/history.h"
#include "core/history_names.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/trace.h"
#include "startup/baseline_rules.h"
#include "startup/catalogue.h"
#include "startup/change_rules.h"
#include "startup/default_warning.h"
#include "ui/history_rules.h"

namespace tov {

namespace {

constexpr char kWinIniSection[] = "windows";
constexpr char kWinlogonShell[] = "Shell";
constexpr char kWinlogonUserinit[] = "Userinit";
constexpr char kDefaultShell[] = "Explorer.exe";
constexpr char kUserinitDefaultFile[] = "\\Userinit.exe,";
constexpr char kNotifyDllName[] = "DLLName";
constexpr char kNotifyOldName[] = "OldName";
constexpr char kOwnProgramWord[] = "Tovrel";
constexpr size_t kCodeTextCapacity = 16;
constexpr size_t kKeyPathCapacity = 512;

// The entry's fields, each checked against its capacity: a text that would
// be cut names another value, file or key and is refused.
struct Fields {
  char title[kChangeTitleCapacity];
  char command[kChangeCommandCapacity];
  char source[kChangeSourceCapacity];
};

bool TakeFields(const char* title, const char* command, const char* source, Fields* out) {
  if (!CopyText(out->title, title ? title : "") || !CopyText(out->command, command ? command : "") ||
      !CopyText(out->source, source ? source : "")) {
    Trace("Startup change refused", "over-long entry text");
    return false;
  }
  // Every location names its entries; an empty title would address the
  // default value of a key.
  return out->title[0] != 0;
}

// ---------------------------------------------------------------------------
// Registry values kept byte for byte.

enum class ValueState { kMissing, kPresent, kTooLong, kUnreadable };

struct RawValue {
  DWORD type = REG_NONE;
  DWORD size = 0;
  BYTE data[kOriginalValueLimit + 2];  // two more bytes terminate the text of a value
};

ValueState ReadRawValue(HKEY root, const char* key, const char* name, RawValue* out) {
  RegKey k;
  LONG rc = RegOpenKeyExA(root, key, 0, KEY_READ, k.put());
  if (rc == ERROR_FILE_NOT_FOUND) return ValueState::kMissing;
  if (rc != ERROR_SUCCESS) return ValueState::kUnreadable;
  out->size = kOriginalValueLimit;
  rc = RegQueryValueExA(k.get(), name, nullptr, &out->type, out->data, &out->size);
  if (rc == ERROR_FILE_NOT_FOUND) return ValueState::kMissing;
  if (rc == ERROR_MORE_DATA) return ValueState::kTooLong;
  if (rc != ERROR_SUCCESS || out->size > kOriginalValueLimit) return ValueState::kUnreadable;
  out->data[out->size] = 0;
  out->data[out->size + 1] = 0;
  return ValueState::kPresent;
}

bool WriteRawValue(HKEY root, const char* key, const char* name, const RawValue& value) {
  RegKey k;
  if (RegCreateKeyExA(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                      k.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(k.get(), name, 0, value.type, value.data, value.size) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const char* key, const char* name) {
  RegKey k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, k.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The text of a string value, or null for other types.
const char* RawText(const RawValue& value) {
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return nullptr;
  return reinterpret_cast<const char*>(value.data);
}

// A kept Run value belongs to command when the enumeration would list it
// with that path, before or after the long-path conversion of the entry.
bool KeptValueMatches(const RawValue& value, const char* command) {
  const char* text = RawText(value);
  if (text == nullptr) return false;
  if (OriginalMatchesCommand(text, command)) return true;
  char path[kPathCapacity];
  if (!OriginalAsEntryPath(text, path, sizeof path) || path[0] == 0) return false;
  LongPathName(path, path);
  return EqualsNoCase(path, command);
}

// ---------------------------------------------------------------------------
// The disabled index and the known list.

void WriteIndex(const char* title, int code) {
  char text[kCodeTextCapacity];
  snprintf(text, sizeof text, "%d", code);
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, text);
}

void DropFromDisabledStore(const char* title, int code) {
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, title);
  const char* storeKey = DisabledStoreKeyOf(code);
  if (storeKey) DeleteRegValue(HKEY_LOCAL_MACHINE, storeKey, title);
}

void RecordKnown(const char* command, int code) {
  char text[kCodeTextCapacity];
  snprintf(text, sizeof text, "%d", code);
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, command, text);
}

// ---------------------------------------------------------------------------
// Run keys (codes 1-5 under HKEY_LOCAL_MACHINE, 11-15 under HKEY_CURRENT_USER).

bool IsRunCode(int code) {
  return (code >= kCodeMachineRun && code <= kCodeMachineRunServicesOnce) ||
         (code >= kCodeUserRun && code <= kCodeUserRunServicesOnce);
}

HKEY RunHiveOf(int code) {
  return code >= kCodeUserRun ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

struct RunPlace {
  HKEY hive;
  const char* runKey;
  const char* storeKey;
  char originalKey[kOriginalKeyCapacity];
};

bool FindRunPlace(int code, RunPlace* out) {
  const LocationInfo* location = FindLocation(code);
  out->storeKey = DisabledStoreKeyOf(code);
  if (!IsRunCode(code) || location == nullptr || out->storeKey == nullptr) return false;
  out->hive = RunHiveOf(code);
  out->runKey = location->key;
  return OriginalValuesKeyOf(code, out->originalKey);
}

// The exact value goes beside the disabled store before the Run value is
// deleted, so a failed write leaves the entry where it was.
int DisableRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return 0;
  RawValue original;
  ValueState state = ReadRawValue(place.hive, place.runKey, f.title, &original);
  if (state == ValueState::kTooLong || state == ValueState::kUnreadable) {
    Trace("DisableRunProgram", "Run value not kept: left in its Run key");
    return 0;
  }
  if (!SetRegString(HKEY_LOCAL_MACHINE, place.storeKey, f.title, f.command)) return 0;
  if (state == ValueState::kPresent) {
    if (!WriteRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, original)) {
      DeleteRegValue(HKEY_LOCAL_MACHINE, place.storeKey, f.title);
      return 0;
    }
  } else {
    DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);  // a stale copy
  }
  WriteIndex(f.title, code);
  DeleteRegValue(place.hive, place.runKey, f.title);
  return 1;
}

// A value written into the Run key again while the entry was disabled is the
// newer one and stays as it is (the enumeration then disables it again, so it
// becomes the kept value); otherwise the kept value goes back exactly, or the
// stored command when nothing was kept.
int EnableRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return 0;
  if (!ValueExists(place.hive, place.runKey, f.title)) {
    RawValue kept;
    bool written = ReadRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, &kept) ==
                           ValueState::kPresent
                       ? WriteRawValue(place.hive, place.runKey, f.title, kept)
                       : SetRegString(place.hive, place.runKey, f.title, f.command);
    if (!written) return 0;
  }
  DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
  DropFromDisabledStore(f.title, code);
  return 1;
}

// The removed value is kept byte for byte so that Restore writes it back.
int RemoveRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return 0;
  if (IsTitleDisabled(f.title)) {
    DropFromDisabledStore(f.title, code);  // its kept value stays for Restore
    return 1;
  }
  RawValue original;
  if (ReadRawValue(place.hive, place.runKey, f.title, &original) == ValueState::kPresent)
    WriteRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, original);
  else
    DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
  DeleteRegValue(place.hive, place.runKey, f.title);
  return 1;
}

int RestoreRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return 0;
  RawValue kept;
  bool exact = ReadRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, &kept) ==
                   ValueState::kPresent &&
               KeptValueMatches(kept, f.command);
  bool written = exact ? WriteRawValue(place.hive, place.runKey, f.title, kept)
                       : SetRegString(place.hive, place.runKey, f.title, f.command);
  if (!written) return 0;
  if (exact) DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
  return 1;
}

// ---------------------------------------------------------------------------
// WIN.INI [windows] "load" and "run". A list that does not fit the buffer is
// never written back, so no program of it is lost by a cut.

const char* WinIniKeyOf(int code) { return code == kCodeWinLoad ? "load" : "run"; }

void ClearReadOnlyWinIni() {
  char path[kPathCapacity];
  UINT n = GetWindowsDirectoryA(path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  if (!AppendBackslash(path) || !AppendText(path, "win.ini")) return;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool ReadWinIniList(const char* keyName, char (&list)[kWinIniListCapacity]) {
  DWORD n = GetProfileStringA(kWinIniSection, keyName, "", list, sizeof list);
  return n + 1 < sizeof list;  // a full buffer may hold a cut list
}

bool TakeOutWinIniItem(const char* keyName, const char* item) {
  char list[kWinIniListCapacity];
  if (!ReadWinIniList(keyName, list)) return false;
  char rebuilt[kWinIniListCapacity];
  if (!RemoveListItem(list, item, rebuilt, sizeof rebuilt)) return false;
  ClearReadOnlyWinIni();
  return WriteProfileStringA(kWinIniSection, keyName, rebuilt) != 0;
}

bool AppendWinIniItemWhole(const char* keyName, const char* item) {
  char list[kWinIniListCapacity];
  if (!ReadWinIniList(keyName, list)) return false;
  if (!AppendText(list, ";") || !AppendText(list, item)) return false;
  ClearReadOnlyWinIni();
  return WriteProfileStringA(kWinIniSection, keyName, list) != 0;
}

int DisableWinIni(const Fields& f, int code) {
  const char* storeKey = DisabledStoreKeyOf(code);
  if (!SetRegString(HKEY_LOCAL_MACHINE, storeKey, f.title, f.command)) return 0;
  WriteIndex(f.title, code);
  if (TakeOutWinIniItem(WinIniKeyOf(code), f.command)) return 1;
  DropFromDisabledStore(f.title, code);
  return 0;
}

int EnableWinIni(const Fields& f, int code) {
  if (!AppendWinIniItemWhole(WinIniKeyOf(code), f.command)) return 0;
  DropFromDisabledStore(f.title, code);
  return 1;
}

// ---------------------------------------------------------------------------
// Startup folders and the program's "Disabled" folder.

bool DisabledFolder(char (&out)[kPathCapacity]) {
  return ProgramFolder(out) > 0 && AppendBackslash(out) && AppendText(out, kDisabledFolderName);
}

// folder + "\" + name; false when it does not fit.
bool JoinPath(const char* folder, const char* name, char (&out)[kPathCapacity]) {
  return CopyText(out, folder) && AppendBackslash(out) && AppendText(out, name);
}

// The file of a folder entry: its source, or its path when it has none.
const char* FolderEntryFile(const Fields& f) { return f.source[0] ? f.source : f.command; }

int DisableFolderEntry(const Fields& f) {
  char name[kPathCapacity];
  char folder[kPathCapacity];
  char target[kPathCapacity];
  if (FileNameOf(FolderEntryFile(f), name) == 0 || !DisabledFolder(folder)) return 0;
  CreateDirectoryA(folder, nullptr);
  if (!JoinPath(folder, name, target)) return 0;
  if (!MoveFileA(FolderEntryFile(f), target)) {
    Trace("DisableRunProgram", "startup file not moved");
    return 0;
  }
  WriteIndex(f.title, kCodeStartupFolder);
  return 1;
}

// The current user's Startup folder, else the machine's, else the common one.
bool EnableTargetFolder(char (&out)[kPathCapacity]) {
  if (GetRegString(HKEY_CURRENT_USER, kShellFoldersKey, "Startup", out) > 0) return true;
  if (GetRegString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Startup", out) > 0) return true;
  return GetRegString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Startup", out) > 0;
}

int EnableFolderEntry(const Fields& f) {
  char name[kPathCapacity];
  char folder[kPathCapacity];
  char from[kPathCapacity];
  char to[kPathCapacity];
  if (FileNameOf(FolderEntryFile(f), name) == 0 || !DisabledFolder(folder) ||
      !JoinPath(folder, name, from))
    return 0;
  if (!EnableTargetFolder(folder) || !JoinPath(folder, name, to)) return 0;
  if (!MoveFileA(from, to)) {
    Trace("DisableRunProgram", "startup file not moved back");
    return 0;
  }
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, f.title);
  return 1;
}

// Deletes the file lying in a Startup (or the "Disabled") folder: the
// source when the entry has one, otherwise its path. A shortcut entry whose
// shortcut is already gone does not fall back to its path, which is the
// shortcut's target program.
void DeleteFolderEntryFile(const Fields& f) {
  char file[kPathCapacity];
  CopyText(file, FolderEntryFile(f));
  if (FileExists(file)) DeleteFileA(file);
}

// ---------------------------------------------------------------------------
// Winlogon Notify DLLs (code 256).

bool NotifyKeyOf(const char* title, char (&out)[kKeyPathCapacity]) {
  const LocationInfo* location = FindLocation(kCodeWinlogonNotify);
  if (location == nullptr || strchr(title, '\\') != nullptr) return false;
  return CopyText(out, location->key) && AppendText(out, "\\") && AppendText(out, title);
}

// DLLName := OldName (byte for byte) and OldName := empty. An empty or
// missing OldName gives the DLL named by command instead, so the Notify key
// is never left without its library.
bool PutNotifyDllBack(const char* notifyKey, const char* command) {
  RawValue old;
  const char* text = nullptr;
  if (ReadRawValue(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, &old) == ValueState::kPresent)
    text = RawText(old);
  bool written = text && text[0] ? WriteRawValue(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName, old)
                                 : SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName,
                                                command);
  if (!written) return false;
  SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, "");
  return true;
}

int DisableNotify(const Fields& f) {
  char notifyKey[kKeyPathCapacity];
  if (!NotifyKeyOf(f.title, notifyKey) || !RegKeyExists(HKEY_LOCAL_MACHINE, notifyKey)) return 0;
  RawValue dll;
  ValueState state = ReadRawValue(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName, &dll);
  if (state == ValueState::kTooLong || state == ValueState::kUnreadable) return 0;
  if (!SetRegString(HKEY_LOCAL_MACHINE, kDisabledWinNotifyKey, f.title, f.command)) return 0;
  WriteIndex(f.title, kCodeWinlogonNotify);
  RecordKnown(f.command, kCodeWinlogonNotify);
  bool kept = state == ValueState::kPresent
                  ? WriteRawValue(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, dll)
                  : SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, "");
  if (!kept) {
    DropFromDisabledStore(f.title, kCodeWinlogonNotify);
    return 0;
  }
  SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName, "");
  return 1;
}

int EnableNotify(const Fields& f) {
  char notifyKey[kKeyPathCapacity];
  if (!NotifyKeyOf(f.title, notifyKey) || !RegKeyExists(HKEY_LOCAL_MACHINE, notifyKey)) return 0;
  if (!PutNotifyDllBack(notifyKey, f.command)) return 0;
  DropFromDisabledStore(f.title, kCodeWinlogonNotify);
  return 1;
}

// ---------------------------------------------------------------------------
// AppInit_Dlls (code 255).

struct AppInitList {
  RawValue value;
  const char* text;  // the list; "" when the value is missing
};

// False when the value cannot be read or holds more than 255 characters:
// such a list is never rewritten.
bool ReadAppInitList(AppInitList* out) {
  const LocationInfo* location = FindLocation(kCodeAppInitDlls);
  if (location == nullptr) return false;
  out->text = "";
  ValueState state = ReadRawValue(HKEY_LOCAL_MACHINE, location->key, location->value, &out->value);
  if (state == ValueState::kMissing) {
    out->value.type = REG_SZ;
    return true;
  }
  if (state != ValueState::kPresent) return false;
  out->text = RawText(out->value);
  return out->text != nullptr && strlen(out->text) < kAppInitCapacity;
}

bool WriteAppInitList(const AppInitList& list, const char* text) {
  const LocationInfo* location = FindLocation(kCodeAppInitDlls);
  RawValue value;
  value.type = list.value.type;
  size_t length = strlen(text);
  memcpy(value.data, text, length + 1);
  value.size = DWORD(length + 1);
  return WriteRawValue(HKEY_LOCAL_MACHINE, location->key, location->value, value);
}

bool IsRemovedDll(const char* token, void* context) {
  const char* command = static_cast<const char*>(context);
  if (EqualsNoCase(token, command)) return true;
  char longPath[kPathCapacity];
  if (!CopyText(longPath, token)) return false;
  LongPathName(longPath, longPath);
  return EqualsNoCase(longPath, command);
}

bool RemoveAppInitDll(const char* command) {
  AppInitList list;
  if (!ReadAppInitList(&list)) return false;
  char rebuilt[kAppInitCapacity];
  if (!RemoveDllFromList(list.text, IsRemovedDll, const_cast<char*>(command), rebuilt,
                         sizeof rebuilt))
    return false;
  return WriteAppInitList(list, rebuilt);
}

bool AppendAppInitDll(const char* command) {
  AppInitList list;
  if (!ReadAppInitList(&list)) return false;
  char shortPath[kPathCapacity];
  DWORD n = GetShortPathNameA(command, shortPath, sizeof shortPath);
  if (n == 0 || n >= sizeof shortPath) CopyText(shortPath, command);
  char grown[kAppInitCapacity];
  if (!CopyText(grown, list.text)) return false;
  if (grown[0] != 0 && !AppendText(grown, ",")) return false;
  if (!AppendText(grown, shortPath)) return false;
  return WriteAppInitList(list, grown);
}

// ---------------------------------------------------------------------------
// Protected default conditions (codes 250-255).

int ResetUserinit(const Fields& f) {
  const LocationInfo* location = FindLocation(kCodeUserinit);
  char value[kPathCapacity];
  UINT n = GetSystemDirectoryA(value, sizeof value);
  if (n == 0 || n >= sizeof value || !AppendText(value, kUserinitDefaultFile)) return 0;
  if (!SetRegString(HKEY_LOCAL_MACHINE, location->key, kWinlogonUserinit, value)) return 0;
  SetRegString(HKEY_LOCAL_MACHINE, kMachineRunMarkerKey, value, "250");
  AddHistoryEvent(f.title, f.command, f.source, kCodeUserinit, kActionResetUserinit);
  return 1;
}

int ResetShell(const Fields& f) {
  const LocationInfo* location = FindLocation(kCodeShell);
  if (!SetRegString(HKEY_LOCAL_MACHINE, location->key, kWinlogonShell, kDefaultShell)) return 0;
  SetRegString(HKEY_LOCAL_MACHINE, kMachineRunMarkerKey, kDefaultShell, "251");
  AddHistoryEvent(f.title, f.command, f.source, kCodeShell, kActionResetShell);
  return 1;
}

int RemoveHookValue(const Fields& f, int code) {
  const LocationInfo* location = FindLocation(code);
  DeleteRegValue(HKEY_CURRENT_USER, kKnownRunKey, f.command);
  // The delay-load list is named by title; the other two by the CLSID.
  const char* name = code == kCodeDelayLoad ? f.title : f.source;
  if (!DeleteRegValue(HKEY_LOCAL_MACHINE, location->key, name)) return 0;
  int action = code == kCodeDelayLoad             ? kActionRemoveDelayLoad
               : code == kCodeSharedTaskScheduler ? kActionRemoveTaskScheduler
                                                  : kActionRemoveShellExecuteHook;
  AddHistoryEvent(f.title, f.command, f.source, code, action);
  return 1;
}

int RemoveAppInit(const Fields& f) {
  DeleteRegValue(HKEY_CURRENT_USER, kKnownRunKey, f.command);
  if (!RemoveAppInitDll(f.command)) {
    Trace("DeleteRegProgram", "AppInit_Dlls left as it is");
    return 0;
  }
  AddHistoryEvent(f.title, f.command, f.source, kCodeAppInitDlls, kActionStartRemove);
  return 1;
}

}  // namespace

bool IsTitleDisabled(const char* title) {
  if (title == nullptr || title[0] == 0) return false;
  char value[kIndexReadCapacity];
  return GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, value) > 0;
}

int DisableRunProgram(const char* title, const char* command, const char* source, int code) {
  Fields f;
  if (!TakeFields(title, command, source, &f)) return 0;
  bool enable = IsTitleDisabled(f.title);
  if (IsRunCode(code)) return enable ? EnableRun(f, code) : DisableRun(f, code);
  switch (code) {
    case kCodeWinLoad:
    case kCodeWinRun:
      return enable ? EnableWinIni(f, code) : DisableWinIni(f, code);
    case kCodeStartupFolder:
      return enable ? EnableFolderEntry(f) : DisableFolderEntry(f);
    case kCodeWinlogonNotify:
      return enable ? EnableNotify(f) : DisableNotify(f);
    default:
      return 0;
  }
}

int DeleteRunProgram(const char* title, const char* command, const char* source, int code) {
  if (code >= kCodeUserinit && code <= kCodeAppInitDlls)
    return DeleteRegProgram(MainWindow(), title, command, source, code);
  Fields f;
  if (!TakeFields(title, command, source, &f)) return 0;
  if (IsRunCode(code)) {
    if (!RemoveRun(f, code)) return 0;
  } else if (code == kCodeWinLoad || code == kCodeWinRun) {
    bool wasDisabled = IsTitleDisabled(f.title);
    if (wasDisabled) DropFromDisabledStore(f.title, code);
    if (!TakeOutWinIniItem(WinIniKeyOf(code), f.command) && !wasDisabled) return 0;
  } else if (code == kCodeStartupFolder) {
    if (IsTitleDisabled(f.title)) DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, f.title);
    DeleteFolderEntryFile(f);
  } else {
    return 0;
  }
  if (!ContainsText(f.command, kOwnProgramWord))
    AddHistoryEvent(f.title, f.command, f.source, code, kActionStartRemove);
  DeleteRegValue(HKEY_CURRENT_USER, kKnownRunKey, f.command);
  DeleteRegValue(HKEY_CURRENT_USER, kKnownRunKey, f.title);
  return 1;
}

int DeleteRegProgram(HWND owner, const char* title, const char* command, const char* source,
                     int code) {
  Fields f;
  if (!TakeFields(title, command, source, &f)) return 0;
  switch (code) {
    case kCodeUserinit:
      return ResetUserinit(f);
    case kCodeShell:
      return ResetShell(f);
    case kCodeDelayLoad:
    case kCodeSharedTaskScheduler:
    case kCodeShellExecuteHook:
      if (ShowDefaultWarning(owner, f.title, f.command) != IDYES) return 0;
      return RemoveHookValue(f, code);
    case kCodeAppInitDlls:
      if (ShowDefaultWarning(owner, f.title, f.command) != IDYES) return 0;
      return RemoveAppInit(f);
    default:
      return 0;
  }
}

int RestoreRunProgram(const char* title, const char* command, const char* source, int code) {
  Fields f;
  if (!TakeFields(title, command, source, &f)) return 0;
  bool written = false;
  if (IsRunCode(code)) {
    written = RestoreRun(f, code) != 0;
  } else {
    switch (code) {
      case kCodeWinLoad:
      case kCodeWinRun:
        written = AppendWinIniItemWhole(WinIniKeyOf(code), f.command);
        break;
      case kCodeStartupFolder: {
        char folder[kPathCapacity];
        FolderOfFile(f.command, folder);
        written = SUCCEEDED(
            CreateShortcut(f.source, f.command, "", folder, f.title, f.command, 0));
        break;
      }
      case kCodeDelayLoad:
        written = SetRegString(HKEY_LOCAL_MACHINE, FindLocation(code)->key, f.title, f.source);
        break;
      case kCodeSharedTaskScheduler:
      case kCodeShellExecuteHook:
        written = f.source[0] != 0 &&
                  SetRegString(HKEY_LOCAL_MACHINE, FindLocation(code)->key, f.source, f.title);
        break;
      case kCodeAppInitDlls:
        written = AppendAppInitDll(f.command);
        break;
      case kCodeWinlogonNotify: {
        char notifyKey[kKeyPathCapacity];
        written = NotifyKeyOf(f.title, notifyKey) && RegKeyExists(HKEY_LOCAL_MACHINE, notifyKey) &&
                  PutNotifyDllBack(notifyKey, f.command);
        break;
      }
      default:
        return 0;
    }
  }
  if (!written) return 0;
  RecordKnown(f.command, code);
  return 1;
}

HRESULT CreateShortcut(const char* shortcutFile, const char* target, const char* arguments,
                       const char* workingFolder, const char* description, const char* iconFile,
                       int iconIndex) {
  WCHAR wideFile[kPathCapacity];
  if (shortcutFile == nullptr || shortcutFile[0] == 0 ||
      MultiByteToWideChar(CP_ACP, 0, shortcutFile, -1, wideFile, kPathCapacity) == 0)
    return E_INVALIDARG;
  ComPtr<IShellLinkA> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.putVoid());
  if (FAILED(hr)) return hr;
  link->SetPath(target ? target : "");
  link->SetDescription(description ? description : "");
  link->SetIconLocation(iconFile ? iconFile : "", iconIndex);
  link->SetWorkingDirectory(workingFolder ? workingFolder : "");
  link->SetArguments(arguments ? arguments : "");
  ComPtr<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.putVoid());
  if (FAILED(hr)) return hr;
  return file->Save(wideFile, TRUE);
}

// Write-back used by the History window's Restore.
bool RestoreStartupEntry(const char* title, const char* command, const char* source, int code) {
  return RestoreRunProgram(title, command, source, code) == 1;
}

bool ToggleStartupEntry(const char* title, const char* command, const char* source, int code) {
  return DisableRunProgram(title, command, source, code) != 0;
}

namespace {

bool RestoreRemovedEvent(const Entry& e) {
  return RestoreStartupEntry(e.title, e.path, e.source, e.code);
}

bool ToggleEvent(const Entry& e) { return ToggleStartupEntry(e.title, e.path, e.source, e.code); }

// A disable or enable is turned back only while the entry is still in the
// state the event left it in; toggling otherwise would repeat the change.
bool ToggleStillReverses(const Entry& e) {
  return ToggleReversesEvent(e.flag, IsTitleDisabled(e.title));
}

}  // namespace

void RegisterStartupRestoreHandlers() {
  RegisterRestoreHandler(kRestoreStartupEntry, RestoreHandler{RestoreRemovedEvent, nullptr});
  RegisterRestoreHandler(kToggleStartupEntry, RestoreHandler{ToggleEvent, ToggleStillReverses});
}

}  // namespace tov

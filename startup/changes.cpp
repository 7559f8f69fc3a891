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
#include "startup/command_rules.h"
#include "startup/default_warning.h"
#include "startup/entry_facts.h"
#include "startup/enumerate.h"
#include "ui/history_rules.h"

namespace tov {

namespace {

constexpr char kWinlogonShell[] = "Shell";
constexpr char kWinlogonUserinit[] = "Userinit";
constexpr char kDefaultShell[] = "Explorer.exe";
constexpr char kUserinitDefaultFile[] = "\\Userinit.exe,";
constexpr char kNotifyDllName[] = "DLLName";
constexpr char kNotifyOldName[] = "OldName";
constexpr char kOwnProgramWord[] = "Tovrel";
constexpr size_t kCodeTextCapacity = 16;
constexpr size_t kKeyPathCapacity = 512;
// Beside the disabled store: the path each disabled Startup-folder file was
// moved from (value name = title).
constexpr char kDisabledFromKey[] = "Software\\Brenvik\\Tovrel\\DisabledFrom";

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

// A kept Run value belongs to command when both stand for the same thing
// (see SameStartupCommand: the history may hold the command in another
// spelling than the value, with another RunDLL32 head, quotes, environment
// strings or path form), or when the enumeration would list it with that
// path, before or after the long-path conversion of the entry.
bool KeptTextMatches(const char* text, const char* command) {
  if (OriginalMatchesCommand(text, command) || SameStartupCommand(text, command)) return true;
  char path[kPathCapacity];
  if (!OriginalAsEntryPath(text, path, sizeof path) || path[0] == 0) return false;
  LongPathName(path, path);
  return EqualsNoCase(path, command);
}

bool KeptValueMatches(const RawValue& value, const char* command) {
  const char* text = RawText(value);
  if (text == nullptr) return false;
  if (KeptTextMatches(text, command)) return true;
  // An expandable value may come back named by its expanded command (a
  // delayed program is stored by its real path).
  if (value.type != REG_EXPAND_SZ) return false;
  char expanded[kOriginalValueLimit];
  DWORD n = ExpandEnvironmentStringsA(text, expanded, sizeof expanded);
  return n > 0 && n <= sizeof expanded && KeptTextMatches(expanded, command);
}

// ---------------------------------------------------------------------------
// The disabled index and the known list.

void WriteIndex(const char* title, int code) {
  char text[kCodeTextCapacity];
  snprintf(text, sizeof text, "%d", code);
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, text);
  RereadDisabledIndex();  // a list being built holds a copy
}

// The stored command goes first: an index value without it names nothing
// the enumeration lists, while a stored command without its index value
// would still be listed. False when the stored command stays.
bool DropFromDisabledStore(const char* title, int code) {
  const char* storeKey = DisabledStoreKeyOf(code);
  if (storeKey && !DeleteRegValue(HKEY_LOCAL_MACHINE, storeKey, title) &&
      ValueExists(HKEY_LOCAL_MACHINE, storeKey, title))
    return false;
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, title);
  RereadDisabledIndex();
  return true;
}

bool IsOwnDisabledEntry(const Fields& f, int code) {
  return DisabledCodeOf(f.title, f.command, f.source, code) != 0;
}

void RecordKnown(const char* command, int code) {
  char name[kPathCapacity];
  if (!KnownListName(command, name, sizeof name)) return;
  char text[kCodeTextCapacity];
  snprintf(text, sizeof text, "%d", code);
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, name, text);
}

// The known-list value of a command goes under the name seeding gives it.
void ForgetKnown(const char* command) {
  char name[kPathCapacity];
  if (KnownListName(command, name, sizeof name))
    DeleteRegValue(HKEY_CURRENT_USER, kKnownRunKey, name);
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
  if (state == ValueState::kPresent && !DeleteRegValue(place.hive, place.runKey, f.title)) {
    // The value stays where it is (no rights to its key): so does the entry.
    Trace("DisableRunProgram", "Run value not deleted: entry left enabled");
    DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
    DropFromDisabledStore(f.title, code);
    return 0;
  }
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
  return DropFromDisabledStore(f.title, code) ? 1 : 0;
}

// The removed value is kept byte for byte so that Restore writes it back.
// Only the entry's own disabled copy is dropped; an entry of the same
// title that is not the disabled one is deleted from its Run key. 0 when the
// value could not be deleted (no rights to the key): nothing happened.
int RemoveRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return 0;
  if (IsOwnDisabledEntry(f, code))
    return DropFromDisabledStore(f.title, code) ? 1 : 0;  // its kept value stays for Restore
  RawValue original;
  ValueState state = ReadRawValue(place.hive, place.runKey, f.title, &original);
  if (state == ValueState::kMissing) return 0;
  bool kept = state == ValueState::kPresent &&
              WriteRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, original);
  if (!kept) DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
  if (!DeleteRegValue(place.hive, place.runKey, f.title)) {
    if (kept) DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
    return 0;
  }
  return 1;
}

int RestoreRun(const Fields& f, int code) {
  RunPlace place;
  if (!FindRunPlace(code, &place)) return kChangeFailed;
  // A value of that name is there already (restored before, or another
  // program): it is never overwritten.
  if (ValueExists(place.hive, place.runKey, f.title)) return kChangeAlreadyPresent;
  RawValue kept;
  bool exact = ReadRawValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title, &kept) ==
                   ValueState::kPresent &&
               KeptValueMatches(kept, f.command);
  bool written = exact ? WriteRawValue(place.hive, place.runKey, f.title, kept)
                       : SetRegString(place.hive, place.runKey, f.title, f.command);
  // Read back: callers delete their own copy of the entry on success.
  if (!written || !ValueExists(place.hive, place.runKey, f.title)) return kChangeFailed;
  if (exact) DeleteRegValue(HKEY_LOCAL_MACHINE, place.originalKey, f.title);
  return kChangeDone;
}

// ---------------------------------------------------------------------------
// WIN.INI [windows] "load" and "run". A list that does not fit the buffer is
// never written back, so no program of it is lost by a cut.

const char* WinIniKeyOf(int code) { return code == kCodeWinLoad ? "load" : "run"; }

// Items are compared by what they stand for: the list may hold a program in
// its short (8.3) form while the entry shows its long form.
bool IsSameWinIniItem(const char* piece, void* context) {
  return SameStartupCommand(piece, static_cast<const char*>(context));
}

bool TakeOutWinIniItem(const char* keyName, const char* item) {
  return RemoveWinIniItemMatching(keyName, IsSameWinIniItem, const_cast<char*>(item));
}

bool WinIniListHoldsItem(const char* keyName, const char* item) {
  return WinIniListHolds(keyName, IsSameWinIniItem, const_cast<char*>(item));
}

int DisableWinIni(const Fields& f, int code) {
  const char* storeKey = DisabledStoreKeyOf(code);
  if (!SetRegString(HKEY_LOCAL_MACHINE, storeKey, f.title, f.command)) return 0;
  WriteIndex(f.title, code);
  if (TakeOutWinIniItem(WinIniKeyOf(code), f.command)) return 1;
  DropFromDisabledStore(f.title, code);
  return 0;
}

// An item already in the list (written back by its program meanwhile) is
// not added a second time.
int EnableWinIni(const Fields& f, int code) {
  if (!WinIniListHoldsItem(WinIniKeyOf(code), f.command) &&
      !AppendWinIniItem(WinIniKeyOf(code), f.command))
    return 0;
  return DropFromDisabledStore(f.title, code) ? 1 : 0;
}

// A disabled item leaves the disabled store (and the list, should its
// program have put it back); an enabled one must leave the list.
int RemoveWinIni(const Fields& f, int code) {
  if (IsOwnDisabledEntry(f, code)) {
    if (!DropFromDisabledStore(f.title, code)) return 0;
    TakeOutWinIniItem(WinIniKeyOf(code), f.command);
    return 1;
  }
  return TakeOutWinIniItem(WinIniKeyOf(code), f.command) ? 1 : 0;
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

bool IsShortcutFile(const char* file) {
  size_t length = strlen(file);
  return length >= 4 && EqualsNoCase(file + length - 4, ".lnk");
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
  WriteIndex(f.title, kCodeStartupFolder);
  if (!IsTitleDisabled(f.title)) return 0;
  // MoveFile never replaces a file of that name already in the folder.
  if (!MoveFileA(FolderEntryFile(f), target)) {
    Trace("DisableRunProgram", "startup file not moved");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, f.title);
    RereadDisabledIndex();
    return 0;
  }
  // Beside the store: where a program file came from, so Enable puts the
  // user's program back there (shortcuts go to the user's Startup folder).
  if (!IsShortcutFile(FolderEntryFile(f)))
    SetRegString(HKEY_LOCAL_MACHINE, kDisabledFromKey, f.title, FolderEntryFile(f));
  return 1;
}

// The current user's Startup folder, else the machine's, else the common one.
bool EnableTargetFolder(char (&out)[kPathCapacity]) {
  if (GetRegString(HKEY_CURRENT_USER, kShellFoldersKey, "Startup", out) > 0) return true;
  if (GetRegString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Startup", out) > 0) return true;
  return GetRegString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Startup", out) > 0;
}

// Where an enabled folder file goes: the path it was disabled from, when
// that was recorded and its folder is still there; otherwise the Startup
// folder of EnableTargetFolder.
bool EnableReturnPlace(const char* title, const char* name, char (&out)[kPathCapacity]) {
  char from[kPathCapacity];
  char fromName[kPathCapacity];
  char fromFolder[kPathCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, kDisabledFromKey, title, from) > 0 &&
      FileNameOf(from, fromName) > 0 && EqualsNoCase(fromName, name) &&
      FolderPartOf(from, fromFolder, sizeof fromFolder) > 0) {
    DWORD attributes = GetFileAttributesA(fromFolder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return CopyText(out, from);
  }
  char folder[kPathCapacity];
  return EnableTargetFolder(folder) && JoinPath(folder, name, out);
}

int EnableFolderEntry(const Fields& f) {
  char name[kPathCapacity];
  char folder[kPathCapacity];
  char from[kPathCapacity];
  char to[kPathCapacity];
  if (FileNameOf(FolderEntryFile(f), name) == 0 || !DisabledFolder(folder) ||
      !JoinPath(folder, name, from))
    return 0;
  if (!EnableReturnPlace(f.title, name, to)) return 0;
  if (!MoveFileA(from, to)) {
    Trace("DisableRunProgram", "startup file not moved back");
    return 0;
  }
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, f.title);
  RereadDisabledIndex();
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledFromKey, f.title);
  return 1;
}

// Folder beside the program's executable that keeps the program files the
// user removed from a Startup folder, so that Restore can put the same bytes
// back.
constexpr char kRemovedFolderName[] = "Removed";
constexpr int kRemovedNameTries = 100;

bool RemovedFolder(char (&out)[kPathCapacity]) {
  return ProgramFolder(out) > 0 && AppendBackslash(out) && AppendText(out, kRemovedFolderName);
}

// True when file lies directly in folder (both compared in long form).
bool LiesIn(const char* file, const char* folder) {
  char part[kPathCapacity];
  if (FolderPartOf(file, part, sizeof part) == 0) return false;
  char longPart[kPathCapacity];
  char longFolder[kPathCapacity];
  LongPathName(longPart, part);
  LongPathName(longFolder, folder);
  return EqualsNoCase(longPart, longFolder);
}

// Moves a program file into the "Removed" folder under a name no other kept
// file has ("agent.exe", else "1-agent.exe", "2-agent.exe", ...).
bool KeepRemovedFile(const char* file, char (&kept)[kPathCapacity]) {
  char folder[kPathCapacity];
  char name[kPathCapacity];
  if (!RemovedFolder(folder) || FileNameOf(file, name) == 0) return false;
  CreateDirectoryA(folder, nullptr);
  for (int attempt = 0; attempt < kRemovedNameTries; ++attempt) {
    char unique[kPathCapacity];
    if (attempt == 0) {
      CopyText(unique, name);
    } else {
      snprintf(unique, sizeof unique, "%d-", attempt);
      if (!AppendText(unique, name)) return false;
    }
    if (!JoinPath(folder, unique, kept)) return false;
    if (GetFileAttributesA(kept) != INVALID_FILE_ATTRIBUTES) continue;
    if (MoveFileA(file, kept)) return true;
    return false;
  }
  return false;
}

// Takes the entry's file out of its Startup (or the "Disabled") folder. A
// shortcut is deleted (Restore writes it again); a program file lying in the
// folder is the user's program and is moved into the "Removed" folder, whose
// path goes into kept. A shortcut entry whose shortcut is already gone does
// not fall back to its path, which is the shortcut's target program.
bool TakeOutFolderFile(const Fields& f, char (&kept)[kPathCapacity]) {
  kept[0] = 0;
  char file[kPathCapacity];
  CopyText(file, FolderEntryFile(f));
  if (!FileExists(file)) return false;
  if (IsShortcutFile(file)) return DeleteFileA(file) != 0;
  return KeepRemovedFile(file, kept);
}

int RemoveFolderEntry(const Fields& f, char (&kept)[kPathCapacity]) {
  bool disabled = IsOwnDisabledEntry(f, kCodeStartupFolder);
  if (!TakeOutFolderFile(f, kept)) {
    Trace("DeleteRunProgram", "startup file not taken out");
    return 0;
  }
  if (disabled) {
    DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, f.title);
    RereadDisabledIndex();
    DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledFromKey, f.title);
  }
  return 1;
}

// Where a removed folder entry goes back: its own path, or, when it was
// removed while disabled (its file lay in the "Disabled" folder), the
// Startup folder Enable would have moved it to, so the restored entry is an
// enabled one that runs.
bool RestorePlaceOf(const char* file, char (&out)[kPathCapacity]) {
  char disabled[kPathCapacity];
  if (!DisabledFolder(disabled) || !LiesIn(file, disabled)) return CopyText(out, file);
  char name[kPathCapacity];
  char folder[kPathCapacity];
  return FileNameOf(file, name) > 0 && EnableTargetFolder(folder) && JoinPath(folder, name, out);
}

// A kept program file (source inside the "Removed" folder) is moved back;
// a shortcut is written again pointing at command.
int RestoreFolderEntry(const Fields& f) {
  char removed[kPathCapacity];
  bool keptFile = f.source[0] != 0 && RemovedFolder(removed) && LiesIn(f.source, removed);
  char place[kPathCapacity];
  if (!RestorePlaceOf(keptFile ? f.command : f.source, place) || place[0] == 0)
    return kChangeFailed;
  if (GetFileAttributesA(place) != INVALID_FILE_ATTRIBUTES) return kChangeAlreadyPresent;
  if (keptFile) return MoveFileA(f.source, place) ? kChangeDone : kChangeFailed;
  // A shortcut pointing at itself would be no program at all (a line of a
  // program file that was deleted rather than kept).
  if (EqualsNoCase(place, f.command)) return kChangeFailed;
  char folder[kPathCapacity];
  FolderOfFile(f.command, folder);
  return SUCCEEDED(CreateShortcut(place, f.command, "", folder, f.title, f.command, 0))
             ? kChangeDone
             : kChangeFailed;
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
  bool kept = state == ValueState::kPresent
                  ? WriteRawValue(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, dll)
                  : SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyOldName, "");
  if (!kept) {
    DropFromDisabledStore(f.title, kCodeWinlogonNotify);
    return 0;
  }
  if (!SetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName, "")) {
    // DLLName still names the library: the entry stays enabled.
    DropFromDisabledStore(f.title, kCodeWinlogonNotify);
    return 0;
  }
  RecordKnown(f.command, kCodeWinlogonNotify);
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

bool AppInitListHolds(const AppInitList& list, const char* command) {
  size_t pos = 0;
  char token[kAppInitCapacity];
  while (NextAppInitDll(list.text, &pos, token, sizeof token))
    if (IsRemovedDll(token, const_cast<char*>(command))) return true;
  return false;
}

// False when the list holds no such library: nothing is written then.
bool RemoveAppInitDll(const char* command) {
  AppInitList list;
  if (!ReadAppInitList(&list) || !AppInitListHolds(list, command)) return false;
  char rebuilt[kAppInitCapacity];
  if (!RemoveDllFromList(list.text, IsRemovedDll, const_cast<char*>(command), rebuilt,
                         sizeof rebuilt))
    return false;
  return WriteAppInitList(list, rebuilt);
}

int AppendAppInitDll(const char* command) {
  AppInitList list;
  if (!ReadAppInitList(&list)) return kChangeFailed;
  if (AppInitListHolds(list, command)) return kChangeAlreadyPresent;
  char shortPath[kPathCapacity];
  DWORD n = GetShortPathNameA(command, shortPath, sizeof shortPath);
  if (n == 0 || n >= sizeof shortPath) CopyText(shortPath, command);
  char grown[kAppInitCapacity];
  if (!CopyText(grown, list.text)) return kChangeFailed;
  if (grown[0] != 0 && !AppendText(grown, ",")) return kChangeFailed;
  if (!AppendText(grown, shortPath)) return kChangeFailed;
  return WriteAppInitList(list, grown) ? kChangeDone : kChangeFailed;
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
  // The delay-load list is named by title; the other two by the CLSID.
  const char* name = code == kCodeDelayLoad ? f.title : f.source;
  if (!DeleteRegValue(HKEY_LOCAL_MACHINE, location->key, name)) return 0;
  ForgetKnown(f.command);
  int action = code == kCodeDelayLoad             ? kActionRemoveDelayLoad
               : code == kCodeSharedTaskScheduler ? kActionRemoveTaskScheduler
                                                  : kActionRemoveShellExecuteHook;
  AddHistoryEvent(f.title, f.command, f.source, code, action);
  return 1;
}

int RemoveAppInit(const Fields& f) {
  if (!RemoveAppInitDll(f.command)) {
    Trace("DeleteRegProgram", "AppInit_Dlls left as it is");
    return 0;
  }
  ForgetKnown(f.command);
  AddHistoryEvent(f.title, f.command, f.source, kCodeAppInitDlls, kActionStartRemove);
  return 1;
}

}  // namespace

namespace {

// What a command stands for: program (long-path form) and parameters.
struct CommandMeaning {
  char program[kPathCapacity];
  char parameters[kRegTextCapacity];
};

bool MeaningOf(const char* command, CommandMeaning* out) {
  char stripped[kRegTextCapacity];
  StripRunDll(command, stripped, sizeof stripped);
  char unquoted[kRegTextCapacity];
  size_t n = 0;
  for (const char* p = stripped; *p && n + 1 < sizeof unquoted; ++p)
    if (*p != '"') unquoted[n++] = *p;
  unquoted[n] = 0;
  char expanded[kRegTextCapacity];
  DWORD need = ExpandEnvironmentStringsA(unquoted, expanded, sizeof expanded);
  if (need == 0 || need > sizeof expanded) CopyText(expanded, unquoted);
  char parameters[kRegTextCapacity];
  SplitCommand(expanded, out->program, parameters);
  const char* from = parameters;
  while (*from == ' ') ++from;
  CopyText(out->parameters, from);
  size_t length = strlen(out->parameters);
  while (length > 0 && out->parameters[length - 1] == ' ') out->parameters[--length] = 0;
  return out->program[0] != 0;
}

}  // namespace

bool SameStartupCommand(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  if (EqualsNoCase(a, b)) return true;
  CommandMeaning first, second;
  if (!MeaningOf(a, &first) || !MeaningOf(b, &second)) return false;
  return EqualsNoCase(first.program, second.program) &&
         EqualsNoCase(first.parameters, second.parameters);
}

bool IsTitleDisabled(const char* title) {
  if (title == nullptr || title[0] == 0) return false;
  char value[kIndexReadCapacity];
  return GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, value) > 0;
}

int DisableRunProgram(const char* title, const char* command, const char* source, int code) {
  Fields f;
  if (!TakeFields(title, command, source, &f)) return kChangeFailed;
  bool enable = IsOwnDisabledEntry(f, code);
  // The index holds one entry per title: another entry's stored command is
  // never overwritten by a second Disable of the same title.
  if (!enable && IsTitleDisabled(f.title)) return kChangeTitleTaken;
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
      return kChangeFailed;
  }
}

// The history line and the known-list changes follow only a removal that
// happened: a location the user may not change (no rights to its key, a
// WIN.INI item that is not in its list) writes neither.
int DeleteRunProgram(const char* title, const char* command, const char* source, int code) {
  if (code >= kCodeUserinit && code <= kCodeAppInitDlls)
    return DeleteRegProgram(MainWindow(), title, command, source, code);
  Fields f;
  if (!TakeFields(title, command, source, &f)) return 0;
  char kept[kPathCapacity] = "";
  int removed = 0;
  if (IsRunCode(code))
    removed = RemoveRun(f, code);
  else if (code == kCodeWinLoad || code == kCodeWinRun)
    removed = RemoveWinIni(f, code);
  else if (code == kCodeStartupFolder)
    removed = RemoveFolderEntry(f, kept);
  if (!removed) return 0;
  // A program file kept in the "Removed" folder is named in the source, so
  // the history's Restore moves it back.
  if (!ContainsText(f.command, kOwnProgramWord))
    AddHistoryEvent(f.title, f.command, kept[0] ? kept : f.source, code, kActionStartRemove);
  ForgetKnown(f.command);
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

namespace {

int RestoreNotify(const Fields& f) {
  char notifyKey[kKeyPathCapacity];
  if (!NotifyKeyOf(f.title, notifyKey) || !RegKeyExists(HKEY_LOCAL_MACHINE, notifyKey))
    return kChangeFailed;
  char dll[kPathCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, notifyKey, kNotifyDllName, dll) > 0)
    return kChangeAlreadyPresent;
  return PutNotifyDllBack(notifyKey, f.command) ? kChangeDone : kChangeFailed;
}

// One value of a hook key: name = data; never over a value already there.
int RestoreHookValue(int code, const char* name, const char* data) {
  const char* key = FindLocation(code)->key;
  if (name[0] == 0) return kChangeFailed;
  if (ValueExists(HKEY_LOCAL_MACHINE, key, name)) return kChangeAlreadyPresent;
  return SetRegString(HKEY_LOCAL_MACHINE, key, name, data) ? kChangeDone : kChangeFailed;
}

}  // namespace

int RestoreRunProgram(const char* title, const char* command, const char* source, int code) {
  Fields f;
  if (!TakeFields(title, command, source, &f)) return kChangeFailed;
  int result = kChangeFailed;
  if (IsRunCode(code)) {
    result = RestoreRun(f, code);
  } else {
    switch (code) {
      case kCodeWinLoad:
      case kCodeWinRun:
        if (WinIniListHoldsItem(WinIniKeyOf(code), f.command))
          result = kChangeAlreadyPresent;
        else
          result = AppendWinIniItem(WinIniKeyOf(code), f.command) ? kChangeDone
                                                                       : kChangeFailed;
        break;
      case kCodeStartupFolder:
        result = RestoreFolderEntry(f);
        break;
      case kCodeDelayLoad:
        result = RestoreHookValue(code, f.title, f.source);
        break;
      case kCodeSharedTaskScheduler:
      case kCodeShellExecuteHook:
        result = RestoreHookValue(code, f.source, f.title);
        break;
      case kCodeAppInitDlls:
        result = AppendAppInitDll(f.command);
        break;
      case kCodeWinlogonNotify:
        result = RestoreNotify(f);
        break;
      default:
        return kChangeFailed;
    }
  }
  if (result == kChangeDone) RecordKnown(f.command, code);
  return result;
}

int AddUserRunProgram(const char* name, const char* path, bool replace) {
  const LocationInfo* location = FindLocation(kCodeUserRun);
  if (location == nullptr || name == nullptr || name[0] == 0 || path == nullptr ||
      path[0] == 0)
    return kChangeFailed;
  if (!replace && ValueExists(HKEY_CURRENT_USER, location->key, name))
    return kChangeAlreadyPresent;
  char command[kRegTextCapacity];
  if (!QuoteProgramPath(path, command, sizeof command)) return kChangeFailed;
  if (!SetRegString(HKEY_CURRENT_USER, location->key, name, command)) return kChangeFailed;
  char known[kPathCapacity];
  if (KnownListName(path, known, sizeof known))
    SetRegString(HKEY_CURRENT_USER, kKnownRunKey, known, "1");
  return kChangeDone;
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
int RestoreStartupEntry(const char* title, const char* command, const char* source, int code) {
  switch (RestoreRunProgram(title, command, source, code)) {
    case kChangeDone: return kRestoreDone;
    case kChangeAlreadyPresent: return kRestoreAlreadyPresent;
    default: return kRestoreFailed;
  }
}

int ToggleStartupEntry(const char* title, const char* command, const char* source, int code) {
  switch (DisableRunProgram(title, command, source, code)) {
    case kChangeDone: return kRestoreDone;
    case kChangeTitleTaken: return kRestoreTitleTaken;
    default: return kRestoreFailed;
  }
}

namespace {

int RestoreRemovedEvent(const Entry& e) {
  return RestoreStartupEntry(e.title, e.path, e.source, e.code);
}

int ToggleEvent(const Entry& e) { return ToggleStartupEntry(e.title, e.path, e.source, e.code); }

// A disable or enable is turned back only while the entry is still in the
// state the event left it in; toggling otherwise would repeat the change.
bool ToggleStillReverses(const Entry& e) {
  return ToggleReversesEvent(e.flag, DisabledCodeOf(e.title, e.path, e.source, e.code) != 0);
}

}  // namespace

void RegisterStartupRestoreHandlers() {
  RegisterRestoreHandler(kRestoreStartupEntry, RestoreHandler{RestoreRemovedEvent, nullptr});
  RegisterRestoreHandler(kToggleStartupEntry, RestoreHandler{ToggleEvent, ToggleStillReverses});
}

}  // namespace tov

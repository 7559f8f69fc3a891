#include "startup/enumerate.h"

#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include "core/files.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "cookies/cookies.h"
#include "hidden/hidden_files.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "startup/command_rules.h"
#include "core/entries.h"
#include "startup/entry_facts.h"

namespace tov {

namespace {

constexpr char kUserinitTitle[] = "Winlogon Userinit";
constexpr char kShellTitle[] = "Winlogon Shell";

constexpr size_t kEnumIndexCapacity = 16;    // disabled-index value as the enumeration reads it
constexpr size_t kWinIniReadCapacity = 512;  // a WIN.INI program list
constexpr size_t kRegValueBytes = 255;       // names and data of the hook keys
constexpr size_t kAppInitReadCapacity = 256;     // AppInit_Dlls: 255 characters
constexpr DWORD kResolveTimeoutMs = 500;

// The registry key of a catalogue location under HKEY_LOCAL_MACHINE.
const char* LocationKey(int code) {
  const LocationInfo* location = FindLocation(code);
  return location ? location->key : "";
}

// The one value a catalogue location reads (Userinit, Shell, AppInit_Dlls).
template <size_t N> size_t ReadLocationValue(int code, char (&out)[N]) {
  const LocationInfo* location = FindLocation(code);
  out[0] = 0;
  if (!location) return 0;
  return GetRegString(HKEY_LOCAL_MACHINE, location->key, location->value, out);
}

int g_walkMode = kWalkStartup;

bool IsTextValue(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The former location code the disabled index keeps for a title; 0 when the
// title is not there (or the value is no short number).
int DisabledIndexCode(const char* title) {
  if (title[0] == 0) return 0;  // an empty name would read the key's default value
  char number[kEnumIndexCapacity];
  if (DisabledIndexText(title, number, sizeof number) == 0) return 0;
  return int(ParseDecimal(number));
}

bool ValueExists(HKEY key, const char* name) {
  return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// One text value of an open key: name and data each in a buffer of
// kRunNameBytes / kRunDataBytes bytes, the data always terminated.
struct TextValue {
  char name[kRunNameBytes + 1];
  char data[kRunDataBytes + 1];
};

enum ReadResult { kReadDone, kReadSkipped, kReadValue };

ReadResult ReadTextValue(HKEY key, DWORD index, TextValue* value) {
  DWORD nameLength = kRunNameBytes;
  DWORD dataLength = kRunDataBytes;
  DWORD type = 0;
  LONG r = RegEnumValueA(key, index, value->name, &nameLength, nullptr, &type,
                         reinterpret_cast<BYTE*>(value->data), &dataLength);
  if (r == ERROR_NO_MORE_ITEMS) return kReadDone;
  if (r != ERROR_SUCCESS || !IsTextValue(type)) return kReadSkipped;
  value->name[nameLength < kRunNameBytes ? nameLength : kRunNameBytes] = 0;
  value->data[dataLength < kRunDataBytes ? dataLength : kRunDataBytes] = 0;
  return kReadValue;
}

DWORD ValueCount(HKEY key) {
  DWORD count = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return count;
}

// The re-disable rule applies where DisableRunProgram can move the value:
// the Run keys of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
bool CanRedisable(int code) {
  return (code >= kCodeMachineRun && code <= kCodeMachineRunServicesOnce) ||
         (code >= kCodeUserRun && code <= kCodeUserRunServicesOnce);
}

void ReadRunKey(HKEY root, const char* path, int code, RunValuePair* last) {
  RegKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  DWORD count = ValueCount(key.get());
  DWORD index = 0;
  TextValue value;
  // One call more than the values the key reported, at most.
  for (DWORD call = 0; call <= count; ++call) {
    ReadResult read = ReadTextValue(key.get(), index, &value);
    if (read == kReadDone) return;
    if (read == kReadSkipped || IsRepeatedRunValue(*last, value.name, value.data)) {
      ++index;
      continue;
    }
    char command[kRunDataBytes + 1];
    int flag = StripRunDll(value.data, command);
    if (CanRedisable(code) && DisabledCodeOf(value.name, command, "", code) == code) {
      // The disabled entry written into its Run key again (same key, same
      // command): the first call enables it with the current data, the
      // second disables it again, so the disabled store keeps the current
      // value. GetDisabledPrograms lists it. A value of the same title with
      // another command or in another key is another program: it stays.
      Trace("BuildRun", value.name);
      DisableRunProgram(value.name, command, "", code);
      DisableRunProgram(value.name, command, "", code);
      // When the value has left the key, the next one now stands at this
      // index.
      if (!ValueExists(key.get(), value.name)) continue;
      ++index;
      continue;
    }
    ++index;
    RememberRunValue(last, value.name, value.data);
    if (!IsListedRunValue(value.name, value.data)) continue;
    AddEntry(value.name, command, "", "", code, flag);
  }
}

// Calls visit(name, data) for every text value of a key under
// HKEY_LOCAL_MACHINE with a non-empty name.
template <typename F> void ForEachMachineValue(const char* path, F visit) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  DWORD count = ValueCount(key.get());
  TextValue value;
  for (DWORD index = 0; index <= count; ++index) {
    ReadResult read = ReadTextValue(key.get(), index, &value);
    if (read == kReadDone) return;
    if (read == kReadSkipped || value.name[0] == 0) continue;
    visit(value.name, value.data);
  }
}

// The file's name without its extension (".lnk"): the title of a shortcut
// that names nothing else.
void TitleFromShortcut(const char* shortcut, char (&title)[kEntryTitleSlot]) {
  const char* slash = strrchr(shortcut, '\\');
  CopyText(title, slash ? slash + 1 : shortcut);
  char* dot = strrchr(title, '.');
  if (dot != nullptr) *dot = 0;
}

void AddShortcut(const char* shortcut) {
  char target[kPathCapacity];
  char description[kPathCapacity];
  HRESULT r = ResolveShortcut(shortcut, target, description);
  if (r == kShortcutNotFound) return;
  // Titles longer than the slot would refuse the whole entry: the
  // description is cut to the slot instead.
  char title[kEntryTitleSlot];
  CopyText(title, description);
  if (title[0] == 0 && target[0] != 0) {
    VersionStrings version;
    ReadVersionStrings(target, &version);
    CopyText(title, version.fileDescription[0] ? version.fileDescription : version.productName);
  }
  // A shortcut that could not be read still lies in the folder: it is
  // listed under its own file name rather than as a blank row.
  if (title[0] == 0 && target[0] == 0) TitleFromShortcut(shortcut, title);
  AddEntry(title, target, shortcut, "", kCodeStartupFolder, 0);
}

void AddProgramFile(const char* file) {
  VersionStrings version;
  ReadVersionStrings(file, &version);
  char title[kEntryTitleSlot];
  CopyText(title, version.fileDescription[0] ? version.fileDescription : version.productName);
  AddEntry(title, file, file, "", kCodeStartupFolder, 0);
}

int AddStartupItem(const char* path, const WIN32_FIND_DATAA* found) {
  if (found != nullptr && found->dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) return 0;
  char file[kPathCapacity];
  if (!CopyText(file, path)) return 0;
  RemoveBackslash(file, true);
  size_t length = strlen(file);
  const char* extension = length >= 3 ? file + length - 3 : file;
  if (EqualsNoCase(extension, "lnk")) {
    AddShortcut(file);
  } else if (EqualsNoCase(extension, "exe")) {
    AddProgramFile(file);
  } else if (EqualsNoCase(extension, "ini")) {
    return 0;  // the folder's desktop.ini and the like
  } else {
    AddEntry("", file, "", "", kCodeStartupFolder, 0);
  }
  return 0;
}

int WalkLevel(const char* folder, WalkProc callback, int depth, LPARAM value) {
  char base[kPathCapacity];
  if (folder == nullptr || folder[0] == 0) return 0;
  if (!CopyText(base, folder) || !AppendBackslash(base)) return 0;
  char pattern[kPathCapacity];
  if (!CopyText(pattern, base) || !AppendText(pattern, "*.*")) return 0;
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA(pattern, &found));
  if (!find) return 0;
  do {
    bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory && found.cFileName[0] == '.') continue;
    char full[kPathCapacity];
    if (!CopyText(full, base) || !AppendText(full, found.cFileName)) continue;
    if (directory && depth > 0) {
      int stop = WalkLevel(full, callback, depth - 1, value);
      if (stop != 0) return stop;
    }
    int stop = callback(full, &found, value);
    if (stop != 0) return stop;
  } while (FindNextFileA(find.get(), &found));
  return 0;
}

HRESULT ResolveLink(const char* shortcut, char* target, size_t targetCap, char* description,
                    size_t descriptionCap) {
  ComPtr<IShellLinkA> link;
  HRESULT r = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               link.putVoid());
  if (FAILED(r)) return r;
  ComPtr<IPersistFile> file;
  r = link->QueryInterface(IID_IPersistFile, file.putVoid());
  if (FAILED(r)) return r;
  WCHAR wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, shortcut, -1, wide, MAX_PATH) == 0) return E_INVALIDARG;
  r = file->Load(wide, STGM_READ);
  if (FAILED(r)) return r;
  r = link->Resolve(nullptr, SLR_NO_UI | (kResolveTimeoutMs << 16));
  if (r != S_OK) return r;  // S_FALSE: the target is gone

  char text[kPathCapacity];
  text[0] = 0;
  if (SUCCEEDED(link->GetDescription(text, sizeof text))) {
    text[sizeof text - 1] = 0;
    CopyTextN(description, descriptionCap, text);
  }
  text[0] = 0;
  WIN32_FIND_DATAA found;
  r = link->GetPath(text, sizeof text, &found, SLGP_SHORTPATH);
  if (r == S_OK) {
    text[sizeof text - 1] = 0;
    CopyTextN(target, targetCap, text);
  }
  return r;
}

}  // namespace

void SetWalkMode(int mode) { g_walkMode = mode; }
int CurrentWalkMode() { return g_walkMode; }

int WalkFolder(const char* folder, WalkProc callback, int depth, LPARAM value) {
  if (callback == nullptr) return 0;
  WalkLevel(folder, callback, depth, value);
  return 0;
}

int spBuildProc(const char* path, const WIN32_FIND_DATAA* found, LPARAM value) {
  if (path == nullptr) return 0;
  switch (g_walkMode) {
    case kWalkStartup:
      return AddStartupItem(path, found);
    case kWalkHidden:
      return AddHiddenItem(path, found);
    case kWalkCookies:
      return AddCookieItem(path, found, value);
    default:
      return 0;
  }
}

HRESULT ResolveShortcut(const char* shortcut, char* target, size_t targetCap, char* description,
                        size_t descriptionCap) {
  if (targetCap > 0) target[0] = 0;
  if (descriptionCap > 0) description[0] = 0;
  if (shortcut == nullptr || targetCap == 0 || descriptionCap == 0) return E_INVALIDARG;
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  HRESULT r = ResolveLink(shortcut, target, targetCap, description, descriptionCap);
  SetErrorMode(previous);
  if (FAILED(r) || r == kShortcutNotFound) {
    target[0] = 0;
    description[0] = 0;
  }
  return r;
}

size_t SplitCommand(const char* command, char* program, size_t programCap, char* parameters,
                    size_t parametersCap) {
  char windows[kPathCapacity];
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n == 0 || n >= sizeof windows) windows[0] = 0;
  size_t consumed =
      SplitCommandText(command, windows, program, programCap, parameters, parametersCap);
  if (programCap == 0 || program[0] == 0) return consumed;
  // Through its short form an existing file's long form carries the file's
  // own case.
  char shortPath[kPathCapacity];
  DWORD s = GetShortPathNameA(program, shortPath, sizeof shortPath);
  if (s > 0 && s < sizeof shortPath)
    LongPathName(program, programCap, shortPath);
  else
    LongPathName(program, programCap, program);
  return consumed;
}

int BuildStartupList(int flag) {
  DisabledIndexHeld index;
  ClearEntries();
  BuildRun();
  GetStartupGroup();
  GetWinPrograms();
  GetDisabledPrograms();
  bool showAll = flag == 0 || Setting(kOptShowAllStartup) > 0;
  if (showAll && IsNtPlatform()) {
    GetWinLogon_Userinit();
    GetWinLogon_Shell();
  }
  if (showAll) BuildRegInfo();
  return EntryCount();
}

void BuildRun() {
  static const HKEY kHives[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS};
  constexpr int kRunKeysPerHive = 5;
  RunValuePair last;
  ForgetRunValue(&last);
  for (int hive = 0; hive < 3; ++hive) {
    for (int key = 0; key < kRunKeysPerHive; ++key) {
      int code = hive * 10 + key + 1;
      const LocationInfo* location = FindLocation(code);
      if (location == nullptr) continue;
      ReadRunKey(kHives[hive], location->key, code, &last);
    }
  }
}

void GetStartupGroup() {
  static const HKEY kHives[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS};
  SetWalkMode(kWalkStartup);
  for (HKEY hive : kHives) {
    char folder[kPathCapacity];
    // An empty value names no folder (walking "\" would list a drive root).
    if (GetRegString(hive, kShellFoldersKey, "Startup", folder) > 0)
      WalkFolder(folder, spBuildProc, 0, 0);
    if (GetRegString(hive, kShellFoldersKey, "Common Startup", folder) > 0)
      WalkFolder(folder, spBuildProc, 1, 0);
  }
}

void GetWinPrograms() {
  static const struct {
    const char* key;
    int code;
  } kLists[] = {{"run", kCodeWinRun}, {"load", kCodeWinLoad}};
  for (const auto& list : kLists) {
    char text[kWinIniReadCapacity];
    GetProfileStringA("windows", list.key, "", text, sizeof text);
    char* item = text;
    while (item != nullptr) {
      char* next = strchr(item, ';');
      if (next != nullptr) *next++ = 0;
      if (item[0] != 0) {
        VersionStrings version;
        ReadVersionStrings(item, &version);
        const char* title = version.productName[0] ? version.productName : list.key;
        AddEntry(title, item, "", "", list.code, 0);
      }
      item = next;
    }
  }
}

void GetDisabledPrograms() {
  for (int row = 0; row < kDisabledStoreKeyCount; ++row) {
    const char* key = DisabledStoreKeyAt(row);
    if (key == nullptr) continue;
    // A stored command is listed under the code its index value names only
    // when that code is kept in this key: a value left behind by another
    // entry of the same title is no entry of that location. The read-only
    // setup key is written by nobody here; its commands count unless the
    // code's own key holds one of that title too (it would be listed twice).
    bool readOnly = EqualsNoCase(key, kDisabledRunOnceSetupKey);
    ForEachMachineValue(key, [key, readOnly](const char* name, const char* data) {
      int code = DisabledIndexCode(name);
      const char* ownKey = DisabledStoreKeyOf(code);
      bool own = ownKey == nullptr || EqualsNoCase(ownKey, key) ||
                 (readOnly && !RegValueExists(HKEY_LOCAL_MACHINE, ownKey, name));
      if (code > 0 && code != kCodeStartupFolder && own) AddEntry(name, data, "", "", code, 0);
    });
  }
  char folder[kPathCapacity];
  if (ProgramFolder(folder) == 0) return;
  if (!AppendBackslash(folder) || !AppendText(folder, kDisabledFolderName)) return;
  SetWalkMode(kWalkStartup);
  WalkFolder(folder, spBuildProc, 0, 0);
}

void GetWinLogon_Userinit() {
  char value[kPathCapacity];
  ReadLocationValue(kCodeUserinit, value);
  char program[kPathCapacity];
  if (!UserinitProgram(value, program, sizeof program)) return;
  AddEntry(kUserinitTitle, program, "", "", kCodeUserinit, 0);
}

void GetWinLogon_Shell() {
  char value[kPathCapacity];
  ReadLocationValue(kCodeShell, value);
  char program[kPathCapacity];
  if (!ShellProgram(value, program, sizeof program)) return;
  AddEntry(kShellTitle, program, "", "", kCodeShell, 0);
}

namespace {

// A class registered under a value of a hook key: its server and that
// server's version.
struct ClassHook {
  char className[kClassTextCapacity];
  char server[kClassTextCapacity];
  VersionStrings version;
};

void LookupHook(const char* clsid, ClassHook* hook) {
  LookupClassServer(clsid, hook->className, hook->server);
  ReadVersionStrings(hook->server, &hook->version);
}

// SharedTaskScheduler and ShellExecuteHooks: value name = CLSID, data = a
// description that titles the entry, else the class name.
void ReadClassListKey(const char* path, int code) {
  ForEachMachineValue(path, [code](const char* clsid, const char* description) {
    ClassHook hook;
    LookupHook(clsid, &hook);
    char title[kEntryTitleSlot];
    CopyText(title, description[0] ? description : hook.className);
    AddEntry(title, hook.server, clsid, hook.version.productVersion, code, 0);
  });
}

}  // namespace

void BuildRegInfo() {
  ForEachMachineValue(LocationKey(kCodeDelayLoad), [](const char* name, const char* clsid) {
    ClassHook hook;
    LookupHook(clsid, &hook);
    AddEntry(name, hook.server, clsid, hook.version.productVersion, kCodeDelayLoad, 0);
  });
  ReadClassListKey(LocationKey(kCodeSharedTaskScheduler), kCodeSharedTaskScheduler);
  ReadClassListKey(LocationKey(kCodeShellExecuteHook), kCodeShellExecuteHook);

  char list[kAppInitReadCapacity];
  if (ReadLocationValue(kCodeAppInitDlls, list) > 0) {
    size_t pos = 0;
    char dll[kPathCapacity];
    while (NextAppInitDll(list, &pos, dll, sizeof dll)) {
      VersionStrings version;
      ReadVersionStrings(dll, &version);
      AddEntry(version.productName, dll, version.companyName, version.productVersion,
               kCodeAppInitDlls, 0);
    }
  }

  RegKey notify;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LocationKey(kCodeWinlogonNotify), 0, KEY_READ, notify.put()) != ERROR_SUCCESS)
    return;
  DWORD count = 0;
  if (RegQueryInfoKeyA(notify.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  for (DWORD index = 0; index <= count; ++index) {
    char name[kRegValueBytes + 1];
    DWORD length = kRegValueBytes;
    LONG r = RegEnumKeyExA(notify.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS) continue;
    char subkey[kPathCapacity];
    if (!CopyText(subkey, LocationKey(kCodeWinlogonNotify)) || !AppendText(subkey, "\\") || !AppendText(subkey, name))
      continue;
    char dll[kRegValueBytes + 1];
    if (GetRegString(HKEY_LOCAL_MACHINE, subkey, "DllName", dll) == 0) continue;
    VersionStrings version;
    ReadVersionStrings(dll, &version);
    AddEntry(name, dll, version.fileDescription, version.productVersion, kCodeWinlogonNotify, 0);
  }
}

}  // namespace tov

#include "delay/delay_store.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "delay/delay_rules.h"
#include "resources/string_ids.h"
#include "startup/baseline_rules.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "core/entries.h"
#include "startup/enumerate.h"

namespace tov {

namespace {

constexpr size_t kCodeTextCapacity = 16;
// "Microsoft(R) Windows(R)" in the ANSI code page: the product name of
// Windows' own programs, which say more in their description.
constexpr char kWindowsProduct[] = "Microsoft\xAE Windows\xAE";
constexpr char kShortcutExtension[] = ".lnk";

bool WriteCode(HKEY hive, const char* key, const char* name, int code) {
  char text[kCodeTextCapacity];
  snprintf(text, sizeof text, "%d", code);
  return SetRegString(hive, key, name, text);
}

// Deletes one value; true when it is gone (also when it never was there).
bool DeleteStoreValue(HKEY hive, const char* key, const char* name) {
  RegKey k;
  LONG rc = RegOpenKeyExA(hive, key, 0, KEY_SET_VALUE, k.put());
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS) return false;
  rc = RegDeleteValueA(k.get(), name);
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool HasDelayValue(HKEY hive, const char* program) {
  RegKey k;
  if (RegOpenKeyExA(hive, kDelayKey, 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(k.get(), program, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// A value is written, or (for empty text) a stale one deleted.
bool WriteOrClear(HKEY hive, const char* key, const char* program, const char* text) {
  if (text && text[0]) return SetRegString(hive, key, program, text);
  return DeleteStoreValue(hive, key, program);
}

// The arguments a Startup-folder shortcut passes to its program.
void ShortcutArguments(const char* shortcut, char* out, size_t cap) {
  out[0] = 0;
  WCHAR wide[kPathCapacity];
  if (MultiByteToWideChar(CP_ACP, 0, shortcut, -1, wide, kPathCapacity) == 0) return;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.putVoid())))
    return;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return;
  if (FAILED(file->Load(wide, STGM_READ))) return;
  if (FAILED(link->GetArguments(out, int(cap)))) out[0] = 0;
  out[cap - 1] = 0;
}

bool EndsWithNoCase(const char* text, const char* tail) {
  size_t n = strlen(text), m = strlen(tail);
  return n >= m && EqualsNoCase(text + n - m, tail);
}

// Where a Startup-folder entry's shortcut is written again. A disabled one
// lies in the program's "Disabled" folder; it goes back where enabling would
// put it, the user's Startup folder, so that it runs again.
void ShortcutHome(const char* source, char (&out)[kPathCapacity]) {
  CopyText(out, source);
  char disabled[kPathCapacity];
  char folder[kPathCapacity];
  if (ProgramFolder(disabled) == 0 || !AppendBackslash(disabled) ||
      !AppendText(disabled, kDisabledFolderName) || FolderPartOf(source, folder, sizeof folder) == 0 ||
      !EqualsNoCase(folder, disabled))
    return;
  char home[kPathCapacity];
  char name[kPathCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kShellFoldersKey, "Startup", home) == 0 ||
      FileNameOf(source, name) == 0)
    return;
  if (AppendBackslash(home) && AppendText(home, name)) CopyText(out, home);
}

// What a move would store: program, parameters and the question's hive.
struct MovePlan {
  char program[kPathCapacity];
  char parameters[kDelayValueCapacity];
  char shortcut[kPathCapacity];  // code 200: where the shortcut comes back
  HKEY hive;
};

// The program and parameters of the entry's command; false when it names no
// program or a part does not fit the store.
bool PlanMove(const char* command, const char* source, int code, MovePlan* plan) {
  // An expandable Run value is listed as it stands ("%ProgramFiles%\..."):
  // the store names the program by its real path.
  char expanded[kPathCapacity + kDelayValueCapacity];
  DWORD n = ExpandEnvironmentStringsA(command, expanded, sizeof expanded);
  if (n == 0 || n > sizeof expanded) return false;
  char parameters[kPathCapacity + kDelayValueCapacity];
  SplitCommand(expanded, plan->program, parameters);
  if (plan->program[0] == 0 || strlen(plan->program) + 1 >= sizeof plan->program) return false;
  if (!CopyText(plan->parameters, parameters)) return false;
  if (!CopyText(plan->shortcut, source ? source : "")) return false;
  if (code == kCodeStartupFolder && plan->shortcut[0]) {
    if (plan->parameters[0] == 0)
      ShortcutArguments(plan->shortcut, plan->parameters, sizeof plan->parameters);
    ShortcutHome(source, plan->shortcut);
  }
  plan->hive = DelayHiveKey(DelayHiveOfCode(code));
  return true;
}

bool WriteMoveValues(const MovePlan& plan, const char* title, int code, int flag) {
  return WriteCode(plan.hive, kDelayKey, plan.program, code) &&
         SetRegString(plan.hive, kDelayTitleKey, plan.program, title) &&
         SetRegString(plan.hive, kDelayTimeKey, plan.program, kDefaultDelayText) &&
         WriteOrClear(plan.hive, kDelayParametersKey, plan.program, plan.parameters) &&
         SetRegString(plan.hive, kDelayShortcutsKey, plan.program, plan.shortcut) &&
         WriteOrClear(plan.hive, kDelayAppletKey, plan.program, flag ? kDelayApplet : "");
}

// After DeleteRunProgram: a Run value still in its key did not go.
bool StillInRunKey(const char* title, int code) {
  bool machine = code >= kCodeMachineRun && code <= kCodeMachineRunServicesOnce;
  bool user = code >= kCodeUserRun && code <= kCodeUserRunServicesOnce;
  const LocationInfo* location = FindLocation(code);
  if ((!machine && !user) || location == nullptr || IsTitleDisabled(title)) return false;
  RegKey k;
  if (RegOpenKeyExA(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, location->key, 0,
                    KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(k.get(), title, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool AskAllUsers(HWND owner) {
  char question[kMessageCapacity];
  LoadText(kTextThisStartupProgramIs, question);
  return MessageBoxA(owner ? owner : GetActiveWindow(), question, ProgramCaption(),
                     MB_OKCANCEL | MB_ICONWARNING | MB_TOPMOST) == IDOK;
}

// The title of a delayed program: its stored title (cut to the entry's
// slot), else its product name, else its file name; Windows' own programs by
// their description.
void DelayedTitle(HKEY hive, const char* program, const VersionStrings& version,
                  char (&title)[kEntryTitleSlot]) {
  char stored[kDelayValueCapacity];
  ReadDelayValue(hive, kDelayTitleKey, program, stored);
  CopyText(title, stored);
  if (title[0]) return;
  if (!CopyText(title, version.productName) || title[0] == 0) FileNameOf(program, title);
  if (ContainsText(title, kWindowsProduct)) CopyText(title, version.fileDescription);
}

void ListHive(int hiveIndex) {
  HKEY hive = DelayHiveKey(hiveIndex);
  RegKey key;
  if (RegOpenKeyExA(hive, kDelayKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  DWORD count = 0;
  RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                   nullptr, nullptr, nullptr, nullptr);
  for (DWORD index = 0; index <= count; ++index) {
    char program[kDelayValueCapacity];
    DWORD length = sizeof program;
    LONG rc = RegEnumValueA(key.get(), index, program, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return;
    if (rc != ERROR_SUCCESS || program[0] == 0) continue;
    VersionStrings version;
    ReadVersionStrings(program, &version);
    char title[kEntryTitleSlot];
    DelayedTitle(hive, program, version, title);
    char codeText[kDelayValueCapacity];
    ReadDelayValue(hive, kDelayKey, program, codeText);
    int code = int(ParseDecimal(codeText));
    char source[kDelayValueCapacity];
    if (code == kCodeStartupFolder)
      ReadDelayValue(hive, kDelayShortcutsKey, program, source);
    else
      CopyText(source, title);
    AddEntry(title, program, source, version.fileDescription, code, hiveIndex);
  }
}

// A listed program's value name: the entry's path, or the name whose long
// form that path is (a program stored under its short or differently
// written name; the list shows every path in its long form).
bool FindStoreName(HKEY hive, const char* path, char (&out)[kDelayValueCapacity]) {
  if (HasDelayValue(hive, path)) return CopyText(out, path);
  RegKey key;
  if (RegOpenKeyExA(hive, kDelayKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  char wanted[kPathCapacity];
  LongPathName(wanted, path);
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof out;
    LONG rc = RegEnumValueA(key.get(), index, out, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    char longName[kPathCapacity];
    LongPathName(longName, out);
    if (EqualsNoCase(longName, wanted)) return true;
  }
  out[0] = 0;
  return false;
}

// A Startup-folder entry comes back as its shortcut: target the program,
// arguments its parameters.
bool RestoreShortcut(const Entry& e, const char* parameters) {
  char folder[kPathCapacity];
  FolderOfFile(e.path, folder);
  if (e.source[0] == 0 ||
      FAILED(CreateShortcut(e.source, e.path, parameters, folder, e.title, e.path, 0)))
    return false;
  WriteCode(HKEY_CURRENT_USER, kKnownRunKey, e.path, kCodeStartupFolder);
  return true;
}

}  // namespace

HKEY DelayHiveKey(int hiveIndex) {
  return hiveIndex == kDelayHiveMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

size_t ReadDelayValue(HKEY hive, const char* key, const char* program, char* out, size_t cap) {
  return GetRegString(hive, key, program, out, cap);
}

bool ReadDelaySeconds(HKEY hive, const char* program, long* seconds) {
  char text[kDelayValueCapacity];
  if (ReadDelayValue(hive, kDelayTimeKey, program, text) == 0) return false;
  *seconds = ParseDecimal(text);
  return true;
}

bool DelayedEntryName(int entryIndex, char (&out)[kDelayValueCapacity]) {
  out[0] = 0;
  const Entry* e = EntryAt(entryIndex);
  return e != nullptr && FindStoreName(DelayHiveKey(e->flag), e->path, out);
}

bool IsProgramDelayed(const char* program) {
  char name[kDelayValueCapacity];
  return FindStoreName(HKEY_LOCAL_MACHINE, program, name) ||
         FindStoreName(HKEY_CURRENT_USER, program, name);
}

bool DeleteDelayValues(HKEY hive, const char* program) {
  bool gone = true;
  for (const char* key : kDelayKeys) gone = DeleteStoreValue(hive, key, program) && gone;
  return gone;
}

// The values are written before the entry leaves its location, and taken
// out again when it does not leave: the program never starts twice and is
// never lost.
MoveResult MoveToDelayed(HWND owner, const char* title, const char* command, const char* source,
                         int code, int flag) {
  if (title == nullptr || title[0] == 0 || command == nullptr) return MoveResult::kFailed;
  // A program file lying in the Startup folder itself would be deleted by
  // the removal while the store still names it; a program already delayed
  // through another entry would lose its values.
  const char* file = source && source[0] ? source : command;
  MovePlan plan;
  bool refused = code == kCodeStartupFolder && !EndsWithNoCase(file, kShortcutExtension);
  if (!refused && !PlanMove(command, source, code, &plan)) return MoveResult::kFailed;
  if (refused || IsProgramDelayed(plan.program)) {
    ShowErrorMessage(kTextThisProgramMustRemain);
    return MoveResult::kRefused;
  }
  if (plan.hive == HKEY_LOCAL_MACHINE && !AskAllUsers(owner)) return MoveResult::kCancelled;
  if (!WriteMoveValues(plan, title, code, flag)) {
    DeleteDelayValues(plan.hive, plan.program);
    Trace("MoveToDelayed", "store not written");
    return MoveResult::kFailed;
  }
  if (!DeleteRunProgram(title, command, source, code) || StillInRunKey(title, code)) {
    DeleteDelayValues(plan.hive, plan.program);
    Trace("MoveToDelayed", "entry did not leave its location");
    return MoveResult::kFailed;
  }
  WriteCode(HKEY_CURRENT_USER, kKnownRunKey, command, kKnownDelayedCode);
  return MoveResult::kMoved;
}

bool MoveToDelayedStart(int entryIndex) {
  const Entry* e = EntryAt(entryIndex);
  if (e == nullptr) return false;
  return MoveToDelayed(nullptr, e->title, e->path, e->source, e->code, e->flag) ==
         MoveResult::kMoved;
}

bool AddDelayed(const char* program, bool allUsers) {
  char path[kPathCapacity];
  if (program == nullptr || !CopyText(path, program) || path[0] == 0) return false;
  LongPathName(path, path);
  if (IsProgramDelayed(path)) return false;
  HKEY hive = allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  // Values an earlier entry of this program left would change how it starts.
  DeleteDelayValues(hive, path);
  if (WriteCode(hive, kDelayKey, path, allUsers ? kCodeMachineRun : kCodeUserRun) &&
      SetRegString(hive, kDelayTimeKey, path, kDefaultDelayText))
    return true;
  DeleteDelayValues(hive, path);
  return false;
}

int BuildDelayedList() {
  ClearEntries();
  ListHive(kDelayHiveMachine);
  ListHive(kDelayHiveUser);
  return EntryCount();
}

// Written back first; the values go only when that succeeded, so a failed
// write-back (a command too long, a missing Startup folder, a full WIN.INI
// list) leaves the program delayed.
bool RestoreDelayed(int entryIndex) {
  const Entry* e = EntryAt(entryIndex);
  char name[kDelayValueCapacity];
  if (e == nullptr || !DelayedEntryName(entryIndex, name)) return false;
  HKEY hive = DelayHiveKey(e->flag);
  char parameters[kDelayValueCapacity];
  char applet[kDelayValueCapacity];
  ReadDelayValue(hive, kDelayParametersKey, name, parameters);
  ReadDelayValue(hive, kDelayAppletKey, name, applet);
  bool written;
  if (e->code == kCodeStartupFolder && applet[0] == 0) {
    written = RestoreShortcut(*e, parameters);
  } else {
    char command[kPathCapacity];
    written = BuildDelayedCommand(e->path, parameters, applet, command) &&
              RestoreRunProgram(e->title, command, e->source, e->code) == 1;
  }
  if (!written) {
    Trace("RestoreDelayed", "not written back: kept delayed");
    return false;
  }
  return DeleteDelayValues(hive, name);
}

bool RemoveDelayed(int entryIndex) {
  const Entry* e = EntryAt(entryIndex);
  char name[kDelayValueCapacity];
  return e != nullptr && DelayedEntryName(entryIndex, name) &&
         DeleteDelayValues(DelayHiveKey(e->flag), name);
}

int RestoreAllDelayed() {
  int restored = 0;
  int count = BuildDelayedList();
  for (int i = 0; i < count; ++i)
    if (RestoreDelayed(i)) ++restored;
  return restored;
}

bool LaunchDelayed(int entryIndex) {
  const Entry* e = EntryAt(entryIndex);
  char name[kDelayValueCapacity];
  if (e == nullptr || !DelayedEntryName(entryIndex, name)) return false;
  HKEY hive = DelayHiveKey(e->flag);
  char parameters[kDelayValueCapacity];
  char applet[kDelayValueCapacity];
  ReadDelayValue(hive, kDelayParametersKey, name, parameters);
  ReadDelayValue(hive, kDelayAppletKey, name, applet);
  char file[kPathCapacity];
  char arguments[kPathCapacity + kDelayValueCapacity];
  if (!LaunchParts(e->path, parameters, applet, file, sizeof file, arguments, sizeof arguments))
    return false;
  return RunProgram(nullptr, file, arguments) == nullptr;
}

}  // namespace tov

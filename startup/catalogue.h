// The catalogue of autostart locations and the code tables every family of
// the entry list shares: location codes, their short names (the type shown
// in the Startup Programs list and the name written to the history file),
// where each location lives, the text that names it to the user, which
// changes it allows, and the keys of the disabled store.
// No Windows headers: hives are named by an enumeration.
#pragma once
#include "core/history_names.h"
#include <cstddef>

namespace tov {

// Entry codes. 1-35 and 100-256 are startup locations; the others belong to
// the families that share the entry list.
enum EntryCode {
  kCodeMachineRun = 1,
  kCodeMachineRunOnce = 2,
  kCodeMachineRunOnceEx = 3,
  kCodeMachineRunServices = 4,
  kCodeMachineRunServicesOnce = 5,
  kCodeUserRun = 11,
  kCodeUserRunOnce = 12,
  kCodeUserRunOnceEx = 13,
  kCodeUserRunServices = 14,
  kCodeUserRunServicesOnce = 15,
  kCodeUsersRun = 21,
  kCodeUsersRunOnce = 22,
  kCodeUsersRunOnceEx = 23,
  kCodeUsersRunServices = 24,
  kCodeUsersRunServicesOnce = 25,
  kCodeWinLoad = 100,
  kCodeWinRun = 101,
  kCodeStartupFolder = 200,
  kCodeUserinit = 250,
  kCodeShell = 251,
  kCodeDelayLoad = 252,
  kCodeSharedTaskScheduler = 253,
  kCodeShellExecuteHook = 254,
  kCodeAppInitDlls = 255,
  kCodeWinlogonNotify = 256,
  kCodeRestartDelete = 300,
  kCodeRestartRename = 301,
  kCodeHiddenFile = 370,
  kCodeFileType = 400,
  kCodeCookie = 500,
  kCodeNetCookie = 501,
  kCodeSavedCookie = 502,
  kCodeNutsCookie = 503,
  kCodeRunningTask = 600,
  kCodeServiceProgram = 700,
  kCodeServiceShared = 701,
  kCodeScheduledTask = 800,
  kCodeHelperObject = 900,
  kCodeToolbar = 901,
  kCodeExtension = 902,
  kCodeUnknown = 3000,
};

// Where a location lives.
enum LocationStore {
  kStoreMachine,      // HKEY_LOCAL_MACHINE
  kStoreCurrentUser,  // HKEY_CURRENT_USER
  kStoreUsers,        // HKEY_USERS (the key opened directly under it)
  kStoreWinIni,       // a key of WIN.INI's [windows] section
  kStoreFolders,      // the Startup folders and the program's "Disabled" folder
};

// What the Remove command does for a location.
enum RemoveKind {
  kRemoveNone,          // no Remove
  kRemoveDelete,        // deletes the value, the WIN.INI item or the file
  kRemoveReset,         // "&Reset": writes the Windows default back
  kRemoveAfterWarning,  // only after the default-condition warning
  kRemoveListedOnly,    // listed only: no change is defined for the location
};

struct LocationInfo {
  int code;
  const char* logName;   // name in the history file
  const char* typeName;  // Type column of the Startup Programs list
  LocationStore store;
  const char* key;       // registry key under the hive, or the WIN.INI section; "" for folders
  const char* value;     // the one value read, or "" when every value (or sub-key) of the key is
  const char* text;      // location text shown after "Startup Location: "
  bool canDisable;       // Disable / Enable
  RemoveKind remove;
  bool canDelay;         // Move to delayed start
};

// The catalogue, in code order (1-5, 11-15, 21-25, 100, 101, 200, 250-256).
int LocationCount();
const LocationInfo& LocationAt(int row);
// The catalogue row of a code, or nullptr when the code is no catalogued
// startup location.
const LocationInfo* FindLocation(int code);
// The location text of a code; "" when it has no catalogue row.
const char* LocationTableText(int code);

// Type names (Startup Programs list, 33 rows: 1-6, 11-16, 21-26, 31-35, 100,
// 101, 200, 250-256). A code without a row gives "" (no type shown).
// A code and its name; the log names are the history file's type table.
using CodeName = HistoryName;
int TypeNameCount();
const CodeName& TypeNameAt(int row);
const char* TypeNameOf(int code);

// History names of entry codes (49 rows, lookups take the first match).
constexpr size_t kLogNameCapacity = kHistoryNameCapacity;
int LogNameCount();
const CodeName& LogNameAt(int row);
// The name of a code; "TYPE_UNKNOWN" when the code has no row.
const char* LogNameOf(int code);
// The code of a name compared without case; kCodeUnknown when not found.
int LogCodeOf(const char* name);

// The disabled store under HKEY_LOCAL_MACHINE. The index key holds one value
// per disabled entry (name = title, data = former code in decimal); the
// sub-keys hold the disabled command lines.
// The per-hive folder names ("Startup", "Common Startup", "AppData").
extern const char kShellFoldersKey[];
extern const char kDisabledKey[];            // "Software\Brenvik\Tovrel\Disabled"
extern const char kDisabledRunKey[];         // ...\Disabled\Run              codes 1, 11
extern const char kDisabledRunOnceKey[];     // ...\Disabled\RunOnce          codes 2, 12
extern const char kDisabledRunOnceExKey[];   // ...\Disabled\RunOnceEx        codes 3, 13
extern const char kDisabledRunServicesKey[]; // ...\Disabled\RunServices      codes 4, 14
extern const char kDisabledRunServicesOnceKey[];  // ...\Disabled\RunServicesOnce codes 5, 15
extern const char kDisabledWinLoadKey[];     // ...\Disabled\WinLoad          code 100
extern const char kDisabledWinRunKey[];      // ...\Disabled\WinRun           code 101
extern const char kDisabledRunOnceSetupKey[];  // ...\Disabled\RunOnce\Setup  read only
extern const char kDisabledWinNotifyKey[];   // ...\Disabled\WinNotify        code 256
// Folder beside the program's executable that holds disabled Startup-folder files.
extern const char kDisabledFolderName[];     // "Disabled"

// The nine keys holding disabled command lines, in the order they are read.
constexpr int kDisabledStoreKeyCount = 9;
const char* DisabledStoreKeyAt(int row);
// The key that holds the disabled command line of an entry of that code;
// nullptr when entries of the code are not kept there.
const char* DisabledStoreKeyOf(int code);

}  // namespace tov

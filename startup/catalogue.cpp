#include "startup/catalogue.h"

#include "core/text.h"

namespace tov {

#define TOV_CURRENT_VERSION "Software\\Microsoft\\Windows\\CurrentVersion"
#define TOV_WINLOGON "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"
#define TOV_DISABLED "Software\\Brenvik\\Tovrel\\Disabled"

const char kDisabledKey[] = TOV_DISABLED;
const char kDisabledRunKey[] = TOV_DISABLED "\\Run";
const char kDisabledRunOnceKey[] = TOV_DISABLED "\\RunOnce";
const char kDisabledRunOnceExKey[] = TOV_DISABLED "\\RunOnceEx";
const char kDisabledRunServicesKey[] = TOV_DISABLED "\\RunServices";
const char kDisabledRunServicesOnceKey[] = TOV_DISABLED "\\RunServicesOnce";
const char kDisabledWinLoadKey[] = TOV_DISABLED "\\WinLoad";
const char kDisabledWinRunKey[] = TOV_DISABLED "\\WinRun";
const char kDisabledRunOnceSetupKey[] = TOV_DISABLED "\\RunOnce\\Setup";
const char kDisabledWinNotifyKey[] = TOV_DISABLED "\\WinNotify";
const char kDisabledFolderName[] = "Disabled";
const char kShellFoldersKey[] = TOV_CURRENT_VERSION "\\Explorer\\Shell Folders";

namespace {

// One Run key of a hive: the five keys share the rules of their hive.
#define TOV_RUN_ROW(code, log, type, store, prefix, name, change, remove)                    \
  {code, log, type, store, TOV_CURRENT_VERSION "\\" name, "",                               \
   prefix TOV_CURRENT_VERSION "\\" name, change, remove, change}

const LocationInfo kLocations[] = {
    TOV_RUN_ROW(1, "MACHINE_RUN", "HKLM_RUN", kStoreMachine, "HKLM\\", "Run", true, kRemoveDelete),
    TOV_RUN_ROW(2, "MACHINE_RUNONCE", "HKLM_RUNONCE", kStoreMachine, "HKLM\\", "RunOnce", true,
                kRemoveDelete),
    TOV_RUN_ROW(3, "MACHINE_RUNONCEEX", "HKLM_RUNONCEEX", kStoreMachine, "HKLM\\", "RunOnceEx",
                true, kRemoveDelete),
    TOV_RUN_ROW(4, "MACHINE_RUNSERVICES", "HKLM_RUNSERVICES", kStoreMachine, "HKLM\\",
                "RunServices", true, kRemoveDelete),
    TOV_RUN_ROW(5, "MACHINE_RUNSERVICESONCE", "HKLM_RUNSERVICESONCE", kStoreMachine, "HKLM\\",
                "RunServicesOnce", true, kRemoveDelete),
    TOV_RUN_ROW(11, "CURRENT_RUN", "HKCU_RUN", kStoreCurrentUser, "HKCU\\", "Run", true,
                kRemoveDelete),
    TOV_RUN_ROW(12, "CURRENT_RUNONCE", "HKCU_RUNONCE", kStoreCurrentUser, "HKCU\\", "RunOnce",
                true, kRemoveDelete),
    TOV_RUN_ROW(13, "CURRENT_RUNONCEEX", "HKCU_RUNONCEEX", kStoreCurrentUser, "HKCU\\",
                "RunOnceEx", true, kRemoveDelete),
    TOV_RUN_ROW(14, "CURRENT_RUNSERVICES", "HKCU_RUNSERVICES", kStoreCurrentUser, "HKCU\\",
                "RunServices", true, kRemoveDelete),
    TOV_RUN_ROW(15, "CURRENT_RUNSERVICESONCE", "HKCU_RUNSERVICESONCE", kStoreCurrentUser,
                "HKCU\\", "RunServicesOnce", true, kRemoveDelete),
    TOV_RUN_ROW(21, "USERS_RUN", "HKU_RUN", kStoreUsers, "HKEY_USER\\", "Run", false,
                kRemoveListedOnly),
    TOV_RUN_ROW(22, "USERS_RUNONCE", "HKU_RUNONCE", kStoreUsers, "HKEY_USER\\", "RunOnce", false,
                kRemoveListedOnly),
    TOV_RUN_ROW(23, "USERS_RUNONCEEX", "HKU_RUNONCEEX", kStoreUsers, "HKEY_USER\\", "RunOnceEx",
                false, kRemoveListedOnly),
    TOV_RUN_ROW(24, "USERS_RUNSERVICES", "HKU_RUNSERVICES", kStoreUsers, "HKEY_USER\\",
                "RunServices", false, kRemoveListedOnly),
    TOV_RUN_ROW(25, "USERS_RUNSERVICESONCE", "HKU_RUNSERVICESONCE", kStoreUsers, "HKEY_USER\\",
                "RunServicesOnce", false, kRemoveListedOnly),
    {100, "WIN_LOAD", "WIN.INI_LOAD", kStoreWinIni, "windows", "load", "WIN.INI     [Load] Section",
     true, kRemoveDelete, true},
    {101, "WIN_RUN", "WIN.INI_RUN", kStoreWinIni, "windows", "run", "WIN.INI     [Run] Section",
     true, kRemoveDelete, true},
    {200, "GROUP_STARTUP", "STARTUP_FOLDER", kStoreFolders, "", "", "Windows Startup Group", true,
     kRemoveDelete, true},
    {250, "WINLOGON_Userinit", "LOGON_USERINIT", kStoreMachine, TOV_WINLOGON, "UserInit",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Userinit", false,
     kRemoveReset, false},
    {251, "WINLOGON_Shell", "LOGON_SHELL", kStoreMachine, TOV_WINLOGON, "Shell",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Shell", false, kRemoveReset,
     false},
    {252, "REG_Delayload", "DELAYLOAD", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad", false,
     kRemoveAfterWarning, false},
    {253, "REG_TaskScheduler", "TASKSCHEDULER", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler", false,
     kRemoveAfterWarning, false},
    {254, "REG_ShellExecuteHook", "SHELLHOOK", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks", false,
     kRemoveAfterWarning, false},
    {255, "REG_AppInitDLLs", "APPINIT_DLL", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_Dlls",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows  AppInit_DLLs", false,
     kRemoveAfterWarning, false},
    {256, "RUN_WINLOGONNOTIFY", "NOTIFY", kStoreMachine, TOV_WINLOGON "\\Notify", "DllName",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Notify", true, kRemoveNone,
     false},
};

#undef TOV_RUN_ROW

// The disabled-store keys 31-35 have no catalogue row; their type names
// follow the history names of the same codes.
const CodeName kTypeNames[] = {
    {1, "HKLM_RUN"},
    {2, "HKLM_RUNONCE"},
    {3, "HKLM_RUNONCEEX"},
    {4, "HKLM_RUNSERVICES"},
    {5, "HKLM_RUNSERVICESONCE"},
    {6, "HKLM_RUNONCESETUP"},
    {11, "HKCU_RUN"},
    {12, "HKCU_RUNONCE"},
    {13, "HKCU_RUNONCEEX"},
    {14, "HKCU_RUNSERVICES"},
    {15, "HKCU_RUNSERVICESONCE"},
    {16, "HKCU_RUNONCESETUP"},
    {21, "HKU_RUN"},
    {22, "HKU_RUNONCE"},
    {23, "HKU_RUNONCEEX"},
    {24, "HKU_RUNSERVICES"},
    {25, "HKU_RUNSERVICESONCE"},
    {26, "HKU_RUNONCESETUP"},
    {31, "TOVREL_RUN"},
    {32, "TOVREL_RUNONCE"},
    {33, "TOVREL_RUNONCEEX"},
    {34, "TOVREL_RUNSERVICES"},
    {35, "TOVREL_RUNSERVICESONCE"},
    {100, "WIN.INI_LOAD"},
    {101, "WIN.INI_RUN"},
    {200, "STARTUP_FOLDER"},
    {250, "LOGON_USERINIT"},
    {251, "LOGON_SHELL"},
    {252, "DELAYLOAD"},
    {253, "TASKSCHEDULER"},
    {254, "SHELLHOOK"},
    {255, "APPINIT_DLL"},
    {256, "NOTIFY"},
};

// In the order of the history file's table: the first row of a code wins.
// The log names are the type table of the history file (core/history_names).


const char* const kDisabledStoreKeys[kDisabledStoreKeyCount] = {
    kDisabledRunKey,         kDisabledRunOnceKey,  kDisabledRunOnceExKey,
    kDisabledRunServicesKey, kDisabledRunServicesOnceKey, kDisabledWinLoadKey,
    kDisabledWinRunKey,      kDisabledRunOnceSetupKey,    kDisabledWinNotifyKey,
};

template <typename T, size_t N> constexpr int CountOf(const T (&)[N]) { return int(N); }

const CodeName* FindCode(const CodeName* rows, int count, int code) {
  for (int i = 0; i < count; ++i)
    if (rows[i].code == code) return &rows[i];
  return nullptr;
}

}  // namespace

int LocationCount() { return CountOf(kLocations); }
const LocationInfo& LocationAt(int row) { return kLocations[row]; }

const LocationInfo* FindLocation(int code) {
  for (const LocationInfo& row : kLocations)
    if (row.code == code) return &row;
  return nullptr;
}

const char* LocationTableText(int code) {
  const LocationInfo* row = FindLocation(code);
  return row ? row->text : "";
}

int TypeNameCount() { return CountOf(kTypeNames); }
const CodeName& TypeNameAt(int row) { return kTypeNames[row]; }

const char* TypeNameOf(int code) {
  const CodeName* row = FindCode(kTypeNames, TypeNameCount(), code);
  return row ? row->name : "";
}

int LogNameCount() { return HistoryTypeCount(); }
const CodeName& LogNameAt(int row) { return HistoryTypeAt(row); }
const char* LogNameOf(int code) { return HistoryTypeName(code); }
int LogCodeOf(const char* name) { return name ? HistoryTypeCode(name) : kCodeUnknown; }

const char* DisabledStoreKeyAt(int row) {
  if (row < 0 || row >= kDisabledStoreKeyCount) return nullptr;
  return kDisabledStoreKeys[row];
}

const char* DisabledStoreKeyOf(int code) {
  switch (code) {
    case kCodeMachineRun:
    case kCodeUserRun:
      return kDisabledRunKey;
    case kCodeMachineRunOnce:
    case kCodeUserRunOnce:
      return kDisabledRunOnceKey;
    case kCodeMachineRunOnceEx:
    case kCodeUserRunOnceEx:
      return kDisabledRunOnceExKey;
    case kCodeMachineRunServices:
    case kCodeUserRunServices:
      return kDisabledRunServicesKey;
    case kCodeMachineRunServicesOnce:
    case kCodeUserRunServicesOnce:
      return kDisabledRunServicesOnceKey;
    case kCodeWinLoad:
      return kDisabledWinLoadKey;
    case kCodeWinRun:
      return kDisabledWinRunKey;
    case kCodeWinlogonNotify:
      return kDisabledWinNotifyKey;
    default:
      return nullptr;
  }
}

}  // namespace tov

#include "core/history_names.h"

#include "core/text.h"

namespace tov {

namespace {

const HistoryName kTypes[] = {
    {1, "MACHINE_RUN"},
    {2, "MACHINE_RUNONCE"},
    {3, "MACHINE_RUNONCEEX"},
    {4, "MACHINE_RUNSERVICES"},
    {5, "MACHINE_RUNSERVICESONCE"},
    {11, "CURRENT_RUN"},
    {12, "CURRENT_RUNONCE"},
    {13, "CURRENT_RUNONCEEX"},
    {14, "CURRENT_RUNSERVICES"},
    {15, "CURRENT_RUNSERVICESONCE"},
    {21, "USERS_RUN"},
    {22, "USERS_RUNONCE"},
    {23, "USERS_RUNONCEEX"},
    {24, "USERS_RUNSERVICES"},
    {25, "USERS_RUNSERVICESONCE"},
    {31, "TOVREL_RUN"},
    {32, "TOVREL_RUNONCE"},
    {33, "TOVREL_RUNONCEEX"},
    {34, "TOVREL_RUNSERVICES"},
    {35, "TOVREL_RUNSERVICESONCE"},
    {100, "WIN_LOAD"},
    {101, "WIN_RUN"},
    {200, "GROUP_STARTUP"},
    {250, "WINLOGON_Userinit"},
    {251, "WINLOGON_Shell"},
    {252, "REG_Delayload"},
    {253, "REG_TaskScheduler"},
    {254, "REG_ShellExecuteHook"},
    {255, "REG_AppInitDLLs"},
    {500, "INFO_COOKIE"},
    {501, "INFO_NETCOOKIE"},
    {502, "INFO_SAVECOOKIE"},
    {503, "INFO_NUTS"},
    {600, "INFO_TASK"},
    {700, "SERVICE_EXE"},
    {701, "SERVICE_SVCHOST"},
    {800, "TASK_SCHEDULED"},
    {900, "TYPE_BHO"},
    {300, "RESTART_DELETE"},
    {301, "RESTART_RENAME"},
    {901, "TYPE_TOOLBAR"},
    {902, "TYPE_EXTENSION"},
    {350, "TYPE_MONITOR"},
    {360, "TYPE_BLACKLIST"},
    {450, "TYPE_PROSEARCH"},
    {400, "TYPE_FILETYPE"},
    {370, "TYPE_HIDDEN"},
    {256, "RUN_WINLOGONNOTIFY"},
    {3000, "TYPE_UNKNOWN"},
};

const HistoryName kActions[] = {
    {0, "*START_Remove"},
    {1, "START_Disable"},
    {2, "START_Enable"},
    {3, "IEHELPER_Remove"},
    {4, "TASK_Remove"},
    {5, "TASK_Kill"},
    {6, "START_Alert"},
    {7, "TASK_Alert"},
    {8, "IEHELPER_Alert"},
    {9, "SERVICE_Stop"},
    {10, "SERVICE_Automatic"},
    {11, "SERVICE_Manual"},
    {12, "SERVICE_Disabled"},
    {12, "START_Restore"},
    {13, "TASK_Restore"},
    {14, "IEHELPER_Restore"},
    {15, "ScheduledTask_Remove"},
    {17, "SERVICE_from_Automatic"},
    {18, "SERVICE_from_Manual"},
    {19, "SERVICE_from_Disabled"},
    {20, "SERVICE__from_Disabled"},
    {21, "RESET_USERINIT"},
    {22, "RESET_SHELL"},
    {23, "REMOVE_TaskScheduler"},
    {24, "REMOVE_DELAYLOAD"},
    {23, "REMOVE_TASKSCHEDULER"},
    {25, "REMOVE_SHELLEXECUTEHOOK"},
    {26, "REMOVE_APPINIT"},
    {28, "HIDDEN_Alert"},
    {29, "*HIDDEN_DeleteFile"},
    {30, "REMOVE_WinLogonNotify"},
    {31, "LOG_UNKNOWN"},
};

constexpr int kTypeRows = int(sizeof kTypes / sizeof kTypes[0]);
constexpr int kActionRows = int(sizeof kActions / sizeof kActions[0]);

const char* NameOf(const HistoryName* rows, int count, int code, const char* fallback) {
  for (int i = 0; i < count; ++i)
    if (rows[i].code == code) return rows[i].name;
  return fallback;
}

int CodeOf(const HistoryName* rows, int count, const char* name, int fallback) {
  if (name == nullptr) return fallback;
  for (int i = 0; i < count; ++i)
    if (EqualsNoCase(rows[i].name, name)) return rows[i].code;
  return fallback;
}

}  // namespace

int HistoryTypeCount() { return kTypeRows; }
const HistoryName& HistoryTypeAt(int row) { return kTypes[row]; }
int HistoryActionCount() { return kActionRows; }
const HistoryName& HistoryActionAt(int row) { return kActions[row]; }

const char* HistoryTypeName(int code) { return NameOf(kTypes, kTypeRows, code, "TYPE_UNKNOWN"); }
const char* HistoryActionName(int code) { return NameOf(kActions, kActionRows, code, "LOG_UNKNOWN"); }

int HistoryTypeCode(const char* name) { return CodeOf(kTypes, kTypeRows, name, kHistoryTypeUnknown); }
int HistoryActionCode(const char* name) {
  return CodeOf(kActions, kActionRows, name, kHistoryActionUnknown);
}

bool IsReversibleAction(int action) {
  return action == kActionStartRemove || action == kActionHiddenDeleteFile;
}

}  // namespace tov

// The code tables of the history file: the type of each event (the entry
// code it concerns) and the action taken. Lines hold the names, so the file
// stays readable by people and by other programs sharing it.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

constexpr size_t kHistoryNameCapacity = 48;   // longest name 47 characters
constexpr int kHistoryTypeUnknown = 3000;     // "TYPE_UNKNOWN"
constexpr int kHistoryActionUnknown = 31;     // "LOG_UNKNOWN"

// Action codes written by the program.
enum HistoryActionCode {
  kActionStartRemove = 0,        // "*START_Remove" (reversible)
  kActionStartDisable = 1,
  kActionStartEnable = 2,
  kActionHelperRemove = 3,
  kActionTaskKill = 5,
  kActionServiceStop = 9,
  kActionServiceAutomatic = 10,
  kActionServiceManual = 11,
  kActionServiceDisabled = 12,
  kActionFromAutomatic = 17,     // "SERVICE_from_Automatic"
  kActionFromManual = 18,        // "SERVICE_from_Manual"
  kActionFromDisabled = 19,      // "SERVICE_from_Disabled" (20 is a second spelling)
  kActionResetUserinit = 21,
  kActionResetShell = 22,
  kActionRemoveTaskScheduler = 23,
  kActionRemoveDelayLoad = 24,
  kActionRemoveShellExecuteHook = 25,
  kActionHiddenDeleteFile = 29,  // "*HIDDEN_DeleteFile" (reversible)
};

struct HistoryName {
  int code;
  const char* name;
};

// Type table (49 rows) and action table (32 rows), in file order. A code
// may have two rows: writing uses the first, reading accepts either.
int HistoryTypeCount();
const HistoryName& HistoryTypeAt(int row);
int HistoryActionCount();
const HistoryName& HistoryActionAt(int row);

// Name of a code (first row with it); "TYPE_UNKNOWN" / "LOG_UNKNOWN" when
// the code has no row.
const char* HistoryTypeName(int code);
const char* HistoryActionName(int code);
// Code of a name compared without case; 3000 / 31 when not found.
int HistoryTypeCode(const char* name);
int HistoryActionCode(const char* name);

// Actions the History window can reverse (their names start with "*").
bool IsReversibleAction(int action);

}  // namespace tov

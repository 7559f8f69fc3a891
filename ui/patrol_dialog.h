// The patrol-time dialog (dialog 160): the minutes between the resident
// monitor's patrols of one kind of item and, for some kinds, its real-time
// flag. The item is named by the string-table id of the dialog's title.
#pragma once
#include <windows.h>

#include "core/options_table.h"

namespace tov {

// Title ids of the items the dialog edits.
enum PatrolTitleId {
  kPatrolStartup = 784,
  kPatrolIEHelpers = 785,
  kPatrolTasks = 786,
  kPatrolCookies = 787,
  kPatrolFileTypes = 788,
  kPatrolCookieFilter = 789,
  kPatrolWinInit = 790,
  kPatrolStartPage = 791,
  kPatrolHostFile = 792,
  kPatrolHidden = 924,
  kPatrolServices = 957,
};

// Result of PatrolTimeDialog when the user closes it without OK.
constexpr int kPatrolCancelled = -1;

struct PatrolItem {
  int titleId;
  OptionId minutes;   // the minutes option ("Start", "IEHelpers", ...)
  OptionId realtime;  // the real-time flag, kOptionCount when the item has none
};

// The item of a title id; nullptr for a title the dialog does not know.
const PatrolItem* FindPatrolItem(int titleId);

// Opens the modal dialog for the item of titleId, owned by owner. Returns the
// minutes on OK (0 when the number box holds no number), kPatrolCancelled on
// Close or Escape. Clicking the check box changes the item's real-time flag
// at once (in memory and in the options); Close puts it back as it was.
int PatrolTimeDialog(HWND owner, int titleId);

// Stores a dialog result in the item's minutes option (SetSetting and
// SetOption). Returns false, changing nothing, for kPatrolCancelled or an
// unknown title. The caller then shows its monitor-state button with
// ShowPatrolState(page, PatrolIsOn(titleId), PatrolIsRealtime(titleId)).
bool ApplyPatrolResult(int titleId, int result);

// The item's minutes are above 0 (in-memory setting).
bool PatrolIsOn(int titleId);
// The item has a real-time flag and it is on (in-memory setting).
bool PatrolIsRealtime(int titleId);

}  // namespace tov

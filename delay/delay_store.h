// The delayed-start store: programs taken out of normal startup so that the
// resident monitor starts them a number of seconds after Windows has
// started. The store exists under HKEY_LOCAL_MACHINE (programs of every
// user) and HKEY_CURRENT_USER; its six keys hold one value per program,
// named by the program path (see delay_rules.h).
//
// Moving in and out never leaves a program half-done: it is either delayed
// or in its autostart location, never in both (it would start twice) and
// never in neither.
#pragma once
#include <windows.h>

#include <cstddef>

#include "delay/delay_rules.h"

namespace tov {

enum class MoveResult {
  kMoved,
  kCancelled,  // the all-users question was answered Cancel
  kRefused,    // cannot be delayed (message 1130 shown)
  kFailed,     // a write or the removal failed; everything is as it was
};

// Moves a startup entry into the store. Entries of the machine's Run keys
// (codes below 10) ask question 1120 first (owner: the question's owner,
// null for the active window). Refused with message 1130: a program file
// lying in a Startup folder itself (not a shortcut), and a program that is
// already delayed (its values would be overwritten). The shortcut arguments
// of a Startup-folder entry are kept as its parameters; a disabled one is
// restored into the user's Startup folder rather than the "Disabled" one.
MoveResult MoveToDelayed(HWND owner, const char* title, const char* command, const char* source,
                         int code, int flag);
// The same for the entry at entryIndex of the entry list. True when moved.
bool MoveToDelayedStart(int entryIndex);

// Writes a program as delayed for all users (code 1) or the current user
// (11), 30 seconds. False when it is already delayed in either hive (left
// as it is) or a write failed.
bool AddDelayed(const char* program, bool allUsers);

// Clears the entry list and lists the delayed programs of both hives:
// code = the stored location code, flag = hive index (0 machine, 1 user).
int BuildDelayedList();

// Puts the delayed entry back into its autostart location and, only when
// that succeeded, deletes its values. False when nothing was written back
// (its values are then all kept).
bool RestoreDelayed(int entryIndex);
// Takes the delayed entry out of the store without putting it back (all six
// values of its hive). True when none is left.
bool RemoveDelayed(int entryIndex);
// Lists the store and restores every entry; the number restored.
int RestoreAllDelayed();
// Deletes the program's values from the six keys of the hive. True when
// none of them is left.
bool DeleteDelayValues(HKEY hive, const char* program);
// Starts the delayed entry's program now (its values stay). True when
// started.
bool LaunchDelayed(int entryIndex);

// The name of a listed entry's values in its hive: the list shows every
// path in its long form, the store may name a program otherwise (a short
// name). False when the program is no longer delayed.
constexpr size_t kDelayNameCapacity = kDelayValueCapacity;
bool DelayedEntryName(int entryIndex, char (&out)[kDelayNameCapacity]);
// The hive of a hive index (0 machine, otherwise user).
HKEY DelayHiveKey(int hiveIndex);
// True when the program has a Delay value in either hive.
bool IsProgramDelayed(const char* program);
// A value of the program from one of the store's keys; 0 and empty text
// when absent.
size_t ReadDelayValue(HKEY hive, const char* key, const char* program, char* out, size_t cap);
template <size_t N>
size_t ReadDelayValue(HKEY hive, const char* key, const char* program, char (&out)[N]) {
  return ReadDelayValue(hive, key, program, out, N);
}
// The stored delay in seconds; false when there is none.
bool ReadDelaySeconds(HKEY hive, const char* program, long* seconds);

}  // namespace tov

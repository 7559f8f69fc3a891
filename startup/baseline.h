// The known lists (every startup command, IE helper and scheduled task the
// baseline holds) and the first-detection store (when each item of every
// page was first seen), both read by the resident monitor too.
#pragma once
#include <cstddef>

#include "startup/baseline_rules.h"

namespace tov {

// A first-detection date is read with this capacity (23 characters).
constexpr size_t kFirstDetectedCapacity = 24;

// The date recorded for program in the kind of store the code reads (up
// to 23 characters); returns its length, 0 and empty text when none is
// recorded.
size_t GetFirstDetected(const char* program, int code, char* out, size_t cap);
template <size_t N> size_t GetFirstDetected(const char* program, int code, char (&out)[N]) {
  return GetFirstDetected(program, code, out, N);
}

// Records now as the first detection of the program of command
// (ProgramOfCommand) in the store sub-key detectedKey (a path under
// HKEY_CURRENT_USER, for example "Software\Brenvik\Detected\Startup").
// 1 when it was already recorded (or the command names no program), 0
// when it was recorded now.
int RecordFirstDetected(const char* command, const char* detectedKey);

// Creates the first-detection store once, dating every item every family
// finds now; does nothing when the store's creation date is present.
void InitDetected();
// Writes every current startup entry into the known list "Run" (path with
// "=" as ":", data the code), then the IE helpers and the scheduled tasks
// into theirs.
void InitRegStartups();
// Empties and re-creates the three known lists, then InitRegStartups.
void ResetKnownItems();

}  // namespace tov

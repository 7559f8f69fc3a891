// The first-detection store: when each item of every page was first seen,
// kept under HKEY_CURRENT_USER and read by the resident monitor too.
#pragma once
#include <cstddef>

#include "core/detected_rules.h"

namespace tov {

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

// While held (holds nest), each kind's store is read once into a table the
// two functions above answer from and keep up to date: a list fill asks
// once per entry.
void HoldFirstDetected();
void ReleaseFirstDetected();
struct FirstDetectedHeld {
  FirstDetectedHeld() { HoldFirstDetected(); }
  ~FirstDetectedHeld() { ReleaseFirstDetected(); }
  FirstDetectedHeld(const FirstDetectedHeld&) = delete;
  FirstDetectedHeld& operator=(const FirstDetectedHeld&) = delete;
};

}  // namespace tov

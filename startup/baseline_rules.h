// Names of the known lists and of the first-detection store, and which
// kind of the store an entry code reads. No Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// Known lists under HKEY_CURRENT_USER (value name = command or title, data =
// code in decimal).
extern const char kKnownRunKey[];        // "Software\Brenvik\Tovrel\Run"
extern const char kKnownIEHelpersKey[];  // "Software\Brenvik\Tovrel\IEHelpers"
extern const char kKnownTasksKey[];      // "Software\Brenvik\Tovrel\Tasks"
// The marker the reset of the Winlogon values writes, under HKEY_LOCAL_MACHINE.
extern const char kMachineRunMarkerKey[];  // "Software\Brenvik\Tovrel\Run"
// The name a command has in the known list "Run": every "=" turned into ":"
// (a registry editor import reads "=" as the end of a name). Seeding,
// adding, restoring and removing all use it. False when the name would be
// longer than 259 characters (out is then empty).
bool KnownListName(const char* command, char* out, size_t cap);
// Code written into the known list for a program moved to delayed start.
constexpr int kKnownDelayedCode = 1103;

// First-detection store under HKEY_CURRENT_USER: the default value holds
// when the store was made; one sub-key per kind.
extern const char kDetectedKey[];  // "Software\Brenvik\Detected"
constexpr size_t kDetectedKeyCapacity = 64;
constexpr int kDetectedKindCount = 7;
// The kinds in the order the store is created and seeded: "Startup",
// "IEHelper", "Services", "Tasks", "ActiveTasks", "FileTypes", "Hidden".
const char* DetectedKindAt(int row);
// The kind whose sub-key an entry code reads: below 300 "Startup", 370
// "Hidden", 400 "FileTypes", 700 and 701 "Services", 800 "Tasks", 900-902
// "IEHelper", every other code "ActiveTasks".
const char* DetectedKindOf(int code);
// "Software\Brenvik\Detected\<kind>"; false and empty text when cut.
bool DetectedKeyOf(const char* kind, char* out, size_t cap);
template <size_t N> bool DetectedKeyOf(const char* kind, char (&out)[N]) {
  return DetectedKeyOf(kind, out, N);
}

}  // namespace tov

// Names of the known lists and of the first-detection store, and which
// kind of the store an entry code reads. No Windows headers.
#pragma once
#include <cstddef>

#include "core/detected_rules.h"

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

}  // namespace tov

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
// Code written into the known list for a program moved to delayed start.
constexpr int kKnownDelayedCode = 1103;

}  // namespace tov

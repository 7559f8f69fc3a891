// The known lists (every startup command, IE helper and scheduled task the
// baseline holds) and the first-detection store (when each item of every
// page was first seen), both read by the resident monitor too.
#pragma once
#include <cstddef>

#include "core/detected.h"
#include "startup/baseline_rules.h"

namespace tov {

// Creates the first-detection store, dating every item every family finds
// now; once the store exists, seeds only a family whose sub-key is missing.
void InitDetected();
// Writes every current startup entry into the known list "Run" (path with
// "=" as ":", data the code), then the IE helpers and the scheduled tasks
// into theirs.
void InitRegStartups();
// Empties and re-creates the three known lists, then InitRegStartups.
void ResetKnownItems();

}  // namespace tov

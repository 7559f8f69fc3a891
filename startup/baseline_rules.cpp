#include "startup/baseline_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

const char kKnownRunKey[] = "Software\\Brenvik\\Tovrel\\Run";
const char kKnownIEHelpersKey[] = "Software\\Brenvik\\Tovrel\\IEHelpers";
const char kKnownTasksKey[] = "Software\\Brenvik\\Tovrel\\Tasks";
const char kMachineRunMarkerKey[] = "Software\\Brenvik\\Tovrel\\Run";

bool KnownListName(const char* command, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (command == nullptr || strlen(command) >= kPathCapacity || strlen(command) >= cap)
    return false;
  EqualsToColon(command, out, cap);
  return true;
}

}  // namespace tov

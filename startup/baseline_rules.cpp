#include "startup/baseline_rules.h"

#include "core/text.h"

namespace tov {

const char kKnownRunKey[] = "Software\\Brenvik\\Tovrel\\Run";
const char kKnownIEHelpersKey[] = "Software\\Brenvik\\Tovrel\\IEHelpers";
const char kKnownTasksKey[] = "Software\\Brenvik\\Tovrel\\Tasks";
const char kMachineRunMarkerKey[] = "Software\\Brenvik\\Tovrel\\Run";

}  // namespace tov

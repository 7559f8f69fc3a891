#include "app/initialise.h"

#include "core/messages.h"
#include "core/options_table.h"
#include "core/settings.h"
#include "core/trace.h"

namespace tov {

void Initialise() {
  SetMemoryTrace(false);
  SelectTextLanguage();
  if (GetOption("Debug", kDefaultDebug) != 0) SetMemoryTrace(true);
  LoadOptions();
}

// The delayed-start store, automatic start and installer entry are taken
// back here as those parts of the program land.
void RemoveInstallation() {}

void ToggleAutoStart() {}

}  // namespace tov

// One-time initialisation before the first page, and the removal path.
#pragma once

namespace tov {

// Selects the text language, reads the trace switch and loads the options.
// Called at start and again when the Options page is initialised.
void Initialise();
// Takes the installation back ("-remove" and "-repair").
void RemoveInstallation();
// Command 6031: switches the monitor's automatic start.
void ToggleAutoStart();

}  // namespace tov

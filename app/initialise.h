// Initialisation before the first page (first run, installed-programs
// entry, baselines of every family, configuration version, options) and
// the removal path of "-remove" and "-repair".
#pragma once

namespace tov {

// The configuration version this program writes; a different stored one
// makes the known lists be recorded afresh.
extern const char kConfigurationVersion[];  // "11.2.2007.1"
extern const char kUninstallKey[];  // HKLM "SOFTWARE\...\Uninstall\Tovrel 2007"

// The ini and trace paths from the data and program folders.
void ComputeProgramPaths();
// Everything before the first page, in its fixed order. Called at start and
// again when the Options page is initialised, so the options are read
// afresh.
void Initialise();
// The entry in the platform's list of installed programs, with the Run-key
// backup; runs while no installer has written "UninstallString".
void RegisterUninstallEntry();
// Takes the installation back ("-remove" and "-repair"): the delayed
// programs return to normal startup, the monitor's automatic start and the
// installed-programs entry go. The user's history, settings, data folder
// and Run-key backup stay.
void RemoveInstallation();

}  // namespace tov

// The resident monitor's automatic start with Windows: the machine Run
// value "Tovrel" pointing at tovrel.exe in the program folder, and the
// in-memory flag the Options page and command 6031 show and switch.
#pragma once

namespace tov {

extern const char kMachineRunKey[];  // "Software\Microsoft\Windows\CurrentVersion\Run"
extern const char kMonitorFileName[];  // "tovrel.exe"

// True when the machine Run key holds a non-empty value named "Tovrel".
bool IsAutoStartOn();
// The remembered state (set by Initialise and by SetAutoStart).
bool AutoStartFlag();
void SetAutoStartFlag(bool on);

// On: writes the Run value and marks the monitor's own entry as known.
// Nothing is written, and false is returned, when tovrel.exe is not in the
// program folder: a Run value naming a missing program would fail at every
// Windows start. Off: removes the Run value as the Startup page's Remove
// does. Either way the remembered state is then what IsAutoStartOn finds.
// True when the change was made.
bool SetAutoStart(bool on);
// Command 6031: switches to the opposite of the remembered state.
void ToggleAutoStart();

}  // namespace tov

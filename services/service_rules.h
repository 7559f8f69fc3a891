// Rules of the services catalogue that need no system calls: which services
// are listed, the texts of start types and states, and the history events
// of a change of start type.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

constexpr unsigned long kStartAutomatic = 2;
constexpr unsigned long kStartManual = 3;
constexpr unsigned long kStartDisabled = 4;
constexpr int kStartTypeChoices = 3;  // Automatic, Manual, Disabled in list order

// Text id of a "Start" value (664 Automatic, 665 Manual, 666 Disabled), 0
// for any other value: those are shown as "0".
int StartTypeTextId(unsigned long start);

// Text id of a service's current state (1 to 7: 652 to 658); any other
// value reads as "Stopped" (652).
int ServiceStateTextId(unsigned long state);

// True when the "ImagePath" names a program the page lists: it contains
// ".exe" or "svchost"; a driver's ".sys" is not listed.
bool IsListedServiceImage(const char* imagePath);
// True when the service is hosted by "svchost".
bool IsSharedServiceImage(const char* imagePath);

// Command column of a service row: "svchost.exe " before the file-name
// part of the path for a hosted service; the whole path when it has no
// folder. False when cut.
bool ServiceCommandText(bool shared, const char* path, char* out, size_t cap);

// History action naming the start type a service had before a change:
// "SERVICE_from_Automatic", "_Manual" or "_Disabled"; -1 for any other
// former value (no event).
int FormerStartAction(unsigned long formerStart);
// History action of the new start type (10, 11 or 12); -1 for other values.
int NewStartAction(unsigned long start);

}  // namespace tov

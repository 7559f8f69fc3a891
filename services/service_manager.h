// The Windows services of the NT family: the catalogue read from the
// registry, the state asked of the service manager, stopping a service and
// changing its start type with their history lines, and the baseline of
// known services.
#pragma once
#include <windows.h>

#include <cstddef>

#include "services/services.h"  // the services contract, implemented here too

namespace tov {

extern const char kServicesKey[];          // HKLM "SYSTEM\CurrentControlSet\Services"
extern const char kServiceBaselineKey[];   // HKCU "Software\Brenvik\Tovrel\Services"
extern const char kServicesDetectedKey[];  // HKCU "Software\Brenvik\Detected\Services"
constexpr size_t kServiceNameCapacity = 256;       // key names (255 characters)
constexpr size_t kServiceDisplayCapacity = 4096;   // display names from the manager
constexpr size_t kServiceTextCapacity = 512;       // ImagePath, DisplayName, ServiceDll
constexpr size_t kServiceDescriptionRoom = 4096;   // descriptions as read
constexpr size_t kServiceStateCapacity = 256;

// Clears the entry list and adds every service that runs a program (".exe"
// or "svchost" with its "Parameters\ServiceDll"): title the display name,
// path the program, source the start-type text, extra the description,
// code 700 or 701. With "HideMicrosoftServices" on, services whose program
// comes from a company named "Microsoft" are left out. Returns the count.
int ScanServices();

// The manager's display name of a service key; 1 when it knows the service.
int ServiceDisplayName(const char* keyName, char* out, size_t cap);

// (current state << 16) | low 16 bits of the service type, asked with an
// interrogation; 0 when the service cannot be opened or does not answer (a
// stopped service does not answer).
DWORD QueryServiceState(const char* displayName);

// The key name of the service shown under a display name: the manager's
// translation, else the first registry key with that "DisplayName". False
// when there is none.
bool FindServiceKeyName(const char* displayName, char (&keyName)[kServiceNameCapacity]);

// Records the known services once per profile, for the resident monitor.
void InitServiceBaseline();

}  // namespace tov

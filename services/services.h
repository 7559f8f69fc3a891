// What the services family offers the other parts: a service's description,
// state and control, and its start type.
#pragma once
#include <cstddef>

namespace tov {

// The description of the service whose program this is; its length.
size_t ServiceDescriptionOfProgram(const char* program, char* out, size_t cap);
// The state text of a service (display name); the state value, 0 when the
// service does not answer.
int ServiceStateText(const char* displayName, char* out, size_t cap);
// Sends a control code; 1 when the service accepted it.
int SendServiceControl(const char* displayName, unsigned long control);
// Writes the start value of the service of that display name.
int SetServiceStartType(const char* displayName, unsigned long start);

// Stops the service and, when the stop was accepted, writes its
// "SERVICE_Stop" history line. True when accepted.
bool StopServiceLogged(const char* title, const char* path, int code);
// Writes "Start" = start of the service and then its history lines: the
// start type it had before (when it was Automatic, Manual or Disabled),
// then the new one. Nothing is logged when nothing was written.
bool ApplyServiceStartType(const char* title, const char* path, int code, unsigned long start);

}  // namespace tov

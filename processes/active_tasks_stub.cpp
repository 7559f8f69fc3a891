// Stand-ins for what the information window asks of the active-tasks,
// services and scheduled-tasks families, until those land: nothing is
// running, no service or task is known. Each one goes when its family
// provides the real function.
#include <cstddef>

#include "ui/info_window.h"

namespace tov {

bool IsProgramRunning(const char*) { return false; }

unsigned long StopRunningProgram(const char*, const char*, bool) { return 0; }

size_t ServiceDescriptionOfProgram(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
  return 0;
}

int ServiceStateText(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
  return 0;
}

int SendServiceControl(const char*, unsigned long) { return 0; }

int SetServiceStartType(const char*, unsigned long) { return 0; }

}  // namespace tov

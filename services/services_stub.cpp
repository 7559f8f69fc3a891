// Stand-in until the services family lands: no service is known. The
// family deletes this file when it provides the real functions.
#include "services/services.h"

namespace tov {

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

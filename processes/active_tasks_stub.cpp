// Stand-ins for what the information window asks of the scheduled-tasks
// family, until it lands: no task is known.
#include <cstddef>

#include "ui/info_window.h"

namespace tov {

void GetTaskStatusText(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
}

void GetTaskComment(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
}

}  // namespace tov

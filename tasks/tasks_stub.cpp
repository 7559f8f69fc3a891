// Stand-in until the scheduled-tasks family lands: no task is known. The
// family deletes this file when it provides the real functions.
#include "tasks/tasks.h"

namespace tov {

void GetTaskStatusText(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
}

void GetTaskComment(const char*, char* out, size_t cap) {
  if (cap) out[0] = 0;
}

}  // namespace tov

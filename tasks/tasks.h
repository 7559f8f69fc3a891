// What the scheduled-tasks family offers the other parts: a task's status
// text and comment.
#pragma once
#include <cstddef>

namespace tov {

// The status text and the comment of a task (by name).
void GetTaskStatusText(const char* taskName, char* out, size_t cap);
void GetTaskComment(const char* taskName, char* out, size_t cap);

}  // namespace tov

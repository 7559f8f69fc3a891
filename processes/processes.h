// What the active-tasks family offers the other parts: whether a program is
// running, and ending it.
#pragma once

namespace tov {

// True when a running process has this program file.
bool IsProgramRunning(const char* path);
// Ends the running process of the program (asking first with ask); the
// process id found, 0 when none was running.
unsigned long StopRunningProgram(const char* path, const char* title, bool ask);

}  // namespace tov

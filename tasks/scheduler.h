// Access to the Windows Task Scheduler through its COM interfaces: making
// sure the scheduler runs, listing its work items into the entry list,
// deleting one by name, and a task's comment and status text. Each
// operation initialises COM itself and ends what it had to start.
#pragma once
#include <windows.h>

#include <cstddef>

#include "tasks/task_rules.h"

namespace tov {

// Window of the scheduler agent on the Windows 9x family.
extern const char kAgentWindowClass[];  // "SAGEWINDOWCLASS"
extern const char kAgentWindowTitle[];  // "SYSTEM AGENT COM WINDOW"
extern const char kAgentProgram[];      // "mstask.exe"
extern const char kScheduleService[];   // "Schedule"

// 0 when the scheduler is available, else the system error code. On the 9x
// family an absent agent is started ("mstask.exe" on the search path) and
// counts as started here; on the NT family the "Schedule" service is
// started when it is not running (already running, 1056, counts as
// available) and is left running: a service is never counted as started
// here.
DWORD EnsureScheduler();
// Ends what EnsureScheduler started: on the 9x family the agent (through
// its window, or the process started when its window never appeared); on
// the NT family a stop request to the "Schedule" service. 0 on success or
// when nothing was running, 1 when the stop was refused or the agent
// window is absent, else a system error code.
DWORD ReleaseScheduler();
// True while an agent started by EnsureScheduler has not been released.
bool SchedulerStartedHere();

// Clears the entry list and adds one entry per task that can be opened:
// title the work-item name, path its application, source the next and
// extra the most recent run time (FormatRunTime), code 800. Within each
// batch of five names the last comes first. Returns the number of entries
// (0 when the scheduler is not available, a negative COM error when COM
// cannot be set up).
int ListScheduledTasks();
// Deletes the first task whose name equals name (any case). S_OK when it
// was deleted; the scheduler's error, or HRESULT_FROM_WIN32 of the
// availability error or of ERROR_FILE_NOT_FOUND when there was no such task.
HRESULT DeleteScheduledTask(const char* name);
// The comment of the first task of that name; empty text when there is
// none. Returns its length.
size_t ReadTaskComment(const char* name, char* out, size_t cap);
// "Status: Ready" / "Status: Running" / "Status: Not Scheduled" for the
// first task of that name; empty text when it cannot be found or opened.
size_t ReadTaskStatusText(const char* name, char* out, size_t cap);

// "Never" for a time without a date, else "MM/DD/YYYY  h:mm AM" (or PM).
size_t FormatRunTime(const SYSTEMTIME& t, char* out, size_t cap);

}  // namespace tov

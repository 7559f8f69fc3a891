// The walk over running processes on both Windows families, and what is
// built on it: the list of running programs, finding and ending the process
// of a program, and ending a process by id.
#pragma once
#include <windows.h>

namespace tov {

// Called for every process (task16 is 0) and every 16-bit task of an NT
// virtual DOS machine (the machine's process id and the task's handle);
// fileName is the module file name, empty when the process could not be
// opened. Return false to end the walk.
using ProcessStep = bool (*)(DWORD processId, WORD task16, const char* fileName, LPARAM value);

// Walks the running processes: on the NT family through "PSAPI.DLL" (and
// "VDMDBG.DLL" for 16-bit tasks, skipped when it is missing), on the 9x
// family through the tool-help functions, taking a full path from the
// module list when the snapshot gives a bare file name. 1 when the walk
// ran, 0 when the platform functions are missing.
int EnumProcs(ProcessStep step, LPARAM value);

// Clears the entry list and adds one entry per running program file (code
// 600, title its FileDescription, flag the id of its first process found).
// Returns the number of entries.
int ListActiveTasks();

// The id of a running process of a program (full, short or bare name), 0
// when none. A bare name of a common host program (RUNDLL32.EXE, ...)
// matches nothing: which process it means cannot be told.
DWORD FindProcessOfProgram(const char* program);

// Ends process id with exit code 1 and waits a moment for it to go. Returns
// the result of TerminateProcess (0 when the process cannot be opened).
BOOL KillProcessId(DWORD processId);

// Ends process id only when it still runs program (ids are reused as soon
// as a process ends). True when it was ended.
bool KillProcessOfProgram(DWORD processId, const char* program);

}  // namespace tov

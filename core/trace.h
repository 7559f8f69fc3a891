// Diagnostic trace points. The program passes a fixed label and a detail at
// known points; records are written only when tracing is switched on.
#pragma once

namespace tov {

void Trace(const char* label, const char* detail);
// True when trace records are written now (the trace file exists), so a
// costly detail is worked out only for a record that will be kept.
bool Tracing();
// Tracing writes to the given file (the program folder's "sendex2tv.txt");
// an empty path, the default, keeps every trace point silent.
void SetTracePath(const char* path);
// Memory-load trace point used by page creation and clean-up when the
// "Debug" option is on.
void TraceMemory(const char* label);
void SetMemoryTrace(bool on);

}  // namespace tov

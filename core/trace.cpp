#include "core/trace.h"

#include <windows.h>

#include <cstdio>

#include "core/owned.h"
#include "core/text.h"

namespace tov {

namespace {
char g_tracePath[kPathCapacity];
bool g_memoryTrace = false;
}  // namespace

void SetTracePath(const char* path) { CopyText(g_tracePath, path ? path : ""); }
void SetMemoryTrace(bool on) { g_memoryTrace = on; }

// Records go to the trace file only when it already exists: a user or
// support person switches tracing on by creating the file next to the
// program, and nothing is written otherwise.
bool Tracing() {
  return g_tracePath[0] != 0 && GetFileAttributesA(g_tracePath) != INVALID_FILE_ATTRIBUTES;
}

void Trace(const char* label, const char* detail) {
  if (g_tracePath[0] == 0) return;
  Handle f(CreateFileA(g_tracePath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return;
  char line[1100];
  int n = snprintf(line, sizeof line, "%s\t%s\r\n", label ? label : "", detail ? detail : "");
  if (n < 0) return;
  if ((size_t)n >= sizeof line) n = sizeof line - 1;
  DWORD written = 0;
  WriteFile(f.get(), line, DWORD(n), &written, nullptr);
}

void TraceMemory(const char* label) {
  if (!g_memoryTrace) return;
  MEMORYSTATUS ms{};
  ms.dwLength = sizeof ms;
  GlobalMemoryStatus(&ms);
  char text[32];
  snprintf(text, sizeof text, "%ld %%", (long)ms.dwMemoryLoad);
  Trace(label, text);
}

}  // namespace tov

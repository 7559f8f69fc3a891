// A program that only waits, for the tests of the running-program walk:
//   sleeper [milliseconds]   waits that long (default 60000), then exits 0.
// Tests start it, find it and end it.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  long ms = commandLine && commandLine[0] ? strtol(commandLine, nullptr, 10) : 0;
  Sleep(ms > 0 ? DWORD(ms) : 60000);
  return 0;
}

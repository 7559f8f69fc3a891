// Test helper: writes "ran" and its own command line into the file named by
// its last argument, so a test can see that a launch really started it.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const char* file = strrchr(commandLine, ' ');
  file = file ? file + 1 : commandLine;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(h, "ran ", 4, &written, nullptr);
  WriteFile(h, commandLine, DWORD(strlen(commandLine)), &written, nullptr);
  CloseHandle(h);
  return 0;
}

#include "tests/support/wine_support.h"

#include <cstdio>

namespace testsupport {

std::string BinFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\'));
}

std::string BinPath(const char* file) { return BinFolder() + "\\" + file; }

static void DeleteTree(HKEY root, const char* key) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
  char name[260];
  for (;;) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(k, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string sub = std::string(key) + "\\" + name;
    DeleteTree(root, sub.c_str());
  }
  RegCloseKey(k);
  RegDeleteKeyA(root, key);
}

void ClearProductKeys() {
  DeleteTree(HKEY_CURRENT_USER, "Software\\Brenvik");
  DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Brenvik");
}

bool IsWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool IsNtFamily() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HANDLE StartProgram(const std::string& exe, const std::string& args) {
  std::string line = "\"" + exe + "\"";
  if (!args.empty()) line += " " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

long WaitExit(HANDLE process, DWORD ms) {
  if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return long(code);
}

std::string ReadWholeFile(const std::string& path) {
  std::string out;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  fclose(f);
  return out;
}

std::string TempFilePath(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name;
}

}  // namespace testsupport

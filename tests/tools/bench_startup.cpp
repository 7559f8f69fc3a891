// Benchmark of the startup enumeration: seeds 100, 1000 and 4000 Run values
// (spread over the HKLM and HKCU Run keys) and a few entries of the other
// locations, then times BuildStartupList(0) against a bare RegEnumValueA
// walk over the same keys. Prints one table row per size; removes what it
// seeded. Run it in a throwaway prefix (./dev bench).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/registry.h"
#include "startup/catalogue.h"
#include "startup/entries.h"
#include "startup/enumerate.h"

using namespace tov;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kWindowsNt[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kNotifyBench[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\Bench Notify";

// Command forms as real Run keys hold them.
const char* const kForms[] = {
    "\"C:\\Program Files\\Bench Vendor\\Agent %05d\\agent.exe\" /min",
    "C:\\PROGRA~1\\BENCH\\tool%05d.exe",
    "rundll32.exe C:\\Bench\\lib%05d.dll,Start",
    "%%SystemRoot%%\\system32\\bench%05d.exe -background",
    "C:\\Users\\Bench User\\AppData\\Local\\Bench\\Update%05d.exe --processStart Bench.exe",
};

void ValueName(int i, char (&name)[32]) { wsprintfA(name, "Bench Value %05d", i); }

bool SeedRun(int n) {
  HKEY keys[2];
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keys[0],
                      nullptr) != ERROR_SUCCESS)
    return false;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keys[1],
                      nullptr) != ERROR_SUCCESS) {
    RegCloseKey(keys[0]);
    return false;
  }
  for (int i = 0; i < n; ++i) {
    char name[32];
    char data[256];
    ValueName(i, name);
    wsprintfA(data, kForms[i % 5], i);
    RegSetValueExA(keys[i % 2], name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   DWORD(strlen(data) + 1));
  }
  RegCloseKey(keys[0]);
  RegCloseKey(keys[1]);
  return true;
}

void RemoveRun(int n) {
  HKEY keys[2] = {};
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &keys[0]);
  RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &keys[1]);
  for (int i = 0; i < n; ++i) {
    char name[32];
    ValueName(i, name);
    if (keys[i % 2]) RegDeleteValueA(keys[i % 2], name);
  }
  if (keys[0]) RegCloseKey(keys[0]);
  if (keys[1]) RegCloseKey(keys[1]);
}

// A few entries of the other locations, so every reader has work.
struct Others {
  char startupFile[MAX_PATH] = "";
  char appInit[1024] = "";
};

void SeedOthers(Others* o) {
  char folder[MAX_PATH];
  if (GetRegString(HKEY_CURRENT_USER, kShellFolders, "Startup", folder) > 0) {
    CreateDirectoryA(folder, nullptr);
    wsprintfA(o->startupFile, "%s\\Bench Startup.pif", folder);
    HANDLE h = CreateFileA(o->startupFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  WriteProfileStringA("windows", "run", "C:\\Bench\\winrun.exe");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Bench Disabled", "1");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledRunKey, "Bench Disabled", "C:\\Bench\\disabled.exe");
  GetRegString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", o->appInit);
  SetRegString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", "C:\\Bench\\hook1.dll,C:\\Bench\\hook2.dll");
  SetRegString(HKEY_LOCAL_MACHINE, kNotifyBench, "DllName", "C:\\Bench\\notify.dll");
}

void RemoveOthers(const Others& o) {
  if (o.startupFile[0]) DeleteFileA(o.startupFile);
  WriteProfileStringA("windows", "run", nullptr);
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, "Bench Disabled");
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledRunKey, "Bench Disabled");
  SetRegString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", o.appInit);
  DeleteRegTree(HKEY_LOCAL_MACHINE, kNotifyBench);
}

double Now(const LARGE_INTEGER& frequency) {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2.0;
}

// The bare walk: every value of both Run keys with the enumeration's buffers.
int BareWalk() {
  int values = 0;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    for (DWORD i = 0;; ++i) {
      char name[255];
      BYTE data[255];
      DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
      LONG r = RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r == ERROR_SUCCESS) ++values;
    }
    RegCloseKey(key);
  }
  return values;
}

}  // namespace

int main() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitialize(nullptr);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  Others others;
  SeedOthers(&others);
  printf("%6s %8s %10s %12s %12s %8s %7s\n", "N", "entries", "total ms", "us/entry",
         "walk us/val", "ratio", "reps");
  const int sizes[] = {100, 1000, 4000};
  for (int n : sizes) {
    if (!SeedRun(n)) {
      printf("%6d  could not write the Run keys\n", n);
      continue;
    }
    const int reps = n >= 4000 ? 5 : 9;
    std::vector<double> build, walk;
    int entries = 0, walked = 0;
    BuildStartupList(0);  // warm-up: first loads of version and shell libraries
    for (int r = 0; r < reps; ++r) {
      double t0 = Now(frequency);
      entries = BuildStartupList(0);
      double t1 = Now(frequency);
      walked = BareWalk();
      double t2 = Now(frequency);
      build.push_back(t1 - t0);
      walk.push_back(t2 - t1);
    }
    double total = Median(build);
    double walkMs = Median(walk);
    double perEntry = total * 1000.0 / (entries > 0 ? entries : 1);
    double perValue = walkMs * 1000.0 / (walked > 0 ? walked : 1);
    printf("%6d %8d %10.2f %12.2f %12.3f %8.1f %7d\n", n, entries, total, perEntry, perValue,
           perValue > 0 ? perEntry / perValue : 0.0, reps);
    fflush(stdout);
    ClearEntries();
    RemoveRun(n);
  }
  RemoveOthers(others);
  CoUninitialize();
  return 0;
}

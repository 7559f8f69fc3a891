// Benchmark of the startup enumeration: seeds 100, 1000 and 4000 Run values
// (spread over the HKLM and HKCU Run keys) and a few entries of the other
// locations, then times BuildStartupList(0) against a bare RegEnumValueA
// walk over the same keys. Prints one table row per size.
//
// A second table times what the user waits for: the property sheet opened at
// Startup Programs until its list holds every row (program icons, company
// names and first-detection dates included), next to BuildStartupList(1)
// alone, for 100 and 1000 Run values that point at existing program files
// (links to a few system programs, one file per value). The program's
// resources come from TovrelEx.exe beside this file, loaded as a data file;
// a hidden window of this program stands in for the main window.
//
// Removes what it seeded. Run it in a throwaway prefix (./dev bench).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/command_line.h"
#include "core/options_table.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "startup/catalogue.h"
#include "core/entries.h"
#include "startup/enumerate.h"
#include "ui/look.h"
#include "ui/page_framework.h"
#include "tests/support/registry_state.h"
#include "ui/sheet.h"

using namespace tov;
using namespace testsupport;

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

// Seeds n Run values, alternately in HKLM and HKCU. The caller keeps the
// Run keys saved (RunKeysSaved) so they come back as they were.
void SeedRun(int n) {
  for (int i = 0; i < n; ++i) {
    char name[32];
    char data[256];
    ValueName(i, name);
    wsprintfA(data, kForms[i % 5], i);
    SetText(i % 2 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kRunKey, name, data);
  }
}

// Both Run keys, put back as they were when it goes out of scope.
struct RunKeysSaved {
  SavedKey machine{HKEY_LOCAL_MACHINE, kRunKey};
  SavedKey user{HKEY_CURRENT_USER, kRunKey};
};

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

// --- The sheet: open at Startup Programs and fill the list ---

const char kProgramFolder[] = "C:\\BenchPrograms";
const char kMainClass[] = "TovrelBenchMain";
// Programs every Wine prefix has; each seeded value gets its own link to one.
const char* const kSystemPrograms[] = {
    "C:\\windows\\notepad.exe",          "C:\\windows\\regedit.exe",
    "C:\\windows\\system32\\cmd.exe",    "C:\\windows\\system32\\taskmgr.exe",
    "C:\\windows\\system32\\winecfg.exe", "C:\\windows\\system32\\msiexec.exe",
};

void ProgramFile(int i, char (&path)[MAX_PATH]) { wsprintfA(path, "%s\\agent%05d.exe", kProgramFolder, i); }
void ProgramValueName(int i, char (&name)[32]) { wsprintfA(name, "Bench Program %05d", i); }

// One program file per value (a hard link where the file system allows it,
// else a copy), so no icon or version cache answers for another value.
bool SeedPrograms(int n) {
  CreateDirectoryA(kProgramFolder, nullptr);
  std::vector<const char*> sources;
  for (const char* p : kSystemPrograms)
    if (GetFileAttributesA(p) != INVALID_FILE_ATTRIBUTES) sources.push_back(p);
  if (sources.empty()) return false;
  for (int i = 0; i < n; ++i) {
    char file[MAX_PATH];
    ProgramFile(i, file);
    const char* source = sources[size_t(i) % sources.size()];
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES && !CreateHardLinkA(file, source, nullptr))
      CopyFileA(source, file, FALSE);
    char name[32];
    char data[MAX_PATH + 16];
    ProgramValueName(i, name);
    wsprintfA(data, i % 3 ? "\"%s\" /tray" : "%s", file);
    SetText(i % 2 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kRunKey, name, data);
  }
  return true;
}

// The program files; their Run values go with the caller's RunKeysSaved.
void RemovePrograms(int n) {
  for (int i = 0; i < n; ++i) {
    char file[MAX_PATH];
    ProgramFile(i, file);
    DeleteFileA(file);
  }
  RemoveDirectoryA(kProgramFolder);
}

LRESULT CALLBACK BenchMainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The pages ask the main window to close when the sheet goes; this one
  // stays for the next opening.
  if (msg == WM_CLOSE) return 0;
  return DefWindowProcA(window, msg, wParam, lParam);
}

// The resources, fonts, pictures and main window TabDialog works with.
bool PrepareSheet(HWND* mainWindow) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  while (n > 0 && path[n - 1] != '\\') --n;
  path[n] = 0;
  lstrcatA(path, "TovrelEx.exe");
  HMODULE resources = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!resources) return false;
  SetProgramInstance(resources);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  CreateProgramFonts();
  LoadProgramPictures();
  SetSetting(kOptSound, 0);  // no opening sound
  SetSetting(kOptShowAllStartup, 0);
  WNDCLASSA wc{};
  wc.lpfnWndProc = BenchMainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kMainClass;
  if (!RegisterClassA(&wc)) return false;
  *mainWindow = CreateWindowExA(0, kMainClass, "Tovrel bench", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!*mainWindow) return false;
  SetMainWindow(*mainWindow);
  return true;
}

// One opening: from the TabDialog call until the Startup page's list holds
// the expected rows (seen by a timer of the sheet's own message loop, so
// the sheet has also painted), then the sheet is closed.
struct Opening {
  LARGE_INTEGER frequency;
  int expectedRows;
  double start;
  double filled;  // 0 until the list was seen full
  int rows;
  DWORD startTicks;
};
Opening g_opening;

void CALLBACK WatchList(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND page = CurrentPage();
  bool ready = page && IsWindow(page) && ActivePageId() == kCmdStartup;
  int rows = ready ? int(SendMessageA(PageList(page), LVM_GETITEMCOUNT, 0, 0)) : 0;
  bool full = rows >= g_opening.expectedRows;
  bool late = GetTickCount() - g_opening.startTicks > 120000;
  if (!full && !late) return;
  if (full) g_opening.filled = Now(g_opening.frequency);
  g_opening.rows = rows;
  KillTimer(nullptr, timer);
  if (page && IsWindow(page)) PropSheet_PressButton(GetParent(page), PSBTN_CANCEL);
}

// Milliseconds to open and fill; negative when the list never filled.
double OpenAndFill(HWND mainWindow, const LARGE_INTEGER& frequency, int expectedRows) {
  g_opening = Opening{};
  g_opening.frequency = frequency;
  g_opening.expectedRows = expectedRows;
  g_opening.startTicks = GetTickCount();
  SetTimer(nullptr, 0, USER_TIMER_MINIMUM, WatchList);
  g_opening.start = Now(frequency);
  TabDialog(mainWindow, kCmdStartup);
  // The pages posted WM_CLOSE to the stand-in main window; drop it.
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  return g_opening.filled > 0 ? g_opening.filled - g_opening.start : -1.0;
}

void SheetTable(const LARGE_INTEGER& frequency) {
  HWND mainWindow = nullptr;
  if (!PrepareSheet(&mainWindow)) {
    printf("could not prepare the sheet (TovrelEx.exe beside this program?)\n");
    return;
  }
  printf("\nStartup Programs page: open the sheet and fill the list (Run values pointing at existing programs)\n");
  printf("%6s %8s %12s %14s %8s %7s\n", "N", "rows", "Build ms", "open+fill ms", "ratio", "reps");
  const int sizes[] = {100, 1000};
  for (int n : sizes) {
    RunKeysSaved saved;
    if (!SeedPrograms(n)) {
      printf("%6d  could not seed the programs\n", n);
      continue;
    }
    const int reps = n >= 1000 ? 3 : 5;
    BuildStartupList(1);  // warm-up
    std::vector<double> build, open;
    int entries = 0;
    for (int r = 0; r < reps; ++r) {
      double t0 = Now(frequency);
      entries = BuildStartupList(1);
      build.push_back(Now(frequency) - t0);
    }
    ClearEntries();
    // Warm-up opening: the first one also records every first-detection date.
    OpenAndFill(mainWindow, frequency, entries);
    int rows = 0;
    for (int r = 0; r < reps; ++r) {
      double ms = OpenAndFill(mainWindow, frequency, entries);
      rows = g_opening.rows;
      if (ms < 0) break;
      open.push_back(ms);
    }
    double buildMs = Median(build);
    if (open.empty()) {
      printf("%6d %8d %12.2f %14s %8s %7d\n", n, rows, buildMs, "not filled", "-", reps);
    } else {
      double openMs = Median(open);
      printf("%6d %8d %12.2f %14.2f %8.1f %7d\n", n, rows, buildMs, openMs,
             buildMs > 0 ? openMs / buildMs : 0.0, int(open.size()));
    }
    fflush(stdout);
    ClearEntries();
    RemovePrograms(n);
  }
  DestroyWindow(mainWindow);
  DeleteRegTree(HKEY_CURRENT_USER, "Software\\Brenvik");
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
    RunKeysSaved saved;
    SeedRun(n);
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
  }
  SheetTable(frequency);
  RemoveOthers(others);
  CoUninitialize();
  return 0;
}

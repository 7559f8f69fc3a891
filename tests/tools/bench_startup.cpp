// Benchmark of the lists, each row a ratio measured side by side in one run:
//  1. BuildStartupList(0) against its floor, a bare RegEnumValueA walk of the
//     same keys with one GetLongPathNameA per value (100, 1000, 4000 values).
//  2. TovrelEx -START until every row shows title, command, type and date,
//     against trivial_sheet.exe (one sheet, one list of the same Run values),
//     both started as processes and sampled from here (100, 1000).
//  3-6. The sheet opened in this process at Startup Programs: rows in, then
//     icons and companies complete against one version read and one icon
//     extraction per distinct program; the worst WM_NULL round trip while
//     they load; a sort by every column; the working set after the fill
//     (100, 1000, 4000; 4000 against 1000 for goal 4). The program's
//     resources come from TovrelEx.exe beside this file, loaded as a data
//     file; a hidden window of this program stands in for the main window.
// Run values of goals 2-6 point at existing program files (links to a few
// system programs, one file per value).
//
// Removes what it seeded. Run it in a throwaway prefix (./dev bench).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/command_line.h"
#include "app/families.h"
#include "core/options_table.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/version.h"
#include "startup/catalogue.h"
#include "core/entries.h"
#include "startup/enumerate.h"
#include "ui/look.h"
#include "ui/list_worker.h"
#include "ui/listview.h"
#include "ui/page_framework.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"
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

// The floor: every value of both Run keys with the enumeration's buffers,
// and one long-path conversion per value.
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
      if (r != ERROR_SUCCESS) continue;
      ++values;
      char longPath[MAX_PATH];
      data[dataLength < sizeof data ? dataLength : sizeof data - 1] = 0;
      GetLongPathNameA(reinterpret_cast<char*>(data), longPath, sizeof longPath);
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
  RegisterFamilies();  // the sheet's pages
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

// One opening in this process: from the TabDialog call until the Startup
// page's list holds the expected rows, then until its icons and companies
// are complete; then a sort by every column, the working set, and the
// sheet is closed.
struct Opening {
  LARGE_INTEGER frequency;
  int expectedRows;
  double start;
  volatile double filled;     // 0 until the list was seen full
  volatile double decorated;  // 0 until its icons and companies were in
  double sorting;    // every column once
  SIZE_T workingSet;
  int rows;
  DWORD startTicks;
};
Opening g_opening;

// The probe thread watches the opening from outside the sheet's thread:
// when the list holds every row (a sent message, answered between the
// posted results), then the worst WM_NULL round trip to the sheet until
// the icons and companies are complete. A WM_NULL goes every 10 ms, not
// every millisecond: the sheet would spend a good part of its time on the
// probe, which competes with the worker on a machine of two processors. A
// stall of the sheet still shows within 10 ms of its length.
constexpr double kNullSpacingMs = 10.0;
struct Probe {
  volatile LONG watching;  // an opening is under way
  volatile LONG quit;
  double worst;
};
Probe g_probe;

DWORD WINAPI ProbeMain(LPVOID) {
  while (!g_probe.quit) {
    HWND page = g_probe.watching ? CurrentPage() : nullptr;
    if (!page || !IsWindow(page) || g_opening.decorated > 0) {
      Sleep(1);
      continue;
    }
    DWORD_PTR result = 0;
    if (g_opening.filled == 0) {
      if (SendMessageTimeoutA(PageList(page), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &result) &&
          int(result) >= g_opening.expectedRows) {
        g_opening.rows = int(result);
        g_opening.filled = Now(g_opening.frequency);
      }
      Sleep(1);
      continue;
    }
    static double lastNull;
    double t0 = Now(g_opening.frequency);
    if (t0 - lastNull >= kNullSpacingMs) {
      SendMessageTimeoutA(GetParent(page), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
      lastNull = Now(g_opening.frequency);
      double dt = lastNull - t0;
      if (dt > g_probe.worst) g_probe.worst = dt;
    }
    // Read across threads: the counts only grow until the work is done.
    if (ListWorkDone(kImageListPage)) g_opening.decorated = Now(g_opening.frequency);
    Sleep(1);
  }
  return 0;
}

void FinishOpening(HWND page, UINT_PTR timer) {
  KillTimer(nullptr, timer);
  g_probe.watching = 0;
  if (page && IsWindow(page)) PropSheet_PressButton(GetParent(page), PSBTN_CANCEL);
}

// The sheet's own timer: once the probe saw everything in, a sort by every
// column and the working set, then the sheet closes.
void CALLBACK WatchList(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND page = CurrentPage();
  bool ready = page && IsWindow(page) && ActivePageId() == kCmdStartup;
  if (GetTickCount() - g_opening.startTicks > 300000) {
    printf("  (not complete after five minutes: %d of %d rows, icons and companies %s)\n",
           g_opening.rows, g_opening.expectedRows, g_opening.decorated > 0 ? "in" : "not in");
    fflush(stdout);
    return FinishOpening(page, timer);
  }
  if (!ready || g_opening.decorated == 0) return;
  HWND list = PageList(page);
  double t0 = Now(g_opening.frequency);
  for (int column = 0; column < 5; ++column) NotifyFromList(list, LVN_COLUMNCLICK, -1, column);
  g_opening.sorting = Now(g_opening.frequency) - t0;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    g_opening.workingSet = memory.WorkingSetSize;
  FinishOpening(page, timer);
}

// Opens and fills the sheet once; false when the list never filled.
bool OpenAndFill(HWND mainWindow, const LARGE_INTEGER& frequency, int expectedRows) {
  g_opening = Opening{};
  g_opening.frequency = frequency;
  g_opening.expectedRows = expectedRows;
  g_opening.startTicks = GetTickCount();
  g_probe.worst = 0;
  SetTimer(nullptr, 0, USER_TIMER_MINIMUM, WatchList);
  g_opening.start = Now(frequency);
  g_probe.watching = 1;
  TabDialog(mainWindow, kCmdStartup);
  g_probe.watching = 0;
  // The pages posted WM_CLOSE to the stand-in main window; drop it.
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  return g_opening.filled > 0 && g_opening.decorated > 0;
}

// The bare cost of the decorations: one version read and one small icon
// per distinct program.
double BareDecorations(const LARGE_INTEGER& frequency, int n) {
  double t0 = Now(frequency);
  for (int i = 0; i < n; ++i) {
    char file[MAX_PATH];
    ProgramFile(i, file);
    VersionStrings v;
    ReadVersionStrings(file, &v);
    HICON icon = nullptr;
    ExtractIconExA(file, 0, nullptr, &icon, 1);
    if (icon) DestroyIcon(icon);
  }
  return Now(frequency) - t0;
}

struct SheetRow {
  int n;
  double fill, decorate, bare, sort, worstNull, longPaths;
  SIZE_T workingSet;
};

double LongPathsMs(const LARGE_INTEGER& frequency);

bool MeasureSheet(HWND mainWindow, const LARGE_INTEGER& frequency, int n, SheetRow* row) {
  RunKeysSaved saved;
  if (!SeedPrograms(n)) return false;
  int entries = BuildStartupList(1);
  ClearEntries();
  // Warm-up opening: the first one also records every first-detection date.
  OpenAndFill(mainWindow, frequency, entries);
  const int reps = n >= 1000 ? 3 : 5;
  std::vector<double> fill, decorate, bare, sort, worst, longPaths;
  for (int r = 0; r < reps; ++r) {
    if (!OpenAndFill(mainWindow, frequency, entries)) break;
    fill.push_back(g_opening.filled - g_opening.start);
    decorate.push_back(g_opening.decorated - g_opening.filled);
    sort.push_back(g_opening.sorting);
    worst.push_back(g_probe.worst);
    bare.push_back(BareDecorations(frequency, n));
    longPaths.push_back(LongPathsMs(frequency));
  }
  ClearEntries();
  RemovePrograms(n);
  if (fill.empty()) return false;
  *row = SheetRow{n, Median(fill), Median(decorate), Median(bare), Median(sort),
                  *std::max_element(worst.begin(), worst.end()), Median(longPaths), g_opening.workingSet};
  return true;
}

void SheetTable(const LARGE_INTEGER& frequency) {
  HWND mainWindow = nullptr;
  if (!PrepareSheet(&mainWindow)) {
    printf("could not prepare the sheet (TovrelEx.exe beside this program?)\n");
    return;
  }
  HANDLE probe = CreateThread(nullptr, 0, ProbeMain, nullptr, 0, nullptr);
  printf("\nGoals 3-6: Startup Programs opened in this process (Run values pointing at existing programs)\n");
  printf("%6s %10s %12s %10s %7s %10s %12s %10s\n", "N", "rows ms", "icons+co ms", "bare ms",
         "goal 3", "sort ms", "WM_NULL ms", "WS MB");
  SheetRow rows[3] = {};
  const int sizes[] = {100, 1000, 4000};
  for (int i = 0; i < 3; ++i) {
    if (!MeasureSheet(mainWindow, frequency, sizes[i], &rows[i])) {
      printf("%6d  not filled\n", sizes[i]);
      continue;
    }
    const SheetRow& r = rows[i];
    printf("%6d %10.1f %12.1f %10.1f %7.2f %10.1f %12.1f %10.1f\n", r.n, r.fill, r.decorate, r.bare,
           r.bare > 0 ? r.decorate / r.bare : 0.0, r.sort, r.worstNull,
           double(r.workingSet) / (1024.0 * 1024.0));
    fflush(stdout);
  }
  if (rows[1].n && rows[2].n) {
    double small = rows[1].fill + rows[1].decorate + rows[1].sort;
    double large = rows[2].fill + rows[2].decorate + rows[2].sort;
    printf("goal 4: open, fill and sort, 4000 against 1000: %.2f (rows %.2f, sort %.2f)\n",
           small > 0 ? large / small : 0.0, rows[1].fill > 0 ? rows[2].fill / rows[1].fill : 0.0,
           rows[1].sort > 0 ? rows[2].sort / rows[1].sort : 0.0);
    // The rows include one long-path conversion per value, all in one
    // folder of n program files; the same conversions alone:
    printf("        the long-path conversions of the rows alone: %.1f against %.1f ms, %.2f\n",
           rows[2].longPaths, rows[1].longPaths,
           rows[1].longPaths > 0 ? rows[2].longPaths / rows[1].longPaths : 0.0);
  }
  if (rows[1].n) printf("goal 5: worst WM_NULL during the 1000-row load: %.1f ms\n", rows[1].worstNull);
  if (rows[2].n)
    printf("goal 6: working set after the 4000-entry fill: %.1f MB\n",
           double(rows[2].workingSet) / (1024.0 * 1024.0));
  g_probe.quit = 1;
  if (probe) {
    WaitForSingleObject(probe, 5000);
    CloseHandle(probe);
  }
  DestroyWindow(mainWindow);
  DeleteRegTree(HKEY_CURRENT_USER, "Software\\Brenvik");
}

// --- Goal 2: both programs started as processes, sampled from here ---

struct FoundList {
  DWORD process;
  HWND list;
};

BOOL CALLBACK FindListChild(HWND child, LPARAM lParam) {
  FoundList* found = reinterpret_cast<FoundList*>(lParam);
  char name[32];
  if (GetDlgCtrlID(child) == 1000 && IsWindowVisible(child) && GetClassNameA(child, name, sizeof name) &&
      lstrcmpiA(name, WC_LISTVIEWA) == 0) {
    found->list = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindListTop(HWND top, LPARAM lParam) {
  FoundList* found = reinterpret_cast<FoundList*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(top, &process);
  if (process != found->process || !IsWindowVisible(top)) return TRUE;
  EnumChildWindows(top, FindListChild, lParam);
  return found->list == nullptr;
}

// Milliseconds from starting the program until its list holds `rows` rows
// whose last one shows text in every one of `columns`; negative when it
// never does within a minute.
double TimeProgram(const LARGE_INTEGER& frequency, const char* exe, const char* args, int rows,
                   const int (&columns)[4]) {
  double start = Now(frequency);
  HANDLE process = StartProgram(BinPath(exe), args);
  if (!process) return -1;
  double result = -1;
  FoundList found{GetProcessId(process), nullptr};
  DWORD begin = GetTickCount();
  while (GetTickCount() - begin < 60000 && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    if (!found.list || !IsWindow(found.list)) {
      found.list = nullptr;
      EnumWindows(FindListTop, reinterpret_cast<LPARAM>(&found));
    }
    if (found.list && RowCount(found.list) >= rows) {
      bool shown = true;
      for (int column : columns) shown = shown && !CellText(found.list, rows - 1, column).empty();
      if (shown) {
        result = Now(frequency) - start;
        break;
      }
    }
    Sleep(1);
  }
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
  EndAllInstances();
  return result;
}

// The part of goal 1's floor the trivial sheet does not do: the long form
// of every Run value's path, as an entry takes it.
double LongPathsMs(const LARGE_INTEGER& frequency) {
  double t0 = Now(frequency);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    for (DWORD i = 0;; ++i) {
      char name[255];
      char data[kEntryPathSlot];
      DWORD nameLength = sizeof name, dataLength = sizeof data - 1, type = 0;
      LONG r = RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                             &dataLength);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS) continue;
      data[dataLength] = 0;
      char path[kEntryPathSlot];
      EntryPathOf(data, path);
    }
    RegCloseKey(key);
  }
  return Now(frequency) - t0;
}

void ProcessTable(const LARGE_INTEGER& frequency) {
  printf("\nGoal 2: started as a process until every row shows title, command, type and date\n");
  printf("(long paths: one long-path conversion per Run value, which the trivial sheet does not do;\n");
  printf(" last column: Tovrel against the trivial sheet plus those conversions)\n");
  printf("%6s %8s %14s %12s %8s %13s %10s %7s\n", "N", "rows", "trivial ms", "Tovrel ms", "ratio",
         "long paths ms", "ratio+lp", "reps");
  const int kTrivialColumns[4] = {0, 1, 2, 3};
  const int kTovrelColumns[4] = {0, 1, 3, 4};
  for (int n : {100, 1000}) {
    RunKeysSaved saved;
    if (!SeedPrograms(n)) continue;
    int tovrelRows = BuildStartupList(1);
    ClearEntries();
    int trivialRows = BareWalk();
    // Warm-up: the first start records the first-detection dates.
    TimeProgram(frequency, "TovrelEx.exe", "-START", tovrelRows, kTovrelColumns);
    TimeProgram(frequency, "trivial_sheet.exe", "", trivialRows, kTrivialColumns);
    std::vector<double> trivial, tovrel, longPaths;
    for (int r = 0; r < 5; ++r) {
      double a = TimeProgram(frequency, "trivial_sheet.exe", "", trivialRows, kTrivialColumns);
      double b = TimeProgram(frequency, "TovrelEx.exe", "-START", tovrelRows, kTovrelColumns);
      if (a > 0) trivial.push_back(a);
      if (b > 0) tovrel.push_back(b);
      longPaths.push_back(LongPathsMs(frequency));
    }
    if (trivial.empty() || tovrel.empty()) {
      printf("%6d %8d  not filled (trivial %d, Tovrel %d runs)\n", n, tovrelRows, int(trivial.size()),
             int(tovrel.size()));
    } else {
      double a = Median(trivial), b = Median(tovrel), lp = Median(longPaths);
      printf("%6d %8d %14.1f %12.1f %8.2f %13.1f %10.2f %7d\n", n, tovrelRows, a, b, b / a, lp,
             b / (a + lp), int(tovrel.size()));
    }
    fflush(stdout);
    RemovePrograms(n);
  }
}

}  // namespace

// "sheet" as the argument runs goals 3-6 only, "process" goal 2 only.
int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitialize(nullptr);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  Others others;
  SeedOthers(&others);
  if (argc > 1 && lstrcmpiA(argv[1], "sheet") == 0) {
    SheetTable(frequency);
    RemoveOthers(others);
    return 0;
  }
  if (argc > 1 && lstrcmpiA(argv[1], "process") == 0) {
    ProcessTable(frequency);
    RemoveOthers(others);
    return 0;
  }
  printf("Goal 1: BuildStartupList(0) against a bare walk with one long-path conversion per value\n");
  printf("%6s %8s %10s %12s %12s %8s %7s\n", "N", "entries", "total ms", "us/entry",
         "floor us/val", "ratio", "reps");
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
  ProcessTable(frequency);
  SheetTable(frequency);
  RemoveOthers(others);
  CoUninitialize();
  return 0;
}

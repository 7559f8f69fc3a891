#include "tasks/scheduler.h"

#include <windows.h>
#include <mstask.h>
#include <objbase.h>

#include <cwchar>

#include "core/messages.h"
#include "core/owned.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/entries.h"

namespace tov {

const char kAgentWindowClass[] = "SAGEWINDOWCLASS";
const char kAgentWindowTitle[] = "SYSTEM AGENT COM WINDOW";
const char kAgentProgram[] = "mstask.exe";
const char kScheduleService[] = "Schedule";

namespace {

const GUID kClsidTaskScheduler = {
    0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidTaskScheduler = {
    0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidTask = {
    0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

constexpr DWORD kWaitBeforeListing = 10;     // milliseconds
constexpr DWORD kWaitBeforeLookup = 1000;    // before a delete, comment or status request
constexpr DWORD kAgentStartWait = 3000;      // for a started agent's window
constexpr DWORD kAgentStartPoll = 50;
constexpr UINT kEndedExitCode = 1;           // 259 would read as "still running"
constexpr size_t kWideNameCapacity = 2 * kPathCapacity + 2;  // a name in the ANSI code page
constexpr size_t kBareNameCapacity = kPathCapacity;
constexpr wchar_t kTaskEndingWide[] = L".job";

bool g_startedHere = false;
// The agent process this program started (9x family), ended by
// ReleaseScheduler when its window never appeared.
Handle g_agentProcess;

void CloseService(SC_HANDLE h) { CloseServiceHandle(h); }
using ServiceHandle = Owned<SC_HANDLE, CloseService>;

void FreeWide(wchar_t* text) { CoTaskMemFree(text); }
using WideText = Owned<wchar_t*, FreeWide>;

// The service "Schedule" opened with access, or null (error in *error).
bool OpenScheduleService(DWORD access, ServiceHandle* service, DWORD* error) {
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) {
    *error = GetLastError();
    return false;
  }
  service->reset(OpenServiceA(manager.get(), kScheduleService, access));
  if (!*service) {
    *error = GetLastError();
    return false;
  }
  return true;
}

DWORD EnsureScheduleService() {
  ServiceHandle service;
  DWORD error = 0;
  if (!OpenScheduleService(SERVICE_QUERY_STATUS | SERVICE_START, &service, &error)) return error;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return GetLastError();
  if (status.dwCurrentState == SERVICE_RUNNING) return 0;
  if (StartServiceA(service.get(), 0, nullptr)) return 0;
  error = GetLastError();
  // Starting or started by someone else meanwhile: available.
  return error == ERROR_SERVICE_ALREADY_RUNNING ? 0 : error;
}

HWND AgentWindow() { return FindWindowA(kAgentWindowClass, kAgentWindowTitle); }

DWORD EnsureAgent() {
  if (AgentWindow()) return 0;
  char program[kPathCapacity];
  char* filePart = nullptr;
  DWORD length = SearchPathA(nullptr, kAgentProgram, nullptr, sizeof program, program, &filePart);
  if (length == 0) return GetLastError();
  if (length >= sizeof program) return ERROR_FILENAME_EXCED_RANGE;
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program, nullptr, nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &start,
                      &process))
    return GetLastError();
  CloseHandle(process.hThread);
  g_agentProcess.reset(process.hProcess);
  g_startedHere = true;
  // The operation needs the agent running; a release right after the start
  // would otherwise end it half-way through starting. One whose window never
  // appears is ended by the release.
  for (DWORD waited = 0; waited < kAgentStartWait && AgentWindow() == nullptr;
       waited += kAgentStartPoll)
    if (WaitForSingleObject(process.hProcess, kAgentStartPoll) == WAIT_OBJECT_0) break;
  return 0;
}

DWORD ReleaseAgent() {
  Handle started(g_agentProcess.release());
  HWND window = AgentWindow();
  if (window == nullptr) {
    // Started here but its window never appeared: end that process.
    if (started) TerminateProcess(started.get(), kEndedExitCode);
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  Handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
  if (process) TerminateProcess(process.get(), kEndedExitCode);
  // The agent's notification icon would stay until the taskbar repaints.
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  if (tray) InvalidateRect(tray, nullptr, TRUE);
  return 0;
}

DWORD ReleaseScheduleService() {
  ServiceHandle service;
  DWORD error = 0;
  if (!OpenScheduleService(SERVICE_QUERY_STATUS | SERVICE_STOP, &service, &error)) return error;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return GetLastError();
  if (status.dwCurrentState != SERVICE_RUNNING) return 0;
  return ControlService(service.get(), SERVICE_CONTROL_STOP, &status) ? 0 : 1;
}

// Ends what EnsureScheduler started when the operation it guards ends, on
// every path.
struct SchedulerUse {
  DWORD error = EnsureScheduler();
  ~SchedulerUse() {
    if (g_startedHere) ReleaseScheduler();
  }
};

// The name without its ".job" ending, for schedulers that accept only the
// bare name; false when it has none.
bool BareName(const wchar_t* name, wchar_t (&out)[kBareNameCapacity]) {
  size_t length = wcslen(name);
  size_t ending = wcslen(kTaskEndingWide);
  if (length <= ending || length >= kBareNameCapacity ||
      _wcsicmp(name + length - ending, kTaskEndingWide) != 0)
    return false;
  wmemcpy(out, name, length - ending);
  out[length - ending] = 0;
  return true;
}

// Activate by the enumerated name; where the scheduler refuses the name with
// its file ending, by the bare name.
HRESULT ActivateTask(ITaskScheduler* scheduler, const wchar_t* name, ComPtr<ITask>* task) {
  HRESULT hr = scheduler->Activate(name, kIidTask, reinterpret_cast<IUnknown**>(task->put()));
  wchar_t bare[kBareNameCapacity];
  if (FAILED(hr) && BareName(name, bare))
    hr = scheduler->Activate(bare, kIidTask, reinterpret_cast<IUnknown**>(task->put()));
  return hr;
}

HRESULT DeleteTask(ITaskScheduler* scheduler, const wchar_t* name) {
  HRESULT hr = scheduler->Delete(name);
  wchar_t bare[kBareNameCapacity];
  if (FAILED(hr) && BareName(name, bare)) hr = scheduler->Delete(bare);
  return hr;
}

bool ToAnsi(const wchar_t* text, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (text == nullptr) return true;
  if (WideCharToMultiByte(CP_ACP, 0, text, -1, out, int(cap), nullptr, nullptr) > 0) return true;
  out[0] = 0;
  return false;
}

// Calls visit(scheduler, wide name, ANSI name) for every work item, batch by
// batch of five, the last name of a batch first, until visit returns true.
template <typename F> void VisitNames(ITaskScheduler* scheduler, IEnumWorkItems* items, F visit) {
  for (;;) {
    LPWSTR* names = nullptr;
    ULONG fetched = 0;
    HRESULT hr = items->Next(kTaskBatchSize, &names, &fetched);
    if (FAILED(hr) || names == nullptr || fetched == 0) {
      if (names) CoTaskMemFree(names);
      return;
    }
    bool stop = false;
    for (ULONG i = fetched; i-- > 0;) {
      char name[kWideNameCapacity];
      if (!stop && ToAnsi(names[i], name, sizeof name)) stop = visit(scheduler, names[i], name);
      CoTaskMemFree(names[i]);
    }
    CoTaskMemFree(names);
    if (stop) return;
  }
}

// The walk every operation shares, once the scheduler is available: COM,
// the scheduler object, its enumerator. The result of the set-up.
template <typename F> HRESULT WalkTasks(DWORD wait, F visit) {
  Sleep(wait);
  HRESULT hr = CoInitialize(nullptr);
  if (FAILED(hr)) return hr;
  {
    ComPtr<ITaskScheduler> scheduler;
    hr = CoCreateInstance(kClsidTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, kIidTaskScheduler,
                          scheduler.putVoid());
    if (SUCCEEDED(hr)) {
      ComPtr<IEnumWorkItems> items;
      hr = scheduler->Enum(items.put());
      if (SUCCEEDED(hr)) VisitNames(scheduler.get(), items.get(), visit);
    }
  }
  CoUninitialize();
  return hr;
}

// A run time the call gave, or none when it failed.
void RunTimeText(HRESULT hr, const SYSTEMTIME& t, char (&out)[kRunTimeCapacity]) {
  SYSTEMTIME none{};
  FormatRunTime(SUCCEEDED(hr) ? t : none, out, sizeof out);
}

bool AddTaskEntry(ITaskScheduler* scheduler, const wchar_t* wideName, const char* name) {
  ComPtr<ITask> task;
  if (FAILED(ActivateTask(scheduler, wideName, &task))) return false;
  WideText application;
  char path[kWideNameCapacity] = "";
  if (SUCCEEDED(task->GetApplicationName(application.put()))) ToAnsi(application.get(), path, sizeof path);
  SYSTEMTIME t{};
  char last[kRunTimeCapacity];
  RunTimeText(task->GetMostRecentRunTime(&t), t, last);
  t = SYSTEMTIME{};
  char next[kRunTimeCapacity];
  RunTimeText(task->GetNextRunTime(&t), t, next);
  task.reset();
  AddEntry(name, path, next, last, 800, 0);
  return false;
}

// The first task of that name, opened; false when there is none or it
// cannot be opened.
template <typename F> bool WithTask(const char* wanted, F use) {
  SchedulerUse use_scheduler;
  if (use_scheduler.error != 0) return false;
  bool found = false;
  WalkTasks(kWaitBeforeLookup, [&](ITaskScheduler* scheduler, const wchar_t* wide, const char* name) {
    if (!EqualsNoCase(name, wanted)) return false;
    ComPtr<ITask> task;
    if (SUCCEEDED(ActivateTask(scheduler, wide, &task))) found = use(task.get());
    return true;
  });
  return found;
}

}  // namespace

DWORD EnsureScheduler() {
  g_startedHere = false;
  return IsNtPlatform() ? EnsureScheduleService() : EnsureAgent();
}

DWORD ReleaseScheduler() {
  g_startedHere = false;
  return IsNtPlatform() ? ReleaseScheduleService() : ReleaseAgent();
}

bool SchedulerStartedHere() { return g_startedHere; }

int ListScheduledTasks() {
  ClearEntries();
  SchedulerUse scheduler;
  if (scheduler.error != 0) {
    Trace("ListScheduledTasks", "scheduler not available");
    return 0;
  }
  HRESULT hr = WalkTasks(kWaitBeforeListing, AddTaskEntry);
  if (FAILED(hr) && EntryCount() == 0) return int(hr);
  return EntryCount();
}

HRESULT DeleteScheduledTask(const char* name) {
  if (name == nullptr || name[0] == 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  SchedulerUse scheduler;
  if (scheduler.error != 0) return HRESULT_FROM_WIN32(scheduler.error);
  HRESULT result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  HRESULT hr = WalkTasks(kWaitBeforeLookup, [&](ITaskScheduler* s, const wchar_t* wide, const char* n) {
    if (!EqualsNoCase(n, name)) return false;
    result = DeleteTask(s, wide);
    return true;
  });
  return FAILED(hr) ? hr : result;
}

size_t ReadTaskComment(const char* name, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (name == nullptr || name[0] == 0) return 0;
  WithTask(name, [&](ITask* task) {
    WideText comment;
    return SUCCEEDED(task->GetComment(comment.put())) && ToAnsi(comment.get(), out, cap);
  });
  return strlen(out);
}

size_t ReadTaskStatusText(const char* name, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (name == nullptr || name[0] == 0) return 0;
  WithTask(name, [&](ITask* task) {
    HRESULT status = S_OK;
    if (FAILED(task->GetStatus(&status))) return false;
    LoadText(TaskStatusTextId(long(status)), out, cap);
    return true;
  });
  return strlen(out);
}

size_t FormatRunTime(const SYSTEMTIME& t, char* out, size_t cap) {
  char never[kRunTimeCapacity];
  LoadText(kNeverTextId, never);
  RunTime r;
  r.year = t.wYear;
  r.month = t.wMonth;
  r.day = t.wDay;
  r.hour = t.wHour;
  r.minute = t.wMinute;
  return FormatRunTimeText(r, never, out, cap);
}

}  // namespace tov

// Work items for the scheduled-task tests, made and read through the Task
// Scheduler's own interfaces (not through the code under test).
#pragma once
#include <windows.h>
#include <mstask.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/wine_support.h"

namespace taskfixtures {

const GUID kClsidScheduler = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidScheduler = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kClsidTask = {0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidTask = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

inline ITaskScheduler* OpenScheduler(HRESULT* result = nullptr) {
  ITaskScheduler* s = nullptr;
  HRESULT hr = CoCreateInstance(kClsidScheduler, nullptr, CLSCTX_INPROC_SERVER, kIidScheduler, (void**)&s);
  if (result) *result = hr;
  return s;
}

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A work item saved to the tasks folder: application, comment and, when
// hour >= 0, one trigger on 6 May 2030 at hour:minute.
inline bool CreateTask(const std::string& name, const std::string& app, const std::string& comment,
                int hour, int minute = 0) {
  ITaskScheduler* s = OpenScheduler();
  if (!s) return false;
  ITask* task = nullptr;
  HRESULT hr = s->NewWorkItem(Wide(name).c_str(), kClsidTask, kIidTask, (IUnknown**)&task);
  s->Release();
  if (FAILED(hr)) return false;
  task->SetApplicationName(Wide(app).c_str());
  task->SetComment(Wide(comment).c_str());
  if (hour >= 0) {
    WORD index = 0;
    ITaskTrigger* trigger = nullptr;
    if (SUCCEEDED(task->CreateTrigger(&index, &trigger))) {
      TASK_TRIGGER t{};
      t.cbTriggerSize = sizeof t;
      t.wBeginYear = 2030;
      t.wBeginMonth = 5;
      t.wBeginDay = 6;
      t.wStartHour = WORD(hour);
      t.wStartMinute = WORD(minute);
      t.TriggerType = TASK_TIME_TRIGGER_ONCE;
      trigger->SetTrigger(&t);
      trigger->Release();
    }
  }
  IPersistFile* file = nullptr;
  hr = task->QueryInterface(IID_IPersistFile, (void**)&file);
  if (SUCCEEDED(hr)) {
    hr = file->Save(nullptr, TRUE);
    file->Release();
  }
  task->Release();
  return SUCCEEDED(hr);
}

inline std::string TasksFolder() {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  return std::string(windows) + "\\Tasks";
}

// The state of the "Schedule" service as a word, for failure messages.
inline std::string ScheduleServiceState() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return "no service manager";
  SC_HANDLE service = OpenServiceA(manager, "Schedule", SERVICE_QUERY_STATUS);
  std::string state = "not installed";
  SERVICE_STATUS status{};
  if (service && QueryServiceStatus(service, &status))
    state = status.dwCurrentState == SERVICE_RUNNING         ? "running"
            : status.dwCurrentState == SERVICE_START_PENDING ? "starting"
            : status.dwCurrentState == SERVICE_STOPPED       ? "stopped"
                                                             : "state " + std::to_string(status.dwCurrentState);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return state;
}

// Waits (bounded) until the scheduler object can be made. Wine's makes it
// through its scheduler service, which a prefix whose session has just
// started may not be serving yet. On failure *found says what was found;
// once it never came, later tests of the run try once instead of waiting.
inline bool WaitForScheduler(std::string* found, DWORD ms = 30000) {
  static bool gaveUp = false;
  HRESULT hr = S_OK;
  bool reached = testsupport::WaitFor([&] {
    ITaskScheduler* s = OpenScheduler(&hr);
    if (s) s->Release();
    return s != nullptr;
  }, gaveUp ? 0 : ms);
  if (reached) return true;
  gaveUp = true;
  char text[160];
  DWORD attributes = GetFileAttributesA(TasksFolder().c_str());
  snprintf(text, sizeof text, "no task scheduler after %lu ms: HRESULT 0x%08lX, tasks folder %s",
           static_cast<unsigned long>(ms), static_cast<unsigned long>(hr),
           attributes == INVALID_FILE_ATTRIBUTES ? "missing"
           : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "present" : "not a folder");
  *found = std::string(text) + ", Schedule service " + ScheduleServiceState();
  return false;
}

// Every work item of the tasks folder goes, so each test starts empty.
inline void DeleteAllTasks() {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((TasksFolder() + "\\*.job").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do DeleteFileA((TasksFolder() + "\\" + found.cFileName).c_str());
  while (FindNextFileA(h, &found));
  FindClose(h);
}

// The names in the scheduler's own enumeration order, one at a time.
inline std::vector<std::string> EnumeratedNames() {
  std::vector<std::string> names;
  ITaskScheduler* s = OpenScheduler();
  IEnumWorkItems* items = nullptr;
  if (s && SUCCEEDED(s->Enum(&items))) {
    LPWSTR* batch = nullptr;
    ULONG got = 0;
    while (SUCCEEDED(items->Next(1, &batch, &got)) && got == 1) {
      char name[MAX_PATH];
      WideCharToMultiByte(CP_ACP, 0, batch[0], -1, name, sizeof name, nullptr, nullptr);
      names.push_back(name);
      CoTaskMemFree(batch[0]);
      CoTaskMemFree(batch);
    }
    items->Release();
  }
  if (s) s->Release();
  return names;
}

inline bool TaskFileExists(const char* file) {
  return GetFileAttributesA((TasksFolder() + "\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace taskfixtures

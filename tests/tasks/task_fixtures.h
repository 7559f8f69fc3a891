// Work items for the scheduled-task tests, made and read through the Task
// Scheduler's own interfaces (not through the code under test).
#pragma once
#include <windows.h>
#include <mstask.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace taskfixtures {

const GUID kClsidScheduler = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidScheduler = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kClsidTask = {0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const GUID kIidTask = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

inline ITaskScheduler* OpenScheduler() {
  ITaskScheduler* s = nullptr;
  CoCreateInstance(kClsidScheduler, nullptr, CLSCTX_INPROC_SERVER, kIidScheduler, (void**)&s);
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

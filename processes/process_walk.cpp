#include "processes/process_walk.h"

#include <tlhelp32.h>

#include <cstring>

#include "core/files.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/version.h"
#include "processes/task_rules.h"
#include "startup/catalogue.h"
#include "core/entries.h"

namespace tov {

namespace {

constexpr DWORD kFirstIdListBytes = 1024;
constexpr DWORD kKillExitCode = 1;     // 259 would read as "still running"
constexpr DWORD kKillWaitMs = 1000;

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using TaskEnumProcEx = BOOL(WINAPI*)(DWORD threadId, WORD module16, WORD task16, PSZ moduleName,
                                     PSZ fileName, LPARAM value);
using VdmEnumTaskWowExFn = INT(WINAPI*)(DWORD processId, TaskEnumProcEx step, LPARAM value);
using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using Module32Fn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);

template <typename F> F Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct HeapBlock {
  void* p = nullptr;
  ~HeapBlock() { if (p) HeapFree(GetProcessHeap(), 0, p); }
};

// The ids of every process, in the buffer grown until they all fit.
bool ReadProcessIds(EnumProcessesFn enumProcesses, HeapBlock* block, DWORD* count) {
  for (DWORD bytes = kFirstIdListBytes;; bytes *= 2) {
    if (block->p) HeapFree(GetProcessHeap(), 0, block->p);
    block->p = HeapAlloc(GetProcessHeap(), 0, bytes);
    if (!block->p) return false;
    DWORD returned = 0;
    if (!enumProcesses(static_cast<DWORD*>(block->p), bytes, &returned)) return false;
    if (returned < bytes) {
      *count = returned / sizeof(DWORD);
      return true;
    }
  }
}

struct VdmWalk {
  ProcessStep step;
  LPARAM value;
  DWORD processId;
  bool stopped;
};

BOOL WINAPI VdmTaskStep(DWORD, WORD, WORD task16, PSZ, PSZ fileName, LPARAM value) {
  VdmWalk* walk = reinterpret_cast<VdmWalk*>(value);
  if (walk->step(walk->processId, task16, fileName ? fileName : "", walk->value)) return FALSE;
  walk->stopped = true;
  return TRUE;  // a true answer ends the task walk
}

int WalkNt(ProcessStep step, LPARAM value) {
  Module psapi(LoadLibraryA("PSAPI.DLL"));
  if (!psapi) return 0;
  auto enumProcesses = Lookup<EnumProcessesFn>(psapi.get(), "EnumProcesses");
  auto enumModules = Lookup<EnumProcessModulesFn>(psapi.get(), "EnumProcessModules");
  auto moduleFileName = Lookup<GetModuleFileNameExFn>(psapi.get(), "GetModuleFileNameExA");
  if (!enumProcesses || !enumModules || !moduleFileName) return 0;
  // Without the VDM library only the 16-bit tasks are missed.
  Module vdm(LoadLibraryA("VDMDBG.DLL"));
  auto enumTasks = vdm ? Lookup<VdmEnumTaskWowExFn>(vdm.get(), "VDMEnumTaskWOWEx") : nullptr;

  HeapBlock ids;
  DWORD count = 0;
  if (!ReadProcessIds(enumProcesses, &ids, &count)) return 0;
  const DWORD* id = static_cast<const DWORD*>(ids.p);
  for (DWORD i = 0; i < count; ++i) {
    char name[kPathCapacity] = "";
    Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id[i]));
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (process && enumModules(process.get(), &first, sizeof first, &needed) &&
        !moduleFileName(process.get(), first, name, sizeof name))
      name[0] = 0;
    process.reset();
    if (!step(id[i], 0, name, value)) break;
    if (enumTasks && IsVdmHost(name)) {
      VdmWalk walk{step, value, id[i], false};
      enumTasks(id[i], VdmTaskStep, reinterpret_cast<LPARAM>(&walk));
      if (walk.stopped) break;
    }
  }
  return 1;
}

// Tool help on the 9x family may give only the file name; the process's
// first module carries the full path.
void FullPathOfProcess(HMODULE kernel, DWORD processId, char (&name)[kPathCapacity]) {
  if (strchr(name, '\\')) return;
  auto snapshot = Lookup<SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  auto first = Lookup<Module32Fn>(kernel, "Module32First");
  if (!snapshot || !first) return;
  Handle modules(snapshot(TH32CS_SNAPMODULE, processId));
  if (!modules) return;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  if (first(modules.get(), &module)) CopyText(name, module.szExePath);
}

int WalkToolHelp(ProcessStep step, LPARAM value) {
  Module kernel(LoadLibraryA("Kernel32.DLL"));
  if (!kernel) return 0;
  auto snapshot = Lookup<SnapshotFn>(kernel.get(), "CreateToolhelp32Snapshot");
  auto first = Lookup<Process32Fn>(kernel.get(), "Process32First");
  auto next = Lookup<Process32Fn>(kernel.get(), "Process32Next");
  if (!snapshot || !first || !next) return 0;
  Handle processes(snapshot(TH32CS_SNAPPROCESS, 0));
  if (!processes) return 0;
  PROCESSENTRY32 record{};
  record.dwSize = sizeof record;
  for (BOOL more = first(processes.get(), &record); more; more = next(processes.get(), &record)) {
    char name[kPathCapacity];
    CopyText(name, record.szExeFile);
    FullPathOfProcess(kernel.get(), record.th32ProcessID, name);
    if (!step(record.th32ProcessID, 0, name, value)) break;
    record.dwSize = sizeof record;
  }
  return 1;
}

// The long form of the program a command or file name names.
bool LongProgramOf(const char* command, char (&out)[kPathCapacity]) {
  if (!ProgramOfCommand(command, out) || out[0] == 0) {
    out[0] = 0;
    return false;
  }
  LongPathName(out, out);
  return true;
}

bool ListStep(DWORD processId, WORD, const char* fileName, LPARAM) {
  char program[kPathCapacity];
  if (!fileName[0] || !ProgramOfCommand(fileName, program) || !program[0]) return true;
  char stored[kPathCapacity];
  LongPathName(stored, program);
  // One entry per program file: the first process found keeps it.
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* e = EntryAt(i);
    if (e && (EqualsNoCase(e->path, program) || EqualsNoCase(e->path, stored))) return true;
  }
  VersionStrings version;
  ReadVersionStrings(program, &version);
  AddEntry(version.fileDescription, program, "", "", kCodeRunningTask, int(processId));
  return true;
}

struct FindState {
  char target[kPathCapacity];
  DWORD found;
};

bool FindStep(DWORD processId, WORD, const char* fileName, LPARAM value) {
  FindState* state = reinterpret_cast<FindState*>(value);
  if (!fileName[0]) return true;
  char program[kPathCapacity];
  LongProgramOf(fileName, program);
  ProgramMatch match = MatchProgram(program, fileName, state->target);
  if (match == kNoMatch) return true;
  if (match == kBareNameMatch && IsCommonHostProgram(state->target)) return true;
  state->found = processId;
  return false;
}

struct IdState {
  DWORD processId;
  char fileName[kPathCapacity];
  bool found;
};

bool IdStep(DWORD processId, WORD task16, const char* fileName, LPARAM value) {
  IdState* state = reinterpret_cast<IdState*>(value);
  if (processId != state->processId || task16 != 0) return true;
  CopyText(state->fileName, fileName);
  state->found = true;
  return false;
}

}  // namespace

int EnumProcs(ProcessStep step, LPARAM value) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!step || !GetVersionExA(&version)) return 0;
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return WalkNt(step, value);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return WalkToolHelp(step, value);
  return 0;
}

int ListActiveTasks() {
  ClearEntries();
  EnumProcs(ListStep, 0);
  return EntryCount();
}

DWORD FindProcessOfProgram(const char* program) {
  FindState state{};
  if (!program || !LongProgramOf(program, state.target)) return 0;
  EnumProcs(FindStep, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

BOOL KillProcessId(DWORD processId) {
  Handle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE,
                             processId));
  if (!process) return FALSE;
  BOOL ended = TerminateProcess(process.get(), kKillExitCode);
  if (ended) WaitForSingleObject(process.get(), kKillWaitMs);
  return ended;
}

bool KillProcessOfProgram(DWORD processId, const char* program) {
  IdState state{processId, "", false};
  char target[kPathCapacity];
  if (processId == 0 || !program || !LongProgramOf(program, target)) return false;
  EnumProcs(IdStep, reinterpret_cast<LPARAM>(&state));
  if (!state.found || !state.fileName[0]) return false;
  char running[kPathCapacity];
  LongProgramOf(state.fileName, running);
  if (MatchProgram(running, state.fileName, target) != kFullPathMatch) return false;
  return KillProcessId(processId) != FALSE;
}

}  // namespace tov

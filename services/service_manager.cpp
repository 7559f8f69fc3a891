#include "services/service_manager.h"

#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/history.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/version.h"
#include "services/service_rules.h"
#include "startup/catalogue.h"
#include "core/entries.h"
#include "services/services.h"

namespace tov {

const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services";
const char kServiceBaselineKey[] = "Software\\Brenvik\\Tovrel\\Services";
const char kServicesDetectedKey[] = "Software\\Brenvik\\Detected\\Services";

namespace {

constexpr size_t kServiceKeyCapacity = sizeof kServicesKey + kServiceNameCapacity + 16;
constexpr size_t kBaselineMarkCapacity = 32;
constexpr size_t kCodeTextCapacity = 16;
constexpr DWORD kServiceControlRights =
    SERVICE_STOP | SERVICE_PAUSE_CONTINUE | SERVICE_INTERROGATE | SERVICE_USER_DEFINED_CONTROL;

inline void CloseService(SC_HANDLE h) { CloseServiceHandle(h); }
using ServiceHandle = Owned<SC_HANDLE, CloseService>;

bool OpenManager(ServiceHandle* manager) {
  manager->reset(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
  return bool(*manager);
}

// The service of a display name, opened with the given rights.
bool OpenServiceByDisplayName(const char* displayName, DWORD rights, ServiceHandle* service) {
  ServiceHandle manager;
  if (!displayName || !displayName[0] || !OpenManager(&manager)) return false;
  char keyName[kServiceNameCapacity];
  DWORD size = sizeof keyName;
  if (!GetServiceKeyNameA(manager.get(), displayName, keyName, &size)) return false;
  service->reset(OpenServiceA(manager.get(), keyName, rights));
  return bool(*service);
}

bool ServiceKeyPath(const char* keyName, const char* sub, char (&out)[kServiceKeyCapacity]) {
  int n = snprintf(out, sizeof out, "%s\\%s%s%s", kServicesKey, keyName, sub ? "\\" : "",
                   sub ? sub : "");
  return n > 0 && size_t(n) < sizeof out;
}

// The "Start" value of a service key; false when missing or not a number.
bool ReadStart(const char* keyPath, DWORD* start) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = sizeof *start;
  return RegQueryValueExA(key.get(), "Start", nullptr, &type, reinterpret_cast<BYTE*>(start),
                          &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof *start;
}

enum TextRead { kTextMissing, kTextRead, kTextTooLong };

// A text value read with room for cap - 1 characters.
TextRead ReadLongText(const char* keyPath, const char* name, char* out, size_t cap) {
  out[0] = 0;
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return kTextMissing;
  DWORD type = 0, size = DWORD(cap - 1);
  LONG result =
      RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
  if (result == ERROR_MORE_DATA) {
    out[0] = 0;
    return kTextTooLong;
  }
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
    out[0] = 0;
    return kTextMissing;
  }
  out[size] = 0;
  return kTextRead;
}

// The program a service runs: "ServiceDll" of its "Parameters" sub-key for a
// hosted service when that is set, else the "ImagePath".
void ServiceProgramPath(const char* keyName, const char* imagePath, char* out, size_t cap) {
  CopyTextN(out, cap, imagePath);
  if (!IsSharedServiceImage(imagePath)) return;
  char parameters[kServiceKeyCapacity];
  char dll[kServiceTextCapacity];
  if (ServiceKeyPath(keyName, "Parameters", parameters) &&
      GetRegString(HKEY_LOCAL_MACHINE, parameters, "ServiceDll", dll) > 0)
    CopyTextN(out, cap, dll);
}

bool IsMicrosoftProgram(const char* path) {
  char program[kPathCapacity];
  VersionStrings version;
  if (!ProgramOfCommand(path, program) || !program[0]) return false;
  ReadVersionStrings(program, &version);
  return ContainsText(version.companyName, "Microsoft") != 0;
}

// Calls visit for every sub-key name of the Services key; visit returns
// false to stop.
template <typename Visit> void ForEachServiceKey(Visit visit) {
  RegKey services;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServicesKey, 0, KEY_READ, services.put()) !=
      ERROR_SUCCESS)
    return;
  for (DWORD index = 0;; ++index) {
    char name[kServiceNameCapacity];
    LONG result = RegEnumKeyA(services.get(), index, name, sizeof name);
    // A name too long for the room is passed over; any other failure (no
    // more keys, the key deleted meanwhile) ends the walk.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return;
    if (name[0] == 0) continue;
    if (!visit(name)) return;
  }
}

void AddService(const char* keyName) {
  char keyPath[kServiceKeyCapacity];
  char image[kServiceTextCapacity];
  if (!ServiceKeyPath(keyName, nullptr, keyPath) ||
      GetRegString(HKEY_LOCAL_MACHINE, keyPath, "ImagePath", image) == 0 ||
      !IsListedServiceImage(image))
    return;
  static char title[kServiceDisplayCapacity];
  if (!ServiceDisplayName(keyName, title, sizeof title))
    GetRegString(HKEY_LOCAL_MACHINE, keyPath, "DisplayName", title, kServiceTextCapacity);
  // A description too long for its room is as over-long as one the entry
  // list refuses: the service is not listed.
  static char description[kServiceDescriptionRoom];
  if (ReadLongText(keyPath, "Description", description, sizeof description) == kTextTooLong)
    return;
  DWORD start = 0;
  char startText[kTitleCapacity] = "0";
  int textId = ReadStart(keyPath, &start) ? StartTypeTextId(start) : 0;
  if (textId) LoadText(textId, startText);
  char path[kServiceTextCapacity];
  ServiceProgramPath(keyName, image, path, sizeof path);
  if (Setting(kOptHideMicrosoftServices) > 0 && IsMicrosoftProgram(path)) return;
  int code = IsSharedServiceImage(image) ? kCodeServiceShared : kCodeServiceProgram;
  AddEntry(title, path, startText, description, code, 0);
}

}  // namespace

int ScanServices() {
  ClearEntries();
  ForEachServiceKey([](const char* name) {
    AddService(name);
    return true;
  });
  return EntryCount();
}

int ServiceDisplayName(const char* keyName, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  ServiceHandle manager;
  if (!keyName || !OpenManager(&manager)) return 0;
  DWORD size = DWORD(cap);
  if (GetServiceDisplayNameA(manager.get(), keyName, out, &size)) return 1;
  out[0] = 0;
  return 0;
}

DWORD QueryServiceState(const char* displayName) {
  ServiceHandle service;
  if (!OpenServiceByDisplayName(displayName, GENERIC_READ, &service)) return 0;
  SERVICE_STATUS status{};
  if (!ControlService(service.get(), SERVICE_CONTROL_INTERROGATE, &status)) return 0;
  return (status.dwCurrentState << 16) | (status.dwServiceType & 0xFFFF);
}

int ServiceStateText(const char* displayName, char* out, size_t cap) {
  DWORD value = QueryServiceState(displayName);
  if (cap) LoadText(ServiceStateTextId(value >> 16), out, cap);
  return value < 0x10000 ? 0 : int(value);
}

int SendServiceControl(const char* displayName, unsigned long control) {
  ServiceHandle service;
  if (!OpenServiceByDisplayName(displayName, kServiceControlRights, &service)) return 0;
  SERVICE_STATUS status{};
  return ControlService(service.get(), control, &status) ? 1 : 0;
}

bool FindServiceKeyName(const char* displayName, char (&keyName)[kServiceNameCapacity]) {
  keyName[0] = 0;
  if (!displayName || !displayName[0]) return false;
  ServiceHandle manager;
  DWORD size = sizeof keyName;
  if (OpenManager(&manager) && GetServiceKeyNameA(manager.get(), displayName, keyName, &size))
    return true;
  // Not known to the manager: the first key whose own "DisplayName" matches.
  keyName[0] = 0;
  ForEachServiceKey([&](const char* name) {
    char keyPath[kServiceKeyCapacity];
    char text[kServiceTextCapacity];
    if (!ServiceKeyPath(name, nullptr, keyPath) ||
        GetRegString(HKEY_LOCAL_MACHINE, keyPath, "ImagePath", text) == 0 ||
        GetRegString(HKEY_LOCAL_MACHINE, keyPath, "DisplayName", text) == 0 ||
        !EqualsNoCase(text, displayName))
      return true;
    CopyText(keyName, name);
    return false;
  });
  return keyName[0] != 0;
}

int SetServiceStartType(const char* displayName, unsigned long start) {
  char keyName[kServiceNameCapacity];
  char keyPath[kServiceKeyCapacity];
  if (!FindServiceKeyName(displayName, keyName) || !ServiceKeyPath(keyName, nullptr, keyPath) ||
      !RegKeyExists(HKEY_LOCAL_MACHINE, keyPath))
    return 0;
  return SetRegDword(HKEY_LOCAL_MACHINE, keyPath, "Start", start) ? 1 : 0;
}

bool StopServiceLogged(const char* title, const char* path, int code) {
  if (!SendServiceControl(title, SERVICE_CONTROL_STOP)) return false;
  AddHistoryEvent(title, path, "", code, kActionServiceStop);
  return true;
}

bool ApplyServiceStartType(const char* title, const char* path, int code, unsigned long start) {
  int action = NewStartAction(start);
  char keyName[kServiceNameCapacity];
  char keyPath[kServiceKeyCapacity];
  if (action < 0 || !FindServiceKeyName(title, keyName) ||
      !ServiceKeyPath(keyName, nullptr, keyPath) || !RegKeyExists(HKEY_LOCAL_MACHINE, keyPath))
    return false;
  DWORD former = 0;
  bool known = ReadStart(keyPath, &former);
  if (!SetRegDword(HKEY_LOCAL_MACHINE, keyPath, "Start", start)) return false;
  int fromAction = known ? FormerStartAction(former) : -1;
  if (fromAction >= 0) AddHistoryEvent(title, path, "", code, fromAction);
  AddHistoryEvent(title, path, "", code, action);
  return true;
}

size_t ServiceDescriptionOfProgram(const char* program, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (!program || !program[0]) return 0;
  size_t length = 0;
  ForEachServiceKey([&](const char* name) {
    char keyPath[kServiceKeyCapacity];
    char image[kServiceTextCapacity];
    char path[kPathCapacity];
    char serviceProgram[kPathCapacity];
    if (!ServiceKeyPath(name, nullptr, keyPath) ||
        GetRegString(HKEY_LOCAL_MACHINE, keyPath, "ImagePath", image) == 0)
      return true;
    ServiceProgramPath(name, image, path, sizeof path);
    if (!ProgramOfCommand(path, serviceProgram) || !EqualsNoCase(serviceProgram, program))
      return true;
    char description[kEntryExtraSlot];
    length = GetRegString(HKEY_LOCAL_MACHINE, keyPath, "Description", description);
    if (!CopyTextN(out, cap, description)) length = strlen(out);
    return false;
  });
  return length;
}

void InitServiceBaseline() {
  char mark[kBaselineMarkCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, nullptr, mark) > 0 && mark[0] == 'P')
    return;
  // A key without the mark is left over from an unfinished baseline.
  if (RegKeyExists(HKEY_CURRENT_USER, kServiceBaselineKey))
    DeleteRegTree(HKEY_CURRENT_USER, kServiceBaselineKey);
  if (!SetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, nullptr, "P")) return;
  ScanServices();
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* e = EntryAt(i);
    if (!e || !e->title[0]) continue;
    char code[kCodeTextCapacity];
    snprintf(code, sizeof code, "%d", e->code);
    SetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, e->title, code);
  }
  ClearEntries();
}

}  // namespace tov

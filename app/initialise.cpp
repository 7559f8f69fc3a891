#include "app/initialise.h"

#include <windows.h>

#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/options_table.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "cookies/cookies.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "filetypes/associations.h"
#include "hidden/hidden_files.h"
#include "options/autostart.h"
#include "options/system_files.h"
#include "services/service_manager.h"
#include "startup/baseline.h"
#include "startup/regfile.h"

namespace tov {

const char kConfigurationVersion[] = "11.2.2007.1";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovrel 2007";

namespace {

constexpr int kIniNameTextId = 4;
constexpr char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kPublisher[] = "Brenvik";

// The installer that ships the program registers itself under this product
// code; its maintenance dialog repairs or removes the files.
constexpr char kProductCode[] = "{5B7E2C41-9D3A-4F68-A1C2-7E04B9D6F317}";
// Uninstall keys that installers of earlier releases left behind.
const char* const kOldProductCodes[] = {
    "{0F6C3A12-7B4E-4C91-8D25-3A9E61B4C7D0}",
    "{2A8D5E73-C6B1-4E0F-9A47-B13D8C2F5E69}",
    "{8E1B7C4D-35A9-4D62-B0F8-6C2E9A7D1B53}",
    "{C3F94A26-E8D7-41B5-97C0-5D2A6E8B4F1C}",
};

// The sub-keys a first run makes under "Software\Brenvik\Tovrel".
const char* const kFirstRunKeys[] = {"Nuts", "Run", "Cookies", "Options", "IEHelpers", "HostFile", "Tasks"};

size_t NowText(char (&out)[kDateTimeCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatDateTime(now, out);
}

// The known startup entries, then the monitor's automatic start.
void CreateInitialValues() {
  Trace("Create Initial Values", "");
  InitRegStartups();
  SetAutoStart(true);
}

bool IsFirstRun() {
  char date[kRegTextCapacity];
  return GetRegString(HKEY_CURRENT_USER, kProductKey, "", date) == 0;
}

bool FilterWordsStored() {
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kNutsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  DWORD values = 0;
  RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  return values > 0;
}

// The date is written last: a first run cut short runs again.
void RunFirstTime() {
  Trace("Get Initial Values", "FIRSTTIME");
  CreateRegKey(HKEY_CURRENT_USER, "Software\\Brenvik");
  CreateRegKey(HKEY_CURRENT_USER, kProductKey);
  char date[kDateTimeCapacity];
  NowText(date);
  for (const char* name : kFirstRunKeys) {
    char key[kPathCapacity];
    CopyText(key, kProductKey);
    if (AppendText(key, "\\") && AppendText(key, name)) CreateRegKey(HKEY_CURRENT_USER, key);
  }
  CreateInitialValues();
  if (!FilterWordsStored()) SeedDefaultFilterWords();
  Trace("Get Initial Values", "GETOLDSTARTUP");
  SetRegString(HKEY_CURRENT_USER, kProductKey, "", date);
}

// A stored "Version" that holds the current one counts as current; another
// one (an upgrade) records the known lists afresh. "Cleanup" asks for the
// same once.
void CheckConfigurationVersion() {
  char stored[kRegTextCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, "Version", stored) == 0) {
    ResetKnownItems();
    SetRegString(HKEY_CURRENT_USER, kProductKey, "Version", kConfigurationVersion);
    return;
  }
  if (!ContainsText(stored, kConfigurationVersion)) {
    ResetKnownItems();
    SetRegString(HKEY_CURRENT_USER, kProductKey, "Version", kConfigurationVersion);
    CreateInitialValues();
  }
  if (GetOption("Cleanup", kDefaultCleanup) != 0) {
    ResetKnownItems();
    SetOption("Cleanup", 0);
  }
}

bool UninstallKeyOf(const char* productCode, char (&out)[kPathCapacity]) {
  return CopyText(out, kUninstallRoot) && AppendText(out, productCode);
}

// An older key goes only when it is this program's own: another product
// that happens to use the same code keeps its entry.
void DeleteOldUninstallKeys() {
  for (const char* code : kOldProductCodes) {
    char key[kPathCapacity];
    if (!UninstallKeyOf(code, key)) continue;
    char name[kRegTextCapacity], publisher[kRegTextCapacity];
    GetRegString(HKEY_LOCAL_MACHINE, key, "DisplayName", name);
    GetRegString(HKEY_LOCAL_MACHINE, key, "Publisher", publisher);
    if (ContainsText(name, "Tovrel") && EqualsNoCase(publisher, kPublisher))
      DeleteRegTree(HKEY_LOCAL_MACHINE, key);
  }
}

// The delayed programs go back to normal startup one by one; a record is
// deleted only after its entry is back in its location. The store's keys
// go when nothing is left in them.
void ReturnDelayedPrograms() {
  RestoreAllDelayed();
  int left = BuildDelayedList();
  bool leftIn[2] = {false, false};
  for (int i = 0; i < left; ++i)
    if (const Entry* e = EntryAt(i)) leftIn[e->flag == 0 ? 0 : 1] = true;
  ClearEntries();
  if (left > 0) Trace("RemoveInstallation", "delayed programs kept: not written back");
  if (!leftIn[0]) DeleteRegTree(HKEY_LOCAL_MACHINE, kDelayKey);
  if (!leftIn[1]) DeleteRegTree(HKEY_CURRENT_USER, kDelayKey);
}

}  // namespace

void ComputeProgramPaths() {
  char folder[kPathCapacity];
  char ini[kPathCapacity];
  char name[32];
  if (DataFolder(folder) && LoadText(kIniNameTextId, name) > 0) {
    CopyText(ini, folder);
    if (AppendText(ini, "\\") && AppendText(ini, name)) SetIniPath(ini);
  }
  char trace[kPathCapacity];
  if (ProgramFolder(trace) > 0 && AppendText(trace, "\\sendex2tv.txt")) SetTracePath(trace);
}

void RegisterUninstallEntry() {
  char uninstall[kRegTextCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", uninstall) > 0) return;
  BackupRunKeys();
  char program[kPathCapacity];
  DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
  if (n > 0 && n < sizeof program) SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", program);
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Tovrel 2007 Restore/Remove First");
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "Contact", "support@brenvik.com");
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", "11.2.2007");
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "HelpLink", "http://www.brenvik.com");
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher", kPublisher);
  DeleteOldUninstallKeys();
}

void Initialise() {
  SetMemoryTrace(false);
  SelectTextLanguage();
  if (GetOption("Debug", kDefaultDebug) != 0) SetMemoryTrace(true);
  if (IniPath()[0] == 0) ComputeProgramPaths();
  if (IsFirstRun()) RunFirstTime();
  if (Tracing()) {
    char label[512];
    VersionLabel(label, sizeof label);
    Trace("-------------------------------------Begin Tovrel", label);
  }
  RegisterUninstallEntry();
  InitDetected();
  InitServiceBaseline();
  InitHiddenBaseline();
  MakeSystemFileBaseline();
  CheckConfigurationVersion();
  CreateClassInfo();
  LoadOptions();
  SetAutoStartFlag(IsAutoStartOn());
  ClearEntries();
  BuildDelayedList();
}

void RemoveInstallation() {
  ReturnDelayedPrograms();
  SetAutoStart(false);
  DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  // The installer's maintenance dialog, when the installer put the program
  // here: without it there is nothing for MsiExec to repair or remove.
  char product[kPathCapacity];
  if (UninstallKeyOf(kProductCode, product) && RegKeyExists(HKEY_LOCAL_MACHINE, product)) {
    char parameters[64];
    CopyText(parameters, "/I");
    AppendText(parameters, kProductCode);
    RunProgram(nullptr, "MsiExec.exe", parameters);
  }
}

}  // namespace tov

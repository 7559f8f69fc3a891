#include "iehelpers/helpers.h"

#include <windows.h>

#include "core/files.h"
#include "core/history.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "core/entries.h"

namespace tov {

namespace {

constexpr char kClassKeyPrefix[] = "CLSID\\";
constexpr char kServerKeyEnding[] = "\\InprocServer32";
constexpr size_t kHelperKeyCapacity = 520;

// Calls visit for every sub-key (values: every value) name of an
// HKEY_LOCAL_MACHINE key, by index from 0 until there are no more; a name
// that cannot be read is passed over. Nothing when the key cannot be opened.
template <typename F> void ForEachName(const char* keyPath, bool values, F visit) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  for (DWORD index = 0;; ++index) {
    char name[kHelperNameCapacity];
    DWORD length = sizeof name;
    LONG rc = values ? RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr,
                                     nullptr)
                     : RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr,
                                     nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return;
    if (rc != ERROR_SUCCESS) continue;
    visit(name);
  }
}

// ProductName of a server, else its file name.
void ServerTitle(const char* server, const VersionStrings& version, char (&title)[kPathCapacity]) {
  if (version.productName[0])
    CopyText(title, version.productName);
  else
    FileNameOf(server, title);
}

void AddHelperObject(const char* name) {
  char key[kClassKeyCapacity];
  if (!CopyText(key, kClassKeyPrefix) || !AppendText(key, name) ||
      !AppendText(key, kServerKeyEnding))
    return;
  char server[kPathCapacity];
  if (GetRegString(HKEY_CLASSES_ROOT, key, "", server) == 0) return;
  VersionStrings version;
  ReadVersionStrings(server, &version);
  char title[kPathCapacity];
  ServerTitle(server, version, title);
  AddEntry(title, server, name, version.productVersion, kCodeHelperObject, 0);
}

void AddToolbar(const char* name) {
  char className[kClassTextCapacity];
  char server[kClassTextCapacity];
  LookupClassServer(name, className, server);
  VersionStrings version;
  ReadVersionStrings(server, &version);
  char title[kPathCapacity] = "";
  ServerTitle(server, version, title);
  // A toolbar whose class has no server is still listed; its class
  // identifier names it.
  if (title[0] == 0) CopyText(title, name);
  AddEntry(title, server, name, version.productVersion, kCodeToolbar, 0);
}

void AddExtension(const char* name) {
  char key[kHelperKeyCapacity];
  if (!CopyText(key, kExtensionsKey) || !AppendText(key, "\\") || !AppendText(key, name)) return;
  char buttonText[kPathCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, key, "ButtonText", buttonText) == 0) return;
  char title[kPathCapacity];
  ExtensionTitle(buttonText, title, sizeof title);
  char path[kPathCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, key, "Exec", path) == 0)
    GetRegString(HKEY_LOCAL_MACHINE, key, "script", path);
  char icon[kPathCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, key, "HotIcon", icon) == 0) CopyText(icon, path);
  char program[kPathCapacity];
  VersionStrings version;
  if (ProgramOfCommand(path, program) && program[0] && ReadVersionStrings(program, &version))
    CopyText(title, version.productName);
  AddEntry(title, path, name, icon, kCodeExtension, 0);
}

// The registry path an entry's registration lives at: "<key>\<sub-key>" for
// helper objects and extensions, "<Toolbar key>\" for toolbars (the value
// is named by the source). False for a source that could name anything else.
bool RegistrationPath(const Entry& entry, char (&out)[kHelperKeyCapacity]) {
  const char* key = HelperKeyOf(entry.code);
  if (key == nullptr || entry.source[0] == 0 || !CopyText(out, key) || !AppendText(out, "\\"))
    return false;
  if (entry.code == kCodeToolbar) return true;
  for (const char* p = entry.source; *p; ++p)
    if (*p == '\\') return false;
  return AppendText(out, entry.source);
}

bool ToolbarValueExists(const char* name) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kToolbarKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Deletes the registration; true when it is gone afterwards.
bool DeleteRegistration(const Entry& entry, const char* path) {
  if (entry.code == kCodeToolbar) {
    DeleteRegValue(HKEY_LOCAL_MACHINE, kToolbarKey, entry.source);
    return !ToolbarValueExists(entry.source);
  }
  // The NT family will not delete a key that has sub-keys: the whole tree goes.
  DeleteRegTree(HKEY_LOCAL_MACHINE, path);
  return !RegKeyExists(HKEY_LOCAL_MACHINE, path);
}

bool StartRegsvr(const char* command) {
  if (command[0] == 0) return false;
  UINT rc = WinExec(command, SW_SHOW);
  if (rc > 31) return true;
  Trace("ERROR WinExec", command);
  return false;
}

int ReRegisterEvent(const Entry& event) { return ReRegisterIEHelper(event.path) ? kRestoreDone : kRestoreFailed; }

}  // namespace

int ScanIEHelpers() {
  ClearEntries();
  ForEachName(kHelperObjectsKey, false, AddHelperObject);
  ForEachName(kToolbarKey, true, AddToolbar);
  ForEachName(kExtensionsKey, false, AddExtension);
  return EntryCount();
}

int RemoveIEHelper(int index) {
  const Entry* entry = EntryAt(index);
  char registration[kHelperKeyCapacity];
  if (entry == nullptr || !RegistrationPath(*entry, registration)) return 0;
  if (!DeleteRegistration(*entry, registration)) {
    Trace("RemoveIEHelper", "registration still present");
    return 0;
  }
  char command[kRegsvrCommandCapacity];
  if (UnregisterCommand(entry->path, command, sizeof command)) StartRegsvr(command);
  char fileName[kPathCapacity];
  if (FileNameOf(entry->path, fileName) == 0) CopyText(fileName, entry->title);
  AddHistoryEvent(fileName, entry->path, registration, kCodeHelperObject, kActionHelperRemove);
  return 1;
}

bool ReRegisterIEHelper(const char* path) {
  char command[kRegsvrCommandCapacity];
  if (!RegisterCommand(path, command, sizeof command)) return false;
  return StartRegsvr(command);
}

void RegisterHelperRestoreHandler() {
  RegisterRestoreHandler(kReregisterHelper, RestoreHandler{ReRegisterEvent, nullptr});
}

}  // namespace tov

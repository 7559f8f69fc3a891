#include "filetypes/associations.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "resources/string_ids.h"
#include "startup/catalogue.h"
#include "core/entries.h"

namespace tov {

namespace {

constexpr char kMachineClasses[] = "Software\\Classes\\";
constexpr char kOpenCommand[] = "\\shell\\open\\command";
constexpr char kDefaultIconKey[] = "\\DefaultIcon";

// Where each kind finds its class name (a value of the extension's key) and
// the open command of that class.
struct LookupSource {
  int kind;
  HKEY nameRoot;
  const char* namePrefix;  // followed by ".<ext>"
  const char* nameValue;   // "" is the key's default value
  HKEY commandRoot;
  const char* commandPrefix;  // followed by "<class>\shell\open\command"
};

const LookupSource kLookupSources[] = {
    {kKindSystem, HKEY_LOCAL_MACHINE, kMachineClasses, "", HKEY_LOCAL_MACHINE, kMachineClasses},
    {kKindExplorerApp, HKEY_CURRENT_USER,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\", "Application",
     HKEY_CLASSES_ROOT, "Applications\\"},
    {kKindExplorerProgId, HKEY_CURRENT_USER,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\", "ProgID",
     HKEY_CLASSES_ROOT, ""},
    {kKindRoot, HKEY_CLASSES_ROOT, "", "", HKEY_CLASSES_ROOT, ""},
};

const LookupSource* SourceOfKind(int kind) {
  for (const LookupSource& row : kLookupSources)
    if (row.kind == kind) return &row;
  return nullptr;
}

// The extension with its leading dot; false when it does not fit.
bool Dotted(const char* extension, char (&out)[kExtensionCapacity]) {
  out[0] = 0;
  if (extension[0] != '.' && !CopyText(out, ".")) return false;
  return AppendText(out, extension) && out[1] != 0;
}

// prefix + middle + suffix as a key path; false when cut.
bool KeyPath(const char* prefix, const char* middle, const char* suffix,
             char (&out)[kPathCapacity]) {
  return CopyText(out, prefix) && AppendText(out, middle) && AppendText(out, suffix);
}

// A text value that must exist: true with its text (possibly empty) when it
// is there and readable; false, with empty text, when it is missing or is
// not empty yet cannot be read whole (too long, not a string).
bool ReadPresentText(HKEY root, const char* key, const char* name, char* out, size_t cap) {
  out[0] = 0;
  RegKey k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, k.put()) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  if (RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return false;
  return GetRegString(root, key, name, out, cap) > 0 || size <= 1;
}

// Sets the value to empty text, then deletes it (so a reader that sees it
// half-way finds nothing). Only a value that exists is touched.
void ClearAndDeleteValue(const char* key, const char* name) {
  RegKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, k.put()) != ERROR_SUCCESS) return;
  if (RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
  k.reset();
  SetRegString(HKEY_CURRENT_USER, key, name, "");
  DeleteRegValue(HKEY_CURRENT_USER, key, name);
}

// Adds the entry of one association: titled by the class description, else
// by the product name of the command's program (whose description then
// stands in for the class).
void AddFileTypeEntry(const char* dotted, int kind, const char* className, const char* command) {
  char title[kEntryTitleSlot] = "";
  char source[kEntrySourceSlot];
  CopyText(source, className);
  char key[kPathCapacity];
  if (KeyPath(kMachineClasses, className, "", key)) GetRegString(HKEY_LOCAL_MACHINE, key, "", title);
  if (title[0] == 0) {
    char program[kPathCapacity];
    VersionStrings version{};
    if (ProgramOfCommand(command, program) && program[0]) ReadVersionStrings(program, &version);
    CopyText(title, version.productName);
    CopyText(source, version.fileDescription);
  }
  AddEntry(title, command, source, dotted, kCodeFileType, kind);
}

// Enumerates and records every entry's association; the entry list is
// cleared afterwards. Returns the number of entries.
int RecordEveryEntry() {
  int count = EnumerateFileTypes();
  for (int i = 0; i < count; ++i) {
    const Entry* e = EntryAt(i);
    if (e) RecordAssociation(e->extra, e->flag);
  }
  ClearEntries();
  return count;
}

}  // namespace

ListRead ReadMonitoredList(char (&out)[kMonitoredListCapacity]) {
  out[0] = 0;
  RegKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kFileTypeClassKey, 0, KEY_READ, k.put()) != ERROR_SUCCESS)
    return kListMissing;
  DWORD size = 0;
  if (RegQueryValueExA(k.get(), "", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return kListMissing;
  if (GetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", out) > 0 || size <= 1) return kListRead;
  return kListTooLong;
}

bool LookupAssociation(const char* extension, int kind, char* className, size_t classCap,
                       char* command, size_t commandCap) {
  if (classCap == 0 || commandCap == 0) return false;
  className[0] = 0;
  command[0] = 0;
  const LookupSource* source = SourceOfKind(kind);
  char dotted[kExtensionCapacity];
  if (source == nullptr || extension == nullptr || !Dotted(extension, dotted)) return false;
  char key[kPathCapacity];
  char name[kAssociationCapacity];
  if (!KeyPath(source->namePrefix, dotted, "", key) ||
      GetRegString(source->nameRoot, key, source->nameValue, name) == 0)
    return false;
  char text[kAssociationCapacity];
  if (!KeyPath(source->commandPrefix, name, kOpenCommand, key) ||
      !ReadPresentText(source->commandRoot, key, "", text, sizeof text))
    return false;
  if (!CopyTextN(className, classCap, name) || !CopyTextN(command, commandCap, text)) {
    className[0] = 0;
    command[0] = 0;
    return false;
  }
  return true;
}

bool RecordAssociation(const char* extension, int kind) {
  const KindKeys* keys = KeysOfKind(kind);
  char dotted[kExtensionCapacity];
  if (keys == nullptr || !Dotted(extension, dotted)) return false;
  char className[kAssociationCapacity], command[kAssociationCapacity];
  if (!LookupAssociation(dotted, kind, className, command)) return false;
  char bare[kAssociationCapacity];
  StripQuotes(command, bare, sizeof bare);
  bool written = SetRegString(HKEY_CURRENT_USER, keys->extKey, dotted, className);
  return SetRegString(HKEY_CURRENT_USER, keys->classKey, className, bare) && written;
}

int CreateClassInfo() {
  char marker[kRegTextCapacity];
  GetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", marker);
  if (IsOldMarker(marker)) {
    RecordEveryEntry();
    SetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", kBaselineMarker);
    return 0;
  }
  char list[kMonitoredListCapacity];
  // A list too long to read is the user's own, not a missing one.
  if (ReadMonitoredList(list) == kListTooLong || BaselineExists(marker, list)) return 0;
  for (const char* key : {kFileTypeExtKey, kFileTypeExtAppKey, kFileTypeExtProgIdKey, kFileTypeClassKey})
    CreateRegKey(HKEY_CURRENT_USER, key);
  char defaults[kMonitoredListCapacity];
  LoadText(kTextAVIBATCABCAT, defaults);
  if (!SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", defaults))
    Trace("ERROR Creating REGCLASSKEY", kFileTypeClassKey);
  int count = RecordEveryEntry();
  SetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", kBaselineMarker);
  return count;
}

int EnumerateFileTypes() {
  ClearEntries();
  char list[kMonitoredListCapacity];
  ReadMonitoredList(list);
  char name[kExtensionCapacity];
  for (size_t pos = 0; NextListName(list, &pos, name, sizeof name);) {
    char dotted[kExtensionCapacity];
    if (!Dotted(name, dotted)) continue;
    for (int kind = kFirstKind; kind <= kLastListedKind; ++kind) {
      char className[kAssociationCapacity], command[kAssociationCapacity];
      if (LookupAssociation(dotted, kind, className, command) && className[0])
        AddFileTypeEntry(dotted, kind, className, command);
    }
  }
  return EntryCount();
}

int AddMonitoredExtension(const char* text) {
  char list[kMonitoredListCapacity];
  if (ReadMonitoredList(list) == kListTooLong) return kTextListFull;
  char name[kExtensionCapacity];
  if (int refusal = CheckNewName(list, text ? text : "", name, sizeof name)) return refusal;
  for (int kind = kFirstKind; kind <= kLastListedKind; ++kind) RecordAssociation(name, kind);
  // CheckNewName keeps the grown list under the read capacity.
  AppendText(list, name);
  AppendText(list, ";");
  SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", list);
  return 0;
}

bool RemoveMonitoredExtension(const char* extension) {
  if (extension == nullptr) return false;
  const char* name = extension[0] == '.' ? extension + 1 : extension;
  char list[kMonitoredListCapacity];
  ListRead state = ReadMonitoredList(list);
  if (state == kListTooLong) return false;  // never write back a list not read whole
  char rebuilt[kMonitoredListCapacity];
  if (!RemoveListItem(list, name, rebuilt, sizeof rebuilt)) return false;
  if (state == kListRead && !SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", rebuilt))
    return false;
  char dotted[kExtensionCapacity];
  if (!Dotted(name, dotted)) return true;
  char className[kRegTextCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, dotted, className) == 0) return true;
  ClearAndDeleteValue(kFileTypeExtKey, dotted);
  ClearAndDeleteValue(kFileTypeExtTypeKey, dotted);
  // Judged by the class names the lookups give: the listed text of an entry
  // may be a program description instead.
  if (!IsClassNameInUse(className)) ClearAndDeleteValue(kFileTypeClassKey, className);
  return true;
}

bool IsClassNameInUse(const char* className) {
  char list[kMonitoredListCapacity];
  ReadMonitoredList(list);
  char name[kExtensionCapacity];
  for (size_t pos = 0; NextListName(list, &pos, name, sizeof name);) {
    for (int kind = kFirstKind; kind <= kLastListedKind; ++kind) {
      char found[kAssociationCapacity], command[kAssociationCapacity];
      if (LookupAssociation(name, kind, found, command) && EqualsNoCase(found, className))
        return true;
    }
  }
  return false;
}

bool DefaultIcon(const char* extension, int kind, char* file, size_t cap, int* index) {
  if (cap > 0) file[0] = 0;
  *index = 0;
  char dotted[kExtensionCapacity];
  if (extension == nullptr || !Dotted(extension, dotted)) return false;
  char key[kPathCapacity], progId[kAssociationCapacity];
  if (!KeyPath(kMachineClasses, dotted, "", key) ||
      GetRegString(HKEY_LOCAL_MACHINE, key, "", progId) == 0)
    return false;
  char value[kRegTextCapacity];
  if (!KeyPath(kMachineClasses, progId, kDefaultIconKey, key) ||
      GetRegString(HKEY_LOCAL_MACHINE, key, "", value) == 0)
    return false;
  char className[kAssociationCapacity], command[kAssociationCapacity];
  LookupAssociation(dotted, kind, className, command);
  return SplitDefaultIcon(value, command, file, cap, index);
}

}  // namespace tov

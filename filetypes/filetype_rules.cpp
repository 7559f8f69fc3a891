#include "filetypes/filetype_rules.h"

#include <cstring>

#include "core/paths.h"
#include "core/text.h"
#include "startup/command_rules.h"

namespace tov {

const char kFileTypeExtKey[] = "Software\\Brenvik\\Tovrel\\Ext";
const char kFileTypeExtAppKey[] = "Software\\Brenvik\\Tovrel\\ExtApp";
const char kFileTypeExtProgIdKey[] = "Software\\Brenvik\\Tovrel\\ExtProgID";
const char kFileTypeExtRootKey[] = "Software\\Brenvik\\Tovrel\\ExtRoot";
const char kFileTypeClassKey[] = "Software\\Brenvik\\Tovrel\\Class";
const char kFileTypeClassRootKey[] = "Software\\Brenvik\\Tovrel\\ClassRoot";
const char kFileTypeExtTypeKey[] = "Software\\Brenvik\\Tovrel\\ExtType";
const char kBaselineMarker[] = "Do not edit.";

namespace {

const KindKeys kKindKeys[] = {
    {kKindSystem, kFileTypeExtKey, kFileTypeClassKey},
    {kKindExplorerApp, kFileTypeExtAppKey, kFileTypeClassKey},
    {kKindExplorerProgId, kFileTypeExtProgIdKey, kFileTypeClassKey},
    {kKindRoot, kFileTypeExtRootKey, kFileTypeClassRootKey},
};

constexpr char kLauncherName[] = "RUNDLL32.EXE";

// The file-name part of the program a command starts, upper case.
void ProgramFileName(const char* command, char (&out)[kPathCapacity]) {
  char program[kPathCapacity];
  ProgramOfCommandIn(command, "", "", program, sizeof program);
  const char* slash = strrchr(program, '\\');
  CopyText(out, slash ? slash + 1 : program);
}

}  // namespace

const KindKeys* KeysOfKind(int kind) {
  for (const KindKeys& row : kKindKeys)
    if (row.kind == kind) return &row;
  return nullptr;
}

const char* KindName(int kind) {
  switch (kind) {
    case kKindSystem: return "System";
    case kKindExplorerApp:
    case kKindExplorerProgId: return "Explorer";
    case kKindRoot: return "Root";
  }
  return "";
}

bool IsOldMarker(const char* extDefault) { return strlen(extDefault) == kOldMarkerLength; }

bool BaselineExists(const char* extDefault, const char* list) {
  // The whole list is searched: a first name of ten or more characters must
  // not make a kept list look missing, which would replace it.
  return extDefault[0] != 0 && list[0] != 0 && strchr(list, ';') != nullptr;
}

bool NextListName(const char* list, size_t* pos, char* out, size_t cap) {
  size_t at = *pos;
  while (list[at]) {
    const char* end = strchr(list + at, ';');
    size_t length = end ? size_t(end - (list + at)) : strlen(list + at);
    size_t start = at;
    at += length + (end ? 1 : 0);
    if (length == 0 || length > kExtensionNameLimit || length + 1 > cap) continue;
    memcpy(out, list + start, length);
    out[length] = 0;
    *pos = at;
    return true;
  }
  *pos = at;
  return false;
}

bool ListHasName(const char* list, const char* name) {
  char listed[kExtensionCapacity];
  for (size_t pos = 0; NextListName(list, &pos, listed, sizeof listed);)
    if (EqualsNoCase(listed, name)) return true;
  return false;
}

int CheckNewName(const char* list, const char* typed, char* name, size_t cap) {
  if (cap > 0) name[0] = 0;
  if (typed[0] == '.') ++typed;
  size_t length = strlen(typed);
  if (length == 0 || length > kExtensionNameLimit || strchr(typed, ';') ||
      !CopyTextN(name, cap, typed))
    return kTextAddRefused;
  if (strlen(list) + length >= kMonitoredListLimit) return kTextListFull;
  if (ListHasName(list, name)) return kTextAlreadyMonitored;
  return 0;
}

int CommandDisplayName(const char* command, char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  char text[kRegTextCapacity];
  StripQuotes(command, text, sizeof text);
  char trimmed[kRegTextCapacity];
  StripLeadingSpaces(text, trimmed, sizeof trimmed);
  if (trimmed[0] == 0) return kTextNoAssociatedFile;
  if (EqualsNoCase(trimmed, "%1 %*") || EqualsNoCase(trimmed, "%1 /S")) return kTextExecutable;
  char name[kPathCapacity];
  ProgramFileName(trimmed, name);
  const char* searched = trimmed;
  char hosted[kRegTextCapacity];
  if (EqualsNoCase(name, kLauncherName) && StripRunDll(trimmed, hosted) && hosted[0]) {
    ProgramFileName(hosted, name);
    searched = hosted;
  }
  // The name as the command spells it, not the upper-case program form.
  long at = FindNoCase(searched, name);
  if (at >= 0 && cap > 0) {
    size_t length = strlen(name);
    size_t take = length < cap - 1 ? length : cap - 1;
    memcpy(out, searched + at, take);
    out[take] = 0;
  } else {
    CopyTextN(out, cap, name);
  }
  return 0;
}

bool SplitDefaultIcon(const char* value, const char* command, char* file, size_t cap, int* index) {
  if (cap > 0) file[0] = 0;
  *index = 0;
  if (value[0] == 0) return false;
  const char* comma = strrchr(value, ',');
  if (comma == nullptr) {
    CopyTextN(file, cap, command);
    return true;
  }
  char part[kRegTextCapacity];
  size_t length = size_t(comma - value);
  if (length >= sizeof part) length = sizeof part - 1;
  memcpy(part, value, length);
  part[length] = 0;
  StripQuotes(part, file, cap);
  const char* number = comma + 1;
  while (*number == ' ') ++number;
  *index = int(ParseDecimal(number));
  return true;
}

}  // namespace tov

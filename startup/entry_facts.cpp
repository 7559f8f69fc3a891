#include "startup/entry_facts.h"

#include <windows.h>

#include <cstring>

#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/value_table.h"
#include "resources/string_ids.h"
#include "startup/catalogue.h"

namespace tov {

namespace {

constexpr int kLastStartupCode = 256;

ValueTable g_disabledIndex;
int g_disabledHolds;

size_t CopyOut(const char* text, char* out, size_t cap) {
  if (cap == 0) return 0;
  CopyTextN(out, cap, text);
  return strlen(out);
}

// True when file lies directly in the program's own "Disabled" folder.
bool InDisabledFolder(const char* file) {
  char folder[kPathCapacity];
  if (ProgramFolder(folder) == 0 || !AppendBackslash(folder) ||
      !AppendText(folder, kDisabledFolderName))
    return false;
  char part[kPathCapacity];
  if (FolderPartOf(file, part, sizeof part) == 0) return false;
  char longPart[kPathCapacity];
  LongPathName(longPart, part);
  char longFolder[kPathCapacity];
  LongPathName(longFolder, folder);
  return EqualsNoCase(longPart, longFolder);
}

}  // namespace

void HoldDisabledIndex() {
  if (g_disabledHolds++ == 0) ReadValueTable(HKEY_LOCAL_MACHINE, kDisabledKey, &g_disabledIndex);
}

void ReleaseDisabledIndex() {
  if (g_disabledHolds > 0 && --g_disabledHolds == 0) FreeValueTable(&g_disabledIndex);
}

void RereadDisabledIndex() {
  if (g_disabledHolds > 0) ReadValueTable(HKEY_LOCAL_MACHINE, kDisabledKey, &g_disabledIndex);
}

size_t DisabledIndexText(const char* title, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  // An empty title would read the key's default value, which names no entry.
  if (title == nullptr || title[0] == 0) return 0;
  int answer = g_disabledHolds > 0 ? LookupTableText(g_disabledIndex, title, out, cap) : -1;
  if (answer < 0) return GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, out, cap);
  return strlen(out);
}

int DisabledIndexCodeOf(const char* title) {
  char number[kDisabledIndexCapacity];
  if (DisabledIndexText(title, number, sizeof number) == 0) return 0;
  return (int)ParseDecimal(number);
}

int DisabledCodeOf(const char* title, const char* path, const char* source, int code) {
  int indexed = DisabledIndexCodeOf(title);
  if (indexed == 0 || indexed != code) return 0;
  if (code == kCodeStartupFolder)
    return InDisabledFolder(source && source[0] ? source : (path ? path : "")) ? code : 0;
  const char* storeKey = DisabledStoreKeyOf(code);
  if (storeKey == nullptr) return 0;
  char stored[kRegQueryBytes];
  if (GetRegString(HKEY_LOCAL_MACHINE, storeKey, title, stored) == 0) return 0;
  char storedPath[kEntryPathSlot];
  char entryPath[kEntryPathSlot];
  EntryPathOf(stored, storedPath);
  EntryPathOf(path ? path : "", entryPath);
  return EqualsNoCase(storedPath, entryPath) ? code : 0;
}

int IsEntryDisabled(int index) {
  const Entry* e = EntryAt(index);
  if (e == nullptr) return 0;
  return DisabledCodeOf(e->title, e->path, e->source, e->code);
}

size_t LocationText(int index, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  const Entry* e = EntryAt(index);
  if (e == nullptr) return 0;
  char text[kLocationTextCapacity];
  text[0] = 0;
  switch (e->code) {
    case kCodeScheduledTask:
      LoadText(kTextWindowsTaskScheduler, text);
      return CopyOut(text, out, cap);
    case kCodeHelperObject:
      LoadText(kTextInternetExplorerBrowserHelper, text);
      return CopyOut(text, out, cap);
    case kCodeToolbar:
      LoadText(kTextInternetExplorerToolbarAdd, text);
      return CopyOut(text, out, cap);
    default:
      break;
  }
  if (e->code > kLastStartupCode) return 0;
  if (IsEntryDisabled(index) != 0) {
    char disabled[kTitleCapacity];
    LoadText(kTextDisabled, disabled);
    AppendText(text, " * ");
    AppendText(text, disabled);
    AppendText(text, " * ");
  }
  AppendText(text, LocationTableText(e->code));
  return CopyOut(text, out, cap);
}

}  // namespace tov

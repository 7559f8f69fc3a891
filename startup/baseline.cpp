#include "startup/baseline.h"

#include <windows.h>

#include <cstdio>

#include "core/files.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/entries.h"
#include "hidden/hidden_files.h"
#include "iehelpers/helpers.h"
#include "filetypes/associations.h"
#include "processes/process_walk.h"
#include "services/service_manager.h"
#include "startup/enumerate.h"
#include "tasks/scheduler.h"

namespace tov {

namespace {

constexpr size_t kCodeTextCapacity = 16;

// A family's enumeration: clears the entry list and fills it. The families
// whose enumerations are not part of the program yet have no builder and
// contribute nothing.
using ListBuilder = int (*)();

int BuildAllStartups() { return BuildStartupList(0); }

struct DetectedFamily {
  ListBuilder build;
  const char* kind;
};

// In the order the store is seeded.
const DetectedFamily kDetectedFamilies[] = {
    {BuildAllStartups, "Startup"},
    {ScanIEHelpers, "IEHelper"},
    {ListScheduledTasks, "Tasks"},
    {ScanServices, "Services"},
    {EnumerateFileTypes, "FileTypes"},
    {ListActiveTasks, "ActiveTasks"},  // one entry per running program
    {ScanHiddenFiles, "Hidden"},       // the hidden-file scan
};

struct KnownList {
  ListBuilder build;
  const char* key;
  bool byPath;  // value named by the entry's path ("=" as ":"), else by its title
};

const KnownList kKnownLists[] = {
    {BuildAllStartups, kKnownRunKey, true},
    {ScanIEHelpers, kKnownIEHelpersKey, false},
    {ListScheduledTasks, kKnownTasksKey, false},
};

size_t NowText(char (&out)[kFirstDetectedCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatDateTime(now, out);
}

void RecordFamily(const DetectedFamily& family) {
  if (family.build == nullptr) return;
  char key[kDetectedKeyCapacity];
  if (!DetectedKeyOf(family.kind, key)) return;
  family.build();
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* entry = EntryAt(i);
    if (entry && entry->path[0]) RecordFirstDetected(entry->path, key);
  }
  ClearEntries();
}

void WriteKnownList(const KnownList& list) {
  if (list.build == nullptr) return;
  list.build();
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* entry = EntryAt(i);
    if (entry == nullptr) continue;
    char name[kPathCapacity];
    if (list.byPath)
      KnownListName(entry->path, name, sizeof name);
    else
      CopyText(name, entry->title);
    // An empty name would be the key's default value, not an item.
    if (name[0] == 0) continue;
    char code[kCodeTextCapacity];
    snprintf(code, sizeof code, "%d", entry->code);
    SetRegString(HKEY_CURRENT_USER, list.key, name, code);
  }
  ClearEntries();
}

}  // namespace

void InitDetected() {
  // Any creation date, however long, means the store exists; a kind whose
  // sub-key is missing then (a family this store did not have yet) is
  // seeded on its own.
  char existing[kRegTextCapacity];
  bool made = GetRegString(HKEY_CURRENT_USER, kDetectedKey, "", existing) > 0;
  if (!made) {
    Trace("InitDetected", "creating the first-detection store");
    CreateRegKey(HKEY_CURRENT_USER, kDetectedKey);
  }
  for (const DetectedFamily& family : kDetectedFamilies) {
    char key[kDetectedKeyCapacity];
    if (!DetectedKeyOf(family.kind, key)) continue;
    if (made && RegKeyExists(HKEY_CURRENT_USER, key)) continue;
    CreateRegKey(HKEY_CURRENT_USER, key);
    RecordFamily(family);
  }
  // The date goes last: a seeding cut short is done again at the next start.
  if (made) return;
  char created[kFirstDetectedCapacity];
  NowText(created);
  SetRegString(HKEY_CURRENT_USER, kDetectedKey, "", created);
}

void InitRegStartups() {
  for (const KnownList& list : kKnownLists) WriteKnownList(list);
}

void ResetKnownItems() {
  Trace("Cleanup Run Registry", "");
  for (const KnownList& list : kKnownLists) {
    DeleteRegTree(HKEY_CURRENT_USER, list.key);
    CreateRegKey(HKEY_CURRENT_USER, list.key);
  }
  InitRegStartups();
}

}  // namespace tov

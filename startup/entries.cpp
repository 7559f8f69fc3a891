#include "startup/entries.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "startup/catalogue.h"
#include "startup/entry_rules.h"

namespace tov {

namespace {

constexpr size_t kLongPathMinimum = 4;  // shorter paths are not converted
constexpr int kTextStartupLocationDisabled = 626;
constexpr int kTextToolbar = 724;
constexpr int kTextHelperObject = 725;
constexpr int kTextTaskScheduler = 726;
constexpr int kLastStartupCode = 256;

Entry* g_entries[kMaxEntries];
int g_count = 0;

const char* OrEmpty(const char* text) { return text ? text : ""; }

// The path as the list stores it: without double quotes, in its long-path
// form when it has at least four characters (a command line with arguments
// is not converted and stays as it is). True when the conversion was tried.
bool EntryPathOf(const char* path, char (&out)[kEntryPathSlot]) {
  StripQuotes(path, out, sizeof out);
  bool convertible = strlen(out) >= kLongPathMinimum;
  if (convertible) LongPathName(out, out);
  return convertible;
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

size_t CopyOut(const char* text, char* out, size_t cap) {
  if (cap == 0) return 0;
  CopyTextN(out, cap, text);
  return strlen(out);
}

int AddEntryTo(const char* title, char* callerTitle, size_t callerCap, const char* path,
               const char* source, const char* extra, int code, int flag) {
  title = OrEmpty(title);
  path = OrEmpty(path);
  source = OrEmpty(source);
  extra = OrEmpty(extra);
  if (g_count >= kMaxEntries) return 0;
  if (!EntryFieldsFit(title, path, source, extra)) return 0;
  if (code == kCodeCookie && g_count >= Setting(kOptMaxCookie)) return 0;

  Entry* e = new (std::nothrow) Entry;
  if (e == nullptr) return 0;
  memset(e, 0, sizeof *e);

  CopyText(e->extra, extra);

  bool convertible = EntryPathOf(path, e->path);

  const char* caption = ProgramCaption();
  if (title[0] == 0) {
    TitleFromPath(e->path, e->title, sizeof e->title);
  } else if (ContainsText(title, "Tovrel") && caption[0] != 0) {
    CopyText(e->title, caption);
    if (callerTitle != nullptr) CopyTextN(callerTitle, callerCap, caption);
  } else {
    CopyText(e->title, title);
  }

  if (convertible)
    LongPathName(e->source, source);
  else
    CopyText(e->source, source);

  e->code = code;
  e->flag = flag;
  g_entries[g_count++] = e;
  return 1;
}

}  // namespace

int AddEntry(const char* title, const char* path, const char* source, const char* extra, int code,
             int flag) {
  return AddEntryTo(title, nullptr, 0, path, source, extra, code, flag);
}

int AddEntryUpdatingTitle(char* title, size_t titleCap, const char* path, const char* source,
                          const char* extra, int code, int flag) {
  return AddEntryTo(title, title, titleCap, path, source, extra, code, flag);
}

int EntryCount() { return g_count; }

void ClearEntries() {
  for (int i = 0; i < g_count; ++i) {
    delete g_entries[i];
    g_entries[i] = nullptr;
  }
  g_count = 0;
}

const Entry* EntryAt(int index) {
  if (index < 0 || index >= g_count) return nullptr;
  return g_entries[index];
}

size_t EntryTitle(int index, char* out, size_t cap) {
  const Entry* e = EntryAt(index);
  return CopyOut(e ? e->title : "", out, cap);
}

size_t EntryPath(int index, char* out, size_t cap) {
  const Entry* e = EntryAt(index);
  return CopyOut(e ? e->path : "", out, cap);
}

size_t EntrySource(int index, char* out, size_t cap) {
  const Entry* e = EntryAt(index);
  return CopyOut(e ? e->source : "", out, cap);
}

size_t EntryExtra(int index, char* out, size_t cap) {
  const Entry* e = EntryAt(index);
  return CopyOut(e ? e->extra : "", out, cap);
}

int EntryCode(int index) {
  const Entry* e = EntryAt(index);
  return e ? e->code : 0;
}

int EntryFlag(int index) {
  const Entry* e = EntryAt(index);
  return e ? e->flag : 0;
}

int DisabledIndexCodeOf(const char* title) {
  // An empty title would read the key's default value, which names no entry.
  if (title == nullptr || title[0] == 0) return 0;
  char number[kDisabledIndexCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, title, number) == 0) return 0;
  return (int)ParseDecimal(number);
}

int DisabledCodeOf(const char* title, const char* path, const char* source, int code) {
  int indexed = DisabledIndexCodeOf(title);
  if (indexed == 0 || indexed != code) return 0;
  if (code == kCodeStartupFolder)
    return InDisabledFolder(source && source[0] ? source : OrEmpty(path)) ? code : 0;
  const char* storeKey = DisabledStoreKeyOf(code);
  if (storeKey == nullptr) return 0;
  char stored[kRegQueryBytes];
  if (GetRegString(HKEY_LOCAL_MACHINE, storeKey, title, stored) == 0) return 0;
  char storedPath[kEntryPathSlot];
  char entryPath[kEntryPathSlot];
  EntryPathOf(stored, storedPath);
  EntryPathOf(OrEmpty(path), entryPath);
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
      LoadText(kTextTaskScheduler, text);
      return CopyOut(text, out, cap);
    case kCodeHelperObject:
      LoadText(kTextHelperObject, text);
      return CopyOut(text, out, cap);
    case kCodeToolbar:
      LoadText(kTextToolbar, text);
      return CopyOut(text, out, cap);
    default:
      break;
  }
  if (e->code > kLastStartupCode) return 0;
  if (IsEntryDisabled(index) != 0) {
    char disabled[kTitleCapacity];
    LoadText(kTextStartupLocationDisabled, disabled);
    AppendText(text, " * ");
    AppendText(text, disabled);
    AppendText(text, " * ");
  }
  AppendText(text, LocationTableText(e->code));
  return CopyOut(text, out, cap);
}

}  // namespace tov

#include "core/entries.h"

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
#include "core/entry_rules.h"

namespace tov {

namespace {

constexpr size_t kLongPathMinimum = 4;  // shorter paths are not converted
// Cookies are listed only up to the "MaxCookie" option.
constexpr int kCookieCode = 500;

Entry* g_entries[kMaxEntries];
int g_count = 0;

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

bool EntryPathOf(const char* path, char (&out)[kEntryPathSlot]) {
  StripQuotes(path, out, sizeof out);
  bool convertible = strlen(out) >= kLongPathMinimum;
  if (convertible) LongPathName(out, out);
  return convertible;
}

namespace {

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
  if (code == kCookieCode && g_count >= Setting(kOptMaxCookie)) return 0;

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

}  // namespace tov

#include "startup/entry_facts.h"

#include <windows.h>

#include <cstring>

#include "core/entries.h"
#include "core/messages.h"
#include "core/registry.h"
#include "core/text.h"
#include "resources/string_ids.h"
#include "startup/catalogue.h"

namespace tov {

namespace {

constexpr int kLastStartupCode = 256;

size_t CopyOut(const char* text, char* out, size_t cap) {
  if (cap == 0) return 0;
  CopyTextN(out, cap, text);
  return strlen(out);
}

}  // namespace

int IsEntryDisabled(int index) {
  const Entry* e = EntryAt(index);
  // An empty title would read the key's default value, which names no entry.
  if (e == nullptr || e->title[0] == 0) return 0;
  char number[kDisabledIndexCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, e->title, number) == 0) return 0;
  return (int)ParseDecimal(number);
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

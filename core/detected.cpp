#include "core/detected.h"

#include <windows.h>

#include <cstring>

#include "core/datetime.h"
#include "core/files.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/value_table.h"

namespace tov {

namespace {

size_t NowText(char (&out)[kFirstDetectedCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatDateTime(now, out);
}

struct HeldStore {
  char key[kDetectedKeyCapacity];
  ValueTable table;
};
HeldStore g_held[kDetectedKindCount];
int g_holds;

// The held copy of a store, read on first use; null when not held.
ValueTable* HeldTable(const char* key) {
  if (g_holds == 0) return nullptr;
  for (HeldStore& store : g_held) {
    if (store.key[0] && EqualsNoCase(store.key, key)) return &store.table;
    if (store.key[0]) continue;
    CopyText(store.key, key);
    ReadValueTable(HKEY_CURRENT_USER, key, &store.table);
    return &store.table;
  }
  return nullptr;
}

}  // namespace

void HoldFirstDetected() { ++g_holds; }

void ReleaseFirstDetected() {
  if (g_holds == 0 || --g_holds > 0) return;
  for (HeldStore& store : g_held) {
    FreeValueTable(&store.table);
    store.key[0] = 0;
  }
}

size_t GetFirstDetected(const char* program, int code, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  char key[kDetectedKeyCapacity];
  if (program == nullptr || program[0] == 0 || !DetectedKeyOf(DetectedKindOf(code), key)) return 0;
  char date[kFirstDetectedCapacity];
  ValueTable* held = HeldTable(key);
  int answer = held ? LookupTableText(*held, program, date, sizeof date) : -1;
  size_t length = answer < 0 ? GetRegString(HKEY_CURRENT_USER, key, program, date) : strlen(date);
  if (length == 0 || !CopyTextN(out, cap, date)) {
    out[0] = 0;
    return 0;
  }
  return length;
}

int RecordFirstDetected(const char* command, const char* detectedKey) {
  char program[kPathCapacity];
  // A cut name would date another program; no name would date the key.
  if (!ProgramOfCommand(command ? command : "", program) || program[0] == 0) return 1;
  ValueTable* held = HeldTable(detectedKey);
  char known[kFirstDetectedCapacity];
  if (held && LookupTableText(*held, program, known, sizeof known) == 1) return 1;
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, detectedKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
      RegQueryValueExA(key.get(), program, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
    return 1;
  key.reset();
  char now[kFirstDetectedCapacity];
  NowText(now);
  if (SetRegString(HKEY_CURRENT_USER, detectedKey, program, now) && held)
    PutTableText(held, program, now);
  return 0;
}

}  // namespace tov

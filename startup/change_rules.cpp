#include "startup/change_rules.h"

#include <cstring>

#include "core/text.h"
#include "startup/catalogue.h"
#include "startup/command_rules.h"

namespace tov {

const char kOriginalRunValuesKey[] = "Software\\Brenvik\\Tovrel\\OriginalRun";

namespace {

constexpr size_t kTokenCapacity = kRegTextCapacity;

}  // namespace

bool OriginalValuesKeyOf(int code, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  const char* hive = nullptr;
  if (code >= kCodeMachineRun && code <= kCodeMachineRunServicesOnce) hive = "HKLM";
  if (code >= kCodeUserRun && code <= kCodeUserRunServicesOnce) hive = "HKCU";
  const LocationInfo* location = FindLocation(code);
  if (hive == nullptr || location == nullptr) return false;
  const char* runKey = strrchr(location->key, '\\');
  runKey = runKey ? runKey + 1 : location->key;
  bool whole = CopyTextN(out, cap, kOriginalRunValuesKey) && AppendTextN(out, cap, "\\") &&
               AppendTextN(out, cap, hive) && AppendTextN(out, cap, "\\") &&
               AppendTextN(out, cap, runKey);
  if (!whole) out[0] = 0;
  return whole;
}

bool OriginalAsEntryPath(const char* original, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char stripped[kTokenCapacity];
  StripRunDll(original ? original : "", stripped, sizeof stripped);
  if (strlen(stripped) + 1 >= sizeof stripped) return false;  // may have been cut
  size_t n = 0;
  for (const char* p = stripped; *p; ++p) {
    if (*p == '"') continue;
    if (n + 1 >= cap) {
      out[n] = 0;
      return false;
    }
    out[n++] = *p;
  }
  out[n] = 0;
  return true;
}

bool OriginalMatchesCommand(const char* original, const char* command) {
  if (original == nullptr || command == nullptr || *command == 0) return false;
  char path[kTokenCapacity];
  if (OriginalAsEntryPath(original, path, sizeof path) && EqualsNoCase(path, command)) return true;
  // The whole value without quotes: a command that kept its RunDLL32 head.
  size_t n = 0;
  for (const char* p = original; *p; ++p) {
    if (*p == '"') continue;
    if (n + 1 >= sizeof path) return false;
    path[n++] = *p;
  }
  path[n] = 0;
  return EqualsNoCase(path, command);
}

bool RemoveDllFromList(const char* list, DllMatch match, void* context, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  size_t pos = 0;
  bool whole = true;
  char token[kTokenCapacity];
  while (NextAppInitDll(list ? list : "", &pos, token, sizeof token)) {
    if (match(token, context)) continue;
    if (out[0] != 0) whole &= AppendTextN(out, cap, ",");
    whole &= AppendTextN(out, cap, token);
  }
  return whole;
}


}  // namespace tov

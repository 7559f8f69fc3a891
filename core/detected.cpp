#include "core/detected.h"

#include <windows.h>

#include "core/datetime.h"
#include "core/files.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"

namespace tov {

namespace {

size_t NowText(char (&out)[kFirstDetectedCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatDateTime(now, out);
}

}  // namespace

size_t GetFirstDetected(const char* program, int code, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  char key[kDetectedKeyCapacity];
  if (program == nullptr || program[0] == 0 || !DetectedKeyOf(DetectedKindOf(code), key)) return 0;
  char date[kFirstDetectedCapacity];
  size_t length = GetRegString(HKEY_CURRENT_USER, key, program, date);
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
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, detectedKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
      RegQueryValueExA(key.get(), program, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
    return 1;
  key.reset();
  char now[kFirstDetectedCapacity];
  NowText(now);
  SetRegString(HKEY_CURRENT_USER, detectedKey, program, now);
  return 0;
}

}  // namespace tov

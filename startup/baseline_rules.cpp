#include "startup/baseline_rules.h"

#include <cstring>

#include "core/text.h"
#include "startup/catalogue.h"

namespace tov {

const char kKnownRunKey[] = "Software\\Brenvik\\Tovrel\\Run";
const char kKnownIEHelpersKey[] = "Software\\Brenvik\\Tovrel\\IEHelpers";
const char kKnownTasksKey[] = "Software\\Brenvik\\Tovrel\\Tasks";
const char kMachineRunMarkerKey[] = "Software\\Brenvik\\Tovrel\\Run";
const char kDetectedKey[] = "Software\\Brenvik\\Detected";

namespace {

const char* const kDetectedKinds[kDetectedKindCount] = {
    "Startup", "IEHelper", "Services", "Tasks", "ActiveTasks", "FileTypes", "Hidden",
};

}  // namespace

const char* DetectedKindAt(int row) {
  if (row < 0 || row >= kDetectedKindCount) return nullptr;
  return kDetectedKinds[row];
}

const char* DetectedKindOf(int code) {
  if (code < kCodeRestartDelete) return "Startup";
  switch (code) {
    case kCodeHiddenFile:
      return "Hidden";
    case kCodeFileType:
      return "FileTypes";
    case kCodeServiceProgram:
    case kCodeServiceShared:
      return "Services";
    case kCodeScheduledTask:
      return "Tasks";
    case kCodeHelperObject:
    case kCodeToolbar:
    case kCodeExtension:
      return "IEHelper";
    default:
      return "ActiveTasks";
  }
}

bool DetectedKeyOf(const char* kind, char* out, size_t cap) {
  if (cap == 0) return false;
  bool whole = CopyTextN(out, cap, kDetectedKey) && AppendTextN(out, cap, "\\") &&
               AppendTextN(out, cap, kind ? kind : "");
  if (!whole) out[0] = 0;
  return whole;
}

bool KnownListName(const char* command, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (command == nullptr || strlen(command) >= kPathCapacity || strlen(command) >= cap)
    return false;
  EqualsToColon(command, out, cap);
  return true;
}

}  // namespace tov

#include "services/service_rules.h"

#include <cstring>

#include "core/history_names.h"
#include "core/text.h"

namespace tov {

namespace {

constexpr int kTextAutomatic = 664;
constexpr int kTextStopped = 652;
constexpr unsigned long kFirstState = 1;   // SERVICE_STOPPED
constexpr unsigned long kLastState = 7;    // SERVICE_PAUSED

}  // namespace

int StartTypeTextId(unsigned long start) {
  if (start < kStartAutomatic || start > kStartDisabled) return 0;
  return kTextAutomatic + int(start - kStartAutomatic);
}

int ServiceStateTextId(unsigned long state) {
  if (state < kFirstState || state > kLastState) return kTextStopped;
  return kTextStopped + int(state - kFirstState);
}

bool IsListedServiceImage(const char* imagePath) {
  return imagePath && (ContainsText(imagePath, ".exe") || ContainsText(imagePath, "svchost"));
}

bool IsSharedServiceImage(const char* imagePath) {
  return imagePath && ContainsText(imagePath, "svchost");
}

bool ServiceCommandText(bool shared, const char* path, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  const char* slash = path ? strrchr(path, '\\') : nullptr;
  const char* name = slash ? slash + 1 : (path ? path : "");
  bool whole = !shared || CopyTextN(out, cap, "svchost.exe ");
  return AppendTextN(out, cap, name) && whole;
}

int FormerStartAction(unsigned long formerStart) {
  switch (formerStart) {
    case kStartAutomatic: return kActionFromAutomatic;
    case kStartManual: return kActionFromManual;
    case kStartDisabled: return kActionFromDisabled;
    default: return -1;
  }
}

int NewStartAction(unsigned long start) {
  if (start < kStartAutomatic || start > kStartDisabled) return -1;
  return kActionServiceAutomatic + int(start - kStartAutomatic);
}

}  // namespace tov

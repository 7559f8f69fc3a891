#include "core/detected_rules.h"

#include "core/text.h"

namespace tov {

const char kDetectedKey[] = "Software\\Brenvik\\Detected";

namespace {

// Entry codes of the items each kind dates; codes below kFirstOtherCode are
// startup locations.
constexpr int kFirstOtherCode = 300;
constexpr int kHiddenFileCode = 370;
constexpr int kFileTypeCode = 400;
constexpr int kServiceProgramCode = 700;
constexpr int kServiceSharedCode = 701;
constexpr int kScheduledTaskCode = 800;
constexpr int kHelperObjectCode = 900;
constexpr int kToolbarCode = 901;
constexpr int kExtensionCode = 902;

const char* const kDetectedKinds[kDetectedKindCount] = {
    "Startup", "IEHelper", "Services", "Tasks", "ActiveTasks", "FileTypes", "Hidden",
};

}  // namespace

const char* DetectedKindAt(int row) {
  if (row < 0 || row >= kDetectedKindCount) return nullptr;
  return kDetectedKinds[row];
}

const char* DetectedKindOf(int code) {
  if (code < kFirstOtherCode) return "Startup";
  switch (code) {
    case kHiddenFileCode:
      return "Hidden";
    case kFileTypeCode:
      return "FileTypes";
    case kServiceProgramCode:
    case kServiceSharedCode:
      return "Services";
    case kScheduledTaskCode:
      return "Tasks";
    case kHelperObjectCode:
    case kToolbarCode:
    case kExtensionCode:
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

}  // namespace tov

#include "tasks/task_rules.h"

#include <cstring>

#include "core/history_format.h"
#include "core/text.h"

namespace tov {

namespace {
constexpr long kStatusRunning = 0x41301;
constexpr long kStatusNotScheduled = 0x41305;
constexpr char kTaskEnding[] = ".job";
}  // namespace

size_t FormatRunTimeText(const RunTime& t, const char* neverText, char* out, size_t cap) {
  if (cap == 0) return 0;
  if (t.year + t.month + t.day == 0) {
    CopyTextN(out, cap, neverText ? neverText : "");
    return strlen(out);
  }
  // The same month-first, 12-hour form as the history file's dates.
  HistoryTime h;
  h.year = int(t.year);
  h.month = int(t.month);
  h.day = int(t.day);
  h.hour = int(t.hour % 24);
  h.minute = int(t.minute);
  return FormatHistoryTime(h, out, cap);
}

int TaskStatusTextId(long status) {
  if (status == kStatusRunning) return kStatusRunningTextId;
  if (status == kStatusNotScheduled) return kStatusNotScheduledTextId;
  return kStatusReadyTextId;
}

void TaskDisplayName(const char* name, char* out, size_t cap) {
  if (cap == 0) return;
  const char* text = name ? name : "";
  size_t length = strlen(text);
  if (length > kTaskEndingLength) length -= kTaskEndingLength;
  if (length >= cap) length = cap - 1;
  memcpy(out, text, length);
  out[length] = 0;
}

bool TaskNameWithoutEnding(const char* name, char* out, size_t cap) {
  if (name == nullptr) return false;
  size_t length = strlen(name);
  if (length <= kTaskEndingLength || !EqualsNoCase(name + length - kTaskEndingLength, kTaskEnding))
    return false;
  length -= kTaskEndingLength;
  if (length >= cap) return false;
  memcpy(out, name, length);
  out[length] = 0;
  return true;
}

}  // namespace tov

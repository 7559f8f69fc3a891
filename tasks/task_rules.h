// Rules of the scheduled-task family that need no Windows: run-time texts,
// task names as the list shows them, and name matching. No Windows headers:
// compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

constexpr size_t kRunTimeCapacity = 32;     // "MM/DD/YYYY  hh:mm AM" and "Never"
constexpr size_t kTaskEndingLength = 4;     // ".job", the work-item file ending
constexpr size_t kTaskBatchSize = 5;        // names asked of the scheduler at a time
constexpr int kNeverTextId = 686;
constexpr int kStatusReadyTextId = 688;
constexpr int kStatusRunningTextId = 689;
constexpr int kStatusNotScheduledTextId = 690;

// A run time as the scheduler gives it (month 1-12, hour 0-23); a date of
// all zeros means there is none.
struct RunTime {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
  unsigned hour = 0;
  unsigned minute = 0;
};

// neverText when year, month and day are all zero, else
// "MM/DD/YYYY  h:mm AM" / "... PM" (hour 0 as 12 AM, 12 as 12 PM, seconds
// not shown). Returns the length; cut to cap - 1.
size_t FormatRunTimeText(const RunTime& t, const char* neverText, char* out, size_t cap);

// The string id of the status text of a task status code: running
// (0x41301) 689, not scheduled (0x41305) 690, anything else 688.
int TaskStatusTextId(long status);

// The name the list shows: the work-item name without its four-character
// file ending when it is longer than four characters.
void TaskDisplayName(const char* name, char* out, size_t cap);

// The work-item name without a final ".job" (any case), for schedulers that
// want the bare name; false (out unchanged) when it has no such ending or
// nothing would be left.
bool TaskNameWithoutEnding(const char* name, char* out, size_t cap);

}  // namespace tov

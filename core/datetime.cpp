#include "core/datetime.h"

#include <cstdio>
#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

const char* const kShortDateStyles[] = {"M/d/yyyy", "M/d/yy",     "MM/dd/yy", "MM/dd/yyyy",
                                        "yy/MM/dd", "yyyy-MM-dd", "dd-MMM-yy"};
const char* const kTimeStyles[] = {"h:mm:ss tt", "hh:mm:ss tt", "H:mm:ss", "HH:mm:ss"};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Seconds between 1 January 1601 and 1 January 1970.
constexpr int64_t kEpochDifference = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;
constexpr int64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFFLL;

template <size_t N> int IndexOf(const char* const (&table)[N], const char* style) {
  if (style == nullptr) return 0;
  for (size_t i = 0; i < N; ++i)
    if (EqualsNoCase(table[i], style)) return int(i);
  return 0;
}

void FormatDate(const DateTime& t, int style, char* out, size_t cap) {
  const char* month = (t.month >= 1 && t.month <= 12) ? kMonthNames[t.month - 1] : "???";
  switch (style) {
    case 4:
      snprintf(out, cap, "%02d/%02d/%02d", t.year, t.month, t.day);
      break;
    case 5:
      snprintf(out, cap, "%04d-%02d-%02d", t.year, t.month, t.day);
      break;
    case 6:
      snprintf(out, cap, "%02d-%s-%02d", t.day, month, t.year);
      break;
    case 1:
    case 2:
      snprintf(out, cap, "%02d/%02d/%02d", t.month, t.day, t.year);
      break;
    default:  // 0 and 3
      snprintf(out, cap, "%02d/%02d/%04d", t.month, t.day, t.year);
      break;
  }
}

void FormatTime(const DateTime& t, int style, char* out, size_t cap) {
  if (style >= 2) {
    snprintf(out, cap, style == 2 ? "%d:%02d" : "%02d:%02d", t.hour, t.minute);
    return;
  }
  int hour = t.hour;
  const char* half = "AM";
  if (hour == 0) {
    hour = 12;
  } else if (hour == 12) {
    half = "PM";
  } else if (hour > 12) {
    hour -= 12;
    half = "PM";
  }
  snprintf(out, cap, style == 1 ? "%02d:%02d %s" : "%d:%02d %s", hour, t.minute, half);
}

}  // namespace

int ShortDateStyleIndex(const char* style) { return IndexOf(kShortDateStyles, style); }
int TimeStyleIndex(const char* style) { return IndexOf(kTimeStyles, style); }

size_t FormatDateTimeAs(const DateTime& t, const char* shortDateStyle, const char* timeStyle,
                        char* out, size_t cap) {
  if (cap == 0) return 0;
  char date[64];
  FormatDate(t, ShortDateStyleIndex(shortDateStyle), date, sizeof date);
  date[kDateTextLimit] = 0;
  char time[64];
  FormatTime(t, TimeStyleIndex(timeStyle), time, sizeof time);
  CopyTextN(out, cap, date);
  AppendTextN(out, cap, " ");
  AppendTextN(out, cap, time);
  return strlen(out);
}

bool UnixSecondsToFileTime(int64_t seconds, uint64_t* fileTime) {
  if (seconds < -kEpochDifference) return false;
  if (seconds > kLargestFileTime / kTicksPerSecond - kEpochDifference) return false;
  *fileTime = uint64_t(seconds + kEpochDifference) * uint64_t(kTicksPerSecond);
  return true;
}

}  // namespace tov

// Date and time texts in the user's short-date and time style, and the
// arithmetic between seconds since 1970 and the platform's file time. No
// Windows headers: the styles and the calendar time come in as arguments.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tov {

constexpr size_t kDateTimeCapacity = 24;    // "<date> <time>" result
constexpr size_t kTimeStyleCapacity = 24;   // sShortDate / sTimeFormat read
constexpr size_t kDateTextLimit = 11;       // the date part is cut to this

// Calendar date and time (month 1-12, hour 0-23).
struct DateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Index of a short-date style in the table of known styles ("M/d/yyyy",
// "M/d/yy", "MM/dd/yy", "MM/dd/yyyy", "yy/MM/dd", "yyyy-MM-dd",
// "dd-MMM-yy"), compared without case; unknown or missing styles give 0.
int ShortDateStyleIndex(const char* style);
// Index of a time style ("h:mm:ss tt", "hh:mm:ss tt", "H:mm:ss",
// "HH:mm:ss"); unknown or missing styles give 0.
int TimeStyleIndex(const char* style);

// "<date> <time>" in the given styles: the year always has all its digits,
// seconds are not shown, 12-hour styles show 0 as 12 AM and 12 as 12 PM.
// Returns the length; the text is cut to cap - 1.
size_t FormatDateTimeAs(const DateTime& t, const char* shortDateStyle, const char* timeStyle,
                        char* out, size_t cap);

// Seconds since 1 January 1970 as 100-nanosecond units since 1 January 1601.
// False when the time lies before 1601 or beyond what a file time holds.
bool UnixSecondsToFileTime(int64_t seconds, uint64_t* fileTime);

}  // namespace tov

// Dates: the user's date and time styles and any calendar values give a
// text within its 23 characters, the history's 12-hour form names AM before
// noon and PM after, and a file time converted from seconds converts back.
#include <cstdint>

#include "core/datetime.h"
#include "core/history_format.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tov;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size < 16) return 0;
  auto number = [&](int i) {
    return int(uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16 |
               uint32_t(data[i + 3]) << 24);
  };
  DateTime t;
  t.year = number(0) % 100000;
  t.month = int(data[4]) - 64;
  t.day = int(data[5]) - 64;
  t.hour = int(data[6]) - 64;
  t.minute = int(data[7]) - 64;
  t.second = int(data[8]) - 64;
  std::string styles[2];
  fuzz::Parts(data + 16, size - 16, styles, 2);
  char out[kDateTimeCapacity];
  size_t n = FormatDateTimeAs(t, styles[0].c_str(), styles[1].c_str(), out, sizeof out);
  FUZZ_CHECK(n == strlen(out) && n < sizeof out);
  int dateStyle = ShortDateStyleIndex(styles[0].c_str());
  int timeStyle = TimeStyleIndex(styles[1].c_str());
  FUZZ_CHECK(dateStyle >= 0 && dateStyle < 7 && timeStyle >= 0 && timeStyle < 4);

  HistoryTime h;
  h.year = t.year;
  h.month = t.month;
  h.day = t.day;
  h.hour = t.hour;
  h.minute = t.minute;
  char line[64];
  n = FormatHistoryTime(h, line, sizeof line);
  FUZZ_CHECK(n == strlen(line));
  if (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.month >= 1 &&
      t.month <= 12 && t.day >= 1 && t.day <= 31 && t.year >= 0 && t.year < 10000) {
    FUZZ_CHECK(n >= 2 && strcmp(line + n - 2, t.hour < 12 ? "AM" : "PM") == 0);
  }

  int64_t seconds = int64_t(uint64_t(uint32_t(number(8))) << 32 | uint32_t(number(12)));
  uint64_t fileTime = 0;
  if (UnixSecondsToFileTime(seconds, &fileTime)) {
    FUZZ_CHECK(fileTime % 10000000u == 0);
    FUZZ_CHECK(int64_t(fileTime / 10000000u) - 11644473600LL == seconds);
  }
  return 0;
}

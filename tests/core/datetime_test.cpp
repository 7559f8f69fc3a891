#include "core/datetime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace tov;

namespace {

DateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
  DateTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

std::string Format(const DateTime& t, const char* date, const char* time) {
  char out[kDateTimeCapacity];
  FormatDateTimeAs(t, date, time, out, sizeof out);
  return out;
}

}  // namespace

TEST(FormatDateTime, EveryShortDateStyle) {
  DateTime t = At(2007, 3, 5, 14, 7, 59);
  struct { const char* style; const char* text; } rows[] = {
      {"M/d/yyyy", "03/05/2007 14:07"},   {"M/d/yy", "03/05/2007 14:07"},
      {"MM/dd/yy", "03/05/2007 14:07"},   {"MM/dd/yyyy", "03/05/2007 14:07"},
      {"yy/MM/dd", "2007/03/05 14:07"},   {"yyyy-MM-dd", "2007-03-05 14:07"},
      {"dd-MMM-yy", "05-Mar-2007 14:07"},
  };
  for (auto& r : rows) EXPECT_EQ(Format(t, r.style, "HH:mm:ss"), r.text) << r.style;
}

TEST(FormatDateTime, StylesAreComparedWithoutCase) {
  EXPECT_EQ(ShortDateStyleIndex("YYYY-mm-DD"), 5);
  EXPECT_EQ(TimeStyleIndex("hh:MM:SS"), 3);
  EXPECT_EQ(TimeStyleIndex("HH:MM:SS TT"), 1);
}

TEST(FormatDateTime, UnknownOrMissingStylesUseTheFirstRow) {
  DateTime t = At(2007, 3, 5, 14, 7);
  EXPECT_EQ(Format(t, "d.M.yyyy", "HH.mm"), "03/05/2007 2:07 PM");
  EXPECT_EQ(Format(t, "", nullptr), "03/05/2007 2:07 PM");
  EXPECT_EQ(ShortDateStyleIndex(nullptr), 0);
}

TEST(FormatDateTime, EveryTimeStyle) {
  DateTime t = At(2007, 3, 5, 9, 5);
  EXPECT_EQ(Format(t, "yyyy-MM-dd", "h:mm:ss tt"), "2007-03-05 9:05 AM");
  EXPECT_EQ(Format(t, "yyyy-MM-dd", "hh:mm:ss tt"), "2007-03-05 09:05 AM");
  EXPECT_EQ(Format(t, "yyyy-MM-dd", "H:mm:ss"), "2007-03-05 9:05");
  EXPECT_EQ(Format(t, "yyyy-MM-dd", "HH:mm:ss"), "2007-03-05 09:05");
}

TEST(FormatDateTime, TwelveHourClock) {
  struct { int hour; const char* text; } rows[] = {
      {0, "12:30 AM"}, {1, "1:30 AM"},  {11, "11:30 AM"},
      {12, "12:30 PM"}, {13, "1:30 PM"}, {23, "11:30 PM"},
  };
  for (auto& r : rows)
    EXPECT_EQ(Format(At(2007, 3, 5, r.hour, 30), "yyyy-MM-dd", "h:mm:ss tt"),
              std::string("2007-03-05 ") + r.text)
        << r.hour;
  EXPECT_EQ(Format(At(2007, 3, 5, 0, 0), "yyyy-MM-dd", "hh:mm:ss tt"), "2007-03-05 12:00 AM");
  EXPECT_EQ(Format(At(2007, 3, 5, 0, 0), "yyyy-MM-dd", "H:mm:ss"), "2007-03-05 0:00");
}

TEST(FormatDateTime, MonthAbbreviations) {
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m)
    EXPECT_EQ(Format(At(2001, m, 1, 0, 0), "dd-MMM-yy", "HH:mm:ss"),
              std::string("01-") + names[m - 1] + "-2001 00:00");
  EXPECT_EQ(Format(At(2001, 13, 1, 0, 0), "dd-MMM-yy", "HH:mm:ss"), "01-?\?\?-2001 00:00");
}

TEST(FormatDateTime, DateCutToElevenCharacters) {
  EXPECT_EQ(Format(At(12345, 3, 5, 1, 2), "dd-MMM-yy", "HH:mm:ss"), "05-Mar-1234 01:02");
  EXPECT_EQ(Format(At(2007, 123, 5, 1, 2), "MM/dd/yyyy", "HH:mm:ss"), "123/05/2007 01:02");
}

TEST(FormatDateTime, ResultBoundedByCapacity) {
  DateTime t = At(2007, 3, 5, 14, 7);
  char out[kDateTimeCapacity];
  // "05-Mar-2007 02:07 PM" is the longest real text: 20 characters.
  EXPECT_EQ(FormatDateTimeAs(t, "dd-MMM-yy", "hh:mm:ss tt", out, sizeof out), 20u);
  DateTime wild = At(-2147483647, 3, -2147483647, 2147483647, -2147483647);
  EXPECT_EQ(FormatDateTimeAs(wild, "dd-MMM-yy", "hh:mm:ss tt", out, sizeof out),
            kDateTimeCapacity - 1);
  char small[6];
  EXPECT_EQ(FormatDateTimeAs(t, "yyyy-MM-dd", "HH:mm:ss", small, sizeof small), 5u);
  EXPECT_STREQ(small, "2007-");
  EXPECT_EQ(FormatDateTimeAs(t, "yyyy-MM-dd", "HH:mm:ss", small, 0), 0u);
}

TEST(UnixSecondsToFileTime, EpochAndLimits) {
  uint64_t ft = 0;
  ASSERT_TRUE(UnixSecondsToFileTime(0, &ft));
  EXPECT_EQ(ft, 116444736000000000ULL);
  ASSERT_TRUE(UnixSecondsToFileTime(1173103620, &ft));  // 5 March 2007 14:07 UTC
  EXPECT_EQ(ft, 116444736000000000ULL + 1173103620ULL * 10000000ULL);
  ASSERT_TRUE(UnixSecondsToFileTime(-11644473600LL, &ft));  // 1 January 1601
  EXPECT_EQ(ft, 0u);
  EXPECT_FALSE(UnixSecondsToFileTime(-11644473601LL, &ft));
  ASSERT_TRUE(UnixSecondsToFileTime(4294967295LL, &ft));  // past 2038
  EXPECT_EQ(ft, 116444736000000000ULL + 4294967295ULL * 10000000ULL);
  EXPECT_TRUE(UnixSecondsToFileTime(910692730085LL, &ft));
  EXPECT_LE(ft, 0x7FFFFFFFFFFFFFFFULL);
  EXPECT_FALSE(UnixSecondsToFileTime(910692730086LL, &ft));
  EXPECT_FALSE(UnixSecondsToFileTime(INT64_MAX, &ft));
}

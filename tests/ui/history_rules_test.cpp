// The History window's date sort key and its double-click toggle rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/history_format.h"
#include "core/history_names.h"
#include "ui/history_rules.h"

namespace {

using namespace tov;

std::string Sortable(const char* date, size_t cap = 32) {
  char out[32] = "unchanged";
  size_t n = HistorySortableDate(date, out, cap);
  EXPECT_EQ(n, std::string(out).size());
  return out;
}

std::string Written(int year, int month, int day, int hour, int minute) {
  HistoryTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  char date[kHistoryDateCapacity];
  FormatHistoryTime(t, date, sizeof date);
  return Sortable(date);
}

TEST(HistorySortableDate, TwelveHourDatesBecomeTimeOrder) {
  EXPECT_EQ(Sortable("03/07/2007  1:07 PM"), "200703071307");
  EXPECT_EQ(Sortable("03/07/2007  12:05 AM"), "200703070005");
  EXPECT_EQ(Sortable("03/07/2007  12:30 PM"), "200703071230");
  EXPECT_EQ(Sortable("12/31/1999  11:59 pm"), "199912312359");
  // Every hour the writer produces comes back as the hour it was written.
  for (int hour = 0; hour < 24; ++hour) {
    char want[16];
    snprintf(want, sizeof want, "20061102%02d09", hour);
    EXPECT_EQ(Written(2006, 11, 2, hour, 9), want);
  }
  // December of one year sorts before January of the next, unlike the text.
  EXPECT_LT(Sortable("12/01/2006  9:00 AM"), Sortable("01/01/2007  9:00 AM"));
}

TEST(HistorySortableDate, OtherTextsAreKeptAndCapacityHolds) {
  EXPECT_EQ(Sortable(""), "");
  EXPECT_EQ(Sortable("yesterday"), "yesterday");
  EXPECT_EQ(Sortable("03/07/2007 13:07"), "03/07/2007 13:07");        // no AM/PM
  EXPECT_EQ(Sortable("03/07/2007  13:07 PM"), "03/07/2007  13:07 PM");  // hour out of range
  EXPECT_EQ(Sortable("03/07/2007  0:07 AM"), "03/07/2007  0:07 AM");
  EXPECT_EQ(Sortable("03/07/2007  1:07 PM", 13), "200703071307");  // exactly fits
  EXPECT_EQ(Sortable("03/07/2007  1:07 PM", 12), "20070307130");   // one over: cut
  char none[1] = {'x'};
  EXPECT_EQ(HistorySortableDate("03/07/2007  1:07 PM", none, 0), 0u);
  EXPECT_EQ(none[0], 'x');
}

TEST(ToggleReversesEvent, OnlyAStateTheEventLeftIsTurnedBack) {
  EXPECT_TRUE(ToggleReversesEvent(kActionStartDisable, true));
  EXPECT_FALSE(ToggleReversesEvent(kActionStartDisable, false));
  EXPECT_TRUE(ToggleReversesEvent(kActionStartEnable, false));
  EXPECT_FALSE(ToggleReversesEvent(kActionStartEnable, true));
  EXPECT_TRUE(ToggleReversesEvent(kActionStartRemove, false));
  EXPECT_TRUE(ToggleReversesEvent(kActionTaskKill, true));
}

}  // namespace

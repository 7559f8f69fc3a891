#include "tasks/task_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace tov;

namespace {

struct RunTimeRow {
  RunTime time;
  const char* text;
};

// Midnight and noon hours, the last minute, single-digit fields, no date.
const RunTimeRow kRunTimeRows[] = {
    {{2004, 3, 7, 0, 30}, "03/07/2004  12:30 AM"},
    {{2004, 3, 7, 12, 5}, "03/07/2004  12:05 PM"},
    {{2004, 3, 7, 23, 59}, "03/07/2004  11:59 PM"},
    {{2004, 12, 31, 11, 0}, "12/31/2004  11:00 AM"},
    {{2026, 1, 2, 13, 7}, "01/02/2026  1:07 PM"},
    {{0, 0, 0, 14, 30}, "Never"},
    {{0, 0, 0, 0, 0}, "Never"},
};

TEST(FormatRunTime, RowsOfTheTable) {
  for (const RunTimeRow& row : kRunTimeRows) {
    char out[kRunTimeCapacity];
    size_t length = FormatRunTimeText(row.time, "Never", out, sizeof out);
    EXPECT_STREQ(out, row.text);
    EXPECT_EQ(length, std::string(row.text).size());
  }
}

TEST(FormatRunTime, CutToTheBufferAndNeverOverruns) {
  char small[8];
  FormatRunTimeText({2004, 3, 7, 0, 30}, "Never", small, sizeof small);
  EXPECT_STREQ(small, "03/07/2");
  char tiny[3];
  FormatRunTimeText({}, "Never", tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "Ne");
  char none[1] = {'x'};
  EXPECT_EQ(FormatRunTimeText({}, "Never", none, 0), 0u);
  EXPECT_EQ(none[0], 'x');
}

TEST(TaskStatus, RunningAndNotScheduledElseReady) {
  EXPECT_EQ(TaskStatusTextId(0x41301), kStatusRunningTextId);
  EXPECT_EQ(TaskStatusTextId(0x41305), kStatusNotScheduledTextId);
  for (long other : {0L, 0x41300L, 0x41302L, 0x41303L, -1L}) EXPECT_EQ(TaskStatusTextId(other), kStatusReadyTextId);
}

TEST(TaskNames, DisplayNameLosesItsEnding) {
  struct {
    const char* name;
    const char* shown;
  } rows[] = {{"Backup.job", "Backup"}, {"A.JOB", "A"}, {".job", ".job"}, {"abc", "abc"}, {"", ""}};
  for (auto& row : rows) {
    char out[32];
    TaskDisplayName(row.name, out, sizeof out);
    EXPECT_STREQ(out, row.shown) << row.name;
  }
  char small[4];
  TaskDisplayName("Backup.job", small, sizeof small);
  EXPECT_STREQ(small, "Bac");
}

TEST(TaskNames, BareNameOnlyForJobEnding) {
  char out[16] = "unchanged";
  EXPECT_TRUE(TaskNameWithoutEnding("t4.JOB", out, sizeof out));
  EXPECT_STREQ(out, "t4");
  for (const char* refused : {"t4", ".job", "t4.jobs", "", "t4.exe"}) {
    char keep[16] = "unchanged";
    EXPECT_FALSE(TaskNameWithoutEnding(refused, keep, sizeof keep)) << refused;
    EXPECT_STREQ(keep, "unchanged");
  }
  char small[3] = "xx";
  EXPECT_FALSE(TaskNameWithoutEnding("abc.job", small, sizeof small));
  EXPECT_TRUE(TaskNameWithoutEnding("ab.job", small, sizeof small));
  EXPECT_STREQ(small, "ab");
  EXPECT_FALSE(TaskNameWithoutEnding(nullptr, small, sizeof small));
}

}  // namespace

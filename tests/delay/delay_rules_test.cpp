#include "delay/delay_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace tov;

namespace {

TEST(DelayRules, CommandOfEveryKindAndTheirLimits) {
  struct Row {
    const char* program;
    const char* parameters;
    const char* applet;
    const char* command;
  } rows[] = {
      {"C:\\Agent\\agent.exe", " /min", "", "C:\\Agent\\agent.exe /min"},  // moved: blank kept
      {"C:\\Agent\\agent.exe", "/min", "", "C:\\Agent\\agent.exe /min"},   // typed in the dialog
      {"C:\\Agent\\agent.exe", "", nullptr, "C:\\Agent\\agent.exe"},
      {"C:\\A\\a.dll", ",Start", "RunDLL32.exe", "RunDLL32.exe C:\\A\\a.dll,Start"},
      {"C:\\A\\a.dll", ",Start /x", "", "C:\\A\\a.dll,Start /x"},
  };
  for (const Row& r : rows) {
    char out[260];
    ASSERT_TRUE(BuildDelayedCommand(r.program, r.parameters, r.applet, out)) << r.command;
    EXPECT_STREQ(out, r.command);
  }
  // Exact fit, one over, no program.
  char fit[12];
  EXPECT_TRUE(BuildDelayedCommand("C:\\a.exe", "/x", "", fit));  // 11 characters
  EXPECT_FALSE(BuildDelayedCommand("C:\\a.exe", "/xy", "", fit));
  EXPECT_STREQ(fit, "");
  EXPECT_FALSE(BuildDelayedCommand("", "/x", "", fit));
  EXPECT_FALSE(BuildDelayedCommand("C:\\a.exe", "", "", fit, 0));
}

TEST(DelayRules, LaunchRunsTheAppletWithTheProgramOrTheProgramAlone) {
  char file[260], args[300];
  ASSERT_TRUE(LaunchParts("C:\\A\\a.dll", ",Start", "RunDLL32.exe", file, sizeof file, args,
                          sizeof args));
  EXPECT_STREQ(file, "RunDLL32.exe");
  EXPECT_STREQ(args, "C:\\A\\a.dll,Start");
  ASSERT_TRUE(LaunchParts("C:\\A\\a.exe", "  /min", "", file, sizeof file, args, sizeof args));
  EXPECT_STREQ(file, "C:\\A\\a.exe");
  EXPECT_STREQ(args, "/min");
  char small[4];
  EXPECT_FALSE(LaunchParts("C:\\A\\a.exe", "", "", small, sizeof small, args, sizeof args));
  EXPECT_STREQ(small, "");
  EXPECT_STREQ(args, "");
}

TEST(DelayRules, DelayTextAndChoices) {
  char out[64];
  struct Row {
    long seconds;
    const char* text;
    int minute, second;  // list choices; -1 none
  } rows[] = {
      {30, "30 Sec.", 0, 3},   {95, "1 Min. : 35 Sec.", 1, 3}, {0, "0 Sec.", 0, 0},
      {60, "1 Min. : 0 Sec.", 1, 0}, {3650, "60 Min. : 50 Sec.", 60, 5},
      {4000, "66 Min. : 40 Sec.", -1, 4}, {-5, "-5 Sec.", -1, -1},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(DelayText(r.seconds, "Min.", "Sec.", out, sizeof out));
    EXPECT_STREQ(out, r.text);
    int m, s;
    DelayChoices(r.seconds, &m, &s);
    EXPECT_EQ(m, r.minute) << r.seconds;
    EXPECT_EQ(s, r.second) << r.seconds;
  }
  char small[6];
  EXPECT_FALSE(DelayText(95, "Min.", "Sec.", small, sizeof small));
  // Every pair of choices gives back its own choices.
  for (int m = 0; m < kDelayMinuteChoices; ++m)
    for (int s = 0; s < kDelaySecondChoices; ++s) {
      int m2, s2;
      DelayChoices(DelayOfChoices(m, s), &m2, &s2);
      EXPECT_EQ(m2 * 100 + s2, m * 100 + s);
    }
  EXPECT_EQ(DelayOfChoices(2, 4), 160);
  EXPECT_EQ(DelayOfChoices(-1, 4), -1);
  EXPECT_EQ(DelayOfChoices(2, -1), -1);
  EXPECT_EQ(DelayOfChoices(61, 0), -1);
}

TEST(DelayRules, HiveOfCodeAndKeys) {
  for (int code : {1, 2, 5}) EXPECT_EQ(DelayHiveOfCode(code), kDelayHiveMachine);
  for (int code : {11, 15, 100, 101, 200}) EXPECT_EQ(DelayHiveOfCode(code), kDelayHiveUser);
  // Delay goes first; every key lies under it and is named once.
  EXPECT_STREQ(kDelayKeys[0], kDelayKey);
  for (int i = 1; i < kDelayKeyCount; ++i) {
    EXPECT_EQ(strncmp(kDelayKeys[i], kDelayKey, strlen(kDelayKey)), 0);
    for (int j = 0; j < i; ++j) EXPECT_STRNE(kDelayKeys[i], kDelayKeys[j]);
  }
}

}  // namespace

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

using namespace tov;

TEST(CommandLine, NoSwitchUsesStartTabOrDelayedStart) {
  EXPECT_EQ(ParseCommandLine("", 6055).command, kCmdDelayedStart);
  EXPECT_EQ(ParseCommandLine(nullptr, 6033).command, kCmdOptions);
  EXPECT_EQ(ParseCommandLine("", 5).command, kCmdDelayedStart);
  EXPECT_EQ(ParseCommandLine("hello", 6026).command, kCmdStartup);
  EXPECT_EQ(ParseCommandLine("", 6025).command, kCmdDelayedStart);
}

TEST(CommandLine, EachSwitchSelectsItsPage) {
  struct { const char* line; int command; } rows[] = {
      {"-START", 6026},   {"-SERVICE", 6038}, {"-BHO", 6040},      {"-COOKIE", 6045},
      {"-NUT", 6028},     {"-OPTION", 6033},  {"-SCHEDULE", 6039}, {"-TASK", 6029},
      {"-DELAY", 6055},   {"-FILETYPE", 6042}, {"-HIDDEN", 6052},  {"-MONITOR", 6046},
      {"-BLACKLIST", 6047}, {"-EXIT", 6048},  {"-RESTART", 6026},
  };
  for (auto& r : rows) EXPECT_EQ(ParseCommandLine(r.line, 6055).command, r.command) << r.line;
}

TEST(CommandLine, LastMatchingSwitchWins) {
  EXPECT_EQ(ParseCommandLine("-OPTION -TASK", 6055).command, kCmdActiveTasks);
  EXPECT_EQ(ParseCommandLine("-TASK -OPTION", 6055).command, kCmdActiveTasks);
  CommandLineChoice c = ParseCommandLine("-START -OPTION", 6055);
  EXPECT_EQ(c.command, kCmdOptions);
  EXPECT_TRUE(c.startMonitor);
}

TEST(CommandLine, RestartIsNotStartButSelectsStartup) {
  CommandLineChoice c = ParseCommandLine("-RESTART", 6055);
  EXPECT_EQ(c.command, kCmdStartup);
  EXPECT_FALSE(c.startMonitor);
  EXPECT_TRUE(ParseCommandLine("-start", 6055).startMonitor);  // any case
}

TEST(CommandLine, QuietMatchesAnywhereInAnyCase) {
  EXPECT_TRUE(ParseCommandLine("-q", 6055).quiet);
  EXPECT_EQ(ParseCommandLine("-q", 6055).command, kCmdClose);
  // Also inside a path: matching is a plain substring test.
  EXPECT_TRUE(ParseCommandLine("C:\\my-quick\\x", 6055).quiet);
  EXPECT_FALSE(ParseCommandLine("-OPTION", 6055).quiet);
}

TEST(CommandLine, RemovalSwitches) {
  EXPECT_TRUE(ParseCommandLine("-remove", 6055).removal);
  EXPECT_TRUE(ParseCommandLine("-REPAIR", 6055).removal);
  EXPECT_FALSE(ParseCommandLine("-OPTION", 6055).removal);
}

TEST(CommandLine, OverLongLineMatchesNothing) {
  std::string line = "-OPTION";
  line.resize(772, ' ');
  EXPECT_EQ(ParseCommandLine(line.c_str(), 6026).command, kCmdOptions);
  line.push_back(' ');  // 773 characters
  EXPECT_EQ(ParseCommandLine(line.c_str(), 6026).command, kCmdStartup);
  EXPECT_FALSE(ParseCommandLine((line + "-Q").c_str(), 6026).quiet);
}

// Matching a running process's program against the program asked for.
#include "processes/task_rules.h"

#include <gtest/gtest.h>

using namespace tov;

namespace {

struct MatchCase {
  const char* processProgram;
  const char* processFile;
  const char* target;
  ProgramMatch expected;
};

const MatchCase kMatchCases[] = {
    {"C:\\Tools\\Agent.exe", "C:\\Tools\\Agent.exe", "C:\\TOOLS\\AGENT.EXE", kFullPathMatch},
    {"C:\\Tools\\Agent.exe", "C:\\Tools\\Agent.exe", "AGENT.EXE", kBareNameMatch},
    // Tool help on the 9x family may report the bare file name.
    {"AGENT.EXE", "agent.exe", "AGENT.EXE", kFullPathMatch},
    {"", "agent.exe", "AGENT.EXE", kBareNameMatch},
    // Same file name in another folder is another program.
    {"C:\\Other\\Agent.exe", "C:\\Other\\Agent.exe", "C:\\TOOLS\\AGENT.EXE", kNoMatch},
    {"C:\\Tools\\Agent.exe", "C:\\Tools\\Agent.exe", "AGENT2.EXE", kNoMatch},
    {"C:\\Tools\\Agent.exe", "C:\\Tools\\Agent.exe", "", kNoMatch},
    {"", "", "AGENT.EXE", kNoMatch},
};

}  // namespace

TEST(TaskRules, MatchProgramByFullPathOrBareName) {
  for (const MatchCase& c : kMatchCases)
    EXPECT_EQ(MatchProgram(c.processProgram, c.processFile, c.target), c.expected)
        << c.processProgram << " / " << c.target;
  EXPECT_EQ(MatchProgram(nullptr, "a", "A"), kNoMatch);
}

TEST(TaskRules, CommonHostsAndTheVirtualDosMachine) {
  EXPECT_TRUE(IsCommonHostProgram("RUNDLL32.EXE"));
  EXPECT_TRUE(IsCommonHostProgram("C:\\WINDOWS\\system32\\rundll32.exe"));
  EXPECT_TRUE(IsCommonHostProgram("svchost.exe"));
  EXPECT_FALSE(IsCommonHostProgram("AGENT.EXE"));
  EXPECT_FALSE(IsCommonHostProgram("XRUNDLL32.EXE"));
  EXPECT_FALSE(IsCommonHostProgram(nullptr));

  EXPECT_TRUE(IsVdmHost("C:\\WINNT\\system32\\ntvdm.exe"));
  EXPECT_TRUE(IsVdmHost("NTVDM.EXE"));
  EXPECT_FALSE(IsVdmHost("C:\\ntvdm.exe.bak"));
  EXPECT_FALSE(IsVdmHost("VDM.EXE"));
  EXPECT_FALSE(IsVdmHost(nullptr));
}

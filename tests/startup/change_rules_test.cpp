#include "startup/change_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/text.h"
#include "startup/baseline_rules.h"

using namespace tov;

namespace {

TEST(OriginalValuesKey, EveryRunCodeHasItsHiveAndKey) {
  const char* const keys[] = {"Run", "RunOnce", "RunOnceEx", "RunServices", "RunServicesOnce"};
  char out[kOriginalKeyCapacity];
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(OriginalValuesKeyOf(1 + i, out));
    EXPECT_EQ(std::string(out), std::string("Software\\Brenvik\\Tovrel\\OriginalRun\\HKLM\\") + keys[i]);
    ASSERT_TRUE(OriginalValuesKeyOf(11 + i, out));
    EXPECT_EQ(std::string(out), std::string("Software\\Brenvik\\Tovrel\\OriginalRun\\HKCU\\") + keys[i]);
  }
  // HKEY_USERS keys, other locations and other families keep nothing.
  for (int code : {0, 6, 21, 25, 100, 101, 200, 256, 900}) {
    EXPECT_FALSE(OriginalValuesKeyOf(code, out)) << code;
    EXPECT_STREQ(out, "");
  }
  char small[20];
  EXPECT_FALSE(OriginalValuesKeyOf(1, small));  // a cut key would name another key
  EXPECT_STREQ(small, "");
}

TEST(OriginalMatchesCommand, QuotesRunDllHeadAndCase) {
  EXPECT_TRUE(OriginalMatchesCommand("C:\\Agent\\agent.exe /min", "c:\\agent\\AGENT.exe /min"));
  EXPECT_TRUE(OriginalMatchesCommand("\"C:\\Program Files\\Agent\\agent.exe\" /min",
                                     "C:\\Program Files\\Agent\\agent.exe /min"));
  EXPECT_TRUE(OriginalMatchesCommand("C:\\WINDOWS\\rundll32.exe C:\\Agent\\agent.dll,Start",
                                     "C:\\Agent\\agent.dll,Start"));
  EXPECT_TRUE(OriginalMatchesCommand("rundll32.exe \"C:\\Program Files\\A\\a.dll\",Go",
                                     "C:\\Program Files\\A\\a.dll,Go"));
  // The command may also keep the head (the enumeration's raw data).
  EXPECT_TRUE(OriginalMatchesCommand("C:\\WINDOWS\\rundll32.exe C:\\Agent\\agent.dll,Start",
                                     "C:\\WINDOWS\\rundll32.exe C:\\Agent\\agent.dll,Start"));
  EXPECT_FALSE(OriginalMatchesCommand("C:\\Agent\\agent.exe /min", "C:\\Agent\\agent.exe"));
  EXPECT_FALSE(OriginalMatchesCommand("C:\\Agent\\agent.exe", ""));
  EXPECT_FALSE(OriginalMatchesCommand(nullptr, "x"));
  // A value too long for any entry path matches nothing and reads nothing past it.
  std::string huge(5000, 'a');
  EXPECT_FALSE(OriginalMatchesCommand(huge.c_str(), "aaaa"));
}

TEST(OriginalAsEntryPath, CutIsReported) {
  char out[8];
  EXPECT_TRUE(OriginalAsEntryPath("\"a b\"", out, sizeof out));
  EXPECT_STREQ(out, "a b");
  EXPECT_FALSE(OriginalAsEntryPath("\"abcdefghij\"", out, sizeof out));
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_FALSE(OriginalAsEntryPath("x", out, 0));
}

bool MatchesText(const char* token, void* context) {
  return EqualsNoCase(token, static_cast<const char*>(context));
}

TEST(RemoveDllFromList, KeepsOthersJoinedByCommas) {
  char out[256];
  char b[] = "b.dll";
  EXPECT_TRUE(RemoveDllFromList("a.dll,b.dll c.dll", MatchesText, b, out, sizeof out));
  EXPECT_STREQ(out, "a.dll,c.dll");
  EXPECT_TRUE(RemoveDllFromList("B.DLL", MatchesText, b, out, sizeof out));
  EXPECT_STREQ(out, "");
  // Every copy goes, empty tokens too, and no comma is left at the end.
  EXPECT_TRUE(RemoveDllFromList(" b.dll,,a.dll  b.dll, ", MatchesText, b, out, sizeof out));
  EXPECT_STREQ(out, "a.dll");
  EXPECT_TRUE(RemoveDllFromList("", MatchesText, b, out, sizeof out));
  EXPECT_STREQ(out, "");
  char small[8];
  EXPECT_FALSE(RemoveDllFromList("a.dll,c.dll", MatchesText, b, small, sizeof small));
}

TEST(DetectedKinds, EveryCodeReadsItsKind) {
  EXPECT_STREQ(DetectedKindOf(1), "Startup");
  EXPECT_STREQ(DetectedKindOf(256), "Startup");
  EXPECT_STREQ(DetectedKindOf(299), "Startup");
  EXPECT_STREQ(DetectedKindOf(370), "Hidden");
  EXPECT_STREQ(DetectedKindOf(400), "FileTypes");
  EXPECT_STREQ(DetectedKindOf(700), "Services");
  EXPECT_STREQ(DetectedKindOf(701), "Services");
  EXPECT_STREQ(DetectedKindOf(800), "Tasks");
  for (int code : {900, 901, 902}) EXPECT_STREQ(DetectedKindOf(code), "IEHelper");
  for (int code : {300, 301, 500, 600, 3000}) EXPECT_STREQ(DetectedKindOf(code), "ActiveTasks");
  const char* const order[] = {"Startup", "IEHelper", "Services", "Tasks",
                               "ActiveTasks", "FileTypes", "Hidden"};
  for (int row = 0; row < kDetectedKindCount; ++row) EXPECT_STREQ(DetectedKindAt(row), order[row]);
  EXPECT_EQ(DetectedKindAt(kDetectedKindCount), nullptr);
  char key[kDetectedKeyCapacity];
  EXPECT_TRUE(DetectedKeyOf("ActiveTasks", key));
  EXPECT_STREQ(key, "Software\\Brenvik\\Detected\\ActiveTasks");
}

}  // namespace

TEST(KnownListName, OneNamingRuleForEveryWriterAndRemover) {
  char out[kPathCapacity];
  EXPECT_TRUE(KnownListName("C:\\a=b\\x.exe /k=1", out, sizeof out));
  EXPECT_STREQ(out, "C:\\a:b\\x.exe /k:1");
  std::string longest(259, 'a');
  EXPECT_TRUE(KnownListName(longest.c_str(), out, sizeof out));
  std::string over(260, 'a');
  EXPECT_FALSE(KnownListName(over.c_str(), out, sizeof out));
  EXPECT_STREQ(out, "");
  char small[4];
  EXPECT_FALSE(KnownListName("abcd", small, sizeof small));
}

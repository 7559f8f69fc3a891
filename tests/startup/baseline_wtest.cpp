// First-detection dates and the known lists against the real registry of
// the test prefix.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <set>
#include <string>

#include "core/registry.h"
#include "core/text.h"
#include "startup/baseline.h"
#include "startup/entries.h"
#include "startup/enumerate.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kMachineRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kStartupKey[] = "Software\\Brenvik\\Detected\\Startup";

std::string Read(HKEY root, const char* key, const char* name) { return GetText(root, key, name); }

class BaselineTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearProductKeys();
    DeleteRegTree(HKEY_CURRENT_USER, kDetectedKey);
    Clean();
    CoInitialize(nullptr);
  }
  void TearDown() override {
    Clean();
    ClearEntries();
    DeleteRegTree(HKEY_CURRENT_USER, kDetectedKey);
    ClearProductKeys();
    CoUninitialize();
  }
  static void Clean() {
    for (const char* name : {"BaselineAgent", "BaselineAgentX", "BaselineOther", "BaselineEquals"})
      DeleteRegValue(HKEY_CURRENT_USER, kUserRun, name);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kMachineRunOnce, "BaselineOnce");
  }
};

TEST_F(BaselineTest, OneDatePerProgramWhateverItsArguments) {
  EXPECT_EQ(RecordFirstDetected("C:\\Agent\\agent.exe /min", kStartupKey), 0);
  EXPECT_EQ(RecordFirstDetected("C:\\Agent\\agent.exe /x", kStartupKey), 1);
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kStartupKey),
            std::set<std::string>({"C:\\AGENT\\AGENT.EXE"}));
  char date[kFirstDetectedCapacity];
  size_t length = GetFirstDetected("C:\\AGENT\\AGENT.EXE", 11, date);
  EXPECT_GT(length, 0u);
  EXPECT_LT(length, kFirstDetectedCapacity);
  EXPECT_EQ(date, Read(HKEY_CURRENT_USER, kStartupKey, "C:\\AGENT\\AGENT.EXE"));
  // Another kind of the store knows nothing of it.
  EXPECT_EQ(GetFirstDetected("C:\\AGENT\\AGENT.EXE", 600, date), 0u);
  EXPECT_STREQ(date, "");
  // A recorded date is never rewritten.
  SetRegString(HKEY_CURRENT_USER, kStartupKey, "C:\\AGENT\\AGENT.EXE", "1/2/2003 4:05 AM");
  EXPECT_EQ(RecordFirstDetected("\"C:\\Agent\\agent.exe\" -tray", kStartupKey), 1);
  EXPECT_EQ(GetFirstDetected("C:\\AGENT\\AGENT.EXE", 200, date), 16u);
  EXPECT_STREQ(date, "1/2/2003 4:05 AM");
  // A command without a program dates nothing (no default value).
  EXPECT_EQ(RecordFirstDetected("", kStartupKey), 1);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kStartupKey, ""), "");
}

TEST_F(BaselineTest, StoreIsSeededOnce) {
  SetRegString(HKEY_CURRENT_USER, kUserRun, "BaselineAgent", "C:\\Agent\\agent.exe /min");
  SetRegString(HKEY_CURRENT_USER, kUserRun, "BaselineAgentX", "C:\\Agent\\agent.exe /x");
  InitDetected();
  EXPECT_NE(Read(HKEY_CURRENT_USER, kDetectedKey, ""), "");
  for (int row = 0; row < kDetectedKindCount; ++row) {
    char key[kDetectedKeyCapacity];
    ASSERT_TRUE(DetectedKeyOf(DetectedKindAt(row), key));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key)) << key;
  }
  std::set<std::string> seeded = ValueNames(HKEY_CURRENT_USER, kStartupKey);
  EXPECT_EQ(seeded.count("C:\\AGENT\\AGENT.EXE"), 1u);
  EXPECT_EQ(EntryCount(), 0);

  // A second run changes nothing, even for a program that appeared since.
  SetRegString(HKEY_CURRENT_USER, kStartupKey, "C:\\AGENT\\AGENT.EXE", "marker");
  const std::string created = Read(HKEY_CURRENT_USER, kDetectedKey, "");
  SetRegString(HKEY_CURRENT_USER, kUserRun, "BaselineOther", "C:\\Other\\other.exe");
  InitDetected();
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kStartupKey), seeded);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kStartupKey, "C:\\AGENT\\AGENT.EXE"), "marker");
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kDetectedKey, ""), created);
}

TEST_F(BaselineTest, ResetKnownItemsHoldsExactlyTheCurrentEntries) {
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Gone\\gone.exe", "1");
  SetRegString(HKEY_CURRENT_USER, kKnownIEHelpersKey, "Gone Helper", "900");
  SetRegString(HKEY_CURRENT_USER, kKnownTasksKey, "Gone Task", "800");
  SetRegString(HKEY_CURRENT_USER, kUserRun, "BaselineAgent", "C:\\Agent\\agent.exe /min");
  SetRegString(HKEY_CURRENT_USER, kUserRun, "BaselineEquals", "C:\\Agent\\agent.exe /opt=1");
  SetRegString(HKEY_LOCAL_MACHINE, kMachineRunOnce, "BaselineOnce", "C:\\Once\\once.exe");

  ResetKnownItems();
  EXPECT_EQ(EntryCount(), 0);

  // What the enumeration lists now, named as the known list names it.
  std::set<std::string> expected;
  std::set<std::string> secret;  // Winlogon values and registry hooks
  BuildStartupList(0);
  for (int i = 0; i < EntryCount(); ++i) {
    char name[kPathCapacity];
    EqualsToColon(EntryAt(i)->path, name, sizeof name);
    if (name[0]) expected.insert(name);
    if (name[0] && EntryAt(i)->code >= 250) secret.insert(name);
  }
  ClearEntries();
  if (IsNtFamily()) {
    EXPECT_FALSE(secret.empty());  // at least the Winlogon Shell
  }
  for (const std::string& name : secret)
    EXPECT_GE(ParseDecimal(Read(HKEY_CURRENT_USER, kKnownRunKey, name.c_str()).c_str()), 250) << name;
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kKnownRunKey), expected);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /min"), "11");
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1"), "11");
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Once\\once.exe"), "2");
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kKnownRunKey).count("C:\\Gone\\gone.exe"), 0u);
  // The helper and task lists are emptied (their families add nothing yet).
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kKnownIEHelpersKey));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kKnownTasksKey));
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kKnownIEHelpersKey).empty());
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kKnownTasksKey).empty());
}

}  // namespace

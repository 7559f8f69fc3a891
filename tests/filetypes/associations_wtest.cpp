// The file-type baseline against the real registry of the test prefix:
// associations of kinds 1-3 planted by the tests (kind 1 under
// HKLM\Software\Classes, kinds 2 and 3 under the user's FileExts and
// HKCR), recorded at the first run, kept at later runs, added and removed.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <map>
#include <string>

#include "core/files.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/text.h"
#include "filetypes/associations.h"
#include "startup/baseline.h"
#include "core/entries.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/filetypes/planted_types.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

const char kProduct[] = "Software\\Brenvik\\Tovrel";
using plantedtypes::kClasses;
using plantedtypes::Plant;

std::map<std::string, std::string> Values(const char* key) {
  std::map<std::string, std::string> values;
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[512], data[1100];
    DWORD nameLen = sizeof name, size = sizeof data - 1, type = 0;
    if (RegEnumValueA(k, i, name, &nameLen, nullptr, &type, (BYTE*)data, &size) != ERROR_SUCCESS)
      break;
    data[size] = 0;
    EXPECT_EQ(type, DWORD(REG_SZ)) << key << " " << name;
    values[name] = data;
  }
  RegCloseKey(k);
  return values;
}

std::string Expanded(const char* text) {
  char out[1024];
  ExpandEnvironmentStringsA(text, out, sizeof out);
  return out;
}

std::string WithoutQuotes(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

class FileTypesTest : public testing::Test {
 protected:
  testsupport::ProgramResources program_;  // the string table: the default list
  plantedtypes::PlantedTypes planted_;
  const std::string& systemCommand_ = planted_.systemCommand;
  const char* appCommand_ = planted_.appCommand.c_str();
  const std::string& progIdCommand_ = planted_.progIdCommand;

  void SetUp() override {
    testsupport::ClearProductKeys();
    planted_.Unplant();
    ASSERT_TRUE(program_.loaded());
    planted_.PlantAll();
  }
  void TearDown() override {
    planted_.Unplant();
    ClearEntries();
    testsupport::ClearProductKeys();
  }
  void PlantShared() { planted_.PlantShared(); }
  static void SetList(const char* list) {
    SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", list);
    SetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", kBaselineMarker);
  }
  static std::string List() {
    char list[kMonitoredListCapacity];
    ReadMonitoredList(list);
    return list;
  }
};

TEST_F(FileTypesTest, LookupKinds) {
  char className[kAssociationCapacity], command[kAssociationCapacity];
  EXPECT_TRUE(LookupAssociation("SBS", 1, className, command));
  EXPECT_STREQ(className, "TovTest.Sbs");
  EXPECT_EQ(command, systemCommand_);
  EXPECT_TRUE(LookupAssociation(".wsh", 2, className, command));
  EXPECT_STREQ(className, "tovtestapp.exe");
  EXPECT_EQ(command, Expanded(appCommand_));
  EXPECT_TRUE(LookupAssociation(".CAT", 3, className, command));
  EXPECT_EQ(command, progIdCommand_);
  // Kind 4 reads the merged root, where the kind-1 class shows too.
  EXPECT_TRUE(LookupAssociation(".SBS", 4, className, command));
  EXPECT_STREQ(className, "TovTest.Sbs");
  for (int kind : {0, 5, 2, 3}) {
    EXPECT_FALSE(LookupAssociation(".SBS", kind, className, command)) << kind;
    EXPECT_STREQ(className, "");
    EXPECT_STREQ(command, "");
  }
  EXPECT_FALSE(LookupAssociation("", 1, className, command));
  // A class without a command value has no association; an empty command
  // value is an association with no program.
  Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + ".tovc", "", "TovTest.Shared");
  EXPECT_FALSE(LookupAssociation(".tovc", 1, className, command));
  Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + "TovTest.Shared\\shell\\open\\command", "", "");
  EXPECT_TRUE(LookupAssociation(".tovc", 1, className, command));
  EXPECT_STREQ(command, "");
  // Nothing is recorded for a kind outside 1-4 or a failed lookup.
  EXPECT_FALSE(RecordAssociation(".SBS", 0));
  EXPECT_FALSE(RecordAssociation(".WSH", 1));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kProduct));
  EXPECT_TRUE(RecordAssociation(".SBS", 4));
  EXPECT_EQ(Values(kFileTypeExtRootKey), (std::map<std::string, std::string>{{".SBS", "TovTest.Sbs"}}));
  EXPECT_EQ(Values(kFileTypeClassRootKey)["TovTest.Sbs"], WithoutQuotes(systemCommand_));
}

TEST_F(FileTypesTest, FirstRunRecordsThenLaterRunsKeepEverything) {
  int count = CreateClassInfo();
  char defaults[kMonitoredListCapacity];
  ASSERT_GT(LoadStringA(program_.module(), 750, defaults, sizeof defaults), 0);
  EXPECT_EQ(List(), defaults);
  auto ext = Values(kFileTypeExtKey);
  EXPECT_EQ(ext[""], "Do not edit.");
  EXPECT_EQ(ext[".SBS"], "TovTest.Sbs");
  EXPECT_EQ(Values(kFileTypeExtAppKey),
            (std::map<std::string, std::string>{{".WSH", "tovtestapp.exe"}}));
  EXPECT_EQ(Values(kFileTypeExtProgIdKey),
            (std::map<std::string, std::string>{{".CAT", "TovTest.Cat"}}));
  auto classes = Values(kFileTypeClassKey);
  EXPECT_EQ(classes["TovTest.Sbs"], WithoutQuotes(systemCommand_));
  EXPECT_EQ(classes["tovtestapp.exe"], WithoutQuotes(Expanded(appCommand_)));
  EXPECT_EQ(classes["TovTest.Cat"], WithoutQuotes(progIdCommand_));
  // One value per recorded extension, one per class (plus the list), and
  // the count is the number of entries recorded.
  EXPECT_EQ(int(ext.size() - 1 + 2), count);
  EXPECT_LE(classes.size(), size_t(count) + 1);
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kFileTypeExtRootKey));
  EXPECT_EQ(EntryCount(), 0);

  // A later run rewrites nothing, even when an association has changed.
  testsupport::KeySnapshot before = testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct);
  Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + "TovTest.Sbs\\shell\\open\\command", "",
        "C:\\hijack.exe %1");
  EXPECT_EQ(CreateClassInfo(), 0);
  EXPECT_EQ(testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct), before);
}

TEST_F(FileTypesTest, ListsThatAreKeptAtStart) {
  // A first name of ten or more characters: still the user's list.
  SetList("VERYLONGNAME;SBS;");
  testsupport::KeySnapshot before = testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct);
  EXPECT_EQ(CreateClassInfo(), 0);
  EXPECT_EQ(testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct), before);
  // An older marker records every association again and keeps the list.
  SetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", "Do not edit");
  SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", "sbs;CAT;");
  EXPECT_EQ(CreateClassInfo(), 0);
  EXPECT_EQ(List(), "sbs;CAT;");
  EXPECT_EQ(Values(kFileTypeExtKey),
            (std::map<std::string, std::string>{{"", "Do not edit."}, {".sbs", "TovTest.Sbs"}}));
  EXPECT_EQ(Values(kFileTypeExtProgIdKey)[".CAT"], "TovTest.Cat");
  EXPECT_TRUE(Values(kFileTypeExtAppKey).empty());
  // A list too long to read is never replaced.
  std::string huge(1500, 'X');
  SetRegString(HKEY_CURRENT_USER, kFileTypeExtKey, "", kBaselineMarker);
  SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", huge.c_str());
  EXPECT_EQ(CreateClassInfo(), 0);
  EXPECT_EQ(AddMonitoredExtension("SBS"), 763);
  EXPECT_FALSE(RemoveMonitoredExtension("X"));
  EXPECT_EQ(testsupport::GetText(HKEY_CURRENT_USER, kFileTypeClassKey, ""), huge);
}

TEST_F(FileTypesTest, EntriesOfTheListedExtensions) {
  SetList("SBS;WSH;CAT;NONE;");
  ASSERT_EQ(EnumerateFileTypes(), 3);
  const Entry* sbs = EntryAt(0);
  EXPECT_STREQ(sbs->title, "Tovtest Script");
  EXPECT_STREQ(sbs->path, WithoutQuotes(systemCommand_).c_str());
  EXPECT_STREQ(sbs->source, "TovTest.Sbs");
  EXPECT_STREQ(sbs->extra, ".SBS");
  EXPECT_EQ(sbs->code, 400);
  EXPECT_EQ(sbs->flag, 1);
  EXPECT_EQ(EntryAt(1)->flag, 2);
  EXPECT_STREQ(EntryAt(1)->extra, ".WSH");
  // No description: the program's product name and description stand in.
  const Entry* cat = EntryAt(2);
  EXPECT_STREQ(cat->title, "Fixture Shell Helper");
  EXPECT_STREQ(cat->source, "Fixture Shell Helper");
  EXPECT_EQ(cat->flag, 3);
  // A DefaultIcon with a comma names the file; without one the command is
  // the file.
  char file[kPathCapacity];
  int index = 0;
  EXPECT_TRUE(DefaultIcon("SBS", 1, file, sizeof file, &index));
  EXPECT_STREQ(file, "C:\\Tov Test\\icons.dll");
  EXPECT_EQ(index, -3);
  Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + "TovTest.Sbs\\DefaultIcon", "",
        "C:\\Tov Test\\runner.exe");
  EXPECT_TRUE(DefaultIcon(".SBS", 1, file, sizeof file, &index));
  EXPECT_EQ(file, systemCommand_);
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(DefaultIcon(".CAT", 3, file, sizeof file, &index));
  // Each file type is dated once in the first-detection store.
  CoInitialize(nullptr);
  InitDetected();
  CoUninitialize();
  char program[kPathCapacity];
  ProgramOfCommand(progIdCommand_.c_str(), program);
  char date[kFirstDetectedCapacity];
  EXPECT_GT(GetFirstDetected(program, 400, date), 0u);
}

TEST_F(FileTypesTest, AddRecordsAndRefuses) {
  SetList("SBS;");
  testsupport::KeySnapshot before = testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct);
  for (const char* typed : {".sbs", "SBS", "", ".", "a;b"})
    EXPECT_NE(AddMonitoredExtension(typed), 0) << typed;
  EXPECT_EQ(AddMonitoredExtension(".sbs"), 762);
  EXPECT_EQ(AddMonitoredExtension("a;b"), 751);
  EXPECT_EQ(testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct), before);
  EXPECT_EQ(AddMonitoredExtension(".CAT"), 0);
  EXPECT_EQ(AddMonitoredExtension("nothing"), 0);  // no check that it exists
  EXPECT_EQ(List(), "SBS;CAT;nothing;");
  EXPECT_EQ(Values(kFileTypeExtProgIdKey)[".CAT"], "TovTest.Cat");
  EXPECT_EQ(Values(kFileTypeClassKey)["TovTest.Cat"], WithoutQuotes(progIdCommand_));
  std::string full(1010, 'X');
  SetList((full + ";").c_str());
  EXPECT_EQ(AddMonitoredExtension("ABCDEFGHI"), 763);
  EXPECT_EQ(AddMonitoredExtension("ABCDEFGH"), 0);
}

TEST_F(FileTypesTest, RemoveKeepsASharedClassUntilItsLastExtension) {
  PlantShared();
  SetList("SBS;");
  ASSERT_EQ(AddMonitoredExtension("tova"), 0);
  ASSERT_EQ(AddMonitoredExtension("tovb"), 0);
  SetRegString(HKEY_CURRENT_USER, kFileTypeExtTypeKey, ".tova", "x");
  // The listed class text is the program's description, not the class.
  EnumerateFileTypes();
  EXPECT_STREQ(EntryAt(1)->source, "Fixture Shell Helper");
  ClearEntries();

  EXPECT_TRUE(RemoveMonitoredExtension("tova"));
  EXPECT_EQ(List(), "SBS;tovb;");
  auto ext = Values(kFileTypeExtKey);
  EXPECT_EQ(ext.count(".tova"), 0u);
  EXPECT_EQ(ext[".tovb"], "TovTest.Shared");
  EXPECT_TRUE(Values(kFileTypeExtTypeKey).empty());
  EXPECT_EQ(Values(kFileTypeClassKey).count("TovTest.Shared"), 1u);

  EXPECT_TRUE(RemoveMonitoredExtension(".TOVB"));
  EXPECT_EQ(List(), "SBS;");
  EXPECT_EQ(Values(kFileTypeExtKey).count(".tovb"), 0u);
  EXPECT_EQ(Values(kFileTypeClassKey).count("TovTest.Shared"), 0u);
  EXPECT_EQ(Values(kFileTypeClassKey)[""], "SBS;");

  // An extension whose kind 1 was never recorded changes only the list.
  ASSERT_EQ(AddMonitoredExtension("CAT"), 0);
  testsupport::KeySnapshot before = testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct);
  EXPECT_TRUE(RemoveMonitoredExtension("cat"));
  SetRegString(HKEY_CURRENT_USER, kFileTypeClassKey, "", "SBS;CAT;");
  EXPECT_EQ(testsupport::TakeSnapshot(HKEY_CURRENT_USER, kProduct), before);
}

}  // namespace

// The IE helpers against the real registry of the test prefix: a fixture
// COM server (tests/fixtures/helper_fixture) in a folder with a space in
// its name registers itself as a Browser Helper Object through regsvr32.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/files.h"
#include "iehelpers/helpers.h"
#include "startup/baseline.h"
#include "core/entries.h"
#include "tests/iehelpers/helper_fixtures.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;
using namespace helperfixtures;

namespace {

const char kNoServerClsid[] = "{7E2A9C41-5B3D-4F60-9A1E-0C0FFEE0B40F}";
const char kUnknownClsid[] = "{7E2A9C41-5B3D-4F60-9A1E-0C0FFEE0B410}";
const char* const kExtensionNames[] = {"{EE000001-0000-4000-8000-000000000001}",
                                       "{EE000001-0000-4000-8000-000000000002}",
                                       "{EE000001-0000-4000-8000-000000000003}",
                                       "{EE000001-0000-4000-8000-000000000004}"};

std::string Sub(const char* key, const char* name) { return std::string(key) + "\\" + name; }
std::string ClassKey(const char* clsid) { return std::string("CLSID\\") + clsid; }
std::string ServerKey(const char* clsid) { return ClassKey(clsid) + "\\InprocServer32"; }

void Put(HKEY root, const std::string& key, const char* name, const std::string& text) {
  ASSERT_TRUE(SetText(root, key, name, text)) << key;
}

int FindEntry(int code, const char* source) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EntryCode(i) == code && _stricmp(EntryAt(i)->source, source) == 0) return i;
  return -1;
}

int CountLines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

class HelpersTest : public ::testing::Test {
 protected:
  ProgramResources program_;
  FixtureCopy fixture_;
  const std::string& dll_ = fixture_.dll();

  void SetUp() override {
    ASSERT_TRUE(program_.loaded());
    RegisterHelperRestoreHandler();
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
    CleanRegistry();
    ASSERT_TRUE(PathExists(dll_));
  }
  void TearDown() override {
    CleanRegistry();
    ClearEntries();
    ClearHistoryFile();
    SetSetting(kOptHistory, 0);
  }
  void CleanRegistry() {
    for (const char* clsid : {kFixtureClsid, kNoServerClsid, kUnknownClsid}) {
      DeleteRegTree(HKEY_LOCAL_MACHINE, Sub(kHelperObjectsKey, clsid).c_str());
      DeleteRegTree(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str());
      DeleteRegValue(HKEY_LOCAL_MACHINE, kToolbarKey, clsid);
      DeleteRegValue(HKEY_LOCAL_MACHINE, kToolbarKey, clsid + 1);
    }
    for (const char* name : kExtensionNames)
      DeleteRegTree(HKEY_LOCAL_MACHINE, Sub(kExtensionsKey, name).c_str());
  }
  // BHO and toolbar of the fixture, a BHO whose class has no server,
  // toolbars by a bare CLSID and by an unknown one, and four extensions.
  void SeedAll() {
    ASSERT_TRUE(fixture_.Register());
    Put(HKEY_CLASSES_ROOT, ClassKey(kNoServerClsid), "", "No server");
    Put(HKEY_LOCAL_MACHINE, Sub(kHelperObjectsKey, kNoServerClsid), "", "");
    Put(HKEY_LOCAL_MACHINE, kToolbarKey, kFixtureClsid, "");
    Put(HKEY_LOCAL_MACHINE, kToolbarKey, kUnknownClsid + 1, "");  // without braces
    std::string e0 = Sub(kExtensionsKey, kExtensionNames[0]);
    Put(HKEY_LOCAL_MACHINE, e0, "ButtonText", "res://shdoclc.dll/related");
    Put(HKEY_LOCAL_MACHINE, e0, "Exec", "C:\\nowhere\\related.exe");
    Put(HKEY_LOCAL_MACHINE, e0, "HotIcon", "C:\\nowhere\\hot.ico");
    std::string e1 = Sub(kExtensionsKey, kExtensionNames[1]);
    Put(HKEY_LOCAL_MACHINE, e1, "ButtonText", "Script Button");
    Put(HKEY_LOCAL_MACHINE, e1, "Script", "C:\\nowhere\\button.htm");
    std::string e2 = Sub(kExtensionsKey, kExtensionNames[2]);
    Put(HKEY_LOCAL_MACHINE, e2, "ButtonText", "shdoclc.dll but named");
    Put(HKEY_LOCAL_MACHINE, e2, "Exec", dll_);
    Put(HKEY_LOCAL_MACHINE, Sub(e2.c_str(), "Inner"), "Data", "x");
    Put(HKEY_LOCAL_MACHINE, Sub(kExtensionsKey, kExtensionNames[3]), "Exec", "C:\\nowhere\\x.exe");
  }
  std::string History() {
    char path[MAX_PATH];
    HistoryFilePath(path, sizeof path);
    return ReadWholeFile(path);
  }
};

TEST_F(HelpersTest, ScanReadsTheThreeLocations) {
  SeedAll();
  int count = ScanIEHelpers();
  EXPECT_EQ(count, EntryCount());

  int bho = FindEntry(kCodeHelperObject, kFixtureClsid);
  ASSERT_GE(bho, 0);
  EXPECT_STREQ(EntryAt(bho)->title, "Helper Fixture");
  EXPECT_TRUE(EqualsNoCase(EntryAt(bho)->path, dll_.c_str())) << EntryAt(bho)->path;
  EXPECT_STREQ(EntryAt(bho)->extra, "2.0.0.1");
  EXPECT_LT(FindEntry(kCodeHelperObject, kNoServerClsid), 0) << "BHO without a server listed";

  int toolbar = FindEntry(kCodeToolbar, kFixtureClsid);
  ASSERT_GE(toolbar, 0);
  EXPECT_GT(toolbar, bho);
  EXPECT_STREQ(EntryAt(toolbar)->title, "Helper Fixture");
  EXPECT_TRUE(EqualsNoCase(EntryAt(toolbar)->path, dll_.c_str()));
  int unknown = FindEntry(kCodeToolbar, kUnknownClsid + 1);
  ASSERT_GE(unknown, 0) << "toolbar without a server not listed";
  EXPECT_STREQ(EntryAt(unknown)->path, "");
  EXPECT_STREQ(EntryAt(unknown)->title, kUnknownClsid + 1);

  struct {
    const char* name;
    const char* title;
    const char* path;
    const char* extra;
  } extensions[] = {
      {kExtensionNames[0], "Related", "C:\\nowhere\\related.exe", "C:\\nowhere\\hot.ico"},
      {kExtensionNames[1], "Script Button", "C:\\nowhere\\button.htm", "C:\\nowhere\\button.htm"},
      {kExtensionNames[2], "Helper Fixture", dll_.c_str(), dll_.c_str()},
  };
  for (auto& row : extensions) {
    int e = FindEntry(kCodeExtension, row.name);
    ASSERT_GE(e, 0) << row.name;
    EXPECT_GT(e, unknown);
    EXPECT_STREQ(EntryAt(e)->title, row.title);
    EXPECT_TRUE(EqualsNoCase(EntryAt(e)->path, row.path)) << EntryAt(e)->path;
    EXPECT_TRUE(EqualsNoCase(EntryAt(e)->extra, row.extra)) << EntryAt(e)->extra;
    EXPECT_EQ(EntryFlag(e), 0);
  }
  EXPECT_LT(FindEntry(kCodeExtension, kExtensionNames[3]), 0) << "extension without ButtonText";
}

TEST_F(HelpersTest, RemoveHelperObjectOnceThoughTwoEntriesShareItsFile) {
  SeedAll();
  Put(HKEY_LOCAL_MACHINE, Sub(Sub(kHelperObjectsKey, kFixtureClsid).c_str(), "Settings"), "x", "1");
  ScanIEHelpers();
  int bho = FindEntry(kCodeHelperObject, kFixtureClsid);
  ASSERT_GE(bho, 0);
  ASSERT_GE(FindEntry(kCodeToolbar, kFixtureClsid), 0);

  EXPECT_EQ(RemoveIEHelper(bho), 1);
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Sub(kHelperObjectsKey, kFixtureClsid).c_str()));
  // The other entry sharing the file keeps its registration.
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kToolbarKey, kFixtureClsid));
  std::string history = History();
  EXPECT_EQ(CountLines(history), 1) << history;
  std::string expected = std::string("IEHELPER_Remove\tTYPE_BHO\thelper fixture.dll\t");
  EXPECT_NE(history.find(expected), std::string::npos) << history;
  EXPECT_NE(history.find(std::string("\t") + Sub(kHelperObjectsKey, kFixtureClsid) + "\r\n"),
            std::string::npos) << history;
  // regsvr32 /u ran on the quoted path: the fixture took its class away.
  EXPECT_TRUE(WaitFor([] { return !RegKeyExists(HKEY_CLASSES_ROOT, ServerKey(kFixtureClsid).c_str()); },
                      15000)) << "the server was not unregistered";

  // Its undo from the History window registers it again through regsvr32 /s.
  ASSERT_EQ(LoadHistory(), 1);
  EXPECT_EQ(EntryFlag(0), kActionHelperRemove);
  RestoreHistoryEvent(nullptr, 0);
  EXPECT_TRUE(WaitFor([] { return RegKeyExists(HKEY_LOCAL_MACHINE, Sub(kHelperObjectsKey, kFixtureClsid).c_str()); },
                      15000)) << "the server was not registered again";
  EXPECT_FALSE(ReRegisterIEHelper(""));
}

TEST_F(HelpersTest, RemoveToolbarValueAndExtensionTree) {
  SeedAll();
  ScanIEHelpers();
  int toolbar = FindEntry(kCodeToolbar, kUnknownClsid + 1);
  ASSERT_GE(toolbar, 0);
  EXPECT_EQ(RemoveIEHelper(toolbar), 1);
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kToolbarKey, kUnknownClsid + 1));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kToolbarKey, kFixtureClsid));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kToolbarKey));
  // A toolbar's source in the history is the Toolbar key and a backslash.
  EXPECT_NE(History().find(std::string("\t") + kToolbarKey + "\\\r\n"), std::string::npos) << History();

  int extension = FindEntry(kCodeExtension, kExtensionNames[2]);
  ASSERT_GE(extension, 0);
  EXPECT_EQ(RemoveIEHelper(extension), 1);
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Sub(kExtensionsKey, kExtensionNames[2]).c_str()));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, Sub(kExtensionsKey, kExtensionNames[1]).c_str()));
  EXPECT_EQ(CountLines(History()), 2);
  EXPECT_EQ(RemoveIEHelper(-1), 0);
  EXPECT_EQ(RemoveIEHelper(EntryCount()), 0);
}

// Every Browser Helper Object of the corpus, registered as the machine held
// it, is listed with its server and the server's file name as its title
// (none of the files exists here).
TEST_F(HelpersTest, CorpusHelperObjectsAllListed) {
  SavedKey helpers(HKEY_LOCAL_MACHINE, kHelperObjectsKey);
  std::string corpus = ReadWholeFile(TOVREL_SHARED_DIR "/corpus/autostart.tsv");
  ASSERT_FALSE(corpus.empty());
  std::map<std::string, std::string> servers;  // CLSID -> server
  size_t start = 0;
  while (start < corpus.size()) {
    size_t end = corpus.find('\n', start);
    if (end == std::string::npos) end = corpus.size();
    std::string line = corpus.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> f;
    for (size_t a = 0, b; a <= line.size(); a = b + 1) {
      b = line.find('\t', a);
      if (b == std::string::npos) b = line.size();
      f.push_back(line.substr(a, b - a));
    }
    if (f.size() < 6 || f[1] != "bho" || f[5].empty()) continue;
    servers[f[3].substr(f[3].rfind('\\') + 1)] = f[5];
  }
  ASSERT_GE(servers.size(), 15u) << "the corpus's helper objects were not all read";  // 19 distinct
  for (auto& s : servers) {
    Put(HKEY_CLASSES_ROOT, ServerKey(s.first.c_str()), "", s.second);
    Put(HKEY_LOCAL_MACHINE, Sub(kHelperObjectsKey, s.first.c_str()), "", "");
  }
  ScanIEHelpers();
  for (auto& s : servers) {
    int e = FindEntry(kCodeHelperObject, s.first.c_str());
    EXPECT_GE(e, 0) << s.first;
    if (e < 0) continue;
    EXPECT_TRUE(EqualsNoCase(EntryAt(e)->path, s.second.c_str())) << EntryAt(e)->path;
    EXPECT_TRUE(EqualsNoCase(EntryAt(e)->title, s.second.substr(s.second.rfind('\\') + 1).c_str()));
  }
  for (auto& s : servers) DeleteRegTree(HKEY_CLASSES_ROOT, ClassKey(s.first.c_str()).c_str());
}

TEST_F(HelpersTest, KnownListAndFirstDetectionDates) {
  ClearProductKeys();
  SeedAll();
  ResetKnownItems();
  char code[16];
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kKnownIEHelpersKey, "Related", code), 0u);
  EXPECT_STREQ(code, "902");
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kKnownIEHelpersKey, kUnknownClsid + 1, code), 0u);
  EXPECT_STREQ(code, "901");
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kKnownIEHelpersKey, "Helper Fixture", code), 0u);

  InitDetected();
  char program[MAX_PATH];
  ProgramOfCommand(dll_.c_str(), program);
  char date[kFirstDetectedCapacity];
  EXPECT_GT(GetFirstDetected(program, kCodeHelperObject, date), 0u) << program;
  EXPECT_GT(GetFirstDetected(program, kCodeExtension, date), 0u);
  ClearProductKeys();
}

}  // namespace

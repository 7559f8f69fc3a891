// The shared entry list under Wine: limits, title rules, long paths, the
// disabled index and location texts, against the prefix's real registry
// and files.
#include "startup/entries.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "startup/catalogue.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

const char kTitleA[] = "Entry Fixture Agent";
const char kTitleB[] = "Entry Fixture Other";

void ClearFixtureValues() {
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleA);
  DeleteRegValue(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleB);
}

class EntriesTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearEntries();
    ClearFixtureValues();
    SetSetting(kOptMaxCookie, 4096);
    SetProgramCaption("Tovrel");
  }
  void TearDown() override {
    ClearEntries();
    ClearFixtureValues();
    SetSetting(kOptMaxCookie, 4096);
  }
};

std::string Title(int i) {
  char t[kEntryTitleSlot];
  EntryTitle(i, t, sizeof t);
  return t;
}

std::string Path(int i) {
  char p[kEntryPathSlot];
  EntryPath(i, p, sizeof p);
  return p;
}

}  // namespace

TEST_F(EntriesTest, ListHoldsAtMost4096AndClearEmptiesIt) {
  for (int i = 0; i < kMaxEntries; ++i) ASSERT_EQ(AddEntry("t", "x", "", "", 1, i), 1) << i;
  EXPECT_EQ(AddEntry("t", "x", "", "", 1, 4096), 0);
  EXPECT_EQ(EntryCount(), 4096);
  EXPECT_EQ(EntryFlag(4095), 4095);
  EXPECT_EQ(EntryAt(4096), nullptr);
  ClearEntries();
  EXPECT_EQ(EntryCount(), 0);
  EXPECT_EQ(EntryAt(0), nullptr);
  EXPECT_EQ(AddEntry("t", "x", "", "", 1, 0), 1);
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(EntriesTest, OverLongFieldsRefuseTheEntry) {
  std::string t128(128, 'T'), t129(129, 'T');
  std::string p260(260, 'p'), p261(261, 'p');
  std::string x1024(1024, 'x'), x1025(1025, 'x');
  EXPECT_EQ(AddEntry(t129.c_str(), "C:\\a.exe", "", "", 1, 0), 0);
  EXPECT_EQ(AddEntry("t", p261.c_str(), "", "", 1, 0), 0);
  EXPECT_EQ(AddEntry("t", "C:\\a.exe", p261.c_str(), "", 1, 0), 0);
  EXPECT_EQ(AddEntry("t", "C:\\a.exe", "", x1025.c_str(), 1, 0), 0);
  EXPECT_EQ(EntryCount(), 0);

  // Texts that exactly reach their limits are stored cut by one character.
  ASSERT_EQ(AddEntry(t128.c_str(), p260.c_str(), p260.c_str(), x1024.c_str(), 7, 3), 1);
  const Entry* e = EntryAt(0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(std::string(e->title), std::string(127, 'T'));
  EXPECT_EQ(std::string(e->path), std::string(259, 'p'));
  EXPECT_EQ(std::string(e->source), std::string(259, 'p'));
  EXPECT_EQ(std::string(e->extra), std::string(1023, 'x'));
  EXPECT_EQ(EntryCode(0), 7);
  EXPECT_EQ(EntryFlag(0), 3);

  char small[8];
  EXPECT_EQ(EntryExtra(0, small, sizeof small), 7u);
  EXPECT_STREQ(small, "xxxxxxx");
  EXPECT_EQ(EntryExtra(5, small, sizeof small), 0u);
  EXPECT_STREQ(small, "");
}

TEST_F(EntriesTest, CookiesStopAtMaxCookie) {
  SetSetting(kOptMaxCookie, 2);
  EXPECT_EQ(AddEntry("a", "", "", "", kCodeCookie, 0), 1);
  EXPECT_EQ(AddEntry("b", "", "", "", kCodeCookie, 0), 1);
  EXPECT_EQ(AddEntry("c", "", "", "", kCodeCookie, 0), 0);
  // Other codes, the other cookie stores among them, are not limited by it.
  EXPECT_EQ(AddEntry("d", "", "", "", kCodeNetCookie, 0), 1);
  EXPECT_EQ(AddEntry("e", "", "", "", 1, 0), 1);
  EXPECT_EQ(EntryCount(), 4);
}

TEST_F(EntriesTest, TitleRules) {
  ASSERT_EQ(AddEntry("", "C:\\Tools\\agent.exe", "", "", 1, 0), 1);
  EXPECT_EQ(Title(0), "agent");
  ASSERT_EQ(AddEntry(nullptr, nullptr, nullptr, nullptr, 1, 0), 1);
  EXPECT_EQ(Title(1), "");

  // A title naming this program is shown under the caption, also in the
  // caller's own buffer.
  SetProgramCaption("Tovrel Explorer");
  char mine[kEntryTitleSlot] = "the tOvReL monitor";
  ASSERT_EQ(AddEntry(mine, "C:\\Tools\\mon.exe", "", "", 11, 0), 1);
  EXPECT_EQ(Title(2), "Tovrel Explorer");
  EXPECT_STREQ(mine, "Tovrel Explorer");
  // A small caller buffer receives the caption cut to fit.
  char tiny[8] = "Tovrel";
  ASSERT_EQ(AddEntry(tiny, "", "", "", 1, 0), 1);
  EXPECT_EQ(Title(3), "Tovrel Explorer");
  EXPECT_STREQ(tiny, "Tovrel ");
  // A constant title is replaced in the list only.
  ASSERT_EQ(AddEntry("Tovrel helper", "", "", "", 1, 0), 1);
  EXPECT_EQ(Title(4), "Tovrel Explorer");
  ASSERT_EQ(AddEntry("Tovre1", "", "", "", 1, 0), 1);
  EXPECT_EQ(Title(5), "Tovre1");
}

TEST_F(EntriesTest, PathLosesQuotesAndTakesItsLongForm) {
  ASSERT_EQ(AddEntry("q", "\"C:\\No Such\\prog.exe\" -x \"arg\"", "", "", 1, 0), 1);
  EXPECT_EQ(Path(0), "C:\\No Such\\prog.exe -x arg");
  ASSERT_EQ(AddEntry("q", "\"\"", "", "", 1, 0), 1);
  EXPECT_EQ(Path(1), "");

  char temp[MAX_PATH];
  ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
  std::string folder = std::string(temp) + "Entry Fixture Folder";
  std::string file = folder + "\\Long Program Name.exe";
  CreateDirectoryA(folder.c_str(), nullptr);
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  char shortForm[MAX_PATH], longForm[MAX_PATH];
  DWORD n = GetShortPathNameA(file.c_str(), shortForm, sizeof shortForm);
  ASSERT_GT(n, 0u);
  ASSERT_GT(GetLongPathNameA(file.c_str(), longForm, sizeof longForm), 0u);
  if (std::string(shortForm) == longForm) {
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    GTEST_SKIP() << "Wine made no 8.3 name for the fixture file";
  }
  std::string quoted = std::string("\"") + shortForm + "\"";
  ASSERT_EQ(AddEntry("", quoted.c_str(), shortForm, "", 200, 0), 1);
  EXPECT_EQ(Path(2), longForm);
  EXPECT_STREQ(EntryAt(2)->source, longForm);
  EXPECT_EQ(Title(2), "Long Program Name");
  // With arguments the conversion fails and the command stays as it is.
  std::string withArgs = std::string(shortForm) + " /s";
  ASSERT_EQ(AddEntry("a", withArgs.c_str(), "{0000}", "", 1, 0), 1);
  EXPECT_EQ(Path(3), withArgs);
  EXPECT_STREQ(EntryAt(3)->source, "{0000}");
  // A path shorter than four characters leaves the source as given.
  ASSERT_EQ(AddEntry("b", "C:", shortForm, "", 1, 0), 1);
  EXPECT_STREQ(EntryAt(4)->source, shortForm);
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(EntriesTest, DisabledIndexIsReadByTitle) {
  ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", 1, 0), 1);
  ASSERT_EQ(AddEntry(kTitleA, "C:\\b.exe", "", "", 11, 0), 1);
  ASSERT_EQ(AddEntry(kTitleB, "C:\\c.exe", "", "", 1, 0), 1);
  EXPECT_EQ(IsEntryDisabled(0), 0);
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleA, "11"));
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleB, "words"));
  // Both entries of the title read as disabled.
  EXPECT_EQ(IsEntryDisabled(0), 11);
  EXPECT_EQ(IsEntryDisabled(1), 11);
  EXPECT_EQ(IsEntryDisabled(2), 0);
  EXPECT_EQ(IsEntryDisabled(3), 0);
  EXPECT_EQ(IsEntryDisabled(-1), 0);
  // A value too long for the 32-character reading counts as absent.
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleB, std::string(40, '7').c_str()));
  EXPECT_EQ(IsEntryDisabled(2), 0);
}

TEST_F(EntriesTest, LocationTexts) {
  // The location texts come from the program's string table.
  std::string exe = testsupport::BinPath("TovrelEx.exe");
  HMODULE strings = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(strings, nullptr);
  SetProgramInstance(strings);

  char text[kLocationTextCapacity];
  for (int row = 0; row < LocationCount(); ++row) {
    const LocationInfo& info = LocationAt(row);
    ASSERT_EQ(AddEntry(kTitleB, "C:\\a.exe", "", "", info.code, 0), 1);
    int i = EntryCount() - 1;
    EXPECT_EQ(LocationText(i, text), strlen(info.text));
    EXPECT_STREQ(text, info.text) << info.code;
  }
  ASSERT_EQ(AddEntry(kTitleB, "C:\\a.exe", "", "", 5, 0), 1);
  EXPECT_STREQ((LocationText(EntryCount() - 1, text), text),
               "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce");
  ASSERT_EQ(AddEntry(kTitleB, "C:\\a.exe", "", "", 22, 0), 1);
  EXPECT_STREQ((LocationText(EntryCount() - 1, text), text),
               "HKEY_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");

  struct { int code; const char* text; } others[] = {
      {800, "Windows Task Scheduler"},
      {900, "Internet Explorer - Browser Helper Object"},
      {901, "Internet Explorer - Toolbar Add-On Extension"},
      {902, ""}, {600, ""}, {500, ""}, {257, ""}, {6, ""}, {31, ""}, {0, ""}};
  for (auto& o : others) {
    ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", o.code, 0), 1);
    EXPECT_EQ(LocationText(EntryCount() - 1, text), strlen(o.text));
    EXPECT_STREQ(text, o.text) << o.code;
  }

  // Disabled entries carry the marker before the location; other families'
  // texts do not.
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, kTitleA, "1"));
  ClearEntries();
  ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", 1, 0), 1);
  ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", 200, 0), 1);
  ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", 31, 0), 1);
  ASSERT_EQ(AddEntry(kTitleA, "C:\\a.exe", "", "", 800, 0), 1);
  LocationText(0, text);
  EXPECT_STREQ(text, " *    Disabled * HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  LocationText(1, text);
  EXPECT_STREQ(text, " *    Disabled * Windows Startup Group");
  LocationText(2, text);
  EXPECT_STREQ(text, " *    Disabled * ");
  LocationText(3, text);
  EXPECT_STREQ(text, "Windows Task Scheduler");
  char small[6];
  EXPECT_EQ(LocationText(0, small), 5u);
  EXPECT_STREQ(small, " *   ");
  EXPECT_EQ(LocationText(99, text), 0u);
  EXPECT_STREQ(text, "");

  SetProgramInstance(nullptr);
  FreeLibrary(strings);
}

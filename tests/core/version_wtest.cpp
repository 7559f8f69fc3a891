// Version strings read from fixture libraries built with the tests, and
// class servers looked up in the prefix's registry.
#include "core/version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

std::string Fixture(const char* name) { return testsupport::BinPath(name); }

void ExpectEmpty(const VersionStrings& v) {
  EXPECT_STREQ(v.productName, "");
  EXPECT_STREQ(v.productVersion, "");
  EXPECT_STREQ(v.companyName, "");
  EXPECT_STREQ(v.fileDescription, "");
  EXPECT_STREQ(v.legalCopyright, "");
}

const char kClsid[] = "{0E5C1D2A-7A11-4C4B-9F3E-5EA1F1C7E001}";
const char kClassKey[] = "CLSID\\{0E5C1D2A-7A11-4C4B-9F3E-5EA1F1C7E001}";

void ClearClass() { DeleteRegTree(HKEY_CLASSES_ROOT, kClassKey); }

}  // namespace

TEST(VersionStrings, FilesWithoutUsableResourceGiveNothing) {
  VersionStrings v;
  memset(&v, 'z', sizeof v);
  EXPECT_FALSE(ReadVersionStrings(Fixture("ver_none.dll").c_str(), &v));
  ExpectEmpty(v);
  memset(&v, 'z', sizeof v);
  EXPECT_FALSE(ReadVersionStrings(Fixture("no_such_file.dll").c_str(), &v));
  ExpectEmpty(v);
  EXPECT_FALSE(ReadVersionStrings("", &v));
  ExpectEmpty(v);

  // A complete resource of 4096 bytes or more is not read at all.
  std::string big = Fixture("ver_big.dll");
  DWORD handle = 0;
  ASSERT_GE(GetFileVersionInfoSizeA(big.c_str(), &handle), kVersionInfoLimit);
  memset(&v, 'z', sizeof v);
  EXPECT_FALSE(ReadVersionStrings(big.c_str(), &v));
  ExpectEmpty(v);
}

TEST(VersionStrings, TranslationWithoutProductNameIsPassedOver) {
  VersionStrings v;
  std::string file = Fixture("ver_two_translations.dll");
  DWORD handle = 0;
  ASSERT_LT(GetFileVersionInfoSizeA(file.c_str(), &handle), kVersionInfoLimit);
  EXPECT_TRUE(ReadVersionStrings(file.c_str(), &v));
  EXPECT_STREQ(v.productName, "Fixture Agent");
  EXPECT_STREQ(v.productVersion, "1.2.3.4");
  EXPECT_STREQ(v.companyName, "Brenvik Fixtures");
  EXPECT_STREQ(v.fileDescription, "Fixture with two translations");
  EXPECT_STREQ(v.legalCopyright, "Copyright Brenvik Fixtures");
}

TEST(VersionStrings, LastProductNameWinsAndOperatingSystemGivesWay) {
  VersionStrings v;
  EXPECT_TRUE(ReadVersionStrings(Fixture("ver_os.dll").c_str(), &v));
  // The second translation wins; its product name names the operating system.
  EXPECT_STREQ(v.productName, "Fixture Shell Helper");
  EXPECT_STREQ(v.fileDescription, "Fixture Shell Helper");
  EXPECT_STREQ(v.companyName, "Second Company");
  EXPECT_STREQ(v.productVersion, "5.1.2600");
  // Longer than a field holds: empty rather than cut.
  EXPECT_STREQ(v.legalCopyright, "");
}

TEST(ClassServer, WithAndWithoutBraces) {
  ClearClass();
  ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, kClassKey, "", "Fixture Class"));
  std::string serverKey = std::string(kClassKey) + "\\InprocServer32";
  ASSERT_TRUE(CreateRegKey(HKEY_CLASSES_ROOT, serverKey.c_str()));
  HKEY k;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_SET_VALUE, &k),
            ERROR_SUCCESS);
  const char expandable[] = "%SystemRoot%\\fixture\\server.dll";
  RegSetValueExA(k, "", 0, REG_EXPAND_SZ, (const BYTE*)expandable, sizeof expandable);
  RegCloseKey(k);
  char windows[MAX_PATH];
  ExpandEnvironmentStringsA("%SystemRoot%", windows, sizeof windows);
  std::string expected = std::string(windows) + "\\fixture\\server.dll";

  char name[kClassTextCapacity], server[kClassTextCapacity];
  EXPECT_TRUE(LookupClassServer(kClsid, name, server));
  EXPECT_STREQ(name, "Fixture Class");
  EXPECT_EQ(std::string(server), expected);

  std::string bare(kClsid + 1, strlen(kClsid) - 2);
  memset(name, 'z', sizeof name);
  memset(server, 'z', sizeof server);
  EXPECT_TRUE(LookupClassServer(bare.c_str(), name, server));
  EXPECT_STREQ(name, "Fixture Class");
  EXPECT_EQ(std::string(server), expected);

  // A class without a server gives its name only.
  DeleteRegTree(HKEY_CLASSES_ROOT, serverKey.c_str());
  EXPECT_TRUE(LookupClassServer(kClsid, name, server));
  EXPECT_STREQ(name, "Fixture Class");
  EXPECT_STREQ(server, "");
  ClearClass();
}

TEST(ClassServer, UnregisteredGivesEmptyTexts) {
  ClearClass();
  char name[kClassTextCapacity], server[kClassTextCapacity];
  memset(name, 'z', sizeof name);
  memset(server, 'z', sizeof server);
  EXPECT_TRUE(LookupClassServer(kClsid, name, server));
  EXPECT_STREQ(name, "");
  EXPECT_STREQ(server, "");
  std::string huge(400, 'A');
  EXPECT_TRUE(LookupClassServer(huge.c_str(), name, server));
  EXPECT_STREQ(name, "");
  EXPECT_TRUE(LookupClassServer(nullptr, name, server));
  EXPECT_STREQ(server, "");
}

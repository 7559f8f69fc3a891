// Registry helpers, options and WIN.INI editing against the real registry
// of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "core/settings.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

const char kTestKey[] = "Software\\Brenvik\\TovrelTest";

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::ClearProductKeys(); }
  void TearDown() override { testsupport::ClearProductKeys(); }

  static void PutValue(const char* name, DWORD type, const std::string& data) {
    ASSERT_TRUE(testsupport::WriteValue(HKEY_CURRENT_USER, kTestKey, name, testsupport::TextValue(data, type)));
  }
};

TEST_F(RegistryTest, ReadsTextAndExpandsEnvironmentReferences) {
  SetEnvironmentVariableA("TOVREL_TEST_DIR", "C:\\Tools");
  PutValue("plain", REG_SZ, "%TOVREL_TEST_DIR%\\a.exe");
  PutValue("expand", REG_EXPAND_SZ, "%TOVREL_TEST_DIR%\\a.exe");
  char out[64];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "plain", out), 23u);
  EXPECT_STREQ(out, "%TOVREL_TEST_DIR%\\a.exe");
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "expand", out), 14u);
  EXPECT_STREQ(out, "C:\\Tools\\a.exe");
}

TEST_F(RegistryTest, CapacityEdgeAndMissingValues) {
  PutValue("nine", REG_SZ, "123456789");
  char ten[10], nine[9];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "nine", ten), 9u);  // capacity - 1 fits
  EXPECT_STREQ(ten, "123456789");
  nine[0] = 'x';
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "nine", nine), 0u);  // one more: empty
  EXPECT_STREQ(nine, "");
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "missing", ten), 0u);
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\NoSuchKey", "x", ten), 0u);
  // Values longer than the 1023-character query are not read at all.
  PutValue("long", REG_SZ, std::string(1023, 'a'));
  PutValue("toolong", REG_SZ, std::string(1024, 'a'));
  char big[2048];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "long", big), 1023u);
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "toolong", big), 0u);
  // A number is not text.
  DWORD v = 5;
  HKEY k;
  RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &k);
  RegSetValueExA(k, "dword", 0, REG_DWORD, (const BYTE*)&v, 4);
  // A string stored without its terminator still reads terminated.
  RegSetValueExA(k, "unterminated", 0, REG_SZ, (const BYTE*)"abcdef", 3);
  RegCloseKey(k);
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "dword", big), 0u);
  // Windows 98 measures REG_SZ data itself and stores the whole text.
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "unterminated", big),
            testsupport::IsNtFamily() ? 3u : 6u);
  EXPECT_STREQ(big, testsupport::IsNtFamily() ? "abc" : "abcdef");
}

TEST_F(RegistryTest, WritersCreateKeysAndDeleteValues) {
  const char key[] = "Software\\Brenvik\\TovrelTest\\A\\B";
  EXPECT_TRUE(SetRegString(HKEY_CURRENT_USER, key, "text", "hello"));
  EXPECT_TRUE(SetRegDword(HKEY_CURRENT_USER, key, "number", 42));
  char out[16];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, key, "text", out), 5u);
  DWORD type = 0, v = 0, size = 4;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "number", RRF_RT_ANY, &type, &v, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, (DWORD)REG_DWORD);
  EXPECT_EQ(v, 42u);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, key, "text"));
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, key, "text"));
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, "Software\\Brenvik\\Nope", "text"));
  EXPECT_TRUE(CreateRegKey(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\C"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\C"));
}

TEST_F(RegistryTest, DeleteRegTreeRemovesNestedKeys) {
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay\\1\\x\\y", "v", "1");
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay\\2", "v", "1");
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay", "v", "1");
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Keep", "v", "1");
  EXPECT_TRUE(DeleteRegTree(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay"));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Keep"));
  // A key that is not there counts as deleted.
  EXPECT_TRUE(DeleteRegTree(HKEY_CURRENT_USER, "Software\\Brenvik\\TovrelTest\\Delay"));
  // A path longer than the work buffer is refused rather than cut.
  EXPECT_FALSE(DeleteRegTree(HKEY_CURRENT_USER, std::string(600, 'k').c_str()));
}

TEST_F(RegistryTest, OptionsParseAndWrite) {
  EXPECT_EQ(GetOption("Start", 2), 2);  // no key yet
  SetOption("Start", 5);
  char out[16];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kOptionsKey, "Start", out), 1u);
  EXPECT_STREQ(out, "5");
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kOptionsKey, "Update", out), 1u);
  EXPECT_STREQ(out, "1");
  EXPECT_EQ(GetOption("start", 2), 5);  // names ignore case

  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Tasks", "abc");
  EXPECT_EQ(GetOption("Tasks", 11), 0);  // text without digits is 0
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Tasks", "");
  EXPECT_EQ(GetOption("Tasks", 11), 11);  // empty is the default
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Tasks", "12minutes");
  EXPECT_EQ(GetOption("Tasks", 11), 12);
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Tasks", "99999999999999999999");
  EXPECT_EQ(GetOption("Tasks", 11), 2147483647);
}

TEST_F(RegistryTest, LoadAndSaveOptionsRoundTrip) {
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "MaxCookie", "10");
  LoadOptions();
  EXPECT_EQ(Setting(kOptSound), 0);
  EXPECT_EQ(Setting(kOptMaxCookie), 10);
  EXPECT_EQ(Setting(kOptServices), 7);
  SetSetting(kOptServices, 9);
  EXPECT_EQ(SettingAtLoad(kOptServices), 7);
  DeleteRegValue(HKEY_CURRENT_USER, kOptionsKey, "MaxCookie");
  SaveOptions();
  char out[16];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kOptionsKey, "Services", out), 1u);
  EXPECT_STREQ(out, "9");
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kOptionsKey, "MaxCookie", out), 0u);
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kOptionsKey, "RealtimeHidden", out), 1u);
  EXPECT_STREQ(out, "0");
}

TEST(WinIni, RemoveAndAppendItems) {
  WriteProfileStringA("windows", "run", "a.exe;b.exe;c.exe");
  RemoveWinIniItem("run", "B.EXE");
  char out[512];
  GetProfileStringA("windows", "run", "", out, sizeof out);
  EXPECT_STREQ(out, "a.exe;c.exe;");

  WriteProfileStringA("windows", "load", "");
  AppendWinIniItem("load", "x.exe");
  GetProfileStringA("windows", "load", "", out, sizeof out);
  EXPECT_STREQ(out, ";x.exe");

  // A read-only win.ini is made writable for the edit.
  char path[MAX_PATH];
  GetWindowsDirectoryA(path, sizeof path);
  lstrcatA(path, "\\win.ini");
  DWORD attrs = GetFileAttributesA(path);
  SetFileAttributesA(path, attrs | FILE_ATTRIBUTE_READONLY);
  RemoveWinIniItem("load", "x.exe");
  GetProfileStringA("windows", "load", "", out, sizeof out);
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY);
  WriteProfileStringA("windows", "run", nullptr);
  WriteProfileStringA("windows", "load", nullptr);
}

TEST(WinIni, ListsTooLongToReadWholeAreLeftAlone) {
  std::string list;
  for (int i = 0; list.size() < 600; ++i) list += "C:\\Programs\\prog" + std::to_string(i) + ".exe;";
  WriteProfileStringA("windows", "run", list.c_str());
  RemoveWinIniItem("run", "C:\\Programs\\prog0.exe");
  std::string big(2048, 0);
  big.resize(GetProfileStringA("windows", "run", "", &big[0], 2048));
  EXPECT_EQ(big, list);  // nothing past the read limit is lost
  std::string longer = list + list;
  WriteProfileStringA("windows", "run", longer.c_str());
  AppendWinIniItem("run", "x.exe");
  std::string back(4096, 0);
  back.resize(GetProfileStringA("windows", "run", "", &back[0], 4096));
  EXPECT_EQ(back, longer);
  WriteProfileStringA("windows", "run", nullptr);
}

}  // namespace

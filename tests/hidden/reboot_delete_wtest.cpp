// Delete at restart, end to end: the request is made, and Wine's restart
// (wineboot -r) carries it out, in the NT family through the pending file
// operations and in the 9x family through wininit.ini.
#include "hidden/reboot_delete.h"

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "tests/support/file_fixtures.h"

using namespace tov;
using namespace testsupport;

namespace {

constexpr char kSessionKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";

std::string Pending() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char data[8192];
  DWORD size = sizeof data;
  std::string out;
  if (RegQueryValueExA(key, kPendingValue, nullptr, nullptr, (BYTE*)data, &size) == ERROR_SUCCESS)
    out.assign(data, size);
  RegCloseKey(key);
  return out;
}

std::string WininitPath() { return WindowsFolder() + "\\wininit.ini"; }

std::string ShortPath(const std::string& path) {
  char s[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), s, sizeof s);
  return n ? std::string(s, n) : "";
}

// Wine's restart: pending renames, wininit.ini, RunOnce. The RunOnce keys
// are emptied first so that nothing else runs.
void RestartWindows() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    for (const char* key : {"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                            "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"})
      DeleteRegTree(root, key);
  HANDLE boot = StartProgram(SystemFolder() + "\\wineboot.exe", "-r");
  ASSERT_NE(boot, nullptr);
  EXPECT_GE(WaitExit(boot, 120000), 0);
  CloseHandle(boot);
}

class RebootDelete : public testing::Test {
 protected:
  void TearDown() override {
    DeleteFileA(WininitPath().c_str());
    DeleteFileA((WindowsFolder() + "\\wininit.bak").c_str());
  }
  ScratchFolder folder_{TempFolder() + "\\tovboot"};
};

}  // namespace

TEST_F(RebootDelete, RequestIsCarriedOutAtRestartKeepingWhatWasPending) {
  std::string earlier = folder_ / "earlier.dat", victim = folder_ / "a long victim name.dat";
  ASSERT_TRUE(WriteBytes(earlier, "e"));
  ASSERT_TRUE(WriteBytes(victim, "v"));
  SetFileAttributesA(victim.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  std::string before;
  std::string ini = "; another program's commands\r\n[rename]\r\nNUL=" + ShortPath(earlier) +
                    "\r\n[other]\r\nkey=value\r\n";
  if (IsNtFamily()) {
    ASSERT_TRUE(MoveFileExA(earlier.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    before = Pending();
  } else {
    ASSERT_TRUE(WriteBytes(WininitPath(), ini));
  }

  DWORD error = 0;
  ASSERT_TRUE(DeleteFileOnReboot(victim.c_str(), &error)) << error;
  EXPECT_EQ(Attributes(victim) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  if (IsNtFamily()) {
    std::string after = Pending();
    EXPECT_EQ(after.substr(0, before.size() - 1), before.substr(0, before.size() - 1));
    EXPECT_NE(after.find(victim), std::string::npos);
  } else {
    std::string expected = "; another program's commands\r\n[rename]\r\nNUL=" + ShortPath(earlier) +
                           "\r\nNUL=" + ShortPath(victim) + "\r\n[other]\r\nkey=value\r\n";
    EXPECT_EQ(ReadWholeFile(WininitPath()), expected);
  }
  EXPECT_TRUE(PathExists(victim));

  RestartWindows();
  EXPECT_FALSE(PathExists(victim));
  EXPECT_FALSE(PathExists(earlier));
  if (!IsNtFamily()) {
    EXPECT_FALSE(PathExists(WininitPath()));
  }
}

TEST_F(RebootDelete, AFreshRestartFileGetsItsHeader) {
  if (IsNtFamily()) {
    GTEST_SKIP() << "the restart file belongs to the 9x family";
  }
  std::string victim = folder_ / "fresh.dat";
  ASSERT_TRUE(WriteBytes(victim, "f"));
  ASSERT_TRUE(DeleteFileOnReboot(victim.c_str()));
  EXPECT_EQ(ReadWholeFile(WininitPath()), "[rename]\r\nNUL=" + ShortPath(victim) + "\r\n");
}

TEST_F(RebootDelete, OnlyAnExistingFileIsAccepted) {
  std::string ini = "[rename]\r\n";
  if (!IsNtFamily()) {
    ASSERT_TRUE(WriteBytes(WininitPath(), ini));
  }
  std::string before = Pending();
  std::string program = folder_ / "prog.exe";
  ASSERT_TRUE(WriteBytes(program, "p"));
  struct Row {
    std::string path;
    DWORD error;
  } rows[] = {
      {folder_ / "missing.exe", ERROR_FILE_NOT_FOUND},
      {"\"" + program + "\" -minimized", ERROR_FILE_NOT_FOUND},  // a command, not a file
      {"", ERROR_FILE_NOT_FOUND},
      {folder_.path(), ERROR_ACCESS_DENIED},
  };
  for (const Row& row : rows) {
    DWORD error = 0;
    EXPECT_FALSE(DeleteFileOnReboot(row.path.c_str(), &error)) << row.path;
    EXPECT_EQ(error, row.error) << row.path;
  }
  EXPECT_FALSE(DeleteFileOnReboot(nullptr));
  EXPECT_EQ(Pending(), before);
  if (!IsNtFamily()) {
    EXPECT_EQ(ReadWholeFile(WininitPath()), ini);
  }
}

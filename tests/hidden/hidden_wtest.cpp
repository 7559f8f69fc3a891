// The hidden-file scan, last-write texts, unhiding and the vault under
// Wine, against real files of the throwaway prefix.
#include "hidden/hidden_files.h"

#include <gtest/gtest.h>

#include <string>

#include "core/entries.h"
#include "core/files.h"
#include "core/history.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "hidden/vault.h"
#include "tests/support/file_fixtures.h"

using namespace tov;
using namespace testsupport;

namespace {

constexpr DWORD kHiddenSystemReadOnly =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

bool MakeFile(const std::string& path, const std::string& bytes, DWORD attributes) {
  return WriteBytes(path, bytes) && SetFileAttributesA(path.c_str(), attributes);
}

// Index of the scanned entry of that path, -1 when not listed.
int ScannedIndex(const std::string& path) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EqualsNoCase(EntryAt(i)->path, path.c_str())) return i;
  return -1;
}

std::string History() {
  char path[MAX_PATH];
  HistoryFilePath(path, sizeof path);
  return ReadWholeFile(path);
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

bool Known(const std::string& path) {
  char date[64];
  return GetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, path.c_str(), date) > 0;
}

class HiddenFiles : public testing::Test {
 protected:
  void SetUp() override {
    if (!KeepsAttributes(temp_.path()))
      GTEST_SKIP() << "this file system keeps no file attributes";
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
  }
  void TearDown() override {
    ClearEntries();
    ClearHistoryFile();
    DeleteRegTree(HKEY_CURRENT_USER, kHiddenBaselineKey);
  }
  ScratchFolder temp_{TempFolder() + "\\tovhid"};
  ScratchFolder system_{SystemFolder() + "\\tovhid"};
};

}  // namespace

TEST_F(HiddenFiles, ScanListsHiddenFilesAtEachFolderDepth) {
  CreateDirectoryA((temp_ / "deeper").c_str(), nullptr);
  CreateDirectoryA((temp_ / "cloak").c_str(), nullptr);
  SetFileAttributesA((temp_ / "cloak").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  std::string longName(150, 'L');
  struct Row {
    std::string path;
    DWORD attributes;
    int listedFlag;  // -1: not listed
  } rows[] = {
      {temp_ / "plain.dat", FILE_ATTRIBUTE_HIDDEN, 0},
      {temp_ / "sys.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 1},
      {temp_ / "shown.dat", FILE_ATTRIBUTE_NORMAL, -1},
      {temp_ / "deeper\\nested.dat", FILE_ATTRIBUTE_HIDDEN, -1},  // two levels below temp
      {temp_ / (longName + ".dat"), FILE_ATTRIBUTE_HIDDEN, 0},
      {system_ / "insys.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, 0},
      {WindowsFolder() + "\\tovhid_win.dat", FILE_ATTRIBUTE_HIDDEN, 0},
      {"C:\\tovhid_root.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 1},
  };
  for (const Row& row : rows) ASSERT_TRUE(MakeFile(row.path, "bytes", row.attributes)) << row.path;

  int count = ScanHiddenFiles();
  EXPECT_EQ(count, EntryCount());
  for (const Row& row : rows) {
    int i = ScannedIndex(row.path);
    if (row.listedFlag < 0) {
      EXPECT_EQ(i, -1) << row.path;
      continue;
    }
    ASSERT_GE(i, 0) << row.path;
    EXPECT_EQ(EntryAt(i)->code, 370);
    EXPECT_EQ(EntryAt(i)->flag, row.listedFlag) << row.path;
    EXPECT_TRUE(EqualsNoCase(EntryAt(i)->source, row.path.c_str()));
  }
  EXPECT_EQ(ScannedIndex(temp_ / "cloak"), -1);  // a hidden folder is no entry

  // A long path is dated like any other.
  char date[64], size[32];
  EXPECT_GT(LastWrittenText((temp_ / (longName + ".dat")).c_str(), date, sizeof date, size,
                            sizeof size),
            0u);
  EXPECT_STREQ(size, "5");

  // Unhide clears hidden, system and read-only; the file drops off the list.
  ASSERT_TRUE(UnhideFile((system_ / "insys.dat").c_str()));
  EXPECT_EQ(Attributes(system_ / "insys.dat") & kHiddenSystemReadOnly, 0u);
  ScanHiddenFiles();
  EXPECT_EQ(ScannedIndex(system_ / "insys.dat"), -1);
  EXPECT_GE(ScannedIndex(temp_ / "plain.dat"), 0);
  EXPECT_FALSE(UnhideFile((temp_ / "missing.dat").c_str()));

  for (const char* extra : {"C:\\tovhid_root.dat"}) {
    SetFileAttributesA(extra, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(extra);
  }
  std::string win = WindowsFolder() + "\\tovhid_win.dat";
  SetFileAttributesA(win.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(win.c_str());
}

TEST_F(HiddenFiles, AFileHeldWithoutSharingIsInUse) {
  std::string path = temp_ / "held.dat";
  ASSERT_TRUE(MakeFile(path, "12345678", FILE_ATTRIBUTE_HIDDEN));
  char date[64], size[32];
  EXPECT_GT(LastWrittenText(path.c_str(), date, sizeof date, size, sizeof size), 0u);
  EXPECT_STREQ(size, "8");
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(LastWrittenText(path.c_str(), date, sizeof date, size, sizeof size), 0u);
  EXPECT_STREQ(date, "");
  CloseHandle(held);
  EXPECT_EQ(LastWrittenText((temp_ / "none.dat").c_str(), date, sizeof date, size, sizeof size), 0u);
}

TEST_F(HiddenFiles, VaultRoundTripIsByteAttributeAndTimeExact) {
  std::string path = temp_ / "agent.dll";
  std::string bytes("MZ\0\x01\xff known bytes\r\n", 19);
  ASSERT_TRUE(WriteBytes(path, bytes));
  SYSTEMTIME leap{2024, 2, 4, 29, 12, 34, 56, 789};
  ASSERT_TRUE(SetLastWrite(path, leap));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), kHiddenSystemReadOnly));
  ULONGLONG written = LastWrite(path);
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, path.c_str(), "known");

  ASSERT_NE(MoveToVault("Agent", path.c_str()), 0);
  EXPECT_FALSE(PathExists(path));
  EXPECT_FALSE(Known(path));
  std::string history = History();
  EXPECT_EQ(CountOf(history, "\t*HIDDEN_DeleteFile\tTYPE_HIDDEN\tAgent\t" + path + "\t\r\n"), 1)
      << history;
  char copy[MAX_PATH];
  ASSERT_TRUE(VaultCopyPath(path.c_str(), copy, sizeof copy));
  EXPECT_EQ(ReadWholeFile(copy), bytes);

  // The History window's undo of that line puts the file back.
  ASSERT_EQ(LoadHistory(), 1);
  EXPECT_EQ(EntryFlag(0), kActionHiddenDeleteFile);
  ASSERT_TRUE(CanRestoreHistoryEvent(0));
  RestoreHistoryEvent(nullptr, 0);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  EXPECT_EQ(Attributes(path) & kHiddenSystemReadOnly, kHiddenSystemReadOnly);
  EXPECT_EQ(LastWrite(path), written);
  EXPECT_TRUE(Known(path));
  EXPECT_FALSE(PathExists(copy));
  // The same history line a second time: nothing left to restore.
  EXPECT_FALSE(CanRestoreHistoryEvent(0));
  EXPECT_FALSE(RestoreFromVault(path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), bytes);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(HiddenFiles, TwoFilesOfOneNameEachComeBackWithTheirOwnBytes) {
  CreateDirectoryA((temp_ / "a").c_str(), nullptr);
  CreateDirectoryA((temp_ / "b").c_str(), nullptr);
  std::string first = temp_ / "a\\same.dat", second = temp_ / "b\\same.dat";
  ASSERT_TRUE(MakeFile(first, "first", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(MakeFile(second, "second one", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_NE(MoveToVault("", first.c_str()), 0);
  ASSERT_NE(MoveToVault("", second.c_str()), 0);
  ASSERT_TRUE(RestoreFromVault(first.c_str()));
  ASSERT_TRUE(RestoreFromVault(second.c_str()));
  EXPECT_EQ(ReadWholeFile(first), "first");
  EXPECT_EQ(ReadWholeFile(second), "second one");
}

TEST_F(HiddenFiles, AFailedCopyLeavesTheOriginalAndWritesNothing) {
  std::string path = temp_ / "stays.dat";
  ASSERT_TRUE(MakeFile(path, "stays", kHiddenSystemReadOnly));
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, path.c_str(), "known");
  // A folder where the copy would go: the copy cannot be made.
  char copy[MAX_PATH];
  ASSERT_TRUE(VaultCopyPath(path.c_str(), copy, sizeof copy));
  std::string copyFolder = std::string(copy).substr(0, std::string(copy).rfind('\\'));
  CreateDirectoryA(copyFolder.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(copy, nullptr));

  DWORD error = 0;
  EXPECT_EQ(MoveToVault("Stays", path.c_str(), &error), 0);
  EXPECT_NE(error, 0u);
  EXPECT_EQ(ReadWholeFile(path), "stays");
  EXPECT_EQ(Attributes(path) & kHiddenSystemReadOnly, kHiddenSystemReadOnly);
  EXPECT_TRUE(Known(path));
  EXPECT_EQ(History().find("HIDDEN_DeleteFile"), std::string::npos);
  RemoveFolderTree(copyFolder);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(HiddenFiles, RestoreNeverReplacesAFileAndFallsBackToOlderCopies) {
  std::string path = temp_ / "back.dat";
  ASSERT_TRUE(MakeFile(path, "old bytes", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_NE(MoveToVault("", path.c_str()), 0);
  ASSERT_TRUE(WriteBytes(path, "newer"));
  EXPECT_FALSE(RestoreFromVault(path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), "newer");
  char copy[MAX_PATH];
  ASSERT_TRUE(VaultCopyPath(path.c_str(), copy, sizeof copy));
  EXPECT_EQ(ReadWholeFile(copy), "old bytes");  // kept for a later try
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  ASSERT_TRUE(RestoreFromVault(path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), "old bytes");

  // A copy kept under its plain name by an earlier version comes back hidden.
  char data[MAX_PATH];
  ASSERT_TRUE(DataFolder(data));
  std::string plain = std::string(data) + "\\vault\\plainold.dat";
  ASSERT_TRUE(WriteBytes(plain, "plain"));
  std::string target = temp_ / "plainold.dat";
  ASSERT_TRUE(RestoreFromVault(target.c_str()));
  EXPECT_EQ(ReadWholeFile(target), "plain");
  EXPECT_NE(Attributes(target) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_FALSE(PathExists(plain));
}

TEST_F(HiddenFiles, BaselineIsWrittenOncePerProfile) {
  std::string path = temp_ / "base.dat";
  ASSERT_TRUE(MakeFile(path, "b", FILE_ATTRIBUTE_HIDDEN));
  DeleteRegTree(HKEY_CURRENT_USER, kHiddenBaselineKey);
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, "", "old");
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, "C:\\stale.dat", "x");
  InitHiddenBaseline();
  char mark[8];
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, "", mark), 0u);
  EXPECT_STREQ(mark, "P");
  EXPECT_TRUE(Known(path));
  EXPECT_FALSE(Known("C:\\stale.dat"));
  std::string later = temp_ / "later.dat";
  ASSERT_TRUE(MakeFile(later, "l", FILE_ATTRIBUTE_HIDDEN));
  InitHiddenBaseline();
  EXPECT_FALSE(Known(later));
  ClearProductKeys();  // the known startup lists written with it
}

// The Hidden Files page driven through its window: rows, "File in Use",
// Unhide and Delete into the vault.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "hidden/vault.h"
#include "tests/support/dialogs.h"
#include "tests/support/file_fixtures.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"

using namespace testsupport;

namespace {

constexpr int kUnhideButton = 1185;
constexpr int kDeleteCommand = 1184;
constexpr int kRebootCommand = 1144;
constexpr char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";

}  // namespace

TEST(HiddenPage, ListsUnhidesAndDeletesIntoTheVault) {
  ScratchFolder folder(TempFolder() + "\\tovpage_" + Family());
  if (!KeepsAttributes(folder.path())) GTEST_SKIP() << "this file system keeps no file attributes";
  EndAllInstances();
  ClearProductKeys();
  SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
  const std::string plain = folder / "plain.dat", sys = folder / "sys.dat", held = folder / "held.dat";
  ASSERT_TRUE(WriteBytes(plain, "plain"));
  ASSERT_TRUE(WriteBytes(sys, "system"));
  ASSERT_TRUE(WriteBytes(held, "held"));
  SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(sys.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA(held.c_str(), FILE_ATTRIBUTE_HIDDEN);
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

  RunningProgram program;
  ASSERT_TRUE(program.Open("-HIDDEN"));
  HWND list = program.list();
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "sys.dat") >= 0; }, 20000))
      << TabText(program.sheet(), CurrentTab(program.sheet())) << " rows " << RowCount(list);
  int row = FindRow(list, "sys.dat");
  EXPECT_TRUE(tov::EqualsNoCase(CellText(list, row, 1).c_str(), folder.path().c_str()));
  EXPECT_EQ(CellText(list, row, 4), "SYSTEM");
  EXPECT_EQ(CellText(list, FindRow(list, "plain.dat"), 4), "");
  EXPECT_EQ(CellText(list, FindRow(list, "held.dat"), 3), "File in Use");
  EXPECT_NE(CellText(list, row, 3), "File in Use");
  CloseHandle(holder);

  // Unhide: hidden, system and read-only go; the row goes on the refill.
  SelectRows(list, {FindRow(list, "plain.dat")});
  Press(program.page(), kUnhideButton);
  EXPECT_TRUE(WaitFor([&] { return FindRow(list, "plain.dat") < 0; }, 20000));
  EXPECT_EQ(GetFileAttributesA(plain.c_str()) &
                (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
            0u);

  // Delete at restart answered No: nothing changes.
  SelectRows(list, {FindRow(list, "sys.dat")});
  Press(program.page(), kRebootCommand);
  EXPECT_NE(AnswerMessageBox(program.main(), IDNO).find("reboot"), std::string::npos);
  EXPECT_TRUE(Settle(program.page()));
  EXPECT_NE(GetFileAttributesA(sys.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);

  // Delete answered Yes: the file goes into the vault.
  SelectRows(list, {FindRow(list, "sys.dat")});
  Press(program.page(), kDeleteCommand);
  EXPECT_NE(AnswerMessageBox(program.main(), IDYES).find("Adware"), std::string::npos);
  EXPECT_TRUE(WaitFor([&] { return !PathExists(sys); }, 10000));
  EXPECT_TRUE(WaitFor([&] { return FindRow(list, "sys.dat") < 0; }, 10000));
  char copy[MAX_PATH];
  ASSERT_TRUE(tov::VaultCopyPath(sys.c_str(), copy, sizeof copy));
  EXPECT_EQ(ReadWholeFile(copy), "system");
  EXPECT_TRUE(program.CloseByPage());
  EXPECT_TRUE(tov::RestoreFromVault(sys.c_str()));
  ClearProductKeys();
}

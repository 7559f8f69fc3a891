// The File Types page driven in a running TovrelEx: its rows, Remove on a
// sorted list, Remove with nothing selected, and the Add File Type dialog
// that explains a refused extension and stays open.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "filetypes/filetype_rules.h"
#include "tests/filetypes/planted_types.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;
using namespace sheetdriver;

namespace {

const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";

std::string StoredList() {
  char list[tov::kMonitoredListCapacity];
  tov::GetRegString(HKEY_CURRENT_USER, tov::kFileTypeClassKey, "", list);
  return list;
}

class FileTypesPageTest : public testing::Test {
 protected:
  plantedtypes::PlantedTypes planted_;
  HANDLE process_ = nullptr;
  HWND main_ = nullptr, sheet_ = nullptr, page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    EndAll();
    ClearProductKeys();
    planted_.Unplant();
    planted_.PlantAll();
    tov::SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    tov::SetRegString(HKEY_CURRENT_USER, tov::kFileTypeClassKey, "", "SBS;WSH;CAT;NONE;");
    tov::SetRegString(HKEY_CURRENT_USER, tov::kFileTypeExtKey, "", tov::kBaselineMarker);
  }
  void TearDown() override {
    if (process_) {
      TerminateProcess(process_, 0);
      WaitForSingleObject(process_, 5000);
      CloseHandle(process_);
    }
    EndAll();
    planted_.Unplant();
    ClearProductKeys();
  }
  static void EndAll() {
    for (HWND w; (w = FindWindowA("TovrelEx", nullptr)) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (!p) break;
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
  bool Open(int rows) {
    process_ = StartProgram(BinPath("TovrelEx.exe"), "-FILETYPE");
    if (!process_) return false;
    if (!WaitFor([&] { return (main_ = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (sheet_ = FindSheet(main_)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (page_ = CurrentPage(sheet_)) != nullptr; }, 10000)) return false;
    list_ = GetDlgItem(page_, 1000);
    return WaitFor([&] { return RowCount(list_) == rows; }, 10000);
  }
  // The Add File Type dialog of the program, or null.
  HWND AddDialog() {
    HWND dialog = FindWindowA("#32770", "Add File Type Extension");
    return dialog && GetDlgItem(dialog, 1005) ? dialog : nullptr;
  }
  void Type(HWND dialog, const char* text) {
    SendDlgItemMessageA(dialog, 1005, WM_SETTEXT, 0, (LPARAM)text);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
  }
};

TEST_F(FileTypesPageTest, RowsAndRemoveOnASortedList) {
  ASSERT_TRUE(Open(3));
  int sbs = FindRow(list_, "Tovtest Script");
  ASSERT_GE(sbs, 0);
  EXPECT_EQ(CellText(list_, sbs, 1), "runner.exe");
  EXPECT_EQ(CellText(list_, sbs, 3), "TovTest.Sbs");
  EXPECT_EQ(CellText(list_, sbs, 4), ".SBS");
  EXPECT_EQ(CellText(list_, sbs, 5), "System");
  int cat = FindRow(list_, "Fixture Shell Helper");
  ASSERT_GE(cat, 0);
  EXPECT_EQ(CellText(list_, cat, 2), "Second Company");
  EXPECT_EQ(CellText(list_, cat, 5), "Explorer");

  // Sorted by title the .SBS row is no longer the first entry's row.
  ClickColumn(list_, 0);
  ASSERT_TRUE(WaitFor([&] { return FindRow(list_, "Tovtest Script") == 2; }, 5000));
  SelectRows(list_, {2});
  Press(page_, 1003);
  ASSERT_TRUE(WaitFor([&] { return StoredList() == "WSH;CAT;NONE;"; }, 8000)) << StoredList();
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == 2 && FindRow(list_, "Tovtest Script") < 0; }, 8000));

  // Nothing selected: string 60 and no change.
  SelectRows(list_, {});
  Press(page_, 1003);
  EXPECT_NE(AnswerMessageBox(main_, IDOK).find("to selec the program"), std::string::npos);
  EXPECT_EQ(StoredList(), "WSH;CAT;NONE;");
}

TEST_F(FileTypesPageTest, AddExplainsADuplicateAndStaysOpen) {
  ASSERT_TRUE(Open(3));
  Press(page_, 1064);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = AddDialog()) != nullptr; }, 8000));
  Type(dialog, ".cat");
  EXPECT_NE(AnswerMessageBox(main_, IDOK).find("already being monitored"), std::string::npos);
  EXPECT_TRUE(IsWindow(dialog));
  Type(dialog, "tovnew");
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 8000));
  EXPECT_EQ(StoredList(), "SBS;WSH;CAT;NONE;tovnew;");
  char x[16] = "";
  EXPECT_GT(tov::GetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "xPosAddFileType", x), 0u);
  PostMessageA(page_, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
  EXPECT_EQ(WaitExit(process_, 10000), 0);
}

}  // namespace

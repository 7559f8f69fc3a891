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
#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;

namespace {

const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
constexpr int kRemove = 1003;
constexpr int kAdd = 1064;
constexpr int kAddEdit = 1005;

std::string StoredList() { return GetText(HKEY_CURRENT_USER, tov::kFileTypeClassKey, ""); }

class FileTypesPageTest : public testing::Test {
 protected:
  plantedtypes::PlantedTypes planted_;
  RunningProgram program_;
  HWND page_ = nullptr, list_ = nullptr;

  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    planted_.Unplant();
    planted_.PlantAll();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    SetText(HKEY_CURRENT_USER, tov::kFileTypeClassKey, "", "SBS;WSH;CAT;NONE;");
    SetText(HKEY_CURRENT_USER, tov::kFileTypeExtKey, "", tov::kBaselineMarker);
  }
  void TearDown() override {
    program_.Stop();
    EndAllInstances();
    planted_.Unplant();
    ClearProductKeys();
  }
  bool Open(int rows) {
    if (!program_.Open("-FILETYPE")) return false;
    page_ = program_.page();
    list_ = program_.list();
    return WaitFor([&] { return RowCount(list_) == rows; }, 10000);
  }
  // Types into the Add File Type dialog and presses its Add.
  void Type(HWND dialog, const char* text) {
    SendDlgItemMessageA(dialog, kAddEdit, WM_SETTEXT, 0, (LPARAM)text);
    Press(dialog, IDOK);
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
  EXPECT_TRUE(WaitFor([&] { return CellText(list_, cat, 2) == "Second Company"; }, 10000));
  EXPECT_EQ(CellText(list_, cat, 5), "Explorer");

  // Sorted by title the .SBS row is no longer the first entry's row.
  ClickColumn(list_, 0);
  ASSERT_TRUE(WaitFor([&] { return FindRow(list_, "Tovtest Script") == 2; }, 5000));
  SelectRows(list_, {2});
  Press(page_, kRemove);
  ASSERT_TRUE(WaitFor([&] { return StoredList() == "WSH;CAT;NONE;"; }, 8000)) << StoredList();
  EXPECT_TRUE(WaitFor([&] { return RowCount(list_) == 2 && FindRow(list_, "Tovtest Script") < 0; }, 8000));

  // Nothing selected: string 60 and no change.
  SelectRows(list_, {});
  Press(page_, kRemove);
  EXPECT_NE(AnswerMessageBox(page_, IDOK).find("to selec the program"), std::string::npos);
  EXPECT_EQ(StoredList(), "WSH;CAT;NONE;");
}

TEST_F(FileTypesPageTest, AddExplainsADuplicateAndStaysOpen) {
  ASSERT_TRUE(Open(3));
  Press(page_, kAdd);
  DialogQuery query = OfProcessOf(page_);
  query.caption = "Add File Type Extension";
  HWND dialog = WaitDialog(query);
  ASSERT_TRUE(dialog);
  Type(dialog, ".cat");
  EXPECT_NE(AnswerMessageBox(page_, IDOK).find("already being monitored"), std::string::npos);
  EXPECT_TRUE(IsWindow(dialog));
  Type(dialog, "tovnew");
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(StoredList(), "SBS;WSH;CAT;NONE;tovnew;");
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "xPosAddFileType"));
  EXPECT_TRUE(program_.CloseByPage());
}

}  // namespace

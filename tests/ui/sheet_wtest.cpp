// The property sheet as the user gets it: TovrelEx started as a child
// process, its sheet found and driven through window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"
#include "ui/sheet.h"

using namespace testsupport;

namespace {

const char kProductKey[] = "Software\\Brenvik\\Tovrel";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";

class SheetTest : public testing::Test {
 protected:
  RunningProgram program_;

  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");  // no sound device in the test prefix
  }
  void TearDown() override {
    program_.Stop();
    EndAllInstances();
    ClearProductKeys();
  }
  HWND sheet() const { return program_.sheet(); }
  static bool Nt() { return IsNtFamily(); }
};

TEST_F(SheetTest, PageOrderStartPageAndStartTab) {
  // Options is the last page; opening it stores StartTab.
  ASSERT_TRUE(program_.Open("-OPTION"));
  int pages = TabCount(sheet());
  EXPECT_EQ(pages, Nt() ? 10 : 9);
  EXPECT_EQ(CurrentTab(sheet()), pages - 1);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kOptionsKey, "StartTab"), "6033");
  // Tab texts in order (Services only on the NT family).
  EXPECT_EQ(TabText(sheet(), 4), Nt() ? " Services " : " Active Tasks ");
  // Off the NT family the sheet has no status bar and no sizing border.
  EXPECT_EQ(GetDlgItem(sheet(), 6050) != nullptr, Nt());
  EXPECT_EQ((GetWindowLongA(sheet(), GWL_STYLE) & WS_THICKFRAME) != 0, Nt());
  EXPECT_TRUE(program_.CloseByPage());
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), nullptr);
}

TEST_F(SheetTest, ServicesCommandOffTheNtFamilyOpensTheFirstPage) {
  ASSERT_TRUE(program_.Open("-SERVICE"));
  EXPECT_EQ(CurrentTab(sheet()), Nt() ? 4 : 0);
  EXPECT_TRUE(program_.CloseByPage());
}

TEST_F(SheetTest, AlreadyOpenSheetOnlyComesToTheFront) {
  ASSERT_TRUE(program_.Open("-NUT"));
  HWND main = program_.main(), first = sheet();
  int cookies = Nt() ? 6 : 5;
  EXPECT_EQ(CurrentTab(first), cookies);
  // A later start asking for IE Helpers: the request arrives, and the sheet
  // stays on Cookies.
  HANDLE second = StartProgram(BinPath("TovrelEx.exe"), "-BHO");
  EXPECT_EQ(WaitExit(second, 10000), 0);
  CloseHandle(second);
  EXPECT_TRUE(WaitFor([&] {
    return int(INT_PTR(GetPropA(main, tov::kRequestedPageProp))) == tov::kCmdIEHelpers;
  }, 10000));
  EXPECT_TRUE(Settle(main));
  EXPECT_EQ(FindSheet(main), first);
  EXPECT_EQ(CurrentTab(first), cookies);
  EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // Asking for Cookies keeps it above all other windows.
  PostMessageA(main, WM_COMMAND, 6028, 0);
  // The sheet the main window owns becomes topmost with it. (Wine leaves
  // the zero-size main window itself without the flag, hence the sheet.)
  EXPECT_TRUE(WaitFor([&] { return (GetWindowLongA(first, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000));
  EXPECT_EQ(CurrentTab(first), cookies);
  EXPECT_TRUE(program_.CloseByPage());
}

TEST_F(SheetTest, SavedPositionIsPulledBackAndSavedOnClose) {
  SetText(HKEY_CURRENT_USER, kProductKey, "xPos", "5000");
  SetText(HKEY_CURRENT_USER, kProductKey, "yPos", "7");
  ASSERT_TRUE(program_.Open("-START"));
  RECT r;
  ASSERT_TRUE(WaitFor([&] {
    GetWindowRect(sheet(), &r);
    return r.left == GetSystemMetrics(SM_CXSCREEN) / 2;
  }, 5000));
  EXPECT_EQ(r.top, 7);
  int width = r.right - r.left, height = r.bottom - r.top;
  EXPECT_GT(width, 300);  // no saved size: the sheet keeps its own
  EXPECT_TRUE(program_.CloseByPage());
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kProductKey, "xPos"), std::to_string(r.left));
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kProductKey, "dxPos"), std::to_string(width));

  // A saved size is used on the NT family, where the sheet is resizable.
  SetText(HKEY_CURRENT_USER, kProductKey, "xPos", "-20");  // negative values are used as they are
  SetText(HKEY_CURRENT_USER, kProductKey, "yPos", "30");
  SetText(HKEY_CURRENT_USER, kProductKey, "dxPos", std::to_string(width + 100));
  SetText(HKEY_CURRENT_USER, kProductKey, "dyPos", std::to_string(height + 50));
  ASSERT_TRUE(program_.Open("-START"));
  WaitFor([&] {
    GetWindowRect(sheet(), &r);
    return r.left == -20;
  }, 5000);
  EXPECT_EQ(r.left, -20);
  EXPECT_EQ(r.top, 30);
  if (Nt()) {
    EXPECT_EQ(r.right - r.left, width + 100);
    // The list grows with the sheet.
    RECT lr;
    GetWindowRect(program_.list(), &lr);
    EXPECT_GT(lr.right - lr.left, width - 100);
  } else {
    EXPECT_EQ(r.right - r.left, width);
  }
  EXPECT_TRUE(program_.CloseByPage());
}

TEST_F(SheetTest, ColumnSharesOfTheStartupList) {
  ASSERT_TRUE(program_.Open("-START"));
  HWND list = program_.list();
  ASSERT_TRUE(list);
  int w0 = ListColumnWidth(list, 0), w1 = ListColumnWidth(list, 1), w4 = ListColumnWidth(list, 4);
  // 0.30 : 0.16 : 0.20 of the same width, each cut to whole pixels.
  EXPECT_NEAR(w0 * 0.16 / 0.30, w1, 1.0);
  EXPECT_NEAR(w0 * 0.20 / 0.30, w4, 1.0);
  EXPECT_GT(w0, 50);
  EXPECT_TRUE(program_.CloseByPage());
}

}  // namespace

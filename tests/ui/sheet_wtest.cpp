// The property sheet as the user gets it: TovrelEx started as a child
// process, its sheet found and driven through window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;
using namespace sheetdriver;

namespace {

const char kProductKey[] = "Software\\Brenvik\\Tovrel";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";

void SetText(const char* key, const char* name, const char* value) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_SZ, (const BYTE*)value, DWORD(strlen(value) + 1));
  RegCloseKey(k);
}

std::string GetText(const char* key, const char* name) {
  char text[256] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return "";
  return text;
}

class SheetTest : public testing::Test {
 protected:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr;
  HWND sheet_ = nullptr;

  void SetUp() override {
    EndAll();
    ClearProductKeys();
    SetText(kOptionsKey, "Sound", "0");  // no sound device in the test prefix
  }
  void TearDown() override {
    Stop();
    EndAll();
    ClearProductKeys();
  }
  static void EndAll() {
    for (const char* cls : {"TovrelEx", "Tovrel"}) {
      for (HWND w; (w = FindWindowA(cls, nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!p) break;
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
      }
    }
  }
  // Starts TovrelEx and waits for its sheet and a filled page.
  bool Open(const std::string& args) {
    process_ = StartProgram(BinPath("TovrelEx.exe"), args);
    if (!process_) return false;
    if (!WaitFor([&] { return (main_ = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000)) return false;
    if (!WaitFor([&] { return (sheet_ = FindSheet(main_)) != nullptr; }, 15000)) return false;
    return WaitFor([&] { return CurrentPage(sheet_) != nullptr; }, 10000);
  }
  // Closes through the page's Close command; true when the program ended.
  bool CloseByPage() {
    HWND page = CurrentPage(sheet_);
    if (!page) return false;
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
    bool ended = WaitExit(process_, 10000) == 0;
    CloseHandle(process_);
    process_ = nullptr;
    return ended;
  }
  void Stop() {
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
  }
  static bool Nt() { return IsNtFamily(); }
};

TEST_F(SheetTest, PageOrderStartPageAndStartTab) {
  // Options is the last page; opening it stores StartTab.
  ASSERT_TRUE(Open("-OPTION"));
  int pages = TabCount(sheet_);
  EXPECT_EQ(pages, Nt() ? 10 : 9);
  EXPECT_EQ(CurrentTab(sheet_), pages - 1);
  EXPECT_EQ(GetText(kOptionsKey, "StartTab"), "6033");
  // Tab texts in order (Services only on the NT family).
  char text[64];
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  RemoteBuffer remote(sheet_, sizeof item + 64);
  item.pszText = remote.at() + sizeof item;
  item.cchTextMax = 64;
  remote.Write(0, &item, sizeof item);
  SendMessageA(TabControl(sheet_), TCM_GETITEMA, 4, (LPARAM)remote.at());
  remote.Read(sizeof item, text, sizeof text);
  EXPECT_STREQ(text, Nt() ? " Services " : " Active Tasks ");
  // Off the NT family the sheet has no status bar and no sizing border.
  EXPECT_EQ(GetDlgItem(sheet_, 6050) != nullptr, Nt());
  EXPECT_EQ((GetWindowLongA(sheet_, GWL_STYLE) & WS_THICKFRAME) != 0, Nt());
  EXPECT_TRUE(CloseByPage());
  EXPECT_EQ(FindWindowA("TovrelEx", nullptr), nullptr);
}

TEST_F(SheetTest, ServicesCommandOffTheNtFamilyOpensTheFirstPage) {
  ASSERT_TRUE(Open("-SERVICE"));
  EXPECT_EQ(CurrentTab(sheet_), Nt() ? 4 : 0);
  EXPECT_TRUE(CloseByPage());
}

TEST_F(SheetTest, AlreadyOpenSheetOnlyComesToTheFront) {
  ASSERT_TRUE(Open("-NUT"));
  int cookies = Nt() ? 6 : 5;
  EXPECT_EQ(CurrentTab(sheet_), cookies);
  // A later start asking for IE Helpers: the sheet stays on Cookies.
  HANDLE second = StartProgram(BinPath("TovrelEx.exe"), "-BHO");
  EXPECT_EQ(WaitExit(second, 10000), 0);
  CloseHandle(second);
  Sleep(500);
  EXPECT_EQ(FindSheet(main_), sheet_);
  EXPECT_EQ(CurrentTab(sheet_), cookies);
  EXPECT_EQ(GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // Asking for Cookies keeps it above all other windows.
  PostMessageA(main_, WM_COMMAND, 6028, 0);
  // The sheet the main window owns becomes topmost with it. (Wine leaves
  // the zero-size main window itself without the flag, hence the sheet.)
  EXPECT_TRUE(WaitFor([&] { return (GetWindowLongA(sheet_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000));
  EXPECT_EQ(CurrentTab(sheet_), cookies);
  EXPECT_TRUE(CloseByPage());
}

TEST_F(SheetTest, SavedPositionIsPulledBackAndSavedOnClose) {
  SetText(kProductKey, "xPos", "5000");
  SetText(kProductKey, "yPos", "7");
  ASSERT_TRUE(Open("-START"));
  RECT r;
  ASSERT_TRUE(WaitFor([&] {
    GetWindowRect(sheet_, &r);
    return r.left == GetSystemMetrics(SM_CXSCREEN) / 2;
  }, 5000));
  EXPECT_EQ(r.top, 7);
  int width = r.right - r.left, height = r.bottom - r.top;
  EXPECT_GT(width, 300);  // no saved size: the sheet keeps its own
  EXPECT_TRUE(CloseByPage());
  EXPECT_EQ(GetText(kProductKey, "xPos"), std::to_string(r.left));
  EXPECT_EQ(GetText(kProductKey, "dxPos"), std::to_string(width));

  // A saved size is used on the NT family, where the sheet is resizable.
  SetText(kProductKey, "xPos", "-20");  // negative values are used as they are
  SetText(kProductKey, "yPos", "30");
  SetText(kProductKey, "dxPos", std::to_string(width + 100).c_str());
  SetText(kProductKey, "dyPos", std::to_string(height + 50).c_str());
  ASSERT_TRUE(Open("-START"));
  WaitFor([&] {
    GetWindowRect(sheet_, &r);
    return r.left == -20;
  }, 5000);
  EXPECT_EQ(r.left, -20);
  EXPECT_EQ(r.top, 30);
  if (Nt()) {
    EXPECT_EQ(r.right - r.left, width + 100);
    // The list grows with the sheet.
    HWND list = PageList(sheet_);
    RECT lr;
    GetWindowRect(list, &lr);
    EXPECT_GT(lr.right - lr.left, width - 100);
  } else {
    EXPECT_EQ(r.right - r.left, width);
  }
  EXPECT_TRUE(CloseByPage());
}

TEST_F(SheetTest, ColumnSharesOfTheStartupList) {
  ASSERT_TRUE(Open("-START"));
  HWND list = PageList(sheet_);
  ASSERT_TRUE(list);
  int w0 = ColumnWidth(list, 0), w1 = ColumnWidth(list, 1), w4 = ColumnWidth(list, 4);
  // 0.30 : 0.16 : 0.20 of the same width, each cut to whole pixels.
  EXPECT_NEAR(w0 * 0.16 / 0.30, w1, 1.0);
  EXPECT_NEAR(w0 * 0.20 / 0.30, w4, 1.0);
  EXPECT_GT(w0, 50);
  EXPECT_TRUE(CloseByPage());
}

}  // namespace

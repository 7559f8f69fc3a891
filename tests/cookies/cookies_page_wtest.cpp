// The Cookies page in a running TovrelEx (adding and removing filter words,
// the item limit) and the cookie viewer with its text viewer, opened here.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "cookies/cookie_viewer.h"
#include "cookies/cookies.h"
#include "core/entries.h"
#include "resources/resource.h"
#include "tests/support/fixtures.h"

using namespace testsupport;

namespace {

const char kProduct[] = "Software\\Brenvik\\Tovrel";

std::string Jar(const char* name) {
  return ReadWholeFile(std::string(TOVREL_SOURCE_DIR) + "/tests/fixtures/cookies/" + name);
}

bool RowChecked(HWND list, int row) {
  return (SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK) >> 12) == 2;
}

class CookiesPageTest : public SheetTest {
 protected:
  HWND page_ = nullptr, list_ = nullptr;
  bool Open() {
    if (!program_.Open("-NUT")) return false;
    page_ = program_.page();
    list_ = program_.list();
    return page_ && list_;
  }
  void Type(const char* word) { SendDlgItemMessageA(page_, IDC_COOKIES_WORD, WM_SETTEXT, 0, (LPARAM)word); }
};

TEST_F(CookiesPageTest, AddAndRemoveWords) {
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "atwola", "1");
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "x.example - id", "2");  // a mark: not a row
  ASSERT_TRUE(Open());
  ASSERT_TRUE(WaitFor([&] { return RowCount(list_) == 1; }, 10000));
  Type("   ");
  ASSERT_TRUE(Click(page_, IDC_COOKIES_ADD));  // blank: nothing happens
  Type("tracker");
  ASSERT_TRUE(Click(page_, IDC_COOKIES_ADD));
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, tov::kNutsKey, "tracker"), "1");
  EXPECT_EQ(ControlText(page_, IDC_COOKIES_WORD), "");
  int row = FindRow(list_, "tracker");
  ASSERT_GE(row, 0);
  EXPECT_EQ(RowCount(list_), 2);
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, tov::kNutsKey).size(), 3u);

  SelectRows(list_, {row});
  ASSERT_TRUE(WaitFor([&] { return ControlText(page_, IDC_COOKIES_SELECTED) == "tracker"; }, 5000));
  ASSERT_TRUE(Click(page_, IDC_COOKIES_REMOVE));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, tov::kNutsKey, "tracker"));
  EXPECT_EQ(FindRow(list_, "tracker"), -1);
  EXPECT_EQ(ControlText(page_, IDC_COOKIES_SELECTED), "");
}

TEST_F(CookiesPageTest, LimitAndNoSelectionAreExplained) {
  for (int i = 0; i < 256; ++i) SetText(HKEY_CURRENT_USER, tov::kNutsKey, "w" + std::to_string(i), "2");
  ASSERT_TRUE(Open());
  Type("one more");
  Press(page_, IDC_COOKIES_ADD);
  EXPECT_NE(AnswerMessageBox(program_.main(), IDOK).find("limit"), std::string::npos);
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, tov::kNutsKey, "one more"));
  SelectRows(list_, {});
  Press(page_, IDC_COOKIES_REMOVE);
  EXPECT_NE(AnswerMessageBox(program_.main(), IDOK).find("No Cookie has been selected"), std::string::npos);
  EXPECT_TRUE(Settle(page_));
}

// "-COOKIE" shows the cookie list at once; the option is back as it was.
TEST_F(CookiesPageTest, CookieSwitchOpensTheViewer) {
  ASSERT_TRUE(program_.Start("-COOKIE"));
  DialogQuery query = OfProcessOf(program_.main());
  query.caption = "Tovrel - Cookies";
  HWND viewer = WaitDialog(query, 15000);
  ASSERT_NE(viewer, nullptr);
  Press(viewer, IDCANCEL);
  ASSERT_TRUE(WaitClosed(viewer));
  Press(VisiblePage(FindSheet(program_.main())), kPageCloseId);
  EXPECT_EQ(program_.WaitEnd(), 0);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel\\Options", "ViewCookies"), "0");
}

class CookieViewerTest : public DialogTest {
 protected:
  std::string folder_ = TempFilePath("tovviewer_") + Family();
  void SetUp() override {
    DialogTest::SetUp();
    RemoveFolderTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    tov::ClearEntries();
    tov::SetCookieStore(tov::kStoreInternetExplorer);
    RemoveFolderTree(folder_);
    DialogTest::TearDown();
  }
  void View(std::function<void(HWND)> drive) {
    Drive([&] { tov::CookieViewer(owner_.top); return 0; }, std::move(drive));
  }
};

TEST_F(CookieViewerTest, MozillaRemoveUncheckedKeepsTheCheckedCookie) {
  const std::string jar = Jar("basic_lf.txt");
  WriteWholeFile(folder_ + "\\cookies.txt", jar);
  SetText(HKEY_CURRENT_USER, kProduct, "CookieFolder", folder_);
  SetText(HKEY_CURRENT_USER, tov::kKeptCookiesKey, "ads.example - tracker", "1");
  tov::SetCookieStore(tov::kStoreMozilla);
  int rows = -1, after = -1;
  bool keptChecked = false, viewHidden = false;
  std::string question;
  View([&](HWND d) {
    HWND list = GetDlgItem(d, IDC_VIEWER_LIST);
    rows = RowCount(list);
    int kept = FindRow(list, "ads.example - tracker");
    keptChecked = kept >= 0 && RowChecked(list, kept);
    viewHidden = !IsShown(d, IDC_VIEWER_VIEW);
    Press(d, IDC_VIEWER_REMOVE_UNCHECKED);
    question = AnswerMessageBox(d, IDYES);
    WaitFor([&] { return RowCount(list) == 1; }, 5000);
    after = RowCount(list);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(rows, 5);
  EXPECT_TRUE(keptChecked);
  EXPECT_TRUE(viewHidden);
  EXPECT_NE(question.find("NOT checked"), std::string::npos);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, tov::kNutsKey, "ads.example - late"), "2");
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, tov::kNutsKey).size(), 4u);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, tov::kKeptCookiesKey, "ads.example - tracker"), "1");
  EXPECT_EQ(ReadWholeFile(folder_ + "\\cookies.txt"), jar);
  std::string copy = ReadWholeFile(folder_ + "\\cookiesnew.txt");
  EXPECT_NE(copy.find("\ttracker\t"), std::string::npos);
  EXPECT_EQ(copy.find("\tlate\t"), std::string::npos);
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kProduct, "xCookie"));  // position saved
}

TEST_F(CookieViewerTest, ExplorerCookieOpensInTheTextViewer) {
  WriteWholeFile(folder_ + "\\index.dat", "x");
  WriteWholeFile(folder_ + "\\user@ads.example[1].txt", "id\nabc\nads.example/\n");
  SetText(HKEY_CURRENT_USER, kProduct, "IECookieFolder", folder_);
  std::string text, path;
  View([&](HWND d) {
    HWND list = GetDlgItem(d, IDC_VIEWER_LIST);
    SelectRows(list, {FindRow(list, "user@ads.example[1].txt")});
    Press(d, IDC_VIEWER_VIEW);
    HWND viewer = WaitDialog(OwnedBy(d));
    text = ControlText(viewer, IDC_TEXT_VIEWER_TEXT);
    path = ControlText(viewer, IDC_TEXT_VIEWER_PATH);
    Click(viewer, IDCANCEL);
    WaitClosed(viewer);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(text, "id\r\nabc\r\nads.example/\r\n");
  EXPECT_EQ(path.substr(path.rfind('\\')), "\\user@ads.example[1].txt");
}

}  // namespace

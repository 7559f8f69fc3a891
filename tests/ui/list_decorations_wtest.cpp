// Icons and companies of list rows read by the worker thread: a list filled
// in this process ends up as a synchronous read would have it, a refill in
// the middle leaves nothing of the first fill, and a list dropped while
// loading ends its worker.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/entries.h"
#include "core/program_cache.h"
#include "core/version.h"
#include "resources/resource.h"
#include "tests/support/fixtures.h"
#include "ui/list_worker.h"
#include "ui/listview.h"

using namespace tov;
using namespace testsupport;

namespace {

// Each program twice: a system program with an icon, two with version
// strings, one without, one too big to read, a missing file and one that
// names a company but no product.
const char* const kPrograms[] = {"C:\\windows\\notepad.exe", "ver_two_translations.dll", "ver_os.dll",
                                 "ver_none.dll", "ver_big.dll", "no_such_program.exe",
                                 "ver_no_product.dll"};
constexpr int kDistinct = sizeof kPrograms / sizeof kPrograms[0];
constexpr int kCompanyColumn = 1;

std::string ProgramPath(int i) {
  std::string p = kPrograms[i];
  return p.find('\\') == std::string::npos ? BinPath(p.c_str()) : p;
}

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOA) {
    AnswerDisplayInfo(kImageListPage, reinterpret_cast<NMLVDISPINFOA*>(lParam));
    return 0;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

void CompanyKeys(int entry, int, int, SortKey* key) {
  key->isNumber = false;
  ListCompany(entry, key->text);
}

// Pixels of one image of an image list, drawn on black.
std::vector<DWORD> ImageBits(HIMAGELIST images, int index) {
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  std::vector<DWORD> out(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + cx * cy);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return out;
}

class ListDecorationsTest : public DialogTest {
 protected:
  HWND parent_ = nullptr, list_ = nullptr;
  void SetUp() override {
    DialogTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ListDecorationsParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                              nullptr, wc.hInstance, nullptr);
    list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400,
                            parent_, nullptr, wc.hInstance, nullptr);
    ListFacts facts{};
    SetupColumn(list_, 0, "Title", facts);
    SetupColumn(list_, kCompanyColumn, "Company", facts);
  }
  void TearDown() override {
    DestroyImageList(kImageListPage);
    ClearEntries();
    DestroyWindow(parent_);
    DialogTest::TearDown();
  }
  // Rows 2i and 2i+1 name the i-th program of the order (all of them in
  // table order when none is given).
  void Fill(std::vector<int> order = {}, bool productNamed = false) {
    if (order.empty())
      for (int i = 0; i < kDistinct; ++i) order.push_back(i);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    ClearEntries();
    CreateImageList(list_, kImageListPage);
    for (int row = 0; row < 2 * int(order.size()); ++row) {
      int program = order[size_t(row / 2)];
      std::string path = ProgramPath(program);
      AddEntry(kPrograms[program], path.c_str(), "", "", 1, 0);
      InsertRow(list_, row, kPrograms[program], AddProgramIcon(path.c_str(), 0, kImageListPage), row);
      SetRowCompany(list_, row, kCompanyColumn, path.c_str(), kImageListPage, productNamed);
    }
  }
  bool WaitLoaded() {
    return WaitFor([] { return ListWorkDone(kImageListPage) && RunningListWorkers() == 0; }, 10000);
  }
  HIMAGELIST Images() { return (HIMAGELIST)SendMessageA(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0); }
};

TEST_F(ListDecorationsTest, EndsAsASynchronousReadWouldHaveIt) {
  Fill();
  ASSERT_TRUE(WaitLoaded());
  // The program's own icon, the default icon, then one image per program.
  EXPECT_EQ(ImageList_GetImageCount(Images()), 2 + kDistinct);
  HIMAGELIST direct = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       ILC_COLOR32 | ILC_MASK, 1, 1);
  for (int row = 0; row < 2 * kDistinct; ++row) {
    int entry = RowEntry(list_, row);
    std::string path = ProgramPath(entry / 2);
    VersionStrings v;
    ReadVersionStrings(path.c_str(), &v);
    EXPECT_EQ(CellText(list_, row, kCompanyColumn), v.companyName) << path;
    EXPECT_EQ(RowImage(list_, row), RowImage(list_, row ^ 1)) << path;
    HICON icon = nullptr;
    ExtractIconExA(path.c_str(), 0, nullptr, &icon, 1);
    if (!icon) {
      EXPECT_EQ(ImageBits(Images(), RowImage(list_, row)), ImageBits(Images(), 1)) << path;
      continue;
    }
    ImageList_RemoveAll(direct);
    ImageList_AddIcon(direct, icon);
    DestroyIcon(icon);
    EXPECT_EQ(ImageBits(Images(), RowImage(list_, row)), ImageBits(direct, 0)) << path;
  }
  ImageList_Destroy(direct);
  // The information window finds the strings without reading the file.
  VersionStrings cached;
  EXPECT_TRUE(CachedVersionStrings(ProgramPath(1).c_str(), &cached));
  EXPECT_STREQ(cached.companyName, "Brenvik Fixtures");
}

// The lists of tasks and helpers show a company only from strings that
// name a product.
TEST_F(ListDecorationsTest, ProductNamedCompaniesNeedAProductName) {
  Fill({}, true);
  ASSERT_TRUE(WaitLoaded());
  for (int row = 0; row < 2 * kDistinct; ++row) {
    std::string path = ProgramPath(RowEntry(list_, row) / 2);
    VersionStrings v;
    ReadVersionStrings(path.c_str(), &v);
    EXPECT_EQ(CellText(list_, row, kCompanyColumn), v.productName[0] ? v.companyName : "") << path;
  }
  int nameless = FindRow(list_, "ver_no_product.dll");
  ASSERT_GE(nameless, 0);
  EXPECT_EQ(CellText(list_, nameless, kCompanyColumn), "");
}

TEST_F(ListDecorationsTest, SortByCompanyRunsAgainWhenTheCompaniesAreIn) {
  Fill({2, 1});  // "Second Company" rows first
  SortList(list_, kCompanyColumn, CompanyKeys);  // before any company is in
  ASSERT_TRUE(WaitLoaded());
  EXPECT_EQ(Column(list_, kCompanyColumn),
            (std::vector<std::string>{"Brenvik Fixtures", "Brenvik Fixtures", "Second Company",
                                      "Second Company"}));
}

TEST_F(ListDecorationsTest, RefillWhileLoadingKeepsNothingOfTheFirstFill) {
  Fill();
  // The same rows again, now all naming a program without an icon or strings.
  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list_, kImageListPage);
  std::string none = ProgramPath(3);
  for (int row = 0; row < 2 * kDistinct; ++row) {
    InsertRow(list_, row, "none", AddProgramIcon(none.c_str(), 0, kImageListPage), row);
    SetRowCompany(list_, row, kCompanyColumn, none.c_str());
  }
  ASSERT_TRUE(WaitLoaded());
  EXPECT_EQ(ImageList_GetImageCount(Images()), 3);
  // Image 2 was the first program's icon in the first fill: it must be the
  // default icon now.
  HIMAGELIST expected = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, 1, 1);
  HICON placeholder = (HICON)LoadImageA(program_.module(), MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
  ImageList_AddIcon(expected, placeholder);
  DestroyIcon(placeholder);
  EXPECT_EQ(ImageBits(Images(), 2), ImageBits(expected, 0));
  ImageList_Destroy(expected);
  for (int row = 0; row < 2 * kDistinct; ++row) {
    EXPECT_EQ(CellText(list_, row, kCompanyColumn), "") << row;
    EXPECT_EQ(RowImage(list_, row), 2) << row;
  }
}

TEST_F(ListDecorationsTest, ListDroppedWhileLoadingEndsItsWorker) {
  Fill();
  DestroyImageList(kImageListPage);
  EXPECT_TRUE(WaitFor([] { return RunningListWorkers() == 0; }, 10000));
  MSG m;  // results still queued are dropped
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  EXPECT_EQ(CellText(list_, 0, kCompanyColumn), "");
}

}  // namespace

// Sort keys, column shares, entry menus, help files and page layout.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/text.h"
#include "ui/history_rules.h"
#include "ui/page_rules.h"
#include "ui/sort_keys.h"

namespace {

using namespace tov;

int CompareAscii(const char* a, size_t an, const char* b, size_t bn) {
  char x[kSortKeyCapacity] = {}, y[kSortKeyCapacity] = {};
  memcpy(x, a, an);
  memcpy(y, b, bn);
  return CompareNoCase(x, y);
}

TEST(SortKeys, KeysAreCutToTheShorterOneAndDirectionTurnsTheResult) {
  EXPECT_EQ(CompareCutKeys("abc", "abcd", 0, CompareAscii), 0);
  EXPECT_EQ(CompareCutKeys("ABC", "abd", 0, CompareAscii) < 0, true);
  EXPECT_EQ(CompareCutKeys("ABC", "abd", 1, CompareAscii) > 0, true);
  EXPECT_EQ(CompareCutKeys("", "anything", 0, CompareAscii), 0);  // empty key equals all
  EXPECT_EQ(CompareNumbers(3, 5, 0), -1);
  EXPECT_EQ(CompareNumbers(3, 5, 1), 1);
  EXPECT_EQ(CompareNumbers(-2147483647L - 1, 2147483647L, 0), -1);  // no overflow
}

TEST(SortKeys, DisabledEntriesComeLastInBothDirections) {
  char enabled[kSortKeyCapacity], disabled[kSortKeyCapacity];
  for (int direction : {0, 1}) {
    ASSERT_TRUE(MakeStartupKey("Zeta", false, direction, enabled, sizeof enabled));
    ASSERT_TRUE(MakeStartupKey("Alpha", true, direction, disabled, sizeof disabled));
    int order = CompareCutKeys(enabled, disabled, direction, CompareAscii);
    EXPECT_LT(order, 0) << "direction " << direction;
  }
  EXPECT_STREQ(DisabledKeyPrefix(0), "zzz");
  EXPECT_STREQ(DisabledKeyPrefix(1), "aaa");
  char small[4];
  EXPECT_FALSE(MakeStartupKey("x", true, 0, small, sizeof small));  // "zzzx" needs 5
}

TEST(SortKeys, SortableDate) {
  char out[kSortableDateCapacity];
  EXPECT_EQ(SortableDate("12/07/2006 9:05", out, sizeof out), 12u);
  EXPECT_STREQ(out, "200612070905");
  SortableDate("01/31/2007 13:45 PM", out, sizeof out);
  EXPECT_STREQ(out, "200701311345");
  SortableDate("01/31/2007", out, sizeof out);  // 10 characters: no date
  EXPECT_STREQ(out, " ");
  SortableDate("01/31/2007 ", out, sizeof out);  // 11 characters
  EXPECT_STREQ(out, " ");
  SortableDate("", out, sizeof out);
  EXPECT_STREQ(out, " ");
  char tiny[5];
  SortableDate("12/07/2006 9:05", tiny, sizeof tiny);  // cut, still terminated
  EXPECT_STREQ(tiny, "2006");
  // Later dates sort after earlier ones, whatever the hour's width.
  char a[kSortableDateCapacity], b[kSortableDateCapacity];
  SortableDate("12/07/2006 9:05", a, sizeof a);
  SortableDate("12/07/2006 10:00", b, sizeof b);
  EXPECT_LT(strcmp(a, b), 0);
}

// Sample lists: a five-column list sharing the width less the scroll bar,
// and a full-width one.
const ColumnRow kFiveColumns[] = {{1, 0.25}, {2, 0.35}, {3, 0.20}, {4, 0.20}};
const ColumnRow kSixColumns[] = {{1, 0.30}, {2, 0.18}, {3, 0.18}, {4, 0.09}, {5, 0.10}, {6, 0.20}};
const ColumnRow kWideColumns[] = {{1, 0.30}, {2, 0.20}, {3, 0.20}, {4, 0.18}, {5, 0.16}};
const ListFacts kList{kFiveColumns, false, "SortActiveTask", 4};
const ListFacts kSixList{kSixColumns, false, "SortService", 5};
const ListFacts kWideList{kWideColumns, true, "SortScheduledTask", 4};

TEST(ColumnShares, EveryListAndTheScrollBarRule) {
  EXPECT_DOUBLE_EQ(ColumnShare(kList, 0), 0.25);
  EXPECT_DOUBLE_EQ(ColumnShare(kList, 4), 0);
  EXPECT_DOUBLE_EQ(ColumnShare(kSixList, 5), 0.20);
  EXPECT_DOUBLE_EQ(ColumnShare(kHistoryList, 3), 0.38);
  EXPECT_DOUBLE_EQ(ColumnShare(kList, -1), 0);
  EXPECT_DOUBLE_EQ(ColumnShare(kSixList, kMaxListColumns), 0);
  // (500 - 17) * 0.25 = 120.75 -> 120; full-width lists keep the scroll bar's room.
  EXPECT_EQ(ColumnWidth(kList, 0, 500, 17), 120);
  EXPECT_EQ(ColumnWidth(kWideList, 0, 500, 17), 150);
  EXPECT_EQ(ColumnWidth(kWideList, 3, 500, 17), 90);
  EXPECT_EQ(ColumnWidth(kList, 0, 10, 17), 0);
  EXPECT_STREQ(kHistoryList.sortOption, "SortHistory");
}

std::vector<int> Commands(const EntryMenu& menu, MenuEntryFacts facts) {
  MenuItem items[kMaxMenuItems];
  int n = EntryMenuItems(menu, facts, items, kMaxMenuItems);
  std::vector<int> out;
  for (int i = 0; i < n; ++i) out.push_back(items[i].command);
  return out;
}


TEST(EntryMenu, RowsConditionsAndTheCommonTail) {
  const MenuRow rows[] = {{301, 1008, nullptr},      {971, 1164, WhenNoteExists}, {0, 0, nullptr},
                          {632, 10, WhenDisabled},   {633, 11, WhenEnabled}};
  const EntryMenu menu{rows, false};
  EXPECT_EQ(Commands(menu, {11, false, false}), (std::vector<int>{1008, 0, 11, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(menu, {11, true, true}), (std::vector<int>{1008, 1164, 0, 10, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(EntryMenu{rows, true}, {1, false, false}).back(), 1077);
  EXPECT_EQ(Commands(EntryMenu{rows, true}, {1, false, false}).size(), 6u);  // no Full Report
  MenuItem few[3];
  EXPECT_EQ(EntryMenuItems(menu, {1, false, false}, few, 3), 3);  // never past the capacity
  EXPECT_EQ(Commands(EntryMenu{}, {1, false, false}).size(), 0u);  // a page without a menu
}

TEST(EntryMenu, TheHistoryMenuAndTheCommonTail) {
  EXPECT_EQ(Commands(kHistoryMenu, {0, false, false}), (std::vector<int>{1104, 1106, 1, 0, 1067, 9, 1077}));
}

TEST(HelpFile, NamesAndLanguagePrefix) {
  char out[64];
  EXPECT_GT(HelpFileName("startup.html", "us", out, sizeof out), 0u);
  EXPECT_STREQ(out, "startup.html");
  HelpFileName("bho.html", "de", out, sizeof out);
  EXPECT_STREQ(out, "de_bho.html");
  HelpFileName(nullptr, "us", out, sizeof out);
  EXPECT_STREQ(out, "features.html");
  HelpFileName("helpme.html", "", out, sizeof out);
  EXPECT_STREQ(out, "helpme.html");
  char exact[13];  // "startup.html" fits exactly
  EXPECT_EQ(HelpFileName("startup.html", "us", exact, sizeof exact), 12u);
  EXPECT_EQ(HelpFileName("startup.html", "de", exact, sizeof exact), 0u);
  EXPECT_STREQ(exact, "");
}

TEST(PageLayout, ListAndButtonsFollowTheSheetSize) {
  LayoutInput in{};
  in.sheetWidth = 600;
  in.sheetHeight = 450;
  in.oneTabRow = true;
  in.units = LayoutUnits{10, 71, 21, 146, 57};
  in.helpWidth = 22;
  in.helpLabelWidth = 20;
  in.monitorWidth = 22;
  in.monitorLabelWidth = 30;
  in.pictureHeight = 20;
  in.buttonCount = 5;
  in.buttonWidth = 90;
  in.buttonHeight = 22;
  LayoutResult out;
  ComputePageLayout(in, &out);
  EXPECT_EQ(out.help.x, 600 - 66);
  EXPECT_EQ(out.helpLabel.x, 600 - 35);
  EXPECT_EQ(out.monitorLabel.y, 60);
  EXPECT_EQ(out.list.x, 10);
  EXPECT_EQ(out.list.y, 76);
  EXPECT_EQ(out.list.width, 600 - 31 - 20);   // 1.5 * 21 = 31.5 cut to 31
  EXPECT_EQ(out.list.height, 450 - 219 + 5);  // 1.5 * 146
  int y = 450 - 156 + 11 + 14;                // 2.75 * 57 = 156.75
  EXPECT_EQ(out.buttons[0].y, y);
  int step = 90 + (549 - 450) / 4;
  EXPECT_EQ(out.buttons[1].x, 10 + step);
  EXPECT_EQ(out.buttons[4].x, 10 + 4 * step + 25);
  EXPECT_EQ(out.buttons[4].width, 65);

  in.oneTabRow = false;
  in.buttonCount = 1;
  ComputePageLayout(in, &out);
  EXPECT_EQ(out.list.height, 450 - 219 - 16);
  EXPECT_EQ(out.buttons[0].x, 300 - 45);
  EXPECT_EQ(out.buttons[0].y, 450 - 156 + 8);

  // Tall pictures stand side by side, labels below them.
  in.pictureHeight = 32;
  in.helpWidth = in.monitorWidth = 32;
  ComputePageLayout(in, &out);
  EXPECT_EQ(out.monitor.x, 600 - 96);
  EXPECT_EQ(out.help.x + 32 + kPictureGap, out.monitor.x);
  EXPECT_EQ(out.help.y, out.monitor.y);
  EXPECT_EQ(out.helpLabel.y, 35);
}

}  // namespace

// Sort keys, column shares, entry menus, help files and page layout.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/text.h"
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

TEST(ColumnShares, EveryListAndTheScrollBarRule) {
  EXPECT_DOUBLE_EQ(ColumnShare(6026, 0), 0.30);
  EXPECT_DOUBLE_EQ(ColumnShare(6026, 4), 0.20);
  EXPECT_DOUBLE_EQ(ColumnShare(6026, 5), 0);
  EXPECT_DOUBLE_EQ(ColumnShare(6038, 5), 0.20);
  EXPECT_DOUBLE_EQ(ColumnShare(kListHistory, 3), 0.38);
  EXPECT_DOUBLE_EQ(ColumnShare(kListCookieViewer, 4), 0.09);
  EXPECT_DOUBLE_EQ(ColumnShare(1234, 0), 0);
  EXPECT_DOUBLE_EQ(ColumnShare(6026, -1), 0);
  EXPECT_DOUBLE_EQ(ColumnShare(6026, kMaxListColumns), 0);
  // (500 - 17) * 0.30 = 144.9 -> 144; full-width lists keep the scroll bar's room.
  EXPECT_EQ(ColumnWidth(6026, 0, 500, 17), 144);
  EXPECT_EQ(ColumnWidth(6040, 0, 500, 17), 150);
  EXPECT_EQ(ColumnWidth(6039, 3, 500, 17), 90);
  EXPECT_EQ(ColumnWidth(6026, 0, 10, 17), 0);
}

TEST(ColumnShares, SortOptionsAndSortableColumns) {
  const struct {
    int list;
    const char* name;
  } rows[] = {{6026, "SortStartup"},       {6055, "SortPrograms"}, {6040, "SortIEHelper"},
              {6039, "SortScheduledTask"}, {6038, "SortService"},  {6029, "SortActiveTask"},
              {6028, "SortCookie"},        {6044, "SortCookie"},   {6042, "SortFileType"},
              {6052, "SortHidden"},        {6041, "SortHistory"}};
  for (const auto& row : rows) EXPECT_STREQ(SortOptionName(row.list), row.name) << row.list;
  EXPECT_EQ(SortOptionName(6033), nullptr);
  EXPECT_EQ(LastSortableColumn(6038), 5);
  EXPECT_EQ(LastSortableColumn(6026), 4);
}

std::vector<int> Commands(int page, MenuEntryFacts facts) {
  MenuItem items[kMaxMenuItems];
  int n = EntryMenuItems(page, facts, items, kMaxMenuItems);
  std::vector<int> out;
  for (int i = 0; i < n; ++i) out.push_back(items[i].command);
  return out;
}

TEST(EntryMenu, StartupItemsDependOnCodeStateAndNote) {
  std::vector<int> run = Commands(6026, {11, false, false});
  EXPECT_EQ(run, (std::vector<int>{1008, 1201, 1202, 1064, 1195, 0, 1003, 11, 1144, 0, 1067, 9, 1077}));
  std::vector<int> disabledWithNote = Commands(6026, {11, true, true});
  EXPECT_EQ(disabledWithNote,
            (std::vector<int>{1008, 1201, 1202, 1164, 1064, 1195, 0, 1003, 10, 1144, 0, 1067, 9, 1077}));
  // Winlogon and registry hooks: no delay, remove, enable/disable or reboot delete.
  EXPECT_EQ(Commands(6026, {250, false, false}),
            (std::vector<int>{1008, 1201, 1202, 1064, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(6026, {249, false, false}).size(), 13u);
  // HKEY_USERS Run keys are listed only: the menu offers no change, like the buttons.
  for (int code = 21; code <= 25; ++code)
    EXPECT_EQ(Commands(6026, {code, false, false}),
              (std::vector<int>{1008, 1201, 1202, 1064, 0, 1067, 9, 1077}))
        << code;
}

TEST(EntryMenu, OtherPagesAndTheCommonTail) {
  EXPECT_EQ(Commands(6028, {500, false, true}), (std::vector<int>{1008, 1004, 1103, 0, 1067, 1077}));
  EXPECT_EQ(Commands(6038, {700, false, true}), (std::vector<int>{1008, 1201, 1202, 1164, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(6041, {0, false, false}), (std::vector<int>{1104, 1106, 1, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(6055, {1, false, true}),
            (std::vector<int>{1008, 1201, 1202, 1064, 1065, 1197, 0, 1003, 1198, 1164, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(6052, {370, false, false}),
            (std::vector<int>{1008, 1201, 1202, 1006, 1184, 1144, 1180, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(6033, {0, false, false}).size(), 0u);  // Options has no list menu
  MenuItem few[3];
  EXPECT_EQ(EntryMenuItems(6026, {1, false, false}, few, 3), 3);  // never past the capacity
}

TEST(HelpFile, NamesAndLanguagePrefix) {
  char out[64];
  EXPECT_GT(HelpFileName(6026, "us", out, sizeof out), 0u);
  EXPECT_STREQ(out, "startup.html");
  HelpFileName(6040, "de", out, sizeof out);
  EXPECT_STREQ(out, "de_bho.html");
  HelpFileName(6047, "us", out, sizeof out);
  EXPECT_STREQ(out, "features.html");
  HelpFileName(6051, "", out, sizeof out);
  EXPECT_STREQ(out, "helpme.html");
  char exact[13];  // "startup.html" fits exactly
  EXPECT_EQ(HelpFileName(6026, "us", exact, sizeof exact), 12u);
  EXPECT_EQ(HelpFileName(6026, "de", exact, sizeof exact), 0u);
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

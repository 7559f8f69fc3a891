// The sheet's page list and every page's definition, as the program
// registers them at start: invariants over all pages, and the Startup
// Programs, Delayed Start and File Types pages' own columns, sort options
// and entry menus.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ui/page_framework.h"
#include "ui/sheet.h"

namespace {

using namespace tov;

const PageDefinition& DefinitionOf(const SheetPage& row) {
  return *row.definition;
}

const PageDefinition* Find(int command) {
  for (int i = 0; i < SheetPageCount(); ++i)
    if (SheetPageAt(i).command == command) return &DefinitionOf(SheetPageAt(i));
  return nullptr;
}

std::vector<int> Commands(const PageDefinition& page, MenuEntryFacts facts) {
  MenuItem items[kMaxMenuItems];
  int n = EntryMenuItems(page.menu, facts, items, kMaxMenuItems);
  std::vector<int> out;
  for (int i = 0; i < n; ++i) out.push_back(items[i].command);
  return out;
}

TEST(PageTables, EveryPageHasOneDefinitionThatFitsTheSharedCode) {
  ASSERT_EQ(SheetPageCount(), 10);
  std::set<int> commands;
  for (int i = 0; i < SheetPageCount(); ++i) {
    const SheetPage& row = SheetPageAt(i);
    EXPECT_TRUE(commands.insert(row.command).second) << row.command;
    EXPECT_EQ(row.ntOnly, row.command == 6038) << row.command;
    const PageDefinition& page = DefinitionOf(row);
    EXPECT_EQ(page.pageId, row.command);
    // Every page but Options shows a list of entries.
    EXPECT_EQ(page.fill != nullptr, row.command != 6033) << row.command;
    EXPECT_GE(page.list.columns.count, row.command == 6033 ? 0 : 2) << row.command;
    EXPECT_LE(page.list.columns.count, kMaxListColumns) << row.command;
    double sum = 0;
    for (const ColumnRow& c : page.list.columns) {
      EXPECT_GT(c.textId, 0) << row.command;
      sum += c.share;
    }
    // The Hidden Files shares add up to 1.05: that list scrolls a little.
    EXPECT_LE(sum, 1.05 + 1e-9) << row.command;
    // A list that sorts keeps its column, and only columns it has.
    if (page.sortKeys) {
      EXPECT_NE(page.list.sortOption, nullptr) << row.command;
      EXPECT_LT(page.list.lastSortableColumn, page.list.columns.count) << row.command;
    }
    for (const MenuRow& m : page.menu.rows) EXPECT_EQ(m.textId == 0, m.command == 0) << row.command;
    for (const PageCommandRow& c : page.commands) EXPECT_NE(c.handler, nullptr) << row.command;
  }
}

TEST(PageTables, StartupColumnsSortAndMenu) {
  const PageDefinition* startup = Find(6026);
  ASSERT_NE(startup, nullptr);
  const double shares[] = {0.30, 0.16, 0.18, 0.15, 0.20};
  ASSERT_EQ(startup->list.columns.count, 5);
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(ColumnShare(startup->list, i), shares[i]);
  EXPECT_EQ(ColumnWidth(startup->list, 0, 500, 17), 144);  // (500 - 17) * 0.30
  EXPECT_STREQ(startup->list.sortOption, "SortStartup");
  EXPECT_EQ(startup->list.lastSortableColumn, 4);
  EXPECT_STREQ(startup->helpFile, "startup.html");

  EXPECT_EQ(Commands(*startup, {11, false, false}),
            (std::vector<int>{1008, 1201, 1202, 1064, 1195, 0, 1003, 11, 1144, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(*startup, {11, true, true}),
            (std::vector<int>{1008, 1201, 1202, 1164, 1064, 1195, 0, 1003, 10, 1144, 0, 1067, 9, 1077}));
  // Winlogon and registry hooks: no delay, remove, enable/disable or reboot delete.
  EXPECT_EQ(Commands(*startup, {250, false, false}), (std::vector<int>{1008, 1201, 1202, 1064, 0, 1067, 9, 1077}));
  EXPECT_EQ(Commands(*startup, {249, false, false}).size(), 13u);
}

TEST(PageTables, DelayedStartColumnsSortAndMenu) {
  const PageDefinition* delay = Find(6055);
  ASSERT_NE(delay, nullptr);
  const double shares[] = {0.35, 0.30, 0.15, 0.20};
  ASSERT_EQ(delay->list.columns.count, 4);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(ColumnShare(delay->list, i), shares[i]);
  EXPECT_EQ(ColumnWidth(delay->list, 0, 500, 17), 169);  // (500 - 17) * 0.35
  EXPECT_STREQ(delay->list.sortOption, "SortPrograms");
  EXPECT_EQ(delay->list.lastSortableColumn, 3);
  EXPECT_STREQ(delay->helpFile, "delay.html");
  EXPECT_EQ(Commands(*delay, {1, false, true}),
            (std::vector<int>{1008, 1201, 1202, 1064, 1065, 1197, 0, 1003, 1198, 1164, 0, 1067, 9, 1077}));
}

TEST(PageTables, FileTypesColumnsSortAndMenu) {
  const PageDefinition* types = Find(6042);
  ASSERT_NE(types, nullptr);
  const double shares[] = {0.30, 0.17, 0.20, 0.12, 0.08, 0.10};
  ASSERT_EQ(types->list.columns.count, 6);
  for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(ColumnShare(types->list, i), shares[i]);
  EXPECT_STREQ(types->list.sortOption, "SortFileType");
  EXPECT_EQ(types->list.lastSortableColumn, 4);
  EXPECT_STREQ(types->helpFile, "filetype.html");
  EXPECT_EQ(Commands(*types, {500, false, true}), (std::vector<int>{1008, 1164, 1064, 1003, 0, 1067, 9, 1077}));
}

}  // namespace

// A key read once into a table answers every lookup as GetRegString does,
// and a value put into it after a write is found in order.
#include "core/value_table.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/registry.h"
#include "tests/support/registry_state.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kKey[] = "Software\\Brenvik\\TableTest";

struct Row {
  const char* name;
  DWORD type;
  std::string bytes;
};
const Row kRows[] = {
    {"Plain", REG_SZ, std::string("C:\\a.exe", 9)},
    {"plain two", REG_SZ, std::string("12", 3)},
    {"Unterminated", REG_SZ, "abc"},
    {"Expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x", 11)},
    {"Empty", REG_SZ, std::string("", 1)},
    {"Number", REG_DWORD, std::string("\x01\x00\x00\x00", 4)},
    {"Long", REG_SZ, std::string(1500, 'x') + '\0'},
    {"Exactly", REG_SZ, std::string(1023, 'y') + '\0'},
};

}  // namespace

TEST(ValueTable, AnswersAsTheRegistryDoes) {
  SavedKey saved(HKEY_CURRENT_USER, kKey);
  for (const Row& r : kRows) ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kKey, r.name, {true, r.type, r.bytes}));
  ValueTable table{};
  EXPECT_EQ(LookupTableText(table, "Plain", nullptr, 0), -1);  // not read yet
  ASSERT_TRUE(ReadValueTable(HKEY_CURRENT_USER, kKey, &table));
  const char* names[] = {"Plain", "PLAIN", "plain two", "Unterminated", "Expand", "Empty", "Number",
                         "Long", "Exactly", "Missing", ""};
  for (size_t cap : {size_t(1024), size_t(3), size_t(1)}) {
    for (const char* name : names) {
      char viaRegistry[1024], viaTable[1024];
      size_t length = GetRegString(HKEY_CURRENT_USER, kKey, name, viaRegistry, cap);
      int answer = LookupTableText(table, name, viaTable, cap);
      bool absent = std::string(name) == "Missing" || std::string(name) == "Long" || !name[0];
      EXPECT_EQ(answer, absent ? 0 : 1) << name;
      EXPECT_STREQ(viaTable, viaRegistry) << name << " cap " << cap;
      EXPECT_EQ(strlen(viaTable), length) << name;
    }
  }
  // Beyond plain ASCII the registry's own case rules decide.
  EXPECT_EQ(LookupTableText(table, "Pl\xe4in", nullptr, 0), -1);
  PutTableText(&table, "Added", "new");
  PutTableText(&table, "PLAIN", "changed");
  char text[16];
  EXPECT_EQ(LookupTableText(table, "added", text, sizeof text), 1);
  EXPECT_STREQ(text, "new");
  EXPECT_EQ(LookupTableText(table, "Plain", text, sizeof text), 1);
  EXPECT_STREQ(text, "changed");
  EXPECT_EQ(LookupTableText(table, "Exactly", text, sizeof text), 1);
  FreeValueTable(&table);
  EXPECT_EQ(LookupTableText(table, "Plain", text, sizeof text), -1);
}

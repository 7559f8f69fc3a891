// The IE Helpers page in a running TovrelEx: columns, the fixture helper's
// row and its first-detection date, and Remove answered No (nothing
// changes) and Yes (the registration goes, one history line).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/iehelpers/helper_fixtures.h"
#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

using namespace testsupport;
using namespace helperfixtures;

namespace {

const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const char kDetectedHelpers[] = "Software\\Brenvik\\Detected\\IEHelper";
constexpr int kRemoveButton = 1003;

class IEHelpersPageTest : public testing::Test {
 protected:
  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    ASSERT_TRUE(fixture_.Register());
  }
  void TearDown() override {
    program_.Stop();
    EndAllInstances();
    ClearProductKeys();
  }
  FixtureCopy fixture_;
  RunningProgram program_;
};

TEST_F(IEHelpersPageTest, RowsAndRemove) {
  ASSERT_TRUE(program_.Open("-BHO"));
  HWND list = program_.list();
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "Helper Fixture") >= 0; }, 20000));
  const char* headers[] = {"Name", "Program", "Company", "Type", "First Detected"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(HeaderText(list, c), headers[c]);
  int row = FindRow(list, "Helper Fixture");
  EXPECT_EQ(CellText(list, row, 1), "helper fixture.dll");
  EXPECT_EQ(CellText(list, row, 2), "Brenvik Helpers");
  EXPECT_EQ(CellText(list, row, 3), "BHO");
  EXPECT_FALSE(CellText(list, row, 4).empty());
  // The date shown is the one recorded for the upper-case program path.
  std::string program = fixture_.dll();
  for (char& c : program) c = char(toupper((unsigned char)c));
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kDetectedHelpers, program), CellText(list, row, 4));

  SelectRows(list, {row});
  Press(program_.page(), kRemoveButton);
  std::string question = AnswerMessageBox(program_.main(), IDNO);
  EXPECT_NE(question.find("remove Helper Fixture from the Windows registry"), std::string::npos) << question;
  EXPECT_TRUE(Settle(program_.page()));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, FixtureKey()));

  SelectRows(list, {FindRow(list, "Helper Fixture")});
  Press(program_.page(), kRemoveButton);
  EXPECT_FALSE(AnswerMessageBox(program_.main(), IDYES).empty());
  EXPECT_TRUE(WaitFor([&] { return FindRow(list, "Helper Fixture") < 0; }, 20000));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, FixtureKey()));
}

}  // namespace

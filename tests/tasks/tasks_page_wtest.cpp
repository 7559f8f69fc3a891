// The Scheduled Tasks page in a running TovrelEx: its columns and rows from
// real work items, and Remove answered No (nothing changes) and Yes (the
// task and its known-list value go).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"
#include "tests/tasks/task_fixtures.h"

using namespace testsupport;
using namespace taskfixtures;

namespace {

const char kKnownTasks[] = "Software\\Brenvik\\Tovrel\\Tasks";
const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
constexpr int kRemoveButton = 1003;

class TasksPageTest : public testing::Test {
 protected:
  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    CoInitialize(nullptr);
    std::string found;
    ASSERT_TRUE(WaitForScheduler(&found)) << found;
    DeleteAllTasks();
    SetText(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
    ASSERT_TRUE(CreateTask("Backup", BinPath("ver_two_translations.dll"), "Nightly", 23, 59));
    ASSERT_TRUE(CreateTask("NoTrigger", BinPath("ver_none.dll"), "", -1));
    SetText(HKEY_CURRENT_USER, kKnownTasks, "Backup.job", "800");
  }
  void TearDown() override {
    program_.Stop();
    EndAllInstances();
    DeleteAllTasks();
    CoUninitialize();
    ClearProductKeys();
  }
  // Opens the sheet at the page and waits for both tasks.
  HWND OpenPage() {
    if (!program_.Open("-SCHEDULE")) return nullptr;
    HWND list = program_.list();
    WaitFor([&] { return FindRow(list, "Backup") >= 0 && FindRow(list, "NoTrigger") >= 0; }, 20000);
    return list;
  }
  RunningProgram program_;
};

TEST_F(TasksPageTest, ColumnsAndRows) {
  HWND list = OpenPage();
  ASSERT_NE(list, nullptr);
  const char* headers[] = {"Name", "Program", "Company", "Next Run Time", "Last Run Time"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(HeaderText(list, c), headers[c]);
  int backup = FindRow(list, "Backup");
  ASSERT_GE(backup, 0);
  EXPECT_EQ(CellText(list, backup, 1), "ver_two_translations.dll");
  EXPECT_EQ(CellText(list, backup, 2), "Brenvik Fixtures");
  EXPECT_EQ(CellText(list, backup, 3), "05/06/2030  11:59 PM");
  EXPECT_EQ(CellText(list, backup, 4), "Never");
  int none = FindRow(list, "NoTrigger");
  ASSERT_GE(none, 0);
  EXPECT_EQ(CellText(list, none, 2), "");  // no version resource
  EXPECT_EQ(CellText(list, none, 3), "Never");
}

TEST_F(TasksPageTest, RemoveNoKeepsYesDeletesTaskAndKnownValue) {
  HWND list = OpenPage();
  ASSERT_NE(list, nullptr);
  int backup = FindRow(list, "Backup");
  ASSERT_GE(backup, 0);
  SelectRows(list, {backup});
  Press(program_.page(), kRemoveButton);
  std::string question = AnswerMessageBox(program_.main(), IDNO);
  EXPECT_NE(question.find("remove Backup.job"), std::string::npos) << question;
  EXPECT_TRUE(Settle(program_.page()));
  EXPECT_TRUE(TaskFileExists("Backup.job"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kKnownTasks, "Backup.job"));

  SelectRows(list, {FindRow(list, "Backup")});
  Press(program_.page(), kRemoveButton);
  EXPECT_FALSE(AnswerMessageBox(program_.main(), IDYES).empty());
  EXPECT_TRUE(WaitFor([&] { return FindRow(list, "Backup") < 0; }, 20000));
  EXPECT_FALSE(TaskFileExists("Backup.job"));
  EXPECT_TRUE(TaskFileExists("NoTrigger.job"));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kKnownTasks, "Backup.job"));
  EXPECT_GE(FindRow(list, "NoTrigger"), 0);
}

}  // namespace

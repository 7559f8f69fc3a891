// The Task Scheduler access under Wine: real work items created through the
// scheduler's own interfaces, listed, read and deleted; the scheduler made
// available in both families (the 9x agent is tests/tools/agent_standin).
#include <windows.h>

#include <gtest/gtest.h>
#include <mstask.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "core/entries.h"
#include "tasks/scheduler.h"
#include "tests/support/program_resources.h"
#include "tests/tasks/task_fixtures.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;
using namespace taskfixtures;

namespace {

class SchedulerTest : public ::testing::Test {
 protected:
  ProgramResources program_;  // "Never" and the status texts
  void SetUp() override {
    ASSERT_TRUE(program_.loaded());
    CoInitialize(nullptr);
    std::string found;
    ASSERT_TRUE(WaitForScheduler(&found)) << found;
    DeleteAllTasks();
  }
  void TearDown() override {
    DeleteAllTasks();
    ClearEntries();
    CoUninitialize();
  }
};

TEST_F(SchedulerTest, SevenTasksInBatchesOfFiveLastNameFirst) {
  std::string app = BinPath("ver_two_translations.dll");
  for (int i = 1; i <= 7; ++i)
    ASSERT_TRUE(CreateTask("T" + std::to_string(i), app, "comment " + std::to_string(i), i, 5 * i));
  std::vector<std::string> order = EnumeratedNames();
  ASSERT_EQ(order.size(), 7u);

  ASSERT_EQ(ListScheduledTasks(), 7);
  ASSERT_EQ(EntryCount(), 7);
  // Batch 1 is names 1-5 read backwards, batch 2 names 6-7 backwards.
  const int expected[] = {4, 3, 2, 1, 0, 6, 5};
  for (int row = 0; row < 7; ++row) {
    const Entry* e = EntryAt(row);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->title, order[expected[row]].c_str()) << row;
    EXPECT_TRUE(EqualsNoCase(e->path, app.c_str())) << e->path;
    int n = e->title[1] - '0';
    char next[32];
    snprintf(next, sizeof next, "05/06/2030  %d:%02d AM", n, 5 * n);
    EXPECT_STREQ(e->source, next);
    EXPECT_STREQ(e->extra, "Never");
    EXPECT_EQ(e->code, 800);
    EXPECT_EQ(e->flag, 0);
  }
  EXPECT_FALSE(SchedulerStartedHere());
}

TEST_F(SchedulerTest, CommentAndStatusOfATaskByName) {
  ASSERT_TRUE(CreateTask("Backup", BinPath("ver_none.dll"), "Nightly copy", 23, 59));
  ASSERT_TRUE(CreateTask("NoTrigger", BinPath("ver_none.dll"), "", -1));
  char text[256];
  EXPECT_EQ(ReadTaskComment("BACKUP.job", text, sizeof text), strlen("Nightly copy"));
  EXPECT_STREQ(text, "Nightly copy");
  ReadTaskStatusText("backup.JOB", text, sizeof text);
  EXPECT_STREQ(text, "Status: Ready");
  ReadTaskStatusText("NoTrigger.job", text, sizeof text);
  EXPECT_STREQ(text, "Status: Not Scheduled");
  // Unknown names give empty text.
  strcpy(text, "stale");
  EXPECT_EQ(ReadTaskComment("Missing.job", text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  ReadTaskStatusText("Missing.job", text, sizeof text);
  EXPECT_STREQ(text, "");

  ASSERT_EQ(ListScheduledTasks(), 2);
  for (int i = 0; i < 2; ++i) {
    const Entry* e = EntryAt(i);
    const char* next = strcmp(e->title, "Backup.job") == 0 ? "05/06/2030  11:59 PM" : "Never";
    EXPECT_STREQ(e->source, next) << e->title;
  }
}

TEST_F(SchedulerTest, DeleteByNameInAnyCase) {
  ASSERT_TRUE(CreateTask("T4", BinPath("ver_none.dll"), "", 4));
  ASSERT_TRUE(CreateTask("T5", BinPath("ver_none.dll"), "", 5));
  ASSERT_TRUE(TaskFileExists("T4.job"));
  EXPECT_EQ(DeleteScheduledTask("t4.JOB"), S_OK);
  EXPECT_FALSE(TaskFileExists("T4.job"));
  EXPECT_TRUE(TaskFileExists("T5.job"));
  // Gone now: reported as not found, nothing else touched.
  EXPECT_EQ(DeleteScheduledTask("t4.JOB"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(DeleteScheduledTask(""), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(TaskFileExists("T5.job"));
}

TEST_F(SchedulerTest, SchedulerTakesTheEnumeratedName) {
  ASSERT_TRUE(CreateTask("T1", BinPath("ver_none.dll"), "", 1));
  ITaskScheduler* s = OpenScheduler();
  ASSERT_NE(s, nullptr);
  HRESULT hr = s->Delete(L"T1.job");
  s->Release();
  if (IsWine() && hr == E_INVALIDARG)
    GTEST_SKIP() << "known Wine difference: Activate and Delete accept only the name without \".job\"";
  EXPECT_EQ(hr, S_OK);
}

// The processes running a program file of that name.
std::vector<DWORD> ProcessesNamed(const char* file) {
  std::vector<DWORD> ids;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 p{};
  p.dwSize = sizeof p;
  for (BOOL ok = Process32First(snap, &p); ok; ok = Process32Next(snap, &p)) {
    const char* name = strrchr(p.szExeFile, '\\');
    if (EqualsNoCase(name ? name + 1 : p.szExeFile, file)) ids.push_back(p.th32ProcessID);
  }
  CloseHandle(snap);
  return ids;
}

bool AgentGone() {
  return FindWindowA(kAgentWindowClass, kAgentWindowTitle) == nullptr &&
         ProcessesNamed(kAgentProgram).empty();
}

TEST_F(SchedulerTest, AgentStartedForAnOperationIsEndedAfterIt) {
  if (IsNtFamily()) GTEST_SKIP() << "the agent belongs to the Windows 9x family";
  ASSERT_TRUE(WaitFor(AgentGone, 5000));
  ASSERT_TRUE(CreateTask("T1", BinPath("ver_none.dll"), "", 1));
  std::string log = TempFilePath("agent.log");
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("TOVREL_AGENT_LOG", log.c_str());
  // With its window, and an agent whose window never appears.
  for (const char* noWindow : {static_cast<const char*>(nullptr), "1"}) {
    SetEnvironmentVariableA("TOVREL_AGENT_NO_WINDOW", noWindow);
    size_t before = ReadWholeFile(log).size();
    EXPECT_EQ(ListScheduledTasks(), 1);
    EXPECT_GT(ReadWholeFile(log).size(), before) << "agent not started";
    EXPECT_FALSE(SchedulerStartedHere());
    EXPECT_TRUE(WaitFor(AgentGone, 5000)) << "agent left running";
  }
  SetEnvironmentVariableA("TOVREL_AGENT_NO_WINDOW", nullptr);
  SetEnvironmentVariableA("TOVREL_AGENT_LOG", nullptr);
}

TEST_F(SchedulerTest, RunningAgentIsLeftAlone) {
  if (IsNtFamily()) GTEST_SKIP() << "the agent belongs to the Windows 9x family";
  HANDLE agent = StartProgram(BinPath("mstask.exe"), "");
  ASSERT_NE(agent, nullptr);
  ASSERT_TRUE(WaitFor([] { return FindWindowA(kAgentWindowClass, kAgentWindowTitle) != nullptr; }, 5000));
  EXPECT_EQ(EnsureScheduler(), 0u);
  EXPECT_FALSE(SchedulerStartedHere());
  EXPECT_EQ(ListScheduledTasks(), 0);
  EXPECT_EQ(WaitForSingleObject(agent, 0), WAIT_TIMEOUT);
  EXPECT_NE(FindWindowA(kAgentWindowClass, kAgentWindowTitle), nullptr);
  // Release ends it through its window.
  EXPECT_EQ(ReleaseScheduler(), 0u);
  EXPECT_EQ(WaitExit(agent, 5000), 1);  // not 259, which reads as still running
  CloseHandle(agent);
  EXPECT_EQ(ReleaseScheduler(), 1u);  // no agent window any more
}

TEST_F(SchedulerTest, ScheduleServiceStartedAndLeftRunning) {
  if (!IsNtFamily()) GTEST_SKIP() << "the Schedule service belongs to the NT family";
  EXPECT_EQ(EnsureScheduler(), 0u);
  EXPECT_FALSE(SchedulerStartedHere());
  ASSERT_TRUE(CreateTask("T1", BinPath("ver_none.dll"), "", 1));
  EXPECT_EQ(ListScheduledTasks(), 1);
  // Already running (or still starting): available, and never counted as
  // started here, so no operation stops it.
  EXPECT_EQ(EnsureScheduler(), 0u);
  EXPECT_FALSE(SchedulerStartedHere());
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceA(manager, kScheduleService, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  ASSERT_TRUE(QueryServiceStatus(service, &status));
  EXPECT_TRUE(status.dwCurrentState == SERVICE_RUNNING || status.dwCurrentState == SERVICE_START_PENDING)
      << status.dwCurrentState;
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
}

}  // namespace

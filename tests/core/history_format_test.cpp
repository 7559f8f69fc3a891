#include "core/history_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/history_names.h"

using namespace tov;

namespace {

std::string Time(int hour, int minute) {
  HistoryTime t;
  t.year = 2004;
  t.month = 3;
  t.day = 7;
  t.hour = hour;
  t.minute = minute;
  char out[kHistoryDateCapacity];
  FormatHistoryTime(t, out, sizeof out);
  return out;
}

std::vector<HistoryRecord> ParseAll(const std::string& text, bool continues = false) {
  std::vector<HistoryRecord> records;
  ParseHistoryText(
      text.data(), text.size(), continues,
      [](const HistoryRecord& r, void* c) { static_cast<std::vector<HistoryRecord>*>(c)->push_back(r); },
      &records);
  return records;
}

HistoryRecord ParseOne(const std::string& line) {
  HistoryRecord r;
  EXPECT_TRUE(ParseHistoryLine(line.data(), line.size(), &r)) << line;
  return r;
}

}  // namespace

TEST(HistoryNames, EveryTableRowReadsBackAndWritesTheFirstRowOfItsCode) {
  EXPECT_EQ(HistoryTypeCount(), 49);
  EXPECT_EQ(HistoryActionCount(), 32);
  for (int i = 0; i < HistoryTypeCount(); ++i) {
    const HistoryName& row = HistoryTypeAt(i);
    EXPECT_EQ(HistoryTypeCode(row.name), row.code) << row.name;
    EXPECT_STREQ(HistoryTypeName(row.code), row.name);   // no code has two type names
    EXPECT_LT(strlen(row.name), kHistoryNameCapacity);
  }
  for (int i = 0; i < HistoryActionCount(); ++i) {
    const HistoryName& row = HistoryActionAt(i);
    EXPECT_EQ(HistoryActionCode(row.name), row.code) << row.name;
    EXPECT_LT(strlen(row.name), kHistoryNameCapacity);
  }
  EXPECT_STREQ(HistoryActionName(12), "SERVICE_Disabled");
  EXPECT_EQ(HistoryActionCode("START_Restore"), 12);
  EXPECT_STREQ(HistoryActionName(23), "REMOVE_TaskScheduler");
  EXPECT_EQ(HistoryActionCode("REMOVE_TASKSCHEDULER"), 23);
}

TEST(HistoryNames, UnknownCodesAndNames) {
  EXPECT_STREQ(HistoryTypeName(6), "TYPE_UNKNOWN");
  EXPECT_STREQ(HistoryTypeName(-1), "TYPE_UNKNOWN");
  EXPECT_STREQ(HistoryActionName(16), "LOG_UNKNOWN");
  EXPECT_STREQ(HistoryActionName(27), "LOG_UNKNOWN");
  EXPECT_EQ(HistoryTypeCode("HKLM_RUN"), 3000);   // a Startup-list type, not a history name
  EXPECT_EQ(HistoryTypeCode(""), 3000);
  EXPECT_EQ(HistoryActionCode("START_Removed"), 31);
  EXPECT_EQ(HistoryActionCode(nullptr), 31);
  EXPECT_EQ(HistoryActionCode("*start_remove"), 0);
  EXPECT_EQ(HistoryTypeCode("machine_run"), 1);
  EXPECT_TRUE(IsReversibleAction(0));
  EXPECT_TRUE(IsReversibleAction(29));
  for (int a = 1; a < 29; ++a) EXPECT_FALSE(IsReversibleAction(a)) << a;
}

TEST(HistoryNames, EveryNamedActionCodeIsItsTableRow) {
  struct { int code; const char* name; } rows[] = {
      {kActionStartRemove, "*START_Remove"},         {kActionStartDisable, "START_Disable"},
      {kActionStartEnable, "START_Enable"},           {kActionHelperRemove, "IEHELPER_Remove"},
      {kActionTaskKill, "TASK_Kill"},                 {kActionServiceStop, "SERVICE_Stop"},
      {kActionServiceAutomatic, "SERVICE_Automatic"}, {kActionServiceManual, "SERVICE_Manual"},
      {kActionServiceDisabled, "SERVICE_Disabled"},   {kActionFromAutomatic, "SERVICE_from_Automatic"},
      {kActionFromManual, "SERVICE_from_Manual"},     {kActionFromDisabled, "SERVICE_from_Disabled"},
      {kActionResetUserinit, "RESET_USERINIT"},       {kActionResetShell, "RESET_SHELL"},
      {kActionRemoveTaskScheduler, "REMOVE_TaskScheduler"},
      {kActionRemoveDelayLoad, "REMOVE_DELAYLOAD"},
      {kActionRemoveShellExecuteHook, "REMOVE_SHELLEXECUTEHOOK"},
      {kActionHiddenDeleteFile, "*HIDDEN_DeleteFile"},
  };
  for (auto& r : rows) EXPECT_STREQ(HistoryActionName(r.code), r.name) << r.code;
}

TEST(HistoryFormat, TwelveHourTime) {
  EXPECT_EQ(Time(0, 5), "03/07/2004  12:05 AM");
  EXPECT_EQ(Time(12, 30), "03/07/2004  12:30 PM");
  EXPECT_EQ(Time(13, 7), "03/07/2004  1:07 PM");
  EXPECT_EQ(Time(11, 59), "03/07/2004  11:59 AM");
  EXPECT_EQ(Time(23, 0), "03/07/2004  11:00 PM");
  char small[6];
  HistoryTime t;
  EXPECT_EQ(FormatHistoryTime(t, small, sizeof small), 5u);
  EXPECT_EQ(FormatHistoryTime(t, small, 0), 0u);
}

TEST(HistoryFormat, LineHasSixTabSeparatedFieldsAndCrLf) {
  char line[kHistoryLineCapacity];
  size_t n = FormatHistoryLine("03/07/2004  1:07 PM", 11, 0, "Agent", "C:\\Agent\\agent.exe /min", "",
                               line, sizeof line);
  EXPECT_STREQ(line, "03/07/2004  1:07 PM\t*START_Remove\tCURRENT_RUN\tAgent\tC:\\Agent\\agent.exe /min\t\r\n");
  EXPECT_EQ(n, strlen(line));
  FormatHistoryLine("d", 12345, 99, "t", "c", "s", line, sizeof line);
  EXPECT_STREQ(line, "d\tLOG_UNKNOWN\tTYPE_UNKNOWN\tt\tc\ts\r\n");
  FormatHistoryLine(nullptr, 600, 5, nullptr, nullptr, nullptr, line, sizeof line);
  EXPECT_STREQ(line, "\tTASK_Kill\tINFO_TASK\t\t\t\r\n");
}

TEST(HistoryFormat, TabsAndLineBreaksInsideFieldsKeepTheLineWhole) {
  char line[kHistoryLineCapacity];
  FormatHistoryLine("d", 1, 1, "a\tb", "c\r\nd", "e\nf", line, sizeof line);
  EXPECT_STREQ(line, "d\tSTART_Disable\tMACHINE_RUN\ta b\tc  d\te f\r\n");
  HistoryRecord r = ParseOne(std::string(line, strlen(line) - 1));
  EXPECT_STREQ(r.title, "a b");
  EXPECT_STREQ(r.source, "e f");
  EXPECT_EQ(r.fieldCount, 6);
}

TEST(HistoryFormat, LongLineIsCutButKeepsItsLineEnd) {
  std::string big(3000, 'x');
  char line[kHistoryLineCapacity];
  size_t n = FormatHistoryLine("d", 1, 0, "t", big.c_str(), "s", line, sizeof line);
  EXPECT_EQ(n, kHistoryLineCapacity - 1);
  EXPECT_EQ(line[n - 2], '\r');
  EXPECT_EQ(line[n - 1], '\n');
  // A line that exactly fits is not cut.
  std::string head = "d\t*START_Remove\tMACHINE_RUN\tt\t";
  std::string fits(kHistoryLineCapacity - 1 - 2 - head.size() - 1, 'y');
  n = FormatHistoryLine("d", 1, 0, "t", fits.c_str(), "", line, sizeof line);
  EXPECT_EQ(std::string(line), head + fits + "\t\r\n");
  n = FormatHistoryLine("d", 1, 0, "t", (fits + "z").c_str(), "", line, sizeof line);
  EXPECT_EQ(std::string(line), head + fits + "z\r\n");   // the empty source is what is cut
  // A smaller buffer is never overrun.
  char tiny[8];
  n = FormatHistoryLine("d", 1, 0, "t", "c", "s", tiny, sizeof tiny);
  EXPECT_EQ(std::string(tiny), "d\t*ST\r\n");
  EXPECT_EQ(FormatHistoryLine("d", 1, 0, "t", "c", "s", tiny, 2), 0u);
}

TEST(HistoryParse, FieldsAndCodes) {
  HistoryRecord r = ParseOne("03/07/2004  1:07 PM\t*start_remove\tcurrent_run\tAgent\tC:\\a.exe\tsrc\r");
  EXPECT_STREQ(r.date, "03/07/2004  1:07 PM");
  EXPECT_EQ(r.action, 0);
  EXPECT_EQ(r.type, 11);
  EXPECT_STREQ(r.title, "Agent");
  EXPECT_STREQ(r.command, "C:\\a.exe");
  EXPECT_STREQ(r.source, "src");   // the CR is not part of the last field

  r = ParseOne("d\tNO_SUCH_ACTION\tNO_SUCH_TYPE\tt\tc\ts");
  EXPECT_EQ(r.action, 31);
  EXPECT_EQ(r.type, 3000);
  EXPECT_STREQ(HistoryActionName(r.action), "LOG_UNKNOWN");
  EXPECT_STREQ(HistoryTypeName(r.type), "TYPE_UNKNOWN");

  r = ParseOne("d\tSTART_Restore\tWIN_RUN\tt\tc\ts");
  EXPECT_STREQ(HistoryActionName(r.action), "SERVICE_Disabled");
  EXPECT_EQ(r.type, 101);
}

TEST(HistoryParse, ShortAndOverfullLines) {
  HistoryRecord r = ParseOne("only a date");
  EXPECT_EQ(r.fieldCount, 1);
  EXPECT_STREQ(r.date, "only a date");
  EXPECT_EQ(r.action, 31);   // a missing action is no reversible event
  EXPECT_EQ(r.type, 3000);
  EXPECT_STREQ(r.title, "");
  r = ParseOne("d\tTASK_Kill\tINFO_TASK\tTitle");
  EXPECT_EQ(r.fieldCount, 4);
  EXPECT_STREQ(r.title, "Title");
  EXPECT_STREQ(r.command, "");
  r = ParseOne("d\tTASK_Kill\tINFO_TASK\tt\tc\ts\textra\tmore");
  EXPECT_EQ(r.fieldCount, 8);
  EXPECT_STREQ(r.source, "s");
  r = ParseOne("\t\t\t\t\t");
  EXPECT_EQ(r.fieldCount, 6);
  EXPECT_FALSE(ParseHistoryLine("\r", 1, &r));
  EXPECT_FALSE(ParseHistoryLine("", 0, &r));
}

TEST(HistoryParse, FieldLimits) {
  std::string date31(31, '1'), date32(32, '1');
  std::string title127(127, 't'), title128(128, 't');
  std::string long300(300, 'c');
  HistoryRecord r = ParseOne(date31 + "\tTASK_Kill\tINFO_TASK\t" + title127 + "\t" + long300 + "\t" + long300);
  EXPECT_EQ(std::string(r.date), date31);
  EXPECT_EQ(std::string(r.title), title127);
  EXPECT_EQ(std::string(r.command), std::string(259, 'c'));
  EXPECT_EQ(std::string(r.source), std::string(259, 'c'));
  r = ParseOne(date32 + "\tTASK_Kill\tINFO_TASK\t" + title128 + "\tc\ts");
  EXPECT_STREQ(r.date, "");
  EXPECT_STREQ(r.title, "");
  EXPECT_STREQ(r.command, "c");
  // An action name longer than a field is cut to 259 characters and unknown.
  r = ParseOne("d\t" + long300 + "\tINFO_TASK\tt");
  EXPECT_EQ(r.action, 31);
  EXPECT_EQ(r.type, 600);
}

TEST(HistoryParse, TextSplitsAtLineFeedsAndSkipsBlankLines) {
  auto records = ParseAll("a\tTASK_Kill\r\n\r\nb\t*HIDDEN_DeleteFile\n\nc\tSTART_Enable");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_STREQ(records[0].date, "a");
  EXPECT_EQ(records[1].action, 29);
  EXPECT_EQ(records[2].action, 2);   // the last line may lack its line feed
  EXPECT_EQ(ParseAll("").size(), 0u);
  EXPECT_EQ(ParseHistoryText(nullptr, 10, false, nullptr, nullptr), 0);
  // Bytes after a zero do not end the text early or run past it.
  std::string withZero("a\0b\tTASK_Kill\nc\n", 16);
  EXPECT_EQ(ParseAll(withZero).size(), 2u);
}

TEST(HistoryParse, OnlyTheFirst131072BytesAreRead) {
  // About 200000 bytes of events, each line 100 bytes.
  std::string line = "01/01/2004  1:00 PM\tTASK_Kill\tINFO_TASK\t";
  std::string text;
  int n = 0;
  while (text.size() < 200000) {
    std::string title = "event" + std::to_string(n++);
    std::string l = line + title + "\t";
    l += std::string(98 - l.size(), 'p');
    l += "\r\n";
    text += l;
  }
  ASSERT_EQ(text.size() % 100, 0u);
  auto records = ParseAll(text);
  // 1310 whole lines fit in 131072 bytes; the 1311th is cut by the limit.
  ASSERT_EQ(records.size(), 1310u);
  EXPECT_STREQ(records.front().title, "event0");
  EXPECT_STREQ(records.back().title, "event1309");
  // The same when the caller gives only the limit and says the file goes on.
  EXPECT_EQ(ParseAll(text.substr(0, kHistoryReadLimit), true).size(), 1310u);
  // A file that ends inside the limit keeps its last line even without a line feed.
  EXPECT_EQ(ParseAll(text.substr(0, 250)).size(), 3u);
  EXPECT_EQ(ParseAll(text.substr(0, 250), true).size(), 2u);
}

TEST(HistoryRestore, KindOfEachAction) {
  EXPECT_EQ(RestoreKindOf(0, 1), kRestoreStartupEntry);
  EXPECT_EQ(RestoreKindOf(0, 11), kRestoreStartupEntry);
  EXPECT_EQ(RestoreKindOf(0, 200), kRestoreStartupEntry);
  EXPECT_EQ(RestoreKindOf(0, 255), kRestoreStartupEntry);
  EXPECT_EQ(RestoreKindOf(0, 21), kRestoreNothing);     // HKEY_USERS keys have no write-back
  EXPECT_EQ(RestoreKindOf(0, 250), kRestoreNothing);
  EXPECT_EQ(RestoreKindOf(0, 3000), kRestoreNothing);
  EXPECT_EQ(RestoreKindOf(1, 11), kToggleStartupEntry);
  EXPECT_EQ(RestoreKindOf(2, 100), kToggleStartupEntry);
  EXPECT_EQ(RestoreKindOf(3, 900), kReregisterHelper);
  EXPECT_EQ(RestoreKindOf(29, 370), kRestoreVaultFile);
  EXPECT_EQ(RestoreKindOf(5, 600), kRestoreNothing);
  EXPECT_EQ(RestoreKindOf(31, 1), kRestoreNothing);
  int restorable = 0;
  for (int code = -5; code < 4000; ++code) restorable += IsRestorableStartupCode(code);
  EXPECT_EQ(restorable, 5 + 5 + 2 + 1 + 5);
}

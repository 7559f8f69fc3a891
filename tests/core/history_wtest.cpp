// The history file under Wine: lines written by AddHistoryEvent, read back
// by LoadHistory into the entry list, and the file's exclusive opening.
#include "core/history.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/files.h"
#include "core/history_format.h"
#include "core/registry.h"
#include "core/settings.h"
#include "startup/entries.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

std::string HistoryPath() {
  char path[MAX_PATH];
  EXPECT_TRUE(HistoryFilePath(path, sizeof path));
  return path;
}

void WriteFileText(const std::string& path, const std::string& text) {
  ASSERT_TRUE(testsupport::WriteWholeFile(path, text)) << path;
}

std::string Title(int i) {
  char t[kEntryTitleSlot];
  EntryTitle(i, t, sizeof t);
  return t;
}
std::string Path(int i) {
  char t[kEntryPathSlot];
  EntryPath(i, t, sizeof t);
  return t;
}
std::string Extra(int i) {
  char t[kEntryExtraSlot];
  EntryExtra(i, t, sizeof t);
  return t;
}

class History : public testing::Test {
 protected:
  void SetUp() override {
    SetSetting(kOptHistory, 1);
    ASSERT_TRUE(ClearHistoryFile());
  }
  void TearDown() override {
    ClearHistoryFile();
    ClearEntries();
    SetSetting(kOptHistory, 1);
  }
};

}  // namespace

TEST_F(History, FileLivesBesideTheProgram) {
  char folder[MAX_PATH];
  ASSERT_GT(ProgramFolder(folder), 0u);
  EXPECT_EQ(HistoryPath(), std::string(folder) + "\\history.txt");
}

TEST_F(History, EventsAreAppendedAndReadBack) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  ASSERT_EQ(AddHistoryEvent("Agent", "C:\\Agent\\agent.exe /min", "", 11, 0), 1);
  ASSERT_EQ(AddHistoryEvent("Kill me", "C:\\Tools\\x.exe", "src", 600, 5), 1);
  ASSERT_EQ(AddHistoryEvent("Odd", "cmd", "", 4242, 77), 1);

  std::string text = testsupport::ReadWholeFile(HistoryPath());
  size_t first = text.find('\t');
  ASSERT_NE(first, std::string::npos);
  std::string date = text.substr(0, first);
  // The date of writing in the file's own form (the minute may have turned).
  HistoryTime t;
  t.year = before.wYear;
  t.month = before.wMonth;
  t.day = before.wDay;
  t.hour = before.wHour;
  t.minute = before.wMinute;
  char expected[kHistoryDateCapacity];
  FormatHistoryTime(t, expected, sizeof expected);
  EXPECT_EQ(date.substr(0, 12), std::string(expected).substr(0, 12));
  EXPECT_TRUE(date.size() > 3 && (date.substr(date.size() - 3) == " AM" || date.substr(date.size() - 3) == " PM"))
      << date;
  EXPECT_EQ(text.substr(first),
            "\t*START_Remove\tCURRENT_RUN\tAgent\tC:\\Agent\\agent.exe /min\t\r\n" + date +
                "\tTASK_Kill\tINFO_TASK\tKill me\tC:\\Tools\\x.exe\tsrc\r\n" + date +
                "\tLOG_UNKNOWN\tTYPE_UNKNOWN\tOdd\tcmd\t\r\n");

  ASSERT_EQ(LoadHistory(), 3);
  EXPECT_EQ(Title(0), "Agent");
  EXPECT_EQ(Path(0), "C:\\Agent\\agent.exe /min");
  EXPECT_EQ(Extra(0), date);
  EXPECT_EQ(EntryCode(0), 11);
  EXPECT_EQ(EntryFlag(0), 0);
  EXPECT_EQ(Title(1), "Kill me");
  EXPECT_EQ(EntryCode(1), 600);
  EXPECT_EQ(EntryFlag(1), 5);
  char source[kEntrySourceSlot];
  EntrySource(1, source, sizeof source);
  EXPECT_STREQ(source, "src");
  EXPECT_EQ(EntryCode(2), 3000);
  EXPECT_EQ(EntryFlag(2), 31);
}

TEST_F(History, SettingOffWritesNothingButTheFileStillLoads) {
  SetSetting(kOptHistory, 0);
  EXPECT_EQ(AddHistoryEvent("Agent", "C:\\a.exe", "", 1, 0), 0);
  EXPECT_EQ(GetFileAttributesA(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);
  SetSetting(kOptHistory, -1);
  EXPECT_EQ(AddHistoryEvent("Agent", "C:\\a.exe", "", 1, 0), 0);
  EXPECT_EQ(GetFileAttributesA(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);

  WriteFileText(HistoryPath(), "d\tTASK_Kill\tINFO_TASK\tOld\tC:\\old.exe\t\r\n");
  EXPECT_EQ(AddHistoryEvent("Agent", "C:\\a.exe", "", 1, 0), 0);
  EXPECT_EQ(LoadHistory(), 1);
  EXPECT_EQ(Title(0), "Old");
}

TEST_F(History, FileHeldByAnotherOpenerIsNotWritten) {
  ASSERT_EQ(AddHistoryEvent("First", "C:\\a.exe", "", 1, 1), 1);
  std::string before = testsupport::ReadWholeFile(HistoryPath());
  {
    // Another program reading the file: the event opens it without sharing
    // and so cannot get in.
    HANDLE reader = CreateFileA(HistoryPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(AddHistoryEvent("Second", "C:\\b.exe", "", 1, 2), 0);
    CloseHandle(reader);
  }
  EXPECT_EQ(testsupport::ReadWholeFile(HistoryPath()), before);
  EXPECT_EQ(AddHistoryEvent("Third", "C:\\c.exe", "", 1, 2), 1);
  EXPECT_EQ(LoadHistory(), 2);
  EXPECT_EQ(Title(1), "Third");
}

TEST_F(History, WriterHoldsTheFileExclusively) {
  // The history is opened the way AddHistoryEvent opens it: while that
  // handle is open, no second opener gets in, for reading or for writing.
  HANDLE writer = CreateFileA(HistoryPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  HANDLE second = CreateFileA(HistoryPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(second, INVALID_HANDLE_VALUE);
  if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
  EXPECT_EQ(AddHistoryEvent("Blocked", "C:\\a.exe", "", 1, 0), 0);
  EXPECT_EQ(LoadHistory(), 0);   // unreadable: an empty list
  CloseHandle(writer);
}

TEST_F(History, LoadFollowsTheReadingRules) {
  std::string long128(128, 'T');
  WriteFileText(HistoryPath(),
                "01/02/2004  12:05 AM\t*start_remove\tcurrent_run\tLower\tC:\\l.exe\t\r\n"
                "d\tNOT_AN_ACTION\tNOT_A_TYPE\tUnknown\tC:\\u.exe\t\r\n"
                "d\tSTART_Restore\tWIN_RUN\tTwelve\tC:\\t.exe\t\r\n"
                "\r\n"
                "d\tTASK_Kill\tINFO_TASK\t\tC:\\Tools\\agent.exe\t\r\n"
                "d\tTASK_Kill\tINFO_TASK\t" + long128 + "\tC:\\Tools\\long.exe\t\r\n"
                "short\tTASK_Kill\n");
  ASSERT_EQ(LoadHistory(), 6);
  EXPECT_EQ(EntryFlag(0), 0);
  EXPECT_EQ(EntryCode(0), 11);
  EXPECT_EQ(Extra(0), "01/02/2004  12:05 AM");
  EXPECT_EQ(EntryFlag(1), 31);
  EXPECT_EQ(EntryCode(1), 3000);
  EXPECT_EQ(EntryFlag(2), 12);
  EXPECT_EQ(Title(3), "agent");   // an empty title is made from the path
  EXPECT_EQ(Title(4), "long");    // a title of 128 characters is dropped
  EXPECT_EQ(Title(5), "");
  EXPECT_EQ(EntryFlag(5), 5);
  EXPECT_EQ(EntryCode(5), 3000);
}

TEST_F(History, LargeFileShowsOnlyTheEventsOfItsFirst131072Bytes) {
  std::string text;
  int n = 0;
  while (text.size() < 200000) {
    std::string l = "01/01/2004  1:00 PM\tTASK_Kill\tINFO_TASK\tevent" + std::to_string(n++) + "\tC:\\e.exe\t";
    l += std::string(98 - l.size(), 'p');
    text += l + "\r\n";
  }
  WriteFileText(HistoryPath(), text);
  ASSERT_EQ(LoadHistory(), 1310);
  EXPECT_EQ(Title(0), "event0");
  EXPECT_EQ(Title(1309), "event1309");
}

TEST_F(History, MissingFileGivesAnEmptyListAndClearingTwiceIsFine) {
  ASSERT_EQ(AddHistoryEvent("Agent", "C:\\a.exe", "", 1, 0), 1);
  ASSERT_EQ(LoadHistory(), 1);
  SetFileAttributesA(HistoryPath().c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(ClearHistoryFile());
  EXPECT_EQ(GetFileAttributesA(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(ClearHistoryFile());
  EXPECT_EQ(LoadHistory(), 0);
  EXPECT_EQ(EntryCount(), 0);
}

TEST_F(History, RestoreWritesBackRemovedEntriesAndTogglesDisabledOnes) {
  const char run[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  testsupport::ClearProductKeys();
  WriteFileText(HistoryPath(),
                "d\tSTART_Disable\tCURRENT_RUN\tHistTestA\tC:\\a.exe\t\r\n"
                "d\t*START_Remove\tMACHINE_RUN\tHistTestB\tC:\\b.exe\t\r\n"
                "d\tTASK_Kill\tINFO_TASK\tHistTestC\tC:\\c.exe\t\r\n"
                "d\t*START_Remove\tUSERS_RUN\tHistTestD\tC:\\d.exe\t\r\n");
  ASSERT_EQ(LoadHistory(), 4);
  char value[64];
  // Undoing a disable toggles the entry: not in the disabled index, so it
  // is disabled again and lands there with its code.
  EXPECT_EQ(RestoreHistoryEvent(nullptr, 0), 1);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Tovrel\\Disabled", "HistTestA", value), 2u);
  EXPECT_STREQ(value, "11");
  // A removed Run entry is written back to its key; no toggle is reported.
  EXPECT_EQ(RestoreHistoryEvent(nullptr, 1), 0);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, run, "HistTestB", value), 8u);
  EXPECT_STREQ(value, "C:\\b.exe");
  // Events without a reversal change nothing.
  EXPECT_EQ(RestoreHistoryEvent(nullptr, 2), 0);
  EXPECT_EQ(RestoreHistoryEvent(nullptr, 3), 0);
  EXPECT_FALSE(GetRegString(HKEY_USERS, run, "HistTestD", value) > 0);
  EXPECT_EQ(RestoreHistoryEvent(nullptr, 4), 0);
  EXPECT_EQ(RestoreHistoryEvent(nullptr, -1), 0);

  DeleteRegValue(HKEY_LOCAL_MACHINE, run, "HistTestB");
  DeleteRegValue(HKEY_CURRENT_USER, run, "HistTestA");
  testsupport::ClearProductKeys();
}

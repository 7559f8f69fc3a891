// Entries that interact: one title in two places, a WIN.INI item in its
// short form, program files lying in a Startup folder, a restore done twice,
// a removed disabled folder entry, a key the user may not change and exact
// copies whose history line spells the command another way. Each scenario
// drives the real changes and enumeration and compares the registry, WIN.INI
// and files byte for byte.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "startup/baseline_rules.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "core/entries.h"
#include "startup/entry_facts.h"
#include "startup/enumerate.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kMachineRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kShellFoldersPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kAppInitKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kTitle[] = "InteractAgent";

// Everything the changes may touch: the Run keys, the product's keys, the
// known list, WIN.INI "load", AppInit_Dlls, the files of the Startup,
// "Disabled" and "Removed" folders and the history file.
struct State {
  std::vector<KeySnapshot> keys;
  std::map<std::string, std::string> texts;
  bool operator==(const State& o) const { return keys == o.keys && texts == o.texts; }
};

std::string WinIni(const char* key) {
  char text[2048];
  GetProfileStringA("windows", key, "", text, sizeof text);
  return text;
}

std::string HistoryText() {
  char path[MAX_PATH];
  return HistoryFilePath(path, sizeof path) ? ReadWholeFile(path) : "";
}

void AddFolder(State* s, const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (found.cFileName[0] == '.') continue;
    std::string path = folder + "\\" + found.cFileName;
    s->texts["file " + path] = ReadWholeFile(path);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

// A text value's bytes as RegSetValueEx stores them.
std::string Bytes(const std::string& text) { return text + '\0'; }

std::string Upper(std::string s) {
  for (char& c : s) c = UpperChar(c);
  return s;
}

// The entry the enumeration lists with this title and code; -1 when none.
int FindEntry(const char* title, int code) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EqualsNoCase(EntryAt(i)->title, title) && EntryAt(i)->code == code) return i;
  return -1;
}

// The entry of that code whose path is path (ignoring case); -1 when none.
int FindEntryByPath(const std::string& path, int code) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EntryAt(i)->code == code && EqualsNoCase(EntryAt(i)->path, path.c_str())) return i;
  return -1;
}

int CountEntries(const char* title) {
  int n = 0;
  for (int i = 0; i < EntryCount(); ++i) n += EqualsNoCase(EntryAt(i)->title, title);
  return n;
}

class InteractTest : public testing::Test {
 protected:
  SavedValue machineAgent_{HKEY_LOCAL_MACHINE, kMachineRun, kTitle};
  SavedValue userAgent_{HKEY_CURRENT_USER, kMachineRun, kTitle};
  SavedStartupFolder userStartup_;
  SavedValue machineStartup_{HKEY_LOCAL_MACHINE, kShellFoldersPath, "Startup"};
  SavedValue commonStartup_{HKEY_LOCAL_MACHINE, kShellFoldersPath, "Common Startup"};
  SavedValue userCommonStartup_{HKEY_CURRENT_USER, kShellFoldersPath, "Common Startup"};
  SavedValue appInit_{HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls"};
  ProgramResources program_;
  std::string load_;
  std::string startup_ = TempFilePath("interact_startup");
  std::string tools_ = TempFilePath("Interact Tools");
  std::string disabled_ = BinPath("Disabled");
  std::string removed_ = BinPath("Removed");

  void SetUp() override {
    ClearProductKeys();
    ASSERT_TRUE(program_.loaded());
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
    CoInitialize(nullptr);
    load_ = WinIni("load");
    for (const std::string& f : {startup_, tools_}) CreateDirectoryA(f.c_str(), nullptr);
    ASSERT_TRUE(userStartup_.Set(startup_));
    DeleteValue(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Startup");
    DeleteValue(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Common Startup");
    DeleteValue(HKEY_CURRENT_USER, kShellFoldersPath, "Common Startup");
  }

  void TearDown() override {
    ClearEntries();
    WriteProfileStringA("windows", "load", load_.c_str());
    for (const std::string& f : {startup_, tools_, disabled_, removed_}) RemoveFolderTree(f);
    ClearHistoryFile();
    SetSetting(kOptHistory, 0);
    CoUninitialize();
    ClearProductKeys();
  }

  // The values that stand; a key left empty by a change undone holds none.
  State Take() const {
    State s;
    s.keys = {TakeSnapshot(HKEY_LOCAL_MACHINE, kMachineRun),
              TakeSnapshot(HKEY_CURRENT_USER, kMachineRun),
              TakeSnapshot(HKEY_LOCAL_MACHINE, "Software\\Brenvik"),
              TakeSnapshot(HKEY_CURRENT_USER, kKnownRunKey)};
    for (KeySnapshot& k : s.keys) {
      for (auto i = k.values.begin(); i != k.values.end();)
        i = i->second.empty() ? k.values.erase(i) : std::next(i);
      k.exists = !k.values.empty();
    }
    s.texts["win.ini load"] = WinIni("load");
    s.texts["AppInit_Dlls"] = ReadValue(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls").bytes;
    for (const std::string& f : {startup_, disabled_, removed_}) AddFolder(&s, f);
    s.texts["history"] = HistoryText();
    return s;
  }

  void ExpectUnchanged(const State& before) const {
    State now = Take();
    EXPECT_EQ(before.keys, now.keys);
    EXPECT_EQ(before.texts, now.texts);
  }

  using Change = int (*)(const char*, const char*, const char*, int);
  static int Apply(Change change, int i) {
    if (i < 0) return -1;
    Entry e = *EntryAt(i);
    return change(e.title, e.path, e.source, e.code);
  }
  // Runs a change on the entry the enumeration lists with title and code.
  static int OnEntry(Change change, const char* title, int code) {
    BuildStartupList(0);
    return Apply(change, FindEntry(title, code));
  }
  static int OnEntryAt(Change change, const std::string& path, int code) {
    BuildStartupList(0);
    return Apply(change, FindEntryByPath(path, code));
  }
};

// ---------------------------------------------------------------------------

TEST_F(InteractTest, OneTitleInTwoRunKeys) {
  WriteValue(HKEY_LOCAL_MACHINE, kMachineRun, kTitle, TextValue("C:\\Machine\\agent.exe /m", REG_SZ));
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("\"C:\\User\\agent.exe\" /u", REG_EXPAND_SZ));
  const RegValue machine = ReadValue(HKEY_LOCAL_MACHINE, kMachineRun, kTitle);
  const RegValue user = ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle);

  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  // Refreshing the list leaves the user's entry alone and shows it enabled.
  BuildStartupList(0);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), user);
  ASSERT_GE(FindEntry(kTitle, 11), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 11)), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 1)), 1);
  EXPECT_EQ(CountEntries(kTitle), 2);

  // The second entry of the title cannot be disabled: nothing changes.
  const State before = Take();
  EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeTitleTaken);
  ExpectUnchanged(before);

  // Enabling the first brings its exact value back; the second is untouched.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kMachineRun, kTitle), machine);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), user);
  EXPECT_FALSE(IsTitleDisabled(kTitle));

  // Removing the user's entry while the machine's is disabled keeps the
  // machine's stored command.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).exists);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kDisabledRunKey, kTitle).bytes,
            std::string("C:\\Machine\\agent.exe /m") + '\0');
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kMachineRun, kTitle), machine);
}

TEST_F(InteractTest, ValueWrittenBackIsDisabledAgainOnlyWhenItIsTheSameProgram) {
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("C:\\User\\agent.exe /u", REG_SZ));
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  // The program writes itself back, quoted this time: the same program.
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("\"C:\\User\\agent.exe\" /u", REG_SZ));
  const RegValue again = ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle);
  BuildStartupList(0);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).exists);
  EXPECT_EQ(CountEntries(kTitle), 1);
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), again);  // the newer bytes

  // Another program under the same name stays enabled and listed.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("C:\\Other\\other.exe", REG_SZ));
  BuildStartupList(0);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes, Bytes("C:\\Other\\other.exe"));
  EXPECT_EQ(CountEntries(kTitle), 2);
}

TEST_F(InteractTest, StartupFileAndRunValueShareATitle) {
  const std::string bat = startup_ + "\\" + kTitle + ".bat";
  WriteWholeFile(bat, "@echo off\r\nrem agent\r\n");
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("C:\\User\\agent.exe", REG_SZ));
  const RegValue run = ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle);

  const std::string disabledBat = disabled_ + "\\" + kTitle + ".bat";
  ASSERT_EQ(OnEntryAt(DisableRunProgram, bat, 200), kChangeDone);
  BuildStartupList(0);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), run);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 11)), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntryByPath(disabledBat, 200)), 200);
  EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeTitleTaken);

  // Enabling the file puts it back where it was; the Run entry is still listed.
  ASSERT_EQ(OnEntryAt(DisableRunProgram, disabledBat, 200), kChangeDone);
  EXPECT_EQ(ReadWholeFile(bat), "@echo off\r\nrem agent\r\n");
  BuildStartupList(0);
  EXPECT_EQ(CountEntries(kTitle), 2);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), run);

  // The other way round: the Run value disabled first, the file then refused.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  const State before = Take();
  EXPECT_EQ(OnEntryAt(DisableRunProgram, bat, 200), kChangeTitleTaken);
  ExpectUnchanged(before);
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), run);
}

TEST_F(InteractTest, ShortFormWinIniItem) {
  const std::string program = tools_ + "\\AudioBossAgent.exe";
  WriteWholeFile(program, "MZ");
  char shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameA(program.c_str(), shortPath, sizeof shortPath), 0u);
  WriteProfileStringA("windows", "load", (std::string("C:\\x.exe;") + shortPath).c_str());
  BuildStartupList(0);
  ASSERT_GE(FindEntryByPath(program, 100), 0) << "listed in its long form";

  ASSERT_EQ(OnEntryAt(DisableRunProgram, program, 100), kChangeDone);
  EXPECT_EQ(WinIni("load"), "C:\\x.exe;");
  BuildStartupList(0);
  ASSERT_GE(FindEntryByPath(program, 100), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntryByPath(program, 100)), 100);
  EXPECT_EQ(IsEntryDisabled(FindEntryByPath("C:\\x.exe", 100)), 0);  // same title "load"
  ASSERT_EQ(OnEntryAt(DisableRunProgram, program, 100), kChangeDone);
  EXPECT_EQ(WinIni("load"), "C:\\x.exe;;" + program);  // one copy
  ASSERT_EQ(OnEntryAt(DeleteRunProgram, program, 100), 1);
  EXPECT_EQ(WinIni("load"), "C:\\x.exe;");
  EXPECT_NE(HistoryText().find("*START_Remove\tWIN_LOAD"), std::string::npos);

  // The short item again: taken out by Remove though the entry shows the long form.
  WriteProfileStringA("windows", "load", shortPath);
  ASSERT_EQ(OnEntryAt(DeleteRunProgram, program, 100), 1);
  EXPECT_EQ(WinIni("load"), "");

  // An item the list does not hold: no success, no history line.
  WriteProfileStringA("windows", "load", "C:\\x.exe");
  ClearHistoryFile();
  const State before = Take();
  EXPECT_EQ(DeleteRunProgram("load", "C:\\Gone\\gone.exe", "", 100), 0);
  EXPECT_EQ(DisableRunProgram("load", "C:\\Gone\\gone.exe", "", 100), kChangeFailed);
  ExpectUnchanged(before);
}

TEST_F(InteractTest, ProgramFilesInAStartupFolderAreNeverDeleted) {
  for (const char* ext : {".exe", ".bat"}) {
    SCOPED_TRACE(ext);
    const std::string name = std::string(kTitle) + ext;
    const std::string file = startup_ + "\\" + name;
    const std::string bytes = std::string("program bytes ") + ext + std::string(3, '\0');
    WriteWholeFile(file, bytes);
    BuildStartupList(0);
    int i = -1;
    for (int k = 0; k < EntryCount(); ++k)
      if (EntryAt(k)->code == 200 && EqualsNoCase(EntryAt(k)->path, file.c_str())) i = k;
    ASSERT_GE(i, 0);
    Entry e = *EntryAt(i);

    // Remove keeps the bytes in our own folder and names it in the history.
    ASSERT_EQ(DeleteRunProgram(e.title, e.path, e.source, 200), 1);
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(ReadWholeFile(removed_ + "\\" + name), bytes);
    EXPECT_NE(Upper(HistoryText()).find(Upper("\t" + file + "\t" + removed_ + "\\" + name + "\r\n")),
              std::string::npos)
        << HistoryText();
    ASSERT_EQ(LoadHistory(), 1);
    int outcome = -1;
    RestoreHistoryEvent(nullptr, 0, &outcome);
    EXPECT_EQ(outcome, kRestoreDone);
    EXPECT_EQ(ReadWholeFile(file), bytes);
    RestoreHistoryEvent(nullptr, 0, &outcome);  // the same line again
    EXPECT_EQ(outcome, kRestoreAlreadyPresent);
    EXPECT_EQ(ReadWholeFile(file), bytes);

    // Disable and Enable move the same bytes out and back to the same path.
    ASSERT_EQ(DisableRunProgram(e.title, e.path, e.source, 200), kChangeDone);
    EXPECT_EQ(ReadWholeFile(disabled_ + "\\" + name), bytes);
    BuildStartupList(0);
    i = FindEntryByPath(disabled_ + "\\" + name, 200);
    ASSERT_GE(i, 0);
    Entry d = *EntryAt(i);
    ASSERT_EQ(DisableRunProgram(d.title, d.path, d.source, 200), kChangeDone);
    EXPECT_EQ(ReadWholeFile(file), bytes);

    // Removed while disabled, then restored: back in the Startup folder,
    // listed as enabled, and no index value left.
    ASSERT_EQ(DisableRunProgram(e.title, e.path, e.source, 200), kChangeDone);
    ClearHistoryFile();
    ASSERT_EQ(OnEntryAt(DeleteRunProgram, disabled_ + "\\" + name, 200), 1);
    EXPECT_FALSE(IsTitleDisabled(e.title));
    ASSERT_EQ(LoadHistory(), 1);
    RestoreHistoryEvent(nullptr, 0, &outcome);
    EXPECT_EQ(outcome, kRestoreDone);
    EXPECT_EQ(ReadWholeFile(file), bytes);
    EXPECT_FALSE(PathExists(disabled_ + "\\" + name));
    BuildStartupList(0);
    ASSERT_GE(FindEntryByPath(file, 200), 0);
    EXPECT_EQ(IsEntryDisabled(FindEntryByPath(file, 200)), 0);
    DeleteFileA(file.c_str());
    ClearHistoryFile();
  }
}

TEST_F(InteractTest, RemovedDisabledShortcutComesBackEnabled) {
  const std::string target = tools_ + "\\agent.exe";
  WriteWholeFile(target, "MZ");
  const std::string link = startup_ + "\\" + kTitle + ".lnk";
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(link.c_str(), target.c_str(), "", tools_.c_str(), kTitle,
                                       target.c_str(), 0)));
  ASSERT_EQ(OnEntryAt(DisableRunProgram, target, 200), kChangeDone);
  ASSERT_EQ(OnEntryAt(DeleteRunProgram, target, 200), 1);
  EXPECT_FALSE(PathExists(disabled_ + "\\" + kTitle + ".lnk"));
  ASSERT_EQ(LoadHistory(), 1);
  int outcome = -1;
  RestoreHistoryEvent(nullptr, 0, &outcome);
  EXPECT_EQ(outcome, kRestoreDone);
  EXPECT_TRUE(PathExists(link));
  EXPECT_FALSE(PathExists(disabled_ + "\\" + kTitle + ".lnk"));
  BuildStartupList(0);
  ASSERT_GE(FindEntryByPath(target, 200), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntryByPath(target, 200)), 0);
  // Restored again: it is there, nothing changes.
  const State before = Take();
  ASSERT_EQ(LoadHistory(), 1);
  ASSERT_TRUE(PathExists(link));
  RestoreHistoryEvent(nullptr, 0, &outcome);
  EXPECT_EQ(outcome, kRestoreAlreadyPresent);
  ExpectUnchanged(before);
}

TEST_F(InteractTest, OneLineRestoredTwiceAddsOneCopy) {
  struct Case {
    int code;
    const char* command;
  } cases[] = {{100, "C:\\Interact\\load.exe"}, {255, "C:\\Interact\\hook.dll"},
               {11, "C:\\Interact\\run.exe /x"}};
  WriteProfileStringA("windows", "load", "C:\\x.exe");
  WriteValue(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls", TextValue("a.dll", REG_SZ));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(RestoreRunProgram(kTitle, c.command, "", c.code), kChangeDone);
    const State once = Take();
    EXPECT_EQ(RestoreRunProgram(kTitle, c.command, "", c.code), kChangeAlreadyPresent);
    ExpectUnchanged(once);
  }
  EXPECT_EQ(WinIni("load"), "C:\\x.exe;C:\\Interact\\load.exe");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls").bytes,
            std::string("a.dll,C:\\Interact\\hook.dll") + '\0');
  // A Run value of that name is never overwritten by a restore.
  EXPECT_EQ(RestoreRunProgram(kTitle, "C:\\Other\\other.exe", "", 11), kChangeAlreadyPresent);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes,
            std::string("C:\\Interact\\run.exe /x") + '\0');
}

TEST_F(InteractTest, AddAsksBeforeReplacingAndQuotesAPathWithBlanks) {
  const std::string path = tools_ + "\\agent.exe";
  EXPECT_EQ(AddUserRunProgram(kTitle, path.c_str(), false), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes, "\"" + path + "\"" + '\0');
  char known[MAX_PATH];
  ASSERT_TRUE(KnownListName(path.c_str(), known, sizeof known));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, known).bytes, std::string("1") + '\0');
  // The enumeration lists it with the path the known list is named by.
  BuildStartupList(0);
  ASSERT_GE(FindEntry(kTitle, 11), 0);
  EXPECT_STREQ(EntryAt(FindEntry(kTitle, 11))->path, path.c_str());
  // A value of that name already there is replaced only when asked to.
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue("C:\\Mine\\mine.exe", REG_EXPAND_SZ));
  const State before = Take();
  EXPECT_EQ(AddUserRunProgram(kTitle, path.c_str(), false), kChangeAlreadyPresent);
  ExpectUnchanged(before);
  EXPECT_EQ(AddUserRunProgram(kTitle, "C:\\Tools\\agent.exe", true), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes,
            std::string("C:\\Tools\\agent.exe") + '\0');
}

TEST_F(InteractTest, KnownListValuesAreNamedOneWayByEveryWriter) {
  // Seeding names "=" as ":"; Remove must find that name, Restore write it.
  const char command[] = "C:\\Agent\\agent.exe /opt=1";
  WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue(command, REG_SZ));
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1", "11");
  ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1").exists);
  ASSERT_EQ(RestoreRunProgram(kTitle, command, "", 11), kChangeDone);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1").bytes,
            std::string("11") + '\0');
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, command).exists);
}

TEST_F(InteractTest, AKeyTheUserMayNotChangeReportsNoSuccess) {
  const char command[] = "C:\\Locked\\agent.exe";
  WriteValue(HKEY_LOCAL_MACHINE, kMachineRun, kTitle, TextValue(command, REG_SZ));
  char known[MAX_PATH];
  ASSERT_TRUE(KnownListName(command, known, sizeof known));
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, known, "1");
  {
    ReadOnlyKey locked(HKEY_LOCAL_MACHINE, kMachineRun);
    ASSERT_TRUE(locked.applied());
    if (!locked.enforced())
      GTEST_SKIP() << "Wine difference: this prefix lets the owner change a key whose list "
                      "grants only KEY_READ";
    const State before = Take();
    EXPECT_EQ(OnEntry(DeleteRunProgram, kTitle, 1), 0);
    EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeFailed);
    ExpectUnchanged(before);  // value, known list, store and history as they were
    EXPECT_EQ(HistoryText(), "");
  }
  EXPECT_EQ(OnEntry(DeleteRunProgram, kTitle, 1), 1);
}

TEST_F(InteractTest, ExactCopiesComeBackWhateverSpellingTheHistoryHolds) {
  const std::string program = tools_ + "\\agent.exe";
  WriteWholeFile(program, "MZ");
  char shortProgram[MAX_PATH];
  ASSERT_GT(GetShortPathNameA(program.c_str(), shortProgram, sizeof shortProgram), 0u);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  struct Case {
    DWORD type;
    std::string value;    // as it stands in the Run key
    std::string history;  // the command as another writer of the history spelled it
  } cases[] = {
      {REG_SZ, std::string(windows) + "\\rundll32.exe C:\\Agent\\agent.dll,Start",
       "RunDLL32.exe C:\\AGENT\\AGENT.DLL,Start"},
      {REG_EXPAND_SZ, "%SystemRoot%\\system32\\agent.exe /x",
       std::string(windows) + "\\system32\\agent.exe /x"},
      {REG_EXPAND_SZ, std::string(shortProgram) + " /min", program + " /min"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    WriteValue(HKEY_CURRENT_USER, kMachineRun, kTitle, TextValue(c.value, c.type));
    const RegValue original = ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle);
    ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
    EXPECT_EQ(RestoreRunProgram(kTitle, c.history.c_str(), "", 11), kChangeDone);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun, kTitle), original);
    DeleteValue(HKEY_CURRENT_USER, kMachineRun, kTitle);
  }
}

}  // namespace

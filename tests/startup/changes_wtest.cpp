// Disabling, enabling, removing and restoring startup entries against the
// real registry, WIN.INI and folders of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "core/files.h"
#include "core/history.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "resources/resource.h"
#include "startup/baseline.h"
#include "startup/catalogue.h"
#include "startup/change_rules.h"
#include "startup/changes.h"
#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kRunBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const char* const kRunKeyNames[] = {"Run", "RunOnce", "RunOnceEx", "RunServices",
                                    "RunServicesOnce"};
const char kTitle[] = "ChangesTestAgent";
const char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char kNotifyTestKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\ChangesTestNotify";
const char kAppInitKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kDelayLoadKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
const char kTaskSchedulerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler";
const char kExecuteHooksKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kTestClsid[] = "{6A1C2B3D-0000-4000-8000-00000000C0DE}";

std::string ReadText(HKEY root, const std::string& key, const char* name) {
  return GetText(root, key, name, "<missing>");
}

std::string RunKey(int code) { return std::string(kRunBase) + kRunKeyNames[(code % 10) - 1]; }
HKEY RunHive(int code) { return code > 10 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
std::string StoreKey(int code) { return DisabledStoreKeyOf(code); }
std::string KeptKey(int code) {
  char key[kOriginalKeyCapacity];
  OriginalValuesKeyOf(code, key);
  return key;
}

void DeleteHistory() { ClearHistoryFile(); }

std::string WinIni(const char* key) {
  char text[2048];
  GetProfileStringA("windows", key, "", text, sizeof text);
  return text;
}

// What the default-condition warning showed and how it ended: the driver
// optionally tries to close it other ways, reads its texts, ticks the box or
// not and presses OK until it is gone.
struct WarningAnswer {
  bool tick = false;
  bool tryOtherWays = false;
  bool seen = false;
  bool survivedOtherWays = false;
  std::string command, file, confirm;
};

void AnswerWarning(HWND dialog, WarningAnswer* a) {
  a->command = ControlText(dialog, IDC_WARNING_COMMAND);
  a->file = ControlText(dialog, IDC_WARNING_FILE);
  a->confirm = ControlText(dialog, IDC_WARNING_CONFIRM);
  if (a->tryOtherWays) {
    // Both are handled when the calls return; a dialog that took either as
    // its end would be gone within moments.
    SendMessageTimeoutA(dialog, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
    Click(dialog, IDCANCEL, 5000);
    a->survivedOtherWays = !WaitClosed(dialog, 400);
  }
  if (a->tick) SendDlgItemMessageA(dialog, IDC_WARNING_CONFIRM, BM_SETCHECK, BST_CHECKED, 0);
  for (int i = 0; i < 500 && IsWindow(dialog); ++i) {
    Press(dialog, IDOK);
    WaitClosed(dialog, 20);
  }
}

// Runs DeleteRegProgram on this thread while a second thread answers.
int RemoveWithAnswer(WarningAnswer* answer, const char* title, const char* command,
                     const char* source, int code) {
  DialogQuery warning = OfProcess(GetCurrentProcessId());
  warning.caption = "Tovrel Message";
  return RunDriven(warning, [&](HWND d) { AnswerWarning(d, answer); },
                   [&] { return DeleteRegProgram(nullptr, title, command, source, code); }, &answer->seen);
}

class ChangesTest : public testing::Test {
 protected:
  std::string winIniLoad_, winIniRun_;
  SavedValue shell_{HKEY_LOCAL_MACHINE, kWinlogon, "Shell"};
  SavedValue userinit_{HKEY_LOCAL_MACHINE, kWinlogon, "Userinit"};
  SavedValue appInit_{HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls"};
  SavedStartupFolder userStartup_;
  SavedValue machineStartup_{HKEY_LOCAL_MACHINE, kShellFolders, "Startup"};
  SavedValue commonStartup_{HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup"};
  ProgramResources program_;

  void SetUp() override {
    ClearProductKeys();
    CleanTestValues();
    ASSERT_TRUE(program_.loaded());
    SetSetting(kOptHistory, 1);
    DeleteHistory();
    CoInitialize(nullptr);
    winIniLoad_ = WinIni("load");
    winIniRun_ = WinIni("run");
  }

  void TearDown() override {
    WriteProfileStringA("windows", "load", winIniLoad_.c_str());
    WriteProfileStringA("windows", "run", winIniRun_.c_str());
    CleanTestValues();
    DeleteHistory();
    SetSetting(kOptHistory, 0);
    CoUninitialize();
    ClearProductKeys();
  }

  static void CleanTestValues() {
    for (int base : {0, 10})
      for (int i = 1; i <= 5; ++i) {
        WriteValue(RunHive(base + i), RunKey(base + i), kTitle, RegValue());
      }
    DeleteRegTree(HKEY_LOCAL_MACHINE, kNotifyTestKey);
    for (const char* key : {kDelayLoadKey, kTaskSchedulerKey, kExecuteHooksKey}) {
      WriteValue(HKEY_LOCAL_MACHINE, key, kTitle, RegValue());
      WriteValue(HKEY_LOCAL_MACHINE, key, kTestClsid, RegValue());
    }
  }
};

// ---------------------------------------------------------------------------

TEST_F(ChangesTest, EveryRunCodeDisablesEnablesRemovesAndRestores) {
  const std::string command = "C:\\Agent\\agent.exe /min";
  for (int code : {1, 2, 3, 4, 5, 11, 12, 13, 14, 15}) {
    SCOPED_TRACE(code);
    HKEY hive = RunHive(code);
    const RegValue original = TextValue(command);
    WriteValue(hive, RunKey(code), kTitle, original);

    ASSERT_EQ(DisableRunProgram(kTitle, command.c_str(), "", code), 1);
    EXPECT_FALSE(ReadValue(hive, RunKey(code), kTitle).exists);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, StoreKey(code), kTitle), command);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledKey, kTitle), std::to_string(code));
    EXPECT_TRUE(IsTitleDisabled(kTitle));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, KeptKey(code), kTitle), original);

    ASSERT_EQ(DisableRunProgram(kTitle, command.c_str(), "", code), 1);  // enables
    EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, StoreKey(code), kTitle).exists);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledKey, kTitle).exists);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, KeptKey(code), kTitle).exists);

    // Remove an active entry: the value, the known-list values and a history line.
    SetRegString(HKEY_CURRENT_USER, kKnownRunKey, command.c_str(), "1");
    SetRegString(HKEY_CURRENT_USER, kKnownRunKey, kTitle, "1");
    ASSERT_EQ(DeleteRunProgram(kTitle, command.c_str(), "", code), 1);
    EXPECT_FALSE(ReadValue(hive, RunKey(code), kTitle).exists);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, command.c_str()).exists);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, kTitle).exists);
    std::string history = HistoryText();
    EXPECT_NE(history.find(std::string("\t*START_Remove\t") + LogNameOf(code) + "\t" + kTitle +
                           "\t" + command + "\t\r\n"),
              std::string::npos)
        << history;

    ASSERT_EQ(RestoreRunProgram(kTitle, command.c_str(), "", code), 1);
    EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kKnownRunKey, command.c_str()), std::to_string(code));

    // Remove a disabled entry: its copy leaves the disabled store; the Run key stays empty.
    ASSERT_EQ(DisableRunProgram(kTitle, command.c_str(), "", code), 1);
    ASSERT_EQ(DeleteRunProgram(kTitle, command.c_str(), "", code), 1);
    EXPECT_FALSE(ReadValue(hive, RunKey(code), kTitle).exists);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, StoreKey(code), kTitle).exists);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledKey, kTitle).exists);
    ASSERT_EQ(RestoreRunProgram(kTitle, command.c_str(), "", code), 1);
    EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);
    WriteValue(hive, RunKey(code), kTitle, RegValue());
    DeleteHistory();
  }
}

TEST_F(ChangesTest, UserAgentGoesToTheMachineDisabledStoreAndBack) {
  const char agent[] = "Agent";
  const std::string userRun = RunKey(11);
  const RegValue before = ReadValue(HKEY_CURRENT_USER, userRun, agent);
  WriteValue(HKEY_CURRENT_USER, userRun, agent, TextValue("C:\\Agent\\agent.exe"));
  ASSERT_EQ(DisableRunProgram(agent, "C:\\Agent\\agent.exe", "", 11), 1);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, userRun, agent).exists);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Tovrel\\Disabled\\Run", agent),
            "C:\\Agent\\agent.exe");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Tovrel\\Disabled", agent), "11");
  ASSERT_EQ(DisableRunProgram(agent, "C:\\Agent\\agent.exe", "", 11), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, userRun, agent), "C:\\Agent\\agent.exe");
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledKey, agent).exists);
  WriteValue(HKEY_CURRENT_USER, userRun, agent, before);
}

TEST_F(ChangesTest, RunValuesComeBackByteForByteAndTypeForType) {
  struct Case {
    DWORD type;
    std::string data;     // as stored in the Run key (without terminator)
    std::string command;  // the entry's path as the enumeration lists it
    bool terminated;
  };
  const Case cases[] = {
      {REG_SZ, "C:\\Agent\\agent.exe /min", "C:\\Agent\\agent.exe /min", true},
      {REG_EXPAND_SZ, "%ProgramFiles%\\Agent\\agent.exe -tray", "%ProgramFiles%\\Agent\\agent.exe -tray",
       true},
      {REG_SZ, "\"C:\\Program Files\\Agent Tool\\agent.exe\" /min",
       "C:\\Program Files\\Agent Tool\\agent.exe /min", true},
      {REG_SZ, "C:\\WINDOWS\\rundll32.exe \"C:\\Program Files\\Agent\\agent.dll\",Start",
       "C:\\Program Files\\Agent\\agent.dll,Start", true},
      {REG_EXPAND_SZ, "rundll32.exe %SystemRoot%\\agent.dll,Run", "%SystemRoot%\\agent.dll,Run",
       true},
      // A value stored without its terminator.
      {REG_SZ, "C:\\Agent\\raw.exe", "C:\\Agent\\raw.exe", false},
  };
  for (int code : {1, 11}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.data);
      RegValue original = BinaryValue(c.terminated ? c.data + '\0' : c.data, c.type);
      HKEY hive = RunHive(code);
      WriteValue(hive, RunKey(code), kTitle, original);
      // Compared with what the Run key holds: the registry itself counts a
      // terminator that follows unterminated text.
      original = ReadValue(hive, RunKey(code), kTitle);

      ASSERT_EQ(DisableRunProgram(kTitle, c.command.c_str(), "", code), 1);
      // The monitor's store keeps the described command.
      EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, StoreKey(code), kTitle), c.command);
      ASSERT_EQ(DisableRunProgram(kTitle, c.command.c_str(), "", code), 1);
      EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);

      // Removed, then restored by the history's Restore.
      ASSERT_EQ(DeleteRunProgram(kTitle, c.command.c_str(), "", code), 1);
      ASSERT_TRUE(RestoreStartupEntry(kTitle, c.command.c_str(), "", code));
      EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);
      EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, KeptKey(code), kTitle).exists);

      // Disabled, removed, restored.
      ASSERT_EQ(DisableRunProgram(kTitle, c.command.c_str(), "", code), 1);
      ASSERT_EQ(DeleteRunProgram(kTitle, c.command.c_str(), "", code), 1);
      ASSERT_EQ(RestoreRunProgram(kTitle, c.command.c_str(), "", code), 1);
      EXPECT_EQ(ReadValue(hive, RunKey(code), kTitle), original);
      WriteValue(hive, RunKey(code), kTitle, RegValue());
    }
  }
}

TEST_F(ChangesTest, RestoreOfAnotherCommandDoesNotUseTheKeptValue) {
  const RegValue original = TextValue("\"%ProgramFiles%\\Old\\old.exe\"", REG_EXPAND_SZ);
  WriteValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle, original);
  ASSERT_EQ(DeleteRunProgram(kTitle, "%ProgramFiles%\\Old\\old.exe", "", 1), 1);
  // An older history line of the same title names another program.
  ASSERT_EQ(RestoreRunProgram(kTitle, "C:\\New\\new.exe", "", 1), 1);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle), TextValue("C:\\New\\new.exe"));
}

TEST_F(ChangesTest, ValueWrittenBackWhileDisabledBecomesTheKeptValue) {
  const RegValue first = TextValue("C:\\Agent\\agent.exe /min");
  WriteValue(HKEY_CURRENT_USER, RunKey(11), kTitle, first);
  ASSERT_EQ(DisableRunProgram(kTitle, "C:\\Agent\\agent.exe /min", "", 11), 1);
  // The program writes itself back, in another spelling; the enumeration
  // finds it and calls the toggle twice with its command.
  const RegValue again = TextValue("\"C:\\Agent\\agent.exe\" /min", REG_EXPAND_SZ);
  WriteValue(HKEY_CURRENT_USER, RunKey(11), kTitle, again);
  const char command[] = "C:\\Agent\\agent.exe /min";
  ASSERT_EQ(DisableRunProgram(kTitle, command, "", 11), 1);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, RunKey(11), kTitle), again);  // left as it stands
  ASSERT_EQ(DisableRunProgram(kTitle, command, "", 11), 1);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, RunKey(11), kTitle).exists);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, StoreKey(11), kTitle), command);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, KeptKey(11), kTitle), again);
  // Another program under the title is not this entry: nothing is touched.
  const RegValue other = TextValue("C:\\Other\\other.exe");
  WriteValue(HKEY_CURRENT_USER, RunKey(11), kTitle, other);
  EXPECT_EQ(DisableRunProgram(kTitle, "C:\\Other\\other.exe", "", 11), kChangeTitleTaken);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, RunKey(11), kTitle), other);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, StoreKey(11), kTitle), command);
  WriteValue(HKEY_CURRENT_USER, RunKey(11), kTitle, RegValue());
  ASSERT_EQ(DisableRunProgram(kTitle, command, "", 11), 1);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, RunKey(11), kTitle), again);
}

TEST_F(ChangesTest, OverLongInputAndValuesAreRefusedWithoutChange) {
  const std::string longTitle(kChangeTitleCapacity, 't');
  const std::string longCommand(kChangeCommandCapacity, 'c');
  EXPECT_EQ(DisableRunProgram(longTitle.c_str(), "C:\\a.exe", "", 1), 0);
  EXPECT_EQ(DisableRunProgram(kTitle, longCommand.c_str(), "", 1), 0);
  EXPECT_EQ(DeleteRunProgram(kTitle, "C:\\a.exe", longCommand.c_str(), 1), 0);
  EXPECT_EQ(RestoreRunProgram("", "C:\\a.exe", "", 1), 0);
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kDisabledKey));
  // A title of 127 characters fits.
  const std::string fits(kChangeTitleCapacity - 1, 'f');
  EXPECT_EQ(RestoreRunProgram(fits.c_str(), "C:\\a.exe", "", 11), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, RunKey(11), fits.c_str()), "C:\\a.exe");
  WriteValue(HKEY_CURRENT_USER, RunKey(11), fits.c_str(), RegValue());
  // A Run value too large to keep byte for byte stays where it is.
  const RegValue huge = TextValue("C:\\a.exe " + std::string(kOriginalValueLimit, 'x'));
  WriteValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle, huge);
  EXPECT_EQ(DisableRunProgram(kTitle, "C:\\a.exe", "", 1), 0);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle), huge);
  EXPECT_FALSE(IsTitleDisabled(kTitle));
  // Codes without handling change nothing.
  for (int code : {6, 21, 25, 31, 300, 600, 900}) {
    EXPECT_EQ(DisableRunProgram(kTitle, "C:\\a.exe", "", code), 0) << code;
    EXPECT_EQ(DeleteRunProgram(kTitle, "C:\\a.exe", "", code), 0) << code;
    EXPECT_EQ(RestoreRunProgram(kTitle, "C:\\a.exe", "", code), 0) << code;
  }
  EXPECT_EQ(HistoryText(), "");
}

// ---------------------------------------------------------------------------

TEST_F(ChangesTest, WinIniLoadAndRunItems) {
  WriteProfileStringA("windows", "load", "C:\\A\\a.exe;C:\\B\\b.exe;C:\\C\\c.exe");
  ASSERT_EQ(DisableRunProgram("b", "c:\\b\\B.EXE", "", 100), 1);
  EXPECT_EQ(WinIni("load"), "C:\\A\\a.exe;C:\\C\\c.exe;");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledWinLoadKey, "b"), "c:\\b\\B.EXE");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledKey, "b"), "100");
  ASSERT_EQ(DisableRunProgram("b", "c:\\b\\B.EXE", "", 100), 1);
  EXPECT_EQ(WinIni("load"), "C:\\A\\a.exe;C:\\C\\c.exe;;c:\\b\\B.EXE");
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledWinLoadKey, "b").exists);
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledKey, "b").exists);

  // run: disable, then remove the disabled item; its WinRun copy goes.
  WriteProfileStringA("windows", "run", "C:\\R\\r.exe");
  ASSERT_EQ(DisableRunProgram("run", "C:\\R\\r.exe", "", 101), 1);
  EXPECT_EQ(WinIni("run"), "");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledWinRunKey, "run"), "C:\\R\\r.exe");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledKey, "run"), "101");
  ASSERT_EQ(DeleteRunProgram("run", "C:\\R\\r.exe", "", 101), 1);
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledWinRunKey, "run").exists);
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledKey, "run").exists);
  EXPECT_NE(HistoryText().find("*START_Remove\tWIN_RUN\trun\tC:\\R\\r.exe"), std::string::npos);
  // Restore appends it (an empty list gains a leading ";").
  ASSERT_EQ(RestoreRunProgram("run", "C:\\R\\r.exe", "", 101), 1);
  EXPECT_EQ(WinIni("run"), ";C:\\R\\r.exe");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kKnownRunKey, "C:\\R\\r.exe"), "101");
  // Remove of an active item takes it out of the list.
  ASSERT_EQ(DeleteRunProgram("run", "C:\\R\\r.exe", "", 101), 1);
  EXPECT_EQ(WinIni("run"), "");
}

TEST_F(ChangesTest, WinIniListTooLongToRewriteIsLeftAlone) {
  std::string list;
  while (list.size() < kWinIniListCapacity + 100) list += "C:\\Long\\program.exe;";
  list += "C:\\B\\b.exe";
  WriteProfileStringA("windows", "load", list.c_str());
  EXPECT_EQ(DisableRunProgram("b", "C:\\B\\b.exe", "", 100), 0);
  EXPECT_EQ(WinIni("load"), list);
  EXPECT_FALSE(IsTitleDisabled("b"));
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledWinLoadKey, "b").exists);
}

// ---------------------------------------------------------------------------

class FolderChangesTest : public ChangesTest {
 protected:
  std::string userFolder_, commonFolder_, disabledFolder_;

  void SetUp() override {
    ChangesTest::SetUp();
    userFolder_ = TempFilePath("changes_user_startup");
    commonFolder_ = TempFilePath("changes_common_startup");
    CreateDirectoryA(userFolder_.c_str(), nullptr);
    CreateDirectoryA(commonFolder_.c_str(), nullptr);
    ASSERT_TRUE(userStartup_.Set(userFolder_));
    WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup", TextValue(commonFolder_));
    disabledFolder_ = BinPath("Disabled");
  }
  void TearDown() override {
    for (const std::string& f : {userFolder_, commonFolder_, disabledFolder_}) {
      for (const std::string& name : {LinkName(), PifName()}) DeleteFileA((f + "\\" + name).c_str());
    }
    RemoveDirectoryA(userFolder_.c_str());
    RemoveDirectoryA(commonFolder_.c_str());
    RemoveDirectoryA(disabledFolder_.c_str());
    const std::string removed = BinPath("Removed");
    DeleteFileA((removed + "\\" + PifName()).c_str());
    RemoveDirectoryA(removed.c_str());
    DeleteFileA(TempFilePath("changes_target.exe").c_str());
    ChangesTest::TearDown();
  }
  // Both families run at once and share the "Disabled" folder beside the
  // test program, so the files carry the family's name.
  static std::string LinkName() { return std::string("Agent_") + Family() + ".lnk"; }
  static std::string PifName() { return std::string("agent_") + Family() + ".pif"; }
};

TEST_F(FolderChangesTest, CommonShortcutIsDisabledAndEnabledIntoTheUserFolder) {
  const std::string target = TempFilePath("changes_target.exe");
  CloseHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::string link = commonFolder_ + "\\" + LinkName();
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(link.c_str(), target.c_str(), "", "", "Agent", "", 0)));
  ASSERT_TRUE(PathExists(link));

  ASSERT_EQ(DisableRunProgram("Agent", target.c_str(), link.c_str(), 200), 1);
  EXPECT_FALSE(PathExists(link));
  const std::string disabled = disabledFolder_ + "\\" + LinkName();
  EXPECT_TRUE(PathExists(disabled));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledKey, "Agent"), "200");

  ASSERT_EQ(DisableRunProgram("Agent", target.c_str(), disabled.c_str(), 200), 1);
  EXPECT_FALSE(PathExists(disabled));
  const std::string enabled = userFolder_ + "\\" + LinkName();
  EXPECT_TRUE(PathExists(enabled));
  EXPECT_FALSE(IsTitleDisabled("Agent"));

  // Remove deletes the shortcut, never its target; Restore makes a new one.
  ASSERT_EQ(DeleteRunProgram("Agent", target.c_str(), enabled.c_str(), 200), 1);
  EXPECT_FALSE(PathExists(enabled));
  EXPECT_TRUE(PathExists(target));
  EXPECT_NE(HistoryText().find("*START_Remove\tGROUP_STARTUP\tAgent\t"), std::string::npos);
  ASSERT_EQ(RestoreRunProgram("Agent", target.c_str(), enabled.c_str(), 200), 1);
  EXPECT_TRUE(PathExists(enabled));
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kKnownRunKey, target.c_str()), "200");

  // A shortcut already gone: removing the entry leaves the target alone and
  // reports no removal that did not happen.
  DeleteFileA(enabled.c_str());
  DeleteHistory();
  EXPECT_EQ(DeleteRunProgram("Agent", target.c_str(), enabled.c_str(), 200), 0);
  EXPECT_TRUE(PathExists(target));
  EXPECT_EQ(HistoryText(), "");
}

TEST_F(FolderChangesTest, FileWithoutSourceMovesByItsPath) {
  const std::string pif = userFolder_ + "\\" + PifName();
  CloseHandle(CreateFileA(pif.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_EQ(DisableRunProgram("agent", pif.c_str(), "", 200), 1);
  EXPECT_TRUE(PathExists(disabledFolder_ + "\\" + PifName()));
  // A failed move leaves no index value behind.
  EXPECT_EQ(DisableRunProgram("other", (userFolder_ + "\\missing.pif").c_str(), "", 200), 0);
  EXPECT_FALSE(IsTitleDisabled("other"));
  const std::string moved = disabledFolder_ + "\\" + PifName();
  ASSERT_EQ(DeleteRunProgram("agent", moved.c_str(), "", 200), 1);
  EXPECT_FALSE(PathExists(moved));
  EXPECT_FALSE(IsTitleDisabled("agent"));
}

// ---------------------------------------------------------------------------

TEST_F(ChangesTest, WinlogonNotifyDllIsClearedAndPutBackExactly) {
  const RegValue dll = TextValue("%SystemRoot%\\system32\\tovtest.dll", REG_EXPAND_SZ);
  WriteValue(HKEY_LOCAL_MACHINE, kNotifyTestKey, "DLLName", dll);
  const char title[] = "ChangesTestNotify";
  const char command[] = "C:\\windows\\system32\\tovtest.dll";
  ASSERT_EQ(DisableRunProgram(title, command, "", 256), 1);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kNotifyTestKey, "DLLName"), "");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kNotifyTestKey, "OldName"), dll);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledWinNotifyKey, title), command);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDisabledKey, title), "256");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kKnownRunKey, command), "256");
  ASSERT_EQ(DisableRunProgram(title, command, "", 256), 1);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kNotifyTestKey, "DLLName"), dll);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kNotifyTestKey, "OldName"), "");
  EXPECT_FALSE(IsTitleDisabled(title));
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDisabledWinNotifyKey, title).exists);
  // Remove is not defined for Notify DLLs; Restore puts a cleared one back.
  EXPECT_EQ(DeleteRunProgram(title, command, "", 256), 0);
  ASSERT_EQ(DisableRunProgram(title, command, "", 256), 1);
  ASSERT_EQ(RestoreRunProgram(title, command, "", 256), 1);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kNotifyTestKey, "DLLName"), dll);
  // A Notify key that does not exist is not created.
  EXPECT_EQ(DisableRunProgram("ChangesTestNoSuchNotify", command, "", 256), 0);
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\"
                            "ChangesTestNoSuchNotify"));
}

TEST_F(ChangesTest, WinlogonResetsWriteTheDefaultsAndLogThem) {
  WriteValue(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", TextValue("Explorer.exe C:\\Evil\\evil.exe"));
  ASSERT_EQ(DeleteRunProgram("Winlogon Shell", "C:\\Evil\\evil.exe", "", 251), 1);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kWinlogon, "Shell"), "Explorer.exe");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMachineRunMarkerKey, "Explorer.exe"), "251");
  EXPECT_NE(HistoryText().find("\tRESET_SHELL\tWINLOGON_Shell\tWinlogon Shell\tC:\\Evil\\evil.exe"),
            std::string::npos);

  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  const std::string userinit = std::string(system) + "\\Userinit.exe,";
  ASSERT_EQ(DeleteRegProgram(nullptr, "Winlogon Userinit", "C:\\Evil\\evil.exe", "", 250), 1);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit"), userinit);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMachineRunMarkerKey, userinit.c_str()), "250");
  EXPECT_NE(HistoryText().find("\tRESET_USERINIT\tWINLOGON_Userinit\t"), std::string::npos);
}

TEST_F(ChangesTest, AppInitDllIsRemovedAfterTheTickedWarningAndRestored) {
  WriteValue(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls", TextValue("a.dll,b.dll c.dll"));
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, "b.dll", "255");
  WarningAnswer answer;
  answer.tick = true;
  answer.tryOtherWays = true;
  // b.dll has no version resource naming Microsoft, so the title is shown alone.
  ASSERT_EQ(RemoveWithAnswer(&answer, "Helper Library", "b.dll", "", 255), 1);
  EXPECT_TRUE(answer.seen);
  EXPECT_TRUE(answer.survivedOtherWays);  // only OK ends it
  EXPECT_EQ(answer.command, "b.dll");
  EXPECT_EQ(answer.file, "Helper Library");
  EXPECT_EQ(answer.confirm, "  Yes, I really know what I'm doing. Please remove.");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls"), "a.dll,c.dll");
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kKnownRunKey, "b.dll").exists);
  EXPECT_NE(HistoryText().find("*START_Remove\tREG_AppInitDLLs\tHelper Library\tb.dll"),
            std::string::npos);
  // The warning's place is kept.
  char x[16];
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kProductKey, "xDefaultWarning", x), 0u);
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kProductKey, "dyDefaultWarning", x), 0u);

  ASSERT_EQ(RestoreRunProgram("Helper Library", "b.dll", "", 255), 1);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls"), "a.dll,c.dll,b.dll");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kKnownRunKey, "b.dll"), "255");
}

TEST_F(ChangesTest, ProtectedEntriesStayWithoutTheTick) {
  WriteValue(HKEY_LOCAL_MACHINE, kDelayLoadKey, kTitle, TextValue(kTestClsid));
  WriteValue(HKEY_LOCAL_MACHINE, kTaskSchedulerKey, kTestClsid, TextValue(kTitle));
  WriteValue(HKEY_LOCAL_MACHINE, kExecuteHooksKey, kTestClsid, TextValue(kTitle));
  WriteValue(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls", TextValue("a.dll,b.dll"));
  for (int code : {252, 253, 254, 255}) {
    SCOPED_TRACE(code);
    WarningAnswer answer;
    EXPECT_EQ(RemoveWithAnswer(&answer, kTitle, "b.dll", kTestClsid, code), 0);
    EXPECT_TRUE(answer.seen);
  }
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kDelayLoadKey, kTitle).exists);
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kTaskSchedulerKey, kTestClsid).exists);
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kExecuteHooksKey, kTestClsid).exists);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls"), "a.dll,b.dll");
  EXPECT_EQ(HistoryText(), "");

  // Ticked: each hook goes, by title (delay load) or by CLSID, and is logged.
  const struct {
    int code;
    const char* key;
    const char* name;
    const char* action;
  } hooks[] = {{252, kDelayLoadKey, kTitle, "REMOVE_DELAYLOAD"},
               {253, kTaskSchedulerKey, kTestClsid, "REMOVE_TaskScheduler"},
               {254, kExecuteHooksKey, kTestClsid, "REMOVE_SHELLEXECUTEHOOK"}};
  for (const auto& hook : hooks) {
    SCOPED_TRACE(hook.code);
    WarningAnswer answer;
    answer.tick = true;
    EXPECT_EQ(RemoveWithAnswer(&answer, kTitle, "C:\\Hook\\hook.dll", kTestClsid, hook.code), 1);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, hook.key, hook.name).exists);
    EXPECT_NE(HistoryText().find(std::string("\t") + hook.action + "\t" + LogNameOf(hook.code)),
              std::string::npos);
    ASSERT_EQ(RestoreRunProgram(kTitle, "C:\\Hook\\hook.dll", kTestClsid, hook.code), 1);
  }
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kDelayLoadKey, kTitle), kTestClsid);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kTaskSchedulerKey, kTestClsid), kTitle);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kExecuteHooksKey, kTestClsid), kTitle);
}

TEST_F(ChangesTest, OwnProgramIsRemovedWithoutHistory) {
  WriteValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle, TextValue("C:\\Brenvik\\Tovrel.exe"));
  ASSERT_EQ(DeleteRunProgram(kTitle, "C:\\Brenvik\\Tovrel.exe", "", 1), 1);
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, RunKey(1), kTitle).exists);
  EXPECT_EQ(HistoryText(), "");
}

}  // namespace

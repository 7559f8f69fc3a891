// Initialisation (first run, configuration version, Cleanup, first-detection
// seeding) run in this process, and the removal path run by TovrelEx with
// "-remove" and "-repair".
#include "app/initialise.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "cookies/cookie_rules.h"
#include "core/files.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "options/autostart.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace testsupport;

namespace {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kProduct[] = "Software\\Brenvik\\Tovrel";
const char kKnownRun[] = "Software\\Brenvik\\Tovrel\\Run";
const char kOptions[] = "Software\\Brenvik\\Tovrel\\Options";
const char kDetected[] = "Software\\Brenvik\\Detected";
const char kAgent[] = "C:\\Zed\\zed.exe";

class InitialiseTest : public testing::Test {
 protected:
  ProgramResources program_;
  SavedValue autostart_{HKEY_LOCAL_MACHINE, kRun, "Tovrel"};
  SavedKey uninstall_{HKEY_LOCAL_MACHINE, tov::kUninstallKey};
  SavedKey userRun_{HKEY_CURRENT_USER, kRun};
  const std::string monitor_ = BinFolder() + "\\tovrel.exe";

  void SetUp() override {
    ClearProductKeys();
    DeleteValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel");
    DeleteKey(HKEY_LOCAL_MACHINE, tov::kUninstallKey);
    SetText(HKEY_CURRENT_USER, kRun, "Zed Agent", kAgent);
  }
  void TearDown() override { ClearProductKeys(); }

  static void Delay(const char* program, const char* title) {
    ASSERT_TRUE(tov::AddDelayed(program, false));
    SetText(HKEY_CURRENT_USER, tov::kDelayTitleKey, program, title);
  }
  // What removal must leave as it was: the settings under HKEY_CURRENT_USER
  // but the delayed store and the known startup list (changed by design),
  // then the history, a file of the data folder and the Run-key backup.
  static std::pair<KeySnapshot, std::string> UserData() {
    KeySnapshot settings = TakeSnapshot(HKEY_CURRENT_USER, kProduct);
    for (auto it = settings.values.begin(); it != settings.values.end();)
      it = it->first.rfind("Delay", 0) == 0 || it->first == "Run" ? settings.values.erase(it) : std::next(it);
    return {settings, ReadWholeFile(HistoryFile()) + "|" + ReadWholeFile(DataFile()) + "|" +
                          ReadWholeFile(BinPath("RegRunBackup.reg"))};
  }
  static std::string DataFile() {
    char folder[MAX_PATH];
    tov::DataFolder(folder);
    return std::string(folder) + "\\user_note_" + Family() + ".txt";
  }
  static void RunProgram(const char* args) {
    HANDLE p = StartProgram(BinPath("TovrelEx.exe"), args);
    ASSERT_TRUE(p);
    EXPECT_EQ(WaitExit(p, 20000), 0);
    CloseHandle(p);
  }
};

TEST_F(InitialiseTest, FirstRunThenVersionsAndCleanup) {
  tov::Initialise();
  EXPECT_NE(GetText(HKEY_CURRENT_USER, kProduct, ""), "");  // the first-run date
  for (const char* sub : {"Nuts", "Cookies", "Options", "Run", "IEHelpers", "HostFile", "Tasks"})
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kProduct) + "\\" + sub)) << sub;
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kProduct, "Version"), "11.2.2007.1");
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kKnownRun, kAgent), "11");
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, std::string(kProduct) + "\\Nuts").size(),
            size_t(tov::kDefaultFilterWordCount));  // the default filter words
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kRun, "Tovrel"), monitor_);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kKnownRun, monitor_), "1");
  EXPECT_TRUE(tov::AutoStartFlag());
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, tov::kUninstallKey, "DisplayName"), "Tovrel 2007 Restore/Remove First");
  EXPECT_NE(GetText(HKEY_CURRENT_USER, kDetected, ""), "");
  // A family missing from an existing first-detection store is seeded.
  const std::string startup = std::string(kDetected) + "\\Startup";
  DeleteKey(HKEY_CURRENT_USER, startup);
  tov::Initialise();
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, startup, kAgent));

  // A known-list marker shows whether the lists were recorded afresh.
  struct Case {
    const char* version;
    const char* cleanup;  // "Cleanup" option set before the start, or null
    bool keepsLists;
  } cases[] = {
      {"11.2.2007.1", nullptr, true},
      {"11.2.2007.1 build 4", nullptr, true},
      {"10.1.2006.3", nullptr, false},
      {"11.2.2007.1", "1", false},
      {"11.2.2007.1", nullptr, true},  // Cleanup ran once and was cleared
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SetText(HKEY_CURRENT_USER, kKnownRun, "Marker", "1");
    SetText(HKEY_CURRENT_USER, kProduct, "Version", c.version);
    if (c.cleanup) SetText(HKEY_CURRENT_USER, kOptions, "Cleanup", c.cleanup);
    tov::Initialise();
    EXPECT_EQ(HasValue(HKEY_CURRENT_USER, kKnownRun, "Marker"), c.keepsLists);
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, kKnownRun, kAgent), "11");
    EXPECT_NE(GetText(HKEY_CURRENT_USER, kProduct, "Version").find("11.2.2007.1"), std::string::npos);
    if (c.cleanup) {
      EXPECT_EQ(GetText(HKEY_CURRENT_USER, kOptions, "Cleanup"), "0");
    }
  }

  // Without the date the next start is a first run again.
  DeleteValue(HKEY_CURRENT_USER, kProduct, "");
  DeleteValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel");
  tov::Initialise();
  EXPECT_NE(GetText(HKEY_CURRENT_USER, kProduct, ""), "");
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kRun, "Tovrel"), monitor_);
}

TEST_F(InitialiseTest, RemovalTakesBackAutostartAndEntryAndKeepsUserData) {
  for (const char* removal : {"-remove", "-repair"}) {
    SCOPED_TRACE(removal);
    ClearProductKeys();
    tov::Initialise();
    ASSERT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel"));
    DeleteValue(HKEY_CURRENT_USER, kRun, "Zed Agent");
    Delay(kAgent, "Zed Agent");
    // A delayed program whose Run value name another program holds stays.
    Delay("C:\\Kept\\kept.exe", "Kept Agent");
    SetText(HKEY_CURRENT_USER, kRun, "Kept Agent", "C:\\Other\\other.exe");
    SetText(HKEY_CURRENT_USER, kOptions, "Sound", "0");
    ASSERT_TRUE(WriteWholeFile(HistoryFile(), "*START_Remove|x\r\n"));
    ASSERT_TRUE(WriteWholeFile(DataFile(), "note"));
    const auto before = UserData();

    RunProgram(removal);
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, tov::kUninstallKey));
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, kRun, "Zed Agent"), kAgent);
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, tov::kDelayKey, kAgent));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, tov::kDelayKey, "C:\\Kept\\kept.exe"));
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, kRun, "Kept Agent"), "C:\\Other\\other.exe");
    EXPECT_EQ(UserData(), before);
  }
  DeleteFileA(DataFile().c_str());
  DeleteFileA(HistoryFile().c_str());
}

// A copy of the program in a folder without the monitor writes no Run
// value that would fail at every Windows start.
TEST_F(InitialiseTest, NoAutomaticStartWithoutTheMonitorBeside) {
  const std::string folder = TempFilePath("alone_") + Family();
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string copy = folder + "\\TovrelEx.exe";
  ASSERT_TRUE(CopyFileA(BinPath("TovrelEx.exe").c_str(), copy.c_str(), FALSE));
  HANDLE p = StartProgram(copy, "-OPTION");
  ASSERT_TRUE(p);
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = FindWindowA("TovrelEx", nullptr)) != nullptr; }, 15000));
  EXPECT_TRUE(WaitFor([] { return HasValue(HKEY_CURRENT_USER, kProduct, ""); }, 15000));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitExit(p, 15000), 0);
  CloseHandle(p);
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Tovrel"));
  RemoveFolderTree(folder);
}

TEST_F(InitialiseTest, RemovalKeepsWhatALockedRunKeyRefuses) {
  tov::Initialise();
  DeleteValue(HKEY_CURRENT_USER, kRun, "Zed Agent");
  Delay(kAgent, "Zed Agent");
  {
    ReadOnlyKey locked(HKEY_CURRENT_USER, kRun);
    if (!locked.enforced())
      GTEST_SKIP() << "Wine difference: this prefix lets the owner change a key whose list grants only KEY_READ";
    RunProgram("-remove");
  }
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRun, "Zed Agent"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, tov::kDelayKey, kAgent));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, tov::kDelayTimeKey, kAgent));
}

}  // namespace

// The system-file baseline with its copies, viewing HOSTS in Notepad, and
// the restart-commands viewer, under Wine.
#include "options/system_files.h"

#include <gtest/gtest.h>

#include <string>

#include "core/files.h"
#include "core/registry.h"
#include "options/restart_commands.h"
#include "resources/resource.h"
#include "tests/support/file_fixtures.h"
#include "tests/support/program_resources.h"
#include "tests/support/dialogs.h"

using namespace tov;
using namespace testsupport;

namespace {

std::string Value(HKEY root, const std::string& key, const char* name) {
  char text[1024];
  GetRegString(root, key.c_str(), name, text);
  return text;
}

std::string DataCopy(const char* name) {
  char folder[MAX_PATH];
  DataFolder(folder);
  return std::string(folder) + "\\" + name;
}

std::string TheHostsPath() {
  char path[MAX_PATH];
  EXPECT_TRUE(HostsPath(path));
  return path;
}

// Puts bytes in place of a file for the test, giving the old ones back at
// the end (HOSTS exists in a fresh prefix; the others do not).
class StandIn {
 public:
  StandIn(const std::string& path, const std::string* bytes) : path_(path) {
    existed_ = PathExists(path_);
    if (existed_) old_ = ReadWholeFile(path_);
    if (bytes)
      WriteBytes(path_, *bytes);
    else
      DeleteFileA(path_.c_str());
  }
  ~StandIn() {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (existed_)
      WriteBytes(path_, old_);
    else
      DeleteFileA(path_.c_str());
  }

 private:
  std::string path_, old_;
  bool existed_;
};

class SystemFiles : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.loaded());
    ClearProductKeys();
  }
  void TearDown() override { ClearProductKeys(); }
  ProgramResources program_;  // the texts and the viewer's dialog
};

HWND FindNotepad() { return FindWindowA("Notepad", nullptr); }

}  // namespace

TEST_F(SystemFiles, HostsPathFollowsTheFamily) {
  std::string expected = IsNtFamily() ? SystemFolder() + "\\drivers\\etc\\HOSTS"
                                      : WindowsFolder() + "\\HOSTS";
  EXPECT_EQ(TheHostsPath(), expected);
}

TEST_F(SystemFiles, BaselineRecordsAndCopiesOnce) {
  std::string hosts = "127.0.0.1 localhost\r\n", autoexec = "@ECHO OFF\r\nPATH C:\\\r\n";
  StandIn hostsFile(TheHostsPath(), &hosts);
  StandIn autoexecFile("C:\\autoexec.bat", &autoexec);
  StandIn configFile("C:\\Config.sys", nullptr);
  SetFileAttributesA(TheHostsPath().c_str(), FILE_ATTRIBUTE_READONLY);
  // An older read-only copy is replaced.
  ASSERT_TRUE(WriteBytes(DataCopy("HOSTS"), "old copy"));
  SetFileAttributesA(DataCopy("HOSTS").c_str(), FILE_ATTRIBUTE_READONLY);

  MakeSystemFileBaseline();
  EXPECT_NE(Value(HKEY_LOCAL_MACHINE, kSysfilesKey, ""), "");
  struct Row {
    const char* name;
    std::string path, bytes;
  } rows[] = {{"HOSTS", TheHostsPath(), hosts}, {"Autoexec.bat", "C:\\autoexec.bat", autoexec}};
  for (const Row& row : rows) {
    std::string key = std::string(kSysfilesKey) + "\\" + row.name;
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "Size"), std::to_string(row.bytes.size()));
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "Type"), "0");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "Location"), row.path);
    EXPECT_NE(Value(HKEY_LOCAL_MACHINE, key, "Date"), "");
    EXPECT_NE(Value(HKEY_CURRENT_USER, key, "Comment"), "");
    EXPECT_EQ(ReadWholeFile(DataCopy(row.name)), row.bytes) << row.name;
  }
  std::string config = std::string(kSysfilesKey) + "\\Config.sys";
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, config.c_str()));
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, config, "Location"), "");
  EXPECT_FALSE(PathExists(DataCopy("Config.sys")));

  // Made once: a later change is the monitor's to notice.
  SetFileAttributesA(TheHostsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  WriteBytes(TheHostsPath(), "changed");
  MakeSystemFileBaseline();
  EXPECT_EQ(ReadWholeFile(DataCopy("HOSTS")), hosts);
  EXPECT_FALSE(RecordSystemFile("Config.sys", "C:\\Config.sys", "", 0));
  for (const char* name : {"HOSTS", "Autoexec.bat"}) {
    SetFileAttributesA(DataCopy(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(DataCopy(name).c_str());
  }
}

TEST_F(SystemFiles, ViewHostsOpensNotepadOrTellsThereIsNone) {
  std::string hosts = "127.0.0.1 localhost\r\n";
  {
    StandIn hostsFile(TheHostsPath(), &hosts);
    ASSERT_TRUE(ViewHostsFile(nullptr));
    HWND notepad = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (notepad = FindNotepad()) != nullptr; }, 15000));
    if (notepad) {
      PostMessageA(notepad, WM_CLOSE, 0, 0);
      WaitFor([&] { return !IsWindow(notepad); }, 10000);
    }
  }
  StandIn noHosts(TheHostsPath(), nullptr);
  std::string text;
  bool found = false;
  DialogQuery box = OfProcess(GetCurrentProcessId());
  box.messageBox = true;
  bool opened = RunDriven(
      box,
      [&](HWND dialog) {
        text = ControlText(dialog, 65535);
        Press(dialog, IDOK);
      },
      [] { return int(ViewHostsFile(nullptr)); }, &found);
  EXPECT_FALSE(opened);
  EXPECT_TRUE(found);
  EXPECT_NE(text.find("HOSTS file could not be located"), std::string::npos) << text;
}

TEST_F(SystemFiles, RestartCommandsShowTheWholeFileAndDeleteIt) {
  std::string wininitExe = WindowsFolder() + "\\wininit.exe";
  std::string ini = WindowsFolder() + "\\wininit.ini";
  StandIn noProgram(wininitExe, nullptr);
  std::string commands = "[rename]\nNUL=C:\\BAD.EXE\n";
  StandIn iniFile(ini, &commands);
  EXPECT_EQ(ShowRestartCommands(nullptr), 0);  // no wininit.exe: nothing shown


  std::string program = "MZ";
  StandIn withProgram(wininitExe, &program);
  std::string shown, path;
  bool found = false;
  OwnerWindow owner;
  HWND top = owner.top;
  int result = RunDriven(
      OwnedBy(top),
      [&](HWND dialog) {
        shown = ControlText(dialog, IDC_RESTART_TEXT);
        path = ControlText(dialog, IDC_RESTART_PATH);
        Press(dialog, IDC_RESTART_DELETE);
        WaitClosed(dialog);
      },
      [&] { return ShowRestartCommands(top); }, &found);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(shown, "[rename]\r\nNUL=C:\\BAD.EXE\r\n");
  EXPECT_EQ(path, ini);
  EXPECT_FALSE(PathExists(ini));

  // Missing and empty files both give the message.
  for (bool empty : {false, true}) {
    if (empty) WriteBytes(ini, "");
    std::string text;
    int shownKind = RunDriven(
        OwnedBy(top),
        [&](HWND box) {
          text = ControlText(box, 65535);
          Press(box, IDOK);
        },
        [&] { return ShowRestartCommands(top); }, &found);
    EXPECT_EQ(shownKind, 1);
    EXPECT_EQ(text, "No commands have been found in the WinInit.ini file.");
  }
}

TEST_F(SystemFiles, RestartCommandsDeleteOnlyWhatWasShown) {
  std::string wininitExe = WindowsFolder() + "\\wininit.exe";
  std::string ini = WindowsFolder() + "\\wininit.ini";
  std::string program = "MZ", commands = "[rename]\r\nNUL=C:\\ONE.EXE\r\n";
  StandIn withProgram(wininitExe, &program);
  StandIn iniFile(ini, &commands);
  std::string second;
  bool found = false;
  OwnerWindow owner;
  HWND top = owner.top;
  RunDriven(
      OwnedBy(top),
      [&](HWND dialog) {
        // Another program adds a command while the viewer is open.
        WriteBytes(ini, commands + "NUL=C:\\TWO.EXE\r\n");
        Click(dialog, IDC_RESTART_DELETE);
        second = ControlText(dialog, IDC_RESTART_TEXT);
      },
      [&] { return ShowRestartCommands(top); }, &found);
  EXPECT_TRUE(found);
  EXPECT_NE(second.find("TWO.EXE"), std::string::npos);
  EXPECT_TRUE(PathExists(ini));
}

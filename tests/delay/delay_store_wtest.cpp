// The delayed-start store against the real registry, WIN.INI and Startup
// folder of the test prefix: moving entries in, restoring them, the
// failures that must keep everything, and launching.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "startup/changes.h"
#include "core/entries.h"
#include "startup/enumerate.h"
#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kKnown[] = "Software\\Brenvik\\Tovrel\\Run";
const char kFolder[] = "C:\\delaytest";
const char kStartup[] = "C:\\delaytest\\Startup";

std::string Text(HKEY root, const char* key, const std::string& name) {
  return GetText(root, key, name, "<missing>");
}

// Every value of a program in the six keys of a hive.
std::vector<RegValue> StoreValues(HKEY hive, const std::string& program) {
  std::vector<RegValue> out;
  for (const char* key : kDelayKeys) out.push_back(ReadValue(hive, key, program));
  return out;
}

void MakeFile(const std::string& path) {
  CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
  WriteWholeFile(path, "MZ");
}

std::string WinIniRun() {
  char text[2048];
  GetProfileStringA("windows", "run", "", text, sizeof text);
  return text;
}

bool HasToken(const std::string& list, const std::string& token) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    if (list.compare(start, end - start, token) == 0) return true;
    start = end + 1;
  }
  return false;
}

struct Link {
  bool exists = false;
  std::string target, arguments;
};

Link ReadLink(const std::string& file) {
  Link l;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              (void**)&link)))
    return l;
  IPersistFile* persist = nullptr;
  link->QueryInterface(IID_IPersistFile, (void**)&persist);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
    char text[MAX_PATH] = "";
    link->GetPath(text, sizeof text, nullptr, 0);
    l.target = text;
    text[0] = 0;
    link->GetArguments(text, sizeof text);
    l.arguments = text;
    l.exists = true;
  }
  persist->Release();
  link->Release();
  return l;
}

int FindEntry(int code, const char* pathPart) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EntryCode(i) == code && strstr(EntryAt(i)->path, pathPart)) return i;
  return -1;
}

class DelayStore : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.loaded());
    CoInitialize(nullptr);
    ClearProductKeys();
    GetProfileStringA("windows", "run", "", oldRun_, sizeof oldRun_);
    CreateDirectoryA(kFolder, nullptr);
    CreateDirectoryA(kStartup, nullptr);
    ASSERT_TRUE(startup_.Set(kStartup));
  }
  void TearDown() override {
    WriteProfileStringA("windows", "run", oldRun_);
    ClearProductKeys();
    ClearEntries();
    CoUninitialize();
  }
  ProgramResources program_;
  SavedStartupFolder startup_;
  SavedKey machineRun_{HKEY_LOCAL_MACHINE, kUserRun};
  SavedKey userRun_{HKEY_CURRENT_USER, kUserRun};
  char oldRun_[1024];
};

// Five kinds of entry go into the store and come back exactly: a quoted
// path with spaces (HKLM, after question 1120), an expandable value, a
// RunDLL32 command, a WIN.INI item and a Startup shortcut with arguments.
// Restored one by one, then all at once, both give the same.
TEST_F(DelayStore, MoveThenRestoreGivesBackEveryKindExactly) {
  char programFiles[MAX_PATH];
  ExpandEnvironmentStringsA("%ProgramFiles%", programFiles, sizeof programFiles);
  MakeFile("C:\\delaytest\\My Agent\\agent.exe");
  MakeFile(std::string(programFiles) + "\\DelayTest\\tool.exe");
  MakeFile("C:\\delaytest\\agent.dll");
  MakeFile("C:\\delaytest\\winitem.exe");
  MakeFile("C:\\delaytest\\short.exe");
  const std::string lnk = std::string(kStartup) + "\\Short Agent.lnk";
  WriteValue(HKEY_LOCAL_MACHINE, kUserRun, "DelayQuoted",
             TextValue("\"C:\\delaytest\\My Agent\\agent.exe\" /min"));
  WriteValue(HKEY_CURRENT_USER, kUserRun, "DelayExpand",
             TextValue("%ProgramFiles%\\DelayTest\\tool.exe -a", REG_EXPAND_SZ));
  WriteValue(HKEY_CURRENT_USER, kUserRun, "DelayRunDll",
             TextValue("rundll32.exe C:\\delaytest\\agent.dll,Start"));
  WriteProfileStringA("windows", "run", "C:\\delaytest\\winitem.exe");
  const RegValue quoted = ReadValue(HKEY_LOCAL_MACHINE, kUserRun, "DelayQuoted");
  const RegValue expand = ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayExpand");
  const RegValue rundll = ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayRunDll");

  for (bool all : {false, true}) {
    SCOPED_TRACE(all ? "RestoreAllDelayed" : "RestoreDelayed");
    ASSERT_TRUE(SUCCEEDED(CreateShortcut(lnk.c_str(), "C:\\delaytest\\short.exe", "-tray",
                                         kFolder, "Short Agent", "", 0)));
    BuildStartupList(0);
    const struct {
      int code;
      const char* part;
    } moves[] = {{1, "My Agent"}, {11, "tool.exe"}, {11, "agent.dll"}, {101, "winitem"},
                 {200, "short.exe"}};
    for (const auto& m : moves) {
      int entry = FindEntry(m.code, m.part);
      ASSERT_GE(entry, 0) << m.part;
      DialogAnswerer answer(OfProcess(GetCurrentProcessId()), IDOK);
      EXPECT_TRUE(MoveToDelayedStart(entry)) << m.part;
      EXPECT_EQ(answer.answered(), m.code == 1 ? 1 : 0) << m.part;  // question 1120
    }
    // Out of their locations, into the store with their parts.
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kUserRun, "DelayQuoted").exists);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayExpand").exists);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayRunDll").exists);
    EXPECT_FALSE(HasToken(WinIniRun(), "C:\\delaytest\\winitem.exe"));
    EXPECT_EQ(GetFileAttributesA(lnk.c_str()), INVALID_FILE_ATTRIBUTES);
    const char agent[] = "C:\\delaytest\\My Agent\\agent.exe";
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDelayKey, agent), "1");
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDelayTimeKey, agent), "30");
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDelayParametersKey, agent), " /min");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kKnown, "C:\\delaytest\\My Agent\\agent.exe /min"), "1103");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayAppletKey, "C:\\delaytest\\agent.dll"), "RunDLL32.exe");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayParametersKey, "C:\\delaytest\\agent.dll"), ",Start");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayParametersKey, "C:\\delaytest\\short.exe"), "-tray");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayShortcutsKey, "C:\\delaytest\\short.exe"), lnk);

    if (all) {
      EXPECT_EQ(RestoreAllDelayed(), 5);
    } else {
      ASSERT_EQ(BuildDelayedList(), 5);
      for (int i = 0; i < 5; ++i) EXPECT_TRUE(RestoreDelayed(i)) << EntryAt(i)->path;
    }
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUserRun, "DelayQuoted"), quoted);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayExpand"), expand);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUserRun, "DelayRunDll"), rundll);
    EXPECT_TRUE(HasToken(WinIniRun(), "C:\\delaytest\\winitem.exe")) << WinIniRun();
    Link link = ReadLink(lnk);
    EXPECT_TRUE(link.exists);
    EXPECT_STRCASEEQ(link.target.c_str(), "C:\\delaytest\\short.exe");
    EXPECT_EQ(link.arguments, "-tray");
    EXPECT_EQ(BuildDelayedList(), 0);
    DeleteFileA(lnk.c_str());
  }
}

// A write-back that fails keeps all six values: a command over 259
// characters, a shortcut whose folder is gone.
TEST_F(DelayStore, FailedRestoreKeepsEveryValue) {
  const std::string longProgram = "C:\\delaytest\\long.exe";
  const std::string linkProgram = "C:\\delaytest\\short2.exe";
  const char* values[][6] = {
      {"11", "30", "", "DelayLong", "", "Long"},
      {"200", "45", "-p", "C:\\delaytest\\gone folder\\x.lnk", "", "Short2"}};
  const std::string programs[] = {longProgram, linkProgram};
  for (int p = 0; p < 2; ++p)
    for (int k = 0; k < kDelayKeyCount; ++k)
      if (values[p][k][0]) SetText(HKEY_CURRENT_USER, kDelayKeys[k], programs[p].c_str(), values[p][k]);
  SetText(HKEY_CURRENT_USER, kDelayParametersKey, longProgram.c_str(),
               (" " + std::string(250, 'x')).c_str());
  const auto before0 = StoreValues(HKEY_CURRENT_USER, longProgram);
  const auto before1 = StoreValues(HKEY_CURRENT_USER, linkProgram);
  ASSERT_EQ(BuildDelayedList(), 2);
  EXPECT_FALSE(RestoreDelayed(0));
  EXPECT_FALSE(RestoreDelayed(1));
  EXPECT_EQ(RestoreAllDelayed(), 0);
  EXPECT_EQ(StoreValues(HKEY_CURRENT_USER, longProgram), before0);
  EXPECT_EQ(StoreValues(HKEY_CURRENT_USER, linkProgram), before1);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kUserRun, "Long").exists);
}

// Nothing changes when the all-users question is cancelled, when the file
// in the Startup folder is the program itself, or when the program is
// already delayed through another entry.
TEST_F(DelayStore, RefusedAndCancelledMovesChangeNothing) {
  SetText(HKEY_LOCAL_MACHINE, kUserRun, "DelayCancel", "C:\\delaytest\\cancel.exe /q");
  DialogQuery box = OfProcess(GetCurrentProcessId());
  box.messageBox = true;
  {
    DialogAnswerer answer(box, IDCANCEL);
    EXPECT_EQ(MoveToDelayed(nullptr, "DelayCancel", "C:\\delaytest\\cancel.exe /q", "", 1, 0),
              MoveResult::kCancelled);
    EXPECT_EQ(answer.answered(), 1);
  }
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kUserRun, "DelayCancel"), "C:\\delaytest\\cancel.exe /q");
  EXPECT_FALSE(IsProgramDelayed("C:\\delaytest\\cancel.exe"));

  for (const char* name : {"direct.exe", "direct.bat"}) {
    std::string file = std::string(kStartup) + "\\" + name;
    MakeFile(file);
    DialogAnswerer answer(OfProcess(GetCurrentProcessId()), IDOK);  // message 1130
    bool exe = strstr(name, ".exe") != nullptr;
    EXPECT_EQ(MoveToDelayed(nullptr, "Direct", file.c_str(), exe ? file.c_str() : "", 200, 0),
              MoveResult::kRefused);
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << name;
    DeleteFileA(file.c_str());
  }

  SetText(HKEY_CURRENT_USER, kUserRun, "DelaySameA", "C:\\delaytest\\same.exe /a");
  SetText(HKEY_CURRENT_USER, kUserRun, "DelaySameB", "C:\\delaytest\\same.exe /b");
  EXPECT_EQ(MoveToDelayed(nullptr, "DelaySameA", "C:\\delaytest\\same.exe /a", "", 11, 0),
            MoveResult::kMoved);
  {
    DialogAnswerer answer(OfProcess(GetCurrentProcessId()), IDOK);
    EXPECT_EQ(MoveToDelayed(nullptr, "DelaySameB", "C:\\delaytest\\same.exe /b", "", 11, 0),
              MoveResult::kRefused);
    EXPECT_EQ(answer.answered(), 1);
  }
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kUserRun, "DelaySameB"), "C:\\delaytest\\same.exe /b");
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayParametersKey, "C:\\DELAYTEST\\SAME.EXE"), " /a");
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayTitleKey, "C:\\DELAYTEST\\SAME.EXE"), "DelaySameA");
}

// A disabled Startup shortcut (lying in the "Disabled" folder) leaves it
// and comes back into the Startup folder, where it runs again.
TEST_F(DelayStore, DisabledShortcutComesBackIntoTheStartupFolder) {
  MakeFile("C:\\delaytest\\short3.exe");
  const std::string lnk = std::string(kStartup) + "\\Third Agent.lnk";
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(lnk.c_str(), "C:\\delaytest\\short3.exe", "", kFolder,
                                       "Third Agent", "", 0)));
  BuildStartupList(0);
  int entry = FindEntry(200, "short3.exe");
  ASSERT_GE(entry, 0);
  ASSERT_EQ(DisableRunProgram(EntryAt(entry)->title, EntryAt(entry)->path, EntryAt(entry)->source, 200), 1);
  BuildStartupList(0);
  entry = FindEntry(200, "short3.exe");
  ASSERT_GE(entry, 0);
  const std::string disabledLink = EntryAt(entry)->source;
  EXPECT_NE(disabledLink, lnk);
  EXPECT_TRUE(MoveToDelayedStart(entry));
  EXPECT_EQ(GetFileAttributesA(disabledLink.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(IsTitleDisabled("Third Agent"));
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayShortcutsKey, "C:\\delaytest\\short3.exe"), lnk);
  ASSERT_EQ(BuildDelayedList(), 1);
  EXPECT_TRUE(RestoreDelayed(0));
  EXPECT_TRUE(ReadLink(lnk).exists);
  DeleteFileA(lnk.c_str());
}

// The list: both hives with their flags, long titles cut, titles derived
// when none is stored, sources by code. Add writes the described values,
// clears stale ones and never overwrites a delayed program.
TEST_F(DelayStore, ListAndAdd) {
  MakeFile("C:\\delaytest\\notitle.exe");
  const std::string longTitle(200, 'T');
  SetText(HKEY_LOCAL_MACHINE, kDelayKey, "C:\\delaytest\\machine.exe", "3");
  SetText(HKEY_LOCAL_MACHINE, kDelayTitleKey, "C:\\delaytest\\machine.exe", longTitle.c_str());
  SetText(HKEY_CURRENT_USER, kDelayKey, "C:\\delaytest\\short.exe", "200");
  SetText(HKEY_CURRENT_USER, kDelayShortcutsKey, "C:\\delaytest\\short.exe", "C:\\s\\a.lnk");
  SetText(HKEY_CURRENT_USER, kDelayAppletKey, "C:\\delaytest\\notitle.exe", "RunDLL32.exe");
  ASSERT_TRUE(AddDelayed("C:\\delaytest\\notitle.exe", false));
  EXPECT_FALSE(AddDelayed("C:\\delaytest\\notitle.exe", true));
  EXPECT_FALSE(AddDelayed("C:\\delaytest\\short.exe", false));
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayKey, "C:\\delaytest\\notitle.exe"), "11");
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayTimeKey, "C:\\delaytest\\notitle.exe"), "30");
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kDelayAppletKey, "C:\\delaytest\\notitle.exe").exists);
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kDelayKey, "C:\\delaytest\\notitle.exe").exists);

  ASSERT_EQ(BuildDelayedList(), 3);
  const Entry* machine = EntryAt(0);
  EXPECT_EQ(machine->flag, 0);
  EXPECT_EQ(machine->code, 3);
  EXPECT_EQ(std::string(machine->title), longTitle.substr(0, 127));
  EXPECT_STREQ(machine->source, machine->title);
  int shortcut = EntryAt(1)->code == 200 ? 1 : 2;
  EXPECT_EQ(EntryAt(shortcut)->flag, 1);
  EXPECT_STREQ(EntryAt(shortcut)->source, "C:\\s\\a.lnk");
  EXPECT_STREQ(EntryAt(3 - shortcut)->title, "notitle.exe");
  EXPECT_EQ(EntryAt(3 - shortcut)->code, 11);

  // A program stored under its short name is listed by its long name and
  // still found there.
  MakeFile("C:\\delaytest\\Short Name Agent.exe");
  char shortName[MAX_PATH];
  ASSERT_GT(GetShortPathNameA("C:\\delaytest\\Short Name Agent.exe", shortName, MAX_PATH), 0u);
  ClearProductKeys();
  SetText(HKEY_CURRENT_USER, kDelayKey, shortName, "11");
  SetText(HKEY_CURRENT_USER, kDelayTimeKey, shortName, "45");
  ASSERT_EQ(BuildDelayedList(), 1);
  EXPECT_STREQ(EntryAt(0)->path, "C:\\delaytest\\Short Name Agent.exe");
  char name[kDelayNameCapacity];
  EXPECT_TRUE(DelayedEntryName(0, name));
  EXPECT_STREQ(name, shortName);
  EXPECT_TRUE(RemoveDelayed(0));
  EXPECT_FALSE(IsProgramDelayed(shortName));
}

// Launching runs the program with its parameters, and a RunDLL32 entry
// through its applet; each writes its marker file.
TEST_F(DelayStore, LaunchStartsProgramAndRunDllEntry) {
  const std::string exe = BinPath("marker_writer.exe");
  const std::string dll = BinPath("marker_dll.dll");
  const std::string marker1 = std::string(kFolder) + "\\launch1.txt";
  const std::string marker2 = std::string(kFolder) + "\\launch2.txt";
  DeleteFileA(marker1.c_str());
  DeleteFileA(marker2.c_str());
  SetText(HKEY_CURRENT_USER, kDelayKey, exe.c_str(), "11");
  SetText(HKEY_CURRENT_USER, kDelayParametersKey, exe.c_str(), (" -x " + marker1).c_str());
  SetText(HKEY_LOCAL_MACHINE, kDelayKey, dll.c_str(), "1");
  SetText(HKEY_LOCAL_MACHINE, kDelayParametersKey, dll.c_str(), (",WriteMarker " + marker2).c_str());
  SetText(HKEY_LOCAL_MACHINE, kDelayAppletKey, dll.c_str(), "RunDLL32.exe");
  ASSERT_EQ(BuildDelayedList(), 2);
  EXPECT_TRUE(LaunchDelayed(0));
  EXPECT_TRUE(LaunchDelayed(1));
  EXPECT_TRUE(WaitFor(
      [&] { return ReadWholeFile(marker1).find("ran ") == 0; }, 10000));
  EXPECT_NE(ReadWholeFile(marker1).find("-x " + marker1), std::string::npos);
  EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(marker2) == "ran"; }, 10000));
  // Launching changes nothing in the store.
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kDelayKey, exe), "11");
}

}  // namespace

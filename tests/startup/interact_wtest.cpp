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

#include <map>
#include <string>

#include "core/history.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "startup/baseline_rules.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "startup/entries.h"
#include "startup/enumerate.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

const char kMachineRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kShellFoldersPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kAppInitKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kTitle[] = "InteractAgent";

// ---------------------------------------------------------------------------
// A snapshot of registry keys (every value: type and bytes) and of files
// (their bytes), compared whole.

struct Snapshot {
  std::map<std::string, std::string> items;
  bool operator==(const Snapshot& o) const { return items == o.items; }
};

void AddKey(Snapshot* s, HKEY root, const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
  for (DWORD i = 0;; ++i) {
    char name[512];
    BYTE data[4096];
    DWORD nameLength = sizeof name, size = sizeof data, type = 0;
    if (RegEnumValueA(k, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    s->items[(root == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\") + key + "\\" + name] =
        std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
  }
  for (DWORD i = 0;; ++i) {
    char sub[256];
    DWORD length = sizeof sub;
    if (RegEnumKeyExA(k, i, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    AddKey(s, root, key + "\\" + sub);
  }
  RegCloseKey(k);
}

void AddFolder(Snapshot* s, const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (found.cFileName[0] == '.') continue;
    std::string path = folder + "\\" + found.cFileName;
    s->items["file " + path] = testsupport::ReadWholeFile(path);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

std::string WinIni(const char* key) {
  char text[2048];
  GetProfileStringA("windows", key, "", text, sizeof text);
  return text;
}

std::string HistoryText() {
  char path[MAX_PATH];
  return HistoryFilePath(path, sizeof path) ? testsupport::ReadWholeFile(path) : "";
}

struct RegValue {
  DWORD type = REG_NONE;
  std::string bytes;  // empty: missing
  bool operator==(const RegValue& o) const { return type == o.type && bytes == o.bytes; }
};

RegValue Read(HKEY root, const char* key, const char* name) {
  RegValue v;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return v;
  char data[4096];
  DWORD size = sizeof data;
  if (RegQueryValueExA(k, name, nullptr, &v.type, (BYTE*)data, &size) == ERROR_SUCCESS)
    v.bytes.assign(data, size);
  RegCloseKey(k);
  return v;
}

void Write(HKEY root, const char* key, const char* name, DWORD type, const std::string& text) {
  HKEY k;
  RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  RegSetValueExA(k, name, 0, type, (const BYTE*)text.c_str(), DWORD(text.size() + 1));
  RegCloseKey(k);
}

void Delete(HKEY root, const char* key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name);
  RegCloseKey(k);
}

std::string Upper(std::string s) {
  for (char& c : s) c = UpperChar(c);
  return s;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PutFile(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
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
  HMODULE program_ = nullptr;
  std::string load_, userStartupValue_, appInit_;
  std::string startup_, disabled_, removed_, tools_;
  RegValue userStartup_, commonStartup_, machineStartup_, appInitValue_;

  void SetUp() override {
    testsupport::ClearProductKeys();
    program_ = LoadLibraryExA(testsupport::BinPath("TovrelEx.exe").c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program_);
    SetProgramInstance(program_);
    SetSetting(kOptHistory, 1);
    ClearHistoryFile();
    CoInitialize(nullptr);
    load_ = WinIni("load");
    userStartup_ = Read(HKEY_CURRENT_USER, kShellFoldersPath, "Startup");
    machineStartup_ = Read(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Startup");
    commonStartup_ = Read(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Common Startup");
    appInitValue_ = Read(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls");
    startup_ = testsupport::TempFilePath("interact_startup");
    tools_ = testsupport::TempFilePath("Interact Tools");
    disabled_ = testsupport::BinPath("Disabled");
    removed_ = testsupport::BinPath("Removed");
    for (const std::string& f : {startup_, tools_}) CreateDirectoryA(f.c_str(), nullptr);
    Write(HKEY_CURRENT_USER, kShellFoldersPath, "Startup", REG_SZ, startup_);
    Delete(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Startup");
    Delete(HKEY_LOCAL_MACHINE, kShellFoldersPath, "Common Startup");
  }

  void TearDown() override {
    ClearEntries();
    Delete(HKEY_LOCAL_MACHINE, kMachineRun, kTitle);
    Delete(HKEY_CURRENT_USER, kMachineRun, kTitle);
    WriteProfileStringA("windows", "load", load_.c_str());
    Restore(HKEY_CURRENT_USER, "Startup", userStartup_);
    Restore(HKEY_LOCAL_MACHINE, "Startup", machineStartup_);
    Restore(HKEY_LOCAL_MACHINE, "Common Startup", commonStartup_);
    if (appInitValue_.bytes.empty()) Delete(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls");
    else Write(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls", appInitValue_.type,
               appInitValue_.bytes.c_str());
    for (const std::string& f : {startup_, tools_, disabled_, removed_}) {
      WIN32_FIND_DATAA found;
      HANDLE find = FindFirstFileA((f + "\\*").c_str(), &found);
      if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileA((f + "\\" + found.cFileName).c_str());
        while (FindNextFileA(find, &found));
        FindClose(find);
      }
      RemoveDirectoryA(f.c_str());
    }
    ClearHistoryFile();
    SetSetting(kOptHistory, 0);
    CoUninitialize();
    SetProgramInstance(nullptr);
    if (program_) FreeLibrary(program_);
    testsupport::ClearProductKeys();
  }

  static void Restore(HKEY root, const char* name, const RegValue& v) {
    if (v.bytes.empty()) Delete(root, kShellFoldersPath, name);
    else Write(root, kShellFoldersPath, name, v.type, v.bytes.c_str());
  }

  // Everything the changes may touch.
  Snapshot Take() const {
    Snapshot s;
    AddKey(&s, HKEY_LOCAL_MACHINE, kMachineRun);
    AddKey(&s, HKEY_CURRENT_USER, kMachineRun);
    AddKey(&s, HKEY_LOCAL_MACHINE, "Software\\Brenvik");
    AddKey(&s, HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel\\Run");
    s.items["win.ini load"] = WinIni("load");
    s.items["AppInit_Dlls"] = Read(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls").bytes;
    for (const std::string& f : {startup_, disabled_, removed_}) AddFolder(&s, f);
    s.items["history"] = HistoryText();
    return s;
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
  Write(HKEY_LOCAL_MACHINE, kMachineRun, kTitle, REG_SZ, "C:\\Machine\\agent.exe /m");
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_EXPAND_SZ, "\"C:\\User\\agent.exe\" /u");
  const RegValue machine = Read(HKEY_LOCAL_MACHINE, kMachineRun, kTitle);
  const RegValue user = Read(HKEY_CURRENT_USER, kMachineRun, kTitle);

  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  // Refreshing the list leaves the user's entry alone and shows it enabled.
  BuildStartupList(0);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), user);
  ASSERT_GE(FindEntry(kTitle, 11), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 11)), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 1)), 1);
  EXPECT_EQ(CountEntries(kTitle), 2);

  // The second entry of the title cannot be disabled: nothing changes.
  const Snapshot before = Take();
  EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeTitleTaken);
  EXPECT_TRUE(Take() == before);

  // Enabling the first brings its exact value back; the second is untouched.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kMachineRun, kTitle), machine);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), user);
  EXPECT_FALSE(IsTitleDisabled(kTitle));

  // Removing the user's entry while the machine's is disabled keeps the
  // machine's stored command.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
  EXPECT_TRUE(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes.empty());
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kDisabledRunKey, kTitle).bytes,
            std::string("C:\\Machine\\agent.exe /m") + '\0');
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeDone);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kMachineRun, kTitle), machine);
}

TEST_F(InteractTest, ValueWrittenBackIsDisabledAgainOnlyWhenItIsTheSameProgram) {
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_SZ, "C:\\User\\agent.exe /u");
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  // The program writes itself back, quoted this time: the same program.
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_SZ, "\"C:\\User\\agent.exe\" /u");
  const RegValue again = Read(HKEY_CURRENT_USER, kMachineRun, kTitle);
  BuildStartupList(0);
  EXPECT_TRUE(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes.empty());
  EXPECT_EQ(CountEntries(kTitle), 1);
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), again);  // the newer bytes

  // Another program under the same name stays enabled and listed.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_SZ, "C:\\Other\\other.exe");
  BuildStartupList(0);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes, std::string("C:\\Other\\other.exe") + '\0');
  EXPECT_EQ(CountEntries(kTitle), 2);
}

TEST_F(InteractTest, StartupFileAndRunValueShareATitle) {
  const std::string bat = startup_ + "\\" + kTitle + ".bat";
  PutFile(bat, "@echo off\r\nrem agent\r\n");
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_SZ, "C:\\User\\agent.exe");
  const RegValue run = Read(HKEY_CURRENT_USER, kMachineRun, kTitle);

  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 200), kChangeDone);
  BuildStartupList(0);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), run);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 11)), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 200)), 200);
  EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeTitleTaken);

  // Enabling the file puts it back where it was; the Run entry is still listed.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 200), kChangeDone);
  EXPECT_EQ(testsupport::ReadWholeFile(bat), "@echo off\r\nrem agent\r\n");
  BuildStartupList(0);
  EXPECT_EQ(CountEntries(kTitle), 2);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), run);

  // The other way round: the Run value disabled first, the file then refused.
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  const Snapshot before = Take();
  EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 200), kChangeTitleTaken);
  EXPECT_TRUE(Take() == before);
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 11), kChangeDone);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), run);
}

TEST_F(InteractTest, ShortFormWinIniItem) {
  const std::string program = tools_ + "\\AudioBossAgent.exe";
  PutFile(program, "MZ");
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
  const Snapshot before = Take();
  EXPECT_EQ(DeleteRunProgram("load", "C:\\Gone\\gone.exe", "", 100), 0);
  EXPECT_EQ(DisableRunProgram("load", "C:\\Gone\\gone.exe", "", 100), kChangeFailed);
  EXPECT_TRUE(Take() == before);
}

TEST_F(InteractTest, ProgramFilesInAStartupFolderAreNeverDeleted) {
  for (const char* ext : {".exe", ".bat"}) {
    SCOPED_TRACE(ext);
    const std::string name = std::string(kTitle) + ext;
    const std::string file = startup_ + "\\" + name;
    const std::string bytes = std::string("program bytes ") + ext + std::string(3, '\0');
    PutFile(file, bytes);
    BuildStartupList(0);
    int i = -1;
    for (int k = 0; k < EntryCount(); ++k)
      if (EntryAt(k)->code == 200 && EqualsNoCase(EntryAt(k)->path, file.c_str())) i = k;
    ASSERT_GE(i, 0);
    Entry e = *EntryAt(i);

    // Remove keeps the bytes in our own folder and names it in the history.
    ASSERT_EQ(DeleteRunProgram(e.title, e.path, e.source, 200), 1);
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(testsupport::ReadWholeFile(removed_ + "\\" + name), bytes);
    EXPECT_NE(Upper(HistoryText()).find(Upper("\t" + file + "\t" + removed_ + "\\" + name + "\r\n")),
              std::string::npos)
        << HistoryText();
    ASSERT_EQ(LoadHistory(), 1);
    int outcome = -1;
    RestoreHistoryEvent(nullptr, 0, &outcome);
    EXPECT_EQ(outcome, kRestoreDone);
    EXPECT_EQ(testsupport::ReadWholeFile(file), bytes);
    RestoreHistoryEvent(nullptr, 0, &outcome);  // the same line again
    EXPECT_EQ(outcome, kRestoreAlreadyPresent);
    EXPECT_EQ(testsupport::ReadWholeFile(file), bytes);

    // Disable and Enable move the same bytes out and back to the same path.
    ASSERT_EQ(DisableRunProgram(e.title, e.path, e.source, 200), kChangeDone);
    EXPECT_EQ(testsupport::ReadWholeFile(disabled_ + "\\" + name), bytes);
    BuildStartupList(0);
    i = FindEntry(e.title, 200);
    ASSERT_GE(i, 0);
    Entry d = *EntryAt(i);
    ASSERT_EQ(DisableRunProgram(d.title, d.path, d.source, 200), kChangeDone);
    EXPECT_EQ(testsupport::ReadWholeFile(file), bytes);

    // Removed while disabled, then restored: back in the Startup folder,
    // listed as enabled, and no index value left.
    ASSERT_EQ(DisableRunProgram(e.title, e.path, e.source, 200), kChangeDone);
    ClearHistoryFile();
    ASSERT_EQ(OnEntry(DeleteRunProgram, e.title, 200), 1);
    EXPECT_FALSE(IsTitleDisabled(e.title));
    ASSERT_EQ(LoadHistory(), 1);
    RestoreHistoryEvent(nullptr, 0, &outcome);
    EXPECT_EQ(outcome, kRestoreDone);
    EXPECT_EQ(testsupport::ReadWholeFile(file), bytes);
    EXPECT_FALSE(Exists(disabled_ + "\\" + name));
    BuildStartupList(0);
    ASSERT_GE(FindEntry(e.title, 200), 0);
    EXPECT_EQ(IsEntryDisabled(FindEntry(e.title, 200)), 0);
    DeleteFileA(file.c_str());
    ClearHistoryFile();
  }
}

TEST_F(InteractTest, RemovedDisabledShortcutComesBackEnabled) {
  const std::string target = tools_ + "\\agent.exe";
  PutFile(target, "MZ");
  const std::string link = startup_ + "\\" + kTitle + ".lnk";
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(link.c_str(), target.c_str(), "", tools_.c_str(), kTitle,
                                       target.c_str(), 0)));
  ASSERT_EQ(OnEntry(DisableRunProgram, kTitle, 200), kChangeDone);
  ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 200), 1);
  EXPECT_FALSE(Exists(disabled_ + "\\" + kTitle + ".lnk"));
  ASSERT_EQ(LoadHistory(), 1);
  int outcome = -1;
  RestoreHistoryEvent(nullptr, 0, &outcome);
  EXPECT_EQ(outcome, kRestoreDone);
  EXPECT_TRUE(Exists(link));
  EXPECT_FALSE(Exists(disabled_ + "\\" + kTitle + ".lnk"));
  BuildStartupList(0);
  ASSERT_GE(FindEntry(kTitle, 200), 0);
  EXPECT_EQ(IsEntryDisabled(FindEntry(kTitle, 200)), 0);
  // Restored again: it is there, nothing changes.
  const Snapshot before = Take();
  ASSERT_EQ(LoadHistory(), 1);
  RestoreHistoryEvent(nullptr, 0, &outcome);
  EXPECT_EQ(outcome, kRestoreAlreadyPresent);
  EXPECT_TRUE(Take() == before);
}

TEST_F(InteractTest, OneLineRestoredTwiceAddsOneCopy) {
  struct Case {
    int code;
    const char* command;
  } cases[] = {{100, "C:\\Interact\\load.exe"}, {255, "C:\\Interact\\hook.dll"},
               {11, "C:\\Interact\\run.exe /x"}};
  WriteProfileStringA("windows", "load", "C:\\x.exe");
  Write(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls", REG_SZ, "a.dll");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(RestoreRunProgram(kTitle, c.command, "", c.code), kChangeDone);
    const Snapshot once = Take();
    EXPECT_EQ(RestoreRunProgram(kTitle, c.command, "", c.code), kChangeAlreadyPresent);
    EXPECT_TRUE(Take() == once);
  }
  EXPECT_EQ(WinIni("load"), "C:\\x.exe;C:\\Interact\\load.exe");
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kAppInitKey, "AppInit_Dlls").bytes,
            std::string("a.dll,C:\\Interact\\hook.dll") + '\0');
  // A Run value of that name is never overwritten by a restore.
  EXPECT_EQ(RestoreRunProgram(kTitle, "C:\\Other\\other.exe", "", 11), kChangeAlreadyPresent);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes,
            std::string("C:\\Interact\\run.exe /x") + '\0');
}

TEST_F(InteractTest, AddAsksBeforeReplacingAndQuotesAPathWithBlanks) {
  const std::string path = tools_ + "\\agent.exe";
  EXPECT_EQ(AddUserRunProgram(kTitle, path.c_str(), false), kChangeDone);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes, "\"" + path + "\"" + '\0');
  char known[MAX_PATH];
  ASSERT_TRUE(KnownListName(path.c_str(), known, sizeof known));
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKnownRunKey, known).bytes, std::string("1") + '\0');
  // The enumeration lists it with the path the known list is named by.
  BuildStartupList(0);
  ASSERT_GE(FindEntry(kTitle, 11), 0);
  EXPECT_STREQ(EntryAt(FindEntry(kTitle, 11))->path, path.c_str());
  // A value of that name already there is replaced only when asked to.
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_EXPAND_SZ, "C:\\Mine\\mine.exe");
  const Snapshot before = Take();
  EXPECT_EQ(AddUserRunProgram(kTitle, path.c_str(), false), kChangeAlreadyPresent);
  EXPECT_TRUE(Take() == before);
  EXPECT_EQ(AddUserRunProgram(kTitle, "C:\\Tools\\agent.exe", true), kChangeDone);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle).bytes,
            std::string("C:\\Tools\\agent.exe") + '\0');
}

TEST_F(InteractTest, KnownListValuesAreNamedOneWayByEveryWriter) {
  // Seeding names "=" as ":"; Remove must find that name, Restore write it.
  const char command[] = "C:\\Agent\\agent.exe /opt=1";
  Write(HKEY_CURRENT_USER, kMachineRun, kTitle, REG_SZ, command);
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1", "11");
  ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
  EXPECT_TRUE(Read(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1").bytes.empty());
  ASSERT_EQ(RestoreRunProgram(kTitle, command, "", 11), kChangeDone);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKnownRunKey, "C:\\Agent\\agent.exe /opt:1").bytes,
            std::string("11") + '\0');
  EXPECT_TRUE(Read(HKEY_CURRENT_USER, kKnownRunKey, command).bytes.empty());
}

// A key whose access list lets everyone read it and nobody change it.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, const char* path) {
    RegOpenKeyExA(root, path, 0, READ_CONTROL | WRITE_DAC, &key_);
    GetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &old_,
                    nullptr, &descriptor_);
    EXPLICIT_ACCESSA access = {};
    access.grfAccessPermissions = KEY_READ;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    CreateWellKnownSid(WinWorldSid, nullptr, sid, &sidSize);
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = reinterpret_cast<char*>(sid);
    PACL acl = nullptr;
    SetEntriesInAclA(1, &access, nullptr, &acl);
    applied_ = SetSecurityInfo(key_, SE_REGISTRY_KEY,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
    LocalFree(acl);
  }
  ~ReadOnlyKey() {
    SetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, old_,
                    nullptr);
    LocalFree(descriptor_);
    RegCloseKey(key_);
  }
  bool applied() const { return applied_; }

 private:
  HKEY key_ = nullptr;
  PACL old_ = nullptr;
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  bool applied_ = false;
};

TEST_F(InteractTest, AKeyTheUserMayNotChangeReportsNoSuccess) {
  const char command[] = "C:\\Locked\\agent.exe";
  Write(HKEY_LOCAL_MACHINE, kMachineRun, kTitle, REG_SZ, command);
  char known[MAX_PATH];
  ASSERT_TRUE(KnownListName(command, known, sizeof known));
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, known, "1");
  {
    ReadOnlyKey locked(HKEY_LOCAL_MACHINE, kMachineRun);
    ASSERT_TRUE(locked.applied());
    HKEY probe;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMachineRun, 0, KEY_SET_VALUE, &probe);
    if (rc == ERROR_SUCCESS) {
      rc = RegDeleteValueA(probe, "no such value of the test");
      RegCloseKey(probe);
    }
    if (rc != ERROR_ACCESS_DENIED)
      GTEST_SKIP() << "Wine difference: this prefix lets the owner change a key whose list "
                      "grants only KEY_READ (" << rc << ")";
    const Snapshot before = Take();
    EXPECT_EQ(OnEntry(DeleteRunProgram, kTitle, 1), 0);
    EXPECT_EQ(OnEntry(DisableRunProgram, kTitle, 1), kChangeFailed);
    EXPECT_TRUE(Take() == before);  // value, known list, store and history as they were
    EXPECT_EQ(HistoryText(), "");
  }
  EXPECT_EQ(OnEntry(DeleteRunProgram, kTitle, 1), 1);
}

TEST_F(InteractTest, ExactCopiesComeBackWhateverSpellingTheHistoryHolds) {
  const std::string program = tools_ + "\\agent.exe";
  PutFile(program, "MZ");
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
    Write(HKEY_CURRENT_USER, kMachineRun, kTitle, c.type, c.value);
    const RegValue original = Read(HKEY_CURRENT_USER, kMachineRun, kTitle);
    ASSERT_EQ(OnEntry(DeleteRunProgram, kTitle, 11), 1);
    EXPECT_EQ(RestoreRunProgram(kTitle, c.history.c_str(), "", 11), kChangeDone);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, kMachineRun, kTitle), original);
    Delete(HKEY_CURRENT_USER, kMachineRun, kTitle);
  }
}

}  // namespace

// The startup enumeration under Wine: every location seeded in the prefix's
// real registry, WIN.INI and folders, read back in the fixed order with its
// codes, titles, paths and flags. Only what a test seeds is compared; the
// prefix's own entries are left out, and every seeded value, key, file and
// folder is removed before and after each test.
#include "startup/enumerate.h"

#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "startup/catalogue.h"
#include "core/entries.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRunServicesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kRunServicesOnceKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char kWindowsNt[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kDelayLoad[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
const char kSharedTask[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler";
const char kExecHooks[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks";
const char kNotify[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify";
const char kFxClsid[] = "{F0C1A5E5-0000-4D1E-9B5E-00000000F0C1}";
const char kFxClassKey[] = "CLSID\\{F0C1A5E5-0000-4D1E-9B5E-00000000F0C1}";

struct Seeded {
  HKEY root;
  const char* key;
  const char* name;
  const char* data;
};

// Run-key rows; the data are real rows of the autostart corpus.
const Seeded kRunRows[] = {
    {HKEY_LOCAL_MACHINE, kRunKey, "Agent", "C:\\WINDOWS\\rundll32.exe C:\\Agent\\agent.dll,Start"},
    {HKEY_LOCAL_MACHINE, kRunKey, "ShStatEXE",
     "\"C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE\" /STANDALONE"},
    {HKEY_LOCAL_MACHINE, kRunKey, "M", "C:\\x\\fxone.exe"},
    {HKEY_LOCAL_MACHINE, kRunKey, "Fx Short", "a.ex"},
    {HKEY_LOCAL_MACHINE, kRunOnceKey, "BluetoothAuthenticationAgent",
     "rundll32.exe bthprops.cpl,,BluetoothAuthenticationAgent"},
    {HKEY_LOCAL_MACHINE, kRunServicesOnceKey, "Fx Repeat", "C:\\x\\fxrepeat.exe"},
    {HKEY_CURRENT_USER, kRunKey, "FX REPEAT", "c:\\X\\FXREPEAT.exe"},
    {HKEY_CURRENT_USER, kRunOnceKey, "CCDiskHook",
     "Rundll32.exe C:\\Windows\\system32\\CCDiskHook.dll,InstallExplorerHooks"},
    {HKEY_CURRENT_USER, kRunOnceKey, "DAEMON Tools Lite",
     "\"C:\\Program Files (x86)\\DAEMON Tools Lite\\DTLite.exe\" -autorun"},
    {HKEY_CURRENT_USER, kRunServicesKey, "ctfmon.exe", "%SystemRoot%\\system32\\ctfmon.exe"},
};

bool NtFamily() { return std::string(Family()) != "win98"; }

std::string Lower(std::string s) {
  for (char& c : s) c = LowerChar(c);
  return s;
}

std::string LongForm(const std::string& path) {
  char out[MAX_PATH];
  LongPathName(out, path.c_str());
  return out;
}

void WriteFileText(const std::string& path, const char* text) {
  ASSERT_TRUE(WriteWholeFile(path, text)) << path;
}

void MakeShortcut(const std::string& file, const std::string& target, const char* description) {
  ASSERT_TRUE(SaveShortcut(file, target, description ? description : "")) << file;
}

struct Row {
  int code;
  std::string title, path, source;
  int flag;
};

std::vector<Row> AllRows() {
  std::vector<Row> rows;
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* e = EntryAt(i);
    rows.push_back({e->code, e->title, e->path, e->source, e->flag});
  }
  return rows;
}

const Row* FindTitle(const std::vector<Row>& rows, const std::string& title) {
  for (const Row& r : rows)
    if (r.title == title) return &r;
  return nullptr;
}

int CountTitle(const std::vector<Row>& rows, const std::string& title) {
  int n = 0;
  for (const Row& r : rows) n += r.title == title;
  return n;
}

class EnumerateTest : public testing::Test {
 protected:
  std::string root_, startup_, common_, disabledFolder_;
  // The prefix's Startup folders and Winlogon values are put back at the end.
  SavedValue savedFolders_[3] = {{HKEY_LOCAL_MACHINE, kShellFolders, "Startup"},
                                 {HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup"},
                                 {HKEY_CURRENT_USER, kShellFolders, "Common Startup"}};
  SavedStartupFolder userStartup_;
  SavedValue savedUserinit_{HKEY_LOCAL_MACHINE, kWinlogon, "Userinit"};
  SavedValue savedShell_{HKEY_LOCAL_MACHINE, kWinlogon, "Shell"};
  SavedValue savedAppInit_{HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls"};
  bool madeUsersSoftware_ = false;

  void SetUp() override {
    CoInitialize(nullptr);
    SetProgramCaption("Tovrel");
    SetSetting(kOptShowAllStartup, 0);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    root_ = LongForm(temp) + "tovrel_enum_" + Family();
    startup_ = root_ + "\\Startup";
    common_ = root_ + "\\Common Startup";
    disabledFolder_ = BinFolder() + "\\Disabled";
    HKEY k;
    madeUsersSoftware_ = RegOpenKeyExA(HKEY_USERS, "Software", 0, KEY_READ, &k) != ERROR_SUCCESS;
    if (!madeUsersSoftware_) RegCloseKey(k);
    Clean();
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA(startup_.c_str(), nullptr);
    CreateDirectoryA(common_.c_str(), nullptr);
    // The prefix's own Startup folders are replaced by the temporary ones.
    SetText(HKEY_LOCAL_MACHINE, kShellFolders, "Startup", "");
    SetText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup", common_.c_str());
    ASSERT_TRUE(userStartup_.Set(startup_));
    SetText(HKEY_CURRENT_USER, kShellFolders, "Common Startup", "");
  }

  void TearDown() override {
    Clean();
    ClearEntries();
    SetSetting(kOptShowAllStartup, 0);
    CoUninitialize();
  }

  void Clean() {
    ClearEntries();
    for (const Seeded& s : kRunRows) DeleteRegValue(s.root, s.key, s.name);
    for (const char* name : {"Fx Redisabled", "Fx Zafter"})
      DeleteRegValue(HKEY_LOCAL_MACHINE, kRunKey, name);
    DeleteRegValue(HKEY_CURRENT_USER, kRunOnceKey, "Fx Late Redisabled");
    for (int i = 0; i < 4100; ++i) {
      char name[32];
      wsprintfA(name, "Fx Bulk %04d", i);
      if (DeleteRegValue(HKEY_CURRENT_USER, kRunKey, name) == false && i > 0) break;
    }
    ClearProductKeys();  // the disabled store among them
    DeleteRegValue(HKEY_USERS, kRunKey, "PeerBlock");
    if (madeUsersSoftware_) DeleteRegTree(HKEY_USERS, "Software");
    WriteProfileStringA("windows", "run", nullptr);
    WriteProfileStringA("windows", "load", nullptr);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kDelayLoad, "Fx DelayLoad");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSharedTask, kFxClsid);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kExecHooks, kFxClsid);
    DeleteRegTree(HKEY_CLASSES_ROOT, kFxClassKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, (std::string(kNotify) + "\\Fx Notify").c_str());
    DeleteRegTree(HKEY_LOCAL_MACHINE, (std::string(kNotify) + "\\Fx Empty Notify").c_str());
    RemoveFolderTree(root_);
    DeleteFileA(FamilyFile(disabledFolder_, "Fx Parked", ".pif").c_str());
    RemoveDirectoryA(disabledFolder_.c_str());  // only when nothing else lies there
  }

  // "folder\name [family]ext": each family's run has files of its own.
  std::string FamilyFile(const std::string& folder, const char* name, const char* ext) {
    return folder + "\\" + name + " [" + Family() + "]" + ext;
  }

  // Entries this test seeded: by title, or by a path or source under the
  // temporary folders, the "fx" test names, or this family's Disabled file.
  std::vector<Row> FixtureRows(const std::set<std::string>& titles) {
    std::vector<Row> out;
    std::string tag = std::string("[") + Family() + "]";
    for (const Row& r : AllRows()) {
      std::string p = Lower(r.path), s = Lower(r.source);
      bool mine = titles.count(r.title) || p.find(Lower(root_)) != std::string::npos ||
                  s.find(Lower(root_)) != std::string::npos ||
                  p.find("\\fx") != std::string::npos || r.path.find(tag) != std::string::npos;
      if (r.path.find("[nt]") != std::string::npos && tag != "[nt]") mine = false;
      if (r.path.find("[win98]") != std::string::npos && tag != "[win98]") mine = false;
      if (mine) out.push_back(r);
    }
    return out;
  }

  void SeedClass() {
    std::string server = BinFolder() + "\\ver_two_translations.dll";
    ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, kFxClassKey, "", "Fx Class"));
    ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, (std::string(kFxClassKey) + "\\InprocServer32").c_str(),
                             "", server.c_str()));
  }
};

// The rank of an entry's location family in the enumeration order.
int Rank(const Row& r, const std::set<std::string>& disabledTitles, const std::string& common) {
  if (disabledTitles.count(r.title)) return 300;
  if (r.code == kCodeStartupFolder)
    return Lower(r.source.empty() ? r.path : r.source).find(Lower(common)) == 0 ? 200 : 201;
  if (r.code == kCodeWinRun) return 210;
  if (r.code == kCodeWinLoad) return 211;
  if (r.code >= kCodeUserinit) return 400 + r.code;
  return r.code;  // Run keys 1-25
}

}  // namespace

TEST_F(EnumerateTest, EveryLocationInTheFixedOrder) {
  for (const Seeded& s : kRunRows) ASSERT_TRUE(SetText(s.root, s.key, s.name, s.data));
  bool users = SetText(HKEY_USERS, kRunKey, "PeerBlock",
                          "D:\\Installations\\Programs\\PeerBlock\\peerblock.exe");

  // Startup folders: Common Startup one level deep, Startup not.
  std::string winDir;
  {
    char w[MAX_PATH];
    GetWindowsDirectoryA(w, sizeof w);
    winDir = w;
  }
  CreateDirectoryA((common_ + "\\Sub").c_str(), nullptr);
  WriteFileText(common_ + "\\Sub\\Fx Nested.pif", "x");
  CreateDirectoryA((startup_ + "\\Sub").c_str(), nullptr);
  WriteFileText(startup_ + "\\Sub\\Fx Deep.pif", "x");
  WriteFileText(startup_ + "\\desktop.ini", "[.ShellClassInfo]");
  WriteFileText(startup_ + "\\Fx Tool.pif", "x");
  ASSERT_TRUE(CopyFileA((BinFolder() + "\\ver_two_translations.dll").c_str(),
                        (startup_ + "\\Fx Program.exe").c_str(), FALSE));
  MakeShortcut(startup_ + "\\Fx Notes.lnk", winDir + "\\notepad.exe", "Fx Described Link");

  // WIN.INI lists.
  WriteProfileStringA("windows", "run", "C:\\fx\\fxrun.exe;;C:\\fx\\fxrun2.exe");
  WriteProfileStringA("windows", "load", "C:\\fx\\fxload.exe");

  // Disabled store: an index entry per stored command; a stored command
  // without index value is not listed.
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Fx Disabled Load", "100");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledWinLoadKey, "Fx Disabled Load", "C:\\fx\\fxdis.exe");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Fx Setup", "2");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledRunOnceSetupKey, "Fx Setup", "C:\\fx\\fxsetup.exe");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledRunKey, "Fx Orphan", "C:\\fx\\fxorphan.exe");
  CreateDirectoryA(disabledFolder_.c_str(), nullptr);
  WriteFileText(FamilyFile(disabledFolder_, "Fx Parked", ".pif"), "x");

  // Winlogon and the registry hooks.
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit", "C:\\WINDOWS\\system32\\userinit.exe,");
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", "Explorer.exe fxshell.exe");
  SeedClass();
  SetRegString(HKEY_LOCAL_MACHINE, kDelayLoad, "Fx DelayLoad", kFxClsid);
  SetRegString(HKEY_LOCAL_MACHINE, kSharedTask, kFxClsid, "");
  SetRegString(HKEY_LOCAL_MACHINE, kExecHooks, kFxClsid, "Fx Hook Description");
  SetRegString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", "C:\\fx\\fxone.dll, ,C:\\fx\\fxtwo.dll ");
  std::string notify = std::string(kNotify) + "\\Fx Notify";
  SetRegString(HKEY_LOCAL_MACHINE, notify.c_str(), "DllName", "C:\\fx\\fxnotify.dll");
  SetRegString(HKEY_LOCAL_MACHINE, (std::string(kNotify) + "\\Fx Empty Notify").c_str(), "DllName",
               "");

  int count = BuildStartupList(0);
  EXPECT_EQ(count, EntryCount());

  std::string server = LongForm(BinFolder() + "\\ver_two_translations.dll");
  std::string tag = std::string(" [") + Family() + "]";
  std::vector<Row> expected = {
      {1, "Agent", "C:\\Agent\\agent.dll,Start", "", 1},
      {1, "ShStatEXE", "C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE /STANDALONE", "", 0},
      {2, "BluetoothAuthenticationAgent", "bthprops.cpl,,BluetoothAuthenticationAgent", "", 1},
      {5, "Fx Repeat", "C:\\x\\fxrepeat.exe", "", 0},
      {12, "CCDiskHook", "C:\\Windows\\system32\\CCDiskHook.dll,InstallExplorerHooks", "", 1},
      {12, "DAEMON Tools Lite", "C:\\Program Files (x86)\\DAEMON Tools Lite\\DTLite.exe -autorun", "", 0},
      {14, "ctfmon.exe", "%SystemRoot%\\system32\\ctfmon.exe", "", 0},
      {21, "PeerBlock", "D:\\Installations\\Programs\\PeerBlock\\peerblock.exe", "", 0},
      {200, "Fx Nested", common_ + "\\Sub\\Fx Nested.pif", "", 0},
      {200, "Fx Described Link", winDir + "\\notepad.exe", startup_ + "\\Fx Notes.lnk", 0},
      {200, "Fixture with two translations", startup_ + "\\Fx Program.exe", startup_ + "\\Fx Program.exe", 0},
      {200, "Fx Tool", startup_ + "\\Fx Tool.pif", "", 0},
      {101, "run", "C:\\fx\\fxrun.exe", "", 0},
      {101, "run", "C:\\fx\\fxrun2.exe", "", 0},
      {100, "load", "C:\\fx\\fxload.exe", "", 0},
      {100, "Fx Disabled Load", "C:\\fx\\fxdis.exe", "", 0},
      {2, "Fx Setup", "C:\\fx\\fxsetup.exe", "", 0},
      {200, "Fx Parked" + tag, FamilyFile(disabledFolder_, "Fx Parked", ".pif"), "", 0},
      {250, "Winlogon Userinit", "C:\\WINDOWS\\system32\\userinit.exe", "", 0},
      {251, "Winlogon Shell", "fxshell.exe", "", 0},
      {252, "Fx DelayLoad", server, kFxClsid, 0},
      {253, "Fx Class", server, kFxClsid, 0},
      {254, "Fx Hook Description", server, kFxClsid, 0},
      {255, "fxone", "C:\\fx\\fxone.dll", "", 0},
      {255, "fxtwo", "C:\\fx\\fxtwo.dll", "", 0},
      {256, "Fx Notify", "C:\\fx\\fxnotify.dll", "", 0},
  };
  if (!users) {
    ADD_FAILURE() << "HKEY_USERS\\" << kRunKey << " could not be written";
    expected.erase(expected.begin() + 7);
  }
  if (!NtFamily()) {
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const Row& r) { return r.code == 250 || r.code == 251; }),
                   expected.end());
  }

  std::set<std::string> titles;
  for (const Seeded& s : kRunRows) titles.insert(s.name);
  for (const Row& r : expected) titles.insert(r.title);
  titles.insert("Fx Orphan");
  titles.insert("Winlogon Userinit");
  titles.insert("Winlogon Shell");
  titles.insert("Fx Deep");
  titles.insert("desktop");
  std::set<std::string> disabledTitles = {"Fx Disabled Load", "Fx Setup", "Fx Parked" + tag};

  std::vector<Row> got = FixtureRows(titles);
  // The order of the location families is the fixed one.
  for (size_t i = 1; i < got.size(); ++i)
    EXPECT_LE(Rank(got[i - 1], disabledTitles, common_), Rank(got[i], disabledTitles, common_))
        << got[i - 1].title << " before " << got[i].title;
  // Within one key or folder the system decides the order: compare by title.
  auto byRank = [&](const Row& a, const Row& b) {
    int ra = Rank(a, disabledTitles, common_), rb = Rank(b, disabledTitles, common_);
    if (ra != rb) return ra < rb;
    if (a.title != b.title) return a.title < b.title;
    return a.path < b.path;
  };
  std::stable_sort(got.begin(), got.end(), byRank);
  std::stable_sort(expected.begin(), expected.end(), byRank);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(expected[i].title);
    EXPECT_EQ(got[i].code, expected[i].code);
    EXPECT_EQ(got[i].title, expected[i].title);
    EXPECT_EQ(Lower(got[i].path), Lower(expected[i].path));
    EXPECT_EQ(Lower(got[i].source), Lower(expected[i].source));
    EXPECT_EQ(got[i].flag, expected[i].flag);
  }
  // The class server's version goes with the hook entries.
  for (int i = 0; i < EntryCount(); ++i) {
    if (EntryCode(i) < kCodeDelayLoad || EntryCode(i) > kCodeShellExecuteHook) continue;
    char extra[64];
    EntryExtra(i, extra, sizeof extra);
    char title[128];
    EntryTitle(i, title, sizeof title);
    if (std::string(title).find("Fx") != 0) continue;
    EXPECT_STREQ(extra, "1.2.3.4") << title;
  }
}

TEST_F(EnumerateTest, UserinitWithASecondProgramGivesThatProgram) {
  if (!NtFamily()) {
    BuildStartupList(0);
    for (const Row& r : AllRows()) EXPECT_NE(r.code, kCodeUserinit);
    GTEST_SKIP() << "Winlogon values are read on the NT family only";
  }
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit", "userinit.exe,agent.exe");
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", "Explorer.exe");
  BuildStartupList(0);
  std::vector<Row> rows = AllRows();
  ASSERT_EQ(CountTitle(rows, "Winlogon Userinit"), 1);
  EXPECT_EQ(FindTitle(rows, "Winlogon Userinit")->path, "agent.exe");
  ASSERT_EQ(CountTitle(rows, "Winlogon Shell"), 1);
  EXPECT_EQ(Lower(FindTitle(rows, "Winlogon Shell")->path), "explorer.exe");
  // A Userinit without a comma names no program.
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit", "userinit.exe");
  BuildStartupList(0);
  EXPECT_EQ(CountTitle(AllRows(), "Winlogon Userinit"), 0);
}

TEST_F(EnumerateTest, ShowAllStartupDecidesTheWinlogonAndHookEntriesOfThePage) {
  SetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit", "C:\\WINDOWS\\system32\\userinit.exe,");
  SeedClass();
  SetRegString(HKEY_LOCAL_MACHINE, kDelayLoad, "Fx DelayLoad", kFxClsid);
  SetRegString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", "C:\\fx\\fxone.dll");
  std::string notify = std::string(kNotify) + "\\Fx Notify";
  SetRegString(HKEY_LOCAL_MACHINE, notify.c_str(), "DllName", "C:\\fx\\fxnotify.dll");

  auto codes = [] {
    std::set<int> s;
    for (const Row& r : AllRows())
      if (r.code >= kCodeUserinit && r.code <= kCodeWinlogonNotify) s.insert(r.code);
    return s;
  };
  SetSetting(kOptShowAllStartup, 0);
  BuildStartupList(1);
  EXPECT_TRUE(codes().empty());

  std::set<int> all = {252, 255, 256};
  if (NtFamily()) all.insert(250);
  BuildStartupList(0);
  std::set<int> got = codes();
  for (int c : all) EXPECT_TRUE(got.count(c)) << c;
  if (!NtFamily()) {
    EXPECT_FALSE(got.count(250));
    EXPECT_FALSE(got.count(251));
  }

  SetSetting(kOptShowAllStartup, 1);
  BuildStartupList(1);
  got = codes();
  for (int c : all) EXPECT_TRUE(got.count(c)) << c;
}

TEST_F(EnumerateTest, ShortcutWhoseTargetIsGoneIsNotListed) {
  std::string target = root_ + "\\Fx Gone Target.exe";
  WriteFileText(target, "MZ");
  MakeShortcut(startup_ + "\\Fx Gone.lnk", target, "Fx Gone Link");
  ASSERT_TRUE(DeleteFileA(target.c_str()));
  char resolved[260], description[260];
  HRESULT r = ResolveShortcut((startup_ + "\\Fx Gone.lnk").c_str(), resolved, description);
  BuildStartupList(1);
  if (IsWine() && r != kShortcutNotFound) {
    // Wine's IShellLink::Resolve does not look for a missing target and
    // never reports S_FALSE.
    GTEST_SKIP() << "Wine difference: Resolve reports a missing target as found";
  }
  EXPECT_EQ(r, kShortcutNotFound);
  EXPECT_STREQ(resolved, "");
  EXPECT_EQ(CountTitle(AllRows(), "Fx Gone Link"), 0);
}

TEST_F(EnumerateTest, ShortcutWithoutFileTargetIsNotListed) {
  // A link to My Computer has no file path: the path query reports S_FALSE.
  LPITEMIDLIST computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             (void**)&link),
            S_OK);
  link->SetIDList(computer);
  link->SetDescription("Fx Computer Link");
  IPersistFile* persist = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, (void**)&persist), S_OK);
  std::string file = startup_ + "\\Fx Computer.lnk";
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  EXPECT_EQ(persist->Save(wide, TRUE), S_OK);
  persist->Release();
  link->Release();
  CoTaskMemFree(computer);

  char resolved[260], description[260];
  EXPECT_EQ(ResolveShortcut(file.c_str(), resolved, description), kShortcutNotFound);
  BuildStartupList(1);
  EXPECT_EQ(CountTitle(AllRows(), "Fx Computer Link"), 0);
  EXPECT_EQ(CountTitle(AllRows(), "Fx Computer"), 0);
}

TEST_F(EnumerateTest, UnreadableShortcutIsListedUnderItsFileName) {
  WriteFileText(startup_ + "\\Fx Broken.lnk", "not a shell link");
  BuildStartupList(1);
  std::vector<Row> rows = AllRows();
  const Row* r = FindTitle(rows, "Fx Broken");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->code, kCodeStartupFolder);
  EXPECT_EQ(r->path, "");
  EXPECT_EQ(Lower(r->source), Lower(startup_ + "\\Fx Broken.lnk"));
}

TEST_F(EnumerateTest, RedisabledRunValueLeavesItsKeyWithoutHidingTheNextOne) {
  // Disabled earlier, then written into its Run key again by its program
  // (the same program, spelt with quotes).
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Fx Redisabled", "1");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledRunKey, "Fx Redisabled", "C:\\fx\\fxold.exe");
  SetRegString(HKEY_LOCAL_MACHINE, kRunKey, "Fx Redisabled", "\"C:\\fx\\fxold.exe\"");
  SetRegString(HKEY_LOCAL_MACHINE, kRunKey, "Fx Zafter", "C:\\fx\\fxafter.exe");

  BuildStartupList(1);
  std::vector<Row> rows = AllRows();
  char data[260];
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kRunKey, "Fx Redisabled", data), 0u);
  ASSERT_GT(GetRegString(HKEY_LOCAL_MACHINE, kDisabledRunKey, "Fx Redisabled", data), 0u);
  EXPECT_STREQ(data, "\"C:\\fx\\fxold.exe\"");
  ASSERT_GT(GetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Fx Redisabled", data), 0u);
  EXPECT_STREQ(data, "1");
  // Listed once, as a disabled entry with the current command.
  ASSERT_EQ(CountTitle(rows, "Fx Redisabled"), 1);
  EXPECT_EQ(FindTitle(rows, "Fx Redisabled")->path, "C:\\fx\\fxold.exe");
  EXPECT_EQ(FindTitle(rows, "Fx Redisabled")->code, kCodeMachineRun);
  // The value that moved up into the removed one's place is still read.
  ASSERT_EQ(CountTitle(rows, "Fx Zafter"), 1);
  EXPECT_EQ(FindTitle(rows, "Fx Zafter")->code, kCodeMachineRun);
}

TEST_F(EnumerateTest, The4097thEntryIsRefusedAndTheEnumerationCarriesOn) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  for (int i = 0; i < 4100; ++i) {
    char name[32], data[64];
    wsprintfA(name, "Fx Bulk %04d", i);
    wsprintfA(data, "C:\\fx\\bulk\\agent%04d.exe /min", i);
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)data, DWORD(strlen(data) + 1));
  }
  RegCloseKey(key);
  // Read after the list is full: still re-disabled.
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledKey, "Fx Late Redisabled", "12");
  SetRegString(HKEY_LOCAL_MACHINE, kDisabledRunOnceKey, "Fx Late Redisabled", "C:\\fx\\old.exe");
  SetRegString(HKEY_CURRENT_USER, kRunOnceKey, "Fx Late Redisabled", "C:\\FX\\OLD.EXE");

  EXPECT_EQ(BuildStartupList(0), kMaxEntries);
  EXPECT_EQ(EntryCount(), kMaxEntries);
  char data[260];
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kRunOnceKey, "Fx Late Redisabled", data), 0u);
  ASSERT_GT(GetRegString(HKEY_LOCAL_MACHINE, kDisabledRunOnceKey, "Fx Late Redisabled", data), 0u);
  EXPECT_STREQ(data, "C:\\FX\\OLD.EXE");
}

TEST_F(EnumerateTest, ResolveShortcutReadsTargetAndDescription) {
  std::string link = startup_ + "\\Fx Own.lnk";
  std::string target = BinFolder() + "\\ver_two_translations.dll";
  MakeShortcut(link, target, nullptr);
  char resolved[260], description[260];
  EXPECT_EQ(ResolveShortcut(link.c_str(), resolved, description), S_OK);
  EXPECT_EQ(Lower(LongForm(resolved)), Lower(LongForm(target)));
  EXPECT_STREQ(description, "");
  // Without a description the target's FileDescription titles the entry.
  BuildStartupList(1);
  std::vector<Row> rows = AllRows();
  const Row* r = FindTitle(rows, "Fixture with two translations");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(Lower(r->source), Lower(link));
  // A file that is no shortcut reports the failure with empty outputs.
  EXPECT_TRUE(FAILED(ResolveShortcut((BinFolder() + "\\missing.lnk").c_str(), resolved, description)));
  EXPECT_STREQ(resolved, "");
}

TEST_F(EnumerateTest, SplitCommandGivesTheProgramInItsOwnCase) {
  char program[260], parameters[260];
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  size_t consumed = SplitCommand("%SystemRoot%\\NOTEPAD.EXE /p x.txt", program, parameters);
  EXPECT_EQ(consumed, strlen("%SystemRoot%\\NOTEPAD.EXE"));
  EXPECT_EQ(Lower(program), Lower(std::string(windows) + "\\notepad.exe"));
  EXPECT_EQ(std::string(program), LongForm(std::string(windows) + "\\notepad.exe"));
  EXPECT_STREQ(parameters, " /p x.txt");
  // A program that does not exist keeps the scan's upper case.
  SplitCommand("C:\\fx\\missing.exe -a", program, parameters);
  EXPECT_STREQ(program, "C:\\FX\\MISSING.EXE");
  EXPECT_STREQ(parameters, " -a");
}

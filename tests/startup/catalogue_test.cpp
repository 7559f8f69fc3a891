#include "startup/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/entry_rules.h"

using namespace tov;

namespace {

const char kRunBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const char* const kRunKeys[] = {"Run", "RunOnce", "RunOnceEx", "RunServices", "RunServicesOnce"};
const char* const kRunSuffixes[] = {"RUN", "RUNONCE", "RUNONCEEX", "RUNSERVICES",
                                    "RUNSERVICESONCE"};

struct Expected {
  int code;
  const char* log;
  const char* type;
  LocationStore store;
  const char* key;
  const char* value;
  const char* text;
  bool disable;
  RemoveKind remove;
  bool delay;
};

const Expected kFixed[] = {
    {100, "WIN_LOAD", "WIN.INI_LOAD", kStoreWinIni, "windows", "load",
     "WIN.INI     [Load] Section", true, kRemoveDelete, true},
    {101, "WIN_RUN", "WIN.INI_RUN", kStoreWinIni, "windows", "run", "WIN.INI     [Run] Section",
     true, kRemoveDelete, true},
    {200, "GROUP_STARTUP", "STARTUP_FOLDER", kStoreFolders, "", "", "Windows Startup Group", true,
     kRemoveDelete, true},
    {250, "WINLOGON_Userinit", "LOGON_USERINIT", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "UserInit",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Userinit", false,
     kRemoveReset, false},
    {251, "WINLOGON_Shell", "LOGON_SHELL", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Shell", false, kRemoveReset,
     false},
    {252, "REG_Delayload", "DELAYLOAD", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad", false,
     kRemoveAfterWarning, false},
    {253, "REG_TaskScheduler", "TASKSCHEDULER", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler", false,
     kRemoveAfterWarning, false},
    {254, "REG_ShellExecuteHook", "SHELLHOOK", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks", "",
     "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks", false,
     kRemoveAfterWarning, false},
    {255, "REG_AppInitDLLs", "APPINIT_DLL", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_Dlls",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows  AppInit_DLLs", false,
     kRemoveAfterWarning, false},
    {256, "RUN_WINLOGONNOTIFY", "NOTIFY", kStoreMachine,
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify", "DllName",
     "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Notify", true, kRemoveNone,
     false},
};

void ExpectRow(const LocationInfo& row, const Expected& e) {
  SCOPED_TRACE(e.code);
  EXPECT_EQ(row.code, e.code);
  EXPECT_STREQ(row.logName, e.log);
  EXPECT_STREQ(row.typeName, e.type);
  EXPECT_EQ(row.store, e.store);
  EXPECT_STREQ(row.key, e.key);
  EXPECT_STREQ(row.value, e.value);
  EXPECT_STREQ(row.text, e.text);
  EXPECT_EQ(row.canDisable, e.disable);
  EXPECT_EQ(row.remove, e.remove);
  EXPECT_EQ(row.canDelay, e.delay);
  EXPECT_STREQ(TypeNameOf(e.code), e.type);
  EXPECT_STREQ(LogNameOf(e.code), e.log);
  EXPECT_STREQ(LocationTableText(e.code), e.text);
}

}  // namespace

TEST(Catalogue, EveryLocationOnceInCodeOrder) {
  ASSERT_EQ(LocationCount(), 25);
  struct Hive {
    int base;
    const char* log;
    const char* type;
    LocationStore store;
    const char* prefix;
    bool changeable;
  } hives[] = {
      {1, "MACHINE_", "HKLM_", kStoreMachine, "HKLM\\", true},
      {11, "CURRENT_", "HKCU_", kStoreCurrentUser, "HKCU\\", true},
      {21, "USERS_", "HKU_", kStoreUsers, "HKEY_USER\\", false},
  };
  int row = 0;
  for (const Hive& h : hives) {
    for (int k = 0; k < 5; ++k, ++row) {
      std::string key = std::string(kRunBase) + kRunKeys[k];
      std::string log = std::string(h.log) + kRunSuffixes[k];
      std::string type = std::string(h.type) + kRunSuffixes[k];
      std::string text = h.prefix + key;
      Expected e{h.base + k, log.c_str(), type.c_str(), h.store, key.c_str(), "", text.c_str(),
                 h.changeable, h.changeable ? kRemoveDelete : kRemoveListedOnly, h.changeable};
      ExpectRow(LocationAt(row), e);
      EXPECT_EQ(FindLocation(h.base + k), &LocationAt(row));
    }
  }
  for (const Expected& e : kFixed) {
    ExpectRow(LocationAt(row), e);
    EXPECT_EQ(FindLocation(e.code), &LocationAt(row));
    ++row;
  }
}

TEST(Catalogue, CodesWithoutLocationFindNothing) {
  for (int code : {0, -1, 6, 16, 26, 31, 35, 99, 102, 199, 201, 249, 257, 370, 500, 800, 900,
                   3000}) {
    EXPECT_EQ(FindLocation(code), nullptr) << code;
    EXPECT_STREQ(LocationTableText(code), "") << code;
  }
}

TEST(Catalogue, TypeNamesHaveThirtyThreeRows) {
  const char* expected[] = {
      "HKLM_RUN", "HKLM_RUNONCE", "HKLM_RUNONCEEX", "HKLM_RUNSERVICES", "HKLM_RUNSERVICESONCE",
      "HKLM_RUNONCESETUP", "HKCU_RUN", "HKCU_RUNONCE", "HKCU_RUNONCEEX", "HKCU_RUNSERVICES",
      "HKCU_RUNSERVICESONCE", "HKCU_RUNONCESETUP", "HKU_RUN", "HKU_RUNONCE", "HKU_RUNONCEEX",
      "HKU_RUNSERVICES", "HKU_RUNSERVICESONCE", "HKU_RUNONCESETUP", "TOVREL_RUN",
      "TOVREL_RUNONCE", "TOVREL_RUNONCEEX", "TOVREL_RUNSERVICES", "TOVREL_RUNSERVICESONCE",
      "WIN.INI_LOAD", "WIN.INI_RUN", "STARTUP_FOLDER", "LOGON_USERINIT", "LOGON_SHELL",
      "DELAYLOAD", "TASKSCHEDULER", "SHELLHOOK", "APPINIT_DLL", "NOTIFY"};
  const int codes[] = {1,  2,  3,  4,  5,  6,   11,  12,  13,  14,  15,  16,  21,  22,  23,  24,  25,
                       26, 31, 32, 33, 34, 35,  100, 101, 200, 250, 251, 252, 253, 254, 255, 256};
  ASSERT_EQ(TypeNameCount(), 33);
  for (int i = 0; i < 33; ++i) {
    EXPECT_EQ(TypeNameAt(i).code, codes[i]);
    EXPECT_STREQ(TypeNameAt(i).name, expected[i]);
    EXPECT_STREQ(TypeNameOf(codes[i]), expected[i]);
  }
  for (int code : {0, 7, 36, 300, 370, 500, 900, 3000}) EXPECT_STREQ(TypeNameOf(code), "") << code;
}

TEST(Catalogue, LogNamesFollowTheHistoryTable) {
  ASSERT_EQ(LogNameCount(), 49);
  std::set<int> codes;
  std::set<std::string> names;
  for (int i = 0; i < LogNameCount(); ++i) {
    const CodeName& row = LogNameAt(i);
    EXPECT_TRUE(codes.insert(row.code).second) << row.code;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_LT(strlen(row.name), kLogNameCapacity);
    EXPECT_EQ(LogCodeOf(row.name), row.code);
    EXPECT_STREQ(LogNameOf(row.code), row.name);
  }
  EXPECT_STREQ(LogNameAt(0).name, "MACHINE_RUN");
  EXPECT_STREQ(LogNameAt(48).name, "TYPE_UNKNOWN");
  struct { int code; const char* name; } rows[] = {
      {31, "TOVREL_RUN"}, {35, "TOVREL_RUNSERVICESONCE"}, {300, "RESTART_DELETE"},
      {301, "RESTART_RENAME"}, {350, "TYPE_MONITOR"}, {360, "TYPE_BLACKLIST"},
      {370, "TYPE_HIDDEN"}, {400, "TYPE_FILETYPE"}, {450, "TYPE_PROSEARCH"},
      {500, "INFO_COOKIE"}, {501, "INFO_NETCOOKIE"}, {502, "INFO_SAVECOOKIE"},
      {503, "INFO_NUTS"}, {600, "INFO_TASK"}, {700, "SERVICE_EXE"}, {701, "SERVICE_SVCHOST"},
      {800, "TASK_SCHEDULED"}, {900, "TYPE_BHO"}, {901, "TYPE_TOOLBAR"},
      {902, "TYPE_EXTENSION"}, {3000, "TYPE_UNKNOWN"}};
  for (auto& r : rows) EXPECT_STREQ(LogNameOf(r.code), r.name) << r.code;
}

TEST(Catalogue, UnknownLogNamesAndCodes) {
  EXPECT_STREQ(LogNameOf(6), "TYPE_UNKNOWN");
  EXPECT_STREQ(LogNameOf(-5), "TYPE_UNKNOWN");
  EXPECT_EQ(LogCodeOf("machine_run"), 1);
  EXPECT_EQ(LogCodeOf("Winlogon_USERINIT"), 250);
  EXPECT_EQ(LogCodeOf("HKLM_RUN"), kCodeUnknown);  // a type name is no log name
  EXPECT_EQ(LogCodeOf("MACHINE_RUN "), kCodeUnknown);
  EXPECT_EQ(LogCodeOf(""), kCodeUnknown);
  EXPECT_EQ(LogCodeOf(nullptr), kCodeUnknown);
}

TEST(Catalogue, DisabledStoreKeys) {
  EXPECT_STREQ(kDisabledKey, "Software\\Brenvik\\Tovrel\\Disabled");
  const char* order[] = {"Run", "RunOnce", "RunOnceEx", "RunServices", "RunServicesOnce",
                         "WinLoad", "WinRun", "RunOnce\\Setup", "WinNotify"};
  for (int i = 0; i < kDisabledStoreKeyCount; ++i)
    EXPECT_EQ(std::string(DisabledStoreKeyAt(i)), std::string(kDisabledKey) + "\\" + order[i]);
  EXPECT_EQ(DisabledStoreKeyAt(9), nullptr);
  EXPECT_EQ(DisabledStoreKeyAt(-1), nullptr);
  for (int k = 0; k < 5; ++k) {
    EXPECT_STREQ(DisabledStoreKeyOf(1 + k), DisabledStoreKeyAt(k));
    EXPECT_STREQ(DisabledStoreKeyOf(11 + k), DisabledStoreKeyAt(k));
    EXPECT_EQ(DisabledStoreKeyOf(21 + k), nullptr);
  }
  EXPECT_STREQ(DisabledStoreKeyOf(100), kDisabledWinLoadKey);
  EXPECT_STREQ(DisabledStoreKeyOf(101), kDisabledWinRunKey);
  EXPECT_STREQ(DisabledStoreKeyOf(256), kDisabledWinNotifyKey);
  for (int code : {0, 6, 31, 200, 250, 255, 500}) EXPECT_EQ(DisabledStoreKeyOf(code), nullptr);
  EXPECT_STREQ(kDisabledFolderName, "Disabled");
}

TEST(EntryRules, FieldLimits) {
  std::string t128(128, 't'), t129(129, 't');
  std::string p260(260, 'p'), p261(261, 'p');
  std::string x1024(1024, 'x'), x1025(1025, 'x');
  EXPECT_TRUE(EntryFieldsFit(t128.c_str(), p260.c_str(), p260.c_str(), x1024.c_str()));
  EXPECT_TRUE(EntryFieldsFit(nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(EntryFieldsFit(t129.c_str(), "", "", ""));
  EXPECT_FALSE(EntryFieldsFit("", p261.c_str(), "", ""));
  EXPECT_FALSE(EntryFieldsFit("", "", p261.c_str(), ""));
  EXPECT_FALSE(EntryFieldsFit("", "", "", x1025.c_str()));
}

TEST(EntryRules, TitleFromPath) {
  char out[128];
  struct { const char* path; const char* title; } rows[] = {
      {"C:\\Tools\\agent.exe", "agent"},
      {"agent.exe", "agent"},
      {"C:\\Tools\\a.b.exe", "a.b"},
      {"C:\\Tools\\agent.exe -q", "agent.ex"},  // arguments count as part of the name
      {"C:\\Tools\\", ""},
      {"C:\\x.ab", "x.ab"},                    // four characters or fewer stay whole
      {"C:\\abcde", "a"},
      {"abc", "abc"},
      {"", ""},
  };
  for (auto& r : rows) {
    TitleFromPath(r.path, out, sizeof out);
    EXPECT_STREQ(out, r.title) << r.path;
  }
  TitleFromPath(nullptr, out, sizeof out);
  EXPECT_STREQ(out, "");
  char small[4];
  TitleFromPath("C:\\Tools\\agentlong.exe", small, sizeof small);
  EXPECT_STREQ(small, "age");
  out[0] = 'x';
  TitleFromPath("C:\\a.exe", out, 0);  // zero capacity writes nothing
  EXPECT_EQ(out[0], 'x');
}

// The services catalogue under Wine's service manager (NT family only: the
// 9x family has none). The suite installs its own services: a program that
// runs as a service, two svchost-style services whose ServiceDll is a
// fixture library (one naming Microsoft as its maker, one without version
// resource) and a driver. Wine keeps service configuration in memory, so
// the tests read the registry and never change a fixture's configuration
// through the manager.
#include "services/service_manager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/files.h"
#include "core/history.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/entries.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"
#include "services/services.h"

using namespace tov;
using namespace testsupport;

namespace {

struct Fixture {
  const char* key;
  const char* display;
  DWORD type;
  const char* serviceDll;  // fixture library for svchost services
};

// Display names without the word "Tovrel": such a title is listed under the
// program's caption.
const Fixture kFixtures[] = {
    {"TovrelTestExe", "Fixture Test Program Service", SERVICE_WIN32_OWN_PROCESS, nullptr},
    {"TovrelTestHostedMs", "Fixture Test Hosted Microsoft", SERVICE_WIN32_SHARE_PROCESS,
     "ver_microsoft.dll"},
    {"TovrelTestHosted", "Fixture Test Hosted Plain", SERVICE_WIN32_SHARE_PROCESS, "ver_none.dll"},
    {"TovrelTestDriver", "Fixture Test Driver", SERVICE_KERNEL_DRIVER, nullptr},
};
enum { kExe, kHostedMs, kHosted, kDriver };

std::string KeyOf(int i) { return std::string(kServicesKey) + "\\" + kFixtures[i].key; }

void RemoveService(SC_HANDLE manager, const char* name) {
  SC_HANDLE s = OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
  if (!s) return;
  SERVICE_STATUS status;
  ControlService(s, SERVICE_CONTROL_STOP, &status);
  DeleteService(s);
  CloseServiceHandle(s);
}

// The key with its subkeys, every value's type and bytes.
KeySnapshot DumpKey(const std::string& key) { return TakeSnapshot(HKEY_LOCAL_MACHINE, key); }

DWORD ReadDword(const std::string& key, const char* name) {
  RegValue v = ReadValue(HKEY_LOCAL_MACHINE, key, name);
  DWORD value = 0xFFFFFFFF;
  if (v.exists && v.type == REG_DWORD && v.bytes.size() == sizeof value)
    memcpy(&value, v.bytes.data(), sizeof value);
  return value;
}

const Entry* FindEntry(const char* title) {
  for (int i = 0; i < EntryCount(); ++i)
    if (EqualsNoCase(EntryAt(i)->title, title)) return EntryAt(i);
  return nullptr;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
  return s;
}

class Services : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!IsNtFamily()) return;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(manager, nullptr);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    for (const Fixture& f : kFixtures) {
      RemoveService(manager, f.key);
      std::string image = f.type == SERVICE_KERNEL_DRIVER ? "system32\\drivers\\tovreltest.sys"
                          : f.serviceDll ? std::string(system) + "\\svchost.exe -k tovreltest"
                                         : BinPath("service_program.exe") + " " + f.key;
      SC_HANDLE s = CreateServiceA(manager, f.key, f.display, SERVICE_ALL_ACCESS, f.type,
                                   SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, image.c_str(),
                                   nullptr, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(s, nullptr) << f.key << " " << GetLastError();
      CloseServiceHandle(s);
      std::string key = std::string(kServicesKey) + "\\" + f.key;
      SetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "Description",
                   (std::string("About ") + f.display).c_str());
      if (f.serviceDll)
        SetRegString(HKEY_LOCAL_MACHINE, (key + "\\Parameters").c_str(), "ServiceDll",
                     BinPath(f.serviceDll).c_str());
    }
    CloseServiceHandle(manager);
  }
  static void TearDownTestSuite() {
    if (!IsNtFamily()) return;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    for (const Fixture& f : kFixtures) RemoveService(manager, f.key);
    CloseServiceHandle(manager);
  }
  void SetUp() override {
    if (!IsNtFamily()) GTEST_SKIP() << "the 9x family has no service manager";
    ASSERT_TRUE(program_.loaded());  // start-type and state texts
    ClearProductKeys();
    SetSetting(kOptHistory, 1);
    SetSetting(kOptHideMicrosoftServices, 0);
    ClearHistoryFile();
  }
  void TearDown() override {
    SetSetting(kOptHideMicrosoftServices, 0);
    ClearEntries();
    ClearHistoryFile();
    ClearProductKeys();
  }
  ProgramResources program_;
};

}  // namespace

TEST_F(Services, ScanListsProgramsAndHostedLibrariesNotDrivers) {
  ASSERT_GT(ScanServices(), 0);
  const Entry* exe = FindEntry(kFixtures[kExe].display);
  ASSERT_NE(exe, nullptr);
  EXPECT_EQ(exe->code, 700);
  EXPECT_EQ(Lower(exe->path), Lower(BinPath("service_program.exe") + " TovrelTestExe"));
  EXPECT_STREQ(exe->source, "Manual");
  EXPECT_STREQ(exe->extra, "About Fixture Test Program Service");
  const Entry* hosted = FindEntry(kFixtures[kHosted].display);
  ASSERT_NE(hosted, nullptr);
  EXPECT_EQ(hosted->code, 701);
  EXPECT_EQ(Lower(hosted->path), Lower(BinPath("ver_none.dll")));
  EXPECT_NE(FindEntry(kFixtures[kHostedMs].display), nullptr);
  EXPECT_EQ(FindEntry(kFixtures[kDriver].display), nullptr);

  // Listing non-Microsoft services only: a library without version
  // resource and a program still count as non-Microsoft.
  SetSetting(kOptHideMicrosoftServices, 1);
  ScanServices();
  EXPECT_EQ(FindEntry(kFixtures[kHostedMs].display), nullptr);
  EXPECT_NE(FindEntry(kFixtures[kHosted].display), nullptr);
  EXPECT_NE(FindEntry(kFixtures[kExe].display), nullptr);
}

TEST_F(Services, UnusualStartValuesAndOverlongDescriptions) {
  const std::string key = KeyOf(kHosted);
  const auto before = DumpKey(key);
  ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, key.c_str(), "Start", 1));
  ScanServices();
  ASSERT_NE(FindEntry(kFixtures[kHosted].display), nullptr);
  EXPECT_STREQ(FindEntry(kFixtures[kHosted].display)->source, "0");
  for (size_t length : {1024u, 1025u, 5000u}) {
    SetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "Description", std::string(length, 'd').c_str());
    ScanServices();
    EXPECT_EQ(FindEntry(kFixtures[kHosted].display) != nullptr, length <= 1024) << length;
  }
  SetRegDword(HKEY_LOCAL_MACHINE, key.c_str(), "Start", 3);
  SetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "Description", "About Fixture Test Hosted Plain");
  EXPECT_EQ(DumpKey(key), before);

  // The information window's note for a program run by a service.
  char program[MAX_PATH], description[kEntryExtraSlot];
  ASSERT_TRUE(ProgramOfCommand(BinPath("ver_none.dll").c_str(), program));
  EXPECT_GT(ServiceDescriptionOfProgram(program, description, sizeof description), 0u);
  EXPECT_STREQ(description, "About Fixture Test Hosted Plain");
  EXPECT_EQ(ServiceDescriptionOfProgram("C:\\NOWHERE.EXE", description, sizeof description), 0u);
  EXPECT_STREQ(description, "");
}

TEST_F(Services, StopIsLoggedOnlyWhenTheServiceStopped) {
  const char* title = kFixtures[kExe].display;
  char state[kServiceStateCapacity];
  EXPECT_EQ(ServiceStateText(title, state, sizeof state), 0);
  EXPECT_STREQ(state, "Stopped");
  EXPECT_FALSE(StopServiceLogged(title, "C:\\x.exe", 700));
  EXPECT_EQ(HistoryText(), "");

  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE s = OpenServiceA(manager, kFixtures[kExe].key, SERVICE_ALL_ACCESS);
  ASSERT_TRUE(StartServiceA(s, 0, nullptr)) << GetLastError();
  CloseServiceHandle(s);
  CloseServiceHandle(manager);
  ASSERT_TRUE(WaitFor([&] { return ServiceStateText(title, state, sizeof state) != 0; }, 10000));
  EXPECT_EQ(QueryServiceState(title) >> 16, DWORD(SERVICE_RUNNING));
  EXPECT_STREQ(state, "Running");

  EXPECT_TRUE(StopServiceLogged(title, "C:\\x.exe", 700));
  ASSERT_TRUE(WaitFor([&] { return ServiceStateText(title, state, sizeof state) == 0; }, 10000));
  EXPECT_FALSE(StopServiceLogged(title, "C:\\x.exe", 700));
  std::string history = HistoryText();
  const std::string line = "\tSERVICE_Stop\tSERVICE_EXE\tFixture Test Program Service\tC:\\x.exe\t";
  EXPECT_NE(history.find(line), std::string::npos) << history;
  EXPECT_EQ(history.find("SERVICE_Stop"), history.rfind("SERVICE_Stop")) << history;
}

TEST_F(Services, StartTypeChangesWriteTheRegistryAndNameTheFormerType) {
  const char* title = kFixtures[kExe].display;
  const std::string key = KeyOf(kExe);
  const auto before = DumpKey(key);
  ASSERT_EQ(ReadDword(key, "Start"), 3u);
  ASSERT_TRUE(ApplyServiceStartType(title, "C:\\x.exe", 700, 4));
  EXPECT_EQ(ReadDword(key, "Start"), 4u);
  ASSERT_TRUE(ApplyServiceStartType(title, "C:\\x.exe", 700, 3));
  EXPECT_EQ(DumpKey(key), before);
  std::string history = HistoryText();
  size_t a = history.find("SERVICE_from_Manual"), b = history.find("SERVICE_Disabled"),
         c = history.find("SERVICE_from_Disabled"), d = history.find("SERVICE_Manual");
  ASSERT_NE(d, std::string::npos) << history;
  EXPECT_TRUE(a < b && b < c && c < d) << history;

  // The registry's DisplayName no longer matches the manager's: the key is
  // still found through the manager, and the renamed text through the walk.
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", "Renamed Fixture"));
  EXPECT_EQ(SetServiceStartType(title, 4), 1);
  EXPECT_EQ(ReadDword(key, "Start"), 4u);
  char keyName[kServiceNameCapacity];
  ASSERT_TRUE(FindServiceKeyName("renamed fixture", keyName));
  EXPECT_STREQ(keyName, kFixtures[kExe].key);
  EXPECT_EQ(SetServiceStartType("Renamed Fixture", 3), 1);
  SetRegString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", title);
  EXPECT_EQ(DumpKey(key), before);

  // Nothing found, nothing written, nothing logged.
  ClearHistoryFile();
  EXPECT_FALSE(ApplyServiceStartType("No Such Tovrel Service", "C:\\x.exe", 700, 4));
  EXPECT_FALSE(ApplyServiceStartType(title, "C:\\x.exe", 700, 1));
  EXPECT_EQ(HistoryText(), "");
  EXPECT_EQ(DumpKey(key), before);
}

TEST_F(Services, BaselineIsWrittenOnce) {
  InitServiceBaseline();
  char text[32];
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, nullptr, text), 0u);
  EXPECT_STREQ(text, "P");
  GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kExe].display, text);
  EXPECT_STREQ(text, "700");
  GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kHosted].display, text);
  EXPECT_STREQ(text, "701");
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kDriver].display, text),
            0u);
  // Once there, it is left alone.
  DeleteRegValue(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kExe].display);
  InitServiceBaseline();
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kExe].display, text), 0u);
  // A key without the mark is an unfinished baseline: made again.
  SetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, nullptr, "x");
  InitServiceBaseline();
  GetRegString(HKEY_CURRENT_USER, kServiceBaselineKey, kFixtures[kExe].display, text);
  EXPECT_STREQ(text, "700");
}

// The two cookie stores against real folders and files of the prefix: the
// IE folder candidates, the IE listing and filter, the Mozilla profile
// lookups, the filter pass into cookiesnew.txt, and the filter words.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cookies/cookies.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/registry.h"
#include "core/settings.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace testsupport;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kHttpCommand[] = "SOFTWARE\\Classes\\HTTP\\shell\\open\\command";
const char kProduct[] = "Software\\Brenvik\\Tovrel";
const char kOptions[] = "Software\\Brenvik\\Tovrel\\Options";

std::string Jar(const char* name) {
  return ReadWholeFile(std::string(TOVREL_SOURCE_DIR) + "/tests/fixtures/cookies/" + name);
}

// The text without the lines that hold one of the parts.
std::string WithoutLines(const std::string& text, std::vector<std::string> parts) {
  std::string out;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    bool drop = false;
    for (const std::string& part : parts) drop = drop || line.find(part) != std::string::npos;
    if (!drop) out += line;
    start = end;
  }
  return out;
}

std::vector<std::string> Titles() {
  std::vector<std::string> titles;
  for (int i = 0; i < tov::EntryCount(); ++i) titles.push_back(EntryTitleText(i));
  return titles;
}

class CookieStoresTest : public testing::Test {
 protected:
  SavedValue appData_{HKEY_CURRENT_USER, kShellFolders, "AppData"};
  SavedValue cookies_{HKEY_CURRENT_USER, kShellFolders, "Cookies"};
  SavedValue userCookies_{HKEY_CURRENT_USER, kUserShellFolders, "Cookies"};
  SavedValue browser_{HKEY_LOCAL_MACHINE, kHttpCommand, ""};
  ProgramResources program_;
  std::string root_ = TempFilePath("tovcookies_") + Family();

  void SetUp() override {
    ClearProductKeys();
    RemoveFolderTree(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kShellFolders, "AppData", Folder("appdata")));
    DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Cookies");
    DeleteValue(HKEY_CURRENT_USER, kUserShellFolders, "Cookies");
    tov::SetSetting(tov::kOptMaxCookie, 4096);
  }
  void TearDown() override {
    tov::ClearEntries();
    tov::FreeFilterWords();
    tov::SetCookieStore(tov::kStoreInternetExplorer);
    RemoveFolderTree(root_);
    ClearProductKeys();
  }
  // A folder under the test's root (created with its parents).
  std::string Folder(const std::string& relative) {
    std::string path = root_;
    for (size_t start = 0; start <= relative.size();) {
      size_t end = relative.find('\\', start);
      if (end == std::string::npos) end = relative.size();
      path += "\\" + relative.substr(start, end - start);
      CreateDirectoryA(path.c_str(), nullptr);
      start = end + 1;
    }
    return path;
  }
  std::string IEFolder() {
    std::string folder = Folder("hitbox user\\Cookies");  // a filter word in the folder path
    WriteWholeFile(folder + "\\index.dat", "Client UrlCache MMF Ver 5.2");
    for (const char* name : {"user@ads.example[1].txt", "user@news.example[2].txt", "desktop.ini"})
      WriteWholeFile(folder + "\\" + name, std::string("id\nvalue\n") + name + "\n");
    WriteWholeFile(folder + "\\system@hidden[1].txt", "x");
    SetFileAttributesA((folder + "\\system@hidden[1].txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((folder + "\\folder.txt").c_str(), nullptr);
    return folder;
  }
  std::string Profile(const char* jar) {
    std::string folder = Folder("appdata\\Mozilla\\FireFox\\Profiles\\k2x9.default");
    WriteWholeFile(folder + "\\cookies.txt", Jar(jar));
    return folder;
  }
  static std::string Found(bool (*find)(char*, size_t), bool* ok) {
    char out[MAX_PATH] = "";
    *ok = find(out, sizeof out);
    return out;
  }
};

TEST_F(CookieStoresTest, ExplorerFolderCandidatesInOrder) {
  std::string store = IEFolder();
  std::string empty = Folder("no index");
  bool ok = false;
  struct Row {
    const char* setting;      // IECookieFolder
    const char* shellFolder;  // Shell Folders "Cookies"
    const char* userFolder;   // User Shell Folders "Cookies"
    std::string expected;     // "" when none holds index.dat
  } rows[] = {
      {"store", nullptr, nullptr, store + "\\"},        // without its backslash: accepted
      {"empty", "store", nullptr, store + "\\"},        // no index.dat: the next candidate
      {"long", nullptr, "store", store + "\\"},         // over 250 characters: refused
      {"C:", nullptr, nullptr, ""},                     // 2 characters: refused
  };
  for (const Row& r : rows) {
    auto pick = [&](const char* which) -> std::string {
      std::string w = which;
      return w == "store" ? store : w == "empty" ? empty : w == "long" ? store + std::string(250, 'x') : w;
    };
    SetText(HKEY_CURRENT_USER, kProduct, "IECookieFolder", pick(r.setting));
    if (r.shellFolder) SetText(HKEY_CURRENT_USER, kShellFolders, "Cookies", pick(r.shellFolder));
    else DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Cookies");
    if (r.userFolder) SetText(HKEY_CURRENT_USER, kUserShellFolders, "Cookies", pick(r.userFolder));
    else DeleteValue(HKEY_CURRENT_USER, kUserShellFolders, "Cookies");
    std::string found = Found(tov::FindIECookieFolder, &ok);
    char windowsCookies[MAX_PATH];
    GetWindowsDirectoryA(windowsCookies, MAX_PATH);
    if (r.expected.empty() && PathExists(std::string(windowsCookies) + "\\Cookies\\index.dat")) continue;
    EXPECT_EQ(ok, !r.expected.empty()) << r.setting;
    EXPECT_EQ(found, r.expected.empty() ? "Cookie Folder Not Found" : r.expected) << r.setting;
  }
}

TEST_F(CookieStoresTest, ExplorerListAndFilterByFileName) {
  std::string store = IEFolder();
  std::string longName = store + "\\" + std::string(140, 'n') + ".txt";
  ASSERT_TRUE(WriteWholeFile(longName, "x"));  // too long a title: that file alone is passed over
  SetText(HKEY_CURRENT_USER, kProduct, "IECookieFolder", store);
  tov::SetCookieStore(tov::kStoreInternetExplorer);
  ASSERT_EQ(tov::ReadCookies(0), 2);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"user@ads.example[1].txt", "user@news.example[2].txt"}));
  EXPECT_EQ(tov::EntryCode(0), 500);
  EXPECT_EQ(EntryExtraText(0).size(), 16u);  // "yyyy/mm/dd hh:mm"

  // "hitbox" is only in the folder path, and an empty word matches nothing.
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "hitbox", "1");
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "", "1");
  EXPECT_EQ(tov::ReadCookies(1), 2);
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "ADS.example", "1");
  EXPECT_EQ(tov::ReadCookies(1), 1);
  EXPECT_FALSE(PathExists(store + "\\user@ads.example[1].txt"));
  EXPECT_TRUE(PathExists(store + "\\user@news.example[2].txt"));
  EXPECT_TRUE(PathExists(longName));

  WriteWholeFile(store + "\\user@more.example[1].txt", "x");
  tov::SetSetting(tov::kOptMaxCookie, 1);
  EXPECT_EQ(tov::ReadCookies(0), 1);
}

TEST_F(CookieStoresTest, MozillaProfileLookups) {
  bool ok = false;
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_FALSE(tov::IsMozillaInstalled());
  std::string profiles = Folder("appdata\\Mozilla\\FireFox\\Profiles");
  Folder("appdata\\Mozilla\\FireFox\\Profiles\\default.old");
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), profiles + "\\default.old");
  Folder("appdata\\Mozilla\\FireFox\\Profiles\\k2x9.default");
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), profiles + "\\k2x9.default");  // *.default first
  EXPECT_TRUE(tov::IsMozillaInstalled());

  // The default browser of kind 2 looks in its own profiles folder.
  SetText(HKEY_LOCAL_MACHINE, kHttpCommand, "", "\"C:\\Netscape\\netscp.exe\" -url \"%1\"");
  EXPECT_EQ(tov::DefaultBrowserKind(), tov::kBrowserNetscape);
  std::string own = Folder("appdata\\Mozilla\\Profiles\\default");
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), profiles + "\\k2x9.default");  // none there: step 2 stands
  WriteWholeFile(own + "\\a file", "x");
  Folder("appdata\\Mozilla\\Profiles\\default\\.hidden");
  Folder("appdata\\Mozilla\\Profiles\\default\\w8y1.slt");
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), own + "\\w8y1.slt");

  SetText(HKEY_CURRENT_USER, kProduct, "CookieFolder", "D:\\anything");
  EXPECT_EQ(Found(tov::FindMozillaFolder, &ok), "D:\\anything");  // used as it is
  EXPECT_TRUE(ok);
}

TEST_F(CookieStoresTest, MozillaListing) {
  std::string profile = Profile("basic_open_end.txt");
  tov::SetCookieStore(tov::kStoreMozilla);
  ASSERT_EQ(tov::ReadCookies(0), 5);  // the unterminated last cookie too: the file was read whole
  EXPECT_EQ(EntryTitleText(2), "www.hitbox.ads.example - hidden");  // #HttpOnly_ listed
  EXPECT_EQ(EntryPathText(2), "/account");
  EXPECT_EQ(EntryExtraText(3), "");  // a session cookie has no expiry
  EXPECT_NE(EntryExtraText(1).find("2070"), std::string::npos);
  EXPECT_EQ(tov::EntryCode(4), tov::kCodeMozillaCookie);
  WriteWholeFile(profile + "\\cookies.txt", Jar("big.txt"));
  EXPECT_EQ(tov::ReadCookies(0), 37);  // the whole lines of the first 28,000 bytes
}

TEST_F(CookieStoresTest, FilterPassCopiesTheWholeFileAndSetsTheFlag) {
  std::string profile = Profile("big.txt");
  const std::string jar = Jar("big.txt");
  tov::SetCookieStore(tov::kStoreMozilla);
  EXPECT_EQ(tov::ReadCookies(1), 0);
  EXPECT_EQ(ReadWholeFile(profile + "\\cookiesnew.txt"), jar);  // all 50 cookies, byte for byte
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, kOptions, "UpdateCookieFile"), "1");

  // A word and a mark: exactly their lines go; cookies.txt itself stays.
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "c07\t", "1");
  ASSERT_TRUE(tov::MarkCookieForRemoval("big.example - c48"));
  EXPECT_EQ(tov::ReadCookies(1), 0);
  EXPECT_EQ(ReadWholeFile(profile + "\\cookiesnew.txt"), WithoutLines(jar, {"\tc07\t", "\tc48\t"}));
  EXPECT_EQ(ReadWholeFile(profile + "\\cookies.txt"), jar);
}

TEST_F(CookieStoresTest, LockedCopyLeavesNoFlag) {
  std::string profile = Profile("basic_lf.txt");
  std::string copy = profile + "\\cookiesnew.txt";
  WriteWholeFile(copy, "theirs");
  HANDLE lock = CreateFileA(copy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  tov::SetCookieStore(tov::kStoreMozilla);
  EXPECT_EQ(tov::ReadCookies(1), 0);
  CloseHandle(lock);
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kOptions, "UpdateCookieFile"));
  EXPECT_EQ(ReadWholeFile(copy), "theirs");
}

TEST_F(CookieStoresTest, FilterWordsLoadAddAndSeed) {
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "", "1");
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "  ", "1");
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "aaa", std::string(40, '1'));  // data over 16 bytes
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "HitBox", "1");
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, "x.example - id", "2");
  EXPECT_EQ(tov::LoadFilterWords(), 3);  // the blank names are never loaded
  EXPECT_TRUE(tov::MatchesFilterWord("user@ehg-hitbox.com[1].txt"));
  EXPECT_FALSE(tov::MatchesFilterWord((std::string(509, 'x') + "hitbox").c_str()));  // over 512
  EXPECT_FALSE(tov::AddFilterWord(" "));
  EXPECT_TRUE(tov::AddFilterWord("HitBox"));  // again: rewritten, the pass runs
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, tov::kNutsKey, "HitBox"), "1");

  char data[MAX_PATH];
  ASSERT_TRUE(tov::DataFolder(data));
  const std::string ini = std::string(data) + "\\Tovrel.ini";
  struct Row {
    const char* ini;
    int result;
    std::vector<std::string> words;
  } rows[] = {
      {"", 0, {"2o7", "AdRevolver", "atwola", "bfast", "eUniverse", "hitbox", "ru4"}},
      {"[Nuts]\r\ncount=3\r\nNut1=alpha\r\nNut3=gamma\r\n", 3, {"alpha", "gamma"}},
      {"[Nuts]\r\ncount=4000000000\r\nNut1= \r\nNut2=beta\r\n", 256, {"beta"}},
  };
  for (const Row& r : rows) {
    DeleteKey(HKEY_CURRENT_USER, tov::kNutsKey);
    WriteWholeFile(ini, r.ini);
    EXPECT_EQ(tov::SeedDefaultFilterWords(), r.result) << r.ini;
    std::set<std::string> expected(r.words.begin(), r.words.end());
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, tov::kNutsKey), expected) << r.ini;
  }
  DeleteFileA(ini.c_str());
}

// A cookie that Wine's own wininet stores: its folder is found through
// Shell Folders, its file (a random name) is listed, and a filter word
// equal to that name removes it.
TEST(WininetCookieTest, RealCookieFileIsListedAndFiltered) {
  ProgramResources program;
  ClearProductKeys();
  HMODULE wininet = LoadLibraryA("wininet.dll");
  auto setCookie = reinterpret_cast<BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR)>(
      reinterpret_cast<void*>(GetProcAddress(wininet, "InternetSetCookieA")));
  ASSERT_TRUE(setCookie);
  ASSERT_TRUE(setCookie("http://ads.example/", "tovid", "abc; expires=Sat, 01-Jan-2039 00:00:00 GMT"));
  char folder[MAX_PATH] = "";
  ASSERT_TRUE(tov::FindIECookieFolder(folder, sizeof folder));
  EXPECT_EQ(std::string(folder), GetText(HKEY_CURRENT_USER, kShellFolders, "Cookies") + "\\");
  tov::SetCookieStore(tov::kStoreInternetExplorer);
  tov::ReadCookies(0);
  std::string name;
  for (int i = 0; i < tov::EntryCount(); ++i)
    if (ReadWholeFile(EntryPathText(i)).find("tovid") != std::string::npos) name = EntryTitleText(i);
  ASSERT_FALSE(name.empty());
  SetText(HKEY_CURRENT_USER, tov::kNutsKey, name, "1");
  tov::ReadCookies(1);
  EXPECT_FALSE(PathExists(std::string(folder) + name));
  tov::ClearEntries();
  ClearProductKeys();
  FreeLibrary(wininet);
}

}  // namespace

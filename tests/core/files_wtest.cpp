// Shared file, path, time and shell operations against the real files and
// registry of the throwaway Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/datetime.h"
#include "core/files.h"
#include "core/registry.h"
#include "core/shell.h"
#include "core/text.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kInternational[] = "Control Panel\\International";
const char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string WindowsDir() {
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, sizeof dir);
  return dir;
}

std::string SystemDir() {
  char dir[MAX_PATH];
  GetSystemDirectoryA(dir, sizeof dir);
  return dir;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return written == bytes.size();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A registry value saved on construction and put back (or deleted, when it
// was missing) on destruction, so the user's own settings survive a test.
class SavedValue {
  HKEY root_;
  std::string key_, name_;
  bool had_ = false;
  DWORD type_ = REG_SZ;
  BYTE data_[1024];
  DWORD size_ = sizeof data_;

 public:
  SavedValue(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name) {
    HKEY k;
    if (RegOpenKeyExA(root_, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    had_ = RegQueryValueExA(k, name, nullptr, &type_, data_, &size_) == ERROR_SUCCESS;
    RegCloseKey(k);
  }
  ~SavedValue() {
    HKEY k;
    if (RegCreateKeyA(root_, key_.c_str(), &k) != ERROR_SUCCESS) return;
    if (had_) RegSetValueExA(k, name_.c_str(), 0, type_, data_, size_);
    else RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
  }
  void Set(const char* text) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyA(root_, key_.c_str(), &k), ERROR_SUCCESS);
    RegSetValueExA(k, name_.c_str(), 0, REG_SZ, (const BYTE*)text, DWORD(strlen(text) + 1));
    RegCloseKey(k);
  }
  void Delete() {
    HKEY k;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
    RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
  }
};

// A file with a long name that lives only in the System folder.
class SystemFolderFile : public testing::Test {
 protected:
  const char* name_ = "tovrel_system_probe.dll";
  std::string path_ = SystemDir() + "\\" + name_;
  void SetUp() override {
    ASSERT_FALSE(Exists(WindowsDir() + "\\" + name_));
    ASSERT_TRUE(WriteFileBytes(path_, "x"));
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
};

}  // namespace

TEST(FileExists, BareNameInWindowsFolderIsLeftAsItIs) {
  char path[kPathCapacity] = "notepad.exe";
  ASSERT_TRUE(Exists(WindowsDir() + "\\notepad.exe"));
  EXPECT_EQ(FileExists(path), 1);
  EXPECT_STREQ(path, "notepad.exe");
  std::string full = WindowsDir() + "\\notepad.exe";
  char fullPath[kPathCapacity];
  CopyText(fullPath, full.c_str());
  EXPECT_EQ(FileExists(fullPath), 1);
  EXPECT_STREQ(fullPath, full.c_str());
}

TEST(FileExists, MissingOrEmptyGivesZero) {
  char empty[kPathCapacity] = "";
  EXPECT_EQ(FileExists(empty), 0);
  char missing[kPathCapacity] = "tovrel_no_such_file.exe";
  EXPECT_EQ(FileExists(missing), 0);
  EXPECT_STREQ(missing, "tovrel_no_such_file.exe");
  char missingPath[kPathCapacity] = "C:\\tovrel\\no\\such.exe";
  EXPECT_EQ(FileExists(missingPath), 0);
}

TEST_F(SystemFolderFile, FileExistsRewritesToTheShortPath) {
  char expected[kPathCapacity];
  ASSERT_GT(GetShortPathNameA(path_.c_str(), expected, sizeof expected), 0u);
  char path[kPathCapacity];
  CopyText(path, name_);
  EXPECT_EQ(FileExists(path), 1);
  EXPECT_STREQ(path, expected);
  EXPECT_EQ(strchr(path, '\\') != nullptr, true);
}

TEST_F(SystemFolderFile, FileExistsLeavesTextWhenTheShortPathDoesNotFit) {
  char path[32];
  CopyText(path, name_);
  size_t systemLength = SystemDir().size();
  if (systemLength + 14 < sizeof path) GTEST_SKIP() << "System folder too short to overflow";
  EXPECT_EQ(FileExists(path), 1);
  EXPECT_STREQ(path, name_);
}

TEST_F(SystemFolderFile, FolderOfFileFindsBareNames) {
  char folder[kPathCapacity];
  EXPECT_EQ(FolderOfFile(name_, folder), SystemDir().size());
  EXPECT_STREQ(folder, SystemDir().c_str());
  EXPECT_EQ(FolderOfFile("notepad.exe", folder), WindowsDir().size());
  EXPECT_STREQ(folder, WindowsDir().c_str());
  EXPECT_EQ(FolderOfFile("tovrel_no_such_file.exe", folder), 0u);
  EXPECT_STREQ(folder, "");
  EXPECT_EQ(FolderOfFile("C:\\Somewhere\\x.exe", folder), 12u);
  EXPECT_STREQ(folder, "C:\\Somewhere");
  EXPECT_EQ(FolderOfFile("C:\\x.exe", folder), 3u);
  EXPECT_STREQ(folder, "C:\\");
}

TEST(FileExists, LongNamesAreNotLookedUpInSystemFolders) {
  std::string name = "tovrel_system_probe_long_name_1.dll";  // 35 characters
  std::string full = SystemDir() + "\\" + name;
  ASSERT_TRUE(WriteFileBytes(full, "x"));
  char path[kPathCapacity];
  CopyText(path, name.c_str());
  EXPECT_EQ(FileExists(path), 0);
  char folder[kPathCapacity];
  EXPECT_EQ(FolderOfFile(name.c_str(), folder), 0u);
  DeleteFileA(full.c_str());
}

TEST(LongPathName, ShortFormBecomesLongAgain) {
  std::string full = TempFilePath("Tovrel long name probe.txt");
  ASSERT_TRUE(WriteFileBytes(full, "x"));
  char shortPath[kPathCapacity];
  ASSERT_GT(GetShortPathNameA(full.c_str(), shortPath, sizeof shortPath), 0u);
  char out[kPathCapacity];
  LongPathName(out, shortPath);
  EXPECT_TRUE(EqualsNoCase(out, full.c_str())) << out;
  // In place.
  LongPathName(shortPath, shortPath);
  EXPECT_TRUE(EqualsNoCase(shortPath, full.c_str())) << shortPath;
  DeleteFileA(full.c_str());
  // A path that does not exist comes back unchanged.
  LongPathName(out, "C:\\TOVREL~1\\NOSUCH~1.EXE");
  EXPECT_STREQ(out, "C:\\TOVREL~1\\NOSUCH~1.EXE");
}

TEST(ProgramOfCommand, ProgramFilesFromTheRegistry) {
  SavedValue saved(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir");
  const char command[] = "%ProgramFiles%\\Windows Mail\\wab.exe /Upgrade";
  char out[kPathCapacity];
  saved.Set("D:\\Apps");
  EXPECT_TRUE(ProgramOfCommand(command, out));
  EXPECT_STREQ(out, "D:\\APPS\\WINDOWS MAIL\\WAB.EXE");
  saved.Delete();
  EXPECT_TRUE(ProgramOfCommand(command, out));
  EXPECT_STREQ(out, "C:\\PROGRAM FILES\\WINDOWS MAIL\\WAB.EXE");
}

TEST(ProgramOfCommand, SystemRootIsTheWindowsFolder) {
  char out[kPathCapacity];
  EXPECT_TRUE(ProgramOfCommand("%SystemRoot%\\System32\\svchost.exe -k netsvcs", out));
  std::string expected = WindowsDir() + "\\System32\\svchost.exe";
  UpperText(&expected[0]);
  EXPECT_STREQ(out, expected.c_str());
}

TEST(NotePath, DataFolderWhenTheProgramFolderHasNoNote) {
  const char command[] = "\"C:\\Tools\\TovrelNoteProbe.exe\" /x";
  char data[kPathCapacity];
  ASSERT_NE(DataFolder(data), 0);
  char program[kPathCapacity];
  ASSERT_GT(ProgramFolder(program), 0u);
  std::string inProgram = std::string(program) + "\\note_TOVRELNOTEPROBE.txt";
  DeleteFileA(inProgram.c_str());

  char note[kPathCapacity];
  EXPECT_TRUE(NotePath(command, note));
  EXPECT_STREQ(note, (std::string(data) + "\\note_TOVRELNOTEPROBE.txt").c_str());

  ASSERT_TRUE(WriteFileBytes(inProgram, "note"));
  EXPECT_TRUE(NotePath(command, note));
  EXPECT_TRUE(EqualsNoCase(note, inProgram.c_str())) << note;
  DeleteFileA(inProgram.c_str());

  EXPECT_FALSE(NotePath("", note));
  EXPECT_STREQ(note, "");
}

TEST(FormatDateTime, UsesTheUsersStyles) {
  SavedValue date(HKEY_CURRENT_USER, kInternational, "sShortDate");
  SavedValue time(HKEY_CURRENT_USER, kInternational, "sTimeFormat");
  SYSTEMTIME t{};
  t.wYear = 2007;
  t.wMonth = 3;
  t.wDay = 5;
  t.wHour = 14;
  t.wMinute = 7;
  t.wSecond = 30;
  char out[kDateTimeCapacity];

  date.Set("yyyy-MM-dd");
  time.Set("HH:mm:ss");
  EXPECT_EQ(FormatDateTime(t, out), 16u);
  EXPECT_STREQ(out, "2007-03-05 14:07");

  date.Set("dd.MM.yyyy");  // not in the table
  time.Set("h:mm:ss tt");
  FormatDateTime(t, out);
  EXPECT_STREQ(out, "03/05/2007 2:07 PM");

  date.Set("yyyy-MM-dd and a style too long to read");
  time.Delete();
  FormatDateTime(t, out);
  EXPECT_STREQ(out, "03/05/2007 2:07 PM");
}

TEST(ReadTextFile, AddsCarriageReturnsAndHonoursTheLimit) {
  std::string path = TempFilePath("tovrel_read_probe.txt");
  ASSERT_TRUE(WriteFileBytes(path, "a\nb\r\nc\n"));
  TextBlock text = ReadTextFile(path.c_str(), 16384, true);
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "a\r\nb\r\nc\r\n");
  text = ReadTextFile(path.c_str(), 16384, false);
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "a\nb\r\nc\n");
  text = ReadTextFile(path.c_str(), 3, true);
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "a\r\nb");
  EXPECT_FALSE(ReadTextFile(path.c_str(), 0, true));

  ASSERT_TRUE(WriteFileBytes(path, ""));
  EXPECT_FALSE(ReadTextFile(path.c_str(), 16384, true));
  DeleteFileA(path.c_str());
  EXPECT_FALSE(ReadTextFile(path.c_str(), 16384, true));
}

TEST(DeleteFileForce, DeletesReadOnlyFiles) {
  std::string path = TempFilePath("tovrel_readonly_probe.txt");
  ASSERT_TRUE(WriteFileBytes(path, "x"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForce(path.c_str()));
  EXPECT_FALSE(Exists(path));
  EXPECT_FALSE(DeleteFileForce(path.c_str()));
}

TEST(FileDateText, CreationTimeInLocalTime) {
  std::string path = TempFilePath("tovrel_date_probe.txt");
  ASSERT_TRUE(WriteFileBytes(path, "x"));
  // Give the file a known creation time.
  SYSTEMTIME local{};
  local.wYear = 2004;
  local.wMonth = 2;
  local.wDay = 29;
  local.wHour = 23;
  local.wMinute = 58;
  FILETIME lft, ft;
  SystemTimeToFileTime(&local, &lft);
  LocalFileTimeToFileTime(&lft, &ft);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  SetFileTime(f, &ft, nullptr, nullptr);
  FILETIME stored{};
  GetFileTime(f, &stored, nullptr, nullptr);
  CloseHandle(f);

  char out[kFileDateCapacity];
  EXPECT_TRUE(FileDateText(path.c_str(), out, sizeof out));
  if (CompareFileTime(&stored, &ft) == 0) {
    EXPECT_STREQ(out, "2004/02/29 23:58");
  } else {
    // Known Wine difference: a Unix file system keeps no settable creation
    // time, so the file reports when it was made; check against that.
    FILETIME storedLocal;
    SYSTEMTIME t;
    FileTimeToLocalFileTime(&stored, &storedLocal);
    FileTimeToSystemTime(&storedLocal, &t);
    char expected[32];
    snprintf(expected, sizeof expected, "%04d/%02d/%02d %02d:%02d", t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute);
    EXPECT_STREQ(out, expected);
  }
  DeleteFileA(path.c_str());
  EXPECT_FALSE(FileDateText(path.c_str(), out, sizeof out));
  EXPECT_STREQ(out, "");
}

TEST(UnixTimeToLocal, ConvertsThroughLocalTime) {
  SYSTEMTIME t{};
  ASSERT_TRUE(UnixTimeToLocal(1173103620, &t));  // 5 March 2007 14:07 UTC
  // The local date of that moment in the prefix's time zone.
  SYSTEMTIME utc{};
  utc.wYear = 2007;
  utc.wMonth = 3;
  utc.wDay = 5;
  utc.wHour = 14;
  utc.wMinute = 7;
  FILETIME uft, lft;
  SystemTimeToFileTime(&utc, &uft);
  FileTimeToLocalFileTime(&uft, &lft);
  SYSTEMTIME expected{};
  FileTimeToSystemTime(&lft, &expected);
  EXPECT_EQ(t.wYear, expected.wYear);
  EXPECT_EQ(t.wMonth, expected.wMonth);
  EXPECT_EQ(t.wDay, expected.wDay);
  EXPECT_EQ(t.wHour, expected.wHour);
  EXPECT_EQ(t.wMinute, expected.wMinute);
  EXPECT_FALSE(UnixTimeToLocal(-11644473601LL, &t));
}

TEST(Platform, IsNtPlatformMatchesTheFamily) {
  const char* family = getenv("TOVREL_FAMILY");
  if (!family) GTEST_SKIP() << "run outside ctest: no family given";
  EXPECT_EQ(IsNtPlatform(), strcmp(family, "nt") == 0) << family;
}

TEST(Platform, LibraryVersion) {
  DWORD version = LibraryVersion("comctl32.dll");
  EXPECT_NE(version, 0u);
  EXPECT_GE(version >> 16, 4u);
  EXPECT_EQ(LibraryVersion("tovrel_no_such_library.dll"), 0u);
  EXPECT_EQ(LibraryVersion("kernel32.dll"), 0u);  // no DllGetVersion export
}

TEST(Platform, FindAolWindowInItsOrder) {
  EXPECT_EQ(FindAolWindow(), nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "AOL Frame25";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND canada = CreateWindowA("AOL Frame25", "AOL Canada", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, wc.hInstance, nullptr);
  EXPECT_EQ(FindAolWindow(), canada);
  HWND aol = CreateWindowA("AOL Frame25", "America Online", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, wc.hInstance, nullptr);
  EXPECT_EQ(FindAolWindow(), aol);
  DestroyWindow(aol);
  DestroyWindow(canada);
  UnregisterClassA("AOL Frame25", wc.hInstance);
}

namespace {

// Answers the shell's error boxes of this process from a second thread, so a
// failing shell call cannot leave the test waiting on a dialog.
class ErrorBoxAnswerer {
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;

  static BOOL CALLBACK Answer(HWND w, LPARAM) {
    char cls[16] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && GetClassNameA(w, cls, sizeof cls) &&
        strcmp(cls, "#32770") == 0 && IsWindowVisible(w))
      PostMessageA(w, WM_COMMAND, IDOK, 0);
    return TRUE;
  }
  static DWORD WINAPI Run(void* self) {
    auto* me = static_cast<ErrorBoxAnswerer*>(self);
    while (!me->stop_) {
      EnumWindows(Answer, 0);
      Sleep(50);
    }
    return 0;
  }

 public:
  ErrorBoxAnswerer() { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~ErrorBoxAnswerer() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
};

}  // namespace

TEST(Platform, RunProgramReportsFailureWithTheWindow) {
  ErrorBoxAnswerer answerer;
  HWND window = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(RunProgram(window, "C:\\tovrel\\no such program.exe", "/x"), window);
  EXPECT_FALSE(InvokeShellVerb(window, "C:\\tovrel\\no such program.exe", "", "open"));
  DestroyWindow(window);
}

TEST(Platform, RunProgramStartsAProgram) {
  std::string marker = TempFilePath("tovrel_run_probe.txt");
  DeleteFileA(marker.c_str());
  std::string parameters = "/c echo x > \"" + marker + "\"";
  EXPECT_EQ(RunProgram(nullptr, "cmd.exe", parameters.c_str()), nullptr);
  EXPECT_TRUE(WaitFor([&] { return Exists(marker); }, 10000));
  Sleep(200);
  DeleteFileA(marker.c_str());
}

namespace {

// What the open-file dialog showed, read from a second thread which then
// closes it with Cancel, or with OK after typing a file name.
struct DialogSeen {
  const char* typeName = nullptr;  // typed into the name box before OK
  char title[kTitleCapacity] = "";
  char firstFilter[kTitleCapacity] = "";
  LRESULT filters = 0;
  bool found = false;
};

BOOL CALLBACK FindOwnDialog(HWND w, LPARAM found) {
  char cls[16] = "";
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == GetCurrentProcessId() && GetClassNameA(w, cls, sizeof cls) &&
      strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI WatchOpenDialog(void* param) {
  auto* seen = static_cast<DialogSeen*>(param);
  HWND dialog = nullptr;
  for (int i = 0; i < 200 && !dialog; ++i) {
    Sleep(50);
    EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&dialog));
  }
  if (!dialog) return 0;
  Sleep(300);  // let the dialog fill its controls
  seen->found = true;
  GetWindowTextA(dialog, seen->title, sizeof seen->title);
  const int kFileTypeBox = 0x470;   // cmb1
  const int kFileNameBox = 0x47c;   // cmb13
  seen->filters = SendDlgItemMessageA(dialog, kFileTypeBox, CB_GETCOUNT, 0, 0);
  SendDlgItemMessageA(dialog, kFileTypeBox, CB_GETLBTEXT, 0, (LPARAM)seen->firstFilter);
  if (seen->typeName) {
    SetDlgItemTextA(dialog, kFileNameBox, seen->typeName);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  return 0;
}

int ChooseWhileWatching(DialogSeen* seen, char* out, size_t cap) {
  HANDLE watcher = CreateThread(nullptr, 0, WatchOpenDialog, seen, 0, nullptr);
  int chosen = ChooseProgramFile(nullptr, 902, out, cap);
  WaitForSingleObject(watcher, 15000);
  CloseHandle(watcher);
  return chosen;
}

}  // namespace

TEST(ChooseProgramFile, ProgramFilterTitleAndChoice) {
  ClearProductKeys();
  // Texts come through the translation overrides: the test program carries
  // no string table of its own.
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Tovrel", "LString903",
               "Programs Files (*.exe) % *.exe% All Files  (*.*) % *.*%%");
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Tovrel", "LString902",
               "Add AutoStart Program");

  char out[kPathCapacity] = "unchanged";
  DialogSeen cancelled;
  EXPECT_EQ(ChooseWhileWatching(&cancelled, out, sizeof out), 0);
  ASSERT_TRUE(cancelled.found);
  EXPECT_STREQ(cancelled.title, "Add AutoStart Program");
  EXPECT_EQ(cancelled.filters, 2);
  EXPECT_STREQ(cancelled.firstFilter, "Programs Files (*.exe) ");
  EXPECT_STREQ(out, "unchanged");

  std::string notepad = WindowsDir() + "\\notepad.exe";
  DialogSeen chosen;
  chosen.typeName = notepad.c_str();
  EXPECT_EQ(ChooseWhileWatching(&chosen, out, sizeof out), 1);
  EXPECT_TRUE(EqualsNoCase(out, notepad.c_str())) << out;
  ClearProductKeys();
}

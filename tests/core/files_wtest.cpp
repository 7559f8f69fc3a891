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
#include "tests/support/dialogs.h"
#include "tests/support/registry_state.h"
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

// A file with a long name that lives only in the System folder.
class SystemFolderFile : public testing::Test {
 protected:
  const char* name_ = "tovrel_system_probe.dll";
  std::string path_ = SystemDir() + "\\" + name_;
  void SetUp() override {
    ASSERT_FALSE(PathExists(WindowsDir() + "\\" + name_));
    ASSERT_TRUE(WriteWholeFile(path_, "x"));
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
};

}  // namespace

TEST(FileExists, BareNameInWindowsFolderIsLeftAsItIs) {
  char path[kPathCapacity] = "notepad.exe";
  ASSERT_TRUE(PathExists(WindowsDir() + "\\notepad.exe"));
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
  ASSERT_TRUE(WriteWholeFile(full, "x"));
  char path[kPathCapacity];
  CopyText(path, name.c_str());
  EXPECT_EQ(FileExists(path), 0);
  char folder[kPathCapacity];
  EXPECT_EQ(FolderOfFile(name.c_str(), folder), 0u);
  DeleteFileA(full.c_str());
}

TEST(LongPathName, ShortFormBecomesLongAgain) {
  std::string full = TempFilePath("Tovrel long name probe.txt");
  ASSERT_TRUE(WriteWholeFile(full, "x"));
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
  SetText(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir", "D:\\Apps");
  EXPECT_TRUE(ProgramOfCommand(command, out));
  EXPECT_STREQ(out, "D:\\APPS\\WINDOWS MAIL\\WAB.EXE");
  DeleteValue(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir");
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

  ASSERT_TRUE(WriteWholeFile(inProgram, "note"));
  EXPECT_TRUE(NotePath(command, note));
  EXPECT_TRUE(EqualsNoCase(note, inProgram.c_str())) << note;
  DeleteFileA(inProgram.c_str());

  EXPECT_FALSE(NotePath("", note));
  EXPECT_STREQ(note, "");
}

TEST(FormatDateTime, UsesTheUsersStyles) {
  SavedKey international(HKEY_CURRENT_USER, kInternational);
  auto styles = [](const char* date, const char* time) {
    SetText(HKEY_CURRENT_USER, kInternational, "sShortDate", date);
    if (time) SetText(HKEY_CURRENT_USER, kInternational, "sTimeFormat", time);
    else DeleteValue(HKEY_CURRENT_USER, kInternational, "sTimeFormat");
  };
  SYSTEMTIME t{};
  t.wYear = 2007;
  t.wMonth = 3;
  t.wDay = 5;
  t.wHour = 14;
  t.wMinute = 7;
  t.wSecond = 30;
  char out[kDateTimeCapacity];

  styles("yyyy-MM-dd", "HH:mm:ss");
  EXPECT_EQ(FormatDateTime(t, out), 16u);
  EXPECT_STREQ(out, "2007-03-05 14:07");

  styles("dd.MM.yyyy", "h:mm:ss tt");  // the date style is not in the table
  FormatDateTime(t, out);
  EXPECT_STREQ(out, "03/05/2007 2:07 PM");

  styles("yyyy-MM-dd and a style too long to read", nullptr);
  FormatDateTime(t, out);
  EXPECT_STREQ(out, "03/05/2007 2:07 PM");
}

TEST(ReadTextFile, AddsCarriageReturnsAndHonoursTheLimit) {
  std::string path = TempFilePath("tovrel_read_probe.txt");
  ASSERT_TRUE(WriteWholeFile(path, "a\nb\r\nc\n"));
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

  ASSERT_TRUE(WriteWholeFile(path, ""));
  EXPECT_FALSE(ReadTextFile(path.c_str(), 16384, true));
  DeleteFileA(path.c_str());
  EXPECT_FALSE(ReadTextFile(path.c_str(), 16384, true));
}

TEST(DeleteFileForce, DeletesReadOnlyFiles) {
  std::string path = TempFilePath("tovrel_readonly_probe.txt");
  ASSERT_TRUE(WriteWholeFile(path, "x"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForce(path.c_str()));
  EXPECT_FALSE(PathExists(path));
  EXPECT_FALSE(DeleteFileForce(path.c_str()));
}

TEST(FileDateText, CreationTimeInLocalTime) {
  std::string path = TempFilePath("tovrel_date_probe.txt");
  ASSERT_TRUE(WriteWholeFile(path, "x"));
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

TEST(Platform, RunProgramReportsFailureWithTheWindow) {
  // The shell's error boxes are answered, so a failing call cannot leave the
  // test waiting.
  DialogAnswerer answerer(OfProcess(GetCurrentProcessId()), IDOK);
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
  EXPECT_TRUE(WaitFor([&] { return PathExists(marker); }, 10000));
  // cmd may still hold the file for a moment.
  EXPECT_TRUE(WaitFor([&] { return DeleteFileA(marker.c_str()) != FALSE; }, 5000));
}

namespace {

// What the open-file dialog showed, read from a second thread which then
// closes it with Cancel, or with OK after typing a file name.
struct DialogSeen {
  const char* typeName = nullptr;  // typed into the name box before OK
  std::string title, firstFilter;
  LRESULT filters = 0;
  bool found = false;
};

void ReadOpenDialog(HWND dialog, DialogSeen* seen) {
  const int kFileTypeBox = 0x470;  // cmb1
  const int kFileNameBox = 0x47c;  // cmb13
  WaitFor([&] { return SendDlgItemMessageA(dialog, kFileTypeBox, CB_GETCOUNT, 0, 0) > 0; }, 5000);
  seen->title = WindowText(dialog);
  seen->filters = SendDlgItemMessageA(dialog, kFileTypeBox, CB_GETCOUNT, 0, 0);
  char filter[kTitleCapacity] = "";
  SendDlgItemMessageA(dialog, kFileTypeBox, CB_GETLBTEXT, 0, (LPARAM)filter);
  seen->firstFilter = filter;
  if (seen->typeName) {
    SetDlgItemTextA(dialog, kFileNameBox, seen->typeName);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

int ChooseWhileWatching(DialogSeen* seen, char* out, size_t cap) {
  return RunDriven(OfProcess(GetCurrentProcessId()), [&](HWND d) { ReadOpenDialog(d, seen); },
                   [&] { return ChooseProgramFile(nullptr, 902, out, cap); }, &seen->found);
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
  EXPECT_EQ(cancelled.title, "Add AutoStart Program");
  EXPECT_EQ(cancelled.filters, 2);
  EXPECT_EQ(cancelled.firstFilter, "Programs Files (*.exe) ");
  EXPECT_STREQ(out, "unchanged");

  std::string notepad = WindowsDir() + "\\notepad.exe";
  DialogSeen chosen;
  chosen.typeName = notepad.c_str();
  EXPECT_EQ(ChooseWhileWatching(&chosen, out, sizeof out), 1);
  EXPECT_TRUE(EqualsNoCase(out, notepad.c_str())) << out;
  ClearProductKeys();
}

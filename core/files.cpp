#include "core/files.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "core/datetime.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"

namespace tov {

size_t ProgramFolder(char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  char full[480];
  DWORD n = GetModuleFileNameA(nullptr, full, sizeof full);
  if (n == 0 || n >= sizeof full) return 0;
  char* slash = strrchr(full, '\\');
  if (!slash) return 0;
  *slash = 0;
  size_t len = strlen(full);
  if (len > kPathCapacity || len + 1 > cap) return 0;
  memcpy(out, full, len + 1);
  return len;
}

int DataFolder(char* out, size_t cap) {
  if (cap == 0) return 0;
  char folder[kPathCapacity];
  if (GetRegString(HKEY_CURRENT_USER,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData",
                   folder) > 0 &&
      AppendText(folder, "\\Tovrel")) {
    CreateDirectoryA(folder, nullptr);
    char vault[kPathCapacity];
    CopyText(vault, folder);
    if (AppendText(vault, "\\vault")) {
      CreateDirectoryA(vault, nullptr);
      DWORD attrs = GetFileAttributesA(vault);
      if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) &&
          CopyTextN(out, cap, folder))
        return 1;
    }
  }
  return ProgramFolder(out, cap) > 0 ? 1 : 0;
}

namespace {

constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kInternationalKey[] = "Control Panel\\International";
constexpr size_t kShortestChosenPath = 5;

// Exists in the sense of FileExists: the platform can tell its short form.
bool PathExists(const char* path) {
  char shortPath[kPathCapacity];
  return path[0] != 0 && GetShortPathNameA(path, shortPath, sizeof shortPath) != 0;
}

// folder + "\" + name when that fits and exists.
bool ExistsIn(const char* folder, const char* name, char (&full)[kPathCapacity]) {
  if (!CopyText(full, folder) || !AppendBackslash(full) || !AppendText(full, name)) return false;
  return PathExists(full);
}

size_t WindowsFolder(char* out, size_t cap) {
  UINT n = GetWindowsDirectoryA(out, UINT(cap));
  if (n == 0 || n >= cap) {
    out[0] = 0;
    return 0;
  }
  return n;
}

size_t SystemFolder(char* out, size_t cap) {
  UINT n = GetSystemDirectoryA(out, UINT(cap));
  if (n == 0 || n >= cap) {
    out[0] = 0;
    return 0;
  }
  return n;
}

}  // namespace

int FileExists(char* path, size_t cap) {
  if (path == nullptr || path[0] == 0) return 0;
  if (PathExists(path)) return 1;
  if (strlen(path) >= kBareNameLimit) return 0;
  char folder[kPathCapacity];
  char full[kPathCapacity];
  if (WindowsFolder(folder, sizeof folder) && ExistsIn(folder, path, full)) return 1;
  if (!SystemFolder(folder, sizeof folder) || !ExistsIn(folder, path, full)) return 0;
  char shortPath[kPathCapacity];
  DWORD n = GetShortPathNameA(full, shortPath, sizeof shortPath);
  if (n > 0 && n < sizeof shortPath && n < cap) memcpy(path, shortPath, size_t(n) + 1);
  return 1;
}

size_t FolderOfFile(const char* path, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (strchr(path, '\\')) return FolderPartOf(path, out, cap);
  if (path[0] == 0 || strlen(path) >= kBareNameLimit) return 0;
  char folder[kPathCapacity];
  char full[kPathCapacity];
  if ((WindowsFolder(folder, sizeof folder) && ExistsIn(folder, path, full)) ||
      (SystemFolder(folder, sizeof folder) && ExistsIn(folder, path, full))) {
    if (CopyTextN(out, cap, folder)) return strlen(out);
    out[0] = 0;
  }
  return 0;
}

void LongPathName(char* out, size_t cap, const char* path) {
  if (cap == 0) return;
  if (out != path) CopyTextN(out, cap, path);
  // The first Windows 95 release has no long-path conversion.
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return;
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0) return;
  using LongPathFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  auto convert = reinterpret_cast<LongPathFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetLongPathNameA")));
  if (!convert) return;
  char longPath[kPathCapacity];
  DWORD n = convert(out, longPath, sizeof longPath);
  if (n == 0 || n >= sizeof longPath) return;
  CopyTextN(out, cap, longPath);
}

size_t ProgramFilesFolder(char* out, size_t cap) {
  if (cap == 0) return 0;
  size_t n = GetRegString(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir", out, cap);
  if (n > 0) return n;
  CopyTextN(out, cap, kDefaultProgramFilesDir);
  return strlen(out);
}

bool ProgramFileOfCommand(const char* command, char* out, size_t cap) {
  char windows[kPathCapacity];
  WindowsFolder(windows, sizeof windows);
  char programFiles[kPathCapacity] = "";
  if (command && FindNoCase(command, "%PROGRAMFILES%") >= 0)
    ProgramFilesFolder(programFiles, sizeof programFiles);
  return ProgramFileOfCommandIn(command, windows, programFiles, out, cap);
}

bool ProgramOfCommand(const char* command, char* out, size_t cap) {
  bool whole = ProgramFileOfCommand(command, out, cap);
  if (cap > 0) UpperText(out);
  return whole;
}

bool NotePath(const char* command, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char windows[kPathCapacity];
  WindowsFolder(windows, sizeof windows);
  char programFiles[kPathCapacity] = "";
  if (command && FindNoCase(command, "%PROGRAMFILES%") >= 0)
    ProgramFilesFolder(programFiles, sizeof programFiles);
  char name[kPathCapacity];
  if (!NoteFileName(command, windows, programFiles, name, sizeof name)) return false;
  char folder[kPathCapacity];
  char path[kPathCapacity];
  if (ProgramFolder(folder) && ExistsIn(folder, name, path)) return CopyTextN(out, cap, path);
  if (!DataFolder(folder) || !CopyText(path, folder) || !AppendText(path, "\\") ||
      !AppendText(path, name) || !CopyTextN(out, cap, path)) {
    out[0] = 0;
    return false;
  }
  return true;
}

bool DeleteFileForce(const char* path) {
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path) != 0;
}

TextBlock ReadTextFile(const char* path, size_t sizeLimit, bool addCr) {
  Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return TextBlock();
  DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size == 0) return TextBlock();
  DWORD want = size < sizeLimit ? size : DWORD(sizeLimit);
  if (want == 0) return TextBlock();
  TextBlock raw(static_cast<char*>(malloc(size_t(want) + 1)));
  if (!raw) return TextBlock();
  DWORD got = 0;
  if (!ReadFile(file.get(), raw.get(), want, &got, nullptr) || got == 0) return TextBlock();
  raw.get()[got] = 0;
  if (!addCr) return raw;
  // A line feed already preceded by a carriage return is left alone, so a
  // file with Windows line ends is not doubled.
  size_t bare = 0;
  for (DWORD i = 0; i < got; ++i)
    if (raw.get()[i] == '\n' && (i == 0 || raw.get()[i - 1] != '\r')) ++bare;
  if (bare == 0) return raw;
  TextBlock text(static_cast<char*>(malloc(size_t(got) + bare + 1)));
  if (!text) return TextBlock();
  size_t o = 0;
  for (DWORD i = 0; i < got; ++i) {
    char c = raw.get()[i];
    if (c == '\n' && (i == 0 || raw.get()[i - 1] != '\r')) text.get()[o++] = '\r';
    text.get()[o++] = c;
  }
  text.get()[o] = 0;
  return text;
}

bool FileDateText(const char* path, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  FILETIME created, local;
  SYSTEMTIME t;
  if (!GetFileTime(file.get(), &created, nullptr, nullptr) ||
      !FileTimeToLocalFileTime(&created, &local) || !FileTimeToSystemTime(&local, &t))
    return false;
  char text[kFileDateCapacity];
  snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
           t.wMinute);
  return CopyTextN(out, cap, text);
}

int ChooseProgramFile(HWND owner, int titleTextId, char* out, size_t cap) {
  if (cap == 0) return 0;
  // The filter is one text with "%" where each part ends; two extra
  // terminators close it even when a translation leaves off the last "%%".
  char filter[kMessageCapacity + 2] = {};
  LoadText(kProgramFilterTextId, filter, kMessageCapacity);
  for (char* p = filter; *p; ++p)
    if (*p == '%') *p = 0;
  char title[kTitleCapacity];
  LoadText(titleTextId, title);
  char file[kPathCapacity] = "Path";

  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // also understood by 9x and NT 4
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = kDefaultProgramFilesDir;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES;
  if (!GetOpenFileNameA(&ofn)) return 0;
  if (strlen(file) < kShortestChosenPath) return 0;
  return CopyTextN(out, cap, file) ? 1 : 0;
}

bool UnixTimeToLocal(int64_t seconds, SYSTEMTIME* out) {
  uint64_t ticks = 0;
  if (!UnixSecondsToFileTime(seconds, &ticks)) return false;
  FILETIME utc, local;
  utc.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
  utc.dwHighDateTime = DWORD(ticks >> 32);
  return FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, out);
}

size_t FormatDateTime(const SYSTEMTIME& t, char* out, size_t cap) {
  char shortDate[kTimeStyleCapacity];
  char timeFormat[kTimeStyleCapacity];
  GetRegString(HKEY_CURRENT_USER, kInternationalKey, "sShortDate", shortDate);
  GetRegString(HKEY_CURRENT_USER, kInternationalKey, "sTimeFormat", timeFormat);
  DateTime d;
  d.year = t.wYear;
  d.month = t.wMonth;
  d.day = t.wDay;
  d.hour = t.wHour;
  d.minute = t.wMinute;
  d.second = t.wSecond;
  return FormatDateTimeAs(d, shortDate, timeFormat, out, cap);
}

}  // namespace tov

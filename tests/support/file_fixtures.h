// Files made and inspected by the Windows tests: attributes and last-write
// times, scratch folders removed with everything in them, the system
// folders, and whether the file system keeps attributes at all.
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/wine_support.h"

namespace testsupport {

// Writes the file whole, first clearing attributes a test left on it.
inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return WriteWholeFile(path, bytes);
}

inline DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The last-write time, 100 ns units; 0 when it cannot be read.
inline ULONGLONG LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
  return ULONGLONG(d.ftLastWriteTime.dwHighDateTime) << 32 | d.ftLastWriteTime.dwLowDateTime;
}

inline bool SetLastWrite(const std::string& path, const SYSTEMTIME& utc) {
  FILETIME t;
  if (!SystemTimeToFileTime(&utc, &t)) return false;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bool ok = SetFileTime(f, nullptr, nullptr, &t) != 0;
  CloseHandle(f);
  return ok;
}

// A fresh, empty folder; removed with its content when the object ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& path) : path_(path) {
    RemoveFolderTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveFolderTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Whether this file system keeps the hidden attribute (Wine stores it in
// extended attributes, which not every file system has).
inline bool KeepsAttributes(const std::string& folder) {
  std::string probe = folder + "\\attribute_probe.tmp";
  WriteBytes(probe, "x");
  SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_HIDDEN);
  bool kept = (GetFileAttributesA(probe.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
  SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(probe.c_str());
  return kept;
}

inline std::string WindowsFolder() {
  char path[MAX_PATH];
  GetWindowsDirectoryA(path, sizeof path);
  return path;
}

inline std::string SystemFolder() {
  char path[MAX_PATH];
  GetSystemDirectoryA(path, sizeof path);
  return path;
}

// The temporary folder without its final backslash.
inline std::string TempFolder() {
  std::string t = TempFilePath("");
  if (!t.empty() && t.back() == '\\') t.pop_back();
  return t;
}

}  // namespace testsupport

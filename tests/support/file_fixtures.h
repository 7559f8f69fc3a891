// Files made and inspected by the Windows tests: bytes, attributes and
// last-write times, folders that are removed with everything in them, and
// whether the file system keeps attributes at all.
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/wine_support.h"

namespace testsupport {

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
  CloseHandle(f);
  return ok;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

// Deletes a folder with everything in it (attributes cleared first).
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

// A fresh, empty folder; removed with its content when the object ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& path) : path_(path) {
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
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

#include "hidden/hidden_files.h"

#include <cstdio>

#include "core/entries.h"
#include "core/files.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/text.h"
#include "core/version.h"
#include "startup/baseline.h"
#include "startup/enumerate.h"

namespace tov {

const char kHiddenBaselineKey[] = "Software\\Brenvik\\Tovrel\\Hidden";

namespace {

constexpr char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kDetectedRootKey[] = "Software\\Brenvik\\Detected";
constexpr size_t kBaselineMarkCapacity = kRegTextCapacity;

// The folders of the scan, in order, each with the depth of sub-folders
// walked. A folder whose name cannot be had is skipped; without a temporary
// folder the scan ends.
enum ScanFolder { kDriveRoot, kWindowsFolder, kSystemFolder, kCommonFiles, kTempFolder };
struct ScanStep {
  ScanFolder folder;
  int depth;
};
const ScanStep kScanSteps[] = {
    {kDriveRoot, 0}, {kWindowsFolder, 0}, {kSystemFolder, 1}, {kCommonFiles, 1}, {kTempFolder, 1},
};

bool ScanFolderPath(ScanFolder folder, char (&out)[kPathCapacity]) {
  UINT n = 0;
  switch (folder) {
    case kDriveRoot:
      return CopyText(out, "C:\\");
    case kWindowsFolder:
      n = GetWindowsDirectoryA(out, sizeof out);
      break;
    case kSystemFolder:
      n = GetSystemDirectoryA(out, sizeof out);
      break;
    case kCommonFiles:
      return GetRegString(HKEY_LOCAL_MACHINE, kVersionKey, "CommonFilesDir", out) > 0;
    case kTempFolder:
      n = GetTempPathA(sizeof out, out);
      if (n == 0 || n >= sizeof out) return false;
      RemoveBackslash(out, true);
      return true;
  }
  return n > 0 && n < sizeof out;
}

void NowText(char (&out)[kHiddenDateCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FormatDateTime(now, out);
}

}  // namespace

int AddHiddenItem(const char* path, const WIN32_FIND_DATAA* found) {
  if (found == nullptr || found->dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) return 0;
  DWORD attributes = found->dwFileAttributes;
  if (!(attributes & FILE_ATTRIBUTE_HIDDEN) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  VersionStrings version;
  ReadVersionStrings(path, &version);
  AddEntry(version.productName, path, path, "", kTypeHidden,
           (attributes & FILE_ATTRIBUTE_SYSTEM) ? 1 : 0);
  return 0;
}

int ScanHiddenFiles() {
  ClearEntries();
  int previousMode = CurrentWalkMode();
  SetWalkMode(kWalkHidden);
  for (const ScanStep& step : kScanSteps) {
    char folder[kPathCapacity];
    if (!ScanFolderPath(step.folder, folder)) {
      if (step.folder == kTempFolder) break;
      continue;
    }
    WalkFolder(folder, spBuildProc, step.depth, 0);
  }
  SetWalkMode(previousMode);
  return EntryCount();
}

size_t LastWrittenText(const char* file, char* date, size_t dateCap, char* size, size_t sizeCap) {
  if (dateCap) date[0] = 0;
  if (sizeCap) size[0] = 0;
  if (file == nullptr || dateCap == 0 || sizeCap == 0) return 0;
  // Opened the way other programs let a file be read: a file some program
  // holds without sharing is "in use".
  Handle handle(CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return 0;
  FILETIME written, local;
  SYSTEMTIME t;
  DWORD high = 0;
  DWORD low = GetFileSize(handle.get(), &high);
  if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) ||
      !GetFileTime(handle.get(), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
    return 0;
  char sizeText[24];
  snprintf(sizeText, sizeof sizeText, "%llu",
           (unsigned long long)((unsigned long long)high << 32 | low));
  CopyTextN(size, sizeCap, sizeText);
  return FormatDateTime(t, date, dateCap);
}

bool UnhideFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 0;
}

void InitHiddenBaseline() {
  char mark[kBaselineMarkCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, "", mark) > 0) {
    if (mark[0] == 'P') return;
    DeleteRegTree(HKEY_CURRENT_USER, kHiddenBaselineKey);
  }
  CreateRegKey(HKEY_CURRENT_USER, kHiddenBaselineKey);
  CreateRegKey(HKEY_CURRENT_USER, kDetectedRootKey);
  InitRegStartups();
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, "", "P");
  ScanHiddenFiles();
  char today[kHiddenDateCapacity];
  NowText(today);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry* entry = EntryAt(i);
    if (entry && entry->path[0]) SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, entry->path, today);
  }
  ClearEntries();
}

}  // namespace tov

#include "hidden/vault.h"

#include "core/files.h"
#include "core/history.h"
#include "core/paths.h"
#include "core/registry.h"
#include "core/text.h"
#include "hidden/hidden_files.h"
#include "hidden/hidden_rules.h"
#include "processes/processes.h"

namespace tov {

namespace {

constexpr char kVaultFolder[] = "\\vault\\";
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// "<data folder>\vault\" + tail.
bool InVault(const char* tail, char (&out)[kPathCapacity]) {
  char folder[kPathCapacity];
  return DataFolder(folder) && CopyText(out, folder) && AppendText(out, kVaultFolder) &&
         AppendText(out, tail);
}

// Where copies were kept before each file had its own: by file name only.
bool PlainVaultCopyPath(const char* path, char (&out)[kPathCapacity]) {
  char name[kPathCapacity];
  return FileNameOf(path, name) > 0 && InVault(name, out);
}

bool FileSize(const char* path, ULONGLONG* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  *size = ULONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  return true;
}

// The copy is complete: both files are there with the same number of bytes.
bool SameSize(const char* a, const char* b) {
  ULONGLONG sizeA = 0, sizeB = 0;
  return FileSize(a, &sizeA) && FileSize(b, &sizeB) && sizeA == sizeB;
}

// Removes a vault copy and, when it stood in its own sub-folder, that
// folder too (it is left when anything else is in it).
void DiscardVaultCopy(const char* copy) {
  DeleteFileForce(copy);
  char folder[kPathCapacity];
  if (FolderPartOf(copy, folder, sizeof folder) == 0) return;
  char name[kPathCapacity];
  if (FileNameOf(folder, name) == kVaultFolderNameLength) RemoveDirectoryA(folder);
}

// The vault copy a deleted file would come back from (its own, else one
// kept under its plain name) with the copy's attributes; false when the
// file exists again or no copy is there.
bool RestorableCopy(const char* path, char (&copy)[kPathCapacity], DWORD* attributes) {
  if (path == nullptr || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
  if (!VaultCopyPath(path, copy, sizeof copy) ||
      GetFileAttributesA(copy) == INVALID_FILE_ATTRIBUTES) {
    if (!PlainVaultCopyPath(path, copy)) return false;
  }
  *attributes = GetFileAttributesA(copy);
  return *attributes != INVALID_FILE_ATTRIBUTES && !(*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int RestoreVaultEvent(const Entry& event) {
  return RestoreFromVault(event.path) ? kRestoreDone : kRestoreFailed;
}

// The History window offers the undo while the file is still gone and its
// copy still in the vault.
bool VaultEventRestorable(const Entry& event) {
  char copy[kPathCapacity];
  DWORD attributes = 0;
  return RestorableCopy(event.path, copy, &attributes);
}

int Failed(DWORD code, DWORD* error) {
  if (error) *error = code;
  return 0;
}

}  // namespace

bool VaultCopyPath(const char* path, char* out, size_t cap) {
  char name[kPathCapacity];
  char hash[kVaultFolderNameLength + 1];
  char tail[kPathCapacity];
  char full[kPathCapacity];
  if (path == nullptr || FileNameOf(path, name) == 0) return false;
  VaultFolderName(path, hash);
  if (!CopyText(tail, hash) || !AppendText(tail, "\\") || !AppendText(tail, name) ||
      !InVault(tail, full))
    return false;
  return CopyTextN(out, cap, full);
}

int MoveToVault(const char* title, const char* path, DWORD* error) {
  DWORD attributes = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failed(ERROR_FILE_NOT_FOUND, error);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Failed(ERROR_ACCESS_DENIED, error);
  StopRunningProgram(path, title ? title : "", false);

  char copy[kPathCapacity];
  char folder[kPathCapacity];
  if (!VaultCopyPath(path, copy, sizeof copy) || FolderPartOf(copy, folder, sizeof folder) == 0)
    return Failed(ERROR_FILENAME_EXCED_RANGE, error);
  CreateDirectoryA(folder, nullptr);
  // An older copy of this file may be read-only; it is replaced.
  SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);
  // The copy keeps the file's attributes and times for the restore.
  if (!CopyFileA(path, copy, FALSE)) {
    DWORD code = GetLastError();
    DiscardVaultCopy(copy);
    return Failed(code, error);
  }
  if (!SameSize(path, copy)) {
    DiscardVaultCopy(copy);
    return Failed(ERROR_WRITE_FAULT, error);
  }
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileA(path)) {
    DWORD code = GetLastError();
    SetFileAttributesA(path, attributes);
    DiscardVaultCopy(copy);
    return Failed(code, error);
  }
  AddHistoryEvent(title ? title : "", path, "", kTypeHidden, kActionHiddenDeleteFile);
  DeleteRegValue(HKEY_CURRENT_USER, kHiddenBaselineKey, path);
  return 1;
}

bool RestoreFromVault(const char* path) {
  char copy[kPathCapacity];
  DWORD attributes = 0;
  if (!RestorableCopy(path, copy, &attributes)) return false;
  // Failing when the file exists: a file that came back meanwhile stays.
  if (!CopyFileA(copy, path, TRUE)) return false;
  if (!SameSize(copy, path)) {
    DeleteFileForce(path);
    return false;
  }
  SetFileAttributesA(path, (attributes & kKeptAttributes) | FILE_ATTRIBUTE_HIDDEN);
  DiscardVaultCopy(copy);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[kHiddenDateCapacity];
  FormatDateTime(now, today);
  SetRegString(HKEY_CURRENT_USER, kHiddenBaselineKey, path, today);
  return true;
}

void RegisterVaultRestoreHandler() {
  RegisterRestoreHandler(kRestoreVaultFile, RestoreHandler{RestoreVaultEvent, VaultEventRestorable});
}

}  // namespace tov

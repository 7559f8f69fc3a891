#include "hidden/reboot_delete.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/entries.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/shell.h"
#include "core/text.h"
#include "hidden/hidden_rules.h"
#include "resources/string_ids.h"
#include "ui/listview.h"
#include "ui/page_framework.h"

namespace tov {

namespace {

constexpr char kRestartFileName[] = "\\wininit.ini";
constexpr char kRenameHeader[] = "[rename]\r\n";
constexpr char kLineBreak[] = "\r\n";
// A restart file larger than this is not a real one; it is left alone.
constexpr DWORD kRestartFileLimit = 1024 * 1024;

struct FreeBlock {
  void operator()(char* p) const { free(p); }
};

bool WriteAll(HANDLE file, const char* data, size_t length) {
  DWORD written = 0;
  return length == 0 ||
         (WriteFile(file, data, DWORD(length), &written, nullptr) && written == length);
}

// Adds "NUL=<short path>" to the [rename] section of wininit.ini. The file
// is read whole and only what follows the insertion point is written again,
// so a restart file of other programs keeps every byte.
DWORD AddRestartDelete(const char* shortPath) {
  char restartFile[kPathCapacity];
  UINT n = GetWindowsDirectoryA(restartFile, sizeof restartFile);
  if (n == 0 || n >= sizeof restartFile) return ERROR_PATH_NOT_FOUND;
  if (!AppendText(restartFile, kRestartFileName)) return ERROR_FILENAME_EXCED_RANGE;
  Handle file(CreateFileA(restartFile, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!file) return GetLastError();
  DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kRestartFileLimit) return ERROR_FILE_TOO_LARGE;
  std::unique_ptr<char, FreeBlock> text(static_cast<char*>(malloc(size_t(size) + 1)));
  if (!text) return ERROR_NOT_ENOUGH_MEMORY;
  DWORD got = 0;
  if (size > 0 && (!ReadFile(file.get(), text.get(), size, &got, nullptr) || got != size))
    return ERROR_READ_FAULT;

  RenameInsertion at = FindRenameInsertion(text.get(), size);
  if (SetFilePointer(file.get(), LONG(at.offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return GetLastError();
  char line[kPathCapacity + 8];
  CopyText(line, "NUL=");
  AppendText(line, shortPath);
  AppendText(line, kLineBreak);
  bool ok = (!at.breakFirst || WriteAll(file.get(), kLineBreak, 2)) &&
            (!at.header || WriteAll(file.get(), kRenameHeader, strlen(kRenameHeader))) &&
            WriteAll(file.get(), line, strlen(line)) &&
            WriteAll(file.get(), text.get() + at.offset, size - at.offset);
  return ok ? NO_ERROR : GetLastError();
}

}  // namespace

bool DeleteFileOnReboot(const char* path, DWORD* error) {
  DWORD failure = NO_ERROR;
  DWORD attributes = path && path[0] ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Commands with parameters and other texts that name no file end here.
    failure = ERROR_FILE_NOT_FOUND;
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    failure = ERROR_ACCESS_DENIED;
  } else {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (IsNtPlatform()) {
      if (!MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) failure = GetLastError();
    } else {
      char shortPath[kPathCapacity];
      DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
      if (n == 0 || n >= sizeof shortPath)
        failure = n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
      else
        failure = AddRestartDelete(shortPath);
    }
    if (failure != NO_ERROR) SetFileAttributesA(path, attributes);
  }
  if (failure == NO_ERROR) return true;
  if (error) *error = failure;
  return false;
}

void ShowFileFailure(HWND owner, const char* path, DWORD error) {
  char reason[kMessageCapacity] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 reason, sizeof reason, nullptr);
  char text[kMessageCapacity];
  CopyText(text, path ? path : "");
  AppendText(text, "\n\n");
  AppendText(text, reason);
  MessageBoxA(owner, text, ProgramCaption(), MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

void DeleteSelectedFileOnReboot(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    NothingSelected(page);
    return;
  }
  char question[kMessageCapacity];
  LoadText(kTextIsThisKnownAdware, question);
  if (MessageBoxA(page, question, ProgramCaption(), MB_YESNO | MB_ICONSTOP | MB_TOPMOST) != IDYES)
    return;
  char path[kEntryPathSlot];
  EntryPath(entry, path, sizeof path);
  DWORD error = NO_ERROR;
  if (!DeleteFileOnReboot(path, &error)) ShowFileFailure(page, path, error);
}

}  // namespace tov

#include "options/system_files.h"

#include <shellapi.h>

#include <cstdio>

#include "core/files.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/shell.h"
#include "core/text.h"
#include "hidden/reboot_delete.h"

namespace tov {

const char kSysfilesKey[] = "Software\\Brenvik\\Tovrel\\Sysfiles";

namespace {

constexpr int kTextNoHosts = 736;
constexpr size_t kNumberTextCapacity = 24;

struct SystemFile {
  const char* name;
  const char* path;  // null: the HOSTS path of this machine
  const char* comment;
};

// The standard files, in the order they are recorded.
const SystemFile kSystemFiles[] = {
    {"HOSTS", nullptr, "HOST file can be used to protect or redirect domain access."},
    {"Autoexec.bat", "C:\\autoexec.bat", "Runs at system boot time at command level."},
    {"Config.sys", "C:\\Config.sys", "Used at system boot time at command level."},
};

bool NowText(char (&out)[kDateTimeCapacity]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatDateTime(now, out) > 0;
}

void WriteFileFacts(const char* key, const char* path, int type) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME t;
  char date[kDateTimeCapacity] = "";
  if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
      FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &t))
    FormatDateTime(t, date);
  char size[kNumberTextCapacity];
  snprintf(size, sizeof size, "%llu",
           (unsigned long long)data.nFileSizeHigh << 32 | data.nFileSizeLow);
  char typeText[kNumberTextCapacity];
  snprintf(typeText, sizeof typeText, "%d", type);
  SetRegString(HKEY_LOCAL_MACHINE, key, "Date", date);
  SetRegString(HKEY_LOCAL_MACHINE, key, "Size", size);
  SetRegString(HKEY_LOCAL_MACHINE, key, "Type", typeText);
}

}  // namespace

bool HostsPath(char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char path[kPathCapacity];
  bool nt = IsNtPlatform();
  UINT n = nt ? GetSystemDirectoryA(path, sizeof path) : GetWindowsDirectoryA(path, sizeof path);
  if (n == 0 || n >= sizeof path) return false;
  if (!AppendText(path, nt ? "\\drivers\\etc\\HOSTS" : "\\HOSTS") || !CopyTextN(out, cap, path)) {
    out[0] = 0;
    return false;
  }
  return true;
}

bool RecordSystemFile(const char* name, const char* path, const char* comment, int type) {
  char key[kPathCapacity];
  if (!CopyText(key, kSysfilesKey) || !AppendText(key, "\\") || !AppendText(key, name))
    return false;
  CreateRegKey(HKEY_LOCAL_MACHINE, key);
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  WriteFileFacts(key, path, type);
  if (comment && comment[0]) SetRegString(HKEY_CURRENT_USER, key, "Comment", comment);
  SetRegString(HKEY_LOCAL_MACHINE, key, "Location", path);

  char copy[kPathCapacity];
  if (!DataFolder(copy) || !AppendText(copy, "\\") || !AppendText(copy, name)) return false;
  // The file's attributes come along with it, so the older copy of a
  // read-only file is read-only too.
  SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);
  return CopyFileA(path, copy, FALSE) != 0;
}

void MakeSystemFileBaseline() {
  char made[kRegTextCapacity];
  if (GetRegString(HKEY_LOCAL_MACHINE, kSysfilesKey, "", made) > 0) return;
  CreateRegKey(HKEY_LOCAL_MACHINE, kSysfilesKey);
  for (const SystemFile& file : kSystemFiles) {
    char path[kPathCapacity];
    if (file.path ? CopyText(path, file.path) : HostsPath(path))
      RecordSystemFile(file.name, path, file.comment, 0);
  }
  char now[kDateTimeCapacity];
  NowText(now);
  SetRegString(HKEY_LOCAL_MACHINE, kSysfilesKey, "", now);
}

bool ViewHostsFile(HWND owner) {
  char path[kPathCapacity];
  DWORD attributes = HostsPath(path) ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShowInfoMessage(kTextNoHosts);
    return false;
  }
  char folder[kPathCapacity];
  char quoted[kPathCapacity + 2];
  FolderPartOf(path, folder, sizeof folder);
  CopyText(quoted, "\"");
  AppendText(quoted, path);
  AppendText(quoted, "\"");
  HINSTANCE started = ShellExecuteA(owner, "open", "notepad.exe", quoted, folder, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(started) > 32) return true;
  ShowFileFailure(owner, path, GetLastError());
  return false;
}

}  // namespace tov

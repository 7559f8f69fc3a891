#include "startup/regfile.h"

#include <cstring>
#include <vector>

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/text.h"
#include "core/trace.h"
#include "startup/regfile_format.h"

namespace tov {

const char kRunBackupFileName[] = "RegRunBackup.reg";

namespace {

constexpr size_t kKeyPathCapacity = 1024;
// Values larger than this are not read (the registry editors of the 9x
// family hold at most 64 KB per value; NT advises keeping values far smaller).
constexpr size_t kValueDataLimit = 4u << 20;
constexpr size_t kNameLimit = 32768;
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool WriteToFile(void* context, const char* text, size_t length) {
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(context), text, DWORD(length), &written, nullptr) &&
         written == length;
}

RegHive HiveOf(HKEY hive) {
  if (hive == HKEY_CLASSES_ROOT) return kHiveClassesRoot;
  if (hive == HKEY_CURRENT_USER) return kHiveCurrentUser;
  if (hive == HKEY_USERS) return kHiveUsers;
  if (hive == HKEY_CURRENT_CONFIG) return kHiveCurrentConfig;
  return kHiveLocalMachine;
}

void NoteRefused(RegRefusedNames* refused, const char* name) {
  Trace("WriteRegValues", "name with a line break left out");
  if (refused == nullptr) return;
  ++refused->count;
  char shown[kRefusedNamesCapacity];
  CopyText(shown, name);
  for (char* p = shown; *p; ++p)
    if (*p == '\r' || *p == '\n') *p = ' ';
  char line[kRefusedNamesCapacity];
  CopyText(line, refused->text);
  // Whole lines only: a list that is full shows what it holds.
  if (AppendText(line, shown) && AppendText(line, "\n")) CopyText(refused->text, line);
}

// Reads every value of an open key and writes its line; a value whose name
// the format cannot hold is left out and noted. Returns the number of lines
// written - 1.
int PutValues(RegOutput* out, HKEY key, RegRefusedNames* refused) {
  DWORD valueCount = 0, maxName = 0, maxData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                       &maxName, &maxData, nullptr, nullptr) != ERROR_SUCCESS)
    return -1;
  // Lengths are counted in characters of the stored text: its ANSI form may
  // take two bytes for one, so room is made for that.
  std::vector<char> name(size_t(maxName) * 2 + 2);
  std::vector<unsigned char> data(size_t(maxData) + 2);
  int lines = 0;
  for (DWORD index = 0; index <= valueCount; ++index) {
    DWORD nameLength = 0, dataLength = 0, type = 0;
    LONG result = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && result == ERROR_MORE_DATA; ++attempt) {
      nameLength = DWORD(name.size());
      dataLength = DWORD(data.size());
      result = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, data.data(),
                             &dataLength);
      if (result != ERROR_MORE_DATA) break;
      // The value grew since the key was measured: make room and read again.
      if (name.size() < kNameLimit) name.resize(name.size() * 2);
      size_t need = size_t(dataLength) + 2 > data.size() * 2 ? size_t(dataLength) + 2
                                                            : data.size() * 2;
      if (need > kValueDataLimit) break;
      data.resize(need);
    }
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) {
      Trace("WriteRegValues", "value not read");
      continue;
    }
    name[nameLength < name.size() ? nameLength : name.size() - 1] = 0;
    if (!AppendRegValue(out, name.data(), type, data.data(), dataLength)) {
      NoteRefused(refused, name.data());
      continue;
    }
    ++lines;
  }
  return lines - 1;
}


int PutKey(RegOutput* out, HKEY hive, const char* keyPath, RegRefusedNames* refused) {
  const char* hiveName = RegHiveName(HiveOf(hive));
  if (!AppendRegSection(out, hiveName, keyPath, nullptr)) {
    NoteRefused(refused, keyPath);
    return -1;
  }
  RegKey key;
  if (RegOpenKeyExA(hive, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    AppendRegBlankLine(out);
    return -1;
  }
  PutValues(out, key.get(), refused);

  DWORD subKeyCount = 0, maxSubKey = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeyCount, &maxSubKey, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    subKeyCount = 0;
  std::vector<char> subName(size_t(maxSubKey) * 2 + 2);
  int written = 0;
  for (DWORD index = 0; index < subKeyCount; ++index) {
    DWORD length = DWORD(subName.size());
    if (RegEnumKeyExA(key.get(), index, subName.data(), &length, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS)
      break;
    char subPath[kKeyPathCapacity];
    if (!CopyText(subPath, keyPath) || !AppendText(subPath, "\\") ||
        !AppendText(subPath, subName.data())) {
      Trace("WriteRegKey", "sub-key path too long, not written");
      continue;
    }
    if (!IsRegFileName(subName.data())) {
      NoteRefused(refused, subName.data());
      continue;
    }
    AppendRegBlankLine(out);
    AppendRegSection(out, hiveName, keyPath, subName.data());
    RegKey sub;
    if (RegOpenKeyExA(hive, subPath, 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
      PutValues(out, sub.get(), refused);
    ++written;
  }
  AppendRegBlankLine(out);
  return written > 0 ? written : -1;
}

}  // namespace

int WriteRegValues(HANDLE file, HKEY hive, const char* keyPath) {
  RegKey key;
  if (RegOpenKeyExA(hive, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return -1;
  RegOutput out;
  InitRegOutput(&out, WriteToFile, file);
  int result = PutValues(&out, key.get(), nullptr);
  FlushRegOutput(&out);
  return result;
}

int WriteRegKey(HANDLE file, HKEY hive, const char* keyPath) {
  RegOutput out;
  InitRegOutput(&out, WriteToFile, file);
  int result = PutKey(&out, hive, keyPath, nullptr);
  FlushRegOutput(&out);
  return result;
}

int ExportRegKeys(const char* filePath, const RegExportKey* keys, int count,
                  RegRefusedNames* refused) {
  Handle file(CreateFileA(filePath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Trace("ExportRegKeys", "file not created");
    return 0;
  }
  RegOutput out;
  InitRegOutput(&out, WriteToFile, file.get());
  AppendRegHeader(&out);
  for (int i = 0; i < count; ++i) PutKey(&out, keys[i].hive, keys[i].path, refused);
  return FlushRegOutput(&out) ? 1 : 0;
}

int BackupRunKeys() {
  char path[kPathCapacity];
  if (ProgramFolder(path) == 0) return 0;
  if (!AppendBackslash(path) || !AppendText(path, kRunBackupFileName)) return 0;
  const RegExportKey keys[] = {{HKEY_CURRENT_USER, kRunKey}, {HKEY_LOCAL_MACHINE, kRunKey}};
  return ExportRegKeys(path, keys, 2);
}

bool WriteSettingsExport(char* out, size_t cap, RegRefusedNames* refused) {
  if (cap == 0) return false;
  out[0] = 0;
  char user[kUserNameCapacity];
  DWORD userLength = sizeof user;
  if (!GetUserNameA(user, &userLength)) return false;
  char path[kPathCapacity];
  if (ProgramFolder(path) == 0) return false;
  // A path that does not fit is refused rather than cut to another name.
  if (!AppendBackslash(path) || !AppendText(path, user) || !AppendText(path, "-Tovrel.reg"))
    return false;
  const RegExportKey keys[] = {{HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel"},
                               {HKEY_LOCAL_MACHINE, "SOFTWARE\\Brenvik"}};
  if (!ExportRegKeys(path, keys, 2, refused)) return false;
  return CopyTextN(out, cap, path);
}

int ExportSettings() {
  char path[kPathCapacity];
  RegRefusedNames refused;
  if (!WriteSettingsExport(path, sizeof path, &refused)) return 0;
  char longPath[kPathCapacity];
  LongPathName(longPath, path);
  char format[kMessageCapacity];
  LoadText(kSettingsExportTextId, format);
  char text[kMessageCapacity + kPathCapacity];
  FormatOneText(format, longPath, text, sizeof text);
  MessageBoxA(nullptr, text, ProgramCaption(), MB_OK | MB_ICONINFORMATION);
  if (refused.count > 0) {
    LoadText(kRefusedNamesTextId, format);
    FormatOneText(format, refused.text, text, sizeof text);
    MessageBoxA(nullptr, text, ProgramCaption(), MB_OK | MB_ICONWARNING);
  }
  return 1;
}

}  // namespace tov

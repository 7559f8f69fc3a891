// Registry-editor import files (.reg): the backup of the Run keys taken at
// start-up and the export of the program's own settings. Opening such a file
// in Windows Explorer puts the values back.
#pragma once
#include <windows.h>

namespace tov {

extern const char kRunBackupFileName[];   // "RegRunBackup.reg"
constexpr int kSettingsExportTextId = 854;
constexpr int kRefusedNamesTextId = 2905;
constexpr size_t kUserNameCapacity = 228;   // user name in the export's file name

// Writes the value lines of a key to an open file; returns the number of
// value lines written - 1 (-1 when the key does not open or has no values).
int WriteRegValues(HANDLE file, HKEY hive, const char* keyPath);
// Writes the key's section and values, then the section and values of each
// direct sub-key (deeper keys are not written), then an empty line. Returns
// the number of sub-keys written; -1 when there are none or the key does
// not open (its section line is written all the same).
int WriteRegKey(HANDLE file, HKEY hive, const char* keyPath);

struct RegExportKey {
  HKEY hive;
  const char* path;
};
// Names a .reg file cannot hold (a line break in a key or value name): they
// are left out and listed here, one per line with the break shown as a
// blank, as far as the text holds them.
constexpr size_t kRefusedNamesCapacity = 512;
struct RegRefusedNames {
  int count = 0;
  char text[kRefusedNamesCapacity] = "";
};
// Creates (or truncates) the file and writes the header and each key by
// WriteRegKey. 1 when the whole file was written (names it cannot hold left
// out and counted in refused, when given), 0 when it could not be created or
// a write failed.
int ExportRegKeys(const char* filePath, const RegExportKey* keys, int count,
                  RegRefusedNames* refused = nullptr);

// "RegRunBackup.reg" in the program folder: the Run keys of HKEY_CURRENT_USER
// and HKEY_LOCAL_MACHINE as they are now. 1 written, 0 otherwise.
int BackupRunKeys();
// "<program folder>\<user name>-Tovrel.reg" holding HKEY_CURRENT_USER
// "Software\Brenvik\Tovrel" and HKEY_LOCAL_MACHINE "SOFTWARE\Brenvik".
// Writes it and returns its path in out; false when it could not be written.
bool WriteSettingsExport(char* out, size_t cap, RegRefusedNames* refused = nullptr);
// WriteSettingsExport, then tells the user where the file is (text 854)
// and which names were left out (text 2905). 1 / 0.
int ExportSettings();

}  // namespace tov

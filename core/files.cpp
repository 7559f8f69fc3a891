#include "core/files.h"

#include <cstring>

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

}  // namespace tov

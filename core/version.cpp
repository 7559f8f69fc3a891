#include "core/version.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/registry.h"
#include "core/text.h"

namespace tov {

namespace {

struct Translation {
  WORD language;
  WORD codePage;
};

// One field of one translation; false when the resource has no such value.
// A value whose reported length exceeds 127 characters gives empty text.
bool QueryField(const void* data, const Translation& t, const char* field,
                char (&out)[kVersionFieldCapacity]) {
  out[0] = 0;
  char query[80];
  snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", t.language, t.codePage, field);
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data, query, (void**)&value, &length) || value == nullptr) return false;
  if (length > kVersionFieldCapacity - 1) return true;
  size_t n = strnlen(value, length);
  memcpy(out, value, n);
  out[n] = 0;
  return true;
}

}  // namespace

bool ReadVersionStrings(const char* path, VersionStrings* out) {
  if (out == nullptr) return false;
  memset(out, 0, sizeof *out);
  if (path == nullptr || path[0] == 0) return false;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0 || size >= kVersionInfoLimit) return false;
  char data[kVersionInfoLimit];
  if (!GetFileVersionInfoA(path, 0, size, data)) return false;

  Translation* table = nullptr;
  UINT tableBytes = 0;
  if (!VerQueryValueA(data, "\\VarFileInfo\\Translation", (void**)&table, &tableBytes) ||
      table == nullptr)
    return false;

  UINT count = tableBytes / sizeof(Translation);
  for (UINT i = 0; i < count; ++i) {
    char name[kVersionFieldCapacity];
    if (!QueryField(data, table[i], "ProductName", name)) continue;
    CopyText(out->productName, name);
    QueryField(data, table[i], "ProductVersion", out->productVersion);
    QueryField(data, table[i], "CompanyName", out->companyName);
    QueryField(data, table[i], "FileDescription", out->fileDescription);
    QueryField(data, table[i], "LegalCopyright", out->legalCopyright);
  }

  if (ContainsText(out->productName, "Operating System"))
    CopyText(out->productName, out->fileDescription);
  return out->productName[0] != 0;
}

bool LookupClassServer(const char* clsid, char* className, size_t classCap, char* server,
                       size_t serverCap) {
  if (classCap > 0) className[0] = 0;
  if (serverCap > 0) server[0] = 0;
  if (clsid == nullptr) return true;
  char key[kClassKeyCapacity] = "CLSID\\";
  bool whole = clsid[0] == '{' ? AppendText(key, clsid)
                               : AppendText(key, "{") && AppendText(key, clsid) &&
                                     AppendText(key, "}");
  if (!whole) return true;  // a cut identifier would name another class
  GetRegString(HKEY_CLASSES_ROOT, key, "", className, classCap);
  if (!AppendText(key, "\\InprocServer32")) return true;
  GetRegString(HKEY_CLASSES_ROOT, key, "", server, serverCap);
  return true;
}

namespace {

// ProductVersion of a program file, read as every description of a program is.
bool ReadProductVersion(const char* path, char* out, size_t cap) {
  VersionStrings v;
  ReadVersionStrings(path, &v);
  return v.productVersion[0] != 0 && CopyTextN(out, cap, v.productVersion);
}

}  // namespace

size_t VersionLabel(char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  char folder[kPathCapacity];
  if (ProgramFolder(folder) == 0) return 0;
  char path[kPathCapacity], version[128];
  CopyText(path, folder);
  if (AppendText(path, "\\Tovrel.exe") && ReadProductVersion(path, version, sizeof version))
    CopyTextN(out, cap, version);
  CopyText(path, folder);
  if (AppendText(path, "\\TovrelEx.exe") && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
      ReadProductVersion(path, version, sizeof version)) {
    AppendTextN(out, cap, ":");
    AppendTextN(out, cap, version);
  }
  return strlen(out);
}

}  // namespace tov

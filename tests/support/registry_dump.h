// A registry key as text: every sub-key, value name, type and data byte,
// in enumeration order, so two dumps compare byte for byte.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

inline std::string DumpKey(HKEY root, const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "";
  std::string out = "[" + key + "]\n";
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD nameLen = sizeof name, type = 0, size = 0;
    if (RegEnumValueA(k, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size + 1);
    nameLen = sizeof name;
    RegEnumValueA(k, i, name, &nameLen, nullptr, &type, data.data(), &size);
    char head[64];
    snprintf(head, sizeof head, "\" type %lu size %lu: ", type, size);
    out += "\"" + std::string(name, nameLen) + head;
    out.append(reinterpret_cast<const char*>(data.data()), size);
    out += "\n";
  }
  std::vector<std::string> subs;
  for (DWORD i = 0;; ++i) {
    char name[260];
    DWORD len = sizeof name;
    if (RegEnumKeyExA(k, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subs.push_back(name);
  }
  RegCloseKey(k);
  for (const std::string& sub : subs) out += DumpKey(root, key + "\\" + sub);
  return out;
}

}  // namespace testsupport

#include "tests/support/registry_state.h"

#include <aclapi.h>

#include <cstdio>
#include <vector>

namespace testsupport {

namespace {

// An open key closed where it was taken.
class Key {
 public:
  Key(HKEY root, const std::string& path, REGSAM access, bool create = false) {
    LONG r = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr)
                    : RegOpenKeyExA(root, path.c_str(), 0, access, &key_);
    if (r != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string Join(const std::string& key, const std::string& sub) {
  return key.empty() ? sub : sub.empty() ? key : key + "\\" + sub;
}

std::vector<std::string> SubkeyNames(HKEY k) {
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(k, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  return names;
}

std::map<std::string, RegValue> AllValues(HKEY k) {
  std::map<std::string, RegValue> values;
  DWORD nameMax = 0, dataMax = 0;
  RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameMax, &dataMax,
                   nullptr, nullptr);
  std::vector<char> name(nameMax + 2 > 1024 ? nameMax + 2 : 1024);
  std::vector<BYTE> data(dataMax + 1 > 65536 ? dataMax + 1 : 65536);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = DWORD(name.size()), size = DWORD(data.size()), type = 0;
    if (RegEnumValueA(k, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      break;
    RegValue& v = values[std::string(name.data(), nameLength)];
    v.exists = true;
    v.type = type;
    v.bytes.assign(reinterpret_cast<const char*>(data.data()), size);
  }
  return values;
}

void Collect(HKEY root, const std::string& key, const std::string& below, KeySnapshot* out) {
  Key k(root, Join(key, below), KEY_READ);
  if (!k.get()) return;
  out->values[below] = AllValues(k.get());
  for (const std::string& sub : SubkeyNames(k.get())) Collect(root, key, Join(below, sub), out);
}

}  // namespace

void PrintTo(const RegValue& v, std::ostream* out) {
  if (!v.exists) {
    *out << "<missing>";
    return;
  }
  *out << "type " << v.type << " \"";
  for (unsigned char c : v.bytes) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      *out << char(c);
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02x", c);
      *out << hex;
    }
  }
  *out << "\"";
}

void PrintTo(const KeySnapshot& s, std::ostream* out) {
  if (!s.exists) {
    *out << "<no key>";
    return;
  }
  for (const auto& key : s.values) {
    *out << "\n  [" << key.first << "]";
    for (const auto& value : key.second) {
      *out << "\n    \"" << value.first << "\" = ";
      PrintTo(value.second, out);
    }
  }
}

RegValue TextValue(const std::string& text, DWORD type) {
  RegValue v;
  v.exists = true;
  v.type = type;
  v.bytes = text + '\0';
  return v;
}

RegValue BinaryValue(const std::string& bytes, DWORD type) {
  RegValue v;
  v.exists = true;
  v.type = type;
  v.bytes = bytes;
  return v;
}

RegValue ReadValue(HKEY root, const std::string& key, const std::string& name) {
  RegValue v;
  Key k(root, key, KEY_READ);
  if (!k.get()) return v;
  DWORD size = 0;
  if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) return v;
  v.bytes.resize(size + 1);
  if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &v.type, reinterpret_cast<BYTE*>(&v.bytes[0]),
                       &size) != ERROR_SUCCESS)
    return RegValue();
  v.bytes.resize(size);
  v.exists = true;
  return v;
}

bool WriteValue(HKEY root, const std::string& key, const std::string& name, const RegValue& v) {
  if (!v.exists) {
    Key k(root, key, KEY_SET_VALUE);
    return !k.get() || RegDeleteValueA(k.get(), name.c_str()) == ERROR_SUCCESS;
  }
  Key k(root, key, KEY_ALL_ACCESS, true);
  if (!k.get()) return false;
  return RegSetValueExA(k.get(), name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                        DWORD(v.bytes.size())) == ERROR_SUCCESS;
}

bool SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
  return WriteValue(root, key, name, TextValue(text));
}

std::string GetText(HKEY root, const std::string& key, const std::string& name, const std::string& missing) {
  RegValue v = ReadValue(root, key, name);
  if (!v.exists) return missing;
  return std::string(v.bytes.c_str());
}

bool HasValue(HKEY root, const std::string& key, const std::string& name) {
  return ReadValue(root, key, name).exists;
}

void DeleteValue(HKEY root, const std::string& key, const std::string& name) {
  WriteValue(root, key, name, RegValue());
}

bool KeyExists(HKEY root, const std::string& key) {
  Key k(root, key, KEY_READ);
  return k.get() != nullptr;
}

void DeleteKey(HKEY root, const std::string& key) {
  {
    Key k(root, key, KEY_READ);
    if (!k.get()) return;
    for (const std::string& sub : SubkeyNames(k.get())) DeleteKey(root, Join(key, sub));
  }
  RegDeleteKeyA(root, key.c_str());
}

std::set<std::string> ValueNames(HKEY root, const std::string& key) {
  std::set<std::string> names;
  Key k(root, key, KEY_READ);
  if (!k.get()) return names;
  for (const auto& value : AllValues(k.get())) names.insert(value.first);
  return names;
}

KeySnapshot TakeSnapshot(HKEY root, const std::string& key) {
  KeySnapshot s;
  s.exists = KeyExists(root, key);
  if (s.exists) Collect(root, key, "", &s);
  return s;
}

void RestoreSnapshot(HKEY root, const std::string& key, const KeySnapshot& snapshot) {
  if (!snapshot.exists) {
    DeleteKey(root, key);
    return;
  }
  KeySnapshot now = TakeSnapshot(root, key);
  // Subkeys that were not there, deepest first so each is gone whole.
  for (auto it = now.values.rbegin(); it != now.values.rend(); ++it)
    if (!snapshot.values.count(it->first)) DeleteKey(root, Join(key, it->first));
  for (const auto& saved : snapshot.values) {
    const std::string path = Join(key, saved.first);
    Key k(root, path, KEY_ALL_ACCESS, true);
    if (!k.get()) continue;
    auto current = now.values.find(saved.first);
    if (current != now.values.end())
      for (const auto& value : current->second)
        if (!saved.second.count(value.first)) RegDeleteValueA(k.get(), value.first.c_str());
    for (const auto& value : saved.second) {
      if (current != now.values.end()) {
        auto same = current->second.find(value.first);
        if (same != current->second.end() && same->second == value.second) continue;
      }
      RegSetValueExA(k.get(), value.first.c_str(), 0, value.second.type,
                     reinterpret_cast<const BYTE*>(value.second.bytes.data()),
                     DWORD(value.second.bytes.size()));
    }
  }
}

SavedKey::SavedKey(HKEY root, std::string key)
    : root_(root), key_(std::move(key)), snapshot_(TakeSnapshot(root_, key_)) {}

SavedKey::~SavedKey() { RestoreSnapshot(root_, key_, snapshot_); }

SavedValue::SavedValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)), value_(ReadValue(root_, key_, name_)) {}

SavedValue::~SavedValue() { WriteValue(root_, key_, name_, value_); }

namespace {
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}  // namespace

SavedStartupFolder::SavedStartupFolder()
    : shell_(HKEY_CURRENT_USER, kShellFolders, "Startup"),
      user_(HKEY_CURRENT_USER, kUserShellFolders, "Startup") {}

bool SavedStartupFolder::Set(const std::string& folder) {
  return WriteValue(HKEY_CURRENT_USER, kUserShellFolders, "Startup",
                    TextValue(folder, REG_EXPAND_SZ)) &&
         SetText(HKEY_CURRENT_USER, kShellFolders, "Startup", folder);
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const char* path) : root_(root), path_(path) {
  if (RegOpenKeyExA(root, path, 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  GetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &old_, nullptr,
                  &descriptor_);
  EXPLICIT_ACCESSA access = {};
  access.grfAccessPermissions = KEY_READ;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  CreateWellKnownSid(WinWorldSid, nullptr, sid, &sidSize);
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = reinterpret_cast<char*>(sid);
  PACL acl = nullptr;
  SetEntriesInAclA(1, &access, nullptr, &acl);
  applied_ = SetSecurityInfo(key_, SE_REGISTRY_KEY,
                             DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                             nullptr, acl, nullptr) == ERROR_SUCCESS;
  LocalFree(acl);
}

ReadOnlyKey::~ReadOnlyKey() {
  if (!key_) return;
  SetSecurityInfo(key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, old_, nullptr);
  LocalFree(descriptor_);
  RegCloseKey(key_);
}

bool ReadOnlyKey::enforced() const {
  if (!applied_) return false;
  HKEY probe;
  LONG rc = RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &probe);
  if (rc == ERROR_SUCCESS) {
    rc = RegDeleteValueA(probe, "no such value of the test");
    RegCloseKey(probe);
  }
  return rc == ERROR_ACCESS_DENIED;
}

}  // namespace testsupport

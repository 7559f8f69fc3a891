// Registry state for the Windows tests: single values with their type and
// bytes, whole keys as snapshots (every value of the key and its subkeys),
// and saved values and keys that are put back when a test ends.
#pragma once
#include <windows.h>

#include <map>
#include <ostream>
#include <set>
#include <string>

namespace testsupport {

// One value as it stands: whether it exists, its type and its exact bytes.
struct RegValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string bytes;
  bool operator==(const RegValue& o) const {
    return exists == o.exists && (!exists || (type == o.type && bytes == o.bytes));
  }
  bool operator!=(const RegValue& o) const { return !(*this == o); }
};
void PrintTo(const RegValue& v, std::ostream* out);

// A string value with its terminator counted, as RegSetValueEx stores it.
RegValue TextValue(const std::string& text, DWORD type = REG_SZ);
RegValue BinaryValue(const std::string& bytes, DWORD type = REG_BINARY);

RegValue ReadValue(HKEY root, const std::string& key, const std::string& name);
// Writes v (creating the key), or deletes the value when v does not exist.
bool WriteValue(HKEY root, const std::string& key, const std::string& name, const RegValue& v);
bool SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text);
// The text of a string value up to its first terminator; `missing` when the
// value is not there.
std::string GetText(HKEY root, const std::string& key, const std::string& name,
                    const std::string& missing = "");
bool HasValue(HKEY root, const std::string& key, const std::string& name);
void DeleteValue(HKEY root, const std::string& key, const std::string& name);
bool KeyExists(HKEY root, const std::string& key);
// Deletes the key with every subkey (RegDeleteKey alone refuses on NT).
void DeleteKey(HKEY root, const std::string& key);
std::set<std::string> ValueNames(HKEY root, const std::string& key);

// A key with all its values and subkeys. `values` holds one map per key,
// by path below the snapshot's key ("" is the key itself, "A\\B" a subkey),
// each from value name to value; a key without values still has its entry.
struct KeySnapshot {
  bool exists = false;
  std::map<std::string, std::map<std::string, RegValue>> values;
  bool operator==(const KeySnapshot& o) const { return exists == o.exists && values == o.values; }
};
void PrintTo(const KeySnapshot& s, std::ostream* out);

KeySnapshot TakeSnapshot(HKEY root, const std::string& key);
// Puts the key back as the snapshot holds it, touching only what differs:
// extra values and subkeys go, changed and missing ones are written again.
void RestoreSnapshot(HKEY root, const std::string& key, const KeySnapshot& snapshot);

// A key saved now and restored exactly when the object goes out of scope.
class SavedKey {
 public:
  SavedKey(HKEY root, std::string key);
  ~SavedKey();
  SavedKey(const SavedKey&) = delete;
  SavedKey& operator=(const SavedKey&) = delete;
  const KeySnapshot& saved() const { return snapshot_; }

 private:
  HKEY root_;
  std::string key_;
  KeySnapshot snapshot_;
};

// One value saved now and put back (or deleted, when it was missing) when
// the object goes out of scope.
class SavedValue {
 public:
  SavedValue(HKEY root, std::string key, std::string name);
  ~SavedValue();
  SavedValue(const SavedValue&) = delete;
  SavedValue& operator=(const SavedValue&) = delete;
  const RegValue& saved() const { return value_; }

 private:
  HKEY root_;
  std::string key_, name_;
  RegValue value_;
};

// The user's Startup folder pointed somewhere for a test, put back at the
// end. The shell rewrites "Shell Folders" (what the program reads) from
// "User Shell Folders" whenever anything asks it for the folder, so Set
// writes both; setting only the first lasts until the next shortcut call.
class SavedStartupFolder {
 public:
  SavedStartupFolder();
  bool Set(const std::string& folder);

 private:
  SavedValue shell_, user_;
};

// A key whose access list lets everyone read it and nobody change it, put
// back as it was when the object goes out of scope. `enforced` tells
// whether this prefix refuses a change to it (Wine may let the owner write).
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, const char* path);
  ~ReadOnlyKey();
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  bool applied() const { return applied_; }
  bool enforced() const;

 private:
  HKEY root_;
  std::string path_;
  HKEY key_ = nullptr;
  PACL old_ = nullptr;
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  bool applied_ = false;
};

}  // namespace testsupport

// The filter words and removal marks of the Nuts key, the kept cookies of
// the Cookies key, and the first-run words from Tovrel.ini.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "cookies/cookies.h"
#include "core/files.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/text.h"

namespace tov {

const char kNutsKey[] = "Software\\Brenvik\\Tovrel\\Nuts";
const char kKeptCookiesKey[] = "Software\\Brenvik\\Tovrel\\Cookies";

namespace {

// Values this long or longer are not words the program wrote.
constexpr DWORD kFilterDataBytes = 16;
// Most items loaded; matching and the word list see the first ones.
constexpr int kMaxLoadedItems = 8192;

FilterItem* g_items = nullptr;
int g_count = 0;
int g_capacity = 0;

bool Append(const char* text, int data) {
  if (g_count == g_capacity) {
    int capacity = g_capacity ? g_capacity * 2 : 64;
    if (capacity > kMaxLoadedItems) return false;
    FilterItem* items = new (std::nothrow) FilterItem[capacity];
    if (!items) return false;
    if (g_count) memcpy(items, g_items, sizeof(FilterItem) * size_t(g_count));
    delete[] g_items;
    g_items = items;
    g_capacity = capacity;
  }
  CopyText(g_items[g_count].text, text);
  g_items[g_count].data = data;
  ++g_count;
  return true;
}

// The data of a value as a number; a value too long to read counts as 0.
int ItemData(HKEY key, const char* name) {
  char data[kFilterDataBytes + 1] = "";
  DWORD size = kFilterDataBytes;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS)
    return 0;
  data[size < kFilterDataBytes ? size : kFilterDataBytes] = 0;
  return int(ParseDecimal(data));
}

}  // namespace

int LoadFilterWords() {
  FreeFilterWords();
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kNutsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
  for (DWORD index = 0;; ++index) {
    char name[kFilterWordCapacity];
    DWORD nameSize = sizeof name;
    // The name alone: a long data value must not end the enumeration.
    LONG r = RegEnumValueA(key.get(), index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS || !UsableFilterWord(name)) continue;  // over-long name or blank
    if (!Append(name, ItemData(key.get(), name))) break;
  }
  return g_count;
}

void FreeFilterWords() {
  delete[] g_items;
  g_items = nullptr;
  g_count = 0;
  g_capacity = 0;
}

int FilterItemCount() { return g_count; }

const FilterItem* FilterItemAt(int index) {
  return index >= 0 && index < g_count ? &g_items[index] : nullptr;
}

bool MatchesFilterWord(const char* text) {
  size_t length = strnlen(text, kFilterWordCapacity);
  if (length >= kFilterWordCapacity) return false;
  for (int i = 0; i < g_count; ++i)
    if (TextHoldsWord(text, length, g_items[i].text)) return true;
  return false;
}

bool AddFilterWord(const char* word) {
  if (!UsableFilterWord(word) || strlen(word) >= kFilterWordCapacity) return false;
  FreeFilterWords();
  bool stored = SetRegString(HKEY_CURRENT_USER, kNutsKey, word, "1");
  LoadFilterWords();
  if (stored) ReadCookies(1);
  return stored;
}

bool RemoveFilterWord(const char* word) {
  FreeFilterWords();
  bool removed = DeleteRegValue(HKEY_CURRENT_USER, kNutsKey, word);
  LoadFilterWords();
  return removed;
}

bool HasNutsValue(const char* name) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kNutsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool MarkCookieForRemoval(const char* title) {
  return UsableFilterWord(title) && SetRegString(HKEY_CURRENT_USER, kNutsKey, title, "2");
}

int SeedDefaultFilterWords() {
  char ini[kPathCapacity];
  if (!DataFolder(ini) || !AppendBackslash(ini) || !AppendText(ini, "Tovrel.ini")) return 0;
  char countText[32] = "";
  GetPrivateProfileStringA("Nuts", "count", "", countText, sizeof countText, ini);
  int count = CappedWordCount(ParseDecimal(countText));
  if (count == 0) {
    for (const char* word : kDefaultFilterWords) SetRegString(HKEY_CURRENT_USER, kNutsKey, word, "1");
    return 0;
  }
  for (int i = 1; i <= count; ++i) {
    char name[16];
    snprintf(name, sizeof name, "Nut%d", i);
    char word[256] = "";
    GetPrivateProfileStringA("Nuts", name, "", word, sizeof word, ini);
    if (UsableFilterWord(word)) SetRegString(HKEY_CURRENT_USER, kNutsKey, word, "1");
  }
  return count;
}

bool IsCookieKept(const char* name) {
  char data[kFilterDataBytes];
  return GetRegString(HKEY_CURRENT_USER, kKeptCookiesKey, name, data) > 0;
}

bool SetCookieKept(const char* name, bool kept) {
  if (kept) return SetRegString(HKEY_CURRENT_USER, kKeptCookiesKey, name, "1");
  DeleteRegValue(HKEY_CURRENT_USER, kKeptCookiesKey, name);
  return true;
}

}  // namespace tov

// What the cookie family offers the others: the two browser cookie stores
// (finding them, listing their cookies, the filter pass), the filter words
// and removal marks of the Nuts key, the kept cookies of the Cookies key,
// and the first-run filter words.
#pragma once
#include <windows.h>

#include <cstddef>

#include "cookies/cookie_rules.h"

namespace tov {

// HKCU keys: filter words ("1") and marked Mozilla cookies ("2"); cookies
// the user kept checked in the viewer ("1").
extern const char kNutsKey[];
extern const char kKeptCookiesKey[];

// Location code of a Mozilla cookie entry.
constexpr int kCodeMozillaCookie = 504;

// The store the cookie readers use (kStoreInternetExplorer or kStoreMozilla).
void SetCookieStore(int store);
int CurrentCookieStore();
// The store the Browser option chooses.
int ChosenCookieStore();

// The IE cookie folder (ending in "\") of the first candidate that holds
// index.dat; false with text 968 in out when none does.
bool FindIECookieFolder(char* out, size_t cap);
// The Mozilla profile folder; false (empty) when there is none.
bool FindMozillaFolder(char* out, size_t cap);
// True when "<AppData>\Mozilla" exists.
bool IsMozillaInstalled();
// The kind of the default browser (BrowserKind).
int DefaultBrowserKind();

// Clears the entry list and reads the current store. filter 0 lists;
// filter > 0 loads the filter words, runs the filter pass and frees them.
// Returns the number of entries.
int ReadCookies(int filter);
// The folder walk's step for the IE store; value is the filter flag.
int AddCookieItem(const char* path, const WIN32_FIND_DATAA* found, LPARAM value);

// The loaded words and marks of the Nuts key.
struct FilterItem {
  char text[kFilterWordCapacity];
  int data;  // 1 filter word, 2 removal mark
};
// Loads every usable value of the Nuts key; returns the count.
int LoadFilterWords();
void FreeFilterWords();
int FilterItemCount();
const FilterItem* FilterItemAt(int index);
// True when text (at most 512 characters) holds a loaded item.
bool MatchesFilterWord(const char* text);
// Stores the word ("1"), reloads and runs the filter pass over the current
// store. False for an unusable word or when it could not be stored.
bool AddFilterWord(const char* word);
// Deletes the word's value and reloads. False when it could not be deleted.
bool RemoveFilterWord(const char* word);
// True when the Nuts key has a value of that name (a word or a mark).
bool HasNutsValue(const char* name);
// Marks a Mozilla cookie (by its title) for the filter pass.
bool MarkCookieForRemoval(const char* title);
// The first-run filter words: "Nut1".."Nut<count>" of section [Nuts] of
// Tovrel.ini in the data folder, or the seven default words when the count
// is 0 or missing. Returns the count read (capped at 256).
int SeedDefaultFilterWords();

// Kept cookies, by the viewer's first column.
bool IsCookieKept(const char* name);
bool SetCookieKept(const char* name, bool kept);

}  // namespace tov

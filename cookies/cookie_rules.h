// The rules of the two cookie stores and the filter words that need no
// window: a Mozilla-style "cookies.txt" line and its fields, the title that
// names a cookie, the browser kinds, the folder checks, the filter words'
// limits and the streaming filter that copies a cookie file line by line.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ui/page_rules.h"

namespace tov {

// Cookie store mode.
enum CookieStore { kStoreInternetExplorer = 1, kStoreMozilla = 3 };

// Browser kinds of the default browser.
enum BrowserKind {
  kBrowserExplorer = 1,
  kBrowserNetscape = 2,
  kBrowserFirefox = 3,
  kBrowserMaxthon = 4,
  kBrowserAvant = 5,
  kBrowserMozilla = 6,
};

constexpr size_t kCookieFieldCapacity = 260;   // domain, path and name
constexpr size_t kCookieValueCapacity = 512;   // value, cut to 511
constexpr size_t kCookieTitleCapacity = 128;   // "<domain> - <name>"; longer is refused
constexpr size_t kCookieListLimit = 28000;     // bytes of cookies.txt read for a list
constexpr size_t kCookieLineCapacity = 16384;  // a line the filter can judge whole
constexpr size_t kCookieFolderLongest = 250;   // an IE folder candidate's longest text
constexpr size_t kFilterWordCapacity = 512;    // a filter word or mark (511)
constexpr int kFilterItemLimit = 256;          // words and marks together, for adding
constexpr int kDefaultFilterWordCount = 7;
extern const char* const kDefaultFilterWords[kDefaultFilterWordCount];

// One line of cookies.txt, fields separated by tabs.
struct CookieLine {
  char domain[kCookieFieldCapacity];  // without its leading "." and "#HttpOnly_"
  bool subdomains;
  char path[kCookieFieldCapacity];
  bool secure;                        // "TRUE" in the secure field
  int64_t expiry;                     // seconds since 1970; 0 for a session cookie
  char name[kCookieFieldCapacity];
  char value[kCookieValueCapacity];   // after the last tab; a final "\r" is not part of it
  bool httpOnly;                      // written with the "#HttpOnly_" prefix
};

// Parses one line given without its "\n". False for a comment, a blank line
// or a line whose domain is empty (no cookie). Over-long fields are cut.
bool ParseCookieLine(const char* line, size_t length, CookieLine* out);

// "<domain> - <name>"; false and empty text when it does not fit cap (a
// cookie whose title would be cut cannot be told from another one).
bool CookieTitle(const char* domain, const char* name, char* out, size_t cap);
template <size_t N> bool CookieTitle(const char* domain, const char* name, char (&out)[N]) {
  return CookieTitle(domain, name, out, N);
}

// Decimal seconds, saturating; anything else gives 0.
int64_t ParseExpiry(const char* text);

// The browser program of an open command: double quotes removed; a quoted
// program ends at its closing quote, an unquoted one before the first " -"
// or " %" argument. False when cut.
bool ReduceBrowserCommand(const char* command, char* out, size_t cap);
// The kind of a browser program, by the first name found in it.
int BrowserKindOf(const char* program);
// The Browser option's stores: 2, 3 and 6 choose Mozilla, every other
// value Internet Explorer.
int StoreOfBrowserChoice(int browser);

// An IE folder candidate of more than 2 and at most 250 characters.
bool CookieFolderFits(const char* folder);
// The folder of a path chosen in the open-file dialog: its text up to and
// including the last "\". False (empty) when that is 3 characters or fewer.
bool FolderOfChosenPath(const char* chosen, char* out, size_t cap);

// A filter word can be stored and matched only when it has a character
// other than blanks (an empty word is found in every text).
bool UsableFilterWord(const char* word);
// The count of words the settings file names, capped at the item limit.
int CappedWordCount(long count);
// True when text (length bytes, not terminated) holds word, without regard
// to case. An unusable word matches nothing.
bool TextHoldsWord(const char* text, size_t length, const char* word);

// Copies a cookie file line by line: each line, with its own line end and
// byte for byte, goes to write unless drop says so; an unterminated last
// line is judged and kept the same way. A line too long to judge whole is
// kept unchanged.
typedef bool (*CookieDropTest)(const char* line, size_t length, void* context);
typedef bool (*CookieWriter)(const char* data, size_t length, void* context);
struct CookieFilter {
  CookieDropTest drop;
  CookieWriter write;
  void* context;
  bool failed;      // a write failed; nothing more is written
  bool passing;     // inside an over-long line, copied unchanged
  size_t length;
  char line[kCookieLineCapacity];
};
void StartCookieFilter(CookieFilter* filter, CookieDropTest drop, CookieWriter write, void* context);
// Feeds the next bytes; false once a write has failed.
bool FeedCookieFilter(CookieFilter* filter, const char* data, size_t length);
// The last line; false when any write failed.
bool FinishCookieFilter(CookieFilter* filter);

// Calls each for every line of a listing buffer that ends with "\n", and
// for the unterminated last one when atEnd (the file was read whole).
typedef void (*CookieLineProc)(const char* line, size_t length, void* context);
void ForEachCookieLine(const char* data, size_t length, bool atEnd, CookieLineProc each,
                       void* context);

// The viewer's list of each store: its columns, the shared "SortCookie"
// option and the last column a click sorts by (never past its own columns).
const ListFacts& CookieViewerList(int store);
// Remove Unchecked has its own command: the page's Close command (1004)
// would end the program from the viewer's menu.
constexpr int kCmdRemoveUnchecked = 1255;
// The viewer's entry menu: View, Remove Unchecked, Remove Checked.
const EntryMenu& CookieViewerMenu();

}  // namespace tov

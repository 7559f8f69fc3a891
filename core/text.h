// Bounded text operations on single-byte ANSI strings held in fixed buffers.
// No Windows headers: this file is compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tov {

// Capacities used across the program (characters, terminator included).
constexpr size_t kPathCapacity = 260;
constexpr size_t kTitleCapacity = 128;
constexpr size_t kMessageCapacity = 1024;
constexpr size_t kRegTextCapacity = 1024;
constexpr size_t kCommandLineLimit = 772;   // longest text ContainsText looks into

// Copies src into dst (capacity cap), cut to cap - 1 characters and always
// terminated. Returns false when the text had to be cut or cap is 0 (then
// nothing is copied).
bool CopyTextN(char* dst, size_t cap, const char* src);
// Appends src to the text already in dst; same rules as CopyTextN.
bool AppendTextN(char* dst, size_t cap, const char* src);

template <size_t N> bool CopyText(char (&dst)[N], const char* src) { return CopyTextN(dst, N, src); }
template <size_t N> bool AppendText(char (&dst)[N], const char* src) { return AppendTextN(dst, N, src); }

// ASCII/ANSI case folding that does not depend on the C locale.
char UpperChar(char c);
// FNV-1a over the text with its letters upper case (as UpperChar), for
// tables that find names without case; seed starts the hash.
uint32_t HashNoCase(const char* text, uint32_t seed = 2166136261u);
char LowerChar(char c);
// Case-insensitive comparison of two texts (<0, 0, >0).
int CompareNoCase(const char* a, const char* b);
bool EqualsNoCase(const char* a, const char* b);

// 1 when part occurs in text, ignoring case; a text longer than 772
// characters, or a part longer than the text, gives 0.
int ContainsText(const char* text, const char* part);
// Position of part in text ignoring case, or -1.
long FindNoCase(const char* text, const char* part);

// Every double quote removed; input is taken up to 512 characters.
void StripQuotes(const char* text, char* out, size_t cap);
// Text from its first non-space character; returns the remaining length.
size_t StripLeadingSpaces(const char* text, char* out, size_t cap);
// Text after the first "."; 1 when there was one.
int ExtensionOf(const char* text, char* out, size_t cap);
// Every "=" replaced by ":" (registry value names made from paths).
void EqualsToColon(const char* text, char* out, size_t cap);
// Every occurrence of c replaced in place (capacity 260), or removed when
// replacement is the zero character.
void ReplaceChar(char* text, char c, char replacement);
// Every space replaced by "%20"; cut to cap - 1 characters, never inside an
// escape.
void EscapeSpaces(const char* text, char* out, size_t cap);
// Adds "\" unless the path already ends with one; false when it would not fit.
bool AppendBackslashN(char* path, size_t cap);
template <size_t N> bool AppendBackslash(char (&path)[N]) { return AppendBackslashN(path, N); }
// Removes a final "\" unless, with keepRoot, it follows a ":".
void RemoveBackslash(char* path, bool keepRoot);
// Decimal text with commas between groups of three digits.
void GroupThousands(long long number, char* out, size_t cap);
// Upper-cases in place.
void UpperText(char* text);
// Leading decimal digits (after an optional sign) as an integer; text
// without digits gives 0. Never overflows: the value saturates.
long ParseDecimal(const char* text);

}  // namespace tov

namespace tov {
// Copies pattern with its first "%s" replaced by text; other "%" signs are
// kept as they are, so a translated text can never act as a format string.
// Returns false when out had to be cut.
bool FormatOneText(const char* pattern, const char* text, char* out, size_t cap);
// Rebuilds a ';'-separated list without the pieces equal to item (ignoring
// case), each kept piece followed by ';'. Returns false when out was cut.
bool RemoveListItem(const char* list, const char* item, char* out, size_t cap);
// The same with the pieces to drop chosen by match; *matched tells whether
// any piece was dropped.
using ListItemMatch = bool (*)(const char* piece, void* context);
bool RemoveListItemMatching(const char* list, ListItemMatch match, void* context, char* out,
                            size_t cap, bool* matched);
// A program path as a command: quoted when it holds a blank (and is not
// quoted already). False when it does not fit.
bool QuoteProgramPath(const char* path, char* out, size_t cap);
}  // namespace tov

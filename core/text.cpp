#include "core/text.h"

#include <climits>
#include <cstring>

namespace tov {

bool CopyTextN(char* dst, size_t cap, const char* src) {
  if (cap == 0 || dst == nullptr) return false;
  dst[0] = 0;
  return AppendTextN(dst, cap, src);
}

bool AppendTextN(char* dst, size_t cap, const char* src) {
  if (cap == 0 || dst == nullptr) return false;
  size_t used = strnlen(dst, cap);
  if (used >= cap) {  // unterminated buffer: terminate and report the cut
    dst[cap - 1] = 0;
    return false;
  }
  if (src == nullptr) return true;
  size_t room = cap - 1 - used;
  size_t len = strlen(src);
  size_t take = len < room ? len : room;
  memcpy(dst + used, src, take);
  dst[used + take] = 0;
  return take == len;
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

uint32_t HashNoCase(const char* text, uint32_t seed) {
  uint32_t hash = seed;
  for (const char* p = text ? text : ""; *p; ++p) {
    hash ^= uint8_t(UpperChar(*p));
    hash *= 16777619u;
  }
  return hash;
}
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = (unsigned char)UpperChar(*a), y = (unsigned char)UpperChar(*b);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

bool EqualsNoCase(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }

long FindNoCase(const char* text, const char* part) {
  size_t n = strlen(text), m = strlen(part);
  if (m > n) return -1;
  for (size_t i = 0; i + m <= n; ++i) {
    size_t k = 0;
    while (k < m && UpperChar(text[i + k]) == UpperChar(part[k])) ++k;
    if (k == m) return (long)i;
  }
  return -1;
}

int ContainsText(const char* text, const char* part) {
  if (text == nullptr || part == nullptr) return 0;
  if (strnlen(text, kCommandLineLimit + 1) > kCommandLineLimit) return 0;
  return FindNoCase(text, part) >= 0 ? 1 : 0;
}

void StripQuotes(const char* text, char* out, size_t cap) {
  if (cap == 0) return;
  size_t o = 0;
  for (size_t i = 0; text[i] && i < 512 && o + 1 < cap; ++i)
    if (text[i] != '"') out[o++] = text[i];
  out[o] = 0;
}

size_t StripLeadingSpaces(const char* text, char* out, size_t cap) {
  while (*text == ' ') ++text;
  CopyTextN(out, cap, text);
  return cap ? strlen(out) : 0;
}

int ExtensionOf(const char* text, char* out, size_t cap) {
  const char* dot = strchr(text, '.');
  CopyTextN(out, cap, dot ? dot + 1 : "");
  return dot ? 1 : 0;
}

void EqualsToColon(const char* text, char* out, size_t cap) {
  if (!CopyTextN(out, cap, text) && cap == 0) return;
  for (char* p = out; *p; ++p)
    if (*p == '=') *p = ':';
}

void ReplaceChar(char* text, char c, char replacement) {
  size_t o = 0;
  for (size_t i = 0; text[i] && i < kPathCapacity - 1; ++i) {
    if (text[i] != c) text[o++] = text[i];
    else if (replacement) text[o++] = replacement;
  }
  text[o] = 0;
}

void EscapeSpaces(const char* text, char* out, size_t cap) {
  if (cap == 0) return;
  out[0] = 0;
  char one[2] = {0, 0};
  size_t used = 0;
  for (; *text; ++text) {
    // An escape that does not fit whole is left off, never cut in half.
    const char* piece = one;
    if (*text == ' ') piece = "%20";
    else one[0] = *text;
    size_t len = strlen(piece);
    if (used + len > cap - 1) return;
    memcpy(out + used, piece, len + 1);
    used += len;
  }
}

bool AppendBackslashN(char* path, size_t cap) {
  size_t n = strnlen(path, cap);
  if (n > 0 && n < cap && path[n - 1] == '\\') return true;
  return AppendTextN(path, cap, "\\");
}

void RemoveBackslash(char* path, bool keepRoot) {
  size_t n = strlen(path);
  if (n == 0 || path[n - 1] != '\\') return;
  if (keepRoot && n >= 2 && path[n - 2] == ':') return;
  path[n - 1] = 0;
}

void GroupThousands(long long number, char* out, size_t cap) {
  char digits[32];
  unsigned long long v = number < 0 ? 0ULL - (unsigned long long)number : (unsigned long long)number;
  size_t n = 0;
  do { digits[n++] = char('0' + v % 10); v /= 10; } while (v);
  char text[48];
  size_t t = 0;
  if (number < 0) text[t++] = '-';
  for (size_t i = n; i-- > 0;) {
    text[t++] = digits[i];
    if (i > 0 && i % 3 == 0) text[t++] = ',';
  }
  text[t] = 0;
  CopyTextN(out, cap, text);
}

void UpperText(char* text) {
  for (; *text; ++text) *text = UpperChar(*text);
}

long ParseDecimal(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = false;
  if (*text == '-' || *text == '+') negative = (*text++ == '-');
  long long v = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    v = v * 10 + (*text - '0');
    if (v > (long long)INT_MAX + 1) v = (long long)INT_MAX + 1;
  }
  if (negative) return (long)-v;
  return (long)(v > INT_MAX ? INT_MAX : v);
}

}  // namespace tov

namespace tov {

bool FormatOneText(const char* format, const char* value, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (!format) return true;
  const char* at = strstr(format, "%s");
  if (!at) return CopyTextN(out, cap, format);
  size_t head = size_t(at - format);
  if (head >= cap) {
    memcpy(out, format, cap - 1);
    out[cap - 1] = 0;
    return false;
  }
  memcpy(out, format, head);
  out[head] = 0;
  bool whole = AppendTextN(out, cap, value ? value : "");
  return AppendTextN(out, cap, at + 2) && whole;
}

namespace {
bool IsSameItem(const char* piece, void* context) {
  return EqualsNoCase(piece, static_cast<const char*>(context));
}
}  // namespace

bool RemoveListItem(const char* list, const char* item, char* out, size_t cap) {
  bool matched = false;
  return RemoveListItemMatching(list, IsSameItem, const_cast<char*>(item ? item : ""), out, cap,
                                &matched);
}

bool RemoveListItemMatching(const char* list, ListItemMatch match, void* context, char* out,
                            size_t cap, bool* matched) {
  *matched = false;
  if (cap == 0) return false;
  out[0] = 0;
  bool whole = true;
  const char* start = list ? list : "";
  for (;;) {
    const char* end = strchr(start, ';');
    size_t len = end ? size_t(end - start) : strlen(start);
    // Pieces are compared whole; a piece longer than any path is kept as is.
    char piece[1024];
    size_t take = len < sizeof piece - 1 ? len : sizeof piece - 1;
    memcpy(piece, start, take);
    piece[take] = 0;
    bool drop = len > 0 && take == len && match(piece, context);
    if (drop) *matched = true;
    if (len > 0 && !drop) {
      if (take == len) whole &= AppendTextN(out, cap, piece);
      else whole = false;
      whole &= AppendTextN(out, cap, ";");
    }
    if (!end) break;
    start = end + 1;
  }
  return whole;
}

bool QuoteProgramPath(const char* path, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (path == nullptr) return true;
  bool quote = strchr(path, ' ') != nullptr && path[0] != '"';
  bool whole = (!quote || AppendTextN(out, cap, "\"")) && AppendTextN(out, cap, path) &&
               (!quote || AppendTextN(out, cap, "\""));
  if (!whole) out[0] = 0;
  return whole;
}

}  // namespace tov

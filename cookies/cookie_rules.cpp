#include "cookies/cookie_rules.h"

#include <cstring>

#include "core/text.h"
#include "resources/string_ids.h"

namespace tov {

const char* const kDefaultFilterWords[kDefaultFilterWordCount] = {
    "2o7", "AdRevolver", "atwola", "bfast", "eUniverse", "hitbox", "ru4"};

namespace {

const char kHttpOnlyPrefix[] = "#HttpOnly_";

// Copies the field [begin, end) cut to cap - 1 characters.
void CopyField(const char* begin, const char* end, char* out, size_t cap) {
  size_t n = size_t(end - begin);
  if (n >= cap) n = cap - 1;
  memcpy(out, begin, n);
  out[n] = 0;
}

bool StartsWithNoCase(const char* text, size_t length, const char* part) {
  size_t n = strlen(part);
  if (length < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (LowerChar(text[i]) != LowerChar(part[i])) return false;
  return true;
}

}  // namespace

bool ParseCookieLine(const char* line, size_t length, CookieLine* out) {
  *out = CookieLine{};
  bool httpOnly = StartsWithNoCase(line, length, kHttpOnlyPrefix);
  if (httpOnly) {
    line += sizeof kHttpOnlyPrefix - 1;
    length -= sizeof kHttpOnlyPrefix - 1;
  } else if (length > 0 && line[0] == '#') {
    return false;
  }
  const char* end = line + length;
  const char* fields[7];
  const char* ends[7];
  const char* p = line;
  int count = 0;
  while (count < 6) {
    const char* tab = static_cast<const char*>(memchr(p, '\t', size_t(end - p)));
    if (!tab) break;
    fields[count] = p;
    ends[count++] = tab;
    p = tab + 1;
  }
  // The value is everything after the last tab.
  const char* lastTab = p;
  for (const char* q = p; q < end; ++q)
    if (*q == '\t') lastTab = q + 1;
  fields[count] = count == 6 ? lastTab : p;
  ends[count++] = end;
  if (count < 7) return false;
  const char* domain = fields[0];
  if (domain < ends[0] && *domain == '.') ++domain;
  if (domain == ends[0]) return false;
  const char* valueEnd = ends[6];
  if (valueEnd > fields[6] && valueEnd[-1] == '\r') --valueEnd;
  CopyField(domain, ends[0], out->domain, sizeof out->domain);
  out->subdomains = StartsWithNoCase(fields[1], size_t(ends[1] - fields[1]), "TRUE");
  CopyField(fields[2], ends[2], out->path, sizeof out->path);
  char field[32];
  CopyField(fields[3], ends[3], field, sizeof field);
  out->secure = ContainsText(field, "TRUE") != 0;
  CopyField(fields[4], ends[4], field, sizeof field);
  out->expiry = ParseExpiry(field);
  CopyField(fields[5], ends[5], out->name, sizeof out->name);
  CopyField(fields[6], valueEnd, out->value, sizeof out->value);
  out->httpOnly = httpOnly;
  return true;
}

bool CookieTitle(const char* domain, const char* name, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (strlen(domain) + 3 + strlen(name) >= cap) return false;
  CopyTextN(out, cap, domain);
  AppendTextN(out, cap, " - ");
  AppendTextN(out, cap, name);
  return true;
}

int64_t ParseExpiry(const char* text) {
  int64_t value = 0;
  bool any = false;
  for (; *text >= '0' && *text <= '9'; ++text) {
    any = true;
    int digit = *text - '0';
    if (value > (INT64_MAX - digit) / 10) return INT64_MAX;
    value = value * 10 + digit;
  }
  return any ? value : 0;
}

bool ReduceBrowserCommand(const char* command, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  while (*command == ' ') ++command;
  const char* end;
  if (*command == '"') {
    ++command;
    end = strchr(command, '"');
    if (!end) end = command + strlen(command);
  } else {
    end = command + strlen(command);
    for (const char* p = command; *p; ++p) {
      if (*p == ' ' && (p[1] == '-' || p[1] == '%')) {
        end = p;
        break;
      }
    }
  }
  size_t o = 0;
  for (const char* p = command; p < end; ++p) {
    if (*p == '"') continue;
    if (o + 1 >= cap) {
      out[o] = 0;
      return false;
    }
    out[o++] = *p;
  }
  while (o > 0 && out[o - 1] == ' ') --o;
  out[o] = 0;
  return true;
}

int BrowserKindOf(const char* program) {
  static const struct {
    const char* name;
    int kind;
  } kKinds[] = {{"iexplore", kBrowserExplorer}, {"netscp", kBrowserNetscape},
                {"maxthon", kBrowserMaxthon},   {"avant", kBrowserAvant},
                {"mozilla", kBrowserMozilla},   {"firefox", kBrowserFirefox}};
  for (const auto& row : kKinds)
    if (FindNoCase(program, row.name) >= 0) return row.kind;
  return kBrowserExplorer;
}

int StoreOfBrowserChoice(int browser) {
  return browser == 2 || browser == 3 || browser == 6 ? kStoreMozilla : kStoreInternetExplorer;
}

bool CookieFolderFits(const char* folder) {
  size_t n = strnlen(folder, kCookieFolderLongest + 1);
  return n > 2 && n <= kCookieFolderLongest;
}

bool FolderOfChosenPath(const char* chosen, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  const char* slash = strrchr(chosen, '\\');
  if (!slash || size_t(slash - chosen) + 1 <= 3 || size_t(slash - chosen) + 1 >= cap) return false;
  CopyField(chosen, slash + 1, out, cap);
  return true;
}

bool UsableFilterWord(const char* word) {
  for (; *word; ++word)
    if (*word != ' ' && *word != '\t') return true;
  return false;
}

int CappedWordCount(long count) {
  if (count <= 0) return 0;
  return count > kFilterItemLimit ? kFilterItemLimit : int(count);
}

bool TextHoldsWord(const char* text, size_t length, const char* word) {
  if (!UsableFilterWord(word)) return false;
  size_t n = strlen(word);
  for (size_t i = 0; i + n <= length; ++i)
    if (StartsWithNoCase(text + i, length - i, word)) return true;
  return false;
}

void StartCookieFilter(CookieFilter* filter, CookieDropTest drop, CookieWriter write, void* context) {
  filter->drop = drop;
  filter->write = write;
  filter->context = context;
  filter->failed = false;
  filter->passing = false;
  filter->length = 0;
}

namespace {

void Emit(CookieFilter* f, const char* data, size_t length) {
  if (!f->failed && length > 0 && !f->write(data, length, f->context)) f->failed = true;
}

// The held line, its end included, judged and written or dropped.
void EndLine(CookieFilter* f) {
  size_t body = f->length;
  if (body > 0 && f->line[body - 1] == '\n') --body;
  if (!f->drop(f->line, body, f->context)) Emit(f, f->line, f->length);
  f->length = 0;
}

}  // namespace

bool FeedCookieFilter(CookieFilter* f, const char* data, size_t length) {
  for (size_t i = 0; i < length && !f->failed;) {
    const char* newline = static_cast<const char*>(memchr(data + i, '\n', length - i));
    size_t piece = (newline ? size_t(newline - data) + 1 : length) - i;
    if (f->passing) {
      Emit(f, data + i, piece);
      if (newline) f->passing = false;
      i += piece;
      continue;
    }
    size_t room = sizeof f->line - f->length;
    if (piece > room) {
      // Too long to judge: what is held and the rest of the line pass unchanged.
      Emit(f, f->line, f->length);
      f->length = 0;
      f->passing = true;
      continue;
    }
    memcpy(f->line + f->length, data + i, piece);
    f->length += piece;
    i += piece;
    if (newline) EndLine(f);
  }
  return !f->failed;
}

bool FinishCookieFilter(CookieFilter* f) {
  if (f->length > 0 && !f->failed) EndLine(f);
  return !f->failed;
}

void ForEachCookieLine(const char* data, size_t length, bool atEnd, CookieLineProc each,
                       void* context) {
  size_t start = 0;
  while (start < length) {
    const char* newline = static_cast<const char*>(memchr(data + start, '\n', length - start));
    if (!newline) {
      if (atEnd) each(data + start, length - start, context);
      return;
    }
    size_t end = size_t(newline - data);
    each(data + start, end - start, context);
    start = end + 1;
  }
}

namespace {

const ColumnRow kExplorerColumns[] = {{kTextCookies, 0.40}, {kTextCreationDate, 0.20}};
const ColumnRow kMozillaColumns[] = {{kTextDomainCookieName, 0.40}, {kTextExpires, 0.20},
                                     {kTextPath, 0.10},             {kTextValue, 0.20},
                                     {kTextSSL, 0.09}};
const ListFacts kExplorerList = {kExplorerColumns, false, "SortCookie", 1};
const ListFacts kMozillaList = {kMozillaColumns, false, "SortCookie", 4};
const MenuRow kViewerMenuRows[] = {
    {kTextView, kCmdInfo, nullptr},
    {kTextRemoveUnchecked, kCmdRemoveUnchecked, nullptr},
    {kTextRemoveChecked, kCmdRemoveChecked, nullptr},
};
const EntryMenu kViewerMenu = {kViewerMenuRows, true};

}  // namespace

const ListFacts& CookieViewerList(int store) {
  return store == kStoreMozilla ? kMozillaList : kExplorerList;
}

const EntryMenu& CookieViewerMenu() { return kViewerMenu; }

}  // namespace tov

#include "ui/info_rules.h"

#include <cstdio>
#include <cstring>

#include "core/text.h"

namespace tov {

const char kDefaultSiteRoot[] = "http://www.brenvik.com/";
const char kSiteRootValue[] = "SiteRoot";

const int kInfoButtonX[kInfoButtonCount] = {7, 88, 169, 267, 301, 348};

namespace {

constexpr char kRequestPath[] = "cgi-bin/zarvoinfo.pl?program=";
constexpr int kGermanLanguageId = 7;
constexpr int kFrenchLanguageId = 12;
constexpr int kBaseDpi = 96;

// Names of knowledge-base pages that stand for a whole family of programs.
struct KbaseWord {
  const char* part;
  const char* name;
};
const KbaseWord kKbaseWords[] = {
    {"ycomp", "ycomp"},       {"newdot", "newdot"},   {"trickler", "trickler"},
    {"%1_%*", "tvcommand"},   {"%1_s", "tvsaver"},
};

// Appends text with every blank written as "%20" when escape is set; a
// double quote is always written as "%22", so a field can never end the
// quoted address handed to a command line.
bool AppendField(char* out, size_t cap, const char* text, bool escape) {
  if (!text) return true;
  size_t used = strlen(out);
  for (; *text; ++text) {
    const char* piece = nullptr;
    char one[2] = {*text, 0};
    if (*text == '"') piece = "%22";
    else if (*text == ' ' && escape) piece = "%20";
    else piece = one;
    size_t len = strlen(piece);
    if (used + len > cap - 1) return false;
    memcpy(out + used, piece, len + 1);
    used += len;
  }
  return true;
}

}  // namespace

size_t KnowledgeBaseName(const char* fileName, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (!fileName) return 0;
  char name[kPathCapacity];
  size_t n = 0;
  for (const char* p = fileName; *p && *p != '\\' && *p != '/'; ++p) {
    if (n + 1 >= sizeof name) return 0;
    char c = LowerChar(*p);
    if (c == ' ' || c == '?' || c == ':') c = '_';
    name[n++] = c;
  }
  name[n] = 0;
  char* cut = strpbrk(name, ".-~,");
  if (cut) *cut = 0;
  for (const KbaseWord& w : kKbaseWords)
    if (strstr(name, w.part)) {
      if (!CopyTextN(out, cap, w.name)) return out[0] = 0, 0;
      return strlen(out);
    }
  if (!CopyTextN(out, cap, name)) return out[0] = 0, 0;
  return strlen(out);
}

const char* RequestLanguage(int languageId) {
  if (languageId == kGermanLanguageId) return "de";
  if (languageId == kFrenchLanguageId) return "fr";
  return "en";
}

size_t BuildInfoRequest(const InfoRequest& r, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  size_t limit = cap < kRequestCapacity ? cap : kRequestCapacity;
  // Work in a buffer larger than the limit so the cut is the same wherever
  // the limit falls.
  char text[kRequestCapacity * 4] = "";
  const char* root = r.siteRoot ? r.siteRoot : kDefaultSiteRoot;
  AppendText(text, root);
  size_t rootLen = strlen(text);
  if (rootLen == 0 || text[rootLen - 1] != '/') AppendText(text, "/");
  AppendText(text, kRequestPath);
  AppendField(text, sizeof text, r.fileName, r.escapeFileName);
  AppendText(text, "&vendor=");
  AppendField(text, sizeof text, r.companyName, true);
  AppendText(text, "&version=");
  AppendField(text, sizeof text, r.productVersion, true);
  AppendText(text, "&build=");
  AppendField(text, sizeof text, r.build, false);
  char tail[64];
  snprintf(tail, sizeof tail, "&Type=%d&Loc=%s&ext=", r.code, RequestLanguage(r.languageId));
  AppendText(text, tail);
  const char* dot = r.fileName ? strchr(r.fileName, '.') : nullptr;
  if (dot) AppendField(text, sizeof text, dot + 1, r.escapeFileName);
  CopyTextN(out, limit, text);
  return strlen(out);
}

int NextEntryIndex(int index, int count) {
  if (count <= 0) return -1;
  if (index < 0 || index >= count - 1) return 0;
  return index + 1;
}

int PreviousEntryIndex(int index, int count) {
  if (count <= 0) return -1;
  if (index < 0 || index >= count) return 0;
  return index == 0 ? count - 1 : index - 1;
}

int ScaleForDpi(int pixels, int dpi) {
  if (dpi <= 0) dpi = kBaseDpi;
  return int(long(pixels) * dpi / kBaseDpi);
}

bool NewNoteText(const char* title, const char* path, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  bool whole = AppendTextN(out, cap, title ? title : "");
  whole = whole && AppendTextN(out, cap, "\r\n");
  whole = whole && AppendTextN(out, cap, path ? path : "");
  whole = whole && AppendTextN(out, cap, "\r\n");
  return whole;
}

const char* DefaultNoteText(const char* extra, const char* defaultText) {
  if (extra && extra[0]) return extra;
  return defaultText ? defaultText : "";
}


InfoForm InfoFormOf(int code) {
  InfoForm f{};
  f.status = true;
  f.processButtons = true;
  if (code == 700 || code == 701) {
    f.service = true;
    f.status = false;
    f.processButtons = false;
    return f;
  }
  if (code >= 900) {
    f.status = false;
    f.processButtons = false;
    if (code == 900) f.helperKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
    if (code == 901) f.helperKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
    if (code == 902) f.helperKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";
    f.iconFromExtra = code == 901 || code == 902;
    return f;
  }
  if (code >= 250 && code <= 256) f.processButtons = false;
  if (code == 370) f.status = f.processButtons = false;
  if (code == 400 || code == 600) f.locationCleared = true;
  return f;
}

bool AolCommandLine(const char* appPath, const char* address, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  bool whole = appPath && appPath[0]
                   ? CopyTextN(out, cap, appPath) && AppendTextN(out, cap, "\\WAOL.EXE -u\"")
                   : CopyTextN(out, cap, "waol.exe -u\"");
  size_t used = strlen(out);
  if (!whole || used + 2 > cap) {
    out[0] = 0;
    return false;
  }
  // Room for the address: everything but the closing quote and the terminator.
  size_t room = cap - used - 2;
  size_t length = strlen(address);
  if (length > room) length = room;
  memcpy(out + used, address, length);
  out[used + length] = '"';
  out[used + length + 1] = 0;
  return true;
}

}  // namespace tov

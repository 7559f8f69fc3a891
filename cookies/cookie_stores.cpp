// The two browser cookie stores: the Internet Explorer folder of one file
// per cookie, and the Mozilla profile's cookies.txt. Finding them, listing
// their cookies as entries, and the filter pass that takes out the cookies
// the filter words or removal marks name.
#include <windows.h>

#include <cstring>

#include "cookies/cookies.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "resources/string_ids.h"
#include "startup/catalogue.h"
#include "startup/enumerate.h"

namespace tov {

namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr char kHttpCommand[] = "SOFTWARE\\Classes\\HTTP\\shell\\open\\command";
constexpr char kExplorerAppPath[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
constexpr char kUpdateCookieFile[] = "UpdateCookieFile";
constexpr DWORD kReadChunk = 4096;

int g_store = kStoreInternetExplorer;

bool HasFile(const char* folder, const char* name) {
  char path[kPathCapacity];
  if (!CopyText(path, folder) || !AppendBackslash(path) || !AppendText(path, name)) return false;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A candidate of fitting length that holds index.dat, with its "\".
bool TryIECandidate(const char* candidate, char* out, size_t cap) {
  char folder[kPathCapacity];
  if (!CopyText(folder, candidate) || !CookieFolderFits(folder)) return false;
  if (!AppendBackslash(folder) || !HasFile(folder, "index.dat")) return false;
  return CopyTextN(out, cap, folder);
}

size_t AppData(char (&out)[kPathCapacity]) {
  return GetRegString(HKEY_CURRENT_USER, kShellFolders, "AppData", out);
}

// The first entry of folder matching pattern (directories only when asked,
// never one whose name starts with "."), as folder + name.
enum FindResult { kFound, kNoneFound, kNotSearchable };
FindResult FirstEntry(const char* folder, const char* pattern, bool directoriesOnly, char* out,
                      size_t cap) {
  char search[kPathCapacity];
  if (!CopyText(search, folder) || !AppendText(search, pattern)) return kNotSearchable;
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA(search, &found));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND ? kNoneFound : kNotSearchable;
  do {
    bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directoriesOnly && (!directory || found.cFileName[0] == '.')) continue;
    char path[kPathCapacity];
    if (!CopyText(path, folder) || !AppendText(path, found.cFileName)) continue;
    CopyTextN(out, cap, path);
    return kFound;
  } while (FindNextFileA(find.get(), &found));
  return kNoneFound;
}

// The cookies.txt (or cookiesnew.txt) of the Mozilla profile.
bool MozillaFile(const char* name, char (&out)[kPathCapacity]) {
  char folder[kPathCapacity];
  if (!FindMozillaFolder(folder, sizeof folder)) return false;
  RemoveBackslash(folder, false);
  return CopyText(out, folder) && AppendText(out, "\\") && AppendText(out, name);
}

// The expiry as local date text; a session cookie has none.
void ExpiryText(int64_t expiry, char (&out)[kDateTimeCapacity]) {
  out[0] = 0;
  SYSTEMTIME local;
  if (expiry > 0 && UnixTimeToLocal(expiry, &local)) FormatDateTime(local, out);
}

void AddMozillaLine(const char* line, size_t length, void*) {
  CookieLine cookie;
  char title[kCookieTitleCapacity];
  if (!ParseCookieLine(line, length, &cookie) || !CookieTitle(cookie.domain, cookie.name, title)) return;
  char value[kEntrySourceSlot];
  CopyText(value, cookie.value);  // the list shows what its slot holds
  char expiry[kDateTimeCapacity];
  ExpiryText(cookie.expiry, expiry);
  AddEntry(title, cookie.path, value, expiry, kCodeMozillaCookie, cookie.secure ? 1 : 0);
}

int ListMozilla(HANDLE file) {
  static char data[kCookieListLimit];
  DWORD read = 0;
  if (!ReadFile(file, data, sizeof data, &read, nullptr)) return 0;
  DWORD high = 0;
  DWORD size = GetFileSize(file, &high);
  bool whole = high == 0 && size != INVALID_FILE_SIZE && size <= read;
  ForEachCookieLine(data, read, whole, AddMozillaLine, nullptr);
  return EntryCount();
}

bool HasMark(const char* title) {
  for (int i = 0; i < FilterItemCount(); ++i)
    if (EqualsNoCase(FilterItemAt(i)->text, title)) return true;
  return false;
}

// A line goes when it holds a filter word or its cookie is marked.
bool MozillaLineDropped(const char* line, size_t length, void*) {
  for (int i = 0; i < FilterItemCount(); ++i)
    if (TextHoldsWord(line, length, FilterItemAt(i)->text)) return true;
  CookieLine cookie;
  char title[kCookieTitleCapacity];
  return ParseCookieLine(line, length, &cookie) && CookieTitle(cookie.domain, cookie.name, title) &&
         HasMark(title);
}

bool WriteAll(const char* data, size_t length, void* context) {
  DWORD written = 0;
  return WriteFile(*static_cast<HANDLE*>(context), data, DWORD(length), &written, nullptr) &&
         written == length;
}

// Streams the whole of cookies.txt into cookiesnew.txt. The flag that asks
// for the copy to replace the original is set only after a complete write;
// a failed copy is removed.
void FilterMozilla(HANDLE file) {
  char newPath[kPathCapacity];
  if (!MozillaFile("cookiesnew.txt", newPath)) return;
  HANDLE out = CreateFileA(newPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  static CookieFilter filter;
  StartCookieFilter(&filter, MozillaLineDropped, WriteAll, &out);
  bool ok = true;
  char chunk[kReadChunk];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    if (!FeedCookieFilter(&filter, chunk, read)) break;
  }
  ok = FinishCookieFilter(&filter) && ok;
  ok = FlushFileBuffers(out) && ok;
  ok = CloseHandle(out) && ok;
  if (!ok) {
    DeleteFileA(newPath);
    return;
  }
  SetOption(kUpdateCookieFile, 1);
}

int ReadMozilla(int filter) {
  char path[kPathCapacity];
  if (!MozillaFile("cookies.txt", path)) return 0;
  Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  if (filter == 0) return ListMozilla(file.get());
  FilterMozilla(file.get());
  return 0;
}

int ReadExplorer(int filter) {
  char folder[kPathCapacity];
  if (!FindIECookieFolder(folder, sizeof folder)) return 0;
  SetWalkMode(kWalkCookies);
  WalkFolder(folder, spBuildProc, 0, filter);
  SetWalkMode(kWalkStartup);
  return EntryCount();
}

}  // namespace

void SetCookieStore(int store) {
  g_store = store == kStoreMozilla ? kStoreMozilla : kStoreInternetExplorer;
}
int CurrentCookieStore() { return g_store; }
int ChosenCookieStore() { return StoreOfBrowserChoice(GetOption("Browser", kDefaultBrowser)); }

bool FindIECookieFolder(char* out, size_t cap) {
  char candidate[kPathCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, "IECookieFolder", candidate) &&
      TryIECandidate(candidate, out, cap))
    return true;
  if (GetRegString(HKEY_CURRENT_USER, kShellFolders, "Cookies", candidate) &&
      TryIECandidate(candidate, out, cap))
    return true;
  if (GetRegString(HKEY_CURRENT_USER, kUserShellFolders, "Cookies", candidate)) {
    char expanded[kPathCapacity];
    DWORD n = ExpandEnvironmentStringsA(candidate, expanded, sizeof expanded);
    if (n > 0 && n <= sizeof expanded && TryIECandidate(expanded, out, cap)) return true;
  }
  UINT n = GetWindowsDirectoryA(candidate, sizeof candidate);
  if (n > 0 && n < sizeof candidate && AppendText(candidate, "\\Cookies") &&
      TryIECandidate(candidate, out, cap))
    return true;
  LoadText(kTextCookieFolderNotFound, out, cap);
  return false;
}

bool FindMozillaFolder(char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char folder[kPathCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, "CookieFolder", folder)) return CopyTextN(out, cap, folder);
  char appData[kPathCapacity];
  if (!AppData(appData)) return false;
  char profiles[kPathCapacity];
  bool found = false;
  if (CopyText(profiles, appData) && AppendText(profiles, "\\Mozilla\\FireFox\\Profiles\\")) {
    found = FirstEntry(profiles, "*.default", false, out, cap) == kFound ||
            FirstEntry(profiles, "default.*", false, out, cap) == kFound;
  }
  if (DefaultBrowserKind() != kBrowserNetscape) return found;
  char netscape[kPathCapacity];
  if (!CopyText(netscape, appData) || !AppendText(netscape, "\\Mozilla\\Profiles\\default\\"))
    return found;
  char first[kPathCapacity];
  switch (FirstEntry(netscape, "*.*", true, first, sizeof first)) {
    case kFound: return CopyTextN(out, cap, first);
    case kNotSearchable: out[0] = 0; return false;
    case kNoneFound: return found;
  }
  return found;
}

bool IsMozillaInstalled() {
  char folder[kPathCapacity];
  return AppData(folder) && AppendText(folder, "\\Mozilla") && IsFolder(folder);
}

int DefaultBrowserKind() {
  char command[kRegTextCapacity];
  char program[kRegTextCapacity] = "";
  if (GetRegString(HKEY_LOCAL_MACHINE, kHttpCommand, "", command)) ReduceBrowserCommand(command, program, sizeof program);
  if (!program[0] && GetRegString(HKEY_LOCAL_MACHINE, kExplorerAppPath, "Path", program)) {
    size_t n = strlen(program);
    if (n > 0 && program[n - 1] == ';') program[n - 1] = 0;
    AppendText(program, "\\IExplore.exe");
  }
  return BrowserKindOf(program);
}

int ReadCookies(int filter) {
  ClearEntries();
  if (filter > 0) LoadFilterWords();
  int count = g_store == kStoreMozilla ? ReadMozilla(filter) : ReadExplorer(filter);
  if (filter > 0) FreeFilterWords();
  return count;
}

int AddCookieItem(const char* path, const WIN32_FIND_DATAA* found, LPARAM filter) {
  if (found->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) return 0;
  const char* name = found->cFileName;
  size_t length = strlen(name);
  if (length < 4 || !EqualsNoCase(name + length - 4, ".txt")) return 0;
  // The file name, not the folder: a word in the user's folder path would
  // otherwise take every cookie.
  if (filter > 0 && MatchesFilterWord(name)) {
    DeleteFileForce(path);
    return 0;
  }
  if (length >= kEntryTitleSlot) return 0;  // that file only
  char created[kFileDateCapacity];
  FileDateText(path, created, sizeof created);
  return AddEntry(name, path, "", created, kCodeCookie, 0) ? 0 : 1;
}

}  // namespace tov

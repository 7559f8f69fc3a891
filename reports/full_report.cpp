// The full report: every family's items listed again, one section each, with
// the system facts in front, written to the data folder as a web page or a
// tab-separated text file and opened with the shell.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "core/detected.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/options_table.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/program_cache.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "cookies/cookies.h"
#include "delay/delay_store.h"
#include "filetypes/associations.h"
#include "hidden/hidden_files.h"
#include "iehelpers/helpers.h"
#include "processes/process_walk.h"
#include "reports/report_format.h"
#include "reports/reports.h"
#include "resources/string_ids.h"
#include "services/service_manager.h"
#include "startup/entry_facts.h"
#include "startup/enumerate.h"
#include "tasks/scheduler.h"
#include "ui/info_window.h"

namespace tov {

namespace {

constexpr char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr char kIeMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kHttpCommand[] = "SOFTWARE\\Classes\\HTTP\\shell\\open\\command";
constexpr char kProductOptions[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr char kHotfix6a[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
constexpr size_t kFileBufferSize = 16384;

// The report file, written through a buffer; a failed write is remembered
// so a half-written report is never opened.
struct FileSink {
  HANDLE file;
  bool failed;
  size_t used;
  char buffer[kFileBufferSize];
};

void Flush(FileSink* f) {
  DWORD written = 0;
  if (f->used > 0 && !f->failed &&
      (!WriteFile(f->file, f->buffer, DWORD(f->used), &written, nullptr) || written != f->used))
    f->failed = true;
  f->used = 0;
}

void WriteToFile(void* context, const char* text, size_t length) {
  FileSink* f = static_cast<FileSink*>(context);
  while (length > 0) {
    if (f->used == sizeof f->buffer) Flush(f);
    size_t room = sizeof f->buffer - f->used;
    size_t piece = length < room ? length : room;
    memcpy(f->buffer + f->used, text, piece);
    f->used += piece;
    text += piece;
    length -= piece;
  }
}

int BuildEveryStartupEntry() { return BuildStartupList(0); }

// The sections, always all of them, in this order; the anchor is the
// position.
struct ReportSection {
  int headingId;
  int (*build)();
  ReportItemKind kind;
};
const ReportSection kSections[] = {
    {kTextStartupPrograms, BuildEveryStartupEntry, kItemPlain},
    {kTextDelayedStart, BuildDelayedList, kItemPlain},
    {kTextActiveTasks, ListActiveTasks, kItemPlain},
    {kTextScheduledTasks, ListScheduledTasks, kItemPlain},
    {kTextIEHelpers, ScanIEHelpers, kItemHelper},
    {kTextFileTypes, EnumerateFileTypes, kItemPlain},
    {kTextServices, ScanServices, kItemService},
    {kTextHiddenFiles, ScanHiddenFiles, kItemHidden},
};
constexpr int kIndexedSections = 7;  // the hidden files have no index link

bool FileTimeText(const FILETIME& utc, char (&out)[kDateTimeCapacity]) {
  out[0] = 0;
  FILETIME local;
  SYSTEMTIME t;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return false;
  return FormatDateTime(t, out) > 0;
}

// Everything the report says about one entry, held while it is written.
struct ItemTexts {
  char fileName[kEntryPathSlot];
  char program[kPathCapacity];
  char linkName[kPathCapacity];
  VersionStrings version;
  char location[kLocationTextCapacity];
  char detected[kDateTimeCapacity];
  char status[kServiceStateCapacity];
  char created[kDateTimeCapacity];
  char accessed[kDateTimeCapacity];
  char written[kDateTimeCapacity];
  char size[32];
  char locationLabel[kTitleCapacity];
  char link[kReportLinkCapacity];
};

void ReadHiddenFileFacts(const char* path, ItemTexts* t) {
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &facts)) return;
  FileTimeText(facts.ftCreationTime, t->created);
  FileTimeText(facts.ftLastAccessTime, t->accessed);
  FileTimeText(facts.ftLastWriteTime, t->written);
  long long size = (static_cast<long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
  GroupThousands(size, t->size, sizeof t->size);
}

void MakeLink(const Entry& e, ItemTexts* t) {
  char root[kPathCapacity], build[kPathCapacity];
  SiteRoot(root, sizeof root);
  VersionLabel(build, sizeof build);
  if (t->program[0] && FileNameOf(t->program, t->linkName) == 0) CopyText(t->linkName, t->program);
  if (!t->linkName[0]) CopyText(t->linkName, e.title);
  ReportLink link{root, t->linkName, t->version.companyName, t->version.productVersion, build,
                  e.code, TextLanguage()};
  BuildReportLink(link, t->link, sizeof t->link);
}

ReportItem GatherItem(int index, ReportItemKind kind, ItemTexts* t) {
  const Entry& e = *EntryAt(index);
  memset(t, 0, sizeof *t);
  if (FileNameOf(e.path, t->fileName) == 0) CopyText(t->fileName, e.path);
  if (e.path[0]) ProgramOfCommand(e.path, t->program);
  char file[kPathCapacity];
  CopyText(file, t->program);
  if (file[0] && FileExists(file)) ProgramVersionStrings(file, &t->version);
  LocationText(index, t->location);
  if (t->program[0]) GetFirstDetected(t->program, e.code, t->detected);
  if (kind == kItemService) ServiceStateText(e.title, t->status, sizeof t->status);
  if (kind == kItemHidden) ReadHiddenFileFacts(e.path, t);
  if (kind == kItemHelper) LoadText(kTextLocation, t->locationLabel);
  MakeLink(e, t);
  ReportItem item{};
  item.kind = kind;
  item.title = e.title;
  item.fileName = t->fileName;
  item.description = t->version.fileDescription;
  item.version = t->version.productVersion;
  item.copyright = t->version.legalCopyright;
  item.location = t->location;
  item.path = e.path;
  item.detected = t->detected;
  item.extra = e.extra;
  item.startType = e.source;
  item.status = t->status;
  item.created = t->created;
  item.accessed = t->accessed;
  item.written = t->written;
  item.size = t->size;
  item.locationLabel = t->locationLabel;
  item.helperKey = kind == kItemHelper ? HelperKeyOf(e.code) : nullptr;
  item.link = t->link;
  return item;
}

void WriteSections(const ReportSink& sink, ReportFormat format) {
  static ItemTexts texts;  // one entry at a time; too large for the stack
  for (size_t s = 0; s < sizeof kSections / sizeof kSections[0]; ++s) {
    const ReportSection& section = kSections[s];
    section.build();
    char heading[kTitleCapacity];
    LoadText(section.headingId, heading);
    if (format == kReportText) WriteTextSection(sink, heading);
    else WriteHtmlSection(sink, int(s), heading);
    for (int i = 0; i < EntryCount(); ++i) {
      const Entry* e = EntryAt(i);
      if (!e || (!e->title[0] && !e->path[0])) continue;
      ReportItem item = GatherItem(i, section.kind, &texts);
      if (format == kReportText) WriteTextItem(sink, item);
      else WriteHtmlItem(sink, item);
    }
    if (format == kReportWebPage) WriteHtmlSectionEnd(sink);
  }
}

// --- The system section ---

void ReadOsFacts(OsFacts* f, char* pack, size_t packCap, char* option, size_t optionCap) {
  OSVERSIONINFOEXA ex{};
  ex.dwOSVersionInfoSize = sizeof ex;
  f->extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex)) != 0;
  if (!f->extended) {
    ex.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex));
  }
  f->platformId = ex.dwPlatformId;
  f->major = ex.dwMajorVersion;
  f->minor = ex.dwMinorVersion;
  f->build = ex.dwBuildNumber;
  CopyTextN(pack, packCap, ex.szCSDVersion);
  f->servicePack = pack;
  f->productType = ex.wProductType;
  f->suiteMask = ex.wSuiteMask;
  if (!f->extended) GetRegString(HKEY_LOCAL_MACHINE, kProductOptions, "ProductType", option, optionCap);
  f->productOption = option;
  f->hotfixQ246009 = RegKeyExists(HKEY_LOCAL_MACHINE, kHotfix6a);
}

// The "Path" value of a program's App Paths key, without a trailing ";".
size_t AppPath(const char* program, char* out, size_t cap) {
  char key[kPathCapacity];
  CopyText(key, kAppPaths);
  AppendText(key, program);
  GetRegString(HKEY_LOCAL_MACHINE, key, "Path", out, cap);
  size_t n = strlen(out);
  if (n > 0 && out[n - 1] == ';') out[--n] = 0;
  return n;
}

// Internet Explorer's program: "IExplore.exe" in its App Paths folder.
bool InternetExplorerProgram(char (&out)[kPathCapacity]) {
  if (AppPath("IEXPLORE.EXE", out, sizeof out) == 0) return false;
  return AppendText(out, "\\IExplore.exe") && FileExists(out);
}

// The default browser's program: the HTTP open command without quotes and
// arguments, else Internet Explorer's. False when no such file exists.
bool DefaultBrowserProgram(char (&out)[kPathCapacity]) {
  char command[kRegTextCapacity] = "", plain[kRegTextCapacity];
  GetRegString(HKEY_LOCAL_MACHINE, kHttpCommand, "", command);
  StripQuotes(command, plain, sizeof plain);
  if (char* argument = strstr(plain, " -")) *argument = 0;
  if (!plain[0]) return InternetExplorerProgram(out);
  return ProgramOfCommand(plain, out) && FileExists(out);
}

void WriteCreatedLine(const ReportSink& sink) {
  char label[kPathCapacity], clock[32], date[32], text[kMessageCapacity];
  VersionLabel(label, sizeof label);
  SYSTEMTIME now;
  GetLocalTime(&now);
  ClockText12(now.wHour, now.wMinute, now.wSecond, clock, sizeof clock);
  ReportDateText(now.wYear, now.wMonth, now.wDay, date, sizeof date);
  snprintf(text, sizeof text, "Report created by %s version %s at %s, on %s", ProgramCaption(),
           label, clock, date);
  PutHtmlLine(sink, "", text);
  PutRaw(sink, "<br>\r\n");
}

void WritePlatformLines(const ReportSink& sink) {
  OsFacts facts{};
  char pack[kTitleCapacity] = "", option[kTitleCapacity] = "", name[kOsNameCapacity];
  ReadOsFacts(&facts, pack, sizeof pack, option, sizeof option);
  OsName(facts, name, sizeof name);
  PutHtmlLine(sink, "<b>Platform:</b> ", name);

  char browser[kPathCapacity];
  VersionStrings v{};
  if (DefaultBrowserProgram(browser)) {
    ReadVersionStrings(browser, &v);
    // A program without a version resource is named by its file.
    PutRaw(sink, "<b>Browser:</b> ");
    PutHtml(sink, v.productName[0] ? v.productName : browser);
    if (v.fileDescription[0]) {
      PutRaw(sink, " - <i>");
      PutHtml(sink, v.fileDescription);
      PutRaw(sink, "</i>");
    }
    PutHtmlLine(sink, v.productVersion[0] ? " version " : "", v.productVersion);
  } else {
    PutHtmlLine(sink, "Browser: Unable to find default browser.", "");
  }
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);
  char load[64];
  snprintf(load, sizeof load, "Memory currently in use: %lu%%", static_cast<unsigned long>(memory.dwMemoryLoad));
  PutHtmlLine(sink, load, "", "<br>");
}

void WriteBrowserLines(const ReportSink& sink) {
  char ie[kPathCapacity];
  if (InternetExplorerProgram(ie)) {
    VersionStrings v{};
    ReadVersionStrings(ie, &v);
    PutRaw(sink, "MSIE: ");
    PutHtml(sink, v.fileDescription);
    PutHtmlLine(sink, " (", v.productVersion, ")");
    char cookies[kRegTextCapacity];
    FindIECookieFolder(cookies, sizeof cookies);
    PutHtmlLine(sink, "IE Cookie Path: ", cookies, " ");
  } else {
    PutHtmlLine(sink, "MSIE: Internet Explorer Not found.", "");
  }
  PutRaw(sink, "\r\n");
  struct Other {
    const char* program;
    const char* label;  // product name before the version
    bool withFolder;
  };
  const Other others[] = {{"AOL.EXE", "America Online version ", false},
                          {"firefox.exe", "Firefox ", true},
                          {"Mozilla.exe", "Mozilla ", true},
                          {"Netscp.exe", "Netscape ", true}};
  for (const Other& o : others) {
    char key[kPathCapacity], file[kPathCapacity] = "", folder[kPathCapacity] = "";
    CopyText(key, kAppPaths);
    AppendText(key, o.program);
    if (GetRegString(HKEY_LOCAL_MACHINE, key, "", file) == 0 || !FileExists(file)) continue;
    AppPath(o.program, folder, sizeof folder);
    VersionStrings v{};
    ReadVersionStrings(file, &v);
    PutRaw(sink, o.label);
    PutHtml(sink, v.productVersion);
    if (o.withFolder) PutHtmlLine(sink, " installed in ", folder);
    else PutRaw(sink, "<br>\r\n");
  }
}

struct ValueLine {
  HKEY root;
  const char* key;
  const char* name;
  const char* label;
};

void WriteValueLines(const ReportSink& sink, const ValueLine* lines, size_t count) {
  PutRaw(sink, "<br>\r\n");
  for (size_t i = 0; i < count; ++i) {
    char value[kRegTextCapacity];
    if (GetRegString(lines[i].root, lines[i].key, lines[i].name, value) == 0) continue;
    PutHtmlLine(sink, lines[i].label, value);
  }
}

void WriteSystemSection(const ReportSink& sink) {
  WriteCreatedLine(sink);
  WritePlatformLines(sink);
  WriteBrowserLines(sink);
  const ValueLine pages[] = {
      {HKEY_CURRENT_USER, kIeMain, "Window Title", "HKCU Window Title = "},
      {HKEY_CURRENT_USER, kIeMain, "Default_Page_URL", "HKCU Default_Page_URL = "},
      {HKEY_LOCAL_MACHINE, kIeMain, "Default_Page_URL", "HKLM Default_Page_URL = "},
      {HKEY_CURRENT_USER, kIeMain, "Start Page", "HKCU Start Page = "},
      {HKEY_LOCAL_MACHINE, kIeMain, "Start Page", "HKLM Start Page = "},
  };
  WriteValueLines(sink, pages, sizeof pages / sizeof pages[0]);
  const ValueLine winlogon[] = {
      {HKEY_LOCAL_MACHINE, kWinlogon, "DefaultUserName", "WinLogon DefaultUserName="},
      {HKEY_LOCAL_MACHINE, kWinlogon, "DefaultDomainName", "WinLogon DefaultDomainName="},
      {HKEY_LOCAL_MACHINE, kWinlogon, "Shell", "WinLogon Shell="},
      {HKEY_LOCAL_MACHINE, kWinlogon, "Userinit", "WinLogon UserInit="},
  };
  WriteValueLines(sink, winlogon, sizeof winlogon / sizeof winlogon[0]);
  PutRaw(sink, "<br>\r\n<br>\r\n");
}

void WriteWebPage(const ReportSink& sink) {
  char charset[32];
  snprintf(charset, sizeof charset, "windows-%u", GetACP());
  WriteHtmlHead(sink, charset);
  WriteSystemSection(sink);
  for (int s = 0; s < kIndexedSections; ++s) {
    char heading[kTitleCapacity];
    LoadText(kSections[s].headingId, heading);
    // The services link drops the heading's leading blank.
    WriteHtmlIndexLink(sink, s, kSections[s].headingId == kTextServices ? heading + 1 : heading);
  }
  WriteSections(sink, kReportWebPage);
  WriteHtmlEnd(sink);
}

}  // namespace

bool ReportPath(ReportFormat format, char* out, size_t cap) {
  if (!DataFolder(out, cap)) return false;
  return AppendBackslashN(out, cap) &&
         AppendTextN(out, cap, format == kReportText ? kReportTextFile : kReportWebFile);
}

bool WriteFullReport(const char* path, ReportFormat format) {
  static FileSink sink;
  Handle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file) {
    Trace("FullReport", "report file not created");
    return false;
  }
  sink.file = file.get();
  sink.failed = false;
  sink.used = 0;
  ReportSink out{WriteToFile, &sink};
  if (format == kReportText) {
    WriteTextHeader(out);
    WriteSections(out, kReportText);
  } else {
    WriteWebPage(out);
  }
  Flush(&sink);
  // The list holds the last section's items now, not the page's.
  ClearEntries();
  return !sink.failed;
}

void FullReport(HWND owner) {
  ReportFormat format = ReportFormatOf(Setting(kOptFormat));
  char path[kPathCapacity];
  if (!ReportPath(format, path, sizeof path)) return;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  bool written = WriteFullReport(path, format);
  SetCursor(previous);
  if (!written) return;
  char folder[kPathCapacity];
  DataFolder(folder);
  ShellExecuteA(owner, "open", path, nullptr, folder, SW_SHOWNORMAL);
}

}  // namespace tov

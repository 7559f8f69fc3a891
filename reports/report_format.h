// The forms of the full report that need no system calls: escaping for the
// web page, percent-encoded information links, the clock and date texts, the
// operating-system name and the lines of each entry in both formats. The
// text goes out through a sink, so a report of any length is written piece
// by piece without a buffer to overflow.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

// The "Format" option: 0 web page, 1 text; any other value counts as 0.
enum ReportFormat { kReportWebPage = 0, kReportText = 1 };
ReportFormat ReportFormatOf(int option);

constexpr char kReportTitle[] = "Tovrel Report Log";
constexpr char kReportWebFile[] = "TovrelLog.html";
constexpr char kReportTextFile[] = "TovrelLog.txt";

// Where the report's text goes.
struct ReportSink {
  void (*write)(void* context, const char* text, size_t length);
  void* context;
};
// Markup and fixed text, as it stands.
void PutRaw(const ReportSink& sink, const char* text);
// Text from the machine for the web page: "&", "<", ">", '"' and "'" as
// entities, so it can neither open an element nor end an attribute.
void PutHtml(const ReportSink& sink, const char* text);
// A field of the text report: tabs and line breaks as blanks, so a field
// can neither start a column nor a line.
void PutField(const ReportSink& sink, const char* text);
// rawBefore, value escaped, rawAfter and "<br>\r\n": one line of the web
// page's system section.
void PutHtmlLine(const ReportSink& sink, const char* rawBefore, const char* value,
                 const char* rawAfter = "");

// Every byte except letters, digits and "-._~" as "%XX". False (with the
// text cut before an escape) when it does not fit.
bool PercentEncode(const char* text, char* out, size_t cap);

// Fields of an entry's information link on the vendor's site.
struct ReportLink {
  const char* siteRoot;  // "http://host/"
  const char* fileName;  // program file name, or the entry's title
  const char* companyName;
  const char* productVersion;
  const char* build;     // VersionLabel text
  int code;              // location code
  int languageId;        // primary user-interface language id
};
constexpr size_t kReportLinkCapacity = 2048;
// "<root>cgi-bin/zarvoinfo.pl?program=..&vendor=..&version=..&build=..
// &Type=<code>&Loc=<language>", every field percent-encoded. Returns its
// length; 0 and empty text when it does not fit.
size_t BuildReportLink(const ReportLink& link, char* out, size_t cap);
// "en", "de" (7), "fr" (12), "es" (10), "it" (16).
const char* ReportLanguage(int languageId);

// "%2d:%02d:%02d AM" in 12-hour form (0 is 12 AM, 12 is 12 PM) and
// "%2d/%02d/%4d" (month, day, year). Return the length.
size_t ClockText12(int hour, int minute, int second, char* out, size_t cap);
size_t ReportDateText(int year, int month, int day, char* out, size_t cap);

// What the platform says about itself.
struct OsFacts {
  unsigned long platformId;  // 0 Win32s, 1 Windows 9x, 2 NT
  unsigned long major;
  unsigned long minor;
  unsigned long build;       // on 9x only its low word is the build
  const char* servicePack;   // service-pack text (szCSDVersion)
  bool extended;             // productType and suiteMask are known
  int productType;           // 1 workstation, 2 domain controller, 3 server
  unsigned suiteMask;
  const char* productOption; // "ProductType" of ProductOptions when not extended
  bool hotfixQ246009;        // NT 4 Service Pack 6a
};
constexpr size_t kOsNameCapacity = 256;
// The operating system's name with edition, service pack and build.
size_t OsName(const OsFacts& facts, char* out, size_t cap);

// Section kinds with lines of their own.
enum ReportItemKind { kItemPlain, kItemService, kItemHidden, kItemHelper };
// One entry of a section; absent texts are null or empty.
struct ReportItem {
  ReportItemKind kind;
  const char* title;
  const char* fileName;  // the path's part after its last "\"
  const char* description;
  const char* version;
  const char* copyright;
  const char* location;
  const char* path;
  const char* detected;
  const char* extra;
  const char* startType;  // services
  const char* status;
  const char* created;    // hidden files
  const char* accessed;
  const char* written;
  const char* size;
  const char* locationLabel;  // IE helpers: the "Location" text and key
  const char* helperKey;
  const char* link;       // information link, not yet escaped
};

// The web page: head with title and character set ("windows-1252"), index
// link, section heading with its anchor, one entry, the end.
void WriteHtmlHead(const ReportSink& sink, const char* charset);
void WriteHtmlIndexLink(const ReportSink& sink, int anchor, const char* heading);
void WriteHtmlSection(const ReportSink& sink, int anchor, const char* heading);
void WriteHtmlSectionEnd(const ReportSink& sink);
void WriteHtmlItem(const ReportSink& sink, const ReportItem& item);
void WriteHtmlEnd(const ReportSink& sink);
// The text report: its header line, a section heading line, one entry line.
void WriteTextHeader(const ReportSink& sink);
void WriteTextSection(const ReportSink& sink, const char* heading);
void WriteTextItem(const ReportSink& sink, const ReportItem& item);

}  // namespace tov

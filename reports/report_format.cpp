#include "reports/report_format.h"

#include <cstdio>
#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

constexpr char kLinkPath[] = "cgi-bin/zarvoinfo.pl?program=";
constexpr char kNoDescription[] = "No Description available";
constexpr char kSpaces16[] =
    "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
    "&nbsp;";
constexpr char kSpaces8[] = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
constexpr unsigned kSuiteEnterprise = 0x0002;
constexpr unsigned kSuiteDatacenter = 0x0080;
constexpr unsigned kSuitePersonal = 0x0200;
constexpr unsigned kSuiteBlade = 0x0400;
constexpr int kWorkstation = 1;

bool Has(const char* text) { return text && text[0]; }

void PutN(const ReportSink& sink, const char* text, size_t length) {
  if (length > 0) sink.write(sink.context, text, length);
}

struct Language {
  int id;
  const char* code;
};
const Language kLanguages[] = {{7, "de"}, {12, "fr"}, {10, "es"}, {16, "it"}};

// The edition of an NT system (server suites, workstation products).
const char* NtEdition(const OsFacts& f) {
  if (!f.extended) return nullptr;
  if (f.productType == kWorkstation) {
    if (f.major <= 4) return "Workstation 4.0 ";
    return (f.suiteMask & kSuitePersonal) ? "Home Edition " : "Professional ";
  }
  if (f.major == 5 && f.minor == 2) {
    if (f.suiteMask & kSuiteDatacenter) return "Datacenter Edition ";
    if (f.suiteMask & kSuiteEnterprise) return "Enterprise Edition ";
    if (f.suiteMask & kSuiteBlade) return "Web Edition ";
    return "Standard Edition ";
  }
  if (f.major == 5 && f.minor == 0) {
    if (f.suiteMask & kSuiteDatacenter) return "Datacenter Server ";
    if (f.suiteMask & kSuiteEnterprise) return "Advanced Server ";
    return "Server ";
  }
  if (f.major <= 4)
    return (f.suiteMask & kSuiteEnterprise) ? "Server 4.0, Enterprise Edition " : "Server 4.0 ";
  return nullptr;
}

// The product named by the "ProductType" value when the edition is unknown.
const char* ProductOptionName(const char* value) {
  if (!value) return nullptr;
  if (EqualsNoCase(value, "WINNT")) return "Workstation ";
  if (EqualsNoCase(value, "LANMANNT")) return "Server ";
  if (EqualsNoCase(value, "SERVERNT")) return "Advanced Server ";
  return nullptr;
}

bool KnownNt(const OsFacts& f) { return f.major < 5 || (f.major == 5 && f.minor <= 2); }

void NtName(const OsFacts& f, char* out, size_t cap) {
  char text[64];
  if (!KnownNt(f)) {
    snprintf(text, sizeof text, "Windows NT %lu.%lu ", f.major, f.minor);
    CopyTextN(out, cap, text);
    return;
  }
  const char* name = f.major <= 4 ? "Windows NT " : f.minor == 2 ? "Windows Server 2003 family, "
                                                  : f.minor == 1 ? "Windows XP " : "Windows 2000 ";
  CopyTextN(out, cap, name);
  if (const char* edition = NtEdition(f)) {
    AppendTextN(out, cap, edition);
  } else if (!f.extended) {
    if (const char* product = ProductOptionName(f.productOption)) AppendTextN(out, cap, product);
    snprintf(text, sizeof text, "%lu.%lu ", f.major, f.minor);
    AppendTextN(out, cap, text);
  }
}

void NineXName(const OsFacts& f, char* out, size_t cap) {
  char mark = Has(f.servicePack) ? f.servicePack[1] : 0;
  if (f.major == 4 && f.minor == 0) {
    CopyTextN(out, cap, "Microsoft Windows 95 ");
    if (mark == 'C' || mark == 'B') AppendTextN(out, cap, "OSR2 ");
  } else if (f.major == 4 && f.minor == 10) {
    CopyTextN(out, cap, "Microsoft Windows 98 ");
    if (mark == 'A') AppendTextN(out, cap, "SE ");
  } else if (f.major == 4 && f.minor == 90) {
    CopyTextN(out, cap, "Microsoft Windows Millennium Edition ");
  } else {
    char text[64];
    snprintf(text, sizeof text, "Microsoft Windows %lu.%lu ", f.major, f.minor);
    CopyTextN(out, cap, text);
  }
}

}  // namespace

ReportFormat ReportFormatOf(int option) { return option == 1 ? kReportText : kReportWebPage; }

void PutRaw(const ReportSink& sink, const char* text) {
  if (text) PutN(sink, text, strlen(text));
}

void PutHtml(const ReportSink& sink, const char* text) {
  if (!text) return;
  const char* run = text;
  for (const char* p = text; *p; ++p) {
    const char* entity = nullptr;
    switch (*p) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      case '\'': entity = "&#39;"; break;
      default: continue;
    }
    PutN(sink, run, size_t(p - run));
    PutRaw(sink, entity);
    run = p + 1;
  }
  PutRaw(sink, run);
}

void PutField(const ReportSink& sink, const char* text) {
  if (!text) return;
  const char* run = text;
  for (const char* p = text; *p; ++p) {
    if (*p != '\t' && *p != '\r' && *p != '\n') continue;
    PutN(sink, run, size_t(p - run));
    PutRaw(sink, " ");
    run = p + 1;
  }
  PutRaw(sink, run);
}

void PutHtmlLine(const ReportSink& sink, const char* rawBefore, const char* value,
                 const char* rawAfter) {
  PutRaw(sink, rawBefore);
  PutHtml(sink, value);
  PutRaw(sink, rawAfter);
  PutRaw(sink, "<br>\r\n");
}

bool PercentEncode(const char* text, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (!text) return true;
  static const char kHex[] = "0123456789ABCDEF";
  size_t used = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    unsigned char c = *p;
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~';
    size_t need = plain ? 1 : 3;
    if (used + need > cap - 1) return false;
    if (plain) {
      out[used++] = char(c);
    } else {
      out[used++] = '%';
      out[used++] = kHex[c >> 4];
      out[used++] = kHex[c & 15];
    }
    out[used] = 0;
  }
  return true;
}

const char* ReportLanguage(int languageId) {
  for (const Language& l : kLanguages)
    if (l.id == languageId) return l.code;
  return "en";
}

size_t BuildReportLink(const ReportLink& link, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  char text[kReportLinkCapacity] = "";
  char field[kReportLinkCapacity];
  bool fits = CopyText(text, Has(link.siteRoot) ? link.siteRoot : "http://www.brenvik.com/");
  if (text[strlen(text) - 1] != '/') fits = AppendText(text, "/") && fits;
  fits = AppendText(text, kLinkPath) && fits;
  const char* names[] = {nullptr, "&vendor=", "&version=", "&build="};
  const char* values[] = {link.fileName, link.companyName, link.productVersion, link.build};
  for (int i = 0; i < 4; ++i) {
    if (names[i]) fits = AppendText(text, names[i]) && fits;
    fits = PercentEncode(values[i], field, sizeof field) && AppendText(text, field) && fits;
  }
  char tail[64];
  snprintf(tail, sizeof tail, "&Type=%d&Loc=%s", link.code, ReportLanguage(link.languageId));
  fits = AppendText(text, tail) && fits;
  if (!fits || !CopyTextN(out, cap, text)) return out[0] = 0, 0;
  return strlen(out);
}

size_t ClockText12(int hour, int minute, int second, char* out, size_t cap) {
  if (cap == 0) return 0;
  int shown = hour % 12 == 0 ? 12 : hour % 12;
  snprintf(out, cap, "%2d:%02d:%02d %s", shown, minute, second, hour < 12 ? "AM" : "PM");
  return strlen(out);
}

size_t ReportDateText(int year, int month, int day, char* out, size_t cap) {
  if (cap == 0) return 0;
  snprintf(out, cap, "%2d/%02d/%4d", month, day, year);
  return strlen(out);
}

size_t OsName(const OsFacts& f, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (f.platformId == 0) {
    CopyTextN(out, cap, "Microsoft Win32s");
    return strlen(out);
  }
  unsigned long build = f.build;
  if (f.platformId == 2) {
    NtName(f, out, cap);
  } else {
    NineXName(f, out, cap);
    build &= 0xFFFF;  // the high word holds the version
  }
  const char* pack = Has(f.servicePack) ? f.servicePack : "";
  bool sixA = f.platformId == 2 && f.major == 4 && f.hotfixQ246009 &&
              strcmp(pack, "Service Pack 6") == 0;
  char tail[160];
  snprintf(tail, sizeof tail, "%s%s (Build %lu)", pack, sixA ? "a" : "", build);
  AppendTextN(out, cap, tail);
  return strlen(out);
}

void WriteHtmlHead(const ReportSink& sink, const char* charset) {
  PutRaw(sink,
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
         "<html><head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=");
  PutHtml(sink, charset);
  PutRaw(sink, "\">\r\n<title>\r\n");
  PutHtml(sink, kReportTitle);
  PutRaw(sink, "</title></head>\r\n<body bgcolor=\"FloralWhite\">\r\n<H2 align=\"center\"> ");
  PutHtml(sink, kReportTitle);
  PutRaw(sink, " </H2>\r\n");
}

void WriteHtmlIndexLink(const ReportSink& sink, int anchor, const char* heading) {
  char text[96];
  snprintf(text, sizeof text, "<A href=\"%s#A%d\">", kReportWebFile, anchor);
  PutRaw(sink, text);
  PutHtml(sink, heading);
  PutRaw(sink, "</A><br>\r\n");
}

void WriteHtmlSection(const ReportSink& sink, int anchor, const char* heading) {
  char text[64];
  snprintf(text, sizeof text, "<A NAME=\"A%d\"></A>\r\n", anchor);
  PutRaw(sink, text);
  PutRaw(sink, "<center><b><BIG><BIG> &bull; ");
  PutHtml(sink, heading);
  PutRaw(sink, " &bull; </BIG></BIG></b></center>\r\n<ul>\r\n");
}

void WriteHtmlSectionEnd(const ReportSink& sink) { PutRaw(sink, "</ul>\r\n"); }

void WriteHtmlItem(const ReportSink& sink, const ReportItem& item) {
  PutRaw(sink, "<li><b>");
  if (item.kind == kItemHidden) {
    PutHtml(sink, item.fileName);
    PutRaw(sink, "</b>\r\n\t<div style=\"margin-left:2.5em\">\r\n");
  } else {
    PutHtml(sink, Has(item.title) ? item.title : kNoDescription);
    PutRaw(sink, "</b>\r\n\t<div style=\"margin-left:2.5em\">");
    PutHtml(sink, item.fileName);
    PutRaw(sink, kSpaces16);
    PutRaw(sink, "\r\n");
  }
  if (Has(item.description)) PutHtmlLine(sink, "\t", item.description);
  if (Has(item.version)) {
    PutRaw(sink, "\tVersion: ");
    PutHtml(sink, item.version);
    PutRaw(sink, kSpaces8);
    PutRaw(sink, "\r\n");
  }
  if (Has(item.copyright)) PutHtmlLine(sink, "\t", item.copyright);
  if (!Has(item.description) && !Has(item.copyright)) PutRaw(sink, "<br>\r\n");
  if (Has(item.location)) PutHtmlLine(sink, "\tLocation: ", item.location);
  if (Has(item.path)) PutHtmlLine(sink, "\tPath:     ", item.path);
  if (Has(item.detected)) PutHtmlLine(sink, "\tFirst Detected by Tovrel: ", item.detected);
  if (Has(item.extra)) PutHtmlLine(sink, "\t", item.extra);
  if (item.kind == kItemService) {
    PutHtmlLine(sink, "\tStartup Type: ", item.startType);
    if (Has(item.status)) PutHtmlLine(sink, "\tService Status: ", item.status);
  } else if (item.kind == kItemHidden) {
    PutHtmlLine(sink, "\tCreated: ", item.created);
    PutHtmlLine(sink, "\tAccessed: ", item.accessed);
    PutHtmlLine(sink, "\tWritten: ", item.written);
    PutHtmlLine(sink, "\tFile Size: ", item.size, " Bytes");
  } else if (item.kind == kItemHelper && Has(item.helperKey)) {
    PutRaw(sink, "\t");
    PutHtml(sink, item.locationLabel);
    PutRaw(sink, ": &quot;HKLM\\");
    PutHtml(sink, item.helperKey);
    PutRaw(sink, "&quot;<br>\r\n");
  }
  PutRaw(sink, "\t<A href=\"");
  PutHtml(sink, item.link);
  PutRaw(sink, "\">Click for Zarvo Info</A></div>\r\n\t<br></li>\r\n\r\n");
}

void WriteHtmlEnd(const ReportSink& sink) { PutRaw(sink, "</body></html>\r\n"); }

void WriteTextHeader(const ReportSink& sink) {
  PutRaw(sink, "Title\tProgram\tDescription\tVersion\tCopyright\tLocation\tPath\r\n");
}

void WriteTextSection(const ReportSink& sink, const char* heading) {
  PutField(sink, heading);
  PutRaw(sink, "\r\n");
}

void WriteTextItem(const ReportSink& sink, const ReportItem& item) {
  const char* fields[] = {item.title,     item.fileName, item.description,
                          item.version,   item.copyright, item.location};
  for (const char* field : fields) {
    PutField(sink, field);
    PutRaw(sink, "\t");
  }
  PutField(sink, item.path);
  PutRaw(sink, "\r\n");
}

}  // namespace tov

// The report's forms: escaping and link encoding (hostile input read back
// through a decoder), 12-hour clock, operating-system names, and an entry in
// both formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "reports/report_format.h"

using namespace tov;

namespace {

void Append(void* context, const char* text, size_t length) {
  static_cast<std::string*>(context)->append(text, length);
}

template <typename F> std::string Written(F write) {
  std::string out;
  ReportSink sink{Append, &out};
  write(sink);
  return out;
}

// What a browser reads back: entities, then percent escapes ("&amp;" last).
std::string Unescape(std::string s) {
  const char* const entities[][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& e : entities)
    for (size_t i = 0; (i = s.find(e[0], i)) != std::string::npos; ++i) s.replace(i, strlen(e[0]), e[1]);
  return s;
}
std::string PercentDecode(std::string s) {
  for (size_t i = 0; (i = s.find('%', i)) != std::string::npos; ++i)
    s.replace(i, 3, 1, char(std::stoi(s.substr(i + 1, 2), nullptr, 16)));
  return s;
}

const char* const kHostile[] = {
    "</ol><script>alert(1)</script>", "Tom & Jerry's \"Agent\"", "a'b\"c<d>e&f",
    "&amp; already", "caf\xe9 na\xefve \xa9", "", "plain",
};

TEST(ReportEscaping, HostileTextsRoundTripWithoutMarkup) {
  for (const char* text : kHostile) {
    std::string html = Written([&](const ReportSink& s) { PutHtml(s, text); });
    EXPECT_EQ(html.find_first_of("<>\"'"), std::string::npos) << html;
    EXPECT_EQ(Unescape(html), text);

    char encoded[512];
    ASSERT_TRUE(PercentEncode(text, encoded, sizeof encoded));
    const char kUrlSafe[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%";
    EXPECT_EQ(std::string(encoded).find_first_not_of(kUrlSafe), std::string::npos) << encoded;
    EXPECT_EQ(PercentDecode(encoded), text);
  }
}

TEST(ReportEscaping, PercentEncodingCutsBeforeAnEscapeAndTextFieldsKeepToOneLine) {
  char out[7];
  EXPECT_TRUE(PercentEncode("ab c", out, sizeof out));  // "ab%20c" fits exactly
  EXPECT_FALSE(PercentEncode("ab cd", out, sizeof out));  // one over
  EXPECT_STREQ(out, "ab%20c");
  char tight[5];
  EXPECT_FALSE(PercentEncode("abc d", tight, sizeof tight));
  EXPECT_STREQ(tight, "abc");  // never half an escape
  EXPECT_FALSE(PercentEncode("x", out, 0));
  EXPECT_EQ(Written([](const ReportSink& s) { PutField(s, "a\tb\r\nc"); }), "a b  c");
}

TEST(ReportLinkTest, FieldsEncodedLanguageAndNoExtension) {
  ReportLink link{"http://host/x", "my prog&x=1.exe", "A \"Co\"", "1.0 beta", "2.1:2.1", 11, 10};
  char out[kReportLinkCapacity];
  ASSERT_GT(BuildReportLink(link, out, sizeof out), 0u);
  EXPECT_STREQ(out,
               "http://host/x/cgi-bin/zarvoinfo.pl?program=my%20prog%26x%3D1.exe"
               "&vendor=A%20%22Co%22&version=1.0%20beta&build=2.1%3A2.1&Type=11&Loc=es");
  char small[40];
  EXPECT_EQ(BuildReportLink(link, small, sizeof small), 0u);
  EXPECT_STREQ(small, "");
  const struct {
    int id;
    const char* code;
  } languages[] = {{9, "en"}, {7, "de"}, {12, "fr"}, {10, "es"}, {16, "it"}, {0, "en"}};
  for (const auto& row : languages) EXPECT_STREQ(ReportLanguage(row.id), row.code) << row.id;
}

TEST(ReportClock, TwelveHourTimesAndDates) {
  const struct {
    int hour, minute, second;
    const char* text;
  } rows[] = {{0, 5, 9, "12:05:09 AM"}, {9, 0, 0, " 9:00:00 AM"}, {11, 59, 59, "11:59:59 AM"},
              {12, 30, 0, "12:30:00 PM"}, {13, 1, 2, " 1:01:02 PM"}, {23, 59, 59, "11:59:59 PM"}};
  for (const auto& r : rows) {
    char out[32];
    ClockText12(r.hour, r.minute, r.second, out, sizeof out);
    EXPECT_STREQ(out, r.text) << r.hour;
  }
  char date[12];
  ReportDateText(2004, 3, 7, date, sizeof date);
  EXPECT_STREQ(date, " 3/07/2004");
}

TEST(ReportOsName, EveryFamilyEditionAndTheFallback) {
  const struct {
    OsFacts facts;
    const char* name;
  } rows[] = {
      {{0, 3, 11, 0, "", false, 0, 0, nullptr, false}, "Microsoft Win32s"},
      {{1, 4, 0, 0x04000457, " C", false, 0, 0, nullptr, false}, "Microsoft Windows 95 OSR2  C (Build 1111)"},
      {{1, 4, 0, 950, "", false, 0, 0, nullptr, false}, "Microsoft Windows 95  (Build 950)"},
      {{1, 4, 10, 0x040A08AE, " A ", false, 0, 0, nullptr, false}, "Microsoft Windows 98 SE  A  (Build 2222)"},
      {{1, 4, 10, 67766446, "", false, 0, 0, nullptr, false}, "Microsoft Windows 98  (Build 2222)"},
      {{1, 4, 90, 0x045A0BB8, " ", false, 0, 0, nullptr, false}, "Microsoft Windows Millennium Edition   (Build 3000)"},
      {{2, 4, 0, 1381, "Service Pack 6", true, 1, 0, nullptr, true}, "Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
      {{2, 4, 0, 1381, "Service Pack 6", true, 3, 2, nullptr, false}, "Windows NT Server 4.0, Enterprise Edition Service Pack 6 (Build 1381)"},
      {{2, 4, 0, 1381, "Service Pack 5", false, 0, 0, "LANMANNT", false}, "Windows NT Server 4.0 Service Pack 5 (Build 1381)"},
      {{2, 5, 0, 2195, "Service Pack 4", true, 1, 0, nullptr, false}, "Windows 2000 Professional Service Pack 4 (Build 2195)"},
      {{2, 5, 0, 2195, "", true, 3, 2, nullptr, false}, "Windows 2000 Advanced Server  (Build 2195)"},
      {{2, 5, 0, 2195, "", true, 2, 0x82, nullptr, false}, "Windows 2000 Datacenter Server  (Build 2195)"},
      {{2, 5, 1, 2600, "Service Pack 2", true, 1, 0x200, nullptr, false}, "Windows XP Home Edition Service Pack 2 (Build 2600)"},
      {{2, 5, 1, 2600, "", false, 0, 0, "WinNT", false}, "Windows XP Workstation 5.1  (Build 2600)"},
      {{2, 5, 2, 3790, "", true, 3, 0x400, nullptr, false}, "Windows Server 2003 family, Web Edition  (Build 3790)"},
      {{2, 5, 2, 3790, "", true, 3, 0, nullptr, false}, "Windows Server 2003 family, Standard Edition  (Build 3790)"},
      {{2, 6, 1, 7601, "Service Pack 1", true, 1, 0, nullptr, false}, "Windows NT 6.1 Service Pack 1 (Build 7601)"},
  };
  for (const auto& r : rows) {
    char out[kOsNameCapacity];
    OsName(r.facts, out, sizeof out);
    EXPECT_STREQ(out, r.name);
  }
}

ReportItem HostileItem(ReportItemKind kind) {
  return ReportItem{kind, "</ol><script>x</script>", "it's.exe", "Desc\twith tab", "1.0", nullptr, nullptr,
                    "C:\\a&b\\it's.exe", nullptr, nullptr, "Automatic", "Running", nullptr, nullptr, nullptr,
                    "1,024", "Location", "SOFTWARE\\X", "http://h/?program=it%27s.exe&Type=1"};
}

TEST(ReportItems, WebPageEntriesStayInert) {
  for (ReportItemKind kind : {kItemPlain, kItemService, kItemHidden, kItemHelper}) {
    std::string html = Written([&](const ReportSink& s) { WriteHtmlItem(s, HostileItem(kind)); });
    EXPECT_EQ(html.find("<script"), std::string::npos) << html;
    EXPECT_EQ(html.find("'"), std::string::npos) << html;
    EXPECT_NE(html.find("href=\"http://h/?program=it%27s.exe&amp;Type=1\""), std::string::npos);
    EXPECT_EQ(html.find("&nbsp "), std::string::npos);
  }
  ReportItem untitled{};
  untitled.fileName = "x.exe";
  std::string html = Written([&](const ReportSink& s) { WriteHtmlItem(s, untitled); });
  EXPECT_NE(html.find("<b>No Description available</b>"), std::string::npos);
  std::string heading = Written([](const ReportSink& s) { WriteHtmlSection(s, 3, "A&B"); });
  EXPECT_NE(heading.find("<A NAME=\"A3\"></A>"), std::string::npos) << heading;
  EXPECT_NE(heading.find("&bull; A&amp;B &bull;"), std::string::npos) << heading;
}

TEST(ReportItems, TextEntryIsOneLineOfSevenColumns) {
  std::string line = Written([](const ReportSink& s) { WriteTextItem(s, HostileItem(kItemPlain)); });
  EXPECT_EQ(line, "</ol><script>x</script>\tit's.exe\tDesc with tab\t1.0\t\t\tC:\\a&b\\it's.exe\r\n");
  for (int option : {0, 1, 2, -1}) EXPECT_EQ(ReportFormatOf(option), option == 1 ? kReportText : kReportWebPage);
}

}  // namespace

// Rules of the information window that need no window: knowledge-base page
// names, the online request, stepping through the list, the layout numbers
// and the texts of notes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/info_rules.h"

using namespace tov;

namespace {

std::string Kbase(const char* fileName) {
  char out[260];
  KnowledgeBaseName(fileName, out, sizeof out);
  return out;
}

TEST(KnowledgeBaseName, LowerCasedAndCutAtTheFirstMark) {
  EXPECT_EQ(Kbase("WINWORD.EXE"), "winword");
  EXPECT_EQ(Kbase("Real Player.exe"), "real_player");
  EXPECT_EQ(Kbase("what?now:x.exe"), "what_now_x");
  EXPECT_EQ(Kbase("app-helper.exe"), "app");
  EXPECT_EQ(Kbase("PROGRA~1.EXE"), "progra");
  EXPECT_EQ(Kbase("a,b.exe"), "a");
  EXPECT_EQ(Kbase("noext"), "noext");
  // Ended at the first slash of either kind.
  EXPECT_EQ(Kbase("tool\\sub.exe"), "tool");
  EXPECT_EQ(Kbase("web/page.exe"), "web");
  EXPECT_EQ(Kbase(""), "");
}

TEST(KnowledgeBaseName, FamilyWordsReplaceTheName) {
  EXPECT_EQ(Kbase("MYCOMPANION.EXE"), "ycomp");  // anywhere in the name
  EXPECT_EQ(Kbase("YCOM.EXE"), "ycom");
  EXPECT_EQ(Kbase("XYCOMPUTE.EXE"), "ycomp");
  EXPECT_EQ(Kbase("NEWDOTNET.EXE"), "newdot");
  EXPECT_EQ(Kbase("TRICKLER32.EXE"), "trickler");
  // Blanks become "_" before the family words are looked for.
  EXPECT_EQ(Kbase("\"%1\" %*"), "\"%1\"_%*");
  EXPECT_EQ(Kbase("%1 %*"), "tvcommand");
  EXPECT_EQ(Kbase("%1 /S"), "%1_");  // ended at the slash
  EXPECT_EQ(Kbase("%1 s"), "tvsaver");
}

TEST(KnowledgeBaseName, RefusesWhatDoesNotFit) {
  char out[8];
  EXPECT_EQ(KnowledgeBaseName("ABCDEFG.EXE", out, sizeof out), 7u);  // exactly fits
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_EQ(KnowledgeBaseName("ABCDEFGH.EXE", out, sizeof out), 0u);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(KnowledgeBaseName("A.EXE", out, 0), 0u);
  std::string longName(300, 'a');
  EXPECT_EQ(KnowledgeBaseName(longName.c_str(), out, sizeof out), 0u);
}

InfoRequest Request(const char* fileName) {
  InfoRequest r{};
  r.siteRoot = "http://www.example.com/";
  r.fileName = fileName;
  r.companyName = "Big Soft Inc";
  r.productVersion = "1.0 beta";
  r.build = "11.2:11.3";
  r.code = 11;
  r.languageId = 9;
  r.escapeFileName = true;
  return r;
}

std::string Build(const InfoRequest& r, size_t cap = 260) {
  char out[600];
  size_t n = BuildInfoRequest(r, out, cap);
  EXPECT_EQ(n, strlen(out));
  return out;
}

TEST(InfoRequest, CarriesEveryFieldWithBlanksEscaped) {
  EXPECT_EQ(Build(Request("MY APP.EXE")),
            "http://www.example.com/cgi-bin/zarvoinfo.pl?program=MY%20APP.EXE&vendor=Big%20Soft%20Inc"
            "&version=1.0%20beta&build=11.2:11.3&Type=11&Loc=en&ext=EXE");
}

TEST(InfoRequest, LanguageAndExtension) {
  InfoRequest r = Request("NOEXT");
  r.languageId = 7;
  EXPECT_NE(Build(r).find("&Loc=de&ext="), std::string::npos);
  EXPECT_EQ(Build(r).substr(Build(r).size() - 5), "&ext=");
  r.languageId = 12;
  EXPECT_NE(Build(r).find("&Loc=fr"), std::string::npos);
  r.languageId = 10;
  EXPECT_NE(Build(r).find("&Loc=en"), std::string::npos);
  // The extension is everything after the first dot.
  r = Request("A.B.EXE");
  EXPECT_EQ(Build(r).substr(Build(r).size() - 10), "&ext=B.EXE");
}

TEST(InfoRequest, AolFormKeepsBlanksAndNeverCarriesAQuote) {
  InfoRequest r = Request("MY APP.EXE");
  r.escapeFileName = false;
  r.companyName = "Say \"Hi\"";
  std::string text = Build(r);
  EXPECT_NE(text.find("program=MY APP.EXE&"), std::string::npos);
  EXPECT_NE(text.find("vendor=Say%20%22Hi%22&"), std::string::npos);
  EXPECT_EQ(text.find('"'), std::string::npos);
}

TEST(InfoRequest, RootWithoutSlashAndLimitOf259) {
  InfoRequest r = Request("X.EXE");
  r.siteRoot = "http://host";
  EXPECT_EQ(Build(r).rfind("http://host/cgi-bin/zarvoinfo.pl?program=X.EXE&", 0), 0u);
  std::string name(400, 'n');
  r.fileName = name.c_str();
  EXPECT_EQ(Build(r, 600).size(), 259u);
  EXPECT_EQ(Build(r, 50).size(), 49u);
}

TEST(EntrySteps, WrapAtBothEnds) {
  EXPECT_EQ(NextEntryIndex(0, 3), 1);
  EXPECT_EQ(NextEntryIndex(2, 3), 0);  // last -> first
  EXPECT_EQ(PreviousEntryIndex(0, 3), 2);  // first -> last
  EXPECT_EQ(PreviousEntryIndex(2, 3), 1);
  EXPECT_EQ(NextEntryIndex(0, 1), 0);
  EXPECT_EQ(PreviousEntryIndex(0, 1), 0);
  EXPECT_EQ(NextEntryIndex(0, 0), -1);
  EXPECT_EQ(PreviousEntryIndex(0, 0), -1);
  // An index the list no longer has starts again from the first entry.
  EXPECT_EQ(NextEntryIndex(7, 3), 0);
  EXPECT_EQ(PreviousEntryIndex(7, 3), 0);
  EXPECT_EQ(NextEntryIndex(-1, 3), 0);
}

TEST(InfoLayout, ScalesWithTheScreen) {
  EXPECT_EQ(ScaleForDpi(kInfoExpandedHeight, 96), 421);
  EXPECT_EQ(ScaleForDpi(kInfoShortHeight, 120), 307);  // 307.5 truncated
  EXPECT_EQ(ScaleForDpi(kInfoButtonRowExpanded, 144), 525);
  EXPECT_EQ(ScaleForDpi(185, 0), 185);  // an unreadable dpi counts as 96
}

TEST(InfoForms, ByLocationCode) {
  InfoForm run = InfoFormOf(11);
  EXPECT_TRUE(run.status);
  EXPECT_TRUE(run.processButtons);
  EXPECT_FALSE(run.service);
  EXPECT_FALSE(run.locationCleared);
  EXPECT_EQ(run.helperKey, nullptr);
  InfoForm shell = InfoFormOf(251);
  EXPECT_TRUE(shell.status);
  EXPECT_FALSE(shell.processButtons);
  InfoForm hidden = InfoFormOf(370);
  EXPECT_FALSE(hidden.status);
  EXPECT_FALSE(hidden.processButtons);
  EXPECT_TRUE(InfoFormOf(400).locationCleared);
  EXPECT_TRUE(InfoFormOf(600).locationCleared);
  EXPECT_TRUE(InfoFormOf(600).processButtons);
  for (int code : {700, 701}) {
    EXPECT_TRUE(InfoFormOf(code).service);
    EXPECT_FALSE(InfoFormOf(code).processButtons);
  }
  EXPECT_STREQ(InfoFormOf(900).helperKey,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects");
  EXPECT_STREQ(InfoFormOf(901).helperKey, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar");
  EXPECT_STREQ(InfoFormOf(902).helperKey, "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions");
  EXPECT_FALSE(InfoFormOf(900).iconFromExtra);
  EXPECT_TRUE(InfoFormOf(901).iconFromExtra);
  EXPECT_FALSE(InfoFormOf(902).status);
}

TEST(NoteTexts, NewNoteAndDefaults) {
  char out[64];
  EXPECT_TRUE(NewNoteText("Agent", "C:\\AGENT.EXE", out, sizeof out));
  EXPECT_STREQ(out, "Agent\r\nC:\\AGENT.EXE\r\n");
  char small[8];
  EXPECT_FALSE(NewNoteText("Agent", "C:\\AGENT.EXE", small, sizeof small));
  EXPECT_EQ(strlen(small), 7u);
  EXPECT_STREQ(DefaultNoteText("extra", "standard"), "extra");
  EXPECT_STREQ(DefaultNoteText("", "standard"), "standard");
  EXPECT_STREQ(DefaultNoteText(nullptr, "standard"), "standard");
}

TEST(AolCommandLine, ProgramPartAddressCutBeforeTheClosingQuote) {
  char out[64];
  EXPECT_TRUE(AolCommandLine("C:\\AOL", "http://x/a.html", out, sizeof out));
  EXPECT_STREQ(out, "C:\\AOL\\WAOL.EXE -u\"http://x/a.html\"");
  EXPECT_TRUE(AolCommandLine("", "http://x/", out, sizeof out));
  EXPECT_STREQ(out, "waol.exe -u\"http://x/\"");
  // "waol.exe -u\"" is 12 characters: 12 + 4 + quote + terminator = 18.
  char exact[18];
  EXPECT_TRUE(AolCommandLine(nullptr, "abcd", exact, sizeof exact));
  EXPECT_STREQ(exact, "waol.exe -u\"abcd\"");
  EXPECT_TRUE(AolCommandLine(nullptr, "abcdefgh", exact, sizeof exact));
  EXPECT_STREQ(exact, "waol.exe -u\"abcd\"");  // cut, still closed
  char tiny[13];  // the program part and nothing more
  EXPECT_FALSE(AolCommandLine(nullptr, "a", tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
  EXPECT_FALSE(AolCommandLine(std::string(80, 'p').c_str(), "a", out, sizeof out));
}

}  // namespace

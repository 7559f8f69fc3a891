#include "core/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using namespace tov;

TEST(BoundedText, CopyFitsExactlyOrCutsAndSaysSo) {
  char buf[6];
  EXPECT_TRUE(CopyText(buf, "abcde"));  // 5 characters + terminator: exact fit
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(CopyText(buf, "abcdef"));  // one over
  EXPECT_STREQ(buf, "abcde");
  EXPECT_TRUE(CopyText(buf, ""));
  EXPECT_STREQ(buf, "");
  EXPECT_TRUE(CopyText(buf, nullptr));
  EXPECT_STREQ(buf, "");
}

TEST(BoundedText, CapacityZeroCopiesNothing) {
  char buf[4] = {'x', 'y', 'z', 0};
  EXPECT_FALSE(CopyTextN(buf, 0, "a"));
  EXPECT_FALSE(AppendTextN(buf, 0, "a"));
  EXPECT_STREQ(buf, "xyz");
}

TEST(BoundedText, AppendFitsExactlyOrCuts) {
  char buf[8] = "abc";
  EXPECT_TRUE(AppendText(buf, "defg"));  // 7 characters: exact fit
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_FALSE(AppendText(buf, "h"));
  EXPECT_STREQ(buf, "abcdefg");
  char small[5] = "ab";
  EXPECT_FALSE(AppendText(small, "cdef"));  // one over
  EXPECT_STREQ(small, "abcd");
}

TEST(BoundedText, AppendToUnterminatedBufferTerminatesIt) {
  char buf[4];
  memset(buf, 'q', sizeof buf);
  EXPECT_FALSE(AppendText(buf, "x"));
  EXPECT_EQ(buf[3], 0);
}

TEST(ContainsText, IgnoresCase) {
  EXPECT_EQ(ContainsText("TovrelEx.exe -Q", "-q"), 1);
  EXPECT_EQ(ContainsText("c:\\program files\\tovrel", "TOVREL"), 1);
  EXPECT_EQ(ContainsText("abc", "abd"), 0);
  EXPECT_EQ(ContainsText("abc", ""), 1);
}

TEST(ContainsText, PartLongerThanTextGivesZero) {
  EXPECT_EQ(ContainsText("ab", "abc"), 0);
  EXPECT_EQ(ContainsText("", "a"), 0);
}

TEST(ContainsText, TextsOver772CharactersGiveZero) {
  std::string text(771, 'a');
  text += "Z";  // 772 characters: still searched
  EXPECT_EQ(ContainsText(text.c_str(), "z"), 1);
  text += "b";  // 773 characters
  EXPECT_EQ(ContainsText(text.c_str(), "z"), 0);
  EXPECT_EQ(ContainsText(text.c_str(), "a"), 0);
}

TEST(FindNoCase, PositionOfFirstMatch) {
  EXPECT_EQ(FindNoCase("xxSystemRoot", "SYSTEMROOT"), 2);
  EXPECT_EQ(FindNoCase("aaa", "aa"), 0);
  EXPECT_EQ(FindNoCase("a", "ab"), -1);
}

TEST(StripQuotes, RemovesEveryQuoteWithinCapacity) {
  char out[32];
  StripQuotes("\"C:\\Program Files\\a.exe\" \"x\"", out, sizeof out);
  EXPECT_STREQ(out, "C:\\Program Files\\a.exe x");
  char small[4];
  StripQuotes("\"abcdef\"", small, sizeof small);
  EXPECT_STREQ(small, "abc");
  StripQuotes("abc", small, 0);  // nothing written
  EXPECT_STREQ(small, "abc");
}

TEST(StripQuotes, ReadsAtMost512Characters) {
  std::string text(600, 'a');
  char out[1024];
  StripQuotes(text.c_str(), out, sizeof out);
  EXPECT_EQ(strlen(out), 512u);
}

TEST(StripLeadingSpaces, ReturnsRemainingLength) {
  char out[16];
  EXPECT_EQ(StripLeadingSpaces("   ab c", out, sizeof out), 4u);
  EXPECT_STREQ(out, "ab c");
  EXPECT_EQ(StripLeadingSpaces("    ", out, sizeof out), 0u);
  EXPECT_STREQ(out, "");
  char small[3];
  EXPECT_EQ(StripLeadingSpaces(" abcd", small, sizeof small), 2u);
  EXPECT_STREQ(small, "ab");
}

TEST(ExtensionOf, TextAfterTheFirstDot) {
  char out[16];
  EXPECT_EQ(ExtensionOf("file.tar.gz", out, sizeof out), 1);
  EXPECT_STREQ(out, "tar.gz");
  EXPECT_EQ(ExtensionOf("noext", out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(ExtensionOf("trailing.", out, sizeof out), 1);
  EXPECT_STREQ(out, "");
}

TEST(EqualsToColon, ReplacesEveryEquals) {
  char out[16];
  EqualsToColon("a=b==c", out, sizeof out);
  EXPECT_STREQ(out, "a:b::c");
  char small[3];
  EqualsToColon("==x", small, sizeof small);
  EXPECT_STREQ(small, "::");
}

TEST(ReplaceChar, ReplacesOrRemoves) {
  char text[kPathCapacity] = "a,b,,c";
  ReplaceChar(text, ',', ';');
  EXPECT_STREQ(text, "a;b;;c");
  ReplaceChar(text, ';', 0);
  EXPECT_STREQ(text, "abc");
}

TEST(ReplaceChar, StopsAtPathCapacity) {
  char text[400];
  memset(text, 'x', sizeof text - 1);
  text[sizeof text - 1] = 0;
  ReplaceChar(text, 'x', 'y');
  EXPECT_EQ(strlen(text), kPathCapacity - 1);
  EXPECT_EQ(text[0], 'y');
}

TEST(EscapeSpaces, EverySpaceBecomesPercent20) {
  char out[32];
  EscapeSpaces("Program Files x", out, sizeof out);
  EXPECT_STREQ(out, "Program%20Files%20x");
}

TEST(EscapeSpaces, CutNeverSplitsAnEscape) {
  char out[6];
  EscapeSpaces("abc d", out, sizeof out);  // "abc%20d" does not fit
  EXPECT_STREQ(out, "abc");
  char exact[7];
  EscapeSpaces("abc d", exact, sizeof exact);
  EXPECT_STREQ(exact, "abc%20");
}

TEST(Backslash, AppendOnlyWhenMissing) {
  char path[8] = "C:\\a";
  EXPECT_TRUE(AppendBackslash(path));
  EXPECT_STREQ(path, "C:\\a\\");
  EXPECT_TRUE(AppendBackslash(path));
  EXPECT_STREQ(path, "C:\\a\\");
  char full[4] = "abc";
  EXPECT_FALSE(AppendBackslash(full));
  EXPECT_STREQ(full, "abc");
}

TEST(Backslash, RemoveKeepsDriveRootWhenAsked) {
  char root[8] = "C:\\";
  RemoveBackslash(root, true);
  EXPECT_STREQ(root, "C:\\");
  RemoveBackslash(root, false);
  EXPECT_STREQ(root, "C:");
  char folder[16] = "C:\\Win\\";
  RemoveBackslash(folder, true);
  EXPECT_STREQ(folder, "C:\\Win");
  RemoveBackslash(folder, true);
  EXPECT_STREQ(folder, "C:\\Win");
}

TEST(GroupThousands, CommasBetweenGroupsOfThree) {
  struct { long long n; const char* text; } rows[] = {
      {0, "0"},          {999, "999"},           {1000, "1,000"},
      {1234567, "1,234,567"}, {-1234, "-1,234"}, {-999, "-999"},
      {LLONG_MIN, "-9,223,372,036,854,775,808"},
  };
  char out[40];
  for (auto& r : rows) {
    GroupThousands(r.n, out, sizeof out);
    EXPECT_STREQ(out, r.text) << r.n;
  }
}

TEST(GroupThousands, CutToCapacity) {
  char out[4];
  GroupThousands(1234567, out, sizeof out);
  EXPECT_STREQ(out, "1,2");
  GroupThousands(5, out, 0);  // nothing written
  EXPECT_STREQ(out, "1,2");
}

TEST(FormatOneText, OnlyTheFirstPlaceholderIsFilled) {
  char out[64];
  EXPECT_TRUE(FormatOneText("The file %s appears valid.", "kernel32", out, sizeof out));
  EXPECT_STREQ(out, "The file kernel32 appears valid.");
  // A hostile translation cannot make it read arguments that are not there.
  EXPECT_TRUE(FormatOneText("%s %s %n %d", "x", out, sizeof out));
  EXPECT_STREQ(out, "x %s %n %d");
  EXPECT_TRUE(FormatOneText("no placeholder", "x", out, sizeof out));
  EXPECT_STREQ(out, "no placeholder");
  char none[1];
  EXPECT_FALSE(FormatOneText("ab%s", "x", none, 0));  // no room at all
  char small[6];
  EXPECT_FALSE(FormatOneText("ab%scd", "12345", small, sizeof small));
  EXPECT_STREQ(small, "ab123");
  EXPECT_FALSE(FormatOneText("abcdefgh%s", "1", small, sizeof small));
  EXPECT_STREQ(small, "abcde");
  EXPECT_TRUE(FormatOneText("abcde", "1", small, sizeof small));  // exactly fits
}

namespace {
bool SameIgnoringCase(const char* piece, void* context) {
  return tov::EqualsNoCase(piece, static_cast<const char*>(context));
}
}  // namespace

TEST(RemoveListItemMatching, TellsWhetherAnyPieceWasDropped) {
  char out[64];
  bool matched = true;
  EXPECT_TRUE(RemoveListItemMatching("a.exe;B.EXE;c.exe", SameIgnoringCase, (void*)"b.exe", out,
                                     sizeof out, &matched));
  EXPECT_TRUE(matched);
  EXPECT_STREQ(out, "a.exe;c.exe;");
  EXPECT_TRUE(RemoveListItemMatching("a.exe;c.exe", SameIgnoringCase, (void*)"b.exe", out,
                                     sizeof out, &matched));
  EXPECT_FALSE(matched);  // nothing to take out: the caller must not report success
  EXPECT_TRUE(RemoveListItemMatching("", SameIgnoringCase, (void*)"b.exe", out, sizeof out,
                                     &matched));
  EXPECT_FALSE(matched);
}

TEST(QuoteProgramPath, OnlyPathsWithBlanksAreQuoted) {
  char out[32];
  EXPECT_TRUE(QuoteProgramPath("C:\\Program Files\\a.exe", out, sizeof out));
  EXPECT_STREQ(out, "\"C:\\Program Files\\a.exe\"");
  EXPECT_TRUE(QuoteProgramPath("C:\\Tools\\a.exe", out, sizeof out));
  EXPECT_STREQ(out, "C:\\Tools\\a.exe");
  EXPECT_TRUE(QuoteProgramPath("\"C:\\a b\\a.exe\"", out, sizeof out));
  EXPECT_STREQ(out, "\"C:\\a b\\a.exe\"");
  char small[6];
  EXPECT_TRUE(QuoteProgramPath("a b", small, sizeof small));  // exact fit
  EXPECT_STREQ(small, "\"a b\"");
  EXPECT_FALSE(QuoteProgramPath("ab cd", small, sizeof small));
  EXPECT_STREQ(small, "");
}

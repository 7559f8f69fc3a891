// Cookie lines, titles, browser kinds and the streaming filter, against
// jars written by a real client (tests/fixtures/cookies, made by curl).
#include "cookies/cookie_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace tov;

namespace {

std::string Jar(const char* name) {
  std::ifstream in(std::string(TOVREL_SOURCE_DIR "/tests/fixtures/cookies/") + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
const char* const kJars[] = {"basic_lf.txt", "basic_crlf.txt", "basic_open_end.txt", "big.txt"};

// Lines of a text, each with its own end.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

struct FilterRun {
  std::vector<std::string> words;
  std::string out;
};
bool DropByWords(const char* line, size_t length, void* context) {
  for (const std::string& w : static_cast<FilterRun*>(context)->words)
    if (TextHoldsWord(line, length, w.c_str())) return true;
  return false;
}
bool Collect(const char* data, size_t length, void* context) {
  static_cast<FilterRun*>(context)->out.append(data, length);
  return true;
}
std::string Filter(const std::string& text, std::vector<std::string> words, size_t chunk) {
  FilterRun run{words, ""};
  static CookieFilter filter;
  StartCookieFilter(&filter, DropByWords, Collect, &run);
  for (size_t i = 0; i < text.size(); i += chunk)
    EXPECT_TRUE(FeedCookieFilter(&filter, text.data() + i, std::min(chunk, text.size() - i)));
  EXPECT_TRUE(FinishCookieFilter(&filter));
  return run.out;
}

}  // namespace

TEST(CookieLine, RealLinesGiveTheirFields) {
  struct Row {
    const char* line;
    const char* domain;
    const char* path;
    int64_t expiry;
    const char* name;
    const char* value;
    bool secure, httpOnly;
  } rows[] = {
      {".ads.example\tTRUE\t/\tFALSE\t1924992000\ttracker\tabc123", "ads.example", "/", 1924992000,
       "tracker", "abc123", false, false},
      {"www.hitbox.ads.example\tFALSE\t/\tFALSE\t0\tsession\ts1", "www.hitbox.ads.example", "/", 0,
       "session", "s1", false, false},
      {"#HttpOnly_www.hitbox.ads.example\tFALSE\t/account\tFALSE\t1924992000\thidden\th1",
       "www.hitbox.ads.example", "/account", 1924992000, "hidden", "h1", false, true},
      {".ads.example\tTRUE\t/\tFALSE\t3155760000\tlate\ty2070\r", "ads.example", "/", 3155760000LL,
       "late", "y2070", false, false},
      {"shop.example\tFALSE\t/\tTRUE\t99999999999999999999\tid\ta\tb", "shop.example", "/", INT64_MAX,
       "id", "b", true, false},
  };
  for (const Row& r : rows) {
    CookieLine c;
    ASSERT_TRUE(ParseCookieLine(r.line, strlen(r.line), &c)) << r.line;
    EXPECT_STREQ(c.domain, r.domain);
    EXPECT_STREQ(c.path, r.path);
    EXPECT_EQ(c.expiry, r.expiry);
    EXPECT_STREQ(c.name, r.name);
    EXPECT_STREQ(c.value, r.value);
    EXPECT_EQ(c.secure, r.secure);
    EXPECT_EQ(c.httpOnly, r.httpOnly);
  }
  for (const char* none : {"# Netscape HTTP Cookie File", "", "\r", ".\tTRUE\t/\tFALSE\t0\ta\tb",
                           "a.example\tTRUE\t/\tFALSE\t0\tname-only"}) {
    CookieLine c;
    EXPECT_FALSE(ParseCookieLine(none, strlen(none), &c)) << none;
  }
  std::string longValue = "a.example\tTRUE\t/\tFALSE\t0\tn\t" + std::string(900, 'v');
  CookieLine c;
  ASSERT_TRUE(ParseCookieLine(longValue.data(), longValue.size(), &c));  // cut, not refused
  EXPECT_EQ(strlen(c.value), kCookieValueCapacity - 1);
}

TEST(CookieLine, TitleFitsOrIsRefused) {
  char title[kCookieTitleCapacity];
  EXPECT_TRUE(CookieTitle("ads.example", "id", title));
  EXPECT_STREQ(title, "ads.example - id");
  std::string domain(kCookieTitleCapacity - 1 - 3 - 1, 'd');
  EXPECT_TRUE(CookieTitle(domain.c_str(), "n", title));  // 127: exact fit
  EXPECT_FALSE(CookieTitle(domain.c_str(), "nn", title));  // 128: refused
  EXPECT_STREQ(title, "");
}

TEST(CookieFilter, NoWordsCopiesEveryJarByteForByte) {
  for (const char* jar : kJars) {
    std::string text = Jar(jar);
    ASSERT_FALSE(text.empty()) << jar;
    for (size_t chunk : {size_t(1), size_t(7), size_t(4096)})
      EXPECT_EQ(Filter(text, {}, chunk), text) << jar << " in pieces of " << chunk;
  }
  EXPECT_GT(Jar("big.txt").size(), kCookieListLimit);
}

TEST(CookieFilter, WordsTakeExactlyTheMatchingLinesInOrder) {
  const std::vector<std::string> words = {"HITBOX", "c07\t", " ", ""};  // blanks match nothing
  for (const char* jar : kJars) {
    std::string text = Jar(jar), expected;
    for (const std::string& line : Lines(text))
      if (line.find("hitbox") == std::string::npos && line.find("c07\t") == std::string::npos)
        expected += line;
    EXPECT_NE(expected, text) << jar;
    EXPECT_EQ(Filter(text, words, 4096), expected) << jar;
  }
}

TEST(CookieFilter, OverlongLinePassesAndFailedWriteStops) {
  std::string line = "a.example\tTRUE\t/\tFALSE\t0\tn\t" + std::string(kCookieLineCapacity + 10, 'x');
  std::string text = line + "\nb.example\tTRUE\t/\tFALSE\t0\tn\tx\n";
  EXPECT_EQ(Filter(text, {"b.example"}, 1000), line + "\n");
  CookieFilter* f = new CookieFilter;
  StartCookieFilter(f, DropByWords, [](const char*, size_t, void*) { return false; }, nullptr);
  FilterRun run;
  f->context = &run;
  EXPECT_FALSE(FeedCookieFilter(f, "a\n", 2));
  EXPECT_FALSE(FinishCookieFilter(f));
  delete f;
}

TEST(Browser, CommandsReduceToTheirKind) {
  struct Row {
    const char* command;
    const char* program;
    int kind;
  } rows[] = {
      {"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome",
       "C:\\Program Files\\Internet Explorer\\iexplore.exe", kBrowserExplorer},
      {"C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE -requestPending -osint -url \"%1\"",
       "C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE", kBrowserFirefox},
      {"C:\\Program Files\\Mozilla Firefox\\firefox.exe -url %1",
       "C:\\Program Files\\Mozilla Firefox\\firefox.exe", kBrowserMozilla},
      {"\"C:\\Program Files\\Firefox\\firefox.exe\" \"%1\"", "C:\\Program Files\\Firefox\\firefox.exe",
       kBrowserFirefox},
      {"C:\\Netscape\\netscp.exe %1", "C:\\Netscape\\netscp.exe", kBrowserNetscape},
      {"C:\\Maxthon\\Maxthon.exe", "C:\\Maxthon\\Maxthon.exe", kBrowserMaxthon},
      {"C:\\Avant Browser\\avant.exe -url", "C:\\Avant Browser\\avant.exe", kBrowserAvant},
      {"C:\\Opera\\opera.exe", "C:\\Opera\\opera.exe", kBrowserExplorer},
  };
  for (const Row& r : rows) {
    char program[260];
    ASSERT_TRUE(ReduceBrowserCommand(r.command, program, sizeof program)) << r.command;
    EXPECT_STREQ(program, r.program);
    EXPECT_EQ(BrowserKindOf(program), r.kind) << r.command;
  }
  char tiny[4];
  EXPECT_FALSE(ReduceBrowserCommand("C:\\x.exe", tiny, sizeof tiny));
  for (int choice : {2, 3, 6}) EXPECT_EQ(StoreOfBrowserChoice(choice), kStoreMozilla);
  for (int choice : {0, 1, 4, 5, 7, -1}) EXPECT_EQ(StoreOfBrowserChoice(choice), kStoreInternetExplorer);
}

TEST(CookieLimits, FoldersWordsAndCounts) {
  EXPECT_TRUE(CookieFolderFits(std::string(kCookieFolderLongest, 'x').c_str()));  // exact fit
  char folder[260];
  EXPECT_TRUE(FolderOfChosenPath("C:\\Cookies\\anything typed", folder, sizeof folder));
  EXPECT_STREQ(folder, "C:\\Cookies\\");
  EXPECT_FALSE(FolderOfChosenPath("C:\\x", folder, sizeof folder));
  EXPECT_FALSE(FolderOfChosenPath("Path", folder, sizeof folder));
  for (const char* blank : {"", " ", "\t "}) EXPECT_FALSE(UsableFilterWord(blank));
  EXPECT_TRUE(TextHoldsWord("x.HitBox.com", 12, "hitbox"));
  EXPECT_FALSE(TextHoldsWord("x.HitBox.com", 5, "hitbox"));  // only the given length
  EXPECT_EQ(CappedWordCount(-1), 0);
  EXPECT_EQ(CappedWordCount(3), 3);
  EXPECT_EQ(CappedWordCount(2000000000L), kFilterItemLimit);
}

TEST(CookieViewer, ColumnsSortLimitAndMenu) {
  const ListFacts& mozilla = CookieViewerList(kStoreMozilla);
  const ListFacts& explorer = CookieViewerList(kStoreInternetExplorer);
  EXPECT_EQ(mozilla.columns.count, 5);
  EXPECT_DOUBLE_EQ(ColumnShare(mozilla, 4), 0.09);
  EXPECT_EQ(explorer.columns.count, 2);
  for (const ListFacts* list : {&mozilla, &explorer}) {
    EXPECT_STREQ(list->sortOption, "SortCookie");
    EXPECT_EQ(list->lastSortableColumn, list->columns.count - 1);  // a stored 5 never sorts 2 columns
  }
  MenuItem items[kMaxMenuItems];
  int n = EntryMenuItems(CookieViewerMenu(), {500, false, false}, items, kMaxMenuItems);
  std::vector<int> commands;
  for (int i = 0; i < n; ++i) commands.push_back(items[i].command);
  EXPECT_EQ(commands, (std::vector<int>{kCmdInfo, kCmdRemoveUnchecked, kCmdRemoveChecked, 0, 1067, 1077}));
  EXPECT_NE(kCmdRemoveUnchecked, kCmdPageClose);
}

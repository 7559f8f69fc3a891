#include "iehelpers/helper_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace tov;

namespace {

TEST(HelperKinds, EachCodeHasAKeyAndAWord) {
  const int codes[] = {kCodeHelperObject, kCodeToolbar, kCodeExtension};
  for (int code : codes) {
    EXPECT_TRUE(IsHelperCode(code));
    ASSERT_NE(HelperKeyOf(code), nullptr);
    EXPECT_EQ(std::string(HelperKeyOf(code)).rfind("SOFTWARE\\Microsoft\\", 0), 0u);
    EXPECT_NE(HelperTypeWord(code)[0], 0);
    for (int other : codes) {
      if (other == code) continue;
      EXPECT_STRNE(HelperKeyOf(code), HelperKeyOf(other));
    }
  }
  EXPECT_STREQ(HelperTypeWord(kCodeToolbar), "TOOLBAR");
  for (int code : {0, 800, 899, 903}) {
    EXPECT_FALSE(IsHelperCode(code));
    EXPECT_EQ(HelperKeyOf(code), nullptr);
    EXPECT_STREQ(HelperTypeWord(code), "");
  }
}

TEST(HelperKinds, ExtensionTitleRelated) {
  struct {
    const char* text;
    const char* title;
  } rows[] = {{"res://SHDOCLC.DLL/related.htm", "Related"},
              {"shdoclc.dll", "Related"},
              {"Messenger", "Messenger"},
              {"", ""}};
  for (auto& row : rows) {
    char out[64];
    ExtensionTitle(row.text, out, sizeof out);
    EXPECT_STREQ(out, row.title) << row.text;
  }
}

TEST(HelperKinds, RegsvrCommandsQuoteThePath) {
  char out[kRegsvrCommandCapacity];
  ASSERT_TRUE(UnregisterCommand("C:\\Program Files\\Bar\\bho.dll", out, sizeof out));
  EXPECT_STREQ(out, "regsvr32 /u /s \"C:\\Program Files\\Bar\\bho.dll\"");
  ASSERT_TRUE(RegisterCommand("C:\\bho.dll", out, sizeof out));
  EXPECT_STREQ(out, "regsvr32 /s \"C:\\bho.dll\"");
  // Nothing to run, or a path that could smuggle in other arguments.
  for (const char* refused : {"", "C:\\a\" /i \"b.dll"}) {
    EXPECT_FALSE(UnregisterCommand(refused, out, sizeof out)) << refused;
    EXPECT_STREQ(out, "");
  }
  EXPECT_FALSE(RegisterCommand(nullptr, out, sizeof out));
  // Exact fit: 'regsvr32 /s "' (13) + path + '"' and the terminator.
  std::string path(20, 'p');
  char exact[13 + 20 + 1 + 1];
  EXPECT_TRUE(RegisterCommand(path.c_str(), exact, sizeof exact));
  char oneShort[sizeof exact - 1];
  EXPECT_FALSE(RegisterCommand(path.c_str(), oneShort, sizeof oneShort));
  EXPECT_STREQ(oneShort, "");
}

}  // namespace

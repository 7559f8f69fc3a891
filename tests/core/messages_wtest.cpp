// String-table texts with translation overrides, read from the built program.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/messages.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "tests/support/program_resources.h"
#include "tests/support/wine_support.h"

using namespace tov;

namespace {

class TextsTest : public testing::Test {
 protected:
  testsupport::ProgramResources program_;
  void SetUp() override {
    testsupport::ClearProductKeys();
    ASSERT_TRUE(program_.loaded());
  }
  void TearDown() override {
    testsupport::ClearProductKeys();
    SetTextLanguage(0);
  }
};

TEST_F(TextsTest, EnglishTextsComeFromTheResources) {
  // Overrides for other ids are ignored while the language code is "us".
  SetRegString(HKEY_LOCAL_MACHINE, kProductKey, "LString606", "Autostart");
  SelectTextLanguage();
  EXPECT_EQ(TextLanguage(), 9);
  char out[64];
  EXPECT_EQ(LoadText(606, out), 16u);
  EXPECT_STREQ(out, "Startup Programs");
  EXPECT_EQ(LoadText(1, out), 0u);  // no such id
  EXPECT_STREQ(out, "");
  char small[8];
  EXPECT_EQ(LoadText(606, small), 7u);  // cut to the caller's capacity
  EXPECT_STREQ(small, "Startup");
}

TEST_F(TextsTest, OverridesReplaceTextsWithLineBreaks) {
  SetRegString(HKEY_LOCAL_MACHINE, kProductKey, "LString634", "DE");
  SetRegString(HKEY_LOCAL_MACHINE, kProductKey, "LString606", "Autostart%nProgramme");
  SelectTextLanguage();
  EXPECT_EQ(TextLanguage(), 7);
  char out[64];
  LoadText(606, out);
  EXPECT_STREQ(out, "Autostart\r\nProgramme");
  // Ids without an override still come from the resources.
  LoadText(2, out);
  EXPECT_STREQ(out, "Tovrel");
  // An override is cut to the caller's buffer and the length says so.
  char small[6];
  EXPECT_EQ(LoadText(606, small), 5u);
  EXPECT_STREQ(small, "Autos");
}

TEST_F(TextsTest, UnknownLanguageCodeStillReadsOverrides) {
  SetRegString(HKEY_LOCAL_MACHINE, kProductKey, "LString634", "xx");
  SetRegString(HKEY_LOCAL_MACHINE, kProductKey, "LString2", "Wachhund");
  SelectTextLanguage();
  EXPECT_EQ(TextLanguage(), 0);
  char out[32];
  LoadText(2, out);
  EXPECT_STREQ(out, "Wachhund");
}

}  // namespace

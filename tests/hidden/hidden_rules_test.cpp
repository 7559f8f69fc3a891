#include "hidden/hidden_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace tov;

namespace {

std::string Name(const char* path) {
  char out[kVaultFolderNameLength + 1];
  VaultFolderName(path, out);
  return out;
}

std::string Shown(const char* text, size_t cap = 64) {
  char out[64];
  ShownLastWritten(text, out, cap);
  return out;
}

// The text with the line inserted where FindRenameInsertion says.
std::string Insert(const std::string& text, const std::string& line = "NUL=C:\\X.EXE\r\n") {
  RenameInsertion at = FindRenameInsertion(text.data(), text.size());
  std::string out = text.substr(0, at.offset);
  if (at.breakFirst) out += "\r\n";
  if (at.header) out += "[rename]\r\n";
  return out + line + text.substr(at.offset);
}

}  // namespace

TEST(VaultFolderName, OneFolderPerPathIgnoringCase) {
  EXPECT_EQ(Name("C:\\WINDOWS\\a.dll"), Name("c:\\windows\\A.DLL"));
  EXPECT_NE(Name("C:\\WINDOWS\\a.dll"), Name("C:\\WINDOWS\\SYSTEM\\a.dll"));
  std::string empty = Name(nullptr);
  EXPECT_EQ(empty.size(), kVaultFolderNameLength);
  EXPECT_EQ(empty.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST(ShownLastWritten, OnlySecondsAreCutAndOnlyFromLongTexts) {
  EXPECT_EQ(Shown("12/31/2026 23:59:58"), "12/31/2026 23:59");
  EXPECT_EQ(Shown("2/9/2026 1:05 PM"), "2/9/2026 1:05 PM");         // 16: whole
  EXPECT_EQ(Shown("12/31/2026 11:59 PM"), "12/31/2026 11:59 PM");   // no seconds to cut
  EXPECT_EQ(Shown("1/2/26 3:04:05"), "1/2/26 3:04:05");             // short: whole
  EXPECT_EQ(Shown(""), "");
  EXPECT_EQ(Shown("12/31/2026 23:59:58", 5), "12/3");
}

TEST(FindRenameInsertion, KeepsEveryExistingByte) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "[rename]\r\nNUL=C:\\X.EXE\r\n"},
      {"[rename]\r\nNUL=C:\\A.EXE\r\n", "[rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\X.EXE\r\n"},
      {"[Rename]\r\nNUL=C:\\A.EXE", "[Rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\X.EXE\r\n"},
      {"[rename]\nA=B\n[other]\nk=v\n", "[rename]\nA=B\nNUL=C:\\X.EXE\r\n[other]\nk=v\n"},
      {"[other]\r\nk=v\r\n", "[other]\r\nk=v\r\n[rename]\r\nNUL=C:\\X.EXE\r\n"},
      {"; note\r\n  [ rename ]  \r\n", "; note\r\n  [ rename ]  \r\nNUL=C:\\X.EXE\r\n"},
      {"[renamed]\r\n", "[renamed]\r\n[rename]\r\nNUL=C:\\X.EXE\r\n"},
      {"[rename\r\nx\r\n", "[rename\r\nx\r\n[rename]\r\nNUL=C:\\X.EXE\r\n"},
      {"[rename]\r\n[rename]\r\n", "[rename]\r\nNUL=C:\\X.EXE\r\n[rename]\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Insert(c.text), c.expected) << c.text;
}

TEST(FindRenameInsertion, ZeroBytesAndLongHeadersAreText) {
  std::string text("[rename]\r\nA\0B\r\n", 15);
  EXPECT_EQ(Insert(text), text + "NUL=C:\\X.EXE\r\n");
  std::string longName = "[" + std::string(300, 'r') + "]\r\n";
  EXPECT_EQ(Insert(longName), longName + "[rename]\r\nNUL=C:\\X.EXE\r\n");
}

// File-type rules: the command column, DefaultIcon values, the monitored
// list and the start-up marker tests.
#include "filetypes/filetype_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace tov;

namespace {

struct DisplayRow {
  const char* command;
  int textId;
  const char* name;
};

TEST(FileTypeRules, CommandDisplayName) {
  const DisplayRow rows[] = {
      {"%1 %*", kTextExecutable, ""},
      {"\"%1\" %*", kTextExecutable, ""},
      {"%1 /s", kTextExecutable, ""},
      {"%1 /S /x", 0, "%1 /S /x"},
      {"", kTextNoAssociatedFile, ""},
      {"\"\"  ", kTextNoAssociatedFile, ""},
      {"\"C:\\Program Files\\Acme\\Viewer.exe\" \"%1\"", 0, "Viewer.exe"},
      {"C:\\Program Files\\Acme\\Viewer.exe /open %1", 0, "Viewer.exe"},
      {"notepad.exe %1", 0, "notepad.exe"},
      {"C:\\windows\\system32\\Notepad.exe", 0, "Notepad.exe"},
      {"rundll32.exe ieframe.dll,OpenURL %l", 0, "ieframe.dll"},
      {"C:\\WINDOWS\\System32\\RUNDLL32.EXE C:\\WINDOWS\\System32\\shimgvw.dll,ImageView %1", 0,
       "shimgvw.dll"},
      {"\"C:\\WINDOWS\\rundll32.exe\" \"C:\\Lib Dir\\Hosted.DLL\",Run %1", 0, "Hosted.DLL"},
  };
  for (const DisplayRow& row : rows) {
    char out[64] = "x";
    EXPECT_EQ(CommandDisplayName(row.command, out, sizeof out), row.textId) << row.command;
    EXPECT_STREQ(out, row.name) << row.command;
  }
  // Exact fit, one short, and no room at all.
  char fits[11];
  EXPECT_EQ(CommandDisplayName("C:\\x\\Viewer.exe", fits, sizeof fits), 0);
  EXPECT_STREQ(fits, "Viewer.exe");
  char shorter[10];
  CommandDisplayName("C:\\x\\Viewer.exe", shorter, sizeof shorter);
  EXPECT_STREQ(shorter, "Viewer.ex");
  EXPECT_EQ(CommandDisplayName("", nullptr, 0), kTextNoAssociatedFile);
  // A hostile command far past every buffer is cut, never overrun.
  std::string huge(5000, 'a');
  char out[32];
  CommandDisplayName(huge.c_str(), out, sizeof out);
  EXPECT_EQ(strlen(out), sizeof out - 1);
}

TEST(FileTypeRules, DefaultIconSplit) {
  struct Row {
    const char* value;
    const char* file;
    int index;
  };
  const Row rows[] = {
      {"C:\\Acme\\app.exe,1", "C:\\Acme\\app.exe", 1},
      {"\"C:\\Lib Dir\\lib.dll\",-154", "C:\\Lib Dir\\lib.dll", -154},
      {"C:\\a,b\\x.ico, 2", "C:\\a,b\\x.ico", 2},
      {"C:\\Acme\\icon.ico,", "C:\\Acme\\icon.ico", 0},
      {"C:\\windows\\system32\\msiexec.exe", "msiexec.exe /i %1", 0},  // the command
  };
  for (const Row& row : rows) {
    char file[64];
    int index = 99;
    EXPECT_TRUE(SplitDefaultIcon(row.value, "msiexec.exe /i %1", file, sizeof file, &index));
    EXPECT_STREQ(file, row.file) << row.value;
    EXPECT_EQ(index, row.index) << row.value;
  }
  char file[8] = "x";
  int index = 5;
  EXPECT_FALSE(SplitDefaultIcon("", "cmd", file, sizeof file, &index));
  EXPECT_STREQ(file, "");
  EXPECT_EQ(index, 0);
  SplitDefaultIcon("C:\\long\\path.dll,3", "", file, sizeof file, &index);
  EXPECT_STREQ(file, "C:\\long");  // cut to the capacity
}

TEST(FileTypeRules, ListNames) {
  std::string longName(kExtensionNameLimit + 1, 'L');
  std::string exact(kExtensionNameLimit, 'E');
  std::string list = "AVI;;bat;" + longName + ";" + exact + ";LAST";
  char name[kExtensionCapacity];
  std::string seen;
  for (size_t pos = 0; NextListName(list.c_str(), &pos, name, sizeof name);)
    seen += std::string(name).substr(0, 4) + "|";
  EXPECT_EQ(seen, "AVI|bat|EEEE|LAST|");
  size_t pos = 0;
  EXPECT_FALSE(NextListName("", &pos, name, sizeof name));
  EXPECT_TRUE(ListHasName("AVI;BAT;", "bat"));
  EXPECT_FALSE(ListHasName("AVI;BAT;", "BA"));
  EXPECT_FALSE(ListHasName("AVI;BAT;", ""));
}

TEST(FileTypeRules, CheckNewName) {
  struct Row {
    std::string list;
    std::string typed;
    int result;
    const char* name;
  };
  std::string full(1015, 'X');
  const Row rows[] = {
      {"TXT;", ".txt", kTextAlreadyMonitored, "txt"},
      {"TXT;", "txt", kTextAlreadyMonitored, "txt"},
      {"TXT;", ".DOC", 0, "DOC"},
      {"TXT;", "", kTextAddRefused, ""},
      {"TXT;", ".", kTextAddRefused, ""},
      {"TXT;", "a;b", kTextAddRefused, ""},
      {"TXT;", ";", kTextAddRefused, ""},
      {"TXT;", std::string(kExtensionNameLimit + 1, 'n'), kTextAddRefused, ""},
      {full, "ABCDE", kTextListFull, "ABCDE"},
      {full, "ABCD", 0, "ABCD"},
      {full + "TXT;", "txt", kTextListFull, "txt"},  // the size is checked first
  };
  for (const Row& row : rows) {
    char name[kExtensionCapacity] = "junk";
    EXPECT_EQ(CheckNewName(row.list.c_str(), row.typed.c_str(), name, sizeof name), row.result)
        << row.typed;
    EXPECT_STREQ(name, row.name) << row.typed;
  }
}

TEST(FileTypeRules, StartMarkers) {
  EXPECT_TRUE(IsOldMarker("Do not edit"));  // eleven characters
  EXPECT_FALSE(IsOldMarker(kBaselineMarker));
  EXPECT_FALSE(IsOldMarker(""));
  struct Row {
    const char* marker;
    const char* list;
    bool exists;
  };
  const Row rows[] = {
      {kBaselineMarker, "AVI;BAT;", true},
      {kBaselineMarker, "VERYLONGNAME;AVI;", true},  // ";" past the tenth character
      {kBaselineMarker, "", false},
      {kBaselineMarker, "AVI", false},
      {"", "AVI;", false},
  };
  for (const Row& row : rows) EXPECT_EQ(BaselineExists(row.marker, row.list), row.exists) << row.list;
}

TEST(FileTypeRules, KindTable) {
  std::set<std::string> extKeys;
  for (int kind = kFirstKind; kind <= kLastKind; ++kind) {
    const KindKeys* keys = KeysOfKind(kind);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->kind, kind);
    extKeys.insert(keys->extKey);
    EXPECT_STREQ(keys->classKey, kind == kKindRoot ? kFileTypeClassRootKey : kFileTypeClassKey);
    EXPECT_STRNE(KindName(kind), "");
  }
  EXPECT_EQ(extKeys.size(), 4u);
  EXPECT_EQ(KeysOfKind(0), nullptr);
  EXPECT_EQ(KeysOfKind(5), nullptr);
  EXPECT_STREQ(KindName(5), "");
  EXPECT_STREQ(KindName(kKindExplorerApp), KindName(kKindExplorerProgId));
}

}  // namespace

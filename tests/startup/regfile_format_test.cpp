#include "startup/regfile_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tov;

namespace {

bool Collect(void* context, const char* text, size_t length) {
  static_cast<std::string*>(context)->append(text, length);
  return true;
}

std::string Value(const char* name, unsigned long type, const std::string& data) {
  std::string text;
  RegOutput out;
  InitRegOutput(&out, Collect, &text);
  AppendRegValue(&out, name, type, reinterpret_cast<const unsigned char*>(data.data()), data.size());
  EXPECT_TRUE(FlushRegOutput(&out));
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
    lines.push_back(text.substr(start, p - start));
  EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
  return lines;
}

// Reads hex lines back the way the registry editor joins them.
std::string JoinContinued(const std::string& text) {
  std::string joined;
  for (const std::string& line : Lines(text)) {
    std::string l = line;
    if (!joined.empty() && joined.back() == '\\') {
      joined.pop_back();
      l.erase(0, l.find_first_not_of(' '));
    }
    joined += l;
  }
  return joined;
}

}  // namespace

TEST(RegFileFormat, HeaderSectionsAndHives) {
  std::string text;
  RegOutput out;
  InitRegOutput(&out, Collect, &text);
  AppendRegHeader(&out);
  AppendRegSection(&out, RegHiveName(kHiveCurrentUser), "Software\\Microsoft\\Windows\\CurrentVersion\\Run", nullptr);
  AppendRegBlankLine(&out);
  AppendRegSection(&out, RegHiveName(kHiveLocalMachine), "SOFTWARE\\Brenvik", "Tovrel");
  ASSERT_TRUE(FlushRegOutput(&out));
  EXPECT_EQ(text,
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvik\\Tovrel]\r\n");
  EXPECT_STREQ(RegHiveName(kHiveClassesRoot), "HKEY_CLASSES_ROOT");
  EXPECT_STREQ(RegHiveName(kHiveUsers), "HKEY_USERS");
  EXPECT_STREQ(RegHiveName(kHiveCurrentConfig), "HKEY_CURRENT_CONFIG");
  EXPECT_STREQ(RegHiveName(kHiveOther), "HKEY_LOCAL_MACHINE");
}

TEST(RegFileFormat, StringsAreQuotedAndEscaped) {
  EXPECT_EQ(Value("Agent", kRegSz, std::string("C:\\Agent\\agent.exe /min", 24)),
            "\"Agent\"=\"C:\\\\Agent\\\\agent.exe /min\"\r\n");
  EXPECT_EQ(Value("say \"hi\"\\", kRegSz, std::string("a\"b\\", 5)),
            "\"say \\\"hi\\\"\\\\\"=\"a\\\"b\\\\\"\r\n");
  EXPECT_EQ(Value("", kRegSz, std::string("default", 8)), "@=\"default\"\r\n");
  EXPECT_EQ(Value(nullptr, kRegSz, std::string("", 1)), "@=\"\"\r\n");
  EXPECT_EQ(Value("empty", kRegSz, ""), "\"empty\"=\"\"\r\n");
  EXPECT_EQ(Value("unterminated", kRegSz, "abc"), "\"unterminated\"=\"abc\"\r\n");
  EXPECT_EQ(Value("@", kRegSz, std::string("x", 2)), "\"@\"=\"x\"\r\n");
  // A long string stays whole on one line: the editor does not continue strings.
  std::string big(2000, 'q');
  EXPECT_EQ(Value("big", kRegSz, big + '\0'), "\"big\"=\"" + big + "\"\r\n");
}

TEST(RegFileFormat, StringsThatAreNotOneLineOfTextGoAsHex) {
  EXPECT_FALSE(IsPlainRegString(reinterpret_cast<const unsigned char*>("a\nb"), 4));
  EXPECT_FALSE(IsPlainRegString(reinterpret_cast<const unsigned char*>("a\rb"), 3));
  EXPECT_FALSE(IsPlainRegString(reinterpret_cast<const unsigned char*>("a\0b"), 4));
  EXPECT_FALSE(IsPlainRegString(reinterpret_cast<const unsigned char*>("a\0\0"), 3));
  EXPECT_TRUE(IsPlainRegString(reinterpret_cast<const unsigned char*>("ab\0"), 3));
  EXPECT_TRUE(IsPlainRegString(nullptr, 0));
  EXPECT_EQ(Value("two", kRegSz, std::string("a\r\nb\0", 5)), "\"two\"=hex(1):61,0d,0a,62,00\r\n");
}

TEST(RegFileFormat, NumbersAndHexTypes) {
  EXPECT_EQ(Value("n", kRegDword, std::string("\x78\x56\x34\x12", 4)), "\"n\"=dword:12345678\r\n");
  EXPECT_EQ(Value("z", kRegDword, std::string(4, '\0')), "\"z\"=dword:00000000\r\n");
  EXPECT_EQ(Value("m", kRegDword, std::string("\xff\xff\xff\xff", 4)), "\"m\"=dword:ffffffff\r\n");
  EXPECT_EQ(Value("short", kRegDword, std::string("\x01\x02", 2)), "\"short\"=hex(4):01,02\r\n");
  EXPECT_EQ(Value("b", kRegBinary, std::string("\xaa\xbb\xcc\x11", 4)), "\"b\"=hex:aa,bb,cc,11\r\n");
  EXPECT_EQ(Value("e", kRegExpandSz, std::string("%PATH%", 7)), "\"e\"=hex(2):25,50,41,54,48,25,00\r\n");
  EXPECT_EQ(Value("l", kRegMultiSz, std::string("a\0b\0\0", 5)), "\"l\"=hex(7):61,00,62,00,00\r\n");
  EXPECT_EQ(Value("none", kRegNone, std::string("\x01", 1)), "\"none\"=hex(0):01\r\n");
  EXPECT_EQ(Value("q", 11, std::string(8, '\x02')), "\"q\"=hex(b):02,02,02,02,02,02,02,02\r\n");
  EXPECT_EQ(Value("big", 0x12345, "A"), "\"big\"=hex(12345):41\r\n");
  EXPECT_EQ(Value("empty", kRegBinary, ""), "\"empty\"=hex:\r\n");
}

TEST(RegFileFormat, LongHexDataIsContinuedUnderEightyColumns) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += char(i * 7);
  std::string text = Value("a fairly long value name", kRegBinary, data);
  std::vector<std::string> lines = Lines(text);
  ASSERT_GT(lines.size(), 10u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LT(lines[i].size(), 80u) << i;
    if (i + 1 < lines.size()) {
      EXPECT_EQ(lines[i].substr(lines[i].size() - 2), ",\\") << i;
    }
    if (i > 0) {
      EXPECT_EQ(lines[i].substr(0, 2), "  ") << i;
    }
  }
  // Joined back, the bytes are all there in order.
  std::string joined = JoinContinued(text);
  std::string expected = "\"a fairly long value name\"=hex:";
  char hex[4];
  for (size_t i = 0; i < data.size(); ++i) {
    snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", (unsigned char)data[i]);
    expected += hex;
  }
  EXPECT_EQ(joined, expected);
}

TEST(RegFileFormat, NameLongerThanALineStartsItsBytesOnTheNext) {
  std::string name(120, 'n');
  std::string text = Value(name.c_str(), kRegExpandSz, std::string("ab", 3));
  EXPECT_EQ(text, "\"" + name + "\"=hex(2):\\\r\n  61,62,00\r\n");
  EXPECT_EQ(JoinContinued(text), "\"" + name + "\"=hex(2):61,62,00");
}

TEST(RegFileFormat, AFailedWriteStopsTheOutput) {
  int calls = 0;
  RegOutput out;
  InitRegOutput(&out, [](void* c, const char*, size_t) { ++*static_cast<int*>(c); return false; }, &calls);
  std::string big(5000, 'x');
  AppendRegValue(&out, "v", kRegSz, reinterpret_cast<const unsigned char*>(big.data()), big.size());
  AppendRegHeader(&out);
  EXPECT_FALSE(FlushRegOutput(&out));
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(out.failed);
}

TEST(RegFileFormat, NamesWithALineBreakAreRefusedWhole) {
  // A crafted name would otherwise add a line of its own to the file.
  const char* names[] = {"x\r\n@=hex(2):41,00", "a\nb", "a\rb", "\n"};
  for (const char* name : names) {
    std::string text;
    RegOutput out;
    InitRegOutput(&out, Collect, &text);
    EXPECT_FALSE(AppendRegValue(&out, name, kRegSz, reinterpret_cast<const unsigned char*>("v"), 2));
    EXPECT_FALSE(AppendRegSection(&out, "HKEY_CURRENT_USER", "Software", name));
    EXPECT_FALSE(AppendRegSection(&out, "HKEY_CURRENT_USER", name, nullptr));
    EXPECT_TRUE(FlushRegOutput(&out));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(IsRegFileName(name));
  }
  EXPECT_TRUE(IsRegFileName("tab\there \"quoted\" [x]"));
  EXPECT_TRUE(IsRegFileName(nullptr));
  EXPECT_EQ(Value("tab\tname", kRegSz, std::string("v\0", 2)), "\"tab\tname\"=\"v\"\r\n");
}

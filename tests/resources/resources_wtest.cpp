// The resources linked into TovrelEx.exe: string table, pictures, icons,
// version resource, event sound and the message dialog. The test program has
// none of them, so it maps TovrelEx.exe from its own folder as a data file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "resources/string_ids.h"
#include "tests/support/wine_support.h"

namespace {

HMODULE g_program = nullptr;

class Resources : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_program = LoadLibraryExA(testsupport::BinPath("TovrelEx.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (g_program) FreeLibrary(g_program);
    g_program = nullptr;
  }
  void SetUp() override { ASSERT_NE(g_program, nullptr) << "cannot map TovrelEx.exe"; }
};

// The string list: one "id<TAB>text<TAB>where" row per line after a header;
// "\n" and "\r" in a text stand for the control characters.
std::map<int, std::string> ReadStringList(bool* found) {
  std::map<int, std::string> rows;
  FILE* f = fopen(TOVREL_SHARED_DIR "/strings.tsv", "rb");
  *found = f != nullptr;
  if (!f) return rows;
  char line[4096];
  bool header = true;
  while (fgets(line, sizeof line, f)) {
    if (header) {
      header = false;
      continue;
    }
    std::string raw(line);
    while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r')) raw.pop_back();
    size_t tab = raw.find('\t');
    if (tab == std::string::npos) continue;
    size_t end = raw.find('\t', tab + 1);
    std::string escaped = raw.substr(tab + 1, end == std::string::npos ? std::string::npos : end - tab - 1);
    std::string text;
    for (size_t i = 0; i < escaped.size(); ++i) {
      if (escaped[i] == '\\' && i + 1 < escaped.size() && (escaped[i + 1] == 'n' || escaped[i + 1] == 'r')) {
        text += escaped[i + 1] == 'n' ? '\n' : '\r';
        ++i;
      } else {
        text += escaped[i];
      }
    }
    rows[atoi(raw.c_str())] = text;
  }
  fclose(f);
  return rows;
}

std::string LoadProgramString(int id) {
  char buf[4096];
  int n = LoadStringA(g_program, UINT(id), buf, sizeof buf);
  return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

BOOL CALLBACK CollectStringBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) static_cast<std::vector<int>*>((void*)param)->push_back(int(LOWORD(name)));
  return TRUE;
}

TEST_F(Resources, StringTableMatchesTheStringList) {
  bool found = false;
  std::map<int, std::string> list = ReadStringList(&found);
  if (!found) GTEST_SKIP() << "no string list at " TOVREL_SHARED_DIR "/strings.tsv";
  ASSERT_GT(list.size(), 100u);

  for (const auto& [id, text] : list) {
    std::string loaded = LoadProgramString(id);
    if (text.empty()) {
      EXPECT_FALSE(loaded.empty()) << "id " << id << " needs a text of our own";
    } else {
      EXPECT_EQ(loaded, text) << "id " << id;
    }
  }
  EXPECT_FALSE(LoadProgramString(1132).empty());

  // Nothing in the table that the list does not name, but for the program's
  // own messages (declared as such by the generator): each block holds the
  // 16 ids (block - 1) * 16 ... + 15.
  std::vector<int> blocks;
  EnumResourceNamesA(g_program, RT_STRING, CollectStringBlock, (LONG_PTR)&blocks);
  ASSERT_FALSE(blocks.empty());
  for (int block : blocks) {
    for (int id = (block - 1) * 16; id < block * 16; ++id) {
      if (!LoadProgramString(id).empty()) {
        bool own = std::find(std::begin(tov::kOwnTextIds), std::end(tov::kOwnTextIds), id) !=
                   std::end(tov::kOwnTextIds);
        EXPECT_TRUE(list.count(id) || own) << "stray string id " << id;
      }
    }
  }
}

// Raw header of a bitmap resource.
const BITMAPINFOHEADER* BitmapHeader(int id) {
  HRSRC found = FindResourceA(g_program, MAKEINTRESOURCEA(id), RT_BITMAP);
  if (!found || SizeofResource(g_program, found) < sizeof(BITMAPINFOHEADER)) return nullptr;
  return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(g_program, found)));
}

TEST_F(Resources, EveryPictureLoadsAsA24BitPicture) {
  const int ids[] = {IDB_HELP,       IDB_HELP_PRESSED, IDB_HELP_HOVER, IDB_MONITOR_OFF,
                     IDB_MONITOR_PRESSED, IDB_MONITOR_ON, IDB_MONITOR_REALTIME, IDB_COOKIE_1,
                     IDB_COOKIE_2,   IDB_COOKIE_3,     IDB_MESSAGE};
  for (int id : ids) {
    SCOPED_TRACE(id);
    const BITMAPINFOHEADER* header = BitmapHeader(id);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, DWORD(BI_RGB));
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 32);

    HBITMAP picture = LoadBitmapA(g_program, MAKEINTRESOURCEA(id));
    ASSERT_NE(picture, nullptr);
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 32);
    EXPECT_EQ(info.bmHeight, 32);
    DeleteObject(picture);
  }
  // The states of one button differ from each other.
  auto pixels = [](int id) {
    const BITMAPINFOHEADER* h = BitmapHeader(id);
    return std::string(reinterpret_cast<const char*>(h + 1), 32 * 32 * 3);
  };
  EXPECT_NE(pixels(IDB_HELP), pixels(IDB_HELP_PRESSED));
  EXPECT_NE(pixels(IDB_HELP), pixels(IDB_HELP_HOVER));
  EXPECT_NE(pixels(IDB_MONITOR_OFF), pixels(IDB_MONITOR_ON));
  EXPECT_NE(pixels(IDB_MONITOR_ON), pixels(IDB_MONITOR_REALTIME));
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(Resources, ProgramAndPageIconsHoldSmallAndLargeImages) {
  const int ids[] = {IDI_TOVREL,          IDI_PAGE_STARTUP,  IDI_PAGE_DELAYED_START, IDI_PAGE_IE_HELPERS,
                     IDI_PAGE_SCHEDULED_TASKS, IDI_PAGE_SERVICES, IDI_PAGE_ACTIVE_TASKS,
                     IDI_PAGE_COOKIES,    IDI_PAGE_FILE_TYPES, IDI_PAGE_HIDDEN_FILES, IDI_PAGE_OPTIONS};
  for (int id : ids) {
    SCOPED_TRACE(id);
    HRSRC found = FindResourceA(g_program, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(g_program, found)));
    WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    ASSERT_EQ(SizeofResource(g_program, found), 6u + count * sizeof(GroupIconEntry));
    const GroupIconEntry* entries = reinterpret_cast<const GroupIconEntry*>(dir + 6);
    // 16 and 32 pixels, each in a colour depth the 95 family can show.
    bool small8 = false, large8 = false;
    for (WORD i = 0; i < count; ++i) {
      EXPECT_NE(FindResourceA(g_program, MAKEINTRESOURCEA(entries[i].id), RT_ICON), nullptr);
      if (entries[i].bitCount <= 8) {
        small8 |= entries[i].width == 16;
        large8 |= entries[i].width == 32;
      }
    }
    EXPECT_TRUE(small8);
    EXPECT_TRUE(large8);

    for (int size : {16, 32}) {
      HICON icon = (HICON)LoadImageA(g_program, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
      ASSERT_NE(icon, nullptr) << size;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP mask{};
      GetObjectA(info.hbmMask, sizeof mask, &mask);
      EXPECT_EQ(mask.bmWidth, size);
      if (info.hbmColor) DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(icon);
    }
  }
  HICON icon = LoadIconA(g_program, MAKEINTRESOURCEA(IDI_TOVREL));
  EXPECT_NE(icon, nullptr);
}

TEST_F(Resources, VersionResourceNamesTheProduct) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(testsupport::BinPath("TovrelEx.exe").c_str(), &ignored);
  // Readers of version resources give up at 4096 bytes or more.
  ASSERT_GT(size, 0u);
  ASSERT_LT(size, 4096u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(testsupport::BinPath("TovrelEx.exe").c_str(), 0, size, block.data()));

  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);

  const struct {
    const char* name;
    const char* text;
  } fields[] = {{"ProductName", "Tovrel"},
                {"ProductVersion", "11.2.2007.1"},
                {"CompanyName", "Brenvik"},
                {"FileDescription", "Tovrel Explorer"},
                {"LegalCopyright", "Copyright (C) 2007 Brenvik"},
                {"FileVersion", "11.2.2007.1"}};
  for (const auto& field : fields) {
    char query[128];
    snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
             field.name);
    char* value = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), query, (void**)&value, &length)) << field.name;
    EXPECT_STREQ(value, field.text);
  }

  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&fixed, &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(2, 11)));
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(1, 2007)));
  EXPECT_EQ(fixed->dwProductVersionMS, DWORD(MAKELONG(2, 11)));
  EXPECT_EQ(fixed->dwProductVersionLS, DWORD(MAKELONG(1, 2007)));
}

DWORD ReadDword(const BYTE* p) { return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24; }
WORD ReadWord(const BYTE* p) { return WORD(p[0] | p[1] << 8); }

TEST_F(Resources, EventSoundIsAShortPcmWave) {
  HRSRC found = FindResourceA(g_program, MAKEINTRESOURCEA(IDW_EVENT_SOUND), "WAVE");
  ASSERT_NE(found, nullptr);
  DWORD size = SizeofResource(g_program, found);
  const BYTE* wave = static_cast<const BYTE*>(LockResource(LoadResource(g_program, found)));
  ASSERT_NE(wave, nullptr);
  ASSERT_GE(size, 44u);
  ASSERT_EQ(memcmp(wave, "RIFF", 4), 0);
  ASSERT_EQ(ReadDword(wave + 4) + 8, size);
  ASSERT_EQ(memcmp(wave + 8, "WAVE", 4), 0);

  // Walk the chunks: a PCM format chunk, then the samples.
  const BYTE* format = nullptr;
  const BYTE* data = nullptr;
  DWORD dataSize = 0;
  for (DWORD at = 12; at + 8 <= size;) {
    DWORD chunk = ReadDword(wave + at + 4);
    ASSERT_LE(at + 8 + chunk, size);
    if (memcmp(wave + at, "fmt ", 4) == 0 && chunk >= 16) format = wave + at + 8;
    if (memcmp(wave + at, "data", 4) == 0) {
      data = wave + at + 8;
      dataSize = chunk;
    }
    at += 8 + chunk + (chunk & 1);
  }
  ASSERT_NE(format, nullptr);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(ReadWord(format), WAVE_FORMAT_PCM);
  EXPECT_EQ(ReadWord(format + 2), 1);  // mono
  DWORD rate = ReadDword(format + 4);
  EXPECT_TRUE(rate == 8000 || rate == 11025) << rate;
  EXPECT_EQ(ReadDword(format + 8), rate);  // bytes per second
  EXPECT_EQ(ReadWord(format + 12), 1);     // block
  EXPECT_EQ(ReadWord(format + 14), 8);     // bits
  ASSERT_GT(dataSize, rate / 20);
  EXPECT_LE(dataSize, rate * 3 / 10);
  // Starts and ends at rest, so playing it does not click.
  EXPECT_NEAR(data[0], 128, 3);
  EXPECT_NEAR(data[dataSize - 1], 128, 3);
  int loudest = 0;
  for (DWORD i = 0; i < dataSize; ++i) loudest = std::max(loudest, abs(int(data[i]) - 128));
  EXPECT_GT(loudest, 20);
  EXPECT_LT(loudest, 127);  // soft: never clipped
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

RECT ScreenRect(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return r;
}

TEST_F(Resources, MessageDialogHoldsPictureTextAndOkApart) {
  HWND dialog = CreateDialogParamA(g_program, MAKEINTRESOURCEA(IDD_MESSAGE), nullptr, QuietDialog, 0);
  ASSERT_NE(dialog, nullptr);
  HWND picture = GetDlgItem(dialog, IDC_MESSAGE_PICTURE);
  HWND text = GetDlgItem(dialog, IDC_MESSAGE_TEXT);
  HWND ok = GetDlgItem(dialog, IDOK);
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & DS_MODALFRAME, DS_MODALFRAME);

  // No two controls overlap, and each lies inside the client area.
  HWND controls[] = {picture, text, ok};
  RECT client{};
  GetClientRect(dialog, &client);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
  for (int i = 0; i < 3; ++i) {
    RECT a = ScreenRect(controls[i]);
    RECT inside{};
    IntersectRect(&inside, &a, &client);
    EXPECT_TRUE(EqualRect(&inside, &a)) << "control " << i << " is clipped";
    for (int j = i + 1; j < 3; ++j) {
      RECT b = ScreenRect(controls[j]), both{};
      EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "controls " << i << " and " << j << " overlap";
    }
  }
  // The picture keeps its 32 pixels.
  RECT p = ScreenRect(picture);
  EXPECT_EQ(p.right - p.left, 32);
  EXPECT_EQ(p.bottom - p.top, 32);

  // The messages this dialog shows wrap within the text's box: a sentence of
  // about a hundred characters, and one with a leading blank line.
  const int longest[] = {24, 1130};
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(text, WM_GETFONT, 0, 0));
  RECT box{};
  GetClientRect(text, &box);
  for (int id : longest) {
    std::string message = LoadProgramString(id);
    ASSERT_FALSE(message.empty()) << id;
    RECT need = box;
    DrawTextA(dc, message.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(need.right, box.right) << id;
    EXPECT_LE(need.bottom, box.bottom) << id;
  }
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  DestroyWindow(dialog);
}

}  // namespace

// The full report built from a prefix seeded with hostile startup entries:
// the web page shows them only escaped, the text form holds no markup, the
// shell opens the file by its full path, and a Startup page that made a
// report still removes the entry the user selects. The web page and the
// text are copied beside the test programs for tests/reports/check_report.py.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/entries.h"
#include "core/settings.h"
#include "reports/reports.h"
#include "tests/support/fixtures.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"

using namespace testsupport;
using namespace tov;

namespace {

const char kUserRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kProgId[] = "TovTest.Report";
const std::string kLongTitle = "L" + std::string(125, 'o') + "g";  // 127 characters

// Hostile titles and commands: markup, ampersands, quotes, ANSI letters.
const char* const kSeeds[][2] = {
    {"</ol><script>alert(1)</script>", "C:\\windows\\notepad.exe /x"},
    {"Tom & Jerry's \"Agent\"", "C:\\windows\\it's \"here\".exe"},
    {"Caf\xe9 \xa9 Tool", "C:\\windows\\regedit.exe"},
};

// Opens the report's file types with the marker program, which writes its
// command line (and so the report's path) into a file.
class ReportAssociation {
  SavedValue html_{HKEY_CLASSES_ROOT, ".html", ""};
  SavedValue text_{HKEY_CLASSES_ROOT, ".txt", ""};
  SavedKey progId_{HKEY_CLASSES_ROOT, kProgId};

 public:
  std::string marker = TempFilePath("report_opened_") + Family() + ".txt";
  ReportAssociation() {
    DeleteFileA(marker.c_str());
    SetText(HKEY_CLASSES_ROOT, ".html", "", kProgId);
    SetText(HKEY_CLASSES_ROOT, ".txt", "", kProgId);
    SetText(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\shell\\open\\command", "",
            "\"" + BinPath("marker_writer.exe") + "\" \"%1\" " + marker);
  }
  ~ReportAssociation() { DeleteFileA(marker.c_str()); }
};

void SeedHostileEntries() {
  for (const auto& seed : kSeeds) SetText(HKEY_CURRENT_USER, kUserRun, seed[0], seed[1]);
  SetText(HKEY_CURRENT_USER, kUserRun, kLongTitle.c_str(), "C:\\windows\\notepad.exe /long");
}

std::string WrittenReport(ReportFormat format) {
  char path[MAX_PATH];
  if (!ReportPath(format, path, sizeof path) || !WriteFullReport(path, format)) return "";
  std::string copy = BinPath(("report_check_" + std::string(Family()) +
                              (format == kReportText ? ".txt" : ".html")).c_str());
  CopyFileA(path, copy.c_str(), FALSE);
  return ReadWholeFile(path);
}

class FullReportTest : public testing::Test {
 protected:
  SavedKey run_{HKEY_CURRENT_USER, kUserRun};
  ProgramResources program_;
  void SetUp() override {
    ClearProductKeys();
    SeedHostileEntries();
  }
};

TEST_F(FullReportTest, WebPageShowsHostileEntriesOnlyEscaped) {
  std::string page = WrittenReport(kReportWebPage);
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(page.find("<b>&lt;/ol&gt;&lt;script&gt;alert(1)&lt;/script&gt;</b>"), std::string::npos);
  EXPECT_NE(page.find("Tom &amp; Jerry&#39;s &quot;Agent&quot;"), std::string::npos);
  EXPECT_NE(page.find("<b>" + kLongTitle + "</b>"), std::string::npos);
  EXPECT_NE(page.find("Caf\xe9 \xa9 Tool"), std::string::npos);
  EXPECT_NE(page.find("charset=windows-"), std::string::npos);
  EXPECT_EQ(page.find('\x95'), std::string::npos);  // the bullet is an entity
  EXPECT_EQ(EntryCount(), 0);  // nothing of the last section is left to act on
}

TEST_F(FullReportTest, TextFormHasOneHeaderLineAndNoMarkup) {
  std::string text = WrittenReport(kReportText);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
            "Title\tProgram\tDescription\tVersion\tCopyright\tLocation\tPath\r\n");
  EXPECT_EQ(text.find("<br>"), std::string::npos);
  EXPECT_EQ(text.find("<li>"), std::string::npos);
  EXPECT_NE(text.find("\r\nTom & Jerry's \"Agent\"\t"), std::string::npos);
}

TEST_F(FullReportTest, ShellOpensTheReportByItsFullPath) {
  ReportAssociation association;
  const struct {
    int format;
    ReportFormat written;
  } rows[] = {{1, kReportText}, {7, kReportWebPage}};  // other values count as the web page
  for (const auto& row : rows) {
    SetSetting(kOptFormat, row.format);
    DeleteFileA(association.marker.c_str());
    FullReport(nullptr);
    char path[MAX_PATH];
    ASSERT_TRUE(ReportPath(row.written, path, sizeof path));
    EXPECT_TRUE(PathExists(path));
    EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(association.marker).find(path) != std::string::npos; },
                        10000))
        << path << " / " << ReadWholeFile(association.marker);
  }
  SetSetting(kOptFormat, 0);
}

class ReportFromPageTest : public SheetTest {
 protected:
  SavedKey run_{HKEY_CURRENT_USER, kUserRun};
};

TEST_F(ReportFromPageTest, RemoveAfterAReportActsOnTheSelectedEntry) {
  ReportAssociation association;
  SetText(HKEY_CURRENT_USER, kUserRun, "Report Alpha", "C:\\windows\\notepad.exe /r");
  SetText(HKEY_CURRENT_USER, kUserRun, "Report Zed", "C:\\windows\\regedit.exe /r");
  ASSERT_TRUE(program_.Open("-START"));
  HWND page = program_.page(), list = program_.list();
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "Report Zed") >= 0; }, 10000));

  ASSERT_TRUE(Click(page, 9, 120000));  // Full Report on the entry menu
  EXPECT_TRUE(WaitFor([&] { return PathExists(association.marker); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return FindRow(list, "Report Zed") >= 0; }, 10000));
  SelectRows(list, {FindRow(list, "Report Zed")});
  Press(page, 1003);  // Remove
  EXPECT_FALSE(AnswerMessageBox(program_.main(), IDYES).empty());
  EXPECT_TRUE(WaitFor([&] { return !HasValue(HKEY_CURRENT_USER, kUserRun, "Report Zed"); }, 5000));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kUserRun, "Report Alpha"));
  EXPECT_TRUE(program_.CloseByPage());
}

}  // namespace

#include "core/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "core/text.h"

using namespace tov;

namespace {

const char kWin[] = "C:\\WINDOWS";
const char kProgramFiles[] = "C:\\Program Files";

std::string Program(const char* command, const char* windows = kWin,
                    const char* programFiles = kProgramFiles) {
  char out[kPathCapacity];
  ProgramOfCommandIn(command, windows, programFiles, out, sizeof out);
  return out;
}

}  // namespace

// Commands as found in Run keys, services and running processes.
TEST(ProgramOfCommand, RealAutostartCommands) {
  struct { const char* command; const char* program; } rows[] = {
      {"\"C:\\Program Files (x86)\\AVG\\AVG2013\\avgui.exe\" /TRAYONLY",
       "C:\\PROGRAM FILES (X86)\\AVG\\AVG2013\\AVGUI.EXE"},
      {"\"c:\\Program Files\\Microsoft Security Client\\msseces.exe\" -hide -runkey",
       "C:\\PROGRAM FILES\\MICROSOFT SECURITY CLIENT\\MSSECES.EXE"},
      {"C:\\Users\\Ken Thorne\\AppData\\Local\\Discord\\Update.exe --processStart Discord.exe",
       "C:\\USERS\\KEN THORNE\\APPDATA\\LOCAL\\DISCORD\\UPDATE.EXE"},
      {"C:\\WINDOWS\\system32\\spool\\DRIVERS\\x64\\3\\E_YATILUE.EXE /EPT "
       "\"EPLTarget\\P0000000000000002\" /M \"L120 Series\"",
       "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\X64\\3\\E_YATILUE.EXE"},
      {"C:\\Users\\Ken Thorne\\AppData\\Local\\Programs\\nordpass\\NordPass.exe \"--hidden\"",
       "C:\\USERS\\KEN THORNE\\APPDATA\\LOCAL\\PROGRAMS\\NORDPASS\\NORDPASS.EXE"},
      {"C:\\ePOAgent\\FrameworkService.exe\" /ServiceStart", "C:\\EPOAGENT\\FRAMEWORKSERVICE.EXE"},
      {"C:\\PROGRA~1\\MOUSEW~1\\SYSTEM\\EM_EXEC.EXE", "C:\\PROGRA~1\\MOUSEW~1\\SYSTEM\\EM_EXEC.EXE"},
      {"C:\\PROGRA~2\\MICROS~1\\Office14\\GROOVEEX.DLL", "C:\\PROGRA~2\\MICROS~1\\OFFICE14\\GROOVEEX.DLL"},
      {"C:\\Program Files (x86)\\Google\\Chrome\\Application\\77.0.3865.120\\elevation_service.exe",
       "C:\\PROGRAM FILES (X86)\\GOOGLE\\CHROME\\APPLICATION\\77.0.3865.120\\ELEVATION_SERVICE.EXE"},
      {"C:\\Program Files\\Proton\\VPN\\ProtonVPN.Launcher.exe",
       "C:\\PROGRAM FILES\\PROTON\\VPN\\PROTONVPN.LAUNCHER.EXE"},
      {"D:\\ProgramFiles\\VisualStudio2015\\Common7\\IDE\\PrivateAssemblies\\"
       "Microsoft.VisualStudio.QualityTools.RecorderBarBHO100.dll",
       "D:\\PROGRAMFILES\\VISUALSTUDIO2015\\COMMON7\\IDE\\PRIVATEASSEMBLIES\\"
       "MICROSOFT.VISUALSTUDIO.QUALITYTOOLS.RECORDERBARBHO100.DLL"},
      {"C:\\Windows\\SysWOW64\\OneDriveSetup.exe /thfirstsetup",
       "C:\\WINDOWS\\SYSWOW64\\ONEDRIVESETUP.EXE"},
      {"Nick\\AppData\\Roaming\\Dropbox\\bin\\Dropbox.exe",
       "NICK\\APPDATA\\ROAMING\\DROPBOX\\BIN\\DROPBOX.EXE"},
      {"ctfmon.exe", "CTFMON.EXE"},
      // No program extension: the whole command, upper case.
      {"C:\\Program Files (x86)\\LibreOffice 3.4\\program\\soffice.bin",
       "C:\\PROGRAM FILES (X86)\\LIBREOFFICE 3.4\\PROGRAM\\SOFFICE.BIN"},
      {"C:\\WINDOWS\\system32\\ibtsiva", "C:\\WINDOWS\\SYSTEM32\\IBTSIVA"},
  };
  for (auto& r : rows) {
    EXPECT_EQ(Program(r.command), r.program) << r.command;
    // The file to open is the same program in the command's own letters.
    char file[kPathCapacity];
    ProgramFileOfCommandIn(r.command, kWin, kProgramFiles, file, sizeof file);
    EXPECT_TRUE(EqualsNoCase(file, r.program)) << r.command;
    EXPECT_TRUE(FindNoCase(r.command, file) < 0 || strstr(r.command, file)) << r.command;
  }
}

TEST(ProgramOfCommand, RundllWithoutDriveLetterGivesRundll) {
  EXPECT_EQ(Program("rundll32.exe bthprops.cpl,,BluetoothAuthenticationAgent"), "RUNDLL32.EXE");
  EXPECT_EQ(Program("Rundll32.exe C:\\Windows\\system32\\CCDiskHook.dll,InstallExplorerHooks"),
            "RUNDLL32.EXE");
}

TEST(ProgramOfCommand, ProgramFilesReferenceUsesTheGivenFolder) {
  EXPECT_EQ(Program("%ProgramFiles%\\Windows Sidebar\\Sidebar.exe /autoRun"),
            "C:\\PROGRAM FILES\\WINDOWS SIDEBAR\\SIDEBAR.EXE");
  EXPECT_EQ(Program("%programfiles%\\Windows Mail\\wab.exe /Upgrade", kWin, "D:\\Apps"),
            "D:\\APPS\\WINDOWS MAIL\\WAB.EXE");
  // Where it stands, not only at the start.
  EXPECT_EQ(Program("@%ProgramFiles%\\Windows Defender\\MpAsDesc.dll,-320"),
            "C:\\PROGRAM FILES\\WINDOWS DEFENDER\\MPASDESC.DLL");
  EXPECT_EQ(Program("\"%ProgramFiles%\\A B\\c.exe\" /x"), "C:\\PROGRAM FILES\\A B\\C.EXE");
}

TEST(ProgramOfCommand, SystemRootFormsUseTheWindowsFolder) {
  EXPECT_EQ(Program("\\SystemRoot\\System32\\smss.exe"), "C:\\WINDOWS\\SYSTEM32\\SMSS.EXE");
  EXPECT_EQ(Program("%SystemRoot%\\System32\\svchost.exe -k netsvcs"),
            "C:\\WINDOWS\\SYSTEM32\\SVCHOST.EXE");
  EXPECT_EQ(Program("@%systemroot%\\system32\\Alg.exe,-112"), "C:\\WINDOWS\\SYSTEM32\\ALG.EXE");
  EXPECT_EQ(Program("\"%SystemRoot%\\a b\\x.exe\""), "C:\\WINDOWS\\A B\\X.EXE");
  EXPECT_EQ(Program("%SystemRoot%\\x.exe", "C:\\"), "C:\\X.EXE");
  // The word inside another name, or too short to hold the reference.
  EXPECT_EQ(Program("C:\\Tools\\SystemRootkit\\scan.exe"), "C:\\TOOLS\\SYSTEMROOTKIT\\SCAN.EXE");
  EXPECT_EQ(Program("SystemRoot"), "SYSTEMROOT");
  EXPECT_EQ(Program("%SystemRoot"), "%SYSTEMROOT");
}

TEST(ProgramOfCommand, QuotedPathWithoutProgramExtensionEndsAtItsQuote) {
  EXPECT_EQ(Program("\"C:\\x\\setup.bat\" /q"), "C:\\X\\SETUP.BAT");
  EXPECT_EQ(Program("  \"ctfmon.exe\" /n"), "CTFMON.EXE");
  EXPECT_EQ(Program("\"unterminated"), "UNTERMINATED");
}

TEST(ProgramOfCommand, ExtensionAtTheEndIsNotReadPast) {
  EXPECT_EQ(Program("C:\\A.E"), "C:\\A.E");
  EXPECT_EQ(Program("C:\\A.EX"), "C:\\A.EX");
  EXPECT_EQ(Program("C:\\A."), "C:\\A.");
  EXPECT_EQ(Program("\"C:\\A.XL\" x"), "C:\\A.XL");
  EXPECT_EQ(Program("C:\\A.EXEC"), "C:\\A.EXE");
  EXPECT_EQ(Program("C:\\Data\\log.txt"), "C:\\DATA\\LOG.TXT");  // X second: a program extension
}

TEST(ProgramOfCommand, StartsAtTheDriveLetterOfTheLastColon) {
  EXPECT_EQ(Program("start C:\\a.exe"), "C:\\A.EXE");
  EXPECT_EQ(Program(":x.exe"), ":X.EXE");
  EXPECT_EQ(Program(""), "");
}

TEST(ProgramOfCommand, OverLongTextIsCutAndReported) {
  std::string command = "C:\\" + std::string(300, 'a') + ".exe";
  char out[kPathCapacity];
  EXPECT_FALSE(ProgramOfCommandIn(command.c_str(), kWin, kProgramFiles, out, sizeof out));
  EXPECT_EQ(strlen(out), kPathCapacity - 1);
  // A long Windows folder spliced into a long command stays bounded too.
  std::string windows = "C:\\" + std::string(258, 'w');
  std::string longer = "%SystemRoot%\\" + std::string(1100, 'b') + ".exe";
  EXPECT_FALSE(ProgramOfCommandIn(longer.c_str(), windows.c_str(), kProgramFiles, out, sizeof out));
  EXPECT_EQ(strlen(out), kPathCapacity - 1);
  char exact[11];
  EXPECT_TRUE(ProgramOfCommandIn("C:\\abc.exe", kWin, kProgramFiles, exact, sizeof exact));
  EXPECT_STREQ(exact, "C:\\ABC.EXE");
  EXPECT_FALSE(ProgramOfCommandIn("C:\\abcd.exe", kWin, kProgramFiles, exact, sizeof exact));
  EXPECT_FALSE(ProgramOfCommandIn("C:\\a.exe", kWin, kProgramFiles, exact, 0));
}

// Every command and service text of the corpus stays within the path
// capacity, upper case, and never starts with a quote.
TEST(ProgramOfCommand, WholeCorpusGivesBoundedUpperCasePaths) {
  std::ifstream corpus(TOVREL_SHARED_DIR "/corpus/autostart.tsv");
  ASSERT_TRUE(corpus.good());
  std::string line;
  int commands = 0;
  while (std::getline(corpus, line)) {
    size_t tab = 0;
    for (int column = 0; column < 4 && tab != std::string::npos; ++column)
      tab = line.find('\t', tab + 1);
    if (tab == std::string::npos) continue;
    std::string rest = line.substr(tab + 1);
    for (const std::string& command : {rest.substr(0, rest.find('\t')),
                                       rest.substr(rest.find('\t') + 1)}) {
      std::string program = Program(command.c_str());
      ++commands;
      EXPECT_LT(program.size(), kPathCapacity);
      for (char c : program) EXPECT_FALSE(c >= 'a' && c <= 'z') << command;
      if (!program.empty()) {
        EXPECT_NE(program[0], '"') << command;
      }
      if (command.size() > 2 && command[1] == ':' && FindNoCase(command.c_str(), ".exe") > 0) {
        EXPECT_NE(FindNoCase(program.c_str(), ".EXE"), -1) << command;
      }
    }
  }
  EXPECT_GT(commands, 500);
}

TEST(NoteFileName, ProgramNameWithoutExtension) {
  struct { const char* command; const char* name; } rows[] = {
      {"\"C:\\Program Files\\Foo\\foo.exe\" /x", "note_FOO.txt"},
      {"rundll32.exe x.dll,Entry", "note_RUNDLL32.txt"},
      {"%ProgramFiles%\\Windows Sidebar\\Sidebar.exe /autoRun", "note_SIDEBAR.txt"},
      {"C:\\WINDOWS\\system32\\ibtsiva", "note_IBT.txt"},  // last four characters go
      {"C:\\x\\ab", "note_AB.txt"},                         // too short to lose four
      {"C:\\x\\a=b.exe", "note_A=B.txt"},                   // "=" kept: ":" is no file name
  };
  char out[kPathCapacity];
  for (auto& r : rows) {
    EXPECT_TRUE(NoteFileName(r.command, kWin, kProgramFiles, out, sizeof out)) << r.command;
    EXPECT_STREQ(out, r.name) << r.command;
  }
}

TEST(NoteFileName, NoProgramOrNoRoomGivesNothing) {
  char out[13];
  EXPECT_FALSE(NoteFileName("", kWin, kProgramFiles, out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(NoteFileName("C:\\", kWin, kProgramFiles, out, sizeof out));
  EXPECT_TRUE(NoteFileName("C:\\foo.exe", kWin, kProgramFiles, out, sizeof out));  // exact fit
  EXPECT_STREQ(out, "note_FOO.txt");
  EXPECT_FALSE(NoteFileName("C:\\fooo.exe", kWin, kProgramFiles, out, sizeof out));
  EXPECT_STREQ(out, "");
}

TEST(FileNameOf, TextAfterTheLastBackslash) {
  char out[16];
  EXPECT_EQ(FileNameOf("C:\\WINDOWS\\notepad.exe", out), 11u);
  EXPECT_STREQ(out, "notepad.exe");
  EXPECT_EQ(FileNameOf("notepad.exe", out), 0u);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(FileNameOf("C:\\WINDOWS\\", out), 0u);
  char small[4];
  EXPECT_EQ(FileNameOf("C:\\abc", small), 3u);  // exact fit
  EXPECT_EQ(FileNameOf("C:\\abcd", small), 0u);
  EXPECT_STREQ(small, "");
}

TEST(FolderPartOf, TextBeforeTheLastBackslash) {
  char out[32];
  EXPECT_EQ(FolderPartOf("C:\\WINDOWS\\notepad.exe", out, sizeof out), 10u);
  EXPECT_STREQ(out, "C:\\WINDOWS");
  EXPECT_EQ(FolderPartOf("C:\\boot.ini", out, sizeof out), 3u);
  EXPECT_STREQ(out, "C:\\");
  EXPECT_EQ(FolderPartOf("\\\\server\\share\\f.txt", out, sizeof out), 14u);
  EXPECT_STREQ(out, "\\\\server\\share");
  EXPECT_EQ(FolderPartOf("notepad.exe", out, sizeof out), 0u);
  EXPECT_EQ(FolderPartOf("\\x", out, sizeof out), 0u);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(FolderPartOf("C:\\ab\\c", out, 6), 5u);  // exact fit
  EXPECT_EQ(FolderPartOf("C:\\ab\\c", out, 5), 0u);
  EXPECT_STREQ(out, "");
}

TEST(NoteFileName, NameStaysInsideTheDataFolder) {
  struct { const char* command; const char* name; } rows[] = {
      {"C:\\x/../../../../Windows/Temp/evil.exe", "note_EVIL.txt"},
      {"C:\\a\\b/c.exe", "note_C.txt"},
      {"cmd /c start x.exe", "note_C START X.txt"},
      {"?", "note__.txt"},
      {"C:\\x\\a<b>|\"c.exe", "note_A_B___C.txt"},
      {"C:\\x\\tab\there.exe", "note_TAB_HERE.txt"},
  };
  char out[kPathCapacity];
  for (auto& r : rows) {
    EXPECT_TRUE(NoteFileName(r.command, kWin, kProgramFiles, out, sizeof out)) << r.command;
    EXPECT_STREQ(out, r.name) << r.command;
  }
  // Nothing but dots or blanks names no file.
  EXPECT_FALSE(NoteFileName("C:\\x\\..", kWin, kProgramFiles, out, sizeof out));
  EXPECT_FALSE(NoteFileName("C:\\x/  ", kWin, kProgramFiles, out, sizeof out));
}

TEST(ProgramOfCommand, SystemRootOnlyAsAWholeFolderName) {
  EXPECT_EQ(Program("\\SystemRootBackup\\tool.exe"), "\\SYSTEMROOTBACKUP\\TOOL.EXE");
  EXPECT_EQ(Program("\\SystemRoot"), "C:\\WINDOWS");
  EXPECT_EQ(Program("\"\\SystemRoot\\x.exe\""), "C:\\WINDOWS\\X.EXE");
}

// Text rules of the startup enumeration against commands transcribed from
// real machines (the autostart corpus) and against hostile edges.
#include "startup/command_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace tov;

namespace {

struct Split {
  std::string program;
  std::string parameters;
  size_t consumed;
};

Split SplitOf(const char* command, const char* windows = "C:\\WINDOWS") {
  char program[260];
  char parameters[260];
  size_t consumed = SplitCommandText(command, windows, program, sizeof program, parameters,
                                     sizeof parameters);
  return {program, parameters, consumed};
}

std::string Stripped(const char* command, int* flag) {
  char out[256];
  *flag = StripRunDll(command, out);
  return out;
}

}  // namespace

TEST(StripRunDll, CorpusRunDllFormsLoseTheirHead) {
  int flag = 0;
  EXPECT_EQ(Stripped("C:\\WINDOWS\\rundll32.exe C:\\Agent\\agent.dll,Start", &flag),
            "C:\\Agent\\agent.dll,Start");
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(Stripped("rundll32.exe bthprops.cpl,,BluetoothAuthenticationAgent", &flag),
            "bthprops.cpl,,BluetoothAuthenticationAgent");
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(Stripped("Rundll32.exe C:\\Windows\\system32\\CCDiskHook.dll,InstallExplorerHooks",
                     &flag),
            "C:\\Windows\\system32\\CCDiskHook.dll,InstallExplorerHooks");
  EXPECT_EQ(flag, 1);
  // A quoted RunDLL32 path leaves neither its quote nor the blank behind.
  EXPECT_EQ(Stripped("\"C:\\WINDOWS\\system32\\RUNDLL32.EXE\" shell32.dll,Control_RunDLL", &flag),
            "shell32.dll,Control_RunDLL");
  EXPECT_EQ(flag, 1);
}

TEST(StripRunDll, OtherCommandsStayAsTheyAre) {
  int flag = 1;
  EXPECT_EQ(Stripped("\"C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE\" /STANDALONE",
                     &flag),
            "\"C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE\" /STANDALONE");
  EXPECT_EQ(flag, 0);
  // Letters that happen to stand as R?N?L?3 are no RunDLL32 head.
  EXPECT_EQ(Stripped("C:\\RUNOLD3\\tool.exe", &flag), "C:\\RUNOLD3\\tool.exe");
  EXPECT_EQ(flag, 0);
  // The folder matches R?N?L?3 before the real head: the head still wins.
  EXPECT_EQ(Stripped("C:\\RUNOLD3\\rundll32.exe x.dll,Go", &flag), "x.dll,Go");
  EXPECT_EQ(flag, 1);
}

TEST(StripRunDll, HeadAtTheEndGivesEmptyText) {
  int flag = 0;
  EXPECT_EQ(Stripped("rundll32.exe", &flag), "");
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(Stripped("\"rundll32.exe\"", &flag), "");
  EXPECT_EQ(Stripped("", &flag), "");
  EXPECT_EQ(flag, 0);
  char tiny[4];
  EXPECT_EQ(StripRunDll("rundll32.exe abcdef", tiny), 1);
  EXPECT_STREQ(tiny, "abc");
}

TEST(SplitCommandText, QuotedProgramsWithArguments) {
  Split s = SplitOf("\"C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE\" /STANDALONE");
  EXPECT_EQ(s.program, "C:\\PROGRAM FILES\\MCAFEE\\VIRUSSCAN ENTERPRISE\\SHSTAT.EXE");
  EXPECT_EQ(s.parameters, " /STANDALONE");
  s = SplitOf("\"D:\\Installations\\Diagnostic\\TightVNC\\WinVNC.exe\" -servicehelper");
  EXPECT_EQ(s.program, "D:\\INSTALLATIONS\\DIAGNOSTIC\\TIGHTVNC\\WINVNC.EXE");
  EXPECT_EQ(s.parameters, " -servicehelper");
  s = SplitOf("\"C:\\Program Files (x86)\\Adobe\\Reader 9.0\\Reader\\Reader_sl.exe\"");
  EXPECT_EQ(s.program, "C:\\PROGRAM FILES (X86)\\ADOBE\\READER 9.0\\READER\\READER_SL.EXE");
  EXPECT_EQ(s.parameters, "");
  EXPECT_EQ(s.consumed, strlen("\"C:\\Program Files (x86)\\Adobe\\Reader 9.0\\Reader\\Reader_sl.exe\""));
}

TEST(SplitCommandText, UnquotedProgramsWithBlanksAndArguments) {
  Split s = SplitOf("C:\\Program Files (x86)\\Logitech\\LWS\\Webcam Software\\LWS.exe -hide");
  EXPECT_EQ(s.program, "C:\\PROGRAM FILES (X86)\\LOGITECH\\LWS\\WEBCAM SOFTWARE\\LWS.EXE");
  EXPECT_EQ(s.parameters, " -hide");
  s = SplitOf("C:\\Users\\Ken Thorne\\AppData\\Local\\Discord\\Update.exe --processStart Discord.exe");
  EXPECT_EQ(s.program, "C:\\USERS\\KEN THORNE\\APPDATA\\LOCAL\\DISCORD\\UPDATE.EXE");
  EXPECT_EQ(s.parameters, " --processStart Discord.exe");
  // Dots inside folder names do not end the program.
  s = SplitOf("C:\\Users\\paulp\\AppData\\Local\\Programs\\Opera\\assistant\\browser_assistant.exe");
  EXPECT_EQ(s.program,
            "C:\\USERS\\PAULP\\APPDATA\\LOCAL\\PROGRAMS\\OPERA\\ASSISTANT\\BROWSER_ASSISTANT.EXE");
  s = SplitOf("C:\\Program Files\\Google\\Drive File Stream\\88.0.0.0\\GoogleDriveFS.exe --startup_mode");
  EXPECT_EQ(s.program, "C:\\PROGRAM FILES\\GOOGLE\\DRIVE FILE STREAM\\88.0.0.0\\GOOGLEDRIVEFS.EXE");
  EXPECT_EQ(s.parameters, " --startup_mode");
  s = SplitOf("C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\E_YATII3E.EXE /EPT \"EPLTarget\\P0000000000000000\" /M \"L110 Series\"");
  EXPECT_EQ(s.program, "C:\\WINDOWS\\SYSTEM32\\SPOOL\\DRIVERS\\X64\\3\\E_YATII3E.EXE");
  EXPECT_EQ(s.parameters, " /EPT \"EPLTarget\\P0000000000000000\" /M \"L110 Series\"");
}

TEST(SplitCommandText, ControlPanelAndLibraryEndings) {
  Split s = SplitOf("rundll32.exe bthprops.cpl,,BluetoothAuthenticationAgent");
  EXPECT_EQ(s.program, "RUNDLL32.EXE");
  EXPECT_EQ(s.parameters, " bthprops.cpl,,BluetoothAuthenticationAgent");
  s = SplitOf("bthprops.cpl,,BluetoothAuthenticationAgent");
  EXPECT_EQ(s.program, "BTHPROPS.CPL");
  EXPECT_EQ(s.parameters, ",,BluetoothAuthenticationAgent");
  s = SplitOf("C:\\Agent\\agent.dll,Start");
  EXPECT_EQ(s.program, "C:\\AGENT\\AGENT.DLL");
  EXPECT_EQ(s.parameters, ",Start");
  s = SplitOf("ctfmon.exe");
  EXPECT_EQ(s.program, "CTFMON.EXE");
  EXPECT_EQ(s.parameters, "");
  EXPECT_EQ(s.consumed, 10u);
}

TEST(SplitCommandText, SystemRootOnlyAsAWholeFolderName) {
  Split s = SplitOf("\\SystemRootBackup\\tool.exe /x");
  EXPECT_EQ(s.program, "\\SYSTEMROOTBACKUP\\TOOL.EXE");
  EXPECT_EQ(s.parameters, " /x");
  s = SplitOf("\"\\SystemRoot\\tool.exe\" /x");
  EXPECT_EQ(s.program, "C:\\WINDOWS\\TOOL.EXE");
  EXPECT_EQ(s.parameters, " /x");
}

TEST(SplitCommandText, SystemRootBecomesTheWindowsFolder) {
  Split s = SplitOf("%SystemRoot%\\system32\\ctfmon.exe /n");
  EXPECT_EQ(s.program, "C:\\WINDOWS\\SYSTEM32\\CTFMON.EXE");
  EXPECT_EQ(s.parameters, " /n");
  EXPECT_EQ(s.consumed, strlen("%SystemRoot%\\system32\\ctfmon.exe"));
  s = SplitOf("\\SystemRoot\\System32\\smss.exe", "C:\\WINNT");
  EXPECT_EQ(s.program, "C:\\WINNT\\SYSTEM32\\SMSS.EXE");
  EXPECT_EQ(s.parameters, "");
  // A Windows folder given with its backslash does not double it.
  s = SplitOf("%SystemRoot%\\notepad.exe x", "D:\\");
  EXPECT_EQ(s.program, "D:\\NOTEPAD.EXE");
  EXPECT_EQ(s.parameters, " x");
  // Program-files references are not this scan's business.
  s = SplitOf("%ProgramFiles%\\Windows Sidebar\\Sidebar.exe /autoRun");
  EXPECT_EQ(s.program, "%PROGRAMFILES%\\WINDOWS SIDEBAR\\SIDEBAR.EXE");
  EXPECT_EQ(s.parameters, " /autoRun");
}

TEST(SplitCommandText, CommandsWithoutProgramEnding) {
  Split s = SplitOf("C:\\tools\\agent");
  EXPECT_EQ(s.program, "C:\\TOOLS\\AGENT");
  EXPECT_EQ(s.parameters, "");
  EXPECT_EQ(s.consumed, strlen("C:\\tools\\agent"));
  s = SplitOf("");
  EXPECT_EQ(s.program, "");
  EXPECT_EQ(s.consumed, 0u);
  // An unterminated quote runs to the end.
  s = SplitOf("\"C:\\a b\\c");
  EXPECT_EQ(s.program, "C:\\A B\\C");
  EXPECT_EQ(s.parameters, "");
  // A dot at the very end, and an extension cut short.
  s = SplitOf("C:\\x.");
  EXPECT_EQ(s.program, "C:\\X.");
  s = SplitOf("C:\\x.ex");
  EXPECT_EQ(s.program, "C:\\X.EX");
  EXPECT_EQ(s.parameters, "");
}

TEST(SplitCommandText, SmallBuffersAreCutNotOverrun) {
  char program[8];
  char parameters[4];
  size_t consumed = SplitCommandText("C:\\Agent\\agent.exe /quiet", "C:\\WINDOWS", program,
                                     sizeof program, parameters, sizeof parameters);
  EXPECT_EQ(consumed, strlen("C:\\Agent\\agent.exe"));
  EXPECT_STREQ(program, "C:\\AGEN");
  EXPECT_STREQ(parameters, " /q");
  EXPECT_EQ(SplitCommandText("x.exe", "C:\\WINDOWS", nullptr, 0, nullptr, 0), 5u);
}

TEST(WinlogonValues, UserinitForms) {
  char out[260];
  EXPECT_TRUE(UserinitProgram("C:\\WINDOWS\\system32\\userinit.exe,", out, sizeof out));
  EXPECT_STREQ(out, "C:\\WINDOWS\\system32\\userinit.exe");
  EXPECT_TRUE(UserinitProgram("userinit.exe,agent.exe", out, sizeof out));
  EXPECT_STREQ(out, "agent.exe");
  EXPECT_TRUE(UserinitProgram("C:\\WINDOWS\\system32\\userinit.exe,   C:\\x\\wsaupdater.exe,", out,
                              sizeof out));
  EXPECT_STREQ(out, "C:\\x\\wsaupdater.exe,");
  EXPECT_FALSE(UserinitProgram("C:\\WINDOWS\\system32\\userinit.exe", out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(UserinitProgram("", out, sizeof out));  // the corpus' empty Userinit
  EXPECT_TRUE(UserinitProgram(",", out, sizeof out));
  EXPECT_STREQ(out, "");
}

TEST(WinlogonValues, ShellForms) {
  char out[260];
  EXPECT_TRUE(ShellProgram("Explorer.exe", out, sizeof out));
  EXPECT_STREQ(out, "Explorer.exe");
  EXPECT_TRUE(ShellProgram("Explorer.exe ", out, sizeof out));
  EXPECT_STREQ(out, "Explorer.exe");
  EXPECT_TRUE(ShellProgram("Explorer.exe   agent.exe", out, sizeof out));
  EXPECT_STREQ(out, "agent.exe");
  EXPECT_FALSE(ShellProgram("", out, sizeof out));
  char tiny[5];
  EXPECT_TRUE(ShellProgram("Explorer.exe", tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "Expl");
}

TEST(AppInitList, TokensEndAtCommaOrBlankAndEmptyOnesAreSkipped) {
  const char* list = ",a.dll, b.dll  c.dll,";
  std::vector<std::string> got;
  size_t pos = 0;
  char token[260];
  while (NextAppInitDll(list, &pos, token, sizeof token)) got.push_back(token);
  EXPECT_EQ(got, (std::vector<std::string>{"a.dll", "b.dll", "c.dll"}));
  EXPECT_FALSE(NextAppInitDll(list, &pos, token, sizeof token));
  pos = 0;
  EXPECT_FALSE(NextAppInitDll("  , ,", &pos, token, sizeof token));
  pos = 0;
  EXPECT_FALSE(NextAppInitDll("", &pos, token, sizeof token));
  pos = 99;  // beyond the end
  EXPECT_FALSE(NextAppInitDll("a.dll", &pos, token, sizeof token));
  pos = 0;
  ASSERT_TRUE(NextAppInitDll("C:\\WINDOWS\\system32\\i042laho1d4c.dll", &pos, token, 8));
  EXPECT_STREQ(token, "C:\\WIND");
}

TEST(RunValueRules, ShortNamesShortDataAndHighBytesAreNotListed) {
  EXPECT_TRUE(IsListedRunValue("ctfmon.exe", "ctfmon.exe"));
  EXPECT_TRUE(IsListedRunValue("MS", "x.exe"));
  EXPECT_FALSE(IsListedRunValue("M", "C:\\x\\agent.exe"));
  EXPECT_FALSE(IsListedRunValue("ASRXTURUNNING", "0"));  // corpus RunOnce row
  EXPECT_FALSE(IsListedRunValue("Agent", "a.ex"));
  EXPECT_TRUE(IsListedRunValue("Agent", "a.exe"));
  EXPECT_FALSE(IsListedRunValue("\xC4gent", "C:\\x\\agent.exe"));
  EXPECT_FALSE(IsListedRunValue("", ""));
}

TEST(RunValueRules, RepeatedPairIsRecognisedWithoutCase) {
  RunValuePair pair;
  ForgetRunValue(&pair);
  EXPECT_TRUE(IsRepeatedRunValue(pair, "", ""));
  EXPECT_FALSE(IsRepeatedRunValue(pair, "ctfmon.exe", "ctfmon.exe"));
  RememberRunValue(&pair, "ctfmon.exe", "C:\\WINDOWS\\system32\\ctfmon.exe");
  EXPECT_TRUE(IsRepeatedRunValue(pair, "CTFMON.EXE", "c:\\windows\\SYSTEM32\\ctfmon.exe"));
  EXPECT_FALSE(IsRepeatedRunValue(pair, "ctfmon.exe", "ctfmon.exe"));
  EXPECT_FALSE(IsRepeatedRunValue(pair, "ctfmon", "C:\\WINDOWS\\system32\\ctfmon.exe"));
  std::string longest(kRunDataBytes, 'd');
  RememberRunValue(&pair, "n", longest.c_str());
  EXPECT_TRUE(IsRepeatedRunValue(pair, "N", longest.c_str()));
}

// Every Run and RunOnce row of the corpus: the split gives back the
// command's own rest, and only RunDLL32 rows lose a head.
TEST(CorpusRows, EveryRunCommandSplitsConsistently) {
  std::ifstream in(std::string(TOVREL_SHARED_DIR) + "/corpus/autostart.tsv");
  ASSERT_TRUE(in.good());
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) cols.push_back(col);
    if (cols.size() < 6 || (cols[1] != "run" && cols[1] != "runonce")) continue;
    const std::string& data = cols[5];
    ++rows;
    Split s = SplitOf(data.c_str());
    ASSERT_LE(s.consumed, data.size()) << data;
    EXPECT_EQ(s.parameters, data.substr(s.consumed)) << data;
    if (!data.empty() && data != "0") {
      EXPECT_FALSE(s.program.empty()) << data;
      EXPECT_EQ(s.program.find('"'), std::string::npos) << data;
    }
    int flag = 0;
    std::string stripped = Stripped(data.c_str(), &flag);
    bool runDll = data.find("undll32") != std::string::npos;
    EXPECT_EQ(flag, runDll ? 1 : 0) << data;
    if (!runDll) {
      EXPECT_EQ(stripped, data);
    }
  }
  EXPECT_GT(rows, 50);
}

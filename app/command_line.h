// Command-line switches and page commands of TovrelEx. Portable: no Windows
// headers, so the switch rules are tested natively.
#pragma once

namespace tov {

// Page commands carried in WM_COMMAND to the main window. A second start of
// the program posts them to the first, so the numbers are fixed.
enum PageCommand : int {
  kCmdStartup = 6026,
  kCmdCookies = 6028,
  kCmdActiveTasks = 6029,
  kCmdClose = 6030,
  kCmdToggleAutoStart = 6031,
  kCmdOptions = 6033,
  kCmdRestartCommands = 6034,
  kCmdServices = 6038,
  kCmdScheduledTasks = 6039,
  kCmdIEHelpers = 6040,
  kCmdFileTypes = 6042,
  kCmdViewCookies = 6045,
  kCmdMonitor = 6046,
  kCmdBlacklist = 6047,
  kCmdExitRequest = 6048,
  kCmdHiddenFiles = 6052,
  kCmdDelayedStart = 6055,
};

constexpr int kFirstPageCommand = 6026;

struct CommandLineChoice {
  int command;        // page command to open (or 6030 with quiet)
  bool startMonitor;  // "-START" matched
  bool removal;       // "-remove" or "-repair" matched
  bool quiet;         // "-Q" matched
};

// The page command used when no switch matches: the stored "StartTab",
// or 6055 when it is below the first page command.
int DefaultPageCommand(int storedStartTab);

// Applies the switch table in order to cmdLine; every matching switch
// replaces the command chosen so far, so the last one wins. A command line
// longer than 772 characters matches no switch.
CommandLineChoice ParseCommandLine(const char* cmdLine, int storedStartTab);

// True for the ids the main window turns into an open sheet.
bool IsPageCommand(int id);

}  // namespace tov

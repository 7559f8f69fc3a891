// The page commands: the ids of the sheet's pages and of the other commands
// the main window takes. Portable: no Windows headers.
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

}  // namespace tov

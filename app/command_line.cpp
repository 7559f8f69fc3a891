#include "app/command_line.h"

#include "core/text.h"

namespace tov {

namespace {

enum SwitchEffect { kPage, kPageAndMonitor, kRemoval, kQuiet };

struct SwitchRow {
  const char* text;
  int command;
  SwitchEffect effect;
};

// Tested in this order; the last matching row wins.
const SwitchRow kSwitches[] = {
    {"-START", kCmdStartup, kPageAndMonitor},
    {"-SERVICE", kCmdServices, kPage},
    {"-BHO", kCmdIEHelpers, kPage},
    {"-COOKIE", kCmdViewCookies, kPage},
    {"-NUT", kCmdCookies, kPage},
    {"-OPTION", kCmdOptions, kPage},
    {"-SCHEDULE", kCmdScheduledTasks, kPage},
    {"-TASK", kCmdActiveTasks, kPage},
    {"-DELAY", kCmdDelayedStart, kPage},
    {"-FILETYPE", kCmdFileTypes, kPage},
    {"-HIDDEN", kCmdHiddenFiles, kPage},
    {"-MONITOR", kCmdMonitor, kPage},
    {"-BLACKLIST", kCmdBlacklist, kPage},
    {"-EXIT", kCmdExitRequest, kPage},
    {"-RESTART", kCmdStartup, kPage},
    {"-remove", 0, kRemoval},
    {"-repair", 0, kRemoval},
    {"-Q", kCmdClose, kQuiet},
};

}  // namespace

int DefaultPageCommand(int storedStartTab) {
  return storedStartTab < kFirstPageCommand ? kCmdDelayedStart : storedStartTab;
}

CommandLineChoice ParseCommandLine(const char* cmdLine, int storedStartTab) {
  CommandLineChoice c{DefaultPageCommand(storedStartTab), false, false, false};
  if (cmdLine == nullptr || *cmdLine == 0) return c;
  for (const SwitchRow& row : kSwitches) {
    if (!ContainsText(cmdLine, row.text)) continue;
    switch (row.effect) {
      case kPageAndMonitor:
        c.startMonitor = true;
        c.command = row.command;
        break;
      case kPage:
        c.command = row.command;
        break;
      case kRemoval:
        c.removal = true;
        break;
      case kQuiet:
        c.quiet = true;
        c.command = row.command;
        break;
    }
  }
  return c;
}

bool IsPageCommand(int id) {
  switch (id) {
    case kCmdStartup: case kCmdCookies: case kCmdActiveTasks: case kCmdOptions:
    case kCmdServices: case kCmdScheduledTasks: case kCmdIEHelpers: case kCmdFileTypes:
    case kCmdViewCookies: case kCmdMonitor: case kCmdBlacklist: case kCmdHiddenFiles:
    case kCmdDelayedStart:
      return true;
    default:
      return false;
  }
}

}  // namespace tov

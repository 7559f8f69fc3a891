// Command-line switches and page commands of TovrelEx. Portable: no Windows
// headers, so the switch rules are tested natively.
#pragma once
#include "core/page_ids.h"

namespace tov {


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

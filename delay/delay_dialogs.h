// The two dialogs of the Delayed Start page: the delay options of one
// delayed program, and the question whether an added program starts for
// every user or the current one.
#pragma once
#include <windows.h>

namespace tov {

// Delay options (dialog 198) for the entry at entryIndex of the entry list.
// IDOK when &Apply wrote the options, IDCANCEL when closed without writing.
INT_PTR ShowDelayOptions(HWND owner, int entryIndex);

// Startup Program Type (dialog 199): 1 all users, 2 current user, 0 Cancel.
enum ProgramType { kTypeCancelled = 0, kTypeAllUsers = 1, kTypeCurrentUser = 2 };
int AskProgramType(HWND owner);

}  // namespace tov

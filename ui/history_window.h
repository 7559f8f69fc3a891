// The History window (dialog 141): the events of the history file, newest
// at the bottom, with Restore for the reversible ones and Clear File.
#pragma once
#include <windows.h>

namespace tov {

// Command that opens the window from the main window (the window's list id).
constexpr int kCmdHistoryWindow = 6041;

// Shows the window modally, owned by owner. The entry list holds the
// history while the window is open and is left empty when it closes: a page
// that opens the window fills its own list again afterwards.
void HistoryWindow(HWND owner);

}  // namespace tov

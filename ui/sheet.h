// The tab property sheet that owns every page, and the window placement
// helpers the pages share.
#pragma once
#include <windows.h>

namespace tov {

// Command id of the page that was last initialised or activated; 0 when no
// sheet is open.
int ActivePageId();
void SetActivePageId(int id);

// Opens the sheet at the page of that command, or brings an open sheet to
// the front. Modal: returns 0 when the sheet is closed.
int TabDialog(HWND mainWindow, int command);

// Name of the main-window property that records the last page command the
// sheet was asked for (read by tests and by a later start of the program).
extern const char kRequestedPageProp[];

// Centres a window on the work area (or its owner).
void CentreWindow(HWND window);

}  // namespace tov

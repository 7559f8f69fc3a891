#include "ui/sheet.h"

#include "app/command_line.h"

namespace tov {

const char kRequestedPageProp[] = "TovrelExRequestedPage";

namespace {
int g_activePageId = 0;
}  // namespace

int ActivePageId() { return g_activePageId; }
void SetActivePageId(int id) { g_activePageId = id; }

// Until the pages exist the sheet records which page was asked for on the
// main window, where another process can read it.
int TabDialog(HWND mainWindow, int command) {
  SetPropA(mainWindow, kRequestedPageProp, (HANDLE)(INT_PTR)command);
  return 0;
}

void CentreWindow(HWND window) {
  RECT r, area;
  if (!GetWindowRect(window, &r)) return;
  HWND owner = GetWindow(window, GW_OWNER);
  RECT ownerRect;
  if (owner && IsWindowVisible(owner) && GetWindowRect(owner, &ownerRect) &&
      ownerRect.right - ownerRect.left > 0) {
    area = ownerRect;
  } else if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    return;
  }
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tov

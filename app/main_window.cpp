#include <objbase.h>
#include <commctrl.h>

#include "app/app.h"
#include "app/command_line.h"
#include "app/initialise.h"
#include "app/monitor.h"
#include "core/options_table.h"
#include "core/settings.h"
#include "options/autostart.h"
#include "options/restart_commands.h"
#include "resources/resource.h"
#include "core/entries.h"
#include "ui/history_window.h"
#include "ui/sheet.h"

namespace tov {

namespace {

bool g_ended = false;

void OpenSheet(HWND window, int command) {
  if (command != kCmdViewCookies) {
    TabDialog(window, command);
    return;
  }
  // The cookie list is shown at once while this sheet is open.
  int previous = Setting(kOptViewCookies);
  SetSetting(kOptViewCookies, 1);
  TabDialog(window, command);
  SetSetting(kOptViewCookies, previous);
}

void OnExitRequest(HWND window) {
  int confirm = GetOption("ConfirmExit", 0);
  SetSetting(kOptConfirmExit, confirm);
  if (confirm == 0) {
    DestroyWindow(window);
  } else if (!IsMonitorRunning()) {
    StartMonitor();
  } else {
    OpenSheet(window, kCmdStartup);
  }
}

// The History window takes the entry list while it is open: the page on
// screen, if any, then fills its list again as when it is activated.
void OpenHistoryWindow(HWND window) {
  HWND page = ActivePageId() != 0 && IsWindow(CurrentPage()) ? CurrentPage() : nullptr;
  HistoryWindow(page ? GetParent(page) : window);
  if (!page || !IsWindow(page)) return;
  NMHDR activate{GetParent(page), 0, UINT(PSN_SETACTIVE)};
  SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
}

// The restart-commands viewer sits on the sheet when it is open, like the
// History window.
void OpenRestartCommands(HWND window) {
  HWND page = ActivePageId() != 0 && IsWindow(CurrentPage()) ? CurrentPage() : nullptr;
  ShowRestartCommands(page ? GetParent(page) : window);
}

void OnCommand(HWND window, int id) {
  if (IsPageCommand(id)) {
    OpenSheet(window, id);
    return;
  }
  switch (id) {
    case kCmdClose: DestroyWindow(window); break;
    case kCmdToggleAutoStart: ToggleAutoStart(); break;
    case kCmdExitRequest: OnExitRequest(window); break;
    case kCmdHistoryWindow: OpenHistoryWindow(window); break;
    case kCmdRestartCommands: OpenRestartCommands(window); break;
    default: break;
  }
}

// Runs once, whichever of WM_CLOSE and WM_DESTROY comes first.
void EndProgram() {
  if (g_ended) return;
  g_ended = true;
  if (EntryCount() > 0) ClearEntries();
  CoUninitialize();
  SaveOptions();
  PostQuitMessage(0);
}

}  // namespace

bool RegisterMainClass(HINSTANCE instance, const char* className) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOVREL));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

// A taskbar button with no visible area: the window only owns the sheet and
// receives page commands from later starts.
HWND CreateMainWindow(HINSTANCE instance, const char* className, const char* caption) {
  return CreateWindowExA(WS_EX_APPWINDOW, className, caption, WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                         0, -200, 0, 0, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      EndProgram();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      RemovePropA(window, kRequestedPageProp);
      EndProgram();
      return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace tov

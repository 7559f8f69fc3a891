// The Options page: the program-wide switches, the patrol times of the
// three system checks of the resident monitor, and the buttons for the
// report, the history, HOSTS, the settings export and the delayed programs.
// Every click on the page saves all options at once.
#include <windows.h>
#include <prsht.h>

#include "core/entries.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/shell.h"
#include "delay/delay_store.h"
#include "options/autostart.h"
#include "options/options.h"
#include "options/system_files.h"
#include "reports/reports.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/regfile.h"
#include "ui/history_window.h"
#include "ui/look.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& OptionsPage();

namespace {

void (*g_initialise)() = nullptr;

// A patrol line: its monitor picture, its text and the patrol it sets.
struct PatrolLine {
  int iconId;
  int textControlId;
  int textId;
  int titleId;
};
const PatrolLine kPatrolLines[] = {
    {IDC_OPTIONS_START_PAGE_ICON, IDC_OPTIONS_START_PAGE_TEXT, kTextDetectChangesToInternet, kPatrolStartPage},
    {IDC_OPTIONS_HOSTS_ICON, IDC_OPTIONS_HOSTS_TEXT, kTextWarnIfChangesAre, kPatrolHostFile},
    {IDC_OPTIONS_WININIT_ICON, IDC_OPTIONS_WININIT_TEXT, kTextDetectChangesToReStart, kPatrolWinInit},
};

void ShowPatrolLine(HWND page, const PatrolLine& line) {
  bool realtime = PatrolIsRealtime(line.titleId);
  int picture = realtime ? IDB_MONITOR_REALTIME : PatrolIsOn(line.titleId) ? IDB_MONITOR_ON : IDB_MONITOR_OFF;
  SendDlgItemMessageA(page, line.iconId, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)ProgramPicture(picture));
}

void EditPatrol(HWND page, int iconId) {
  for (const PatrolLine& line : kPatrolLines) {
    if (line.iconId != iconId) continue;
    if (ApplyPatrolResult(line.titleId, PatrolTimeDialog(page, line.titleId))) ShowPatrolLine(page, line);
  }
}

void OnStartPagePatrol(HWND page) { EditPatrol(page, IDC_OPTIONS_START_PAGE_ICON); }
void OnHostsPatrol(HWND page) { EditPatrol(page, IDC_OPTIONS_HOSTS_ICON); }
void OnWinInitPatrol(HWND page) { EditPatrol(page, IDC_OPTIONS_WININIT_ICON); }

// The box shows what the Run key holds afterwards, whatever the change
// claimed: a user who may not change the machine's Run key sees it as it is.
void ShowAutoStart(HWND page) {
  CheckDlgButton(page, IDC_OPTIONS_AUTO_RUN, IsAutoStartOn() ? BST_CHECKED : BST_UNCHECKED);
}

void OnAutoRun(HWND page) {
  SetAutoStart(IsDlgButtonChecked(page, IDC_OPTIONS_AUTO_RUN) == BST_CHECKED);
  ShowAutoStart(page);
}

// The option holds the new state already. A monitor that does not answer
// within a few seconds does not hold the page up.
void OnHideIcon(HWND page) {
  int hide = Setting(kOptHideFenno) > 0 ? 1 : 0;
  if (hide) ShowInfoMessage(kTextTaskbarIconWillBe);
  if (HWND monitor = FindWindowA("Tovrel", nullptr)) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(monitor, WM_COMMAND, kMonitorTaskbarIconCommand, hide, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
  }
  (void)page;
}

void OnReport(HWND page) { FullReport(page); }

// The main window opens the History window on the sheet and refreshes the
// page afterwards.
void OnViewHistory(HWND) { SendMessageA(MainWindow(), WM_COMMAND, kCmdHistoryWindow, 0); }
void OnViewHosts(HWND page) { ViewHostsFile(page); }
void OnExport(HWND) { ExportSettings(); }

void OnRestoreDelayed(HWND) {
  RestoreAllDelayed();
  ClearEntries();
}

// Each check box shows its setting; the automatic-run box the Run key.
void RefreshControls(HWND page) {
  for (const CheckBoxRow& row : OptionsPage().checkBoxes)
    CheckDlgButton(page, row.controlId, Setting(row.option) > 0 ? BST_CHECKED : BST_UNCHECKED);
  ShowAutoStart(page);
  for (const PatrolLine& line : kPatrolLines) ShowPatrolLine(page, line);
}

// The options held in memory are saved before they are read afresh, so a
// change made on another page a moment before is kept.
void OnInitOptions(HWND page) {
  for (const PatrolLine& line : kPatrolLines) SetControlText(page, line.textId, line.textControlId);
  SetControlText(page, kTextTovrelId253, IDC_OPTIONS_GROUP);
  if (IsNtPlatform()) {
    ShowWindow(GetDlgItem(page, IDC_OPTIONS_WININIT_ICON), SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_OPTIONS_WININIT_TEXT), SW_HIDE);
  }
}

void OnOptionsLayout(HWND page) {
  const int buttons[] = {IDC_OPTIONS_REPORT, IDC_OPTIONS_VIEW_HISTORY, IDC_OPTIONS_VIEW_HOSTS,
                         IDC_OPTIONS_EXPORT, IDC_OPTIONS_RESTORE_DELAYED};
  PageLayout layout;
  LayoutPageWithButtons(page, buttons, &layout);
  // The shared layout keeps the last place for a narrower Close; here it
  // holds a button like the others.
  HWND last = layout.buttons[4];
  RECT r;
  GetWindowRect(last, &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  RECT first;
  GetWindowRect(layout.buttons[0], &first);
  int width = first.right - first.left;
  SetWindowPos(last, nullptr, r.right - width, r.top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextOptionsIntro},
    {IDC_OPTIONS_LOCK_FILE_TYPES, kTextLockFileTypes},
    {IDC_OPTIONS_HISTORY, kTextTrackChangesInRestoration},
    {IDC_OPTIONS_HIDE_ICON, kTextHideFennoTaskbarIcon},
    {IDC_OPTIONS_SOUND, kTextPlaySounds},
    {IDC_OPTIONS_CONFIRM_EXIT, kTextConfirmExitWhenClosing},
    {IDC_OPTIONS_AUTO_RUN, kTextAutomaticallyRunTovrelWhen},
    {IDC_OPTIONS_REPORT, kTextFullReport},
    {IDC_OPTIONS_VIEW_HISTORY, kTextViewHistory},
    {IDC_OPTIONS_VIEW_HOSTS, kTextViewHOSTSFile},
    {IDC_OPTIONS_EXPORT, kTextExportSettings},
    {IDC_OPTIONS_RESTORE_DELAYED, kTextRestoreAllDelayed},
};

const CheckBoxRow kCheckBoxes[] = {
    {IDC_OPTIONS_LOCK_FILE_TYPES, kOptLockFileTypes},
    {IDC_OPTIONS_HISTORY, kOptHistory},
    {IDC_OPTIONS_HIDE_ICON, kOptHideFenno},
    {IDC_OPTIONS_SOUND, kOptSound},
    {IDC_OPTIONS_CONFIRM_EXIT, kOptConfirmExit},
};

const PageCommandRow kCommands[] = {
    {IDC_OPTIONS_START_PAGE_ICON, OnStartPagePatrol, STN_CLICKED},
    {IDC_OPTIONS_HOSTS_ICON, OnHostsPatrol, STN_CLICKED},
    {IDC_OPTIONS_WININIT_ICON, OnWinInitPatrol, STN_CLICKED},
    {IDC_OPTIONS_HIDE_ICON, OnHideIcon, BN_CLICKED},
    {IDC_OPTIONS_AUTO_RUN, OnAutoRun, BN_CLICKED},
    {IDC_OPTIONS_REPORT, OnReport, BN_CLICKED},
    {IDC_OPTIONS_VIEW_HISTORY, OnViewHistory, BN_CLICKED},
    {IDC_OPTIONS_VIEW_HOSTS, OnViewHosts, BN_CLICKED},
    {IDC_OPTIONS_EXPORT, OnExport, BN_CLICKED},
    {IDC_OPTIONS_RESTORE_DELAYED, OnRestoreDelayed, BN_CLICKED},
};

PageDefinition MakeOptionsPage() {
  PageDefinition d{};
  d.pageId = kCmdOptions;
  d.helpFile = "options.html";
  d.texts = kTexts;
  d.checkBoxes = kCheckBoxes;
  d.commands = kCommands;
  d.layout = OnOptionsLayout;
  return d;
}

bool IsOwnClick(int control, int notification) {
  if (notification != BN_CLICKED) return false;
  for (const PageCommandRow& row : kCommands)
    if (row.command == control) return true;
  for (const CheckBoxRow& row : kCheckBoxes)
    if (row.controlId == control) return true;
  return false;
}

}  // namespace

const PageDefinition& OptionsPage() {
  static const PageDefinition page = MakeOptionsPage();
  return page;
}

void SetOptionsInitialise(void (*initialise)()) { g_initialise = initialise; }

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SaveOptions();
    if (g_initialise) g_initialise();
  }
  INT_PTR result = PageProc(page, msg, wParam, lParam);
  switch (msg) {
    case WM_INITDIALOG:
      OnInitOptions(page);
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == UINT(PSN_SETACTIVE)) RefreshControls(page);
      break;
    case WM_COMMAND:
      if (IsOwnClick(LOWORD(wParam), HIWORD(wParam))) SaveOptions();
      break;
  }
  return result;
}

}  // namespace tov

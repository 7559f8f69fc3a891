#include "ui/patrol_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>

#include "core/messages.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/text.h"
#include "resources/resource.h"

namespace tov {

namespace {

constexpr size_t kPatrolTitleCapacity = 256;
constexpr int kMinutesBoxLimit = 2;
constexpr int kSliderMax = 30;
constexpr int kSliderPage = 3;
constexpr int kUnknownItemMinutes = 3;
constexpr int kExplanationTextId = 782;
constexpr int kUnitTextId = 783;
constexpr int kNoteTextId = 802;
constexpr int kRealtimeTextId = 905;
constexpr int kCloseTextId = 304;

const PatrolItem kPatrolItems[] = {
    {kPatrolStartup, kOptStart, kOptRealtimeStartup},
    {kPatrolIEHelpers, kOptIEHelpers, kOptRealtimeIEHelper},
    {kPatrolTasks, kOptTasks, kOptionCount},
    {kPatrolCookies, kOptCookies, kOptionCount},
    {kPatrolFileTypes, kOptFileType, kOptRealtimeFileType},
    {kPatrolCookieFilter, kOptNuts, kOptionCount},
    {kPatrolWinInit, kOptWinInit, kOptionCount},
    {kPatrolStartPage, kOptStartPage, kOptRealtimeStartPage},
    {kPatrolHostFile, kOptHostFile, kOptRealtimeSysFiles},
    {kPatrolHidden, kOptHidden, kOptRealtimeHidden},
    {kPatrolServices, kOptServices, kOptionCount},
};

// The open dialog's item (nullptr for an unknown title) and the state of its
// real-time flag when it opened. The dialog is modal, so one at a time.
struct PatrolState {
  int titleId;
  const PatrolItem* item;
  int realtimeAtOpen;
};
PatrolState g_patrol;

bool HasRealtime(const PatrolItem* item) { return item && item->realtime != kOptionCount; }

// The flag lives in memory and in the options, where the resident monitor
// reads it.
void StoreRealtime(const PatrolItem* item, int on) {
  if (!HasRealtime(item)) return;
  SetSetting(item->realtime, on);
  SetOption(OptionInfoOf(item->realtime).name, on);
}

void ShowMinutes(HWND dialog, int minutes) {
  char text[16];
  snprintf(text, sizeof text, "%d", minutes);
  SetDlgItemTextA(dialog, IDC_PATROL_MINUTES, text);
  SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_SETPOS, TRUE, minutes);
}

void FillControls(HWND dialog) {
  HWND slider = GetDlgItem(dialog, IDC_PATROL_SLIDER);
  HWND box = GetDlgItem(dialog, IDC_PATROL_MINUTES);
  HWND check = GetDlgItem(dialog, IDC_PATROL_REALTIME);
  EnableWindow(slider, TRUE);
  EnableWindow(box, TRUE);
  const PatrolItem* item = g_patrol.item;
  if (!item) {
    ShowMinutes(dialog, kUnknownItemMinutes);
    ShowWindow(check, SW_HIDE);
    return;
  }
  ShowMinutes(dialog, Setting(item->minutes));
  if (!HasRealtime(item)) {
    ShowWindow(check, SW_HIDE);
    return;
  }
  Button_SetCheck(check, BST_UNCHECKED);
  if (Setting(item->realtime) > 0) {
    Button_SetCheck(check, BST_CHECKED);
    EnableWindow(slider, FALSE);
    EnableWindow(box, FALSE);
    ShowMinutes(dialog, 0);
  }
}

// The number in the box, or 0 when it does not start with one.
int MinutesInBox(HWND dialog, bool* isNumber) {
  char text[16];
  GetDlgItemTextA(dialog, IDC_PATROL_MINUTES, text, sizeof text);
  *isNumber = text[0] >= '0' && text[0] <= '9';
  return *isNumber ? int(ParseDecimal(text)) : 0;
}

BOOL OnInitDialog(HWND dialog) {
  char title[kPatrolTitleCapacity];
  LoadText(g_patrol.titleId, title);
  SetWindowTextA(dialog, title);
  SetControlText(dialog, kExplanationTextId, IDC_PATROL_TEXT);
  SetControlText(dialog, kUnitTextId, IDC_PATROL_UNIT);
  SetControlText(dialog, kNoteTextId, IDC_PATROL_NOTE);
  SetControlText(dialog, kRealtimeTextId, IDC_PATROL_REALTIME);
  SetControlText(dialog, kCloseTextId, IDCANCEL);
  SendDlgItemMessageA(dialog, IDC_PATROL_MINUTES, EM_LIMITTEXT, kMinutesBoxLimit, 0);
  SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, kSliderMax));
  SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_SETPAGESIZE, 0, kSliderPage);
  EnableWindow(GetDlgItem(dialog, IDC_PATROL_REALTIME), TRUE);
  g_patrol.realtimeAtOpen = HasRealtime(g_patrol.item) ? Setting(g_patrol.item->realtime) : 0;
  FillControls(dialog);
  return TRUE;
}

void OnSlider(HWND dialog) {
  int position = int(SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_GETPOS, 0, 0));
  char text[16];
  snprintf(text, sizeof text, "%d", position);
  SetDlgItemTextA(dialog, IDC_PATROL_MINUTES, text);
  EnableWindow(GetDlgItem(dialog, IDC_PATROL_MINUTES), position != 0);
}

void OnMinutesChanged(HWND dialog) {
  bool isNumber = false;
  int minutes = MinutesInBox(dialog, &isNumber);
  if (!isNumber) return;
  if (minutes > kSliderMax) minutes = kSliderMax;
  SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_SETPOS, TRUE, minutes);
}

void OnRealtimeClicked(HWND dialog) {
  if (!HasRealtime(g_patrol.item)) return;
  bool checked = IsDlgButtonChecked(dialog, IDC_PATROL_REALTIME) == BST_CHECKED;
  StoreRealtime(g_patrol.item, checked ? 1 : 0);
  FillControls(dialog);
}

void OnOk(HWND dialog) {
  if (HasRealtime(g_patrol.item))
    StoreRealtime(g_patrol.item,
                  IsDlgButtonChecked(dialog, IDC_PATROL_REALTIME) == BST_CHECKED ? 1 : 0);
  bool isNumber = false;
  EndDialog(dialog, MinutesInBox(dialog, &isNumber));
}

void OnClose(HWND dialog) {
  if (HasRealtime(g_patrol.item) && Setting(g_patrol.item->realtime) != g_patrol.realtimeAtOpen)
    StoreRealtime(g_patrol.item, g_patrol.realtimeAtOpen);
  EndDialog(dialog, kPatrolCancelled);
}

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK: OnOk(dialog); return;
    case IDCANCEL: OnClose(dialog); return;
    case IDC_PATROL_REALTIME:
      if (code == BN_CLICKED) OnRealtimeClicked(dialog);
      return;
    case IDC_PATROL_MINUTES:
      if (code == EN_CHANGE) OnMinutesChanged(dialog);
      return;
  }
}

INT_PTR CALLBACK PatrolDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_PATROL_SLIDER)) OnSlider(dialog);
      return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
  }
  return FALSE;
}

}  // namespace

const PatrolItem* FindPatrolItem(int titleId) {
  for (const PatrolItem& item : kPatrolItems)
    if (item.titleId == titleId) return &item;
  return nullptr;
}

int PatrolTimeDialog(HWND owner, int titleId) {
  g_patrol = PatrolState{titleId, FindPatrolItem(titleId), 0};
  INT_PTR result = DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_PATROL), owner,
                                   PatrolDialogProc, 0);
  if (result == -1) return kPatrolCancelled;  // the dialog could not be made
  return int(result);
}

bool ApplyPatrolResult(int titleId, int result) {
  const PatrolItem* item = FindPatrolItem(titleId);
  if (!item || result < 0) return false;
  SetSetting(item->minutes, result);
  SetOption(OptionInfoOf(item->minutes).name, result);
  return true;
}

bool PatrolIsOn(int titleId) {
  const PatrolItem* item = FindPatrolItem(titleId);
  return item && Setting(item->minutes) > 0;
}

bool PatrolIsRealtime(int titleId) {
  const PatrolItem* item = FindPatrolItem(titleId);
  return HasRealtime(item) && Setting(item->realtime) > 0;
}

}  // namespace tov

#include "delay/delay_dialogs.h"

#include <cstdio>

#include "core/messages.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/text.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "core/entries.h"

namespace tov {

namespace {

constexpr int kSecondStep = 10;
constexpr int kChoiceTextLimit = 2;

struct ControlText {
  int control;
  int text;
};
const ControlText kOptionTexts[] = {
    {IDC_DELAY_TEXT, kTextSetTheOptionsYou}, {IDOK, kTextApply},
    {IDCANCEL, kTextClose},              {IDC_DELAY_MINUTES_LABEL, kTextMinutesId1113},
    {IDC_DELAY_SECONDS_LABEL, kTextSeconds},     {IDC_DELAY_PARAMETERS_LABEL, kTextParameters},
    {IDC_DELAY_TITLE_LABEL, kTextTitleId1131},
};

// The program the open dialog edits, and the list choices it showed.
struct OptionsState {
  char program[kDelayNameCapacity];
  HKEY hive;
  int minute, second;
};
OptionsState g_options;

void SetCaption(HWND dialog, int textId) {
  char caption[kMessageCapacity];
  LoadText(textId, caption);
  SetWindowTextA(dialog, caption);
}

void FillChoices(HWND combo, int count, int step, int chosen) {
  for (int i = 0; i < count; ++i) {
    char text[8];
    snprintf(text, sizeof text, "%d", i * step);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(combo, CB_LIMITTEXT, kChoiceTextLimit, 0);
  SendMessageA(combo, CB_SETCURSEL, WPARAM(chosen), 0);
}

// The edit shows the stored value, cut to what the field takes.
void ShowStored(HWND dialog, int control, const char* key, size_t limit) {
  char stored[kDelayValueCapacity];
  ReadDelayValue(g_options.hive, key, g_options.program, stored);
  if (limit < sizeof stored) stored[limit] = 0;
  SendDlgItemMessageA(dialog, control, EM_LIMITTEXT, limit, 0);
  SetDlgItemTextA(dialog, control, stored);
  SendDlgItemMessageA(dialog, control, EM_SETMODIFY, FALSE, 0);
}

BOOL OnOptionsInit(HWND dialog, int entryIndex) {
  if (!DelayedEntryName(entryIndex, g_options.program)) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  g_options.hive = DelayHiveKey(EntryFlag(entryIndex));
  SetCaption(dialog, kTextProgramDelayStartupOptions);
  for (const ControlText& t : kOptionTexts) SetControlText(dialog, t.text, t.control);
  long seconds = 0;
  ReadDelaySeconds(g_options.hive, g_options.program, &seconds);
  DelayChoices(seconds, &g_options.minute, &g_options.second);
  FillChoices(GetDlgItem(dialog, IDC_DELAY_MINUTES), kDelayMinuteChoices, 1, g_options.minute);
  FillChoices(GetDlgItem(dialog, IDC_DELAY_SECONDS), kDelaySecondChoices, kSecondStep,
              g_options.second);
  ShowStored(dialog, IDC_DELAY_TITLE, kDelayTitleKey, kDelayTitleLimit);
  ShowStored(dialog, IDC_DELAY_PARAMETERS, kDelayParametersKey, kDelayParametersLimit);
  return TRUE;
}

// The time is written only when a list choice changed and both lists have
// one, so a stored delay the lists cannot show stays as it is; the title
// only when edited, so a longer stored title is not cut by an Apply.
void OnApply(HWND dialog) {
  int minute = int(SendDlgItemMessageA(dialog, IDC_DELAY_MINUTES, CB_GETCURSEL, 0, 0));
  int second = int(SendDlgItemMessageA(dialog, IDC_DELAY_SECONDS, CB_GETCURSEL, 0, 0));
  long seconds = DelayOfChoices(minute, second);
  if ((minute != g_options.minute || second != g_options.second) && seconds >= 0) {
    char text[16];
    snprintf(text, sizeof text, "%ld", seconds);
    SetRegString(g_options.hive, kDelayTimeKey, g_options.program, text);
  }
  char text[kDelayValueCapacity];
  GetDlgItemTextA(dialog, IDC_DELAY_PARAMETERS, text, sizeof text);
  SetRegString(g_options.hive, kDelayParametersKey, g_options.program, text);
  if (SendDlgItemMessageA(dialog, IDC_DELAY_TITLE, EM_GETMODIFY, 0, 0)) {
    GetDlgItemTextA(dialog, IDC_DELAY_TITLE, text, sizeof text);
    SetRegString(g_options.hive, kDelayTitleKey, g_options.program, text);
  }
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnOptionsInit(dialog, int(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnApply(dialog);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

BOOL OnTypeInit(HWND dialog) {
  SetCaption(dialog, kTextStartupProgramType);
  SetControlText(dialog, kTextWouldYouLikeThis, IDC_TYPE_TEXT);
  SetControlText(dialog, kTextAllUsersWillStart, IDC_TYPE_ALL_USERS);
  SetControlText(dialog, kTextThisProgramsWillOnly, IDC_TYPE_CURRENT_USER);
  CheckRadioButton(dialog, IDC_TYPE_ALL_USERS, IDC_TYPE_CURRENT_USER, IDC_TYPE_CURRENT_USER);
  return TRUE;
}

INT_PTR CALLBACK TypeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: return OnTypeInit(dialog);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK)
        EndDialog(dialog, IsDlgButtonChecked(dialog, IDC_TYPE_ALL_USERS) == BST_CHECKED
                              ? kTypeAllUsers
                              : kTypeCurrentUser);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, kTypeCancelled);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR ShowDelayOptions(HWND owner, int entryIndex) {
  return DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_DELAY_OPTIONS), owner,
                         OptionsProc, LPARAM(entryIndex));
}

int AskProgramType(HWND owner) {
  INT_PTR result = DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_PROGRAM_TYPE), owner,
                                   TypeProc, 0);
  return result < 0 ? kTypeCancelled : int(result);
}

}  // namespace tov

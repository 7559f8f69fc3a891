#include "startup/default_warning.h"

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/text.h"
#include "core/version.h"
#include "resources/resource.h"
#include "startup/change_rules.h"
#include "ui/look.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr char kPosX[] = "xDefaultWarning";
constexpr char kPosY[] = "yDefaultWarning";
constexpr char kPosWidth[] = "dxDefaultWarning";
constexpr char kPosHeight[] = "dyDefaultWarning";

using Font = Owned<HFONT, DeleteGdiObject>;

struct WarningState {
  const char* title;
  const char* command;
  Font boldFont;  // made here only when the program's bold font is missing
};

// True when the legal notice of the command's program file names Microsoft.
bool IsMicrosoftFile(const char* command) {
  char program[kPathCapacity];
  if (!ProgramOfCommand(command, program) || program[0] == 0) return false;
  VersionStrings strings;
  ReadVersionStrings(program, &strings);
  return ContainsText(strings.legalCopyright, "Microsoft") != 0;
}

void SetBoldCommand(HWND dialog, WarningState* state) {
  HWND line = GetDlgItem(dialog, IDC_WARNING_COMMAND);
  SetWindowTextA(line, state->command);
  HFONT bold = ProgramFont(kFontBoldMedium);
  if (bold == nullptr) {
    LOGFONTA look;
    HFONT dialogFont = (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0);
    if (dialogFont == nullptr || !GetObjectA(dialogFont, sizeof look, &look)) return;
    look.lfWeight = FW_BOLD;
    state->boldFont.reset(CreateFontIndirectA(&look));
    bold = state->boldFont.get();
  }
  if (bold) SendMessageA(line, WM_SETFONT, (WPARAM)bold, FALSE);
}

void SetFileLine(HWND dialog, const char* title, const char* command) {
  if (!IsMicrosoftFile(command)) {
    SetDlgItemTextA(dialog, IDC_WARNING_FILE, title);
    return;
  }
  char pattern[kMessageCapacity];
  LoadText(kWarningMicrosoftTextId, pattern);
  char line[kMessageCapacity];
  FormatOneText(pattern, title, line, sizeof line);
  SetDlgItemTextA(dialog, IDC_WARNING_FILE, line);
}

BOOL OnInitDialog(HWND dialog, WarningState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)state);
  char text[kMessageCapacity];
  LoadText(kWarningCaptionTextId, text);
  SetWindowTextA(dialog, text);
  SetBoldCommand(dialog, state);
  SetControlText(dialog, kWarningTextId, IDC_WARNING_TEXT);
  SetFileLine(dialog, state->title, state->command);
  SetControlText(dialog, kWarningConfirmTextId, IDC_WARNING_CONFIRM);
  RestoreWindowPosition(dialog, kPosX, kPosY, kPosWidth, kPosHeight);
  return TRUE;
}

void OnOk(HWND dialog) {
  bool confirmed = IsDlgButtonChecked(dialog, IDC_WARNING_CONFIRM) == BST_CHECKED;
  SaveWindowPosition(dialog, kPosX, kPosY, kPosWidth, kPosHeight);
  EndDialog(dialog, confirmed ? IDYES : IDNO);
}

INT_PTR CALLBACK WarningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, reinterpret_cast<WarningState*>(lParam));
    case WM_COMMAND:
      // Cancel, Escape and the close box do nothing: only OK answers.
      if (LOWORD(wParam) == IDOK) OnOk(dialog);
      return TRUE;
    case WM_CLOSE:
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int ShowDefaultWarning(HWND owner, const char* title, const char* command) {
  WarningState state{title ? title : "", command ? command : "", Font()};
  INT_PTR answer = DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_DEFAULT_WARNING), owner,
                                   WarningProc, (LPARAM)&state);
  return answer == IDYES ? IDYES : IDNO;
}

}  // namespace tov

#include "filetypes/add_filetype_dialog.h"

#include "core/messages.h"
#include "core/program.h"
#include "core/text.h"
#include "filetypes/associations.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr const char* kPositionNames[4] = {"xPosAddFileType", "yPosAddFileType",
                                           "dxPosAddFileType", "dyPosAddFileType"};

void OnInitDialog(HWND dialog) {
  char title[kTitleCapacity];
  if (LoadText(kTextAddFileTypeExtension, title) > 0) SetWindowTextA(dialog, title);
  SetControlText(dialog, kTextEnterTheFileExtension, IDC_ADD_FILE_TYPE_TEXT);
  SetControlText(dialog, kTextAddId753, IDOK);
  SetControlText(dialog, kTextClose, IDCANCEL);
  SendDlgItemMessageA(dialog, IDC_ADD_FILE_TYPE_EDIT, EM_LIMITTEXT, kExtensionNameLimit, 0);
  RestoreWindowPosition(dialog, kPositionNames[0], kPositionNames[1], kPositionNames[2],
                        kPositionNames[3]);
  SetFocus(GetDlgItem(dialog, IDC_ADD_FILE_TYPE_EDIT));
}

// A refused extension is explained and the text selected for another try.
void OnAdd(HWND dialog) {
  char typed[kExtensionCapacity] = "";
  GetDlgItemTextA(dialog, IDC_ADD_FILE_TYPE_EDIT, typed, sizeof typed);
  int refusal = AddMonitoredExtension(typed);
  if (refusal == 0) {
    SaveWindowPosition(dialog, kPositionNames[0], kPositionNames[1], kPositionNames[2],
                       kPositionNames[3]);
    EndDialog(dialog, IDOK);
    return;
  }
  char text[kMessageCapacity];
  LoadText(refusal, text);
  MessageBoxA(dialog, text, ProgramCaption(), MB_OK | MB_ICONINFORMATION);
  HWND edit = GetDlgItem(dialog, IDC_ADD_FILE_TYPE_EDIT);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK AddFileTypeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnAdd(dialog);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool AddFileTypeDialog(HWND owner) {
  return DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_ADD_FILE_TYPE), owner,
                         AddFileTypeProc, 0) == IDOK;
}

}  // namespace tov

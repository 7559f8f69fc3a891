// The look of a page: the Help and monitor picture buttons (pictures kept
// in window properties 10000-10004, hover and pressed states, the command
// sent on release) and the owner-drawn push buttons with their hot colour.
#include "ui/page_pictures.h"

#include <windows.h>
#include <windowsx.h>

#include <cstring>

#include "core/entries.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/program.h"
#include "resources/resource.h"
#include "ui/info_window.h"
#include "ui/look.h"
#include "ui/page_framework.h"

namespace tov {

namespace {

constexpr size_t kButtonTextCapacity = 512;
constexpr COLORREF kButtonTextColour = RGB(0, 0, 64);
constexpr COLORREF kButtonHotColour = RGB(0, 0, 255);
constexpr COLORREF kButtonShadowColour = RGB(192, 192, 192);

// Picture buttons: the one under the mouse and the one pressed.
HWND g_hoveredPicture = nullptr;
HWND g_pressedPicture = nullptr;
// Owner-drawn look: the push button under the mouse and the text colour.
HWND g_hotButton = nullptr;
COLORREF g_buttonColour = kButtonTextColour;

LPCSTR PropName(int id) { return MAKEINTATOM(id); }

void SetPicture(HWND control, HANDLE picture) {
  if (control && picture) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
}

bool IsPictureButton(HWND control) {
  return control && GetPropA(control, PropName(kPictureNormalProp)) != nullptr;
}

// The picture button under a point of the page, or null.
HWND PictureButtonAt(HWND page, LPARAM lParam) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  HWND control = ChildWindowFromPointEx(page, pt, CWP_SKIPINVISIBLE);
  if (control == page || !IsPictureButton(control)) return nullptr;
  return control;
}

HANDLE HoverPicture(HWND control) {
  int prop = GetDlgCtrlID(control) == IDC_PAGE_HELP ? kPictureHoverProp : kPicturePressedProp;
  return GetPropA(control, PropName(prop));
}

int PictureCommand(HWND control) {
  int prop = GetDlgCtrlID(control) == IDC_PAGE_HELP ? kPictureHelpCommandProp : kPictureCommandProp;
  return int(INT_PTR(GetPropA(control, PropName(prop))));
}

void SetPictureButton(HWND control, int normal, int pressed, int hover, int commandProp, int command) {
  if (!control) return;
  SetPropA(control, PropName(kPictureNormalProp), ProgramPicture(normal));
  SetPropA(control, PropName(kPicturePressedProp), ProgramPicture(pressed));
  if (hover) SetPropA(control, PropName(kPictureHoverProp), ProgramPicture(hover));
  SetPropA(control, PropName(commandProp), (HANDLE)(INT_PTR)command);
  SetPicture(control, ProgramPicture(normal));
}

void RemovePictureButton(HWND control, int lastProp) {
  if (!control) return;
  for (int prop = kPictureNormalProp; prop <= lastProp; ++prop) RemovePropA(control, PropName(prop));
  if (control == g_hoveredPicture) g_hoveredPicture = nullptr;
  if (control == g_pressedPicture) g_pressedPicture = nullptr;
}

bool IsLookButton(HWND control) {
  char className[16];
  if (!control || !GetClassNameA(control, className, sizeof className)) return false;
  if (lstrcmpiA(className, "Button") != 0) return false;
  LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_OWNERDRAW || type == BS_DEFPUSHBUTTON;
}

}  // namespace

void OnPictureMouseMove(HWND page, WPARAM keys, LPARAM lParam) {
  if (keys & MK_LBUTTON) return;
  HWND control = PictureButtonAt(page, lParam);
  if (control == g_hoveredPicture) return;
  if (g_hoveredPicture && IsWindow(g_hoveredPicture))
    SetPicture(g_hoveredPicture, GetPropA(g_hoveredPicture, PropName(kPictureNormalProp)));
  g_hoveredPicture = control;
  if (control) SetPicture(control, HoverPicture(control));
}

void OnPictureButtonDown(HWND page, LPARAM lParam) {
  HWND control = PictureButtonAt(page, lParam);
  if (!control) return;
  SetPicture(control, GetPropA(control, PropName(kPicturePressedProp)));
  g_pressedPicture = control;
}

void OnPictureButtonUp(HWND page, LPARAM lParam) {
  HWND control = PictureButtonAt(page, lParam);
  g_pressedPicture = nullptr;
  if (!control) return;
  SetPicture(control, GetPropA(control, PropName(kPictureNormalProp)));
  if (int command = PictureCommand(control)) SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// Bright blue text while the mouse is over an owner-drawn or default push
// button; the colour returns when it leaves.
void OnButtonSetCursor(HWND control) {
  HWND hot = IsLookButton(control) ? control : nullptr;
  if (hot == g_hotButton) return;
  if (g_hotButton && IsWindow(g_hotButton)) {
    g_buttonColour = kButtonTextColour;
    InvalidateRect(g_hotButton, nullptr, TRUE);
  }
  g_hotButton = hot;
  if (hot) {
    g_buttonColour = kButtonHotColour;
    InvalidateRect(hot, nullptr, TRUE);
  }
}

bool OnButtonDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return false;
  char text[kButtonTextCapacity];
  GetWindowTextA(item->hwndItem, text, sizeof text);
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  DrawFrameControl(dc, &r, DFC_BUTTON,
                   DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  HGDIOBJ oldFont = SelectObject(dc, ProgramFont(kFontButton));
  SetBkMode(dc, TRANSPARENT);
  UINT format = strchr(text, '\n') ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, kButtonShadowColour);
  DrawTextA(dc, text, -1, &shadow, format);
  SetTextColor(dc, item->hwndItem == g_hotButton ? g_buttonColour : kButtonTextColour);
  DrawTextA(dc, text, -1, &r, format);
  if (item->itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
  SelectObject(dc, oldFont);
  return true;
}


void AttachPictureButtons(HWND page) {
  SetPictureButton(GetDlgItem(page, IDC_PAGE_HELP), IDB_HELP, IDB_HELP_PRESSED, IDB_HELP_HOVER,
                   kPictureHelpCommandProp, kCmdHelp);
  SetPictureButton(GetDlgItem(page, IDC_PAGE_MONITOR), IDB_MONITOR_OFF, IDB_MONITOR_PRESSED, 0,
                   kPictureCommandProp, kCmdPatrolTime);
}

void DetachPictureButtons(HWND page) {
  RemovePictureButton(GetDlgItem(page, IDC_PAGE_HELP), kPictureHelpCommandProp);
  RemovePictureButton(GetDlgItem(page, IDC_PAGE_MONITOR), kPictureCommandProp);
}

void ShowPatrolState(HWND page, bool on, bool realtime) {
  HWND button = GetDlgItem(page, IDC_PAGE_MONITOR);
  if (!button) return;
  int picture = realtime ? IDB_MONITOR_REALTIME : on ? IDB_MONITOR_ON : IDB_MONITOR_OFF;
  SetPropA(button, PropName(kPictureNormalProp), ProgramPicture(picture));
  SetPropA(button, PropName(kPicturePressedProp), ProgramPicture(IDB_MONITOR_PRESSED));
  SetPicture(button, ProgramPicture(picture));
  ShowWindow(button, SW_SHOW);
}

void UpdateNoteButton(HWND page, int entryIndex) {
  char path[kEntryPathSlot];
  EntryPath(entryIndex, path, sizeof path);
  bool note = path[0] && NoteExists(path);
  SendDlgItemMessageA(page, IDC_PAGE_INFO, WM_SETFONT,
                      (WPARAM)ProgramFont(note ? kFontNoteButtonBold : kFontButton), TRUE);
}


}  // namespace tov

// The page framework's picture buttons and owner-drawn look, for
// page_framework.cpp.
#pragma once
#include <windows.h>

namespace tov {

// Mouse messages of a page: hover and pressed pictures, and the picture
// button's command on release.
void OnPictureMouseMove(HWND page, WPARAM keys, LPARAM lParam);
void OnPictureButtonDown(HWND page, LPARAM lParam);
void OnPictureButtonUp(HWND page, LPARAM lParam);
// Bright blue text while the mouse is over an owner-drawn or default push
// button (WM_SETCURSOR with the control under the mouse).
void OnButtonSetCursor(HWND control);
// Draws an owner-drawn push button; false for other items.
bool OnButtonDrawItem(const DRAWITEMSTRUCT* item);
// Gives the page's Help and monitor controls their pictures and commands,
// and takes them away again.
void AttachPictureButtons(HWND page);
void DetachPictureButtons(HWND page);

}  // namespace tov

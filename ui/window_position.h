// Saved window positions: left, top, width and height kept as decimal text
// under HKEY_CURRENT_USER "Software\Brenvik\Tovrel", four value names per
// window (for example "xDefaultWarning", "yDefaultWarning",
// "dxDefaultWarning", "dyDefaultWarning").
#pragma once
#include <windows.h>

namespace tov {

// Moves the window to its saved place. With x and y saved: an x beyond
// twice the screen width becomes half the screen width (y likewise with the
// height); with a saved width and height (both above 0) the window is also
// sized, otherwise it keeps its size. Without x or y it is
// centred. Negative values are used as they are. Null size names: the
// window is only moved.
void RestoreWindowPosition(HWND window, const char* xName, const char* yName,
                           const char* widthName, const char* heightName);
// Writes the window's screen rectangle under the four names.
void SaveWindowPosition(HWND window, const char* xName, const char* yName,
                        const char* widthName, const char* heightName);

// The property sheet's place: "xPos", "yPos", "dxPos", "dyPos"; without
// withSize the sheet keeps its size.
void RestoreSheetPosition(HWND sheet, bool withSize);
void SaveSheetPosition(HWND sheet);

}  // namespace tov

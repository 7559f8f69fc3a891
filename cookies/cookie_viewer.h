// The cookie viewer (every cookie of the current store with a check box,
// removing the unchecked or the checked ones) and the text viewer that
// shows one Internet Explorer cookie file.
#pragma once
#include <windows.h>

namespace tov {

// Shows the viewer for the current cookie store; returns when it closes.
// The entry list holds the store's cookies afterwards.
void CookieViewer(HWND owner);
// Shows the first 16384 bytes of a text file, read-only; nothing when the
// file does not exist.
void TextViewer(HWND owner, const char* path, int titleTextId);

}  // namespace tov

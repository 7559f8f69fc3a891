// The File Types page of the property sheet (page command 6042).
#pragma once
#include <windows.h>

namespace tov {

INT_PTR CALLBACK FileTypesPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tov

// The page procedures the sheet's page table names. A page that has not
// landed yet is shown by GenericPageProc: its title, its introduction and
// an empty list.
#pragma once
#include <windows.h>

namespace tov {

INT_PTR CALLBACK StartupPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HiddenPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GenericPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

// The introduction text of a page command shown by the generic page.
int GenericPageIntro(int pageCommand);

}  // namespace tov

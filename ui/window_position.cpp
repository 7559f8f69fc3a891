#include "ui/window_position.h"

#include <cstdio>

#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "ui/sheet.h"

namespace tov {

namespace {

constexpr size_t kNumberTextCapacity = 16;

// A saved number; false when the value is missing or empty.
bool ReadPositionValue(const char* name, long* out) {
  char text[kNumberTextCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, name, text) == 0) return false;
  *out = ParseDecimal(text);
  return true;
}

void WritePositionValue(const char* name, long value) {
  char text[kNumberTextCapacity];
  snprintf(text, sizeof text, "%ld", value);
  SetRegString(HKEY_CURRENT_USER, kProductKey, name, text);
}

}  // namespace

void RestoreWindowPosition(HWND window, const char* xName, const char* yName,
                           const char* widthName, const char* heightName) {
  long x = 0, y = 0;
  if (!ReadPositionValue(xName, &x) || !ReadPositionValue(yName, &y)) {
    CentreWindow(window);
    return;
  }
  long screenWidth = GetSystemMetrics(SM_CXSCREEN);
  long screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (x > 2 * screenWidth) x = screenWidth / 2;
  if (y > 2 * screenHeight) y = screenHeight / 2;
  long width = 0, height = 0;
  // A size is used only when both parts are saved and positive: a window of
  // no height could not be seen or grabbed again.
  if (widthName && heightName && ReadPositionValue(widthName, &width) && ReadPositionValue(heightName, &height) &&
      width > 0 && height > 0) {
    MoveWindow(window, int(x), int(y), int(width), int(height), TRUE);
    return;
  }
  SetWindowPos(window, nullptr, int(x), int(y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPosition(HWND window, const char* xName, const char* yName,
                        const char* widthName, const char* heightName) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  WritePositionValue(xName, r.left);
  WritePositionValue(yName, r.top);
  WritePositionValue(widthName, r.right - r.left);
  WritePositionValue(heightName, r.bottom - r.top);
}

void RestoreSheetPosition(HWND sheet, bool withSize) {
  RestoreWindowPosition(sheet, "xPos", "yPos", withSize ? "dxPos" : nullptr,
                        withSize ? "dyPos" : nullptr);
}

void SaveSheetPosition(HWND sheet) { SaveWindowPosition(sheet, "xPos", "yPos", "dxPos", "dyPos"); }

}  // namespace tov

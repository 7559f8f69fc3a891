// The full report of everything the program lists, as a web page or text.
#pragma once
#include <windows.h>

namespace tov {

// Builds the full report and opens it, owned by owner.
void FullReport(HWND owner);

}  // namespace tov

// The default-condition warning shown before a protected startup entry
// (delay-load object, shared task scheduler, shell-execute hook, AppInit
// library) is removed.
#pragma once
#include <windows.h>

namespace tov {

constexpr int kWarningCaptionTextId = 972;   // "Tovrel Message"
constexpr int kWarningTextId = 907;          // "This setting is a default condition ..."
constexpr int kWarningMicrosoftTextId = 909; // "The file %s appears to be a valid Microsoft ..."
constexpr int kWarningConfirmTextId = 906;   // "  Yes, I really know what I'm doing. ..."

// Dialog 194, modal to owner: the command in bold, the warning, the file
// line and a check box. Only OK ends it; it returns IDYES (6) when the box
// was ticked, IDNO (7) otherwise (and IDNO when the dialog cannot be shown).
// Its place is kept in "xDefaultWarning", "yDefaultWarning",
// "dxDefaultWarning" and "dyDefaultWarning".
int ShowDefaultWarning(HWND owner, const char* title, const char* command);

}  // namespace tov

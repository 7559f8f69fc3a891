// The Add File Type dialog (dialog 144): the user types an extension to be
// watched; a refused one is explained and the dialog stays open.
#pragma once
#include <windows.h>

namespace tov {

// Shows the dialog modally, owned by owner. True when an extension was
// added to the monitored list.
bool AddFileTypeDialog(HWND owner);

}  // namespace tov

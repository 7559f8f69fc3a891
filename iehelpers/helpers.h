// The Internet Explorer helpers registered under HKEY_LOCAL_MACHINE: Browser
// Helper Objects, toolbars and toolbar-button extensions. The scan fills the
// shared entry list; a removal deletes one registration and unregisters its
// server file; the undo registers the file again.
#pragma once

#include "iehelpers/helper_rules.h"

namespace tov {

// Clears the entry list and fills it with the helpers of the three
// locations in order (code 900, 901, 902; flag 0). Returns the number of
// entries in the list.
int ScanIEHelpers();

// Removes the registration of entry index: its sub-key with everything under
// it (900, 902) or its Toolbar value (901). Only when the registration is
// then really gone is its server unregistered ("regsvr32 /u /s", not waited
// for) and one "IEHELPER_Remove" history event written. Returns the number
// of registrations removed (0 or 1).
int RemoveIEHelper(int index);

// Starts "regsvr32 /s" on the server file (not waited for), so that the
// helper writes its registration again. False when nothing was started.
bool ReRegisterIEHelper(const char* path);

// Lets the History window undo an "IEHELPER_Remove" event by registering the
// event's file again.
void RegisterHelperRestoreHandler();

}  // namespace tov

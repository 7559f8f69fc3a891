// Integer options under HKCU\Software\Brenvik\Tovrel\Options and the
// in-memory copy of the frequently used ones.
#pragma once
#include "core/options_table.h"

namespace tov {

extern const char kOptionsKey[];   // "Software\Brenvik\Tovrel\Options"
extern const char kProductKey[];   // "Software\Brenvik\Tovrel"

// The stored option as a decimal integer; the default when it is missing or
// empty; text without leading digits reads as 0.
int GetOption(const char* name, int defaultValue);
// Writes the value as decimal text, then "Update" = "1".
void SetOption(const char* name, int value);

// In-memory settings: the current value and, for patrol times, the value at
// load so dialogs can tell a change.
int Setting(OptionId id);
void SetSetting(OptionId id, int value);
int SettingAtLoad(OptionId id);
void LoadOptions();
void SaveOptions();

}  // namespace tov

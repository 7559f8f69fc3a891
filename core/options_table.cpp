#include "core/options_table.h"

#include "core/text.h"

namespace tov {

namespace {

// In the order SaveOptions writes them.
const OptionInfo kOptions[kOptionCount] = {
    {"HideFenno", 0, true, false},
    {"Format", 0, true, false},
    {"ConfirmExit", 0, true, false},
    {"Sound", 1, true, false},
    {"History", 1, true, false},
    {"HideMicrosoftServices", 0, true, false},
    {"LockFileTypes", 0, true, false},
    {"ShowAllStartup", 0, true, false},
    {"NoMicrosoftStartup", 0, true, false},
    {"MaxCookie", 4096, false, false},
    {"Start", 2, true, true},
    {"Cookies", 0, true, true},
    {"Nuts", 0, true, true},
    {"Tasks", 11, true, true},
    {"IEHelpers", 2, true, true},
    {"FileType", 10, true, true},
    {"StartPage", 2, true, true},
    {"HostFile", 3, true, true},
    {"Services", 7, true, true},
    {"Hidden", 0, true, true},
    {"WinInit", 5, true, true},
    {"RealtimeStartup", 1, true, false},
    {"RealtimeIEHelper", 1, true, false},
    {"RealtimeSysFiles", 1, true, false},
    {"RealtimeFileType", 0, true, false},
    {"RealtimeStartPage", 1, true, false},
    {"RealtimeHidden", 0, true, false},
    {"ViewCookies", 0, true, false},
};

}  // namespace

const OptionInfo& OptionInfoOf(OptionId id) { return kOptions[id]; }

OptionId FindOption(const char* name) {
  for (int i = 0; i < kOptionCount; ++i)
    if (EqualsNoCase(kOptions[i].name, name)) return OptionId(i);
  return kOptionCount;
}

}  // namespace tov

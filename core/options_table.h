// The program's integer options: names, defaults and which of them are kept
// in memory (loaded at start, written back at exit). Portable.
#pragma once

namespace tov {

enum OptionId {
  kOptHideFenno,
  kOptFormat,
  kOptConfirmExit,
  kOptSound,
  kOptHistory,
  kOptHideMicrosoftServices,
  kOptLockFileTypes,
  kOptShowAllStartup,
  kOptNoMicrosoftStartup,
  kOptMaxCookie,
  kOptStart,
  kOptCookies,
  kOptNuts,
  kOptTasks,
  kOptIEHelpers,
  kOptFileType,
  kOptStartPage,
  kOptHostFile,
  kOptServices,
  kOptHidden,
  kOptWinInit,
  kOptRealtimeStartup,
  kOptRealtimeIEHelper,
  kOptRealtimeSysFiles,
  kOptRealtimeFileType,
  kOptRealtimeStartPage,
  kOptRealtimeHidden,
  kOptViewCookies,
  kOptionCount
};

struct OptionInfo {
  const char* name;
  int defaultValue;
  bool savedAtExit;  // every option of the table is loaded at start
  bool patrolTime;   // minutes between patrols; 0 switches the patrol off
};

const OptionInfo& OptionInfoOf(OptionId id);
// The option of that name, compared without case; kOptionCount when none.
OptionId FindOption(const char* name);

// Options read where they are used, with their defaults.
constexpr int kDefaultBrowser = 1;
constexpr int kDefaultStartTab = 6055;
constexpr int kDefaultSort = 0;
constexpr int kDefaultNoteSize = 14;
constexpr int kDefaultDebug = 0;
constexpr int kDefaultCleanup = 0;

}  // namespace tov

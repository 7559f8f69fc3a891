// Rules of the page framework that need no window: building a page's entry
// menu from its rows, the name of its help file, and the arithmetic that places a page's
// controls for the sheet's size. Portable: no Windows headers.
#pragma once
#include <cstddef>

#include "ui/sort_keys.h"

namespace tov {

// Commands of the entry menu and the page buttons shared by the pages.
enum PageCommandId {
  kCmdFullReport = 9,
  kCmdEnable = 10,
  kCmdDisable = 11,
  kCmdRemove = 1003,
  kCmdPageClose = 1004,
  kCmdRefresh = 1006,
  kCmdKillTask = 1007,
  kCmdInfo = 1008,
  kCmdAdd = 1064,
  kCmdLaunch = 1065,
  kCmdOnlineInfo = 1067,
  kCmdHelp = 1077,
  kCmdRemoveChecked = 1103,
  kCmdHistoryRestore = 1104,
  kCmdHistoryClear = 1106,
  kCmdPatrolTime = 1112,
  kCmdDeleteOnReboot = 1144,
  kCmdViewNote = 1164,
  kCmdViewInNotepad = 1180,
  kCmdDeleteHidden = 1184,
  kCmdMoveToDelayed = 1195,
  kCmdDelayOptions = 1197,
  kCmdRestoreToStartup = 1198,
  kCmdExploreFolder = 1201,
  kCmdProgramProperties = 1202,
};

// One item of an entry menu; textId 0 is a separator.
struct MenuItem {
  int textId;
  int command;
};
// The longest menu any page builds.
constexpr int kMaxMenuItems = 20;

// What the menu of a page needs to know about the selected entry.
struct MenuEntryFacts {
  int code;           // location code
  bool disabled;      // in the disabled store
  bool noteExists;    // the note file of its program exists
};

// A row shows only when its condition holds for the selected entry; a row
// without one always shows.
typedef bool (*MenuCondition)(const MenuEntryFacts& entry);
bool WhenNoteExists(const MenuEntryFacts& entry);
bool WhenDisabled(const MenuEntryFacts& entry);
bool WhenEnabled(const MenuEntryFacts& entry);

// One row of a page's entry menu; textId 0 is a separator.
struct MenuRow {
  int textId;
  int command;
  MenuCondition condition;
};

// A page's entry menu: its own rows, then the common tail (a separator,
// the online information, the full report unless withoutReport, Help).
struct EntryMenu {
  Rows<MenuRow> rows;   // none: the page has no entry menu
  bool withoutReport;
};

// The items of an entry menu for an entry, top to bottom, the common tail
// included. Returns the number of items (never more than cap); 0 for a
// menu without rows.
int EntryMenuItems(const EntryMenu& menu, const MenuEntryFacts& entry, MenuItem* out, int cap);

// The help file of a page: file ("features.html" when null), prefixed with
// the language code and "_" unless that code is "us". Returns the length
// (0 when cut).
size_t HelpFileName(const char* file, const char* languageCode, char* out, size_t cap);

// Placement of a page's controls. Dialog units arrive already in pixels.
struct LayoutUnits {
  int x7;    // 7 horizontal units
  int y44;   // 44 vertical units
  int x14;   // 14 horizontal units
  int y90;   // 90 vertical units
  int y35;   // 35 vertical units
};
struct Placement {
  int x, y, width, height;
};
constexpr int kMaxBottomButtons = 5;
// Picture buttons up to this height are stacked Help over Monitor at the
// fixed places; taller ones stand side by side, this far apart.
constexpr int kStackedPictureHeight = 22;
constexpr int kPictureGap = 8;
struct LayoutInput {
  int sheetWidth, sheetHeight;
  bool oneTabRow;
  LayoutUnits units;
  int helpWidth, helpLabelWidth, monitorWidth, monitorLabelWidth;
  int pictureHeight;             // of the Help picture button
  int buttonCount;               // 1 to 5
  int buttonWidth, buttonHeight; // of the first button
};
struct LayoutResult {
  Placement help, helpLabel, monitor, monitorLabel;  // x and y only
  Placement list;
  Placement buttons[kMaxBottomButtons];
};
void ComputePageLayout(const LayoutInput& in, LayoutResult* out);

}  // namespace tov

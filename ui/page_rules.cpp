#include "ui/page_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

// Texts of the menu items.
enum MenuText {
  kTextInfo = 301,
  kTextRemove = 302,
  kTextRemoveUnchecked = 303,
  kTextClose = 304,
  kTextRefresh = 305,
  kTextKillTask = 306,
  kTextFullReport = 310,
  kTextAdd = 311,
  kTextEnable = 632,
  kTextDisable = 633,
  kTextOnlineInfo = 641,
  kTextView = 659,
  kTextRemoveChecked = 708,
  kTextClearFile = 711,
  kTextRestore = 717,
  kTextDeleteOnReboot = 801,
  kTextViewInNotepad = 913,
  kTextDelete = 925,
  kTextViewNote = 971,
  kTextHelp = 31,
  kTextMoveToDelayed = 1116,
  kTextLaunch = 1117,
  kTextDelayOptions = 1118,
  kTextRestoreToStartup = 1124,
  kTextExploreFolder = 1135,
  kTextProgramProperties = 1136,
};

// Startup entries from this code on (Winlogon and registry hooks) cannot be
// delayed, removed, disabled or deleted from the menu.
constexpr int kFirstSystemStartupCode = 250;
// The Run keys opened under HKEY_USERS are listed only: no change of them is
// defined, so their menu offers none (as their buttons do).
constexpr int kFirstUsersRunCode = 21;
constexpr int kLastUsersRunCode = 25;

bool IsListedOnly(int code) { return code >= kFirstUsersRunCode && code <= kLastUsersRunCode; }

struct MenuBuilder {
  MenuItem* out;
  int cap;
  int count;
  void Add(int textId, int command) {
    if (count < cap) out[count] = MenuItem{textId, command};
    ++count;
  }
  void Separator() { Add(0, 0); }
  void ProgramItems() {
    Add(kTextInfo, kCmdInfo);
    Add(kTextExploreFolder, kCmdExploreFolder);
    Add(kTextProgramProperties, kCmdProgramProperties);
  }
  void NoteItem(bool exists) {
    if (exists) Add(kTextViewNote, kCmdViewNote);
  }
};

struct HelpFile {
  int command;
  const char* file;
};

const HelpFile kHelpFiles[] = {
    {6026, "startup.html"},  {6028, "cookies.html"},   {6029, "tasks.html"},
    {6033, "options.html"},  {6038, "services.html"},  {6039, "scheduler.html"},
    {6040, "bho.html"},      {6042, "filetype.html"},  {6051, "helpme.html"},
    {6052, "hidden.html"},   {6055, "delay.html"},
};

}  // namespace

int EntryMenuItems(int pageId, const MenuEntryFacts& entry, MenuItem* out, int cap) {
  MenuBuilder m{out, cap, 0};
  switch (pageId) {
    case 6026:
      m.ProgramItems();
      m.NoteItem(entry.noteExists);
      m.Add(kTextAdd, kCmdAdd);
      if (entry.code < kFirstSystemStartupCode && !IsListedOnly(entry.code)) {
        m.Add(kTextMoveToDelayed, kCmdMoveToDelayed);
        m.Separator();
        m.Add(kTextRemove, kCmdRemove);
        if (entry.disabled) m.Add(kTextEnable, kCmdEnable);
        else m.Add(kTextDisable, kCmdDisable);
        m.Add(kTextDeleteOnReboot, kCmdDeleteOnReboot);
      }
      break;
    case 6055:
      m.ProgramItems();
      m.Add(kTextAdd, kCmdAdd);
      m.Add(kTextLaunch, kCmdLaunch);
      m.Add(kTextDelayOptions, kCmdDelayOptions);
      m.Separator();
      m.Add(kTextRemove, kCmdRemove);
      m.Add(kTextRestoreToStartup, kCmdRestoreToStartup);
      m.NoteItem(entry.noteExists);
      break;
    case 6040:
    case 6039:
      m.ProgramItems();
      m.NoteItem(entry.noteExists);
      m.Add(kTextRemove, kCmdRemove);
      m.Add(kTextDeleteOnReboot, kCmdDeleteOnReboot);
      break;
    case 6038:
      m.ProgramItems();
      m.NoteItem(entry.noteExists);
      break;
    case 6029:
      m.ProgramItems();
      m.NoteItem(entry.noteExists);
      m.Add(kTextRefresh, kCmdRefresh);
      m.Add(kTextKillTask, kCmdKillTask);
      m.Add(kTextDeleteOnReboot, kCmdDeleteOnReboot);
      break;
    case 6028:
      m.Add(kTextView, kCmdInfo);
      m.Add(kTextRemoveUnchecked, kCmdPageClose);
      m.Add(kTextRemoveChecked, kCmdRemoveChecked);
      break;
    case 6042:
      m.Add(kTextInfo, kCmdInfo);
      m.NoteItem(entry.noteExists);
      m.Add(kTextAdd, kCmdAdd);
      m.Add(kTextRemove, kCmdRemove);
      break;
    case 6052:
      m.ProgramItems();
      m.NoteItem(entry.noteExists);
      m.Add(kTextRefresh, kCmdRefresh);
      m.Add(kTextDelete, kCmdDeleteHidden);
      m.Add(kTextDeleteOnReboot, kCmdDeleteOnReboot);
      m.Add(kTextViewInNotepad, kCmdViewInNotepad);
      break;
    case 6041:
      m.Add(kTextRestore, kCmdHistoryRestore);
      m.Add(kTextClearFile, kCmdHistoryClear);
      m.Add(kTextClose, 1);
      break;
    default:
      return 0;
  }
  m.Separator();
  m.Add(kTextOnlineInfo, kCmdOnlineInfo);
  if (pageId != 6028) m.Add(kTextFullReport, kCmdFullReport);
  m.Add(kTextHelp, kCmdHelp);
  return m.count < cap ? m.count : cap;
}

size_t HelpFileName(int pageCommand, const char* languageCode, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  const char* file = "features.html";
  for (const HelpFile& row : kHelpFiles)
    if (row.command == pageCommand) file = row.file;
  bool whole = true;
  if (languageCode[0] && strcmp(languageCode, "us") != 0) {
    whole = CopyTextN(out, cap, languageCode) && AppendTextN(out, cap, "_");
  }
  whole = whole && AppendTextN(out, cap, file);
  if (!whole) {
    out[0] = 0;
    return 0;
  }
  return strlen(out);
}

void ComputePageLayout(const LayoutInput& in, LayoutResult* out) {
  const int w = in.sheetWidth, h = in.sheetHeight;
  *out = LayoutResult{};
  if (in.pictureHeight <= kStackedPictureHeight || in.monitorWidth == 0) {
    out->help = {w - 3 * in.helpWidth, 3, 0, 0};
    out->helpLabel = {w - int(1.75 * in.helpLabelWidth), 25, 0, 0};
    out->monitor = {w - 3 * in.monitorWidth, 38, 0, 0};
    out->monitorLabel = {w - int(1.5 * in.monitorLabelWidth), 60, 0, 0};
  } else {
    // Taller pictures would run into each other and into the list when
    // stacked: the Help button goes left of the monitor button, each with
    // its label centred below it.
    out->monitor = {w - 3 * in.monitorWidth, 3, 0, 0};
    out->help = {out->monitor.x - in.helpWidth - kPictureGap, 3, 0, 0};
    const int labelY = 3 + in.pictureHeight;
    out->helpLabel = {out->help.x + (in.helpWidth - in.helpLabelWidth) / 2, labelY, 0, 0};
    out->monitorLabel = {out->monitor.x + (in.monitorWidth - in.monitorLabelWidth) / 2, labelY, 0, 0};
  }
  if (in.pictureHeight > kStackedPictureHeight && in.monitorWidth == 0)
    out->helpLabel = {out->help.x + (in.helpWidth - in.helpLabelWidth) / 2, 3 + in.pictureHeight, 0, 0};

  Placement& list = out->list;
  list.x = in.units.x7;
  list.y = in.units.y44 + 5;
  list.width = w - int(1.5 * in.units.x14) - 20;
  list.height = h - int(1.5 * in.units.y90) + (in.oneTabRow ? 5 : -16);

  int n = in.buttonCount;
  if (n < 1) return;
  if (n > kMaxBottomButtons) n = kMaxBottomButtons;
  const int bw = in.buttonWidth, bh = in.buttonHeight;
  const int y = h - int(2.75 * in.units.y35) + (in.oneTabRow ? bh / 2 + 14 : 8);
  if (n < 2) {
    out->buttons[0] = {w / 2 - bw / 2, y, bw, bh};
    return;
  }
  const int step = bw + (list.width - n * bw) / (n - 1);
  int x = in.units.x7;
  for (int i = 0; i < n - 1; ++i, x += step) out->buttons[i] = {x, y, bw, bh};
  out->buttons[n - 1] = {x + 25, y, bw - 25, bh};
}

}  // namespace tov

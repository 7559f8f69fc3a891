#include "ui/page_rules.h"

#include <cstring>

#include "core/text.h"
#include "resources/string_ids.h"

namespace tov {

bool WhenNoteExists(const MenuEntryFacts& entry) { return entry.noteExists; }
bool WhenDisabled(const MenuEntryFacts& entry) { return entry.disabled; }
bool WhenEnabled(const MenuEntryFacts& entry) { return !entry.disabled; }

int EntryMenuItems(const EntryMenu& menu, const MenuEntryFacts& entry, MenuItem* out, int cap) {
  if (menu.rows.count == 0) return 0;
  int count = 0;
  auto add = [&](int textId, int command) {
    if (count < cap) out[count] = MenuItem{textId, command};
    ++count;
  };
  for (const MenuRow& row : menu.rows)
    if (row.condition == nullptr || row.condition(entry)) add(row.textId, row.command);
  add(0, 0);
  add(kTextZarvoInfo, kCmdOnlineInfo);
  if (!menu.withoutReport) add(kTextFullReport, kCmdFullReport);
  add(kTextTovrelHelp, kCmdHelp);
  return count < cap ? count : cap;
}

size_t HelpFileName(const char* file, const char* languageCode, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (file == nullptr) file = "features.html";
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

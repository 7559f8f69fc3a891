// The page of a family that has not landed yet: its tab, its introduction,
// the Help button and an empty list with the Title and Command columns,
// with the shared page behaviour.
#include <windows.h>
#include <commctrl.h>

#include "core/entries.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/page_framework.h"
#include "ui/pages.h"
#include "ui/pending_pages.h"

namespace tov {

namespace {

constexpr int kGenericColumns = 2;

struct GenericPage {
  PageDefinition definition;
  ControlText intro[1];
  ColumnRow columns[kGenericColumns];
};
GenericPage g_pages[kMaxPendingPages];

void FillEmpty(HWND page) {
  ClearEntries();
  SendMessageA(PageList(page), LVM_DELETEALLITEMS, 0, 0);
}

void MakeGenericPage(const PendingPage& pending, GenericPage* out) {
  *out = GenericPage{};
  out->intro[0] = ControlText{IDC_PAGE_INTRO, pending.introTextId};
  for (int i = 0; i < kGenericColumns; ++i)
    out->columns[i] = ColumnRow{i == 0 ? kTextTitle : kTextCommand,
                                 i < pending.list.columns.count ? pending.list.columns.rows[i].share : 0};
  PageDefinition& d = out->definition;
  d.pageId = pending.command;
  d.helpFile = pending.helpFile;
  if (pending.introTextId) d.texts = out->intro;
  d.list.columns = out->columns;
  d.list.fullWidth = pending.list.fullWidth;
  d.list.lastSortableColumn = pending.list.lastSortableColumn;
  d.menu = pending.menu;
  d.fill = FillEmpty;
}

}  // namespace

const PageDefinition* GenericPageDefinition(int command) {
  for (int row = 0; row < PendingPageCount() && row < kMaxPendingPages; ++row) {
    if (PendingPageAt(row).command != command) continue;
    GenericPage& page = g_pages[row];
    if (page.definition.pageId != command) MakeGenericPage(PendingPageAt(row), &page);
    return &page.definition;
  }
  return nullptr;
}

}  // namespace tov

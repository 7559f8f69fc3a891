// The facts of the pages whose families have not landed yet: their lists'
// column shares and sort options, their entry menus, help files and
// introductions. The generic page shows such a page from these; a family
// whose page lands moves its row into its own page file and deletes it here.
// Portable: no Windows headers.
#pragma once
#include "ui/page_rules.h"
#include "ui/sort_keys.h"

namespace tov {

struct PendingPage {
  int command;          // page command (or list id)
  int introTextId;      // text of IDC_PAGE_INTRO; 0 for none
  const char* helpFile; // null: "features.html"
  ListFacts list;       // column text ids 0 where the family's page names them
  EntryMenu menu;
};

// The row of a page command, or null.
const PendingPage* FindPendingPage(int command);
int PendingPageCount();
const PendingPage& PendingPageAt(int row);

}  // namespace tov

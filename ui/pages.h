// The page a family that has not landed yet shows: its title, its
// introduction and an empty list, from the facts kept in pending_pages.
#pragma once
#include "ui/page_framework.h"

namespace tov {

// Enough for every row of the pending pages.
constexpr int kMaxPendingPages = 12;

// The generic page's definition for a page command (shown by PageProc), or
// null when the command has no pending row.
const PageDefinition* GenericPageDefinition(int command);

}  // namespace tov

// Rules of the History window that need no window: the sortable form of an
// event's date and when a double click may turn a disable or enable back.
// Portable: no Windows headers.
#pragma once
#include <cstddef>

#include "ui/page_rules.h"
#include "ui/sort_keys.h"

namespace tov {

// "yyyymmddhhmm" (hour 00-23) from an event date "MM/DD/YYYY  h:mm AM" or
// "... PM" (12 AM is hour 0, 12 PM hour 12), so that dates sort in time
// order. A text not of that form is copied as it is (cut to cap - 1).
// Returns the length.
size_t HistorySortableDate(const char* date, char* out, size_t cap);

// A "START_Disable" event is turned back only while its entry is still
// disabled, a "START_Enable" event only while it is enabled: toggling in
// any other state would repeat the change instead of reversing it. Other
// actions: true.
bool ToggleReversesEvent(int action, bool disabledNow);

// The History window's list: "Title", "Action", "Command" (it shows the type
// name) and "Date Modified", sorted by "SortHistory".
extern const ListFacts kHistoryList;
// Its entry menu: Restore, Clear File, Close and the common tail.
extern const EntryMenu kHistoryMenu;

}  // namespace tov

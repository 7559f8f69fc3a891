#include "ui/sort_keys.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

struct ListColumns {
  int listId;
  bool fullWidth;
  double share[kMaxListColumns];
};

// Column shares of every list of the program.
const ListColumns kListColumns[] = {
    {6026, false, {0.30, 0.16, 0.18, 0.15, 0.20, 0}},        // Startup Programs
    {6055, false, {0.35, 0.30, 0.15, 0.20, 0, 0}},           // Delayed Start
    {6040, true, {0.30, 0.20, 0.20, 0.09, 0.20, 0}},         // IE Helpers
    {6039, true, {0.30, 0.20, 0.20, 0.18, 0.16, 0}},         // Scheduled Tasks
    {6038, false, {0.30, 0.18, 0.18, 0.09, 0.10, 0.20}},     // Services
    {6029, false, {0.25, 0.35, 0.20, 0.20, 0, 0}},           // Active Tasks
    {6028, false, {0.60, 0.39, 0, 0, 0, 0}},                 // Cookies
    {kListCookieViewer, false, {0.40, 0.20, 0.10, 0.20, 0.09, 0}},
    {6042, false, {0.30, 0.17, 0.20, 0.12, 0.08, 0.10}},     // File Types
    {6052, false, {0.23, 0.30, 0.20, 0.20, 0.12, 0}},        // Hidden Files
    {kListHistory, false, {0.35, 0.22, 0.22, 0.38, 0, 0}},   // History window
};

struct SortOption {
  int listId;
  const char* name;
};

const SortOption kSortOptions[] = {
    {6026, "SortStartup"},       {6055, "SortPrograms"},   {6040, "SortIEHelper"},
    {6039, "SortScheduledTask"}, {6038, "SortService"},    {6029, "SortActiveTask"},
    {6028, "SortCookie"},        {kListCookieViewer, "SortCookie"},
    {6042, "SortFileType"},      {6052, "SortHidden"},     {kListHistory, "SortHistory"},
};

const ListColumns* FindList(int listId) {
  for (const ListColumns& row : kListColumns)
    if (row.listId == listId) return &row;
  return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ColumnShare(int listId, int column) {
  const ListColumns* row = FindList(listId);
  if (row == nullptr || column < 0 || column >= kMaxListColumns) return 0;
  return row->share[column];
}

bool IsFullWidthList(int listId) {
  const ListColumns* row = FindList(listId);
  return row != nullptr && row->fullWidth;
}

int ColumnWidth(int listId, int column, int listWidth, int scrollBarWidth) {
  int room = IsFullWidthList(listId) ? listWidth : listWidth - scrollBarWidth;
  if (room <= 0) return 0;
  return int(room * ColumnShare(listId, column));
}

const char* SortOptionName(int listId) {
  for (const SortOption& row : kSortOptions)
    if (row.listId == listId) return row.name;
  return nullptr;
}

int LastSortableColumn(int listId) { return listId == 6038 ? 5 : 4; }

size_t SortableDate(const char* detected, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  size_t length = strlen(detected);
  if (length < kShortestDetectedText) {
    CopyTextN(out, cap, " ");
    return strlen(out);
  }
  // "mm/dd/yyyy h:mm" or "mm/dd/yyyy hh:mm": the hour begins at 11.
  char date[kSortableDateCapacity] = {};
  memcpy(date, detected + 6, 4);
  memcpy(date + 4, detected, 2);
  memcpy(date + 6, detected + 3, 2);
  const char* hour = detected + 11;
  if (IsDigit(hour[0]) && IsDigit(hour[1])) {
    date[8] = hour[0];
    date[9] = hour[1];
    hour += 2;
  } else {
    date[8] = '0';
    date[9] = hour[0];
    hour += 1;
  }
  if (*hour == ':') ++hour;
  date[10] = hour[0] ? hour[0] : '0';
  date[11] = hour[0] && hour[1] ? hour[1] : '0';
  CopyTextN(out, cap, date);
  return strlen(out);
}

const char* DisabledKeyPrefix(int direction) { return direction == 0 ? "zzz" : "aaa"; }

bool MakeStartupKey(const char* key, bool disabled, int direction, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (disabled && !CopyTextN(out, cap, DisabledKeyPrefix(direction))) return false;
  return AppendTextN(out, cap, key);
}

int CompareCutKeys(const char* a, const char* b, int direction, KeyCompareProc compare) {
  size_t aLength = strlen(a), bLength = strlen(b);
  size_t shorter = aLength < bLength ? aLength : bLength;
  int result = compare(a, shorter, b, shorter);
  return direction == 0 ? result : -result;
}

int CompareNumbers(long a, long b, int direction) {
  long difference = direction == 0 ? (a > b) - (a < b) : (b > a) - (b < a);
  return int(difference);
}

}  // namespace tov

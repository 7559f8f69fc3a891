#include "ui/sort_keys.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ColumnShare(const ListFacts& list, int column) {
  if (column < 0 || column >= list.columns.count || column >= kMaxListColumns) return 0;
  return list.columns.rows[column].share;
}

int ColumnWidth(const ListFacts& list, int column, int listWidth, int scrollBarWidth) {
  int room = list.fullWidth ? listWidth : listWidth - scrollBarWidth;
  if (room <= 0) return 0;
  return int(room * ColumnShare(list, column));
}

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

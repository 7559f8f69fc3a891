// The rules every list shares for its columns and its sort order: the
// column shares of each list, the sort option of each page, the sortable
// form of a first-detection date, the prefix that keeps disabled startup
// entries last, and the comparison of two keys cut to the shorter one.
// Portable: no Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// Lists have at most six columns; the sort directions are kept per column.
constexpr int kMaxListColumns = 6;
// A sort key holds one column text (a path is the longest).
constexpr size_t kSortKeyCapacity = 260;
// A first-detection text this long or shorter has no date in it.
constexpr size_t kShortestDetectedText = 12;
// The sortable date form: "yyyymmddhhmm".
constexpr size_t kSortableDateCapacity = 13;

// A table given to shared code: rows and their number, taken from an array.
template <typename T> struct Rows {
  const T* rows = nullptr;
  int count = 0;
  constexpr Rows() = default;
  template <size_t N> constexpr Rows(const T (&array)[N]) : rows(array), count(int(N)) {}
  const T* begin() const { return rows; }
  const T* end() const { return rows + count; }
};

// One column of a list: its header text and its share of the list width.
struct ColumnRow {
  int textId;
  double share;
};

// What a list's columns and sort order are made of.
struct ListFacts {
  Rows<ColumnRow> columns;    // at most kMaxListColumns
  bool fullWidth;             // the columns share the whole width (no room kept for a scroll bar)
  const char* sortOption;     // option keeping the sort column ("SortStartup"); null: none
  int lastSortableColumn;     // highest column a column click sorts by
};

// Share of a column, 0 for a column the list does not have.
double ColumnShare(const ListFacts& list, int column);
// Width of a column in pixels: (list width - scroll bar, unless full width)
// times the share, cut to whole pixels; never negative.
int ColumnWidth(const ListFacts& list, int column, int listWidth, int scrollBarWidth);

// "yyyymmddhhmm" from a first-detection text "mm/dd/yyyy h:mm" or
// "mm/dd/yyyy hh:mm"; a text of 11 characters or fewer gives " ". Returns
// the length written.
size_t SortableDate(const char* detected, char* out, size_t cap);

// The prefix that puts disabled startup entries last: "zzz" ascending,
// "aaa" descending.
const char* DisabledKeyPrefix(int direction);
// key, with the disabled prefix in front when disabled; false when cut.
bool MakeStartupKey(const char* key, bool disabled, int direction, char* out, size_t cap);

// Compares two texts of the given lengths: returns <0, 0, >0.
typedef int (*KeyCompareProc)(const char* a, size_t aLength, const char* b, size_t bLength);
// Both keys cut to the length of the shorter one, compared by compare, the
// result turned round for a non-zero direction.
int CompareCutKeys(const char* a, const char* b, int direction, KeyCompareProc compare);
// Numbers: first minus second ascending, second minus first descending
// (clamped to -1, 0, 1).
int CompareNumbers(long a, long b, int direction);

}  // namespace tov

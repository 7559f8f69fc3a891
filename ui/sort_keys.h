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

// Ids of the lists that are not pages of the sheet.
constexpr int kListCookieViewer = 6044;
constexpr int kListHistory = 6041;

// Share of the list width given to a column of a list (page id), or 0 for a
// list or column that has none.
double ColumnShare(int listId, int column);
// Lists whose columns share the whole width (no room kept for a scroll bar).
bool IsFullWidthList(int listId);
// Width of a column in pixels: (list width - scroll bar, unless full width)
// times the share, cut to whole pixels; never negative.
int ColumnWidth(int listId, int column, int listWidth, int scrollBarWidth);

// The option that keeps a page's sort column ("SortStartup", ...); nullptr
// for lists that keep none.
const char* SortOptionName(int listId);
// Highest column a column click sorts by: 5 on Services, 4 elsewhere.
int LastSortableColumn(int listId);

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

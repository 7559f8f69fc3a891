// The report-style lists of the pages: rows tied to entries of the shared
// entry list (each row's item data is its entry index), the small-icon image
// lists, column widths and the shared sort rules.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "ui/sort_keys.h"

namespace tov {

// Image-list slots: one for the History window, one for the page list.
enum ImageListSlot { kImageListHistory = 0, kImageListPage = 1, kImageListSlots = 2 };

// Puts an icon into an image list at index (-1: a new image at the end)
// and returns the image's index (-1 when it failed). An icon of the list's
// size goes in as its colour and mask bitmaps: handed over as an icon, the
// list converts it itself, which takes milliseconds an icon.
int PutIconImage(HIMAGELIST images, int index, HICON icon);
// The same for an image already taken apart into its bitmaps (which stay
// the caller's).
int PutImageBitmaps(HIMAGELIST images, int index, HBITMAP color, HBITMAP mask);
// The colour and mask bitmaps of an icon when they are exactly one image
// of width x height (the caller deletes them); false, and none, otherwise.
// Any thread may call it.
bool IconImageBitmaps(HICON icon, int width, int height, HBITMAP* color, HBITMAP* mask);
// Creates the slot's image list (system small-icon size, 32-bit colour with
// mask), attaches it to the list as its small-icon list and adds the
// program icon as image 0. An earlier list of the slot is destroyed first.
void CreateImageList(HWND list, int slot);
void DestroyImageList(int slot);
// The image of the icon of that number from the program file of path: one
// image per distinct program and icon number in a fill, put in when a
// worker thread has read the file (the row shows no icon until then), the
// default program icon when the file has none. Returns the image index, or
// -1 when no image list exists.
int AddProgramIcon(const char* path, int iconNumber, int slot);
// Sets a column of a row to the CompanyName of the program of path, read
// by the same worker: the cell is empty until then (LVN_GETDISPINFO, which
// PageMessage answers). The row's item data must already be its entry.
// With productNamed a version resource that names no product gives no
// company.
void SetRowCompany(HWND list, int row, int column, const char* path, int slot = kImageListPage,
                   bool productNamed = false);
// The company read so far for an entry's program, for sort keys (no file
// is read): empty until it is in.
size_t ListCompany(int entry, char* out, size_t cap, int slot = kImageListPage);
template <size_t N> size_t ListCompany(int entry, char (&out)[N]) { return ListCompany(entry, out, N); }

// Inserts a row at position row with the title, the image and the entry
// index as item data. Returns the row's position, or -1.
int InsertRow(HWND list, int row, const char* title, int image, int entryIndex);
// Sets the text of a column of a row.
void SetRowText(HWND list, int row, int column, const char* text);
// The entry index of the first selected row, or -1.
int SelectedEntry(HWND list);
// The position of the first selected row, or -1.
int SelectedRow(HWND list);
// Number of selected rows.
int SelectedCount(HWND list);
// The next selected row after row (-1 starts from the top), or -1.
int NextSelectedRow(HWND list, int row);
// The entry index stored in a row, or -1.
int RowEntry(HWND list, int row);
// Selects the row and scrolls it into view; the other rows keep their state.
void SelectRow(HWND list, int row);

// Inserts a left-aligned column with the width the list's share gives.
bool SetupColumn(HWND list, int column, const char* header, const ListFacts& facts);
// Inserts every column of the list, headers from the string table.
bool SetupColumns(HWND list, const ListFacts& facts);

// Sort directions, one per column, shared by every list: 0 ascending.
void ResetSortDirections();
int SortDirection(int column);

// One column key of an entry: a text, or a number for the columns that sort
// by number.
struct SortKey {
  char text[kSortKeyCapacity];
  long number;
  bool isNumber;
};
// Fills key for entry entryIndex and column, given the column's direction.
typedef void (*SortKeyProc)(int entryIndex, int column, int direction, SortKey* key);

// Sorts the rows by column with that column's current direction: the keys
// are cut to the shorter one and compared without case in the user's
// locale. The keys of every row are made once per sort.
void SortList(HWND list, int column, SortKeyProc keys);
// Sorts again by the list's last sort (same column and direction) when it
// was by this column: the companies came in after it.
void SortAgainIfSortedBy(HWND list, int column);
// Column click on a page list: columns up to the list's last sortable one
// are sorted, that column's direction turned round and column + 1 stored
// under the list's sort option.
void OnListColumnClick(HWND list, int column, const ListFacts& facts, SortKeyProc keys);
// After a page has filled its list: the stored sort column (if any) once,
// then full-row selection.
void ApplyStoredSort(HWND list, const ListFacts& facts, SortKeyProc keys);

}  // namespace tov

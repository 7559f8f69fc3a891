#include "ui/listview.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/detected.h"
#include "core/text.h"
#include "resources/resource.h"
#include "core/entries.h"
#include "ui/list_worker.h"

namespace tov {

namespace {

ImageList g_imageLists[kImageListSlots];
int g_sortDirections[kMaxListColumns];

// The last sort of a list, so it can run again when the companies are in.
struct LastSort {
  HWND list;
  int column;
  int direction;
  SortKeyProc keys;
};
LastSort g_lastSort;

// The keys of one sort, by entry index, handed to the comparison.
struct SortRun {
  SortKey* keys;
  int count;
  int direction;
};

int CompareInLocale(const char* a, size_t aLength, const char* b, size_t bLength) {
  int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, int(aLength), b, int(bLength));
  return result == 0 ? 0 : result - CSTR_EQUAL;
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM run) {
  const SortRun* sort = reinterpret_cast<const SortRun*>(run);
  if (first < 0 || second < 0 || first >= sort->count || second >= sort->count) return 0;
  const SortKey& a = sort->keys[first];
  const SortKey& b = sort->keys[second];
  if (a.isNumber) return CompareNumbers(a.number, b.number, sort->direction);
  return CompareCutKeys(a.text, b.text, sort->direction, CompareInLocale);
}

bool ValidSlot(int slot) { return slot >= 0 && slot < kImageListSlots; }

void SortWithDirection(HWND list, int column, int direction, SortKeyProc keys) {
  int count = EntryCount();
  if (count <= 0) return;
  SortRun run{static_cast<SortKey*>(calloc(size_t(count), sizeof(SortKey))), count, direction};
  if (!run.keys) return;
  {
    // Keys of dates read the stored first-detection dates once per sort.
    FirstDetectedHeld dates;
    for (int i = 0; i < count; ++i) keys(i, column, run.direction, &run.keys[i]);
  }
  SendMessageA(list, LVM_SORTITEMS, (WPARAM)&run, (LPARAM)CompareRows);
  free(run.keys);
  g_lastSort = LastSort{list, column, direction, keys};
}

}  // namespace

void DestroyImageList(int slot) {
  if (!ValidSlot(slot)) return;
  EndListWork(slot);
  g_imageLists[slot].reset();
}

bool IconImageBitmaps(HICON icon, int width, int height, HBITMAP* color, HBITMAP* mask) {
  *color = nullptr;
  *mask = nullptr;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return false;
  BITMAP c{}, m{};
  bool fits = info.fIcon && info.hbmColor && info.hbmMask && GetObjectA(info.hbmColor, sizeof c, &c) &&
              GetObjectA(info.hbmMask, sizeof m, &m) && c.bmWidth == width && c.bmHeight == height &&
              m.bmWidth == width && m.bmHeight == height;
  if (!fits) {
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return false;
  }
  *color = info.hbmColor;
  *mask = info.hbmMask;
  return true;
}

int PutImageBitmaps(HIMAGELIST images, int index, HBITMAP color, HBITMAP mask) {
  if (index < 0) return ImageList_Add(images, color, mask);
  return ImageList_Replace(images, index, color, mask) ? index : -1;
}

int PutIconImage(HIMAGELIST images, int index, HICON icon) {
  if (!images || !icon) return -1;
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  HBITMAP color, mask;
  if (!IconImageBitmaps(icon, width, height, &color, &mask)) return ImageList_ReplaceIcon(images, index, icon);
  int placed = PutImageBitmaps(images, index, color, mask);
  DeleteObject(color);
  DeleteObject(mask);
  return placed;
}

void CreateImageList(HWND list, int slot) {
  if (!ValidSlot(slot)) return;
  DestroyImageList(slot);
  HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       ILC_COLOR32 | ILC_MASK, 16, 256);
  if (!images) return;
  g_imageLists[slot].reset(images);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
  Icon icon((HICON)LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(IDI_TOVREL), IMAGE_ICON,
                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  PutIconImage(images, -1, icon.get());
  BeginListWork(slot, list, images);  // its images follow the program's own
}

int AddProgramIcon(const char* path, int iconNumber, int slot) {
  if (!ValidSlot(slot) || !g_imageLists[slot]) return -1;
  char program[kPathCapacity];
  if (!ProgramFileOfCommand(path, program)) program[0] = 0;
  return QueueProgramIcon(slot, program, iconNumber);
}

void SetRowCompany(HWND list, int row, int column, const char* path, int slot, bool productNamed) {
  char program[kPathCapacity];
  if (!ProgramFileOfCommand(path, program)) program[0] = 0;
  QueueCompany(slot, RowEntry(list, row), column, program, productNamed);
  SetRowText(list, row, column, LPSTR_TEXTCALLBACKA);
}

size_t ListCompany(int entry, char* out, size_t cap, int slot) {
  return QueuedCompany(slot, entry, out, cap);
}

int InsertRow(HWND list, int row, const char* title, int image, int entryIndex) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
  item.iItem = row;
  item.pszText = const_cast<char*>(title);
  item.iImage = image;
  item.lParam = entryIndex;
  return int(SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item));
}

void SetRowText(HWND list, int row, int column, const char* text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

int SelectedRow(HWND list) { return NextSelectedRow(list, -1); }

int NextSelectedRow(HWND list, int row) {
  return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(row), MAKELPARAM(LVNI_SELECTED, 0)));
}

int SelectedCount(HWND list) { return int(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

int RowEntry(HWND list, int row) {
  if (row < 0) return -1;
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item)) return -1;
  return int(item.lParam);
}

int SelectedEntry(HWND list) { return RowEntry(list, SelectedRow(list)); }

void SelectRow(HWND list, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
  SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

bool SetupColumn(HWND list, int column, const char* header, const ListFacts& facts) {
  RECT r;
  GetWindowRect(list, &r);
  LVCOLUMNA c{};
  c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  c.fmt = LVCFMT_LEFT;
  c.cx = ColumnWidth(facts, column, r.right - r.left, GetSystemMetrics(SM_CXVSCROLL));
  c.pszText = const_cast<char*>(header);
  c.iSubItem = column;
  return SendMessageA(list, LVM_INSERTCOLUMNA, column, (LPARAM)&c) >= 0;
}

bool SetupColumns(HWND list, const ListFacts& facts) {
  bool all = true;
  for (int column = 0; column < facts.columns.count && column < kMaxListColumns; ++column) {
    char header[kTitleCapacity];
    LoadText(facts.columns.rows[column].textId, header);
    all = SetupColumn(list, column, header, facts) && all;
  }
  return all;
}

void ResetSortDirections() {
  for (int& direction : g_sortDirections) direction = 0;
}

int SortDirection(int column) {
  if (column < 0 || column >= kMaxListColumns) return 0;
  return g_sortDirections[column];
}

void SortList(HWND list, int column, SortKeyProc keys) {
  if (!keys || column < 0 || column >= kMaxListColumns) return;
  SortWithDirection(list, column, g_sortDirections[column], keys);
}

void SortAgainIfSortedBy(HWND list, int column) {
  if (g_lastSort.list != list || g_lastSort.column != column || !g_lastSort.keys) return;
  if (!IsWindow(list)) return;
  SortWithDirection(list, column, g_lastSort.direction, g_lastSort.keys);
}

void OnListColumnClick(HWND list, int column, const ListFacts& facts, SortKeyProc keys) {
  if (column < 0 || column > facts.lastSortableColumn) return;
  SortList(list, column, keys);
  g_sortDirections[column] = g_sortDirections[column] ? 0 : 1;
  if (facts.sortOption) SetOption(facts.sortOption, column + 1);
}

void ApplyStoredSort(HWND list, const ListFacts& facts, SortKeyProc keys) {
  const char* option = facts.sortOption;
  int stored = option ? GetOption(option, 0) : 0;
  if (stored > 0 && stored <= facts.lastSortableColumn + 1) SortList(list, stored - 1, keys);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

}  // namespace tov

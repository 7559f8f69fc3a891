// The File Types page: the program each monitored extension opens with,
// by lookup kind, with its company, class and extension, and the commands
// that add an extension to the monitored list and take one out.
#include <windows.h>
#include <commctrl.h>

#include "core/entries.h"
#include "core/detected.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/version.h"
#include "filetypes/add_filetype_dialog.h"
#include "filetypes/associations.h"
#include "core/page_ids.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/entry_facts.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

// The page's definition, below.
const PageDefinition& FileTypesPage();

namespace {

enum FileTypeColumn {
  kColTitle, kColCommand, kColCompany, kColClass, kColExtension, kColType, kColumnCount
};
const ColumnRow kColumns[kColumnCount] = {
    {kTextTitle, 0.30}, {kTextCommand, 0.17}, {kTextCompany, 0.20},
    {kTextClass, 0.12}, {kTextExtension, 0.08}, {kTextType, 0.10},
};

void CommandText(const Entry& e, char (&out)[kSortKeyCapacity]) {
  if (int id = CommandDisplayName(e.path, out, sizeof out)) LoadText(id, out);
}


void FileTypeSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColTitle: CopyText(key->text, e->title); break;
    case kColCommand: CommandText(*e, key->text); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      ListCompany(entry, company);
      CopyText(key->text, company);
      break;
    }
    case kColClass: CopyText(key->text, e->source); break;
    case kColExtension: CopyText(key->text, e->extra); break;
    case kColType: CopyText(key->text, KindName(e->flag)); break;
  }
}

// The extension's DefaultIcon, else the icon of the program file.
int RowIcon(const Entry& e) {
  char file[kPathCapacity];
  int index = 0;
  if (DefaultIcon(e.extra, e.flag, file, sizeof file, &index))
    return AddProgramIcon(file, index, kImageListPage);
  return AddProgramIcon(e.path, 0, kImageListPage);
}

// The program is dated in the first-detection store the first time a file
// type shows it.
void NoteFirstDetection(const Entry& e) {
  char key[kDetectedKeyCapacity];
  if (e.path[0] && DetectedKeyOf(DetectedKindOf(e.code), key)) RecordFirstDetected(e.path, key);
}

void FillFileTypes(HWND page) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  EnumerateFileTypes();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    int row = InsertRow(list, i, e.title, RowIcon(e), i);
    if (row < 0) continue;
    char command[kSortKeyCapacity];
    CommandText(e, command);
    SetRowText(list, row, kColCommand, command);
    SetRowCompany(list, row, kColCompany, e.path);
    SetRowText(list, row, kColClass, e.source);
    SetRowText(list, row, kColExtension, e.extra);
    SetRowText(list, row, kColType, KindName(e.flag));
    NoteFirstDetection(e);
  }
  ApplyStoredSort(list, FileTypesPage().list, FileTypeSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

void OnAdd(HWND page) {
  AddFileTypeDialog(page);
  FillFileTypes(page);
}

// Takes the selected row's extension out of the monitored list. The row
// names its entry, so a sorted list removes what the user selected.
void OnRemove(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    ShowInfoMessage(kTextNoSelectionHasBeenId60);
    return;
  }
  char extension[kEntryExtraSlot];
  EntryExtra(entry, extension, sizeof extension);
  RemoveMonitoredExtension(extension);
  FillFileTypes(page);
}

// Four bottom buttons, and the hint between the list and the buttons.
void OnFileTypesLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_FILE_TYPES_ADD, IDC_FILE_TYPES_REMOVE, IDC_PAGE_CLOSE};
  PageLayout layout;
  LayoutPageWithButtons(page, buttons, &layout);
  HWND hint = GetDlgItem(page, IDC_FILE_TYPES_HINT);
  RECT list, button, hintRect;
  GetWindowRect(layout.list, &list);
  GetWindowRect(layout.buttons[0], &button);
  GetWindowRect(hint, &hintRect);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&list), 2);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&button), 2);
  int hintHeight = hintRect.bottom - hintRect.top;
  int hintTop = button.top - hintHeight - 2;
  if (hintTop - list.top < hintHeight) return;  // too small a sheet: keep the list
  SetWindowPos(layout.list, nullptr, 0, 0, list.right - list.left, hintTop - list.top - 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hint, nullptr, list.left, hintTop, list.right - list.left, hintHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextFileTypesIntro},
    {IDC_FILE_TYPES_HINT, kTextSelectAProgramTitle},
    {IDC_FILE_TYPES_ADD, kTextAdd},
    {IDC_FILE_TYPES_REMOVE, kTextRemove},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextAdd, kCmdAdd, nullptr},
    {kTextRemove, kCmdRemove, nullptr},
};

const PageCommandRow kCommands[] = {
    {kCmdAdd, OnAdd, BN_CLICKED},
    {kCmdRemove, OnRemove, BN_CLICKED},
};

PageDefinition MakeFileTypesPage() {
  PageDefinition d{};
  d.pageId = kCmdFileTypes;
  d.helpFile = "filetype.html";
  d.patrolTitleId = kPatrolFileTypes;
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.sortOption = "SortFileType";
  d.list.lastSortableColumn = 4;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = FileTypeSortKeys;
  d.fill = FillFileTypes;
  d.layout = OnFileTypesLayout;
  d.locationText = LocationText;
  return d;
}

}  // namespace

const PageDefinition& FileTypesPage() {
  static const PageDefinition page = MakeFileTypesPage();
  return page;
}

}  // namespace tov

// The IE Helpers page: the Browser Helper Objects, toolbars and toolbar
// buttons registered for Internet Explorer, with their program, company,
// kind and first-detection date; Remove takes a registration away.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "core/detected.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/text.h"
#include "core/version.h"
#include "hidden/reboot_delete.h"
#include "iehelpers/helpers.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& IEHelpersPage();

namespace {

enum HelperColumn { kColName, kColProgram, kColCompany, kColType, kColDetected, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextName, 0.30}, {kTextProgram, 0.20}, {kTextCompany, 0.20}, {kTextType, 0.09},
    {kTextFirstDetected, 0.20},
};
constexpr int kTextRemoveHelperQuestion = 698;

// The company of the file named by the path, when its version resource
// names a product.

void ProgramText(const char* path, char (&out)[kPathCapacity]) {
  if (FileNameOf(path, out) == 0) CopyText(out, path);
}

void DetectedText(const Entry& e, char (&out)[kFirstDetectedCapacity]) {
  out[0] = 0;
  char program[kPathCapacity];
  ProgramOfCommand(e.path, program);
  if (GetFirstDetected(program, kCodeHelperObject, out) > 0) return;
  char key[kDetectedKeyCapacity];
  if (!DetectedKeyOf(DetectedKindOf(kCodeHelperObject), key)) return;
  RecordFirstDetected(e.path, key);
  GetFirstDetected(program, kCodeHelperObject, out);
}

void HelperSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColName: CopyTextN(key->text, sizeof key->text, e->title); break;
    case kColProgram: FileNameOf(e->path, key->text, sizeof key->text); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      ListCompany(entry, company);
      CopyTextN(key->text, sizeof key->text, company);
      break;
    }
    case kColType: snprintf(key->text, sizeof key->text, "%d", e->code); break;
    case kColDetected: {
      char detected[kFirstDetectedCapacity];
      DetectedText(*e, detected);
      SortableDate(detected, key->text, sizeof key->text);
      break;
    }
  }
}

// The introduction in two paragraphs: what the list holds, how to learn
// more.
void ShowIntroduction(HWND page) {
  char intro[kMessageCapacity];
  char second[kMessageCapacity];
  LoadText(kTextIEHelpersIntro, intro);
  LoadText(kTextSelectTheHelperName, second);
  AppendText(intro, second);
  SetDlgItemTextA(page, IDC_PAGE_INTRO, intro);
}

// "Location: "HKLM\<key>"" as the information window shows it.
size_t HelperLocationText(int entry, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  const char* key = HelperKeyOf(EntryCode(entry));
  if (key == nullptr) return 0;
  char label[kTitleCapacity];
  LoadText(kTextLocation, label);
  CopyTextN(out, cap, label);
  AppendTextN(out, cap, ": \"HKLM\\");
  AppendTextN(out, cap, key);
  AppendTextN(out, cap, "\"");
  return strlen(out);
}

void FillHelperList(HWND page) {
  FirstDetectedHeld dates;  // one read of the dates for every row
  ShowIntroduction(page);
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ScanIEHelpers();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    const char* iconSource = ContainsText(e.extra, ".ico") ? e.extra : e.path;
    int row = InsertRow(list, i, e.title, AddProgramIcon(iconSource, 0, kImageListPage), i);
    if (row < 0) continue;
    char program[kPathCapacity];
    ProgramText(e.path, program);
    SetRowText(list, row, kColProgram, program);
    SetRowCompany(list, row, kColCompany, e.path, kImageListPage, true);
    SetRowText(list, row, kColType, HelperTypeWord(e.code));
    char detected[kFirstDetectedCapacity];
    DetectedText(e, detected);
    SetRowText(list, row, kColDetected, detected);
  }
  ApplyStoredSort(list, IEHelpersPage().list, HelperSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

// The status bar names the registry key of the selected helper.
void OnHelperSelection(HWND page) {
  int entry = SelectedEntry(PageList(page));
  const char* key = HelperKeyOf(EntryCode(entry));
  if (entry < 0 || key == nullptr) return;
  char text[kMessageCapacity];
  LoadText(kTextLocation, text);
  AppendText(text, ": HKLM\\");
  AppendText(text, key);
  SetStatusText(text);
}

void OnRemoveHelper(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0) {
    NothingSelected(page);
    return;
  }
  if (!AskAbout(page, kTextRemoveHelperQuestion, EntryAt(entry)->title, MB_ICONEXCLAMATION))
    return;
  RemoveIEHelper(entry);
  RefillPage(IEHelpersPage(), page);
}


const ControlText kTexts[] = {
    {IDC_HELPERS_REMOVE, kTextRemove},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRemove, kCmdRemove, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
};

const PageCommandRow kCommands[] = {
    {kCmdRemove, OnRemoveHelper, BN_CLICKED},
    {kCmdDeleteOnReboot, DeleteSelectedFileOnReboot, BN_CLICKED},
};

// Info, Remove and Close along the bottom.
void OnHelperLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_HELPERS_REMOVE, IDC_PAGE_CLOSE};
  LayoutPageWithButtons(page, buttons);
}

PageDefinition MakeIEHelpersPage() {
  PageDefinition d{};
  d.pageId = kCmdIEHelpers;
  d.helpFile = "bho.html";
  d.patrolTitleId = kPatrolIEHelpers;
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.fullWidth = true;
  d.list.sortOption = "SortIEHelper";
  d.list.lastSortableColumn = kColumnCount - 1;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = HelperSortKeys;
  d.fill = FillHelperList;
  d.selectionChanged = OnHelperSelection;
  d.locationText = HelperLocationText;
  d.layout = OnHelperLayout;
  return d;
}

}  // namespace

const PageDefinition& IEHelpersPage() {
  static const PageDefinition page = MakeIEHelpersPage();
  return page;
}

}  // namespace tov

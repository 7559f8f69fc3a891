// The Hidden Files page: the hidden files of the system folders with their
// folder, first-detection and last-write dates and system flag, and the
// commands that unhide them, delete them into the vault, delete them at the
// next restart or show them in Notepad.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "core/detected.h"
#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/text.h"
#include "hidden/hidden_files.h"
#include "hidden/reboot_delete.h"
#include "hidden/vault.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& HiddenFilesPage();

namespace {

constexpr int kTextDeleteQuestion = kTextIsThisKnownAdwareId926;
constexpr int kTextRebootQuestion = kTextIsThisKnownAdware;
constexpr char kSystemType[] = "SYSTEM";
constexpr char kDetectedHiddenKey[] = "Software\\Brenvik\\Detected\\Hidden";
constexpr char kNotepadCommand[] = "notepad.exe ";

enum HiddenColumn { kColModule, kColPath, kColDetected, kColWritten, kColType, kColumnCount };
const ColumnRow kColumns[kColumnCount] = {
    {kTextModule, 0.23}, {kTextPath, 0.30}, {kTextFirstDetected, 0.20}, {kTextLastWritten, 0.20},
    {kTextType, 0.12},
};

// The first-detection date of a hidden file, recorded now when it was not
// known yet.
void DetectedText(const char* path, char (&out)[kFirstDetectedCapacity]) {
  char program[kPathCapacity];
  ProgramOfCommand(path, program);
  if (GetFirstDetected(program, kTypeHidden, out) > 0) return;
  RecordFirstDetected(path, kDetectedHiddenKey);
  GetFirstDetected(program, kTypeHidden, out);
}

// The last-write text as the list shows it; empty when the file cannot be
// opened.
bool WrittenText(const char* path, char (&out)[kHiddenDateCapacity]) {
  char date[kHiddenDateCapacity];
  char size[kHiddenDateCapacity];
  out[0] = 0;
  if (LastWrittenText(path, date, sizeof date, size, sizeof size) == 0) return false;
  ShownLastWritten(date, out, sizeof out);
  return true;
}

void HiddenSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->number = 0;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColModule: FileNameOf(e->path, key->text, sizeof key->text); break;
    case kColPath: FolderPartOf(e->path, key->text, sizeof key->text); break;
    case kColDetected: {
      char detected[kFirstDetectedCapacity];
      DetectedText(e->path, detected);
      SortableDate(detected, key->text, sizeof key->text);
      break;
    }
    case kColWritten: {
      char written[kHiddenDateCapacity];
      if (WrittenText(e->path, written)) SortableDate(written, key->text, sizeof key->text);
      break;
    }
    case kColType:
      key->isNumber = true;
      key->number = e->flag;
      break;
  }
}

// The introduction is the warning followed by how to look a file up.
void ShowIntroduction(HWND page) {
  char intro[kMessageCapacity];
  char more[kMessageCapacity];
  LoadText(kTextHiddenFilesIntro, intro);
  LoadText(kTextSelectTheFilenameAnd, more);
  AppendText(intro, more);
  SetDlgItemTextA(page, IDC_PAGE_INTRO, intro);
}

void FillHiddenList(HWND page) {
  FirstDetectedHeld dates;  // one read of the dates for every row
  ShowIntroduction(page);
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ScanHiddenFiles();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  char inUse[kTitleCapacity];
  LoadText(kTextFileInUse, inUse);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    char name[kPathCapacity];
    char folder[kPathCapacity];
    if (FileNameOf(e.path, name) == 0 || FolderPartOf(e.path, folder, sizeof folder) == 0) continue;
    int row = InsertRow(list, i, name, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    SetRowText(list, row, kColPath, folder);
    char detected[kFirstDetectedCapacity];
    DetectedText(e.path, detected);
    SetRowText(list, row, kColDetected, detected);
    char written[kHiddenDateCapacity];
    SetRowText(list, row, kColWritten, WrittenText(e.path, written) ? written : inUse);
    SetRowText(list, row, kColType, e.flag == 1 ? kSystemType : "");
  }
  ApplyStoredSort(list, HiddenFilesPage().list, HiddenSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

// The entry of the first selected row; -1 (after message 57) when none.
int SelectedHiddenEntry(HWND page) {
  int entry = SelectedEntry(PageList(page));
  if (entry < 0 || EntryAt(entry) == nullptr) {
    NothingSelected(page);
    return -1;
  }
  return entry;
}

bool AskStop(HWND page, int textId) {
  char question[kMessageCapacity];
  LoadText(textId, question);
  return MessageBoxA(page, question, ProgramCaption(), MB_YESNO | MB_ICONSTOP | MB_TOPMOST) == IDYES;
}

void OnUnhide(HWND page) {
  int entry = SelectedHiddenEntry(page);
  if (entry < 0) return;
  UnhideFile(EntryAt(entry)->path);
  FillHiddenList(page);
}

void OnRefresh(HWND page) { FillHiddenList(page); }

void OnDeleteHidden(HWND page) {
  int entry = SelectedHiddenEntry(page);
  if (entry < 0 || !AskStop(page, kTextDeleteQuestion)) return;
  const Entry* e = EntryAt(entry);
  char path[kEntryPathSlot];
  CopyText(path, e->path);
  DWORD error = NO_ERROR;
  if (!MoveToVault(e->title, path, &error)) ShowFileFailure(page, path, error);
  FillHiddenList(page);
}

void OnDeleteOnReboot(HWND page) {
  int entry = SelectedHiddenEntry(page);
  if (entry < 0 || !AskStop(page, kTextRebootQuestion)) return;
  char path[kEntryPathSlot];
  CopyText(path, EntryAt(entry)->path);
  DWORD error = NO_ERROR;
  if (!DeleteFileOnReboot(path, &error)) ShowFileFailure(page, path, error);
  FillHiddenList(page);
}

void OnViewInNotepad(HWND page) {
  int entry = SelectedHiddenEntry(page);
  if (entry < 0) return;
  char command[kPathCapacity + sizeof kNotepadCommand];
  CopyText(command, kNotepadCommand);
  AppendText(command, EntryAt(entry)->path);
  WinExec(command, SW_SHOWNORMAL);
}

// Four bottom buttons: Info, Refresh, Unhide and Close.
void OnHiddenLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_HIDDEN_REFRESH, IDC_HIDDEN_UNHIDE, IDC_PAGE_CLOSE};
  LayoutPageWithButtons(page, buttons);
}

const ControlText kTexts[] = {
    {IDC_HIDDEN_REFRESH, kTextRefresh},
    {IDC_HIDDEN_UNHIDE, kTextUnhide},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRefresh, kCmdRefresh, nullptr},
    {kTextDeleteId925, kCmdDeleteHidden, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
    {kTextViewUsingNotePad, kCmdViewInNotepad, nullptr},
};

const PageCommandRow kCommands[] = {
    {IDC_HIDDEN_UNHIDE, OnUnhide, BN_CLICKED},
    {kCmdRefresh, OnRefresh, BN_CLICKED},
    {kCmdDeleteHidden, OnDeleteHidden, BN_CLICKED},
    {kCmdDeleteOnReboot, OnDeleteOnReboot, BN_CLICKED},
    {kCmdViewInNotepad, OnViewInNotepad, BN_CLICKED},
};

PageDefinition MakeHiddenFilesPage() {
  PageDefinition d{};
  d.pageId = kCmdHiddenFiles;
  d.helpFile = "hidden.html";
  d.patrolTitleId = kPatrolHidden;
  d.texts = kTexts;
  d.list.columns = kColumns;
  d.list.sortOption = "SortHidden";
  d.list.lastSortableColumn = kColumnCount - 1;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = HiddenSortKeys;
  d.fill = FillHiddenList;
  d.layout = OnHiddenLayout;
  return d;
}

}  // namespace

const PageDefinition& HiddenFilesPage() {
  static const PageDefinition page = MakeHiddenFilesPage();
  return page;
}

}  // namespace tov

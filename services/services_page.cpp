// The Services page (NT family): every service that runs a program, with
// its company, state and start type; the information window stops a
// service and changes its start type.
#include <windows.h>
#include <commctrl.h>

#include "core/entries.h"
#include "core/files.h"
#include "core/page_ids.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/version.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "services/service_manager.h"
#include "services/service_rules.h"
#include "core/detected.h"
#include "startup/catalogue.h"
#include "ui/info_window.h"
#include "ui/page_framework.h"
#include "ui/patrol_dialog.h"

namespace tov {

const PageDefinition& ServicesPage();

namespace {

enum ServiceColumn {
  kColTitle, kColCommand, kColCompany, kColStatus, kColStartType, kColDetected, kColumnCount
};
const ColumnRow kColumns[kColumnCount] = {
    {kTextTitle, 0.30}, {kTextCommand, 0.18}, {kTextCompany, 0.18},
    {kTextStatus, 0.09}, {kTextStartup, 0.10}, {kTextFirstDetected, 0.20},
};

// The state text of a service; empty when it does not answer.
void StatusText(const char* title, char (&out)[kServiceStateCapacity]) {
  if (ServiceStateText(title, out, sizeof out) == 0) out[0] = 0;
}

void DetectedText(const char* path, char (&out)[kFirstDetectedCapacity]) {
  char program[kPathCapacity];
  out[0] = 0;
  if (!ProgramOfCommand(path, program) || !program[0]) return;
  if (GetFirstDetected(program, kCodeServiceProgram, out) > 0) return;
  RecordFirstDetected(path, kServicesDetectedKey);
  GetFirstDetected(program, kCodeServiceProgram, out);
}

void ServiceSortKeys(int entry, int column, int, SortKey* key) {
  key->isNumber = false;
  key->text[0] = 0;
  const Entry* e = EntryAt(entry);
  if (!e) return;
  switch (column) {
    case kColTitle: CopyText(key->text, e->title); break;
    case kColCommand: FileNameOf(e->path, key->text, sizeof key->text); break;
    case kColCompany: {
      char company[kVersionFieldCapacity];
      ListCompany(entry, company);
      CopyText(key->text, company);
      break;
    }
    case kColStatus: {
      char status[kServiceStateCapacity];
      StatusText(e->title, status);
      CopyText(key->text, status);
      break;
    }
    case kColStartType: CopyText(key->text, e->source); break;
    case kColDetected: {
      char detected[kFirstDetectedCapacity];
      DetectedText(e->path, detected);
      SortableDate(detected, key->text, sizeof key->text);
      break;
    }
  }
}

void FillServiceList(HWND page) {
  FirstDetectedHeld dates;  // one read of the dates for every row
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ScanServices();
  HWND list = PageList(page);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  CreateImageList(list, kImageListPage);
  for (int i = 0; i < EntryCount(); ++i) {
    const Entry& e = *EntryAt(i);
    int row = InsertRow(list, i, e.title, AddProgramIcon(e.path, 0, kImageListPage), i);
    if (row < 0) continue;
    char command[kSortKeyCapacity];
    ServiceCommandText(e.code == kCodeServiceShared, e.path, command, sizeof command);
    SetRowText(list, row, kColCommand, command);
    SetRowCompany(list, row, kColCompany, e.path);
    char status[kServiceStateCapacity];
    StatusText(e.title, status);
    SetRowText(list, row, kColStatus, status[0] ? status : " ");
    SetRowText(list, row, kColStartType, e.source);
    char detected[kFirstDetectedCapacity];
    DetectedText(e.path, detected);
    SetRowText(list, row, kColDetected, detected);
  }
  ApplyStoredSort(list, ServicesPage().list, ServiceSortKeys);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

// The check box has stored its state in the option already.
void OnHideMicrosoft(HWND page) { FillServiceList(page); }

// The information window may stop the service or change its start type:
// the list is read again when it closes, with the same row selected.
void OnServiceInfo(HWND page) {
  if (NothingSelected(page)) return;
  HWND list = PageList(page);
  int row = SelectedRow(list);
  InfoWindow(list, RowEntry(list, row));
  FillServiceList(page);
  if (row < int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) SelectRow(list, row);
}

// The check box sits just above the list, under the introduction.
void OnServicesLayout(HWND page) {
  const int buttons[] = {IDC_PAGE_INFO, IDC_PAGE_CLOSE};
  PageLayout layout;
  LayoutPageWithButtons(page, buttons, &layout);
  PlaceAboveList(page, layout.list, IDC_SERVICES_HIDE_MS);
}

const ControlText kTexts[] = {
    {IDC_PAGE_INTRO, kTextServicesIntro},
    {IDC_SERVICES_HIDE_MS, kTextListNonMicrosoftServices},
};

const CheckBoxRow kCheckBoxes[] = {
    {IDC_SERVICES_HIDE_MS, kOptHideMicrosoftServices},
};

const MenuRow kMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
};

const PageCommandRow kCommands[] = {
    {kCmdInfo, OnServiceInfo, BN_CLICKED},
    {IDC_SERVICES_HIDE_MS, OnHideMicrosoft, BN_CLICKED},
};

PageDefinition MakeServicesPage() {
  PageDefinition d{};
  d.pageId = kCmdServices;
  d.helpFile = "services.html";
  d.patrolTitleId = kPatrolServices;
  d.texts = kTexts;
  d.checkBoxes = kCheckBoxes;
  d.list.columns = kColumns;
  d.list.sortOption = "SortService";
  d.list.lastSortableColumn = kColDetected;
  d.menu.rows = kMenu;
  d.commands = kCommands;
  d.sortKeys = ServiceSortKeys;
  d.fill = FillServiceList;
  d.layout = OnServicesLayout;
  return d;
}

}  // namespace

const PageDefinition& ServicesPage() {
  static const PageDefinition page = MakeServicesPage();
  return page;
}

}  // namespace tov

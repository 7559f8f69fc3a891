// The page of a family that has not landed yet: its tab, its introduction,
// the Help button and an empty list, with the shared page behaviour.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "app/command_line.h"
#include "startup/entries.h"
#include "ui/page_framework.h"
#include "ui/pages.h"

namespace tov {

namespace {

struct GenericIntro {
  int command;
  int textId;
};

const GenericIntro kIntros[] = {
    {kCmdStartup, 211},     {kCmdDelayedStart, 1100}, {kCmdIEHelpers, 695},
    {kCmdScheduledTasks, 678}, {kCmdServices, 638},   {kCmdActiveTasks, 221},
    {kCmdCookies, 771},     {kCmdFileTypes, 740},     {kCmdHiddenFiles, 910},
    {kCmdOptions, 251},
};

const int kColumns[] = {627, 628};

void FillEmpty(HWND page) {
  ClearEntries();
  SendMessageA(PageList(page), LVM_DELETEALLITEMS, 0, 0);
}

// One definition per page command; the command arrives with the page.
PageDefinition DefinitionOf(int command) {
  PageDefinition def{};
  def.pageId = command;
  def.introTextId = GenericPageIntro(command);
  def.columnTextIds = kColumns;
  def.columnCount = 2;
  def.fill = FillEmpty;
  return def;
}

const char kCommandProp[] = "TovrelGenericPage";

}  // namespace

int GenericPageIntro(int pageCommand) {
  for (const GenericIntro& row : kIntros)
    if (row.command == pageCommand) return row.textId;
  return 0;
}

INT_PTR CALLBACK GenericPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    int command = int(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    SetPropA(page, kCommandProp, (HANDLE)(INT_PTR)command);
  }
  int command = int(INT_PTR(GetPropA(page, kCommandProp)));
  if (command == 0) return FALSE;
  INT_PTR result = PageMessage(DefinitionOf(command), page, msg, wParam, lParam);
  if (msg == WM_DESTROY) RemovePropA(page, kCommandProp);
  return result;
}

}  // namespace tov

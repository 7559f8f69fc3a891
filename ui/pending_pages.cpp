#include "ui/pending_pages.h"

#include "core/page_ids.h"
#include "resources/string_ids.h"

namespace tov {

namespace {

// Columns: the first two carry the generic page's headers.
const ColumnRow kHelperColumns[] = {{kTextTitle, 0.30}, {kTextCommand, 0.20}, {0, 0.20}, {0, 0.09}, {0, 0.20}};
const ColumnRow kTaskColumns[] = {{kTextTitle, 0.30}, {kTextCommand, 0.20}, {0, 0.20}, {0, 0.18}, {0, 0.16}};
const ColumnRow kServiceColumns[] = {{kTextTitle, 0.30}, {kTextCommand, 0.18}, {0, 0.18},
                                     {0, 0.09},          {0, 0.10},           {0, 0.20}};
const ColumnRow kActiveColumns[] = {{kTextTitle, 0.25}, {kTextCommand, 0.35}, {0, 0.20}, {0, 0.20}};
const ColumnRow kHiddenColumns[] = {{kTextTitle, 0.23}, {kTextCommand, 0.30}, {0, 0.20}, {0, 0.20}, {0, 0.12}};

const MenuRow kHelperMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRemove, kCmdRemove, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
};
const MenuRow kServiceMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
};
const MenuRow kActiveMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRefresh, kCmdRefresh, nullptr},
    {kTextKillTask, kCmdKillTask, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
};
const MenuRow kHiddenMenu[] = {
    {kTextInfo, kCmdInfo, nullptr},
    {kTextExploreProgramFolder, kCmdExploreFolder, nullptr},
    {kTextOpenProgramProperties, kCmdProgramProperties, nullptr},
    {kTextViewNote, kCmdViewNote, WhenNoteExists},
    {kTextRefresh, kCmdRefresh, nullptr},
    {kTextDeleteId925, kCmdDeleteHidden, nullptr},
    {kTextDeleteFileOnReboot, kCmdDeleteOnReboot, nullptr},
    {kTextViewUsingNotePad, kCmdViewInNotepad, nullptr},
};

// command, intro, help file, {columns, full width, sort option, last sortable column}, menu
const PendingPage kPendingPages[] = {
    {kCmdIEHelpers, kTextIEHelpersIntro, "bho.html",
     {kHelperColumns, true, "SortIEHelper", 4}, {kHelperMenu, false}},
    {kCmdScheduledTasks, kTextScheduledTasksIntro, "scheduler.html",
     {kTaskColumns, true, "SortScheduledTask", 4}, {kHelperMenu, false}},
    {kCmdServices, kTextServicesIntro, "services.html",
     {kServiceColumns, false, "SortService", 5}, {kServiceMenu, false}},
    {kCmdActiveTasks, kTextActiveTasksIntro, "tasks.html",
     {kActiveColumns, false, "SortActiveTask", 4}, {kActiveMenu, false}},
    {kCmdHiddenFiles, kTextHiddenFilesIntro, "hidden.html",
     {kHiddenColumns, false, "SortHidden", 4}, {kHiddenMenu, false}},
};

}  // namespace

const PendingPage* FindPendingPage(int command) {
  for (const PendingPage& row : kPendingPages)
    if (row.command == command) return &row;
  return nullptr;
}

int PendingPageCount() { return int(sizeof kPendingPages / sizeof kPendingPages[0]); }
const PendingPage& PendingPageAt(int row) { return kPendingPages[row]; }

}  // namespace tov

#include "app/families.h"

#include <windows.h>

#include "app/initialise.h"

#include "core/page_ids.h"
#include "hidden/vault.h"
#include "iehelpers/helpers.h"
#include "options/options.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "startup/changes.h"
#include "ui/page_framework.h"
#include "ui/sheet.h"

namespace tov {

// The pages' definitions, one per page file.
const PageDefinition& StartupPage();         // startup/startup_page.cpp
const PageDefinition& DelayPage();           // delay/delay_page.cpp
const PageDefinition& IEHelpersPage();       // iehelpers/iehelpers_page.cpp
const PageDefinition& ScheduledTasksPage();  // tasks/tasks_page.cpp
const PageDefinition& FileTypesPage();       // filetypes/filetypes_page.cpp
const PageDefinition& ServicesPage();        // services/services_page.cpp
const PageDefinition& ActiveTasksPage();     // processes/active_tasks_page.cpp
const PageDefinition& HiddenFilesPage();     // hidden/hidden_page.cpp
const PageDefinition& CookiesPage();         // cookies/cookies_page.cpp
INT_PTR CALLBACK CookiesPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
const PageDefinition& OptionsPage();         // options/options_page.cpp

namespace {

// The sheet's pages in tab order.
// command, tab text, tab icon, dialog, procedure (null: PageProc), definition, NT only
const SheetPage kPages[] = {
    {kCmdStartup, kTextStartupPrograms, IDI_PAGE_STARTUP, IDD_PAGE_STARTUP, nullptr, &StartupPage(), false},
    {kCmdDelayedStart, kTextDelayedStart, IDI_PAGE_DELAYED_START, IDD_PAGE_DELAYED_START, nullptr, &DelayPage(), false},
    {kCmdIEHelpers, kTextIEHelpers, IDI_PAGE_IE_HELPERS, IDD_PAGE_IE_HELPERS, nullptr, &IEHelpersPage(), false},
    {kCmdScheduledTasks, kTextScheduledTasks, IDI_PAGE_SCHEDULED_TASKS, IDD_PAGE_SCHEDULED_TASKS, nullptr, &ScheduledTasksPage(), false},
    {kCmdServices, kTextServices, IDI_PAGE_SERVICES, IDD_PAGE_SERVICES, nullptr, &ServicesPage(), true},
    {kCmdActiveTasks, kTextActiveTasks, IDI_PAGE_ACTIVE_TASKS, IDD_PAGE_ACTIVE_TASKS, nullptr, &ActiveTasksPage(), false},
    {kCmdCookies, kTextCookies, IDI_PAGE_COOKIES, IDD_PAGE_COOKIES, CookiesPageProc, &CookiesPage(), false},
    {kCmdFileTypes, kTextFileTypes, IDI_PAGE_FILE_TYPES, IDD_PAGE_FILE_TYPES, nullptr, &FileTypesPage(), false},
    {kCmdHiddenFiles, kTextHiddenFiles, IDI_PAGE_HIDDEN_FILES, IDD_PAGE_HIDDEN_FILES, nullptr, &HiddenFilesPage(), false},
    {kCmdOptions, kTextOptions, IDI_PAGE_OPTIONS, IDD_PAGE_OPTIONS, OptionsPageProc, &OptionsPage(), false},
};

}  // namespace

void RegisterFamilies() {
  SetSheetPages(kPages, int(sizeof kPages / sizeof kPages[0]));
  RegisterStartupRestoreHandlers();
  RegisterHelperRestoreHandler();
  RegisterVaultRestoreHandler();
  SetOptionsInitialise(Initialise);
}

}  // namespace tov

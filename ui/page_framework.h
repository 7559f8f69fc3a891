// What every page of the property sheet shares: its life cycle (creation,
// activation, clean-up, destruction), the layout for the sheet's size, the
// status bar, the Help and monitor-state picture buttons, the owner-drawn
// button look, the entry menu and the common entry actions.
//
// A page is one file: a PageDefinition (columns, sort option, entry menu,
// texts, check boxes, commands) and the On... functions it names. PageProc
// runs the page from its definition; a page that needs its own procedure
// handles what is its own and hands every other message to PageMessage.
#pragma once
#include <windows.h>

#include "core/options_table.h"
#include "core/owned.h"
#include "ui/listview.h"
#include "ui/page_rules.h"

namespace tov {

// The private message the sheet sends a page to lay out its controls.
constexpr UINT kLayoutPageMessage = 6049;
// Child id of the sheet's status bar (NT family).
constexpr int kSheetStatusBarId = 6050;
// Window properties of a picture button (integer names).
constexpr int kPictureNormalProp = 10000;
constexpr int kPicturePressedProp = 10001;
constexpr int kPictureHoverProp = 10002;
constexpr int kPictureHelpCommandProp = 10003;
constexpr int kPictureCommandProp = 10004;

// The controls of a page that LayoutPage places (null when absent).
struct PageLayout {
  HWND page;
  HWND picture;
  HWND helpButton;
  HWND helpLabel;
  HWND monitorButton;
  HWND monitorLabel;
  HWND intro[2];
  HWND list;
  int buttonCount;  // 1 to 5
  HWND buttons[kMaxBottomButtons];
  HWND alternates[kMaxBottomButtons];
};
// Places the page's controls for the current sheet size.
void LayoutPage(const PageLayout& layout);
// The layout record filled with the shared controls of a page (by their
// ids); the page adds its bottom buttons.
void StandardPageLayout(HWND page, PageLayout* layout);
// Places a control (a check box under the introduction) just above the list
// of a laid-out page, keeping its size.
void PlaceAboveList(HWND page, HWND list, int controlId);
// Lays the page out with the shared controls and the given bottom buttons
// (control ids, left to right); layout, when given, receives the record.
template <size_t N>
void LayoutPageWithButtons(HWND page, const int (&buttons)[N], PageLayout* layout = nullptr) {
  static_assert(N <= kMaxBottomButtons, "too many bottom buttons");
  PageLayout own;
  PageLayout* l = layout ? layout : &own;
  StandardPageLayout(page, l);
  l->buttonCount = int(N);
  for (size_t i = 0; i < N; ++i) l->buttons[i] = GetDlgItem(page, buttons[i]);
  LayoutPage(*l);
}

// A page's command handler.
typedef void (*PageCommandProc)(HWND page);
// One command of a page: it runs when WM_COMMAND brings that id with that
// notification code. 0 is BN_CLICKED, which menus and picture buttons send
// too; an edit or combo box row names its EN_ or CBN_ code.
struct PageCommandRow {
  int command;
  PageCommandProc handler;
  int notification;
};

// A text the page sets on one of its controls when it is created (the
// introduction, button captions).
struct ControlText {
  int controlId;
  int textId;
};

// A check box bound to an option: checked from the option when the page is
// created; a click stores its state, then the page's command of the same id
// (if any) runs.
struct CheckBoxRow {
  int controlId;
  OptionId option;
};

// Everything the shared code needs to know about a page. A page file sets
// the fields by name in a function and keeps the result as a constant:
//   PageDefinition MakeStartupPage() { PageDefinition d{}; d.pageId = ...; return d; }
// Fields left at zero mean "none".
struct PageDefinition {
  int pageId;                         // the page command (6026 ...)
  const char* helpFile;               // "startup.html"; null: "features.html"
  int patrolTitleId;                  // title of its patrol-time dialog; 0 without a monitor
  Rows<ControlText> texts;            // the introduction (IDC_PAGE_INTRO) and button captions
  Rows<CheckBoxRow> checkBoxes;       // check boxes bound to options
  ListFacts list;                     // columns {text id, share}, sort option
  EntryMenu menu;                     // entry-menu rows {text id, command, condition}
  Rows<PageCommandRow> commands;      // run before the shared commands
  SortKeyProc sortKeys;               // null: the list does not sort
  void (*fill)(HWND page);            // builds the entry list and the rows
  void (*selectionChanged)(HWND page);  // the page's own button states
  void (*layout)(HWND page);          // answers 6049; null: the standard layout
  bool (*entryDisabled)(int entry);   // for the menu conditions; null: never
  // The location line of the information window; null: none.
  size_t (*locationText)(int entry, char* out, size_t cap);
};

// The dialog procedure of a page whose PROPSHEETPAGE lParam points to its
// PageDefinition: everything runs from the definition.
INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

// The shared part of a page's dialog procedure. Returns what the dialog
// procedure returns (through SetDlgMsgResult where a result is due).
INT_PTR PageMessage(const PageDefinition& page, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Runs a command from the page's table, then the shared ones, for the
// notification code of WM_COMMAND (0 for buttons and menus). False when
// nobody handles it.
bool RunPageCommand(const PageDefinition& page, HWND window, int command, int notification = 0);

// Initialisation shared by every page (texts, columns, labels, sort
// directions, ActivePageId, saved sheet position). Pages call it first in
// their WM_INITDIALOG.
void InitialisePage(const PageDefinition& page, HWND window);
// Fills the list again, keeping the cursor and selection rules.
void RefillPage(const PageDefinition& page, HWND window);

void CreateActivePage(HWND page);
void CleanupActivePage(HWND page);
// Text of the sheet's status bar (part 0, raised), when there is one.
void SetStatusText(const char* text);

// Monitor-state picture: real-time 193, on 156, off 154.
void ShowPatrolState(HWND page, bool on, bool realtime);
// Font of the Info button (1008): bold when the entry's program has a note.
void UpdateNoteButton(HWND page, int entryIndex);

// Builds an entry menu for an entry (null for none); entryDisabled answers
// the menu conditions (null: never disabled).
Menu BuildEntryMenu(const EntryMenu& menu, int entryIndex, bool (*entryDisabled)(int entry));
// Shows the entry menu at the mouse position when a row is selected.
bool ShowEntryMenu(HWND page, const EntryMenu& menu, int listId,
                   bool (*entryDisabled)(int entry) = nullptr);

// Common entry actions on the selected entry of the page's list; with no
// selection each shows message 57.
void OnInfo(const PageDefinition& page, HWND window);
void OnViewNote(HWND page);
void OnExploreFolder(HWND page);
void OnProgramProperties(HWND page);
void OnOnlineInfo(HWND page);
// A help page (file name as the page's helpFile): a local file of the
// program folder, else the vendor's web site (through a running AOL client
// when there is one).
void ShowHelp(const char* helpFile);
// Plays the program's sound of an event ("Open").
void PlayEventSound(const char* event);

// The page's list (control 1000).
HWND PageList(HWND page);
// True (after showing message 57) when nothing is selected.
bool NothingSelected(HWND page);

}  // namespace tov

// The information window (dialog 121) every page opens for one entry of the
// shared entry list, and the pieces it is made of: note files, local
// knowledge-base pages and the online program-information request to the
// vendor's web site.
#pragma once
#include <windows.h>

#include <cstddef>

#include "core/entries.h"
#include "processes/processes.h"
#include "services/services.h"
#include "tasks/tasks.h"
#include "ui/info_rules.h"

namespace tov {

// The text naming an entry's location (the page's locationText); length.
typedef size_t (*EntryLocationProc)(int entry, char* out, size_t cap);

// The information window for entry entryIndex of the entry list; list is the
// page's list view (the window is owned by the list's top-level window);
// location gives the location line (null: the line has no location).
// Modal; ">>" and "<<" step through the entry list, so the caller restores
// its own selection afterwards.
void InfoWindow(HWND list, int entryIndex, EntryLocationProc location = nullptr);

// The program-wide expanded flag of the information window: initially set,
// flipped on every opening and by the expand button (so the first opening in
// a run shows the short form).
bool InfoExpanded();
void SetInfoExpanded(bool expanded);

// "<program folder>\kbase\<name>.html" for a program file name when that
// page exists and the path fits 260 characters; false and empty text
// otherwise.
bool KnowledgeBasePage(const char* fileName, char* out, size_t cap);
template <size_t N> bool KnowledgeBasePage(const char* fileName, char (&out)[N]) {
  return KnowledgeBasePage(fileName, out, N);
}

// The vendor's site root, ending with "/": the "SiteRoot" text value of
// HKEY_CURRENT_USER "Software\Brenvik\Tovrel" when it is set, else
// kDefaultSiteRoot. Returns its length.
size_t SiteRoot(char* out, size_t cap);

// Online program information for a program (location code, program path):
// its knowledge-base page when there is one, otherwise the program-information
// request on the vendor's web site (through a running AOL client when there
// is one). title names the program when path is empty.
void OpenOnlineInformation(int code, const char* path, const char* title = nullptr);
// Starts the AOL client with an address (AolCommandLine, within 259
// characters).
void StartAolWith(const char* address);
// Opens "<site root>stats.html" (through a running AOL client when there is
// one).
void OpenFreeInformation();

// Notes. A note is plain text of at most kNoteLimit characters kept in the
// file NotePath gives for a program.
// True when the note file of the command's program exists.
bool NoteExists(const char* command);
// Replaces the note file with text (cut to kNoteLimit characters).
bool WriteNoteFile(const char* notePath, const char* text);

// The open information window, or null; SetInfoLocationLine replaces its
// location line (the Startup Programs page keeps it in step with its
// selection; an empty text clears it).
HWND OpenInfoWindow();
void SetInfoLocationLine(const char* text);

}  // namespace tov

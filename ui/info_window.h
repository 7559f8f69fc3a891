// The information window (dialog 121) every page opens for one entry of the
// shared entry list, and the pieces it is made of: note files, local
// knowledge-base pages and the online program-information request to the
// vendor's web site.
#pragma once
#include <windows.h>

#include <cstddef>

#include "ui/info_rules.h"

namespace tov {

// The information window for entry entryIndex of the entry list; list is the
// page's list view (the window is owned by the list's top-level window).
// Modal; ">>" and "<<" step through the entry list, so the caller restores
// its own selection afterwards.
void InfoWindow(HWND list, int entryIndex);

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

// What the window asks of the other families. Until processes/, services/
// and tasks/ provide them, processes/active_tasks_stub.cpp answers "nothing
// running, nothing known".
// Active tasks: true when a running process has this program file.
bool IsProgramRunning(const char* path);
// Active tasks: ends the running process of the program (asking first with
// ask); the process id found, 0 when none was running.
unsigned long StopRunningProgram(const char* path, const char* title, bool ask);
// Services: the description of the service whose program this is; length.
size_t ServiceDescriptionOfProgram(const char* program, char* out, size_t cap);
// Services: the state text of a service (display name); the state value, 0
// when the service does not answer.
int ServiceStateText(const char* displayName, char* out, size_t cap);
// Services: sends a control code; 1 when the service accepted it.
int SendServiceControl(const char* displayName, unsigned long control);
// Services: writes the start value of the service of that display name.
int SetServiceStartType(const char* displayName, unsigned long start);
// Scheduled tasks: the status text and the comment of a task (by name).
void GetTaskStatusText(const char* taskName, char* out, size_t cap);
void GetTaskComment(const char* taskName, char* out, size_t cap);

}  // namespace tov

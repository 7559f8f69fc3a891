// The history log: every change made to the machine is appended as one line
// to "history.txt" in the data folder, and read back into the entry list for
// the History window, which can reverse some of the events.
#pragma once
#include <windows.h>

#include <cstddef>

#include "core/entries.h"
#include "core/history_format.h"  // the kinds of reversal
#include "core/history_names.h"   // the type and action codes of an event

namespace tov {

extern const char kHistoryFileName[];   // "history.txt"

// Full path of the history file; false when the data folder is unknown or
// the path does not fit cap.
bool HistoryFilePath(char* out, size_t cap);

// Appends one event line when the "History" setting is on. The file is
// opened without sharing, so while another program holds it the event is
// not recorded. 1 when the whole line was written, 0 otherwise.
int AddHistoryEvent(const char* title, const char* command, const char* source, int type,
                    int action);

// Clears the entry list and fills it with the events of the file's first
// 131072 bytes, oldest first: title, command as the path, source, the date
// as the extra text, the type code as the code and the action code as the
// flag. Shows the wait cursor meanwhile. Returns the number of entries.
int LoadHistory();

// What a Restore of the History window came to.
enum RestoreOutcome {
  kRestoreFailed = 0,          // nothing could be written
  kRestoreDone = 1,            // the change was made
  kRestoreAlreadyPresent = 2,  // the entry is in its location already: nothing changed
  kRestoreTitleTaken = 3,      // another entry of that title is disabled: nothing changed
};

// How a family reverses one kind of event (see RestoreKindOf). The families
// register theirs at start; an event of a kind nobody registered is left
// alone.
struct RestoreHandler {
  // Writes the change back; a RestoreOutcome (kRestoreDone when something
  // was written).
  int (*restore)(const Entry& event);
  // True while the event can still be reversed; null: always.
  bool (*canRestore)(const Entry& event);
};
// Registers (or replaces) the handler of a kind; a handler without restore
// removes it.
void RegisterRestoreHandler(HistoryRestoreKind kind, const RestoreHandler& handler);

// True when the event of an entry loaded by LoadHistory has a handler that
// can reverse it now.
bool CanRestoreHistoryEvent(int index);
// Reverses the event of an entry loaded by LoadHistory. Returns 1 when a
// disable or enable was toggled back, 0 otherwise. outcome, when given,
// receives what the restore came to (a RestoreOutcome; kRestoreFailed for
// events nothing here reverses).
int RestoreHistoryEvent(HWND window, int index, int* outcome = nullptr);

// Deletes the history file (its attributes cleared first); true when there
// is no file afterwards.
bool ClearHistoryFile();



}  // namespace tov

// Decorations of the list rows (program icons and companies), read on a
// worker thread after the rows are in. A fill begins a new generation for
// its image-list slot: each distinct program is queued once, its image and
// company stay empty until its result arrives, and results of an older
// generation are dropped. For listview.cpp and the page
// framework; pages use AddProgramIcon and SetRowCompany.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

namespace tov {

// A new fill of the slot's list: the slot's worker is cancelled, its queue
// emptied and a new generation begins (the page slot also forgets the
// cached version strings).
void BeginListWork(int slot, HWND list, HIMAGELIST images);
// Cancels the slot's worker; results still on their way are dropped.
void EndListWork(int slot);
// The image index of the program's icon (queued on first use; the image
// exists once it is read); the default icon's for no program; -1 when there
// is no image list.
int QueueProgramIcon(int slot, const char* program, int iconNumber);
// The company cell of an entry's row comes from the program's version
// strings once they are read; with productNamed, only when they also name
// a product.
void QueueCompany(int slot, int entry, int column, const char* program, bool productNamed = false);
// The company read for the entry's program so far (empty until read).
size_t QueuedCompany(int slot, int entry, char* out, size_t cap);
// Answers LVN_GETDISPINFO for a company cell of the slot's list; false for
// other cells.
bool AnswerDisplayInfo(int slot, NMLVDISPINFOA* info);
// Starts the slot's worker on what its fill queued, without waiting for
// the queued start to come through the message loop (the page's first
// painting and activation come before it there).
void StartQueuedListWork(int slot);
// Worker threads still running (cancelled ones included until they end).
int RunningListWorkers();
// True when every program queued for the slot has its result in.
bool ListWorkDone(int slot);

}  // namespace tov

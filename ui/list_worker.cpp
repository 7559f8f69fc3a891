// The rows of a list go in at once; the icons and companies follow from a
// worker thread. The worker gets its own copy of the programs to read
// (nothing it touches belongs to this thread), posts one result per program
// to a hidden window of this thread tagged with the fill's generation, and
// stops at the next program when it is cancelled. A batch is shared by the
// two threads through a reference count, so a cancelled worker may finish
// its current file after the fill that started it is gone.
#include "ui/list_worker.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "core/entries.h"
#include "core/files.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/program_cache.h"
#include "core/text.h"
#include "core/version.h"
#include "resources/resource.h"
#include "ui/listview.h"

namespace tov {

namespace {

constexpr UINT kStartMessage = WM_APP + 1;   // lParam: slot
constexpr UINT kResultMessage = WM_APP + 2;  // wParam: generation; lParam: Result*
constexpr UINT kDoneMessage = WM_APP + 3;    // wParam: generation; lParam: slot
constexpr char kWorkerWindowClass[] = "TovrelListWorker";
// The list is redrawn at most this often while results come in (a redraw
// per result would cost more than the results).
constexpr UINT kRedrawDelayMs = 150;
// Distinct programs of one fill; the hash table has twice the room.
constexpr int kMaxJobs = kMaxEntries;
constexpr int kJobHashSlots = 2 * kMaxJobs;

enum JobState { kJobQueued, kJobSent, kJobDone };

struct Job {
  char program[kPathCapacity];
  int iconNumber;
  int image;  // -1: no icon wanted
  int state;
  bool named;  // the version strings name a product
  char company[kVersionFieldCapacity];
};

struct Batch;

struct SlotWork {
  HWND list;
  HIMAGELIST images;
  unsigned generation;
  Job* jobs;  // kMaxJobs, allocated on first use
  int jobCount;
  int sent;
  int done;
  int hash[kJobHashSlots];       // job index + 1; 0 empty
  int entryJob[kMaxEntries];     // job index + 1 of the entry's company; 0 none
  bool entryNeedsName[kMaxEntries];  // the company counts only with a product name
  int companyColumn;             // -1 none
  int defaultImage;              // the default program icon, added when the fill begins
  int nextImage;                 // the image the next program's icon will have
  Batch* running;
  bool startPosted;
  bool redrawDue;
};

struct BatchItem {
  char program[kPathCapacity];
  int iconNumber;
  int job;
  bool wantIcon;
};

struct Batch {
  volatile LONG references;
  volatile LONG cancelled;
  HWND target;
  int slot;
  unsigned generation;
  int count;
  BatchItem items[1];
};

// A program's icon reaches the list as the colour and mask bitmaps of an
// image of the list's size (made on the worker), or, for an icon of
// another form, as the icon itself.
struct Result {
  int slot;
  int job;
  HICON icon;
  HBITMAP color;
  HBITMAP mask;
  VersionStrings strings;
};

void FreeResult(Result* result) {
  if (result->icon) DestroyIcon(result->icon);
  if (result->color) DeleteObject(result->color);
  if (result->mask) DeleteObject(result->mask);
  free(result);
}

// Takes the icon apart into its bitmaps when they are exactly one image of
// the list: the list would otherwise convert the icon itself, at some
// milliseconds an icon, on the thread that shows the list.
void SplitIcon(Result* result, int width, int height) {
  if (!IconImageBitmaps(result->icon, width, height, &result->color, &result->mask)) return;
  DestroyIcon(result->icon);
  result->icon = nullptr;
}

SlotWork g_work[kImageListSlots];
unsigned g_lastGeneration;
volatile LONG g_liveWorkers;
HWND g_workerWindow;
Icon g_defaultIcon;

bool ValidSlot(int slot) { return slot >= 0 && slot < kImageListSlots; }
HICON DefaultIcon();

void ReleaseBatch(Batch* batch) {
  if (InterlockedDecrement(&batch->references) == 0) free(batch);
}

unsigned HashJob(const char* program, int iconNumber) {
  return HashNoCase(program, 2166136261u ^ unsigned(iconNumber));
}

DWORD WINAPI WorkerMain(LPVOID parameter) {
  Batch* batch = static_cast<Batch*>(parameter);
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int width = GetSystemMetrics(SM_CXSMICON), height = GetSystemMetrics(SM_CYSMICON);
  UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  for (int i = 0; i < batch->count && !batch->cancelled; ++i) {
    const BatchItem& item = batch->items[i];
    Result* result = static_cast<Result*>(calloc(1, sizeof(Result)));
    if (!result) break;
    result->slot = batch->slot;
    result->job = item.job;
    char file[kPathCapacity];
    CopyText(file, item.program);
    // A path is read as it stands (a missing file gives nothing); only a
    // bare name is looked for in the Windows and system folders first.
    bool found = strchr(file, '\\') ? true : file[0] && FileExists(file) != 0;
    if (found) {
      ReadVersionStrings(file, &result->strings);
      if (item.wantIcon) ExtractIconExA(file, item.iconNumber, nullptr, &result->icon, 1);
      SplitIcon(result, width, height);
    }
    if (batch->cancelled ||
        !PostMessageA(batch->target, kResultMessage, batch->generation, (LPARAM)result))
      FreeResult(result);
  }
  PostMessageA(batch->target, kDoneMessage, batch->generation, batch->slot);
  SetErrorMode(previousMode);
  if (SUCCEEDED(com)) CoUninitialize();
  ReleaseBatch(batch);
  InterlockedDecrement(&g_liveWorkers);
  return 0;
}

void CancelWorker(SlotWork& work) {
  if (!work.running) return;
  InterlockedExchange(&work.running->cancelled, 1);
  ReleaseBatch(work.running);
  work.running = nullptr;
}

// Hands the programs queued since the last batch to a new worker.
void StartWorker(int slot) {
  SlotWork& work = g_work[slot];
  work.startPosted = false;
  if (work.running || work.sent >= work.jobCount) return;
  int count = work.jobCount - work.sent;
  Batch* batch = static_cast<Batch*>(calloc(1, sizeof(Batch) + sizeof(BatchItem) * size_t(count)));
  if (!batch) return;
  batch->references = 2;
  batch->target = g_workerWindow;
  batch->slot = slot;
  batch->generation = work.generation;
  batch->count = count;
  for (int i = 0; i < count; ++i) {
    Job& job = work.jobs[work.sent + i];
    CopyText(batch->items[i].program, job.program);
    batch->items[i].iconNumber = job.iconNumber;
    batch->items[i].wantIcon = job.image >= 0;
    batch->items[i].job = work.sent + i;
    job.state = kJobSent;
  }
  InterlockedIncrement(&g_liveWorkers);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, WorkerMain, batch, 0, &id);
  if (!thread) {
    InterlockedDecrement(&g_liveWorkers);
    free(batch);
    for (int i = work.sent; i < work.jobCount; ++i) work.jobs[i].state = kJobDone;
    work.done = work.jobCount;
    work.sent = work.jobCount;
    return;
  }
  CloseHandle(thread);
  work.running = batch;
  work.sent = work.jobCount;
}

// Puts a program's icon (or the default one) at its image. The results come
// in queue order, so each one is normally the next image of the list; a
// row shows no icon until its image exists. Adding one image at a time
// here rather than a placeholder per program in the fill keeps the fill
// short: converting an icon for the list is the costly part.
void PlaceIcon(SlotWork& work, int image, const Result& result) {
  if (!work.images || image < 0) return;
  int count = ImageList_GetImageCount(work.images);
  while (count < image && PutIconImage(work.images, -1, DefaultIcon()) >= 0) ++count;
  if (count < image) return;
  int at = count == image ? -1 : image;
  if (result.color) PutImageBitmaps(work.images, at, result.color, result.mask);
  else PutIconImage(work.images, at, result.icon ? result.icon : DefaultIcon());
}

void OnResult(unsigned generation, Result* result) {
  SlotWork& work = g_work[result->slot];
  if (generation == work.generation && result->job < work.jobCount) {
    Job& job = work.jobs[result->job];
    StoreVersionStrings(job.program, result->strings);
    CopyText(job.company, result->strings.companyName);
    job.named = result->strings.productName[0] != 0;
    PlaceIcon(work, job.image, *result);
    if (job.state != kJobDone) ++work.done;
    job.state = kJobDone;
    if (!work.redrawDue)
      work.redrawDue = SetTimer(g_workerWindow, UINT_PTR(result->slot) + 1, kRedrawDelayMs, nullptr) != 0;
  }
  FreeResult(result);
}

void Redraw(int slot) {
  SlotWork& work = g_work[slot];
  KillTimer(g_workerWindow, UINT_PTR(slot) + 1);
  work.redrawDue = false;
  if (work.list && IsWindow(work.list)) InvalidateRect(work.list, nullptr, FALSE);
}

void OnBatchDone(unsigned generation, int slot) {
  SlotWork& work = g_work[slot];
  if (generation != work.generation || !work.running) return;
  ReleaseBatch(work.running);
  work.running = nullptr;
  if (work.sent < work.jobCount) {
    StartWorker(slot);
    return;
  }
  Redraw(slot);
  if (work.companyColumn >= 0 && work.list) SortAgainIfSortedBy(work.list, work.companyColumn);
}

LRESULT CALLBACK WorkerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kStartMessage:
      if (ValidSlot(int(lParam))) StartWorker(int(lParam));
      return 0;
    case kResultMessage:
      OnResult(unsigned(wParam), reinterpret_cast<Result*>(lParam));
      return 0;
    case kDoneMessage:
      if (ValidSlot(int(lParam))) OnBatchDone(unsigned(wParam), int(lParam));
      return 0;
    case WM_TIMER:
      if (ValidSlot(int(wParam) - 1)) Redraw(int(wParam) - 1);
      return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

// A hidden window of this thread receives the results (a message-only
// window would not exist on the oldest systems).
bool EnsureWorkerWindow() {
  if (g_workerWindow && IsWindow(g_workerWindow)) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WorkerWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWorkerWindowClass;
  RegisterClassA(&wc);
  g_workerWindow = CreateWindowExA(0, kWorkerWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   wc.hInstance, nullptr);
  return g_workerWindow != nullptr;
}

HICON DefaultIcon() {
  if (!g_defaultIcon)
    g_defaultIcon.reset((HICON)LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM),
                                          IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), 0));
  return g_defaultIcon.get();
}

// The job of a program (and icon number), queued now when it is new; -1
// when the table is full or the program is empty.
int JobOf(int slot, const char* program, int iconNumber, bool wantIcon) {
  SlotWork& work = g_work[slot];
  if (!program || !program[0] || strlen(program) >= kPathCapacity) return -1;
  if (!work.jobs) work.jobs = static_cast<Job*>(calloc(kMaxJobs, sizeof(Job)));
  if (!work.jobs) return -1;
  int h = int(HashJob(program, iconNumber) % unsigned(kJobHashSlots));
  while (work.hash[h]) {
    Job& job = work.jobs[work.hash[h] - 1];
    if (job.iconNumber == iconNumber && EqualsNoCase(job.program, program)) {
      // Queued for its company only: the icon is read with it.
      if (wantIcon && job.image < 0 && job.state == kJobQueued && work.images)
        job.image = work.nextImage++;
      if (wantIcon && job.image < 0) return -1;
      return work.hash[h] - 1;
    }
    h = (h + 1) % kJobHashSlots;
  }
  if (work.jobCount >= kMaxJobs || !EnsureWorkerWindow()) return -1;
  int index = work.jobCount++;
  Job& job = work.jobs[index];
  job = Job{};
  CopyText(job.program, program);
  job.iconNumber = iconNumber;
  job.image = -1;
  if (wantIcon && work.images) job.image = work.nextImage++;
  job.state = kJobQueued;
  work.hash[h] = index + 1;
  if (!work.startPosted) work.startPosted = PostMessageA(g_workerWindow, kStartMessage, 0, slot) != 0;
  return index;
}

}  // namespace

void BeginListWork(int slot, HWND list, HIMAGELIST images) {
  if (!ValidSlot(slot)) return;
  EndListWork(slot);
  SlotWork& work = g_work[slot];
  Job* jobs = work.jobs;
  unsigned generation = work.generation;
  memset(&work, 0, sizeof work);
  work.jobs = jobs;
  work.generation = generation;
  work.list = list;
  work.images = images;
  work.companyColumn = -1;
  work.defaultImage = images && DefaultIcon() ? PutIconImage(images, -1, DefaultIcon()) : -1;
  work.nextImage = images ? ImageList_GetImageCount(images) : 0;
  if (slot == kImageListPage) ClearProgramCache();
}

void EndListWork(int slot) {
  if (!ValidSlot(slot)) return;
  SlotWork& work = g_work[slot];
  CancelWorker(work);
  work.generation = ++g_lastGeneration;
  work.images = nullptr;
}

int QueueProgramIcon(int slot, const char* program, int iconNumber) {
  if (!ValidSlot(slot) || !g_work[slot].images) return -1;
  int job = JobOf(slot, program, iconNumber, true);
  if (job < 0) return g_work[slot].defaultImage;
  return g_work[slot].jobs[job].image;
}

void QueueCompany(int slot, int entry, int column, const char* program, bool productNamed) {
  if (!ValidSlot(slot) || entry < 0 || entry >= kMaxEntries) return;
  SlotWork& work = g_work[slot];
  work.companyColumn = column;
  // The icon's job (icon number 0) reads the version strings too.
  int job = JobOf(slot, program, 0, false);
  work.entryJob[entry] = job + 1;
  work.entryNeedsName[entry] = productNamed;
}

size_t QueuedCompany(int slot, int entry, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (!ValidSlot(slot) || entry < 0 || entry >= kMaxEntries || !g_work[slot].jobs) return 0;
  int job = g_work[slot].entryJob[entry] - 1;
  if (job < 0) return 0;
  if (g_work[slot].entryNeedsName[entry] && !g_work[slot].jobs[job].named) return 0;
  CopyTextN(out, cap, g_work[slot].jobs[job].company);
  return strlen(out);
}

bool AnswerDisplayInfo(int slot, NMLVDISPINFOA* info) {
  if (!ValidSlot(slot) || !(info->item.mask & LVIF_TEXT)) return false;
  if (info->item.iSubItem != g_work[slot].companyColumn || info->item.cchTextMax <= 0) return false;
  int entry = RowEntry(info->hdr.hwndFrom, info->item.iItem);
  QueuedCompany(slot, entry, info->item.pszText, size_t(info->item.cchTextMax));
  return true;
}

void StartQueuedListWork(int slot) {
  if (ValidSlot(slot) && g_work[slot].startPosted) StartWorker(slot);
}

int RunningListWorkers() { return int(g_liveWorkers); }

bool ListWorkDone(int slot) {
  return ValidSlot(slot) && g_work[slot].done >= g_work[slot].jobCount && !g_work[slot].running;
}

}  // namespace tov

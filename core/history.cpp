#include "core/history.h"

#include "core/files.h"
#include "core/history_format.h"
#include "core/owned.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/entries.h"

namespace tov {

const char kHistoryFileName[] = "history.txt";

namespace {

void AddRecordAsEntry(const HistoryRecord& record, void*) {
  char title[kEntryTitleSlot];
  CopyText(title, record.title);
  if (!AddEntry(title, record.command, record.source, record.date, record.type, record.action))
    Trace("LoadHistory", "event dropped");
}

RestoreHandler g_restoreHandlers[kRestoreKindCount];

const RestoreHandler* HandlerOf(const Entry& entry) {
  HistoryRestoreKind kind = RestoreKindOf(entry.flag, entry.code);
  if (kind == kRestoreNothing || g_restoreHandlers[kind].restore == nullptr) return nullptr;
  return &g_restoreHandlers[kind];
}

class WaitCursor {
  HCURSOR old_;

 public:
  WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_ ? old_ : LoadCursor(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

bool HistoryFilePath(char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char path[kPathCapacity];
  // Beside the program, where the resident monitor writes its events too.
  if (ProgramFolder(path) == 0) return false;
  if (!AppendBackslash(path) || !AppendText(path, kHistoryFileName)) return false;
  if (!CopyTextN(out, cap, path)) {
    out[0] = 0;
    return false;
  }
  return true;
}

int AddHistoryEvent(const char* title, const char* command, const char* source, int type,
                    int action) {
  if (Setting(kOptHistory) <= 0) return 0;

  SYSTEMTIME now;
  GetLocalTime(&now);
  HistoryTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  char date[kHistoryDateCapacity];
  FormatHistoryTime(time, date, sizeof date);

  char line[kHistoryLineCapacity];
  size_t length = FormatHistoryLine(date, type, action, title, command, source, line, sizeof line);

  char path[kPathCapacity];
  if (!HistoryFilePath(path, sizeof path)) return 0;
  Handle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file) {
    Trace("AddHistoryEvent", "history file not opened");
    return 0;
  }
  if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR)
    return 0;
  DWORD written = 0;
  if (!WriteFile(file.get(), line, DWORD(length), &written, nullptr) || written != length) {
    Trace("AddHistoryEvent", "history line not written");
    return 0;
  }
  return 1;
}

int LoadHistory() {
  WaitCursor wait;
  ClearEntries();
  char path[kPathCapacity];
  if (!HistoryFilePath(path, sizeof path)) return 0;
  Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;

  // One byte more than the limit tells whether the file goes on past it.
  static char text[kHistoryReadLimit + 1];
  DWORD got = 0;
  if (!ReadFile(file.get(), text, DWORD(sizeof text), &got, nullptr)) return 0;
  bool continues = got > kHistoryReadLimit;
  if (continues) got = DWORD(kHistoryReadLimit);
  ParseHistoryText(text, got, continues, AddRecordAsEntry, nullptr);
  return EntryCount();
}

void RegisterRestoreHandler(HistoryRestoreKind kind, const RestoreHandler& handler) {
  if (kind < 0 || kind >= kRestoreKindCount) return;
  g_restoreHandlers[kind] = handler;
}

bool CanRestoreHistoryEvent(int index) {
  const Entry* entry = EntryAt(index);
  if (entry == nullptr) return false;
  const RestoreHandler* handler = HandlerOf(*entry);
  return handler && (handler->canRestore == nullptr || handler->canRestore(*entry));
}

int RestoreHistoryEvent(HWND, int index, int* outcome) {
  int ignored = 0;
  if (outcome == nullptr) outcome = &ignored;
  *outcome = kRestoreFailed;
  const Entry* entry = EntryAt(index);
  if (entry == nullptr) return 0;
  const RestoreHandler* handler = HandlerOf(*entry);
  if (handler == nullptr) return 0;
  *outcome = handler->restore(*entry);
  if (*outcome != kRestoreDone) Trace("RestoreHistoryEvent", "event not reversed");
  return RestoreKindOf(entry->flag, entry->code) == kToggleStartupEntry && *outcome == kRestoreDone
             ? 1
             : 0;
}

bool ClearHistoryFile() {
  char path[kPathCapacity];
  if (!HistoryFilePath(path, sizeof path)) return false;
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileA(path)) return true;
  return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace tov

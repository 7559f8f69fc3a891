#include "core/history_format.h"

#include <cstdio>
#include <cstring>

#include "core/history_names.h"
#include "core/text.h"

namespace tov {

namespace {

// Appends text to the line at *used, with TAB, CR and LF as spaces; stops
// at limit characters. False when the text had to be cut.
bool AppendField(char* out, size_t limit, size_t* used, const char* text) {
  if (text == nullptr) return true;
  for (; *text; ++text) {
    if (*used >= limit) return false;
    char c = *text;
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    out[(*used)++] = c;
  }
  return true;
}

bool AppendRaw(char* out, size_t limit, size_t* used, char c) {
  if (*used >= limit) return false;
  out[(*used)++] = c;
  return true;
}

// Copies at most cap - 1 bytes of [begin, end) into out and terminates.
void CopyField(const char* begin, const char* end, char* out, size_t cap) {
  size_t n = size_t(end - begin);
  if (n > cap - 1) n = cap - 1;
  memcpy(out, begin, n);
  out[n] = 0;
}

}  // namespace

size_t FormatHistoryTime(const HistoryTime& t, char* out, size_t cap) {
  if (cap == 0) return 0;
  int hour = t.hour;
  const char* half = hour >= 12 ? "PM" : "AM";
  if (hour == 0) hour = 12;
  else if (hour > 12) hour -= 12;
  int n = snprintf(out, cap, "%02u/%02u/%04u  %u:%02u %s", unsigned(t.month), unsigned(t.day),
                   unsigned(t.year), unsigned(hour), unsigned(t.minute), half);
  if (n < 0) {
    out[0] = 0;
    return 0;
  }
  return size_t(n) < cap ? size_t(n) : cap - 1;
}

size_t FormatHistoryLine(const char* date, int type, int action, const char* title,
                         const char* command, const char* source, char* out, size_t cap) {
  if (cap > kHistoryLineCapacity) cap = kHistoryLineCapacity;
  if (cap < 3) {
    if (cap > 0) out[0] = 0;
    return 0;
  }
  char typeName[kHistoryNameCapacity];
  char actionName[kHistoryNameCapacity];
  CopyText(typeName, HistoryTypeName(type));
  CopyText(actionName, HistoryActionName(action));

  const size_t limit = cap - 3;  // room kept for CR LF and the terminator
  size_t used = 0;
  const char* fields[kHistoryFieldCount] = {date, actionName, typeName, title, command, source};
  for (int i = 0; i < kHistoryFieldCount; ++i) {
    if (i > 0 && !AppendRaw(out, limit, &used, '\t')) break;
    if (!AppendField(out, limit, &used, fields[i])) break;
  }
  out[used++] = '\r';
  out[used++] = '\n';
  out[used] = 0;
  return used;
}

bool ParseHistoryLine(const char* line, size_t length, HistoryRecord* out) {
  if (length > 0 && line[length - 1] == '\r') --length;
  memset(out, 0, sizeof *out);
  out->action = kHistoryActionUnknown;
  out->type = kHistoryTypeUnknown;
  if (length == 0) return false;

  char fields[kHistoryFieldCount][kHistoryFieldCapacity] = {};
  const char* end = line + length;
  const char* start = line;
  int count = 0;
  for (const char* p = line;; ++p) {
    if (p == end || *p == '\t') {
      if (count < kHistoryFieldCount) CopyField(start, p, fields[count], kHistoryFieldCapacity);
      ++count;
      if (p == end) break;
      start = p + 1;
    }
  }
  out->fieldCount = count;

  if (strlen(fields[0]) < kHistoryDateCapacity) CopyText(out->date, fields[0]);
  out->action = HistoryActionCode(fields[1]);
  out->type = HistoryTypeCode(fields[2]);
  if (strlen(fields[3]) < kHistoryTitleCapacity) CopyText(out->title, fields[3]);
  CopyText(out->command, fields[4]);
  CopyText(out->source, fields[5]);
  return true;
}

int ParseHistoryText(const char* text, size_t length, bool fileContinues, HistoryRecordSink sink,
                     void* context) {
  if (text == nullptr) return 0;
  if (length > kHistoryReadLimit) {
    length = kHistoryReadLimit;
    fileContinues = true;
  }
  int events = 0;
  const char* end = text + length;
  const char* line = text;
  while (line < end) {
    const char* lf = static_cast<const char*>(memchr(line, '\n', size_t(end - line)));
    if (lf == nullptr && fileContinues) break;  // cut by the read limit
    const char* stop = lf ? lf : end;
    HistoryRecord record;
    if (ParseHistoryLine(line, size_t(stop - line), &record)) {
      if (sink) sink(record, context);
      ++events;
    }
    if (lf == nullptr) break;
    line = lf + 1;
  }
  return events;
}

bool IsRestorableStartupCode(int code) {
  return (code >= 1 && code <= 5) || (code >= 11 && code <= 15) || code == 100 || code == 101 ||
         code == 200 || (code >= 252 && code <= 256);
}

HistoryRestoreKind RestoreKindOf(int action, int code) {
  switch (action) {
    case kActionStartRemove:
      return IsRestorableStartupCode(code) ? kRestoreStartupEntry : kRestoreNothing;
    case kActionStartDisable:
    case kActionStartEnable:
      return kToggleStartupEntry;
    case kActionHelperRemove:
      return kReregisterHelper;
    case kActionHiddenDeleteFile:
      return kRestoreVaultFile;
    default:
      return kRestoreNothing;
  }
}

}  // namespace tov

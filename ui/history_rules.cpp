#include "ui/history_rules.h"

#include <cstring>

#include "core/history_names.h"
#include "core/text.h"
#include "resources/string_ids.h"

namespace tov {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits from text at *at (at most maxDigits, at least one).
bool ReadNumber(const char* text, size_t* at, size_t maxDigits, int* out) {
  size_t start = *at;
  int value = 0;
  while (IsDigit(text[*at]) && *at - start < maxDigits) value = value * 10 + (text[(*at)++] - '0');
  *out = value;
  return *at > start;
}

bool Expect(const char* text, size_t* at, char c) {
  if (text[*at] != c) return false;
  ++*at;
  return true;
}

// The parts of "MM/DD/YYYY  h:mm AM"; false when the text has another form.
bool ParseEventDate(const char* date, int* year, int* month, int* day, int* hour, int* minute) {
  size_t at = 0;
  if (!ReadNumber(date, &at, 2, month) || !Expect(date, &at, '/')) return false;
  if (!ReadNumber(date, &at, 2, day) || !Expect(date, &at, '/')) return false;
  if (!ReadNumber(date, &at, 4, year) || date[at] != ' ') return false;
  while (date[at] == ' ') ++at;
  if (!ReadNumber(date, &at, 2, hour) || !Expect(date, &at, ':')) return false;
  if (!ReadNumber(date, &at, 2, minute) || !Expect(date, &at, ' ')) return false;
  bool pm;
  if ((date[at] == 'A' || date[at] == 'a') && (date[at + 1] == 'M' || date[at + 1] == 'm')) pm = false;
  else if ((date[at] == 'P' || date[at] == 'p') && (date[at + 1] == 'M' || date[at + 1] == 'm')) pm = true;
  else return false;
  if (*hour < 1 || *hour > 12 || *minute > 59 || *month > 12 || *day > 31) return false;
  if (*hour == 12) *hour = 0;
  if (pm) *hour += 12;
  return true;
}

}  // namespace

size_t HistorySortableDate(const char* date, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  int year, month, day, hour, minute;
  if (!ParseEventDate(date, &year, &month, &day, &hour, &minute)) {
    CopyTextN(out, cap, date);
    return strlen(out);
  }
  // Twelve digits, built by hand so the form never depends on the C library.
  int parts[] = {year, month, day, hour, minute};
  int widths[] = {4, 2, 2, 2, 2};
  char digits[13];
  size_t n = 0;
  for (int i = 0; i < 5; ++i) {
    int value = parts[i];
    for (int w = widths[i] - 1; w >= 0; --w) {
      digits[n + size_t(w)] = char('0' + value % 10);
      value /= 10;
    }
    n += size_t(widths[i]);
  }
  digits[n] = 0;
  CopyTextN(out, cap, digits);
  return strlen(out);
}

bool ToggleReversesEvent(int action, bool disabledNow) {
  if (action == kActionStartDisable) return disabledNow;
  if (action == kActionStartEnable) return !disabledNow;
  return true;
}

namespace {

const ColumnRow kHistoryColumns[] = {
    {kTextTitle, 0.35}, {kTextAction, 0.22}, {kTextCommand, 0.22}, {kTextDateModified, 0.38},
};

const MenuRow kHistoryMenuRows[] = {
    {kTextRestore, kCmdHistoryRestore, nullptr},
    {kTextClearFile, kCmdHistoryClear, nullptr},
    {kTextClose, 1, nullptr},  // IDOK
};

}  // namespace

const ListFacts kHistoryList = {kHistoryColumns, false, "SortHistory", 4};
const EntryMenu kHistoryMenu = {kHistoryMenuRows, false};

}  // namespace tov

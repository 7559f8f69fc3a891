// The lines of the history file "history.txt": six fields separated by TAB
// (date, action name, type name, title, command, source), each line ended
// by CR LF. Writing builds one line; reading splits the file's first
// 131072 bytes back into records.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

constexpr size_t kHistoryLineCapacity = 1024;   // a whole line, CR LF and terminator included
constexpr size_t kHistoryReadLimit = 131072;    // bytes of the file that are read
constexpr size_t kHistoryFieldCapacity = 260;   // a field read keeps 259 characters
constexpr size_t kHistoryDateCapacity = 32;     // a longer date is dropped
constexpr size_t kHistoryTitleCapacity = 128;   // a longer title is dropped
constexpr int kHistoryFieldCount = 6;

// Local time of an event (month 1-12, hour 0-23).
struct HistoryTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// "MM/DD/YYYY  h:mm AM" / "... PM": hour 0 shows as 12 AM, 12 as 12 PM,
// 13-23 as 1-11 PM. Returns the length; cut to cap - 1.
size_t FormatHistoryTime(const HistoryTime& t, char* out, size_t cap);

// One event line: date, action name, type name, title, command, source,
// TAB-separated, ended by CR LF. A TAB, CR or LF inside a field is written
// as a space so that the line keeps its six fields. A line longer than
// 1023 characters is cut before its CR LF, which is always kept. Returns
// the length (0 when cap < 3).
size_t FormatHistoryLine(const char* date, int type, int action, const char* title,
                         const char* command, const char* source, char* out, size_t cap);

// One event read back. Fields missing from a short line are empty; the
// action and type of a name not in the tables (or missing) are 31 and 3000.
struct HistoryRecord {
  char date[kHistoryDateCapacity];
  int action;
  int type;
  char title[kHistoryTitleCapacity];
  char command[kHistoryFieldCapacity];
  char source[kHistoryFieldCapacity];
  int fieldCount;   // fields the line had (at most six are used)
};

// Reads one line (without its LF; a final CR is not part of the last
// field). False for a blank line, which is no event.
bool ParseHistoryLine(const char* line, size_t length, HistoryRecord* out);

// Splits file text into lines and passes each event to sink in file order.
// Only the first 131072 bytes are looked at; when the text goes on past
// what is given (fileContinues, or more than the limit was given), a last
// line without its LF is an event cut by the limit and is left out.
// Returns the number of events passed on.
using HistoryRecordSink = void (*)(const HistoryRecord& record, void* context);
int ParseHistoryText(const char* text, size_t length, bool fileContinues, HistoryRecordSink sink,
                     void* context);

// What the History window's Restore does with an event.
enum HistoryRestoreKind {
  kRestoreNothing,
  kRestoreStartupEntry,   // a removed startup entry is written back to its location
  kToggleStartupEntry,    // a disable/enable is undone by toggling it again
  kReregisterHelper,      // a removed IE helper is registered again
  kRestoreVaultFile,      // a deleted hidden file comes back from the vault
  kRestoreKindCount
};
HistoryRestoreKind RestoreKindOf(int action, int code);
// Startup location codes a removed entry can be written back to: the Run
// keys of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, WIN.INI, the Startup
// folders, and the registry hooks 252-256.
bool IsRestorableStartupCode(int code);

}  // namespace tov

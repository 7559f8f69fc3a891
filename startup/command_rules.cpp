#include "startup/command_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

constexpr char kRunDllName[] = "RUNDLL32.EXE";
constexpr size_t kRunDllNameLength = sizeof kRunDllName - 1;
constexpr size_t kExtensionLength = 4;  // the dot and three characters
// Room for a command of a Run value or a delayed entry with the Windows
// folder spliced in.
constexpr size_t kExpandedCapacity = kRegTextCapacity + kPathCapacity;

// Copies text[from, to) into out, cut to cap.
void CopyRange(const char* text, size_t from, size_t to, char* out, size_t cap) {
  if (cap == 0) return;
  size_t n = to > from ? to - from : 0;
  if (n > cap - 1) n = cap - 1;
  memcpy(out, text + from, n);
  out[n] = 0;
}

// The second letter after a dot ends a program name when it is X, L or P
// (".EXE", ".DLL", ".CPL").
bool EndsProgram(const char* dot) {
  if (dot[1] == 0) return false;
  char second = UpperChar(dot[2]);
  return second == 'X' || second == 'L' || second == 'P';
}

// "\SystemRoot" names the Windows folder only as a whole folder name: the
// character after it ends the name ("\SystemRootBackup" is another folder).
bool EndsFolderName(char next) { return next == 0 || next == '\\' || next == '"' || next == ' '; }

// Where a Windows-folder reference stands in a command: "%SystemRoot%"
// anywhere, or "\SystemRoot" at the start of the command or of a quoted or
// blank-separated word. False when the command holds none.
bool FindSystemRoot(const char* command, size_t* at, size_t* length) {
  long found = FindNoCase(command, "SYSTEMROOT");
  if (found <= 0) return false;
  size_t word = size_t(found);
  if (command[word - 1] == '%' && command[word + 10] == '%') {
    *at = word - 1;
    *length = 12;
    return true;
  }
  if (command[word - 1] == '\\' &&
      (word == 1 || command[word - 2] == '"' || command[word - 2] == ' ') &&
      EndsFolderName(command[word + 10])) {
    *at = word - 1;
    *length = 11;
    return true;
  }
  return false;
}

}  // namespace

int StripRunDll(const char* command, char* out, size_t cap) {
  if (command == nullptr) command = "";
  // The head is found by its whole name, so a folder whose letters happen
  // to match R?N?L?3 is not taken for it.
  long at = FindNoCase(command, kRunDllName);
  if (at < 0) {
    if (cap > 0) CopyTextN(out, cap, command);
    return 0;
  }
  const char* rest = command + at + kRunDllNameLength;
  if (*rest == '"') ++rest;  // "C:\WINDOWS\rundll32.exe" dll,entry
  if (*rest != 0) ++rest;    // the separator
  while (*rest == ' ') ++rest;
  if (cap > 0) CopyTextN(out, cap, rest);
  return 1;
}

size_t SplitCommandText(const char* command, const char* windowsFolder, char* program,
                        size_t programCap, char* parameters, size_t parametersCap) {
  if (programCap > 0) program[0] = 0;
  if (parametersCap > 0) parameters[0] = 0;
  if (command == nullptr) return 0;
  if (windowsFolder == nullptr) windowsFolder = "";

  // The command with its Windows-folder reference replaced by the folder.
  char text[kExpandedCapacity];
  size_t refAt = 0, refLength = 0, folderLength = 0;
  bool reference = FindSystemRoot(command, &refAt, &refLength);
  if (reference) {
    const char* rest = command + refAt + refLength;
    folderLength = strlen(windowsFolder);
    // "C:\" followed by "\..." does not double the backslash.
    if (folderLength > 0 && windowsFolder[folderLength - 1] == '\\' && rest[0] == '\\')
      --folderLength;
    CopyRange(command, 0, refAt, text, sizeof text);
    size_t used = strlen(text);
    CopyRange(windowsFolder, 0, folderLength, text + used, sizeof text - used);
    folderLength = strlen(text) - used;  // what fitted
    AppendTextN(text, sizeof text, rest);
  } else {
    CopyTextN(text, sizeof text, command);
  }

  size_t begin = 0;
  while (text[begin] == ' ') ++begin;
  bool quoted = text[begin] == '"';
  if (quoted) ++begin;

  // The program ends after its extension or at its closing quote; the
  // drive letter before the last ":" starts it.
  size_t end = begin;
  size_t consumedEnd = 0;
  bool ended = false;
  long colon = -1;
  for (; text[end]; ++end) {
    if (quoted && text[end] == '"') {
      consumedEnd = end + 1;
      ended = true;
      break;
    }
    if (text[end] == ':') colon = long(end);
    if (text[end] == '.' && EndsProgram(text + end)) {
      size_t stop = end + 1;
      while (stop < end + kExtensionLength && text[stop] && !(quoted && text[stop] == '"')) ++stop;
      end = stop;
      consumedEnd = (quoted && text[end] == '"') ? end + 1 : end;
      ended = true;
      break;
    }
  }
  if (!ended) consumedEnd = end;

  size_t start = colon > 0 ? size_t(colon - 1) : begin;
  CopyRange(text, start, end, program, programCap);
  if (programCap > 0) UpperText(program);

  // Back from the expanded text to the command as given.
  size_t consumed = consumedEnd;
  if (reference && consumedEnd > refAt) {
    if (consumedEnd < refAt + folderLength)
      consumed = refAt + refLength;
    else
      consumed = consumedEnd - folderLength + refLength;
  }
  size_t length = strlen(command);
  if (consumed > length) consumed = length;
  if (parametersCap > 0) CopyTextN(parameters, parametersCap, command + consumed);
  return consumed;
}

bool UserinitProgram(const char* value, char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  if (value == nullptr) return false;
  const char* comma = strchr(value, ',');
  if (comma == nullptr) return false;
  if (comma[1] == 0) {
    CopyRange(value, 0, size_t(comma - value), out, cap);
    return true;
  }
  const char* rest = comma + 1;
  while (*rest == ' ') ++rest;
  if (cap > 0) CopyTextN(out, cap, rest);
  return true;
}

bool ShellProgram(const char* value, char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  if (value == nullptr || value[0] == 0) return false;
  const char* blank = strchr(value, ' ');
  if (blank == nullptr) {
    if (cap > 0) CopyTextN(out, cap, value);
    return true;
  }
  if (blank[1] == 0) {
    CopyRange(value, 0, size_t(blank - value), out, cap);
    return true;
  }
  const char* rest = blank + 1;
  while (*rest == ' ') ++rest;
  if (cap > 0) CopyTextN(out, cap, rest);
  return true;
}

bool NextAppInitDll(const char* list, size_t* pos, char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  if (list == nullptr || pos == nullptr) return false;
  size_t length = strlen(list);
  size_t at = *pos < length ? *pos : length;
  while (list[at] == ',' || list[at] == ' ') ++at;
  if (list[at] == 0) {
    *pos = at;
    return false;
  }
  size_t end = at;
  while (list[end] != 0 && list[end] != ',' && list[end] != ' ') ++end;
  CopyRange(list, at, end, out, cap);
  *pos = end;
  return true;
}

void ForgetRunValue(RunValuePair* pair) {
  pair->name[0] = 0;
  pair->data[0] = 0;
}

void RememberRunValue(RunValuePair* pair, const char* name, const char* data) {
  CopyText(pair->name, name ? name : "");
  CopyText(pair->data, data ? data : "");
}

bool IsRepeatedRunValue(const RunValuePair& pair, const char* name, const char* data) {
  return EqualsNoCase(pair.name, name ? name : "") && EqualsNoCase(pair.data, data ? data : "");
}

bool IsListedRunValue(const char* name, const char* data) {
  if (name == nullptr || data == nullptr) return false;
  if (strlen(name) < kRunShortestName || strlen(data) < kRunShortestData) return false;
  return static_cast<unsigned char>(name[0]) < 0x80;
}

}  // namespace tov

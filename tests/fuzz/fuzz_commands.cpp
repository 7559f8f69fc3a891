// Command lines from a stranger's registry: the program of a command, its
// split into program and parameters, the RunDLL32 head, the Winlogon
// Userinit and Shell values, the AppInit_Dlls list and the note-file name.
// Each result must stay in its buffer and be made of the command's own text.
#include <cctype>

#include "core/paths.h"
#include "core/text.h"
#include "startup/change_rules.h"
#include "startup/command_rules.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tov;

namespace {

const char kWindows[] = "C:\\WINDOWS";
const char kProgramFiles[] = "C:\\Program Files";

void CheckProgram(const char* command) {
  char program[kPathCapacity];
  ProgramOfCommandIn(command, kWindows, kProgramFiles, program, sizeof program);
  FUZZ_CHECK(fuzz::Terminated(program, sizeof program));
  for (const char* p = program; *p; ++p) FUZZ_CHECK(!(*p >= 'a' && *p <= 'z'));
}

void CheckSplit(const char* command) {
  char program[kPathCapacity];
  char parameters[kRegTextCapacity];
  size_t consumed = SplitCommandText(command, kWindows, program, sizeof program, parameters,
                                     sizeof parameters);
  size_t length = strlen(command);
  FUZZ_CHECK(consumed <= length);
  FUZZ_CHECK(fuzz::Terminated(program, sizeof program));
  // The parameters are the rest of the command as given.
  if (length - consumed < sizeof parameters) FUZZ_CHECK(strcmp(parameters, command + consumed) == 0);
}

void CheckRunDll(const char* command) {
  char out[kRegTextCapacity];
  int stripped = StripRunDll(command, out, sizeof out);
  size_t length = strlen(command);
  if (length >= sizeof out) return;
  if (stripped == 0) {
    FUZZ_CHECK(strcmp(out, command) == 0);
    FUZZ_CHECK(FindNoCase(command, "RUNDLL32.EXE") < 0);
  } else {
    // What is left is the end of the command.
    size_t n = strlen(out);
    FUZZ_CHECK(n < length);
    FUZZ_CHECK(strcmp(command + length - n, out) == 0);
  }
}

void CheckWinlogon(const char* value) {
  char out[kPathCapacity];
  if (UserinitProgram(value, out, sizeof out)) {
    FUZZ_CHECK(strchr(value, ',') != nullptr);
    if (strlen(value) < sizeof out) FUZZ_CHECK(strstr(value, out) != nullptr);
  }
  if (ShellProgram(value, out, sizeof out)) {
    FUZZ_CHECK(value[0] != 0);
    if (strlen(value) < sizeof out) FUZZ_CHECK(strstr(value, out) != nullptr);
  }
}

bool DropNothing(const char*, void*) { return false; }
bool DropFirst(const char* token, void* context) {
  return strcmp(token, static_cast<const char*>(context)) == 0;
}

void CheckAppInit(const char* list) {
  size_t pos = 0, previous = 0;
  char token[kPathCapacity];
  std::string joined, first;
  int count = 0;
  while (NextAppInitDll(list, &pos, token, sizeof token)) {
    FUZZ_CHECK(pos > previous);
    previous = pos;
    FUZZ_CHECK(token[0] != 0);
    FUZZ_CHECK(strpbrk(token, ", ") == nullptr);
    if (count++ == 0) first = token;
    if (!joined.empty()) joined += ",";
    joined += token;
  }
  FUZZ_CHECK(count <= int(strlen(list)));
  // Dropping nothing joins every token with ","; dropping one never leaves
  // an empty token behind.
  char out[kRegTextCapacity];
  if (RemoveDllFromList(list, DropNothing, nullptr, out, sizeof out) && strlen(list) < 200)
    FUZZ_CHECK(joined == out);
  if (count > 0 && RemoveDllFromList(list, DropFirst, &first[0], out, sizeof out)) {
    FUZZ_CHECK(strstr(out, ",,") == nullptr);
    FUZZ_CHECK(out[0] != ',');
  }
}

void CheckNoteName(const char* command) {
  char name[kPathCapacity];
  if (!NoteFileName(command, kWindows, kProgramFiles, name, sizeof name)) {
    FUZZ_CHECK(name[0] == 0);
    return;
  }
  size_t n = strlen(name);
  FUZZ_CHECK(n > 9 && strncmp(name, "note_", 5) == 0 && strcmp(name + n - 4, ".txt") == 0);
  // Nothing that leaves the data folder or that a file name may not hold.
  for (const char* p = name; *p; ++p) {
    FUZZ_CHECK(static_cast<unsigned char>(*p) >= 32);
    FUZZ_CHECK(strchr("\\/:*?\"<>|", *p) == nullptr);
  }
  FUZZ_CHECK(name[n - 5] != '.' && name[n - 5] != ' ');
}

void CheckKept(const char* value) {
  char path[kPathCapacity];
  if (OriginalAsEntryPath(value, path, sizeof path)) FUZZ_CHECK(strchr(path, '"') == nullptr);
  FUZZ_CHECK(fuzz::Terminated(path, sizeof path));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string text = fuzz::Text(data, size);
  const char* command = text.c_str();
  CheckProgram(command);
  CheckSplit(command);
  CheckRunDll(command);
  CheckWinlogon(command);
  CheckAppInit(command);
  CheckNoteName(command);
  CheckKept(command);
  return 0;
}

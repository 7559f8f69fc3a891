// Paths and files of the running system: program and data folders, file
// tests and small file operations, and the user's date and time style.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "core/datetime.h"  // kDateTimeCapacity for FormatDateTime

namespace tov {

// Folder of the running program's file; 0 and empty text on failure or when
// it is longer than 260 characters.
size_t ProgramFolder(char* out, size_t cap);
template <size_t N> size_t ProgramFolder(char (&out)[N]) { return ProgramFolder(out, N); }
// "<AppData>\Tovrel" (created with its "vault" sub-folder), or the program
// folder when there is no AppData or the vault cannot be made. Non-zero
// when a folder was found.
int DataFolder(char* out, size_t cap);
template <size_t N> int DataFolder(char (&out)[N]) { return DataFolder(out, N); }

// 1 when the path exists (tested through its short form). A name shorter
// than 32 characters is also looked for in the Windows folder (path left as
// it is) and then in the System folder (path replaced by that file's short
// path when it fits cap). 0 otherwise, and for empty text.
int FileExists(char* path, size_t cap);
template <size_t N> int FileExists(char (&path)[N]) { return FileExists(path, N); }
// Folder of a file: the text before its last backslash ("C:\" for a file in
// a drive root); for a bare name shorter than 32 characters, the Windows or
// the System folder that holds it. 0 and empty text otherwise.
size_t FolderOfFile(const char* path, char* out, size_t cap);
template <size_t N> size_t FolderOfFile(const char* path, char (&out)[N]) {
  return FolderOfFile(path, out, N);
}
// The long form of a path where the platform can tell it (not on the first
// Windows 95 release); otherwise the path unchanged. out may be path.
void LongPathName(char* out, size_t cap, const char* path);
template <size_t N> void LongPathName(char (&out)[N], const char* path) {
  LongPathName(out, N, path);
}

// The machine's program-files folder ("ProgramFilesDir"), "C:\Program
// Files" when it names none.
size_t ProgramFilesFolder(char* out, size_t cap);
// The program file of a command line, upper case (see ProgramOfCommandIn),
// with this machine's Windows and program-files folders. False when cut.
bool ProgramOfCommand(const char* command, char* out, size_t cap);
template <size_t N> bool ProgramOfCommand(const char* command, char (&out)[N]) {
  return ProgramOfCommand(command, out, N);
}
// The same program file in the command's own letters (for reading it).
bool ProgramFileOfCommand(const char* command, char* out, size_t cap);
template <size_t N> bool ProgramFileOfCommand(const char* command, char (&out)[N]) {
  return ProgramFileOfCommand(command, out, N);
}
// The note file of a command's program: "note_<name>.txt" in the program
// folder when it exists there, else in the data folder (existing or not).
// False and empty text when there is no program or the path does not fit.
bool NotePath(const char* command, char* out, size_t cap);
template <size_t N> bool NotePath(const char* command, char (&out)[N]) {
  return NotePath(command, out, N);
}

// Clears the file's attributes and deletes it.
bool DeleteFileForce(const char* path);

// A zero-terminated text block owned by the caller; freed when it goes out
// of scope.
struct FreeTextBlock {
  void operator()(char* p) const { free(p); }
};
using TextBlock = std::unique_ptr<char, FreeTextBlock>;
// The first sizeLimit bytes of a file as a new zero-terminated block; with
// addCr every bare line feed becomes carriage return + line feed. Empty
// (null) when the file cannot be opened, is empty or memory runs out.
TextBlock ReadTextFile(const char* path, size_t sizeLimit, bool addCr);

constexpr size_t kFileDateCapacity = 256;
// The file's creation time in local time as "yyyy/mm/dd hh:mm". False and
// empty text when the file cannot be opened or its times cannot be read.
bool FileDateText(const char* path, char* out, size_t cap);

constexpr int kProgramFilterTextId = 903;
// The open-file dialog for a program; 1 with the chosen path in out, 0 when
// nothing (or a text of 4 characters or fewer) was chosen.
int ChooseProgramFile(HWND owner, int titleTextId, char* out, size_t cap);

// Seconds since 1970 as local calendar time; false when out of range.
bool UnixTimeToLocal(int64_t seconds, SYSTEMTIME* out);
// "<date> <time>" in the user's short-date and time style (HKCU "Control
// Panel\International" "sShortDate" and "sTimeFormat"). Returns the length.
size_t FormatDateTime(const SYSTEMTIME& t, char* out, size_t cap);
template <size_t N> size_t FormatDateTime(const SYSTEMTIME& t, char (&out)[N]) {
  return FormatDateTime(t, out, N);
}

}  // namespace tov

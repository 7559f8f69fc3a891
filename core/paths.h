// Path and command-line rules shared by every page: which program a command
// starts, the name of its note file, and the folder and name parts of a
// path. No Windows headers: the machine's folders come in as arguments.
#pragma once
#include <cstddef>

namespace tov {

// A path without backslash shorter than this is looked up in the Windows
// and System folders.
constexpr size_t kBareNameLimit = 32;
// Program-files folder when the machine does not name one.
constexpr char kDefaultProgramFilesDir[] = "C:\\Program Files";

// The program file named in a command line, upper case: "\SystemRoot",
// "%SystemRoot%" and "%ProgramFiles%" are replaced by the given folders, the
// text ends after the first extension whose second letter is X or L (".EXE",
// ".DLL"), and it starts at the drive letter of the last ":" before that
// (else after any leading spaces and quote). A command that starts with a
// quote ends at its closing quote. Returns false when out had to be cut.
bool ProgramOfCommandIn(const char* command, const char* windowsFolder,
                        const char* programFilesFolder, char* out, size_t cap);
// The same program file with its letters as the command writes them, for
// opening the file: a file system that matches names without case has to
// search a folder for a name in another case.
bool ProgramFileOfCommandIn(const char* command, const char* windowsFolder,
                            const char* programFilesFolder, char* out, size_t cap);

// "note_<name>.txt" for the program of a command: name is the program's
// file name (after the last "\" or "/") without its last four characters
// (the extension), each character a file name may not hold turned into "_"
// and blanks and dots at its end dropped, so the note always lies in the
// data folder. Returns false when no name is left or it does not fit (out
// is then empty).
bool NoteFileName(const char* command, const char* windowsFolder,
                  const char* programFilesFolder, char* out, size_t cap);

// Text after the last backslash; 0 and empty text when there is none or it
// does not fit.
size_t FileNameOf(const char* path, char* out, size_t cap);
template <size_t N> size_t FileNameOf(const char* path, char (&out)[N]) {
  return FileNameOf(path, out, N);
}

// Text before the last backslash, a drive root keeping its backslash
// ("C:\"); 0 and empty text when there is no backslash, nothing before it,
// or it does not fit.
size_t FolderPartOf(const char* path, char* out, size_t cap);

}  // namespace tov

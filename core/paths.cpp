#include "core/paths.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

// Room for a registry command with a folder spliced in.
constexpr size_t kExpandedCapacity = kRegTextCapacity + kPathCapacity;
constexpr size_t kExtensionLength = 4;  // the dot and three characters

// Appends the first n characters of text; false when cut.
bool AppendPart(char* out, size_t cap, const char* text, size_t n) {
  size_t used = strlen(out);
  size_t room = cap - 1 - used;
  size_t take = n < room ? n : room;
  memcpy(out + used, text, take);
  out[used + take] = 0;
  return take == n;
}

// out = command with command[at, at + len) replaced by folder. A folder that
// ends with a backslash ("C:\") does not double the one that follows.
bool Splice(const char* command, size_t at, size_t len, const char* folder, char* out,
            size_t cap) {
  out[0] = 0;
  size_t folderLen = strlen(folder);
  const char* rest = command + at + len;
  if (folderLen > 0 && folder[folderLen - 1] == '\\' && rest[0] == '\\') --folderLen;
  bool whole = AppendPart(out, cap, command, at);
  whole &= AppendPart(out, cap, folder, folderLen);
  whole &= AppendTextN(out, cap, rest);
  return whole;
}

// "\SystemRoot" names the Windows folder only as a whole folder name: the
// character after it ends the name ("\SystemRootBackup" is another folder).
bool EndsFolderName(char next) { return next == 0 || next == '\\' || next == '"' || next == ' '; }

// Replaces the Windows-folder or program-files reference of a command by the
// folder itself. Only a real reference is replaced, where it stands: the
// word "SystemRoot" inside some other name is left alone.
bool ExpandFolders(const char* command, const char* windowsFolder, const char* programFilesFolder,
                   char* out, size_t cap) {
  long found = FindNoCase(command, "SYSTEMROOT");
  if (found >= 0) {
    size_t at = size_t(found);
    if (at > 0 && command[at - 1] == '%' && command[at + 10] == '%')
      return Splice(command, at - 1, 12, windowsFolder, out, cap);
    if (at > 0 && command[at - 1] == '\\' &&
        (at == 1 || command[at - 2] == '"' || command[at - 2] == ' ') &&
        EndsFolderName(command[at + 10]))
      return Splice(command, at - 1, 11, windowsFolder, out, cap);
  }
  found = FindNoCase(command, "%PROGRAMFILES%");
  if (found >= 0) return Splice(command, size_t(found), 14, programFilesFolder, out, cap);
  return CopyTextN(out, cap, command);
}

// A character a file name may hold, else "_": no control characters and
// none of \ / : * ? " < > | (":" would open an NTFS stream).
char FileNameChar(char c) {
  if (static_cast<unsigned char>(c) < 32) return '_';
  return strchr("\\/:*?\"<>|", c) != nullptr ? '_' : c;
}

bool IsProgramExtension(const char* dot) {
  if (dot[1] == 0) return false;
  char second = UpperChar(dot[2]);
  return second == 'X' || second == 'L';
}

}  // namespace

bool ProgramOfCommandIn(const char* command, const char* windowsFolder,
                        const char* programFilesFolder, char* out, size_t cap) {
  bool whole = ProgramFileOfCommandIn(command, windowsFolder, programFilesFolder, out, cap);
  if (cap > 0) UpperText(out);
  return whole;
}

bool ProgramFileOfCommandIn(const char* command, const char* windowsFolder,
                            const char* programFilesFolder, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (command == nullptr) return true;
  char text[kExpandedCapacity];
  bool expandedWhole = ExpandFolders(command, windowsFolder ? windowsFolder : "",
                                     programFilesFolder ? programFilesFolder : "", text,
                                     sizeof text);

  size_t begin = 0;
  while (text[begin] == ' ') ++begin;
  bool quoted = text[begin] == '"';
  if (quoted) ++begin;

  // Find where the program ends and the last ":" before that.
  size_t end = begin;
  bool endFound = false;
  long colon = -1;
  for (; text[end]; ++end) {
    if (quoted && text[end] == '"') { endFound = true; break; }
    if (text[end] == ':') colon = long(end);
    if (text[end] == '.' && IsProgramExtension(text + end)) {
      size_t stop = end + 1;
      while (stop < end + kExtensionLength && text[stop] && !(quoted && text[stop] == '"')) ++stop;
      end = stop;
      endFound = true;
      break;
    }
  }

  size_t start = begin;
  if (colon >= 0) start = colon > 0 ? size_t(colon - 1) : 0;
  bool whole = AppendPart(out, cap, text + start, end - start);
  return whole && (expandedWhole || endFound);
}

bool NoteFileName(const char* command, const char* windowsFolder,
                  const char* programFilesFolder, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char program[kPathCapacity];
  ProgramOfCommandIn(command, windowsFolder, programFilesFolder, program, sizeof program);
  // The name starts after the last separator of either kind, so a command
  // can never lead the note out of the data folder.
  const char* name = program;
  for (const char* p = program; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  size_t len = strlen(name);
  // The extension is taken to be the last four characters; a shorter name
  // is kept whole.
  if (len > kExtensionLength) len -= kExtensionLength;
  char part[kPathCapacity];
  size_t n = 0;
  for (size_t i = 0; i < len; ++i) part[n++] = FileNameChar(name[i]);
  // Blanks and dots at the end of a name are dropped by the file system.
  while (n > 0 && (part[n - 1] == ' ' || part[n - 1] == '.')) --n;
  part[n] = 0;
  if (n == 0) return false;
  bool whole = AppendTextN(out, cap, "note_");
  whole = whole && AppendTextN(out, cap, part);
  whole = whole && AppendTextN(out, cap, ".txt");
  if (!whole) out[0] = 0;
  return whole;
}

size_t FileNameOf(const char* path, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  const char* slash = strrchr(path, '\\');
  if (!slash) return 0;
  if (!CopyTextN(out, cap, slash + 1)) {
    out[0] = 0;
    return 0;
  }
  return strlen(out);
}

size_t FolderPartOf(const char* path, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  const char* slash = strrchr(path, '\\');
  if (!slash || slash == path) return 0;
  size_t len = size_t(slash - path);
  if (slash[-1] == ':') ++len;  // "C:\" keeps its backslash
  if (len + 1 > cap) return 0;
  memcpy(out, path, len);
  out[len] = 0;
  return len;
}

}  // namespace tov

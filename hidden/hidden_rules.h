// Rules of the hidden-files family that need no Windows: where a file's
// copy lives in the vault, how a last-write date is shown, and where a
// delete-at-restart line goes in the Windows 9x restart file. No Windows
// headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tov {

constexpr int kTypeHidden = 370;             // entry code of a hidden file
constexpr size_t kHiddenDateCapacity = 32;   // last-write and baseline date texts
constexpr size_t kShownDateLimit = 16;       // longer last-write texts lose their seconds
constexpr size_t kVaultFolderNameLength = 8; // hex digits of the path's hash

// The vault keeps one copy per file: each copy lives in a sub-folder named
// by a hash of the file's full path (case folded, since Windows paths
// ignore case), so two files of one name never share a copy. out receives
// eight hex digits.
void VaultFolderName(const char* path, char (&out)[kVaultFolderNameLength + 1]);

// The last-write text as the page shows it: a text longer than 16
// characters loses its seconds (a final ":ss"); any other text, seconds or
// not, is shown whole.
void ShownLastWritten(const char* text, char* out, size_t cap);

// Where a "NUL=" line goes in the text of wininit.ini so that every byte
// already there stays: at the end of the first [rename] section (before the
// next section header, or at the end of the text). When there is no such
// section, at the end, after a new "[rename]" header. breakFirst tells that
// the text before the insertion point lacks its final line break.
struct RenameInsertion {
  size_t offset;
  bool breakFirst;
  bool header;
};
RenameInsertion FindRenameInsertion(const char* text, size_t length);

}  // namespace tov

#include "hidden/hidden_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The line starting at text[at] is a section header; its name (between the
// brackets, blanks trimmed) goes to name, cut to cap - 1.
bool SectionHeaderAt(const char* text, size_t length, size_t at, char* name, size_t cap) {
  while (at < length && IsBlank(text[at])) ++at;
  if (at >= length || text[at] != '[') return false;
  ++at;
  while (at < length && IsBlank(text[at])) ++at;
  size_t n = 0;
  while (at < length && text[at] != ']' && text[at] != '\n' && text[at] != '\r') {
    if (n + 1 < cap) name[n++] = text[at];
    ++at;
  }
  if (at >= length || text[at] != ']') return false;
  while (n > 0 && IsBlank(name[n - 1])) --n;
  name[n] = 0;
  return true;
}

size_t NextLine(const char* text, size_t length, size_t at) {
  while (at < length && text[at] != '\n') ++at;
  return at < length ? at + 1 : length;
}

}  // namespace

void VaultFolderName(const char* path, char (&out)[kVaultFolderNameLength + 1]) {
  uint32_t hash = HashNoCase(path);
  static const char kDigits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < kVaultFolderNameLength; ++i)
    out[i] = kDigits[(hash >> (4 * (kVaultFolderNameLength - 1 - i))) & 0xF];
  out[kVaultFolderNameLength] = 0;
}

void ShownLastWritten(const char* text, char* out, size_t cap) {
  if (cap == 0) return;
  CopyTextN(out, cap, text ? text : "");
  size_t n = strlen(out);
  if (n > kShownDateLimit && out[n - 3] == ':' && IsDigit(out[n - 2]) && IsDigit(out[n - 1]))
    out[n - 3] = 0;
}

RenameInsertion FindRenameInsertion(const char* text, size_t length) {
  RenameInsertion result{length, false, true};
  bool inRename = false;
  for (size_t at = 0; at < length; at = NextLine(text, length, at)) {
    char name[16];
    if (!SectionHeaderAt(text, length, at, name, sizeof name)) continue;
    if (inRename) {
      // The next section ends the [rename] one: the line goes before it.
      result.offset = at;
      result.header = false;
      return result;
    }
    inRename = EqualsNoCase(name, "rename");
  }
  result.header = !inRename;
  result.breakFirst = length > 0 && text[length - 1] != '\n';
  return result;
}

}  // namespace tov

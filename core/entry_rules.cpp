#include "core/entry_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

constexpr size_t kExtensionLength = 4;  // the dot and three characters

bool Fits(const char* text, size_t limit) {
  return text == nullptr || strnlen(text, limit + 1) <= limit;
}

}  // namespace

bool EntryFieldsFit(const char* title, const char* path, const char* source, const char* extra) {
  return Fits(title, kEntryTitleLimit) && Fits(path, kEntryPathLimit) &&
         Fits(source, kEntrySourceLimit) && Fits(extra, kEntryExtraLimit);
}

void TitleFromPath(const char* path, char* out, size_t cap) {
  if (cap == 0) return;
  out[0] = 0;
  if (path == nullptr) return;
  const char* slash = strrchr(path, '\\');
  const char* name = slash ? slash + 1 : path;
  size_t len = strlen(name);
  if (len > kExtensionLength) len -= kExtensionLength;
  size_t take = len < cap - 1 ? len : cap - 1;
  memcpy(out, name, take);
  out[take] = 0;
}

}  // namespace tov

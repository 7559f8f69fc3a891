#include "core/program_cache.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "core/entries.h"
#include "core/files.h"
#include "core/text.h"

namespace tov {

namespace {

// Open addressing over twice the entry limit keeps the probes short while
// every program of a full list is held.
constexpr int kCacheSlots = 2 * kMaxEntries;
constexpr int kCacheLimit = kMaxEntries + kMaxEntries / 2;

struct CachedProgram {
  char path[kPathCapacity];
  VersionStrings strings;
};

CachedProgram* g_slots[kCacheSlots];
int g_count;

// The slot holding path, or the empty slot where it would go.
int SlotOf(const char* path) {
  int slot = int(HashNoCase(path) % unsigned(kCacheSlots));
  while (g_slots[slot] && !EqualsNoCase(g_slots[slot]->path, path)) slot = (slot + 1) % kCacheSlots;
  return slot;
}

}  // namespace

void ClearProgramCache() {
  for (CachedProgram*& p : g_slots) {
    free(p);
    p = nullptr;
  }
  g_count = 0;
}

void StoreVersionStrings(const char* program, const VersionStrings& strings) {
  if (!program || !program[0] || strlen(program) >= kPathCapacity) return;
  int slot = SlotOf(program);
  if (!g_slots[slot]) {
    if (g_count >= kCacheLimit) return;
    g_slots[slot] = static_cast<CachedProgram*>(calloc(1, sizeof(CachedProgram)));
    if (!g_slots[slot]) return;
    CopyText(g_slots[slot]->path, program);
    ++g_count;
  }
  g_slots[slot]->strings = strings;
}

bool CachedVersionStrings(const char* program, VersionStrings* out) {
  if (!program || !program[0]) return false;
  const CachedProgram* p = g_slots[SlotOf(program)];
  if (!p) return false;
  *out = p->strings;
  return true;
}

bool ProgramVersionStrings(const char* program, VersionStrings* out) {
  if (CachedVersionStrings(program, out)) return out->productName[0] != 0;
  bool named = ReadVersionStrings(program, out);
  StoreVersionStrings(program, *out);
  return named;
}

}  // namespace tov

// What the startup family knows about an entry of the entry list: whether
// it is in the disabled index, and the text naming its location.
#pragma once
#include <cstddef>

#include "core/entries.h"

namespace tov {

constexpr size_t kDisabledIndexCapacity = 32;  // room for a disabled-index value

// The code the disabled index (HKLM "Software\Brenvik\Tovrel\Disabled")
// keeps for a title; 0 when absent or not a number.
int DisabledIndexCodeOf(const char* title);
// The index's text for a title cut to cap as GetRegString cuts; its length.
size_t DisabledIndexText(const char* title, char* out, size_t cap);

// While held (holds nest), the disabled index is read once into a table and
// the lookups above answer from it: a list build or fill asks once per
// entry. A change made to the index while held is followed by a re-read.
void HoldDisabledIndex();
void ReleaseDisabledIndex();
void RereadDisabledIndex();
struct DisabledIndexHeld {
  DisabledIndexHeld() { HoldDisabledIndex(); }
  ~DisabledIndexHeld() { ReleaseDisabledIndex(); }
  DisabledIndexHeld(const DisabledIndexHeld&) = delete;
  DisabledIndexHeld& operator=(const DisabledIndexHeld&) = delete;
};
// The location code when this entry is the one the disabled store holds for
// its title, else 0. The index names one entry per title, so another entry
// of the same title (another Run key, a Startup-folder file) is not
// disabled by it: the index code must be the entry's own code, and the
// stored command its command (for the Startup folder: its file lies in the
// program's "Disabled" folder).
int DisabledCodeOf(const char* title, const char* path, const char* source, int code);
// DisabledCodeOf for the entry at index; 0 when the index is out of range.
int IsEntryDisabled(int index);

// The text naming the entry's location to the user (at most 511 characters),
// with " *    Disabled * " before it when the entry is disabled. Returns its
// length; 0 and empty text for codes without a location text.
size_t LocationText(int index, char* out, size_t cap);
template <size_t N> size_t LocationText(int index, char (&out)[N]) {
  return LocationText(index, out, N);
}

}  // namespace tov

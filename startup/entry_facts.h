// What the startup family knows about an entry of the entry list: whether
// it is in the disabled index, and the text naming its location.
#pragma once
#include <cstddef>

#include "core/entries.h"

namespace tov {

constexpr size_t kDisabledIndexCapacity = 32;  // room for a disabled-index value

// The former location code kept in the disabled index
// (HKLM "Software\Brenvik\Tovrel\Disabled", value named by the entry's
// title); 0 when absent, not a number or the index is out of range. Every
// entry of that title reads as disabled.
int IsEntryDisabled(int index);

// The text naming the entry's location to the user (at most 511 characters),
// with " *    Disabled * " before it when the entry is disabled. Returns its
// length; 0 and empty text for codes without a location text.
size_t LocationText(int index, char* out, size_t cap);
template <size_t N> size_t LocationText(int index, char (&out)[N]) {
  return LocationText(index, out, N);
}

}  // namespace tov

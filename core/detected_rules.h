// Where the first-detection store keeps the date each item of every page
// was first seen, and which kind of the store an entry code reads.
// Portable: no Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// A first-detection date is read with this capacity (23 characters).
constexpr size_t kFirstDetectedCapacity = 24;

// First-detection store under HKEY_CURRENT_USER: the default value holds
// when the store was made; one sub-key per kind.
extern const char kDetectedKey[];  // "Software\Brenvik\Detected"
constexpr size_t kDetectedKeyCapacity = 64;
constexpr int kDetectedKindCount = 7;
// The kinds in the order the store is created and seeded: "Startup",
// "IEHelper", "Services", "Tasks", "ActiveTasks", "FileTypes", "Hidden".
const char* DetectedKindAt(int row);
// The kind whose sub-key an entry code reads: below 300 "Startup", 370
// "Hidden", 400 "FileTypes", 700 and 701 "Services", 800 "Tasks", 900-902
// "IEHelper", every other code "ActiveTasks".
const char* DetectedKindOf(int code);
// "Software\Brenvik\Detected\<kind>"; false and empty text when cut.
bool DetectedKeyOf(const char* kind, char* out, size_t cap);
template <size_t N> bool DetectedKeyOf(const char* kind, char (&out)[N]) {
  return DetectedKeyOf(kind, out, N);
}

}  // namespace tov

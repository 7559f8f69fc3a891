// Shared pieces of the fuzz targets: the input as text and a check that
// stops the run with a message when a property does not hold.
#pragma once
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(cond)                                                           \
  do {                                                                             \
    if (!(cond)) {                                                                 \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                \
    }                                                                              \
  } while (0)

namespace fuzz {

// The input as a terminated text (cut at its first zero byte).
inline std::string Text(const unsigned char* data, size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  return s.substr(0, s.find('\0'));
}

// True when out is terminated within cap.
inline bool Terminated(const char* out, size_t cap) { return memchr(out, 0, cap) != nullptr; }

// Splits the input at zero bytes into at most n parts (missing parts empty).
inline void Parts(const unsigned char* data, size_t size, std::string* parts, int n) {
  int part = 0;
  for (int i = 0; i < n; ++i) parts[i].clear();
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      if (++part == n) return;
      continue;
    }
    parts[part] += char(data[i]);
  }
}

}  // namespace fuzz

// Text rules of the startup changes that need nothing from the system: the
// keys that keep the exact Run values the program took out of their Run
// keys, whether such a kept value is the one of a command, the AppInit_Dlls
// list without one library, and a message with one text put into it.
// No Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// HKEY_LOCAL_MACHINE key under which the exact Run values of disabled and
// removed Run entries are kept: "<key>\HKLM\<Run key>" and
// "<key>\HKCU\<Run key>", one value per entry named by its title, with the
// data bytes and the registry type the value had in its Run key.
extern const char kOriginalRunValuesKey[];   // "Software\Brenvik\Tovrel\OriginalRun"
constexpr size_t kOriginalKeyCapacity = 128;
// Largest Run value kept byte for byte; a larger one is not taken out of
// its Run key by Disable.
constexpr size_t kOriginalValueLimit = 8192;

// The key keeping the exact Run values of a Run-key code (1-5 and 11-15);
// false and empty text for any other code.
bool OriginalValuesKeyOf(int code, char* out, size_t cap);
template <size_t N> bool OriginalValuesKeyOf(int code, char (&out)[N]) {
  return OriginalValuesKeyOf(code, out, N);
}

// True when a kept Run value (its text) is the one of command as the
// enumeration lists it: the value with its quotes removed, with or without
// its RunDLL32 head, equals command ignoring case.
bool OriginalMatchesCommand(const char* original, const char* command);
// The same value as the enumeration's entry path would show it, before the
// long-path conversion: RunDLL32 head and quotes removed. False when cut.
bool OriginalAsEntryPath(const char* original, char* out, size_t cap);

// Decides whether a library of the AppInit_Dlls list is the one removed.
using DllMatch = bool (*)(const char* token, void* context);
// The list (separated by "," or " ") without the libraries match accepts and
// without empty tokens, joined with "," and no trailing comma. False when out
// was cut (out then must not be written anywhere).
bool RemoveDllFromList(const char* list, DllMatch match, void* context, char* out, size_t cap);


}  // namespace tov

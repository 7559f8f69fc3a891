// Text rules of the startup enumeration that need nothing from the system:
// the RunDLL32 head of a command, the program/parameters split of a command
// line, the Winlogon Userinit and Shell values, the AppInit_Dlls list and
// which Run-key values are listed. No Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// Run-key values are read with buffers of this many bytes (terminator
// included); a longer name or data is skipped.
constexpr size_t kRunNameBytes = 255;
constexpr size_t kRunDataBytes = 255;
// Shortest listed Run value: a name of two characters, data of five.
constexpr size_t kRunShortestName = 2;
constexpr size_t kRunShortestData = 5;

// The command without its RunDLL32 head: when command contains
// "RUNDLL32.EXE" (any case), out receives what follows it and its separator
// (a quote closing the program and the blanks after it are passed over too)
// and the result is 1. Otherwise out receives the command and the result is
// 0. out is cut to cap.
int StripRunDll(const char* command, char* out, size_t cap);
template <size_t N> int StripRunDll(const char* command, char (&out)[N]) {
  return StripRunDll(command, out, N);
}

// The scan behind SplitCommand. program receives the program part of the
// command in upper case: "%SystemRoot%" or a leading "\SystemRoot" becomes
// windowsFolder, the text ends after the first "." whose second following
// letter is X, L or P (".EXE", ".DLL", ".CPL"), and it starts at the drive
// letter before the last ":" (else after leading blanks and an opening
// quote; a quoted program ends at its closing quote). parameters receives
// the rest of the command from the first character not consumed (its
// leading blank included; a closing quote counts as consumed), empty when
// the scan consumed the whole command. Returns the number of characters of
// command consumed. Both outputs are cut to their capacities.
size_t SplitCommandText(const char* command, const char* windowsFolder, char* program,
                        size_t programCap, char* parameters, size_t parametersCap);

// The program of a Winlogon "UserInit" value: none (false) without a comma;
// the value without its comma when the comma ends it; otherwise the text
// after the first comma without leading blanks.
bool UserinitProgram(const char* value, char* out, size_t cap);
// The program of a Winlogon "Shell" value: none (false) when empty; the
// whole value without a blank; the value without its last character when
// that is the first blank; otherwise the text after the first blank without
// leading blanks.
bool ShellProgram(const char* value, char* out, size_t cap);

// The AppInit_Dlls list: every "," or " " ends a token. Copies the next
// non-empty token at or after *pos into out and moves *pos past it; false
// when no token is left. Empty tokens (two separators in a row, a separator
// at either end) are passed over: they name no library.
bool NextAppInitDll(const char* list, size_t* pos, char* out, size_t cap);

// The name and data of the last Run value accepted by the enumeration; the
// next value with both equal (ignoring case) is a repeat and is skipped.
struct RunValuePair {
  char name[kRunNameBytes + 1];
  char data[kRunDataBytes + 1];
};
void ForgetRunValue(RunValuePair* pair);
void RememberRunValue(RunValuePair* pair, const char* name, const char* data);
bool IsRepeatedRunValue(const RunValuePair& pair, const char* name, const char* data);
// True when a Run value is listed: name longer than 1 character, data longer
// than 4, and the name's first byte below 0x80.
bool IsListedRunValue(const char* name, const char* data);

}  // namespace tov

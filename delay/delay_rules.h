// Rules of the delayed-start store that need nothing from the system: the
// store's key names, which hive a location code is delayed into, the command
// an entry is put back with, how a program is launched, the delay as the
// page shows it and as the options dialog's two lists choose it.
// No Windows headers.
#pragma once
#include <cstddef>

namespace tov {

// Keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, one value per
// delayed program, named by its program path.
extern const char kDelayKey[];            // "Software\Brenvik\Tovrel\Delay"
extern const char kDelayTitleKey[];       // "...\Delay\Title"
extern const char kDelayTimeKey[];        // "...\Delay\Time"
extern const char kDelayParametersKey[];  // "...\Delay\Parameters"
extern const char kDelayShortcutsKey[];   // "...\Delay\Shortcuts"
extern const char kDelayAppletKey[];      // "...\Delay\Applet"
// The six keys in the order their values are deleted: Delay first, so a
// program whose other values could not all be deleted is no longer listed.
constexpr int kDelayKeyCount = 6;
extern const char* const kDelayKeys[kDelayKeyCount];

// The applet written for an entry that ran through RunDLL32.
extern const char kDelayApplet[];  // "RunDLL32.exe"
// Seconds written when a program is moved in or added.
extern const char kDefaultDelayText[];  // "30"

// Store values are read with 255 characters.
constexpr size_t kDelayValueCapacity = 256;
// The options dialog's title field takes 127 characters, parameters 255.
constexpr size_t kDelayTitleLimit = 127;
constexpr size_t kDelayParametersLimit = 255;

// The hive indexes of the entry list's flag for delayed entries.
enum DelayHive { kDelayHiveMachine = 0, kDelayHiveUser = 1 };
// Codes above 9 (per-user Run keys, WIN.INI, Startup folders) are delayed for
// the current user; the machine's Run keys for everyone.
DelayHive DelayHiveOfCode(int code);

// The command a delayed entry is put back into its location with: the
// program, then the parameters (a blank between unless they already begin
// with a blank or a comma, as RunDLL32 parameters do), with "applet " before
// it all when an applet is stored. False (out empty) when it does not fit.
bool BuildDelayedCommand(const char* program, const char* parameters, const char* applet, char* out,
                         size_t cap);
template <size_t N>
bool BuildDelayedCommand(const char* program, const char* parameters, const char* applet,
                         char (&out)[N]) {
  return BuildDelayedCommand(program, parameters, applet, out, N);
}

// What a launch runs: with an applet, the applet with the program and its
// parameters as arguments; otherwise the program with its parameters (their
// leading blanks dropped). False when a part does not fit.
bool LaunchParts(const char* program, const char* parameters, const char* applet, char* file,
                 size_t fileCap, char* arguments, size_t argumentsCap);

// The delay as the list shows it: "30 Sec." below a minute, else
// "1 Min. : 35 Sec."; minuteWord and secondWord are the translated units.
bool DelayText(long seconds, const char* minuteWord, const char* secondWord, char* out, size_t cap);

// The options dialog's lists: minutes "0" to "60", seconds "0" to "50" by tens.
constexpr int kDelayMinuteChoices = 61;
constexpr int kDelaySecondChoices = 6;
// The list choices showing a stored delay; -1 for a list that cannot show it
// (negative, or more than 60 minutes). Seconds between the tens show the ten
// below.
void DelayChoices(long seconds, int* minuteIndex, int* secondIndex);
// The delay of two list choices; -1 when either has none.
long DelayOfChoices(int minuteIndex, int secondIndex);

}  // namespace tov

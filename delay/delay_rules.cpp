#include "delay/delay_rules.h"

#include <cstdio>
#include <cstring>

#include "core/text.h"

namespace tov {

const char kDelayKey[] = "Software\\Brenvik\\Tovrel\\Delay";
const char kDelayTitleKey[] = "Software\\Brenvik\\Tovrel\\Delay\\Title";
const char kDelayTimeKey[] = "Software\\Brenvik\\Tovrel\\Delay\\Time";
const char kDelayParametersKey[] = "Software\\Brenvik\\Tovrel\\Delay\\Parameters";
const char kDelayShortcutsKey[] = "Software\\Brenvik\\Tovrel\\Delay\\Shortcuts";
const char kDelayAppletKey[] = "Software\\Brenvik\\Tovrel\\Delay\\Applet";
const char* const kDelayKeys[kDelayKeyCount] = {kDelayKey,           kDelayTimeKey,
                                                kDelayParametersKey, kDelayShortcutsKey,
                                                kDelayAppletKey,     kDelayTitleKey};
const char kDelayApplet[] = "RunDLL32.exe";
const char kDefaultDelayText[] = "30";

namespace {

constexpr long kSecondsPerMinute = 60;
constexpr long kSecondStep = 10;

bool Fail(char* out, size_t cap) {
  if (cap > 0) out[0] = 0;
  return false;
}

}  // namespace

DelayHive DelayHiveOfCode(int code) { return code > 9 ? kDelayHiveUser : kDelayHiveMachine; }

bool BuildDelayedCommand(const char* program, const char* parameters, const char* applet, char* out,
                         size_t cap) {
  if (cap == 0 || program == nullptr || program[0] == 0) return Fail(out, cap);
  out[0] = 0;
  bool whole = true;
  if (applet && applet[0]) whole = AppendTextN(out, cap, applet) && AppendTextN(out, cap, " ");
  whole = whole && AppendTextN(out, cap, program);
  if (parameters && parameters[0]) {
    if (parameters[0] != ' ' && parameters[0] != ',') whole = whole && AppendTextN(out, cap, " ");
    whole = whole && AppendTextN(out, cap, parameters);
  }
  return whole ? true : Fail(out, cap);
}

bool LaunchParts(const char* program, const char* parameters, const char* applet, char* file,
                 size_t fileCap, char* arguments, size_t argumentsCap) {
  if (fileCap == 0 || argumentsCap == 0 || program == nullptr || program[0] == 0) {
    Fail(file, fileCap);
    return Fail(arguments, argumentsCap);
  }
  bool whole;
  if (applet && applet[0]) {
    whole = CopyTextN(file, fileCap, applet) &&
            BuildDelayedCommand(program, parameters, nullptr, arguments, argumentsCap);
  } else {
    const char* p = parameters ? parameters : "";
    while (*p == ' ') ++p;
    whole = CopyTextN(file, fileCap, program) && CopyTextN(arguments, argumentsCap, p);
  }
  if (whole) return true;
  Fail(file, fileCap);
  return Fail(arguments, argumentsCap);
}

bool DelayText(long seconds, const char* minuteWord, const char* secondWord, char* out,
               size_t cap) {
  if (cap == 0) return false;
  int n;
  if (seconds < kSecondsPerMinute)
    n = snprintf(out, cap, "%ld %s", seconds, secondWord ? secondWord : "");
  else
    n = snprintf(out, cap, "%ld %s : %ld %s", seconds / kSecondsPerMinute,
                 minuteWord ? minuteWord : "", seconds % kSecondsPerMinute,
                 secondWord ? secondWord : "");
  return n >= 0 && size_t(n) < cap;
}

void DelayChoices(long seconds, int* minuteIndex, int* secondIndex) {
  *minuteIndex = -1;
  *secondIndex = -1;
  if (seconds < 0) return;
  if (seconds / kSecondsPerMinute < kDelayMinuteChoices)
    *minuteIndex = int(seconds / kSecondsPerMinute);
  *secondIndex = int((seconds % kSecondsPerMinute) / kSecondStep);
}

long DelayOfChoices(int minuteIndex, int secondIndex) {
  if (minuteIndex < 0 || minuteIndex >= kDelayMinuteChoices || secondIndex < 0 ||
      secondIndex >= kDelaySecondChoices)
    return -1;
  return minuteIndex * kSecondsPerMinute + secondIndex * kSecondStep;
}

}  // namespace tov

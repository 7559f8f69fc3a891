#include "options/autostart.h"

#include <windows.h>

#include "core/files.h"
#include "core/registry.h"
#include "core/text.h"
#include "resources/string_ids.h"
#include "core/messages.h"
#include "startup/baseline_rules.h"
#include "startup/catalogue.h"
#include "startup/changes.h"

namespace tov {

const char kMachineRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kMonitorFileName[] = "tovrel.exe";

namespace {

bool g_autoStart = false;

// The Run value names the monitor by text 2 ("Tovrel").
bool MonitorRunName(char (&out)[kTitleCapacity]) { return LoadText(kTextTovrel, out) > 0; }

// "<program folder>\tovrel.exe"; false when it does not fit.
bool MonitorPath(char (&out)[kPathCapacity]) {
  return ProgramFolder(out) > 0 && AppendText(out, "\\") && AppendText(out, kMonitorFileName);
}

bool TurnOn(const char* name, const char* path) {
  char probe[kPathCapacity];
  CopyText(probe, path);
  if (!FileExists(probe)) return false;
  bool written = SetRegString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, path);
  SetRegString(HKEY_CURRENT_USER, kKnownRunKey, path, "1");
  return written;
}

bool TurnOff(const char* name, const char* path) {
  return DeleteRunProgram(name, path, "", kCodeMachineRun) == 1;
}

}  // namespace

bool IsAutoStartOn() {
  char name[kTitleCapacity];
  char value[kRegTextCapacity];
  return MonitorRunName(name) && GetRegString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, value) > 0;
}

bool AutoStartFlag() { return g_autoStart; }
void SetAutoStartFlag(bool on) { g_autoStart = on; }

bool SetAutoStart(bool on) {
  char name[kTitleCapacity];
  char path[kPathCapacity];
  if (!MonitorRunName(name) || !MonitorPath(path)) return false;
  bool changed = on ? TurnOn(name, path) : TurnOff(name, path);
  // The state is what the Run key holds now: a value another program took
  // away meanwhile must not leave the switch stuck on.
  g_autoStart = IsAutoStartOn();
  return changed;
}

void ToggleAutoStart() { SetAutoStart(!g_autoStart); }

}  // namespace tov

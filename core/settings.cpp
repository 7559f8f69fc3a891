#include "core/settings.h"

#include <windows.h>

#include <cstdio>

#include "core/registry.h"
#include "core/text.h"

namespace tov {

const char kOptionsKey[] = "Software\\Brenvik\\Tovrel\\Options";
const char kProductKey[] = "Software\\Brenvik\\Tovrel";

namespace {
int g_current[kOptionCount];
int g_atLoad[kOptionCount];
bool g_initialised = false;

void EnsureDefaults() {
  if (g_initialised) return;
  for (int i = 0; i < kOptionCount; ++i) g_current[i] = g_atLoad[i] = OptionInfoOf(OptionId(i)).defaultValue;
  g_initialised = true;
}
}  // namespace

int GetOption(const char* name, int defaultValue) {
  char text[128];
  if (GetRegString(HKEY_CURRENT_USER, kOptionsKey, name, text) == 0) return defaultValue;
  return (int)ParseDecimal(text);
}

void SetOption(const char* name, int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, name, text);
  SetRegString(HKEY_CURRENT_USER, kOptionsKey, "Update", "1");
}

int Setting(OptionId id) {
  EnsureDefaults();
  return g_current[id];
}

void SetSetting(OptionId id, int value) {
  EnsureDefaults();
  g_current[id] = value;
}

int SettingAtLoad(OptionId id) {
  EnsureDefaults();
  return g_atLoad[id];
}

void LoadOptions() {
  for (int i = 0; i < kOptionCount; ++i) {
    const OptionInfo& o = OptionInfoOf(OptionId(i));
    g_current[i] = g_atLoad[i] = GetOption(o.name, o.defaultValue);
  }
  g_initialised = true;
}

void SaveOptions() {
  EnsureDefaults();
  for (int i = 0; i < kOptionCount; ++i) {
    const OptionInfo& o = OptionInfoOf(OptionId(i));
    if (o.savedAtExit) SetOption(o.name, g_current[i]);
  }
}

}  // namespace tov

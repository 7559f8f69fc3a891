// What every page offers for its selected entry: the entry menu, the
// information window, the note, the program folder and properties, the
// online information; and the help pages and the program's event sound.
#include "ui/page_framework.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>

#include "core/entries.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/info_window.h"

namespace tov {

namespace {

constexpr size_t kAddressCapacity = 520;
constexpr size_t kSoundPathCapacity = 260;
constexpr char kSoundSchemeKey[] = "AppEvents\\Schemes\\Apps\\Tovrel\\";

// The entry's program file, or false.
bool EntryProgram(int entry, char (&program)[kPathCapacity]) {
  char path[kEntryPathSlot];
  EntryPath(entry, path, sizeof path);
  return ProgramOfCommand(path, program) && program[0];
}

}  // namespace

Menu BuildEntryMenu(const EntryMenu& rows, int entryIndex, bool (*entryDisabled)(int entry)) {
  char path[kEntryPathSlot];
  EntryPath(entryIndex, path, sizeof path);
  MenuEntryFacts facts{EntryCode(entryIndex), entryDisabled && entryDisabled(entryIndex),
                       path[0] != 0 && NoteExists(path)};
  MenuItem items[kMaxMenuItems];
  int count = EntryMenuItems(rows, facts, items, kMaxMenuItems);
  Menu menu;
  if (count > 0) menu.reset(CreatePopupMenu());
  if (!menu) return menu;
  for (int i = 0; i < count; ++i) {
    if (items[i].textId == 0) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    char text[kTitleCapacity];
    LoadText(items[i].textId, text);
    AppendMenuA(menu.get(), MF_STRING, UINT_PTR(items[i].command), text);
  }
  return menu;
}

bool ShowEntryMenu(HWND page, const EntryMenu& rows, int listId, bool (*entryDisabled)(int entry)) {
  int entry = SelectedEntry(GetDlgItem(page, listId));
  if (entry < 0) return false;
  Menu menu = BuildEntryMenu(rows, entry, entryDisabled);
  if (!menu) return false;
  POINT pt;
  GetCursorPos(&pt);
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, page, nullptr);
  return true;
}

void OnInfo(const PageDefinition& def, HWND page) {
  if (NothingSelected(page)) return;
  HWND list = PageList(page);
  int row = SelectedRow(list);
  InfoWindow(list, RowEntry(list, row), def.locationText);
  SelectRow(list, row);
}

void OnViewNote(HWND page) {
  if (NothingSelected(page)) return;
  char path[kEntryPathSlot];
  EntryPath(SelectedEntry(PageList(page)), path, sizeof path);
  char note[kPathCapacity];
  if (!NotePath(path, note) || FileExists(note) == 0) return;
  ShellExecuteA(page, "open", note, nullptr, nullptr, SW_SHOWDEFAULT);
}

void OnExploreFolder(HWND page) {
  if (NothingSelected(page)) return;
  char program[kPathCapacity];
  if (!EntryProgram(SelectedEntry(PageList(page)), program)) return;
  char folder[kPathCapacity];
  if (FolderOfFile(program, folder) == 0) return;
  ShellExecuteA(page, "explore", folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnProgramProperties(HWND page) {
  if (NothingSelected(page)) return;
  char program[kPathCapacity];
  if (!EntryProgram(SelectedEntry(PageList(page)), program) || FileExists(program) == 0) return;
  InvokeShellVerb(page, program, nullptr, "properties");
}

void OnOnlineInfo(HWND page) {
  if (NothingSelected(page)) return;
  int entry = SelectedEntry(PageList(page));
  char program[kPathCapacity] = "";
  EntryProgram(entry, program);
  char title[kEntryTitleSlot];
  EntryTitle(entry, title, sizeof title);
  OpenOnlineInformation(EntryCode(entry), program, title);
}

void ShowHelp(const char* helpFile) {
  char language[16];
  LoadText(kTextLanguageCode, language);
  char file[kPathCapacity];
  if (HelpFileName(helpFile, language, file, sizeof file) == 0) return;
  char local[kPathCapacity];
  if (ProgramFolder(local) > 0 && AppendBackslash(local) && AppendText(local, file) &&
      FileExists(local) != 0) {
    ShellExecuteA(nullptr, "open", local, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  char address[kAddressCapacity];
  SiteRoot(address, sizeof address);
  if (!AppendText(address, file)) return;
  if (!FindAolWindow()) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  StartAolWith(address);
}

void PlayEventSound(const char* event) {
  if (Setting(kOptSound) <= 0) return;
  char key[kPathCapacity];
  if (!CopyText(key, kSoundSchemeKey) || !AppendText(key, event) || !AppendText(key, "\\.current"))
    return;
  char file[kSoundPathCapacity];
  GetRegString(HKEY_CURRENT_USER, key, "", file);
  if (file[0]) {
    PlaySoundA(file, nullptr, SND_FILENAME | SND_SYNC | SND_NOWAIT);
    return;
  }
  PlaySoundA(MAKEINTRESOURCEA(IDW_EVENT_SOUND), ProgramInstance(), SND_RESOURCE | SND_SYNC | SND_NOWAIT);
}

}  // namespace tov

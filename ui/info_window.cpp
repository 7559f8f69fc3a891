#include "ui/info_window.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "core/files.h"
#include "core/history.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/paths.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/text.h"
#include "core/program_cache.h"
#include "core/version.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "core/detected.h"
#include "core/entries.h"
#include "ui/look.h"
#include "ui/window_position.h"

namespace tov {

namespace {

constexpr char kIeAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
constexpr char kStatsPage[] = "stats.html";
constexpr int kStartTypeCount = 3;        // Automatic, Manual, Disabled
constexpr int kFirstStartValue = 2;       // "Start" value of Automatic
constexpr DWORD kStopSettleMs = 100;
constexpr INT_PTR kShellSuccess = 32;
constexpr size_t kNotesTextCapacity = 2 * kMessageCapacity;
constexpr size_t kBuildCapacity = 512;

// The window shows one entry at a time; it is modal, so one window at most.
struct InfoState {
  HWND window;
  HWND list;
  int index;
  char program[kPathCapacity];   // ProgramOfCommand of the entry's path
  char notePath[kPathCapacity];  // its note file ("" when it has none)
  bool hasNote;                  // the note file exists: the box is the note
  bool filling;                  // texts are being set by the window itself
  int startType;                 // remembered start-type row of a service, -1 none
  Icon icon;                     // icon shown, owned by the window
  EntryLocationProc location;    // the page's location line; null: none
};
InfoState g_info;
bool g_expanded = true;
char g_noteText[kNoteCapacity];

// Controls shown only in the expanded form.
const int kExpandedOnly[] = {
    IDC_INFO_CREATED_LABEL, IDC_INFO_CREATED,        IDC_INFO_SAVED_LABEL, IDC_INFO_SAVED,
    IDC_INFO_SIZE_LABEL,    IDC_INFO_SIZE,           IDC_INFO_DETECTED_LABEL, IDC_INFO_DETECTED,
    IDC_INFO_NOTES,         IDC_INFO_NOTE_BUTTON,
};

// The row of buttons along the bottom, left to right (kInfoButtonX).
const int kButtonRow[kInfoButtonCount] = {IDC_INFO_ONLINE,   IDC_INFO_FREE, IDC_INFO_NOTE_BUTTON,
                                          IDC_INFO_PREVIOUS, IDC_INFO_NEXT, IDOK};

// Fields emptied before an entry is shown.
const int kValueFields[] = {
    IDC_INFO_DESCRIPTION, IDC_INFO_PRODUCT, IDC_INFO_VERSION, IDC_INFO_COMPANY,
    IDC_INFO_COPYRIGHT,   IDC_INFO_PATH,    IDC_INFO_LOCATION, IDC_INFO_STATUS,
    IDC_INFO_CREATED,     IDC_INFO_SAVED,   IDC_INFO_SIZE,     IDC_INFO_DETECTED,
};

struct FontBinding {
  int control;
  ProgramFontId font;
};
const FontBinding kFontBindings[] = {
    {IDC_INFO_DESCRIPTION, kFontInfoTitle},     {IDC_INFO_PRODUCT, kFontInfoText},
    {IDC_INFO_VERSION, kFontInfoText},          {IDC_INFO_COMPANY, kFontInfoText},
    {IDC_INFO_COPYRIGHT, kFontInfoText},        {IDC_INFO_PATH, kFontInfoText},
    {IDC_INFO_PRODUCT_LABEL, kFontBoldSmall},   {IDC_INFO_VERSION_LABEL, kFontBoldSmall},
    {IDC_INFO_COMPANY_LABEL, kFontBoldSmall},   {IDC_INFO_COPYRIGHT_LABEL, kFontBoldSmall},
    {IDC_INFO_PATH_LABEL, kFontBoldSmall},      {IDC_INFO_CREATED_LABEL, kFontBoldSmall},
    {IDC_INFO_SAVED_LABEL, kFontBoldSmall},     {IDC_INFO_SIZE_LABEL, kFontBoldSmall},
    {IDC_INFO_DETECTED_LABEL, kFontBoldSmall},  {IDC_INFO_STATUS_LABEL, kFontBoldSmall},
    {IDC_INFO_START_LABEL, kFontBoldSmall},     {IDC_INFO_LOCATION, kFontInfoSmall},
    {IDC_INFO_STATUS, kFontBoldMedium},         {IDC_INFO_CREATED, kFontInfoText},
    {IDC_INFO_SAVED, kFontInfoText},            {IDC_INFO_SIZE, kFontInfoText},
    {IDC_INFO_DETECTED, kFontInfoText},         {IDC_INFO_NOTES, kFontNote},
};

// Captions set from the string table when the window opens.
struct CaptionBinding {
  int control;
  int textId;
};
const CaptionBinding kCaptions[] = {
    {IDC_INFO_ONLINE, kTextZarvoInfo},        {IDC_INFO_FREE, kTextFreeInfo},
    {IDOK, kTextClose},                    {IDC_INFO_RUN, kTextRun},
    {IDC_INFO_APPLY, kTextApply},          {IDC_INFO_START_LABEL, kTextStartupType},
    {IDC_INFO_STATUS_LABEL, kTextStatusId668},
};

void Show(HWND dialog, int control, bool visible) {
  ShowWindow(GetDlgItem(dialog, control), visible ? SW_SHOW : SW_HIDE);
}

void Enable(HWND dialog, int control, bool enabled) {
  EnableWindow(GetDlgItem(dialog, control), enabled ? TRUE : FALSE);
}

int ScreenDpi(HWND window) {
  HDC dc = GetDC(window);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(window, dc);
  return dpi;
}

// Height, button row and expanded-only controls for the current flag.
void ApplyForm(HWND dialog) {
  int dpi = ScreenDpi(dialog);
  RECT frame;
  GetWindowRect(dialog, &frame);
  int height = ScaleForDpi(g_expanded ? kInfoExpandedHeight : kInfoShortHeight, dpi);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  int y = ScaleForDpi(g_expanded ? kInfoButtonRowExpanded : kInfoButtonRowShort, dpi);
  for (int i = 0; i < kInfoButtonCount; ++i) {
    RECT units = {kInfoButtonX[i], 0, 0, 0};
    MapDialogRect(dialog, &units);
    SetWindowPos(GetDlgItem(dialog, kButtonRow[i]), nullptr, units.left, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int control : kExpandedOnly) Show(dialog, control, g_expanded);
  SetControlText(dialog, g_expanded ? kTextShrinkWindow : kTextExpandInfo, IDC_INFO_EXPAND);
  InvalidateRect(dialog, nullptr, TRUE);
}

void SetIcon(HWND dialog, Icon icon) {
  SendDlgItemMessageA(dialog, IDC_INFO_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  g_info.icon = std::move(icon);
}

// The first icon of a file; null when it has none (ExtractIcon gives 1 for
// a file that is no program).
Icon FirstIconOf(const char* file) {
  if (!file || !file[0]) return Icon();
  HICON icon = ExtractIconA(GetModuleHandleA(nullptr), file, 0);
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return Icon();
  return Icon(icon);
}

void ShowIcon(HWND dialog, const Entry& e, const InfoForm& form, const char* file, bool exists) {
  Icon icon;
  if (form.iconFromExtra) icon = FirstIconOf(e.extra);
  if (!icon && exists) icon = FirstIconOf(file);
  SetIcon(dialog, std::move(icon));
}

void ShowLocation(HWND dialog, int index, const InfoForm& form) {
  char line[kLocationTextCapacity + kTitleCapacity] = "";
  if (form.helperKey) {
    LoadText(kTextLocation, line);
    AppendText(line, ": \"HKLM\\");
    AppendText(line, form.helperKey);
    AppendText(line, "\"");
  } else if (!form.service && !form.locationCleared) {
    char location[kLocationTextCapacity] = "";
    if (g_info.location) g_info.location(index, location, sizeof location);
    LoadText(kTextStartupLocation, line);
    AppendText(line, location);
  }
  SetDlgItemTextA(dialog, IDC_INFO_LOCATION, line);
}

void ShowProgramStatus(HWND dialog, const InfoForm& form, bool exists) {
  Show(dialog, IDC_INFO_STATUS_LABEL, form.status);
  Show(dialog, IDC_INFO_STATUS, form.status);
  Show(dialog, IDC_INFO_KILL, false);
  Show(dialog, IDC_INFO_RUN, false);
  if (!form.status) return;
  SetControlText(dialog, kTextKillTask, IDC_INFO_KILL);
  Enable(dialog, IDC_INFO_KILL, true);
  if (exists && IsProgramRunning(g_info.program)) {
    SetControlText(dialog, kTextRunning, IDC_INFO_STATUS);
    Show(dialog, IDC_INFO_KILL, form.processButtons);
  } else if (exists) {
    SetControlText(dialog, kTextReady, IDC_INFO_STATUS);
    Show(dialog, IDC_INFO_RUN, form.processButtons);
  } else {
    SetControlText(dialog, kTextLocalFileNotFound, IDC_INFO_STATUS);
  }
}

const int kServiceControls[] = {IDC_INFO_START_LABEL, IDC_INFO_START_TYPE, IDC_INFO_APPLY,
                                IDC_INFO_STATUS_LABEL, IDC_INFO_STATUS, IDC_INFO_KILL};

void ShowServiceStatus(HWND dialog, const Entry& e, const InfoForm& form) {
  bool shown = form.service && e.source[0] != 0;
  if (!form.service) {
    Show(dialog, IDC_INFO_START_LABEL, false);
    Show(dialog, IDC_INFO_START_TYPE, false);
    Show(dialog, IDC_INFO_APPLY, false);
    return;
  }
  for (int control : kServiceControls) Show(dialog, control, shown);
  Enable(dialog, IDC_INFO_APPLY, false);
  if (!shown) return;
  SetControlText(dialog, kTextStop, IDC_INFO_KILL);
  HWND list = GetDlgItem(dialog, IDC_INFO_START_TYPE);
  LRESULT row = SendMessageA(list, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(e.source));
  g_info.startType = row == CB_ERR ? -1 : int(row);
  SendMessageA(list, CB_SETCURSEL, WPARAM(g_info.startType), 0);
  char state[kMessageCapacity];
  int value = ServiceStateText(e.title, state, sizeof state);
  SetDlgItemTextA(dialog, IDC_INFO_STATUS, value ? state : "");
  Enable(dialog, IDC_INFO_KILL, value != 0);
}

void ShowVersion(HWND dialog, const Entry& e, const VersionStrings& v) {
  SetDlgItemTextA(dialog, IDC_INFO_PRODUCT, v.productName);
  SetDlgItemTextA(dialog, IDC_INFO_VERSION, v.productVersion);
  SetDlgItemTextA(dialog, IDC_INFO_COMPANY, v.companyName);
  SetDlgItemTextA(dialog, IDC_INFO_COPYRIGHT, v.legalCopyright);
  SetDlgItemTextA(dialog, IDC_INFO_DESCRIPTION, v.fileDescription[0] ? v.fileDescription : e.title);
}

void ShowFileTime(HWND dialog, int control, const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME t;
  char text[kDateTimeCapacity] = "";
  if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &t))
    FormatDateTime(t, text);
  SetDlgItemTextA(dialog, control, text);
}

void ShowFileFacts(HWND dialog, const Entry& e, const char* file, bool exists) {
  char detected[kFirstDetectedCapacity];
  GetFirstDetected(g_info.program, e.code, detected);
  SetDlgItemTextA(dialog, IDC_INFO_DETECTED, detected);
  if (!exists) return;
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (GetFileAttributesExA(file, GetFileExInfoStandard, &facts)) {
    ShowFileTime(dialog, IDC_INFO_CREATED, facts.ftCreationTime);
    ShowFileTime(dialog, IDC_INFO_SAVED, facts.ftLastWriteTime);
  }
  Handle handle(CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD high = 0;
  DWORD low = handle ? GetFileSize(handle.get(), &high) : INVALID_FILE_SIZE;
  if (!handle || (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)) {
    SetControlText(dialog, kTextFileInUse, IDC_INFO_SIZE);
    return;
  }
  char size[32];
  GroupThousands((static_cast<long long>(high) << 32) | low, size, sizeof size);
  SetDlgItemTextA(dialog, IDC_INFO_SIZE, size);
}

// The notes text of an entry without a note, by its location code.
void DefaultNotes(const Entry& e, const VersionStrings& v, char* out, size_t cap) {
  char standard[kMessageCapacity];
  LoadText(kTextTheProgramInformationListed, standard);
  CopyTextN(out, cap, DefaultNoteText(e.extra, standard));
  char text[kMessageCapacity];
  if (e.code >= 250 && e.code <= 256) {
    if (ServiceDescriptionOfProgram(g_info.program, text, sizeof text) > 0) {
      CopyTextN(out, cap, text);
    } else if (ContainsText(v.companyName, "Microsoft")) {
      char format[kMessageCapacity];
      LoadText(kTextTheFileSAppears, format);
      FormatOneText(format, e.title, out, cap);
      AppendTextN(out, cap, standard);
    } else {
      CopyTextN(out, cap, standard);
    }
  } else if (e.code == 400) {
    LoadText(kTextFileTypeExtension, out, cap);
    AppendTextN(out, cap, e.extra);
  } else if (e.code == 600) {
    if (ServiceDescriptionOfProgram(g_info.program, text, sizeof text) > 0) CopyTextN(out, cap, text);
  } else if (e.code == 800) {
    GetTaskStatusText(e.title, out, cap);
    if (out[0]) AppendTextN(out, cap, "\r\n");
    GetTaskComment(e.title, text, sizeof text);
    AppendTextN(out, cap, text);
  }
}

void SetNoteButton(HWND dialog, bool hasNote) {
  SetControlText(dialog, hasNote ? kTextSaveNote : kTextCreateNote, IDC_INFO_NOTE_BUTTON);
  HFONT font = ProgramFont(hasNote ? kFontNoteButtonBold : kFontButton);
  if (font) SendDlgItemMessageA(dialog, IDC_INFO_NOTE_BUTTON, WM_SETFONT, WPARAM(font), TRUE);
}

void ShowNotes(HWND dialog, const Entry& e, const VersionStrings& v) {
  HWND box = GetDlgItem(dialog, IDC_INFO_NOTES);
  g_info.hasNote = false;
  NotePath(e.path, g_info.notePath);
  char probe[kPathCapacity];
  CopyText(probe, g_info.notePath);
  if (g_info.notePath[0] && FileExists(probe)) {
    TextBlock note = ReadTextFile(g_info.notePath, kNoteLimit, true);
    SetWindowTextA(box, note ? note.get() : "");
    SendMessageA(box, EM_SETREADONLY, FALSE, 0);
    g_info.hasNote = true;
    SetNoteButton(dialog, true);
    Enable(dialog, IDC_INFO_NOTE_BUTTON, false);
    return;
  }
  char text[kNotesTextCapacity];
  DefaultNotes(e, v, text, sizeof text);
  SetWindowTextA(box, text);
  SendMessageA(box, EM_SETREADONLY, TRUE, 0);
  SetNoteButton(dialog, false);
  Enable(dialog, IDC_INFO_NOTE_BUTTON, g_info.notePath[0] != 0);
}

// Fills the window for the entry g_info.index.
void ShowEntry(HWND dialog) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  g_info.filling = true;
  for (int control : kValueFields) SetDlgItemTextA(dialog, control, "");
  const Entry* e = EntryAt(g_info.index);
  if (!e) {
    g_info.program[0] = g_info.notePath[0] = 0;
    g_info.filling = false;
    SetCursor(previous);
    return;
  }
  ProgramOfCommand(e->path, g_info.program);
  char file[kPathCapacity];
  CopyText(file, g_info.program);
  bool exists = FileExists(file) != 0;
  InfoForm form = InfoFormOf(e->code);

  SetWindowTextA(dialog, e->title);
  SetDlgItemTextA(dialog, IDC_INFO_PATH, g_info.program);
  ShowIcon(dialog, *e, form, file, exists);
  ShowLocation(dialog, g_info.index, form);
  ShowProgramStatus(dialog, form, exists);
  ShowServiceStatus(dialog, *e, form);
  VersionStrings v{};
  if (exists) ProgramVersionStrings(file, &v);
  ShowVersion(dialog, *e, v);
  ShowFileFacts(dialog, *e, file, exists);
  ShowNotes(dialog, *e, v);
  g_info.filling = false;
  SetCursor(previous);
}

BOOL OnInitDialog(HWND dialog) {
  g_info.window = dialog;
  for (const CaptionBinding& c : kCaptions) SetControlText(dialog, c.textId, c.control);
  for (const FontBinding& f : kFontBindings)
    if (HFONT font = ProgramFont(f.font))
      SendDlgItemMessageA(dialog, f.control, WM_SETFONT, WPARAM(font), FALSE);
  HWND types = GetDlgItem(dialog, IDC_INFO_START_TYPE);
  for (int i = 0; i < kStartTypeCount; ++i) {
    char text[kTitleCapacity];
    LoadText(kTextAutomatic + i, text);
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendDlgItemMessageA(dialog, IDC_INFO_NOTES, EM_LIMITTEXT, kNoteLimit, 0);
  // The path box lines up with the static values beside it.
  SendDlgItemMessageA(dialog, IDC_INFO_PATH, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  // Sized first so a window without a saved place is centred at its real
  // size; a saved size is then replaced by the current form's height.
  ApplyForm(dialog);
  RestoreWindowPosition(dialog, "xInfo", "yInfo", "dxInfo", "dyInfo");
  ApplyForm(dialog);
  ShowEntry(dialog);
  return TRUE;
}

void OnClose(HWND dialog) {
  SaveWindowPosition(dialog, "xInfo", "yInfo", "dxInfo", "dyInfo");
  EndDialog(dialog, IDOK);
}

void OnKill(HWND dialog) {
  const Entry* e = EntryAt(g_info.index);
  if (!e) return;
  if (InfoFormOf(e->code).service) {
    if (StopServiceLogged(e->title, e->path, e->code)) Sleep(kStopSettleMs);
  } else {
    StopRunningProgram(g_info.program, e->title, true);
  }
  ShowEntry(dialog);
}

void OnRun(HWND) {
  const Entry* e = EntryAt(g_info.index);
  if (e && e->path[0]) WinExec(e->path, SW_SHOWNORMAL);
}

void OnExpand(HWND dialog) {
  g_expanded = !g_expanded;
  ApplyForm(dialog);
}

void OnApply(HWND dialog) {
  const Entry* e = EntryAt(g_info.index);
  int row = int(SendDlgItemMessageA(dialog, IDC_INFO_START_TYPE, CB_GETCURSEL, 0, 0));
  if (!e || row < 0 || row >= kStartTypeCount) return;
  // A start type that could not be written is not the current one.
  if (!ApplyServiceStartType(e->title, e->path, e->code, unsigned(kFirstStartValue + row))) return;
  g_info.startType = row;
  Enable(dialog, IDC_INFO_APPLY, false);
}

void OnStartTypeChosen(HWND dialog) {
  int row = int(SendDlgItemMessageA(dialog, IDC_INFO_START_TYPE, CB_GETCURSEL, 0, 0));
  Enable(dialog, IDC_INFO_APPLY, row != g_info.startType);
}

void OnOnline(HWND dialog) {
  const Entry* e = EntryAt(g_info.index);
  if (!e) return;
  SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  OpenOnlineInformation(e->code, e->path, e->title);
}

void OnFree(HWND) { OpenFreeInformation(); }

void OnNoteButton(HWND dialog) {
  HWND box = GetDlgItem(dialog, IDC_INFO_NOTES);
  if (g_info.hasNote) {
    GetWindowTextA(box, g_noteText, sizeof g_noteText);
    if (WriteNoteFile(g_info.notePath, g_noteText)) Enable(dialog, IDC_INFO_NOTE_BUTTON, false);
    return;
  }
  const Entry* e = EntryAt(g_info.index);
  if (!e || !g_info.notePath[0]) return;
  NewNoteText(e->title, g_info.program, g_noteText, sizeof g_noteText);
  if (!WriteNoteFile(g_info.notePath, g_noteText)) return;
  g_info.filling = true;
  SetWindowTextA(box, g_noteText);
  g_info.filling = false;
  SendMessageA(box, EM_SETREADONLY, FALSE, 0);
  g_info.hasNote = true;
  SetNoteButton(dialog, true);
  Enable(dialog, IDC_INFO_NOTE_BUTTON, false);
  SetFocus(box);
  int end = GetWindowTextLengthA(box);
  SendMessageA(box, EM_SETSEL, end, end);
}

void OnNext(HWND dialog) {
  g_info.index = NextEntryIndex(g_info.index, EntryCount());
  ShowEntry(dialog);
}

void OnPrevious(HWND dialog) {
  g_info.index = PreviousEntryIndex(g_info.index, EntryCount());
  ShowEntry(dialog);
}

struct CommandBinding {
  int id;
  void (*handler)(HWND);
};
const CommandBinding kCommands[] = {
    {IDOK, OnClose},          {IDCANCEL, OnClose},           {IDC_INFO_KILL, OnKill},
    {IDC_INFO_RUN, OnRun},    {IDC_INFO_EXPAND, OnExpand},   {IDC_INFO_APPLY, OnApply},
    {IDC_INFO_ONLINE, OnOnline}, {IDC_INFO_FREE, OnFree},    {IDC_INFO_NOTE_BUTTON, OnNoteButton},
    {IDC_INFO_NEXT, OnNext},  {IDC_INFO_PREVIOUS, OnPrevious},
};

void OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_INFO_NOTES) {
    if (code == EN_CHANGE && !g_info.filling && g_info.hasNote)
      Enable(dialog, IDC_INFO_NOTE_BUTTON, true);
    return;
  }
  if (id == IDC_INFO_START_TYPE) {
    if (code == CBN_SELCHANGE) OnStartTypeChosen(dialog);
    return;
  }
  if (code != BN_CLICKED) return;
  for (const CommandBinding& c : kCommands)
    if (c.id == id) {
      c.handler(dialog);
      return;
    }
}

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: SetIcon(dialog, Icon()); return FALSE;
  }
  return FALSE;
}

HWND TopLevelOf(HWND window) {
  while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}



// Opens an address with the shell, else with Internet Explorer.
void OpenAddress(const char* address) {
  if (reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address, nullptr, nullptr,
                                              SW_SHOWNORMAL)) > kShellSuccess)
    return;
  char browser[kPathCapacity];
  GetRegString(HKEY_LOCAL_MACHINE, kIeAppPathKey, "Path", browser);
  size_t n = strlen(browser);
  if (n > 0 && browser[n - 1] == ';') browser[n - 1] = 0;
  if (!AppendText(browser, "\\iexplore.exe")) return;
  ShellExecuteA(nullptr, "open", browser, address, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void StartAolWith(const char* address) {
  char app[kPathCapacity] = "";
  GetProfileStringA("WAOL", "AppPath", "", app, sizeof app);
  char command[kRequestCapacity];
  if (AolCommandLine(app, address, command, sizeof command)) WinExec(command, SW_SHOWNORMAL);
}

bool InfoExpanded() { return g_expanded; }
void SetInfoExpanded(bool expanded) { g_expanded = expanded; }

void InfoWindow(HWND list, int entryIndex, EntryLocationProc location) {
  g_expanded = !g_expanded;
  g_info = InfoState{};
  g_info.location = location;
  g_info.list = list;
  g_info.index = entryIndex;
  g_info.startType = -1;
  HWND owner = list ? TopLevelOf(list) : MainWindow();
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_INFO), owner, InfoDialogProc, 0);
  g_info.window = nullptr;
}

HWND OpenInfoWindow() { return g_info.window; }

void SetInfoLocationLine(const char* text) {
  if (g_info.window) SetDlgItemTextA(g_info.window, IDC_INFO_LOCATION, text ? text : "");
}

size_t SiteRoot(char* out, size_t cap) {
  if (cap == 0) return 0;
  char root[kPathCapacity];
  if (GetRegString(HKEY_CURRENT_USER, kProductKey, kSiteRootValue, root) == 0) CopyText(root, kDefaultSiteRoot);
  size_t n = strlen(root);
  if (root[n - 1] != '/') AppendText(root, "/");
  if (!CopyTextN(out, cap, root)) {
    out[0] = 0;
    return 0;
  }
  return strlen(out);
}

bool KnowledgeBasePage(const char* fileName, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  char name[kPathCapacity];
  if (KnowledgeBaseName(fileName, name, sizeof name) == 0) return false;
  char page[kPathCapacity];
  if (ProgramFolder(page) == 0 || !AppendText(page, "\\kbase\\") || !AppendText(page, name) ||
      !AppendText(page, ".html"))
    return false;
  if (GetFileAttributesA(page) == INVALID_FILE_ATTRIBUTES) return false;
  if (CopyTextN(out, cap, page)) return true;
  out[0] = 0;
  return false;
}

void OpenOnlineInformation(int code, const char* path, const char* title) {
  char program[kPathCapacity] = "";
  if (path && path[0]) ProgramOfCommand(path, program);
  char fileName[kPathCapacity] = "";
  if (program[0] && FileNameOf(program, fileName) == 0) CopyText(fileName, program);
  if (!fileName[0] && title) CopyText(fileName, title);

  char page[kPathCapacity];
  if (program[0] && KnowledgeBasePage(fileName, page) &&
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", page, nullptr, nullptr,
                                              SW_SHOWNORMAL)) > kShellSuccess)
    return;

  VersionStrings v{};
  char file[kPathCapacity];
  CopyText(file, program);
  if (program[0] && FileExists(file)) ProgramVersionStrings(file, &v);
  char root[kPathCapacity], build[kBuildCapacity];
  SiteRoot(root, sizeof root);
  VersionLabel(build, sizeof build);
  InfoRequest request{root, fileName, v.companyName, v.productVersion, build, code,
                      TextLanguage(), true};
  char address[kRequestCapacity];
  if (FindAolWindow()) {
    request.escapeFileName = false;
    BuildInfoRequest(request, address, sizeof address);
    StartAolWith(address);
    return;
  }
  BuildInfoRequest(request, address, sizeof address);
  OpenAddress(address);
}

void OpenFreeInformation() {
  char address[kRequestCapacity];
  SiteRoot(address, sizeof address);
  AppendText(address, kStatsPage);
  if (FindAolWindow()) {
    StartAolWith(address);
    return;
  }
  OpenAddress(address);
}

bool NoteExists(const char* command) {
  char path[kPathCapacity];
  if (!NotePath(command, path)) return false;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool WriteNoteFile(const char* notePath, const char* text) {
  if (!notePath || !notePath[0]) return false;
  Handle file(CreateFileA(notePath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file) return false;
  size_t length = text ? strnlen(text, kNoteLimit) : 0;
  DWORD written = 0;
  if (length > 0 && !WriteFile(file.get(), text, DWORD(length), &written, nullptr)) return false;
  return written == length;
}

}  // namespace tov

#include "app/app.h"
#include "app/families.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "app/command_line.h"
#include "app/initialise.h"
#include "app/monitor.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/owned.h"
#include "core/program.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/version.h"
#include "resources/resource.h"
#include "ui/look.h"

namespace tov {

namespace {

constexpr int kClassNameTextId = 9;
constexpr int kLoadingCaptionTextId = 833;
void StartCommonControls() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                           ICC_COOL_CLASSES | ICC_INTERNET_CLASSES};
  if (!InitCommonControlsEx(&icc)) InitCommonControls();
}

}  // namespace

int TovrelMain(HINSTANCE instance, const char* cmdLine) {
  SetProgramInstance(instance);
  RegisterFamilies();
  char className[kCaptionCapacity], caption[kCaptionCapacity];
  if (LoadText(kClassNameTextId, className) == 0 || LoadText(kLoadingCaptionTextId, caption) == 0)
    return 0;
  SetMainClassName(className);
  SetProgramCaption(caption);

  CommandLineChoice choice = ParseCommandLine(cmdLine, GetOption("StartTab", kDefaultStartTab));
  // Removal and a request for a running copy end here; only the sheet
  // does not wait for the monitor's start.
  bool opensSheet = !choice.removal && !choice.quiet && !FindWindowA(className, nullptr);
  if (choice.startMonitor) {
    if (opensSheet) StartMonitorInBackground();
    else StartMonitor();
  }
  if (choice.removal) {
    CoInitialize(nullptr);  // delayed shortcuts are written back through the shell
    RemoveInstallation();
    CoUninitialize();
    CloseMonitor();
    return 0;
  }

  if (HWND running = FindWindowA(className, nullptr)) {
    PostMessageA(running, WM_COMMAND, choice.quiet ? kCmdClose : choice.command, 0);
    return 0;
  }
  if (choice.quiet) return 0;

  if (!RegisterMainClass(instance, className)) return 0;
  HWND window = CreateMainWindow(instance, className, caption);
  if (!window) return 0;
  SetMainWindow(window);

  CreateProgramFonts();
  LoadProgramPictures();
  CoInitialize(nullptr);
  StartCommonControls();

  ComputeProgramPaths();
  if (Tracing()) {
    char label[512];
    VersionLabel(label, sizeof label);
    Trace("-------------------------------------Begin TovrelEx", label);
  }

  Initialise();
  PostMessageA(window, WM_COMMAND, choice.command, 0);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}

}  // namespace tov

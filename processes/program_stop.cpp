// What other pages ask of the running programs: whether a program runs, and
// ending it on request with a history line.
#include <windows.h>

#include "core/history.h"
#include "core/messages.h"
#include "core/program.h"
#include "core/text.h"
#include "processes/process_walk.h"
#include "startup/catalogue.h"
#include "processes/processes.h"

namespace tov {

namespace {

constexpr int kTextStopQuestion = 707;

bool AskToStop(const char* path, const char* title) {
  return AskAbout(GetActiveWindow(), kTextStopQuestion, title && title[0] ? title : path,
                  MB_ICONQUESTION);
}

}  // namespace

bool IsProgramRunning(const char* path) { return FindProcessOfProgram(path) != 0; }

unsigned long StopRunningProgram(const char* path, const char* title, bool ask) {
  DWORD processId = FindProcessOfProgram(path);
  if (processId == 0) return 0;
  if (ask && !AskToStop(path, title)) return processId;
  if (!KillProcessId(processId)) return 0;
  AddHistoryEvent(title, path, "", kCodeRunningTask, kActionTaskKill);
  // Icons of the ended program leave the notification area.
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) InvalidateRect(tray, nullptr, TRUE);
  return processId;
}

}  // namespace tov

// A service program for the services tests:
//   service_program <service name>
// registered with the service manager by the test under that name, it
// reports "running" until it is asked to stop, and answers interrogations.
// It ends by itself after ten minutes.
#include <windows.h>

namespace {

char g_name[256];
SERVICE_STATUS_HANDLE g_handle;
SERVICE_STATUS g_status;
HANDLE g_stop;

void Report(DWORD state) {
  g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  g_status.dwCurrentState = state;
  g_status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(g_handle, &g_status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
      Report(SERVICE_STOP_PENDING);
      SetEvent(g_stop);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      Report(g_status.dwCurrentState);
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  g_handle = RegisterServiceCtrlHandlerExA(g_name, Handler, nullptr);
  if (!g_handle) return;
  g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_RUNNING);
  WaitForSingleObject(g_stop, 600000);
  Report(SERVICE_STOPPED);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  lstrcpynA(g_name, commandLine ? commandLine : "", sizeof g_name);
  SERVICE_TABLE_ENTRYA table[] = {{g_name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}

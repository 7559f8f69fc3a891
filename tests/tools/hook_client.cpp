// Second process for the TOVHOOK tests.
//   hook_client window <hwnd>  creates a top-level window and a child of it,
//                              destroys both, then posts kDoneMessage to <hwnd>
//                              with wParam = top-level, lParam = child; exit 0.
//   hook_client register       loads TOVHOOK.DLL from this program's folder and
//                              calls TinkerBell with a window of its own; exits
//                              with its result (after GrowUp when it got 1).
// Exit codes of 10 and above mean the helper itself could not do its part.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kDoneMessage = WM_APP + 0x40;
constexpr char kClassName[] = "TovHookClient";

bool RegisterClientClass() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

HWND CreateTopLevel() {
  return CreateWindowA(kClassName, "hook client", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                       nullptr, GetModuleHandleA(nullptr), nullptr);
}

int MakeWindows(HWND report_to) {
  if (!report_to || !RegisterClientClass()) return 10;
  HWND top = CreateTopLevel();
  if (!top) return 11;
  HWND child = CreateWindowA(kClassName, "child", WS_CHILD, 0, 0, 10, 10, top, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!child) return 12;
  DestroyWindow(child);
  DestroyWindow(top);
  return PostMessageA(report_to, kDoneMessage, (WPARAM)top, (LPARAM)child) ? 0 : 13;
}

int Register() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 10;
  char* slash = strrchr(path, '\\');
  if (!slash || (size_t)(slash + 1 - path) + sizeof("TOVHOOK.DLL") > MAX_PATH) return 10;
  strcpy(slash + 1, "TOVHOOK.DLL");
  HMODULE lib = LoadLibraryA(path);
  if (!lib) return 11;
  auto tinker_bell = (int(WINAPI*)(HWND))(void*)GetProcAddress(lib, "TinkerBell");
  auto grow_up = (int(WINAPI*)())(void*)GetProcAddress(lib, "GrowUp");
  if (!tinker_bell || !grow_up || !RegisterClientClass()) return 12;
  HWND own = CreateTopLevel();
  if (!own) return 13;
  int result = tinker_bell(own);
  if (result == 1) grow_up();  // leave the library idle for whoever comes next
  DestroyWindow(own);
  FreeLibrary(lib);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "window") == 0) {
    return MakeWindows((HWND)(UINT_PTR)strtoul(argv[2], nullptr, 10));
  }
  if (argc >= 2 && strcmp(argv[1], "register") == 0) return Register();
  return 20;
}

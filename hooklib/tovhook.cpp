// TOVHOOK: tells one registered window whenever any window on the desktop is
// created or destroyed. The hook procedure lives in this library, so Windows
// maps the library into every process that creates windows and runs the
// procedure there; everything it reads sits in a data section that all those
// processes share. Nothing here uses the C runtime: the entry point is
// DllMain itself and the only imports are USER32 and KERNEL32.
#include <windows.h>

namespace {

enum : UINT {
  kMsgWindowCreated = 9024,    // wParam: the new window, lParam: the hook's own
  kMsgWindowDestroyed = 9027,  // wParam: the window, lParam: the hook's own
};

// One copy for every process that maps the library, zero at load. Each is a
// single 32-bit word, read and written whole; volatile, since other processes
// read and write them behind the compiler's back.
HINSTANCE volatile gModule __attribute__((section(".gldata"), shared)) = nullptr;
HWND volatile gTarget __attribute__((section(".gldata"), shared)) = nullptr;
HHOOK volatile gHook __attribute__((section(".gldata"), shared)) = nullptr;

// This process's own instance handle. The shared word above holds whichever
// process attached last; should the library ever load at another address in
// some process, that value would name the wrong module here, so the hook is
// installed with this one.
HINSTANCE gOwnModule = nullptr;

}  // namespace

extern "C" LRESULT CALLBACK ImFlying(int code, WPARAM wParam, LPARAM lParam);

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
    gOwnModule = instance;
  }
  return TRUE;
}

// Registers `window` and installs the hook on every thread. Refused (0) while
// a window is registered, from any process, and for no window at all. The
// target is claimed atomically so two callers cannot both install a hook; a
// failed installation gives the claim back, so a later call can try again.
extern "C" int WINAPI TinkerBell(HWND window) {
  if (!window) return 0;
  if (InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&gTarget), window,
                                        nullptr) != nullptr) {
    return 0;
  }
  HHOOK hook = SetWindowsHookExA(WH_CBT, ImFlying, gOwnModule, 0);
  if (!hook) {
    gTarget = nullptr;
    return 0;
  }
  gHook = hook;
  return 1;
}

// Removes the hook and forgets the window. Returns 0 when no hook is held, so
// a second call does not unhook a stale handle. The state is cleared even if
// Windows already dropped the hook (its thread ended), so the library can be
// registered again.
extern "C" int WINAPI GrowUp() {
  HHOOK hook = gHook;
  if (!hook) return 0;
  UnhookWindowsHookEx(hook);
  gHook = nullptr;
  gTarget = nullptr;
  return 1;
}

// Runs inside every windowing process: posts (never sends) creation and
// destruction to the registered window, then passes the call on. With no
// window registered nothing is posted: a post to window 0 would land in the
// queue of whichever thread is creating the window.
extern "C" LRESULT CALLBACK ImFlying(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(gHook, code, wParam, lParam);
  HWND target = gTarget;
  if (target) {
    if (code == HCBT_CREATEWND) {
      PostMessageA(target, kMsgWindowCreated, wParam, lParam);
    } else if (code == HCBT_DESTROYWND) {
      PostMessageA(target, kMsgWindowDestroyed, wParam, lParam);
    }
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

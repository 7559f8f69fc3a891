#include <windows.h>

#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
  return tov::TovrelMain(instance, cmdLine);
}

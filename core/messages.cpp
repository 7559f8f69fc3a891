#include "core/messages.h"

#include <cstdio>
#include <cstring>

#include "core/language.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/text.h"
#include "resources/resource.h"

namespace tov {

namespace {
int g_language = 0;

// "%n" in a stored translation stands for a line break.
void ExpandLineBreaks(char* text) {
  for (char* p = text; (p = strstr(p, "%n")) != nullptr; p += 2) {
    p[0] = '\r';
    p[1] = '\n';
  }
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, ProgramCaption());
      SetDlgItemTextA(dialog, IDC_MESSAGE_TEXT, (const char*)lParam);
      CentreWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}
}  // namespace

int TextLanguage() { return g_language; }
void SetTextLanguage(int id) { g_language = id; }

void SelectTextLanguage() {
  g_language = 0;
  char code[8];
  LoadText(kLanguageCodeTextId, code);
  g_language = LanguageOfCode(code);
}

size_t LoadText(int id, char* out, size_t cap) {
  if (cap == 0) return 0;
  out[0] = 0;
  if (g_language != kLanguageEnglish) {
    char name[24];
    snprintf(name, sizeof name, "LString%d", id);
    char stored[kOverrideCapacity];
    if (GetRegString(HKEY_LOCAL_MACHINE, kProductKey, name, stored) > 0) {
      CopyTextN(out, cap, stored);
      ExpandLineBreaks(out);
      return strlen(out);
    }
  }
  int n = LoadStringA(ProgramInstance(), UINT(id), out, int(cap));
  if (n <= 0) {
    out[0] = 0;
    return 0;
  }
  return size_t(n);
}

void SetControlText(HWND dialog, int textId, int controlId) {
  char text[512];
  if (LoadText(textId, text) > 0) SetDlgItemTextA(dialog, controlId, text);
}

void ShowInfoMessage(int textId) {
  char text[kMessageCapacity];
  char caption[kTitleCapacity];
  LoadText(textId, text);
  LoadText(31, caption);
  MessageBoxExA(MainWindow(), text, caption, MB_OK | MB_ICONQUESTION | MB_TOPMOST,
                WORD(MAKELANGID(g_language, SUBLANG_DEFAULT)));
}

void ShowErrorMessage(int textId) {
  char text[kMessageCapacity];
  LoadText(textId, text);
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_MESSAGE), MainWindow(),
                  MessageDialogProc, (LPARAM)text);
}

bool AskAbout(HWND owner, int textId, const char* fill, UINT style) {
  char question[kMessageCapacity];
  LoadText(textId, question);
  char text[kMessageCapacity + kPathCapacity];
  FormatOneText(question, fill, text, sizeof text);
  return MessageBoxA(owner, text, ProgramCaption(), MB_YESNO | style | MB_TOPMOST) == IDYES;
}

}  // namespace tov

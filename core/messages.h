// User-visible texts (string table with per-id registry overrides used by
// translations) and the two standard messages.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

constexpr int kLanguageCodeTextId = 634;
constexpr size_t kOverrideCapacity = 772;

// The text of a string-table id in the current text language; returns its
// length (0 and empty text when there is none).
size_t LoadText(int id, char* out, size_t cap);
template <size_t N> size_t LoadText(int id, char (&out)[N]) { return LoadText(id, out, N); }

// Language id used for overrides and message boxes; 0 until selected.
int TextLanguage();
void SetTextLanguage(int id);
// Resets the language to 0 and selects it from the language code (text 634).
void SelectTextLanguage();

void SetControlText(HWND dialog, int textId, int controlId);
void ShowInfoMessage(int textId);
void ShowErrorMessage(int textId);
// Asks a Yes/No question: text textId with its one "%s" filled by fill, in a
// box of style (icon) with the program caption. True for Yes.
bool AskAbout(HWND owner, int textId, const char* fill, UINT style);

}  // namespace tov

// Fonts and pictures created once at start and kept for the life of the
// program.
#pragma once
#include <windows.h>

namespace tov {

enum ProgramFontId {
  kFontInfoTitle,      // Arial 18, 500
  kFontBoldMedium,     // MS Sans Serif 14, 600
  kFontBoldSmall,      // MS Sans Serif 10, 600
  kFontInfoText,       // Arial 14, 400
  kFontInfoSmall,      // MS Sans Serif 12, 500
  kFontNoteButtonBold, // MS Shell Dlg 14, 700
  kFontButton,         // MS Shell Dlg 14, 500
  kFontNote,           // "NoteFont" / "NoteSize", 500
  kFontCount
};

void CreateProgramFonts();
HFONT ProgramFont(ProgramFontId id);
void LoadProgramPictures();
// One of the pictures loaded at start, by resource id; null for others.
HBITMAP ProgramPicture(int resourceId);

}  // namespace tov

#include "ui/look.h"

#include "core/program.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/options_table.h"
#include "resources/resource.h"

namespace tov {

namespace {

struct FontRow {
  const char* face;
  int height;
  int weight;
  bool swiss;
};

const FontRow kFonts[kFontNote] = {
    {"Arial", 18, 500, true},
    {"MS Sans Serif", 14, 600, true},
    {"MS Sans Serif", 10, 600, true},
    {"Arial", 14, 400, true},
    {"MS Sans Serif", 12, 500, true},
    {"MS Shell Dlg", 14, 700, false},
    {"MS Shell Dlg", 14, 500, false},
};

const int kPictureIds[] = {IDB_HELP,          IDB_HELP_PRESSED, IDB_HELP_HOVER, IDB_MONITOR_OFF,
                           IDB_MONITOR_PRESSED, IDB_MONITOR_ON,   IDB_MONITOR_REALTIME,
                           IDB_COOKIE_1,      IDB_COOKIE_2,     IDB_COOKIE_3};
constexpr int kPictureCount = sizeof kPictureIds / sizeof kPictureIds[0];

HFONT g_fonts[kFontCount];
HBITMAP g_pictures[kPictureCount];

HFONT MakeFont(const char* face, int height, int weight, bool swiss) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     swiss ? FF_SWISS : FF_DONTCARE, face);
}

}  // namespace

void CreateProgramFonts() {
  for (int i = 0; i < kFontNote; ++i)
    if (!g_fonts[i]) g_fonts[i] = MakeFont(kFonts[i].face, kFonts[i].height, kFonts[i].weight, kFonts[i].swiss);
  if (!g_fonts[kFontNote]) {
    char face[64];
    if (GetRegString(HKEY_CURRENT_USER, kOptionsKey, "NoteFont", face) == 0) lstrcpyA(face, "Arial");
    g_fonts[kFontNote] = MakeFont(face, GetOption("NoteSize", kDefaultNoteSize), 500, true);
  }
}

HFONT ProgramFont(ProgramFontId id) { return g_fonts[id]; }

void LoadProgramPictures() {
  for (int i = 0; i < kPictureCount; ++i)
    if (!g_pictures[i]) g_pictures[i] = LoadBitmapA(ProgramInstance(), MAKEINTRESOURCEA(kPictureIds[i]));
}

HBITMAP ProgramPicture(int resourceId) {
  for (int i = 0; i < kPictureCount; ++i)
    if (kPictureIds[i] == resourceId) return g_pictures[i];
  return nullptr;
}

}  // namespace tov

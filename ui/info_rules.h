// Rules of the information window that need no window: the knowledge-base
// page name of a program, the program-information request, the note texts,
// the expanded/short layout and stepping through the entry list. Portable.
#pragma once
#include <cstddef>

namespace tov {

// A note holds at most this many characters.
constexpr size_t kNoteLimit = 16384;
constexpr size_t kNoteCapacity = kNoteLimit + 1;
// The online request (command text) is limited to 259 characters.
constexpr size_t kRequestCapacity = 260;
// Vendor site root used when the registry names none.
extern const char kDefaultSiteRoot[];  // "http://www.brenvik.com/"
// Registry value (under HKCU "Software\Brenvik\Tovrel") that overrides it.
extern const char kSiteRootValue[];    // "SiteRoot"

// The knowledge-base page name of a program file name ("<name>" of
// "kbase\<name>.html"): lower-cased; " ", "?" and ":" as "_"; ended at the
// first "\" or "/"; cut at the earliest ".", "-", "~" or ","; a name holding
// "ycomp", "newdot" or "trickler" becomes that word, one holding "%1_%*"
// becomes "tvcommand", one holding "%1_s" "tvsaver". Returns its length
// (0 and empty text when it does not fit).
size_t KnowledgeBaseName(const char* fileName, char* out, size_t cap);

// Fields of the program-information request.
struct InfoRequest {
  const char* siteRoot;      // "http://host/"
  const char* fileName;      // program file name (or the entry title)
  const char* companyName;
  const char* productVersion;
  const char* build;         // VersionLabel text
  int code;                  // location code
  int languageId;            // primary user-interface language id
  bool escapeFileName;       // write the file name's blanks as "%20"
};
// "<root>cgi-bin/zarvoinfo.pl?program=<name>&vendor=..&version=..&build=..
// &Type=<code>&Loc=<en|de|fr>&ext=<text after the first '.'>", cut to 259
// characters. Returns the length.
size_t BuildInfoRequest(const InfoRequest& r, char* out, size_t cap);

// The command line that hands an address to the AOL client:
// "<appPath>\WAOL.EXE -u"<address>"", or "waol.exe -u"<address>"" without
// an application path. The address is cut so that the closing quote always
// fits; false (and empty text) when not even the program part fits.
bool AolCommandLine(const char* appPath, const char* address, char* out, size_t cap);
// "en", "de" for language id 7, "fr" for 12.
const char* RequestLanguage(int languageId);

// The entry stepped to from index among count entries: next wraps from the
// last to the first, previous from the first to the last. -1 for an empty
// list; an index out of range starts from the first.
int NextEntryIndex(int index, int count);
int PreviousEntryIndex(int index, int count);

// Window heights (pixels at 96 dpi) and the button row.
constexpr int kInfoExpandedHeight = 421;
constexpr int kInfoShortHeight = 246;
constexpr int kInfoButtonRowExpanded = 350;
constexpr int kInfoButtonRowShort = 185;
constexpr int kInfoButtonCount = 6;
// Horizontal dialog-unit positions of buttons 1067, 1068, 1069, 1083, 1082,
// Close.
extern const int kInfoButtonX[kInfoButtonCount];
// A 96-dpi pixel measure at the screen's vertical dpi.
int ScaleForDpi(int pixels, int dpi);

// The note text of a program with none yet: title, CR LF, path, CR LF.
// False when it was cut.
bool NewNoteText(const char* title, const char* path, char* out, size_t cap);
// The default notes text for an entry without a note: extra when not empty,
// else defaultText.
const char* DefaultNoteText(const char* extra, const char* defaultText);


// What the window shows for an entry of a location code.
struct InfoForm {
  bool service;          // start type, status and Stop / Apply (700, 701)
  bool status;           // the status line (Running / Ready / not found)
  bool processButtons;   // Kill Task / Run
  bool locationCleared;  // no location line (400, 600)
  const char* helperKey; // IE helper key shown as the location (900-902), else nullptr
  bool iconFromExtra;    // icon from the file named by the extra text (901, 902)
};
InfoForm InfoFormOf(int code);

}  // namespace tov

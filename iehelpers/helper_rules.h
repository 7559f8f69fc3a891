// Rules of the Internet Explorer helper family that need no Windows: the
// three registry locations and their type words, the extension title rule,
// and the regsvr32 command lines. No Windows headers: compiled natively for
// the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

constexpr int kCodeHelperObject = 900;  // Browser Helper Object sub-key
constexpr int kCodeToolbar = 901;       // Toolbar value
constexpr int kCodeExtension = 902;     // toolbar-button extension sub-key
constexpr size_t kHelperNameCapacity = 256;      // sub-key and value names read (255 characters)
constexpr size_t kRegsvrCommandCapacity = 300;   // "regsvr32 /u /s" and a quoted path

// Under HKEY_LOCAL_MACHINE.
extern const char kHelperObjectsKey[];  // "SOFTWARE\...\Explorer\Browser Helper Objects"
extern const char kToolbarKey[];        // "SOFTWARE\Microsoft\Internet Explorer\Toolbar"
extern const char kExtensionsKey[];     // "SOFTWARE\Microsoft\Internet Explorer\Extensions"

// The key of a helper code (900-902); null for any other code.
const char* HelperKeyOf(int code);
// "BHO", "TOOLBAR", "EXTENSION"; empty text for any other code.
const char* HelperTypeWord(int code);
bool IsHelperCode(int code);

// The title of an extension button: "Related" when its text mentions
// "shdoclc.dll" (any case), else the button text.
void ExtensionTitle(const char* buttonText, char* out, size_t cap);

// "regsvr32 /s "<path>"" to register a server file again, and
// "regsvr32 /u /s "<path>"" to unregister it. The path is quoted so that a
// folder with a space in its name reaches regsvr32 whole. False (and empty
// text) for an empty path, a path holding a quote, or one that does not fit.
bool RegisterCommand(const char* path, char* out, size_t cap);
bool UnregisterCommand(const char* path, char* out, size_t cap);

}  // namespace tov

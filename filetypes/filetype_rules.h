// Rules of the file-type family that need nothing from the system: the
// monitored list (names joined by ";"), the lookup kinds and the keys their
// baseline is kept in, the marker tests at start, the name shown for an
// open command and the split of a DefaultIcon value. No Windows headers.
#pragma once
#include <cstddef>

#include "resources/string_ids.h"

namespace tov {

// The monitored list is read with this capacity; adding stops when the list
// and the new name together reach kMonitoredListLimit characters.
constexpr size_t kMonitoredListCapacity = 1024;
constexpr size_t kMonitoredListLimit = 1020;
// A listed name longer than this names no extension and is passed over.
constexpr size_t kExtensionNameLimit = 256;
constexpr size_t kExtensionCapacity = kExtensionNameLimit + 2;  // dot and terminator
// Class names and open commands are read with this capacity.
constexpr size_t kAssociationCapacity = 260;
// An "Ext" default of exactly this length is the marker of an older baseline.
constexpr size_t kOldMarkerLength = 11;

// Baseline keys under HKEY_CURRENT_USER.
extern const char kFileTypeExtKey[];        // "Software\Brenvik\Tovrel\Ext"
extern const char kFileTypeExtAppKey[];     // ...\ExtApp
extern const char kFileTypeExtProgIdKey[];  // ...\ExtProgID
extern const char kFileTypeExtRootKey[];    // ...\ExtRoot
extern const char kFileTypeClassKey[];      // ...\Class (default value: the monitored list)
extern const char kFileTypeClassRootKey[];  // ...\ClassRoot
extern const char kFileTypeExtTypeKey[];    // ...\ExtType
// Written into the "Ext" default once the baseline exists.
extern const char kBaselineMarker[];  // "Do not edit."

// Where the association of an extension is looked up.
enum AssociationKind {
  kKindSystem = 1,         // HKLM Software\Classes\.<ext>
  kKindExplorerApp = 2,    // the user's FileExts "Application"
  kKindExplorerProgId = 3, // the user's FileExts "ProgID"
  kKindRoot = 4,           // HKCR .<ext>
};
constexpr int kFirstKind = kKindSystem;
constexpr int kLastListedKind = kKindExplorerProgId;  // kind 4 is never listed
constexpr int kLastKind = kKindRoot;

// The baseline keys of a kind: the extension's value (name = ".ext",
// data = class name) and the class's value (name = class name, data = open
// command without quotes). Null for a kind outside 1-4.
struct KindKeys {
  int kind;
  const char* extKey;
  const char* classKey;
};
const KindKeys* KeysOfKind(int kind);
// "System", "Explorer" (kinds 2 and 3), "Root"; empty for any other kind.
const char* KindName(int kind);

// An "Ext" default of exactly 11 characters marks an older baseline that is
// recorded again.
bool IsOldMarker(const char* extDefault);
// The baseline exists when the "Ext" default and the monitored list are
// both non-empty and the list holds a ";" anywhere.
bool BaselineExists(const char* extDefault, const char* list);

// The next name of the list at or after *pos (";" ends a name; a last name
// without one counts too), moving *pos past it. Empty names and names over
// kExtensionNameLimit characters are passed over. False when none is left.
bool NextListName(const char* list, size_t* pos, char* out, size_t cap);
// True when the list holds name, ignoring case.
bool ListHasName(const char* list, const char* name);

// Text ids the adding operation answers with.
constexpr int kTextAddRefused = kTextEnterTheFileExtension;  // empty or with ";": the dialog's own explanation
constexpr int kTextAlreadyMonitored = kTextThisFileTypeIs;
constexpr int kTextListFull = kTextTheMaximumNumberOf;
// The name of a typed extension (one leading dot removed) and whether it
// may be added to the list: 0, or the text id of the message to show.
// Empty names, names with ";" and names over kExtensionNameLimit are
// refused (751); then a list that would reach kMonitoredListLimit (763);
// then a name already listed (762).
int CheckNewName(const char* list, const char* typed, char* name, size_t cap);

// The Command column for an open command: 746 when it is "%1 %*" or
// "%1 /S", 742 when it is empty (quotes and blanks do not count), else 0
// with out holding the file name of its program, in the command's own case;
// for a RunDLL32 command the hosted library is named.
int CommandDisplayName(const char* command, char* out, size_t cap);

// A DefaultIcon value split at its last comma into file (quotes removed)
// and index (decimal, may be negative); without a comma the file is the
// association's command and the index 0. False for an empty value.
bool SplitDefaultIcon(const char* value, const char* command, char* file, size_t cap, int* index);

}  // namespace tov

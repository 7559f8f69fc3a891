// The file types watched for a changed association: the monitored list,
// the lookup of the program that opens an extension, the recorded copy of
// those associations (the baseline the resident monitor compares with) and
// the file-type entries of the shared entry list (code 400).
#pragma once
#include <cstddef>

#include "filetypes/filetype_rules.h"

namespace tov {

// How the stored monitored list read.
enum ListRead { kListMissing, kListRead, kListTooLong };
// The default value of the "Class" key; a list too long for the read
// capacity gives empty text and kListTooLong.
ListRead ReadMonitoredList(char (&out)[kMonitoredListCapacity]);

// The association of an extension (with or without its dot) for a kind:
// the class name (ProgID or application) and the open command, expandable
// strings expanded. False, with both empty, when the kind is not 1-4, the
// class name is missing or empty, the command value is missing or a key
// path does not fit.
bool LookupAssociation(const char* extension, int kind, char* className, size_t classCap,
                       char* command, size_t commandCap);
template <size_t A, size_t B>
bool LookupAssociation(const char* extension, int kind, char (&className)[A], char (&command)[B]) {
  return LookupAssociation(extension, kind, className, A, command, B);
}

// Writes the two baseline values of one association (the extension's class
// name and the class's open command without quotes); nothing when the
// lookup fails or the kind is outside 1-4. True when both were written.
bool RecordAssociation(const char* extension, int kind);

// The baseline at start: the first run (or a list that is not a list)
// stores the default list and records every listed association; an older
// marker records every association again and keeps the list. Returns the
// number of entries recorded on a first run, else 0.
int CreateClassInfo();

// Clears the entry list and adds one entry per listed extension and kind
// 1-3 whose lookup gives a class name, extensions in list order. Returns the
// number of entries.
int EnumerateFileTypes();

// Adds a typed extension to the monitored list and records its kinds 1-3.
// 0 on success, else the id of the message to show (751 refused text, 762
// already listed, 763 list full); nothing changes then.
int AddMonitoredExtension(const char* text);
// Takes an extension (dot optional) out of the list, deletes its kind-1
// and ExtType values and, when no listed extension still uses that class,
// the class's value. False when the list could not be read or written.
bool RemoveMonitoredExtension(const char* extension);
// True when a listed extension's lookup of kind 1-3 gives this class name.
bool IsClassNameInUse(const char* className);

// The DefaultIcon of the extension's kind-1 class, split into file and
// index (see SplitDefaultIcon; without a comma the kind's command is the
// file). False when there is no DefaultIcon value.
bool DefaultIcon(const char* extension, int kind, char* file, size_t cap, int* index);

}  // namespace tov

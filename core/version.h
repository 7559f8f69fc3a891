// Descriptions of program files and COM classes: the text fields of a file's
// version resource, and the class name and in-process server registered
// for a class identifier.
#pragma once
#include <cstddef>

namespace tov {

constexpr size_t kVersionFieldCapacity = 128;   // 127 characters and the terminator
constexpr unsigned long kVersionInfoLimit = 4096;  // resources this size or larger are not read
constexpr size_t kClassTextCapacity = 512;      // class name and server path
constexpr size_t kClassKeyCapacity = 300;       // "CLSID\{...}"

struct VersionStrings {
  char productName[kVersionFieldCapacity];
  char productVersion[kVersionFieldCapacity];
  char companyName[kVersionFieldCapacity];
  char fileDescription[kVersionFieldCapacity];
  char legalCopyright[kVersionFieldCapacity];
};

// Fills out with the five fields of the file's version resource (each empty
// when missing); true when ProductName is non-empty. Each translation of the
// resource is read in table order; one without ProductName is passed over
// and the last one with a ProductName gives all five fields. A ProductName
// containing "Operating System" is replaced by the FileDescription. A file
// without a version resource, or with one of 4096 bytes or more, gives five
// empty fields.
bool ReadVersionStrings(const char* path, VersionStrings* out);

// The class name (default value of HKCR "CLSID\{clsid}") and in-process
// server (default value of its "InprocServer32" sub-key, environment
// references expanded) of a class identifier given with or without braces.
// Missing texts are empty; always true.
bool LookupClassServer(const char* clsid, char* className, size_t classCap, char* server,
                       size_t serverCap);
template <size_t A, size_t B>
bool LookupClassServer(const char* clsid, char (&className)[A], char (&server)[B]) {
  return LookupClassServer(clsid, className, A, server, B);
}

// ProductVersion of Tovrel.exe in the program folder, followed by ":" and
// that of TovrelEx.exe when it is there too. Returns the length.
size_t VersionLabel(char* out, size_t cap);

}  // namespace tov

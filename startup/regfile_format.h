// Text of registry-editor import files (.reg): the header, key sections and
// value lines, streamed in small pieces to a writer so that values of any
// length are written whole.
//
// The files use the "REGEDIT4" form, which the registry editor of every
// supported Windows (95 to XP) imports, and whose hex(2)/hex(7) data is the
// ANSI text the program reads. A value line keeps its registry type: text as
// a quoted string with '\' and '"' escaped, numbers as dword:, everything
// else as hex bytes continued over lines shorter than 80 columns.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

extern const char kRegFileHeader[];   // "REGEDIT4"

// Registry value types (the platform's REG_* numbers).
constexpr unsigned long kRegNone = 0;
constexpr unsigned long kRegSz = 1;
constexpr unsigned long kRegExpandSz = 2;
constexpr unsigned long kRegBinary = 3;
constexpr unsigned long kRegDword = 4;
constexpr unsigned long kRegMultiSz = 7;

// Hex lines end with "\" before this column, as the registry editor writes them.
constexpr size_t kRegLineWidth = 80;
constexpr size_t kRegHexIndent = 2;
constexpr size_t kRegOutputChunk = 512;

enum RegHive {
  kHiveClassesRoot,
  kHiveCurrentUser,
  kHiveLocalMachine,
  kHiveUsers,
  kHiveCurrentConfig,
  kHiveOther,   // written as HKEY_LOCAL_MACHINE
};
const char* RegHiveName(RegHive hive);

// Receives the text in pieces; returns false when it could not be written.
using RegWriteFn = bool (*)(void* context, const char* text, size_t length);

struct RegOutput {
  RegWriteFn write = nullptr;
  void* context = nullptr;
  char buffer[kRegOutputChunk];
  size_t used = 0;
  size_t column = 0;     // characters since the last line break
  bool failed = false;   // a write failed: everything after it is dropped
};

void InitRegOutput(RegOutput* out, RegWriteFn write, void* context);
// Hands the buffered text to the writer; false when any write failed.
bool FlushRegOutput(RegOutput* out);

// "REGEDIT4", CR LF, empty line.
void AppendRegHeader(RegOutput* out);
void AppendRegBlankLine(RegOutput* out);
// True when a key or value name can stand in a .reg file: the format has no
// escape for a line break, so a name holding CR or LF would end its line and
// let the rest of the name be read as lines of its own.
bool IsRegFileName(const char* name);

// "[" hive "\" key path ("\" sub-key) "]" CR LF. Refused (nothing written,
// false) when a part is no IsRegFileName.
bool AppendRegSection(RegOutput* out, const char* hiveName, const char* keyPath,
                      const char* subKey);
// One value line: @ for the empty name (the key's default value), otherwise
// the name quoted and escaped; then "=" and the data by its type:
// - REG_SZ: quoted and escaped, when it is one line of text (at most one
//   terminating zero, no CR or LF); other REG_SZ data as hex(1):
// - REG_DWORD of four bytes: dword:%08x; of another size hex(4):
// - REG_BINARY hex:, REG_EXPAND_SZ hex(2):, REG_MULTI_SZ hex(7):, any other
//   type hex(<type in hex>):
// Refused (nothing written, false) when the name is no IsRegFileName.
bool AppendRegValue(RegOutput* out, const char* name, unsigned long type,
                    const unsigned char* data, size_t size);

// True when REG_SZ data can be written as a quoted string.
bool IsPlainRegString(const unsigned char* data, size_t size);

}  // namespace tov

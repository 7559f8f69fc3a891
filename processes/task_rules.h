// Rules of the running-program walk that need no system calls: how a
// process's program file is matched against the program asked for, which
// processes host other programs, and the texts of an active-task row.
// No Windows headers: compiled natively for the sanitizer tests.
#pragma once
#include <cstddef>

namespace tov {

// How a process's program matched the program asked for.
enum ProgramMatch {
  kNoMatch,
  kFullPathMatch,  // the two program paths are the same file
  kBareNameMatch,  // the target is a bare file name equal to the process's
};

// processProgram: long form of the program of the process's file name;
// processFileName: the file name as the walk reported it; target: long form
// of the program asked for. Both paths compared without case; a target
// without a folder matches the file-name part of the process's file name.
ProgramMatch MatchProgram(const char* processProgram, const char* processFileName,
                          const char* target);

// True for the programs that run other programs' code or scripts
// (RUNDLL32.EXE, SVCHOST.EXE, ...): a bare-name match on one of them says
// nothing about which program is meant. The name may carry a folder.
bool IsCommonHostProgram(const char* program);

// True when the process file is the NT virtual DOS machine, whose 16-bit
// tasks are walked too.
bool IsVdmHost(const char* fileName);

}  // namespace tov

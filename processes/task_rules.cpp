#include "processes/task_rules.h"

#include <cstring>

#include "core/text.h"

namespace tov {

namespace {

// Programs that run code or scripts on behalf of others; many unrelated
// entries name them.
const char* const kCommonHosts[] = {
    "RUNDLL32.EXE", "RUNDLL.EXE",   "SVCHOST.EXE", "EXPLORER.EXE", "CMD.EXE",
    "COMMAND.COM",  "WSCRIPT.EXE",  "CSCRIPT.EXE", "MSHTA.EXE",    "REGSVR32.EXE",
    "DLLHOST.EXE",  "SERVICES.EXE", "WINLOGON.EXE",
};

const char* NamePart(const char* path) {
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

}  // namespace

ProgramMatch MatchProgram(const char* processProgram, const char* processFileName,
                          const char* target) {
  if (!processProgram || !processFileName || !target || target[0] == 0) return kNoMatch;
  if (processProgram[0] && EqualsNoCase(processProgram, target)) return kFullPathMatch;
  if (strchr(target, '\\') == nullptr && processFileName[0] &&
      EqualsNoCase(NamePart(processFileName), target))
    return kBareNameMatch;
  return kNoMatch;
}

bool IsCommonHostProgram(const char* program) {
  if (!program) return false;
  const char* name = NamePart(program);
  for (const char* host : kCommonHosts)
    if (EqualsNoCase(name, host)) return true;
  return false;
}

bool IsVdmHost(const char* fileName) {
  if (!fileName) return false;
  static const char kVdm[] = "NTVDM.EXE";
  size_t n = strlen(fileName), m = sizeof kVdm - 1;
  return n >= m && EqualsNoCase(fileName + n - m, kVdm);
}

}  // namespace tov

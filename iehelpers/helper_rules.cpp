#include "iehelpers/helper_rules.h"

#include "core/text.h"

namespace tov {

const char kHelperObjectsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kToolbarKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
const char kExtensionsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";

namespace {

struct HelperKind {
  int code;
  const char* key;
  const char* typeWord;
};

const HelperKind kHelperKinds[] = {
    {kCodeHelperObject, kHelperObjectsKey, "BHO"},
    {kCodeToolbar, kToolbarKey, "TOOLBAR"},
    {kCodeExtension, kExtensionsKey, "EXTENSION"},
};

const HelperKind* KindOf(int code) {
  for (const HelperKind& kind : kHelperKinds)
    if (kind.code == code) return &kind;
  return nullptr;
}

bool RegsvrCommand(const char* switches, const char* path, char* out, size_t cap) {
  if (cap == 0) return false;
  out[0] = 0;
  if (path == nullptr || path[0] == 0) return false;
  for (const char* p = path; *p; ++p)
    if (*p == '"') return false;
  bool whole = CopyTextN(out, cap, "regsvr32 ") && AppendTextN(out, cap, switches) &&
               AppendTextN(out, cap, " \"") && AppendTextN(out, cap, path) &&
               AppendTextN(out, cap, "\"");
  if (!whole) out[0] = 0;
  return whole;
}

}  // namespace

const char* HelperKeyOf(int code) {
  const HelperKind* kind = KindOf(code);
  return kind ? kind->key : nullptr;
}

const char* HelperTypeWord(int code) {
  const HelperKind* kind = KindOf(code);
  return kind ? kind->typeWord : "";
}

bool IsHelperCode(int code) { return KindOf(code) != nullptr; }

void ExtensionTitle(const char* buttonText, char* out, size_t cap) {
  const char* text = buttonText ? buttonText : "";
  CopyTextN(out, cap, ContainsText(text, "shdoclc.dll") ? "Related" : text);
}

bool RegisterCommand(const char* path, char* out, size_t cap) {
  return RegsvrCommand("/s", path, out, cap);
}

bool UnregisterCommand(const char* path, char* out, size_t cap) {
  return RegsvrCommand("/u /s", path, out, cap);
}

}  // namespace tov

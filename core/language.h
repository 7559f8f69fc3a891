// Text language selected by the language code (string 634). Portable.
#pragma once

namespace tov {

constexpr int kLanguageEnglish = 9;
// Language id of a code such as "us" or "de", compared without case; 0 when
// the code is not known.
int LanguageOfCode(const char* code);

}  // namespace tov

#include "core/language.h"

#include "core/text.h"

namespace tov {

namespace {
struct LanguageRow { const char* code; int id; };
const LanguageRow kLanguages[] = {
    {"us", 9}, {"de", 7}, {"fr", 12}, {"es", 10}, {"it", 16}, {"se", 29},
    {"\xEA\xE0\xEA", 25},  // Cyrillic "kak" in code page 1251, either case
    {"\xCA\xC0\xCA", 25},
    {"ru", 25}, {"pt", 22}, {"pl", 21}, {"no", 20}, {"gr", 8}, {"nl", 19},
    {"br", 22}, {"sq", 28}, {"tr", 31},
};
}  // namespace

int LanguageOfCode(const char* code) {
  for (const LanguageRow& row : kLanguages)
    if (EqualsNoCase(row.code, code)) return row.id;
  return 0;
}

}  // namespace tov

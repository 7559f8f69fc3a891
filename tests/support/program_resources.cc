#include "tests/support/program_resources.h"

#include "core/history.h"
#include "core/program.h"
#include "core/entries.h"
#include "tests/support/wine_support.h"

namespace testsupport {

ProgramResources::ProgramResources() {
  module_ = LoadLibraryExA(BinPath("TovrelEx.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module_) return;
  tov::SetProgramInstance(module_);
  tov::SetProgramCaption("Tovrel");
}

ProgramResources::~ProgramResources() {
  if (!module_) return;
  tov::SetProgramInstance(nullptr);
  FreeLibrary(module_);
}

std::string HistoryFile() {
  char path[MAX_PATH] = "";
  tov::HistoryFilePath(path, sizeof path);
  return path;
}

std::string HistoryText() { return ReadWholeFile(HistoryFile()); }

std::string EntryTitleText(int i) {
  char text[tov::kEntryTitleSlot] = "";
  tov::EntryTitle(i, text, sizeof text);
  return text;
}

std::string EntryPathText(int i) {
  char text[tov::kEntryPathSlot] = "";
  tov::EntryPath(i, text, sizeof text);
  return text;
}

std::string EntryExtraText(int i) {
  char text[tov::kEntryExtraSlot] = "";
  tov::EntryExtra(i, text, sizeof text);
  return text;
}

}  // namespace testsupport

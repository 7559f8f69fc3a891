// The built TovrelEx.exe loaded as a data file, so code under test finds the
// program's string table, dialogs, pictures and icons as the program does;
// and the program's own files and lists as a test reads them.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// Loads TovrelEx.exe from the bin folder, makes it the program instance
// (and the caption "Tovrel"), and undoes both when it goes out of scope.
class ProgramResources {
 public:
  ProgramResources();
  ~ProgramResources();
  ProgramResources(const ProgramResources&) = delete;
  ProgramResources& operator=(const ProgramResources&) = delete;
  bool loaded() const { return module_ != nullptr; }
  HMODULE module() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

// The history file beside the program, and its whole text ("" when it is
// missing).
std::string HistoryFile();
std::string HistoryText();

// The fields of entry i of the entry list, read through its accessors.
std::string EntryTitleText(int i);
std::string EntryPathText(int i);
std::string EntryExtraText(int i);

}  // namespace testsupport

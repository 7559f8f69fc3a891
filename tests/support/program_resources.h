// The built TovrelEx.exe loaded as a data file, so code under test finds the
// program's string table, dialogs, pictures and icons as the program does.
#pragma once
#include <windows.h>

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

}  // namespace testsupport

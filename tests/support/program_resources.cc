#include "tests/support/program_resources.h"

#include "core/program.h"
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

}  // namespace testsupport

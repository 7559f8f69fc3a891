// The command line of TovrelEx: any text chooses a page command (or the
// quiet close), a text longer than 772 characters matches no switch, and
// the last matching switch wins.
#include "app/command_line.h"
#include "core/text.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tov;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string text = fuzz::Text(data, size);
  int stored = size > 0 ? 6000 + data[0] : 0;
  CommandLineChoice c = ParseCommandLine(text.c_str(), stored);
  bool anyPage = c.command == DefaultPageCommand(stored) || IsPageCommand(c.command) ||
                 c.command == kCmdClose || c.command == kCmdExitRequest;
  FUZZ_CHECK(anyPage);
  FUZZ_CHECK(c.quiet == (ContainsText(text.c_str(), "-Q") != 0));
  if (c.quiet) FUZZ_CHECK(c.command == kCmdClose);  // "-Q" is the last row
  if (text.size() > kCommandLineLimit) {
    FUZZ_CHECK(c.command == DefaultPageCommand(stored));
    FUZZ_CHECK(!c.startMonitor && !c.removal && !c.quiet);
  }
  FUZZ_CHECK(c.startMonitor == (ContainsText(text.c_str(), "-START") != 0));
  return 0;
}

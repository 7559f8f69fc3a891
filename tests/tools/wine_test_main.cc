// Entry of every Windows test executable: no error dialogs, then GoogleTest.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/families.h"

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  tov::RegisterFamilies();  // as the program does at start
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Test fixtures every family can derive from: a running TovrelEx with its
// sheet, and a modal dialog of the program opened in this process.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/wine_support.h"

namespace testsupport {

// TovrelEx as the user starts it, with clean product keys and no sound.
class SheetTest : public testing::Test {
 protected:
  RunningProgram program_;
  void SetUp() override {
    EndAllInstances();
    ClearProductKeys();
    SetText(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel\\Options", "Sound", "0");  // no sound device
  }
  void TearDown() override {
    program_.Stop();
    EndAllInstances();
    ClearProductKeys();
  }
};

// A dialog of the program's resources, opened on this thread by the test
// and driven from a second one; owned by a hidden window.
class DialogTest : public testing::Test {
 protected:
  ProgramResources program_;
  OwnerWindow owner_;
  void SetUp() override {
    ClearProductKeys();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(program_.loaded());
  }
  void TearDown() override { ClearProductKeys(); }
  // Runs open() while drive(dialog) works on the dialog it shows; returns
  // what open() returned.
  int Drive(std::function<int()> open, std::function<void(HWND)> drive) {
    bool found = false;
    int result = RunDriven(OwnedBy(owner_.top), std::move(drive), std::move(open), &found);
    EXPECT_TRUE(found) << "the dialog did not appear";
    return result;
  }
};

}  // namespace testsupport

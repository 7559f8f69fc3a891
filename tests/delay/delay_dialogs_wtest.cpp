// The delay options dialog and the program type question, opened in this
// process and driven from a second thread, with the store checked after.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "delay/delay_dialogs.h"
#include "delay/delay_rules.h"
#include "delay/delay_store.h"
#include "resources/resource.h"
#include "core/entries.h"
#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

using namespace tov;
using namespace testsupport;

namespace {

const char kProgram[] = "C:\\delaytest\\options.exe";

std::string Stored(const char* key) { return GetText(HKEY_CURRENT_USER, key, kProgram, "<missing>"); }

class DelayDialogs : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.loaded());
    ClearProductKeys();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void TearDown() override {
    ClearProductKeys();
    ClearEntries();
  }
  // Stores the program with a delay, title and parameters, lists it and
  // runs the options dialog with drive() working on it.
  int Options(const char* time, const std::string& title, std::function<void(HWND)> drive) {
    SetRegString(HKEY_CURRENT_USER, kDelayKey, kProgram, "11");
    if (time) SetRegString(HKEY_CURRENT_USER, kDelayTimeKey, kProgram, time);
    SetRegString(HKEY_CURRENT_USER, kDelayTitleKey, kProgram, title.c_str());
    SetRegString(HKEY_CURRENT_USER, kDelayParametersKey, kProgram, " /p");
    EXPECT_EQ(BuildDelayedList(), 1);
    bool found = false;
    int result = RunDriven(OwnedBy(owner_.top), drive,
                           [&] { return int(ShowDelayOptions(owner_.top, 0)); }, &found);
    EXPECT_TRUE(found);
    return result;
  }
  ProgramResources program_;
  OwnerWindow owner_;
};

int Choice(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }
void Choose(HWND dialog, int id, int index) { SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0); }
void Type(HWND dialog, int id, const char* text) {
  SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
  SendDlgItemMessageA(dialog, id, EM_REPLACESEL, FALSE, (LPARAM)text);
}

// What each stored delay shows and what Apply then writes: the time only
// when a choice changed and both lists have one.
TEST_F(DelayDialogs, OptionsShowAndWriteTheDelay) {
  struct Row {
    const char* stored;
    int minute, second;        // shown
    int chooseMinute, chooseSecond;  // -2: leave
    const char* written;
  } rows[] = {
      {"30", 0, 3, 2, 4, "160"},      {"95", 1, 3, -2, -2, "95"},
      {"4000", -1, 4, -2, 1, "4000"}, {"-5", -1, -1, -2, -2, "-5"},
      {nullptr, 0, 0, 60, 5, "3650"}, {"600", 10, 0, -2, -2, "600"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.stored ? r.stored : "none");
    ClearProductKeys();
    int shownMinute = -9, shownSecond = -9;
    int result = Options(r.stored, "Options Agent", [&](HWND d) {
      shownMinute = Choice(d, IDC_DELAY_MINUTES);
      shownSecond = Choice(d, IDC_DELAY_SECONDS);
      if (r.chooseMinute != -2) Choose(d, IDC_DELAY_MINUTES, r.chooseMinute);
      if (r.chooseSecond != -2) Choose(d, IDC_DELAY_SECONDS, r.chooseSecond);
      Click(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shownMinute, r.minute);
    EXPECT_EQ(shownSecond, r.second);
    EXPECT_EQ(Stored(kDelayTimeKey), r.written);
    EXPECT_EQ(Stored(kDelayTitleKey), "Options Agent");
    EXPECT_EQ(Stored(kDelayParametersKey), " /p");
  }
}

// Texts, field limits, a long title shown cut and kept unless edited, an
// edit written by Apply and dropped by Close.
TEST_F(DelayDialogs, OptionsFieldsTitleAndClose) {
  const std::string longTitle(200, 'L');
  std::string caption, apply, shownTitle;
  LRESULT titleLimit = 0, parametersLimit = 0;
  EXPECT_EQ(Options("30", longTitle, [&](HWND d) {
              caption = WindowText(d);
              apply = ControlText(d, IDOK);
              shownTitle = ControlText(d, IDC_DELAY_TITLE);
              titleLimit = SendDlgItemMessageA(d, IDC_DELAY_TITLE, EM_GETLIMITTEXT, 0, 0);
              parametersLimit = SendDlgItemMessageA(d, IDC_DELAY_PARAMETERS, EM_GETLIMITTEXT, 0, 0);
              Type(d, IDC_DELAY_PARAMETERS, "-q");
              Click(d, IDOK);
            }),
            IDOK);
  EXPECT_EQ(caption, "Program Delay Startup Options");
  EXPECT_EQ(apply, "&Apply");
  EXPECT_EQ(shownTitle, longTitle.substr(0, 127));
  EXPECT_EQ(titleLimit, 127);
  EXPECT_EQ(parametersLimit, 255);
  EXPECT_EQ(Stored(kDelayTitleKey), longTitle);
  EXPECT_EQ(Stored(kDelayParametersKey), "-q");

  EXPECT_EQ(Options("30", "Old", [&](HWND d) {
              Type(d, IDC_DELAY_TITLE, "");
              Type(d, IDC_DELAY_PARAMETERS, "");
              Click(d, IDOK);
            }),
            IDOK);
  EXPECT_EQ(Stored(kDelayTitleKey), "");
  EXPECT_EQ(Stored(kDelayParametersKey), "");

  EXPECT_EQ(Options("30", "Kept", [&](HWND d) {
              Type(d, IDC_DELAY_TITLE, "Changed");
              Choose(d, IDC_DELAY_MINUTES, 5);
              Click(d, IDCANCEL);
            }),
            IDCANCEL);
  EXPECT_EQ(Stored(kDelayTitleKey), "Kept");
  EXPECT_EQ(Stored(kDelayTimeKey), "30");
}

TEST_F(DelayDialogs, ProgramTypeAnswers) {
  struct Row {
    int click;  // 0: leave the choice
    int button;
    int result;
  } rows[] = {{0, IDOK, kTypeCurrentUser},
              {IDC_TYPE_ALL_USERS, IDOK, kTypeAllUsers},
              {IDC_TYPE_ALL_USERS, IDCANCEL, kTypeCancelled}};
  for (const Row& r : rows) {
    std::string caption;
    bool currentChecked = false;
    bool found = false;
    int result = RunDriven(
        OwnedBy(owner_.top),
        [&](HWND d) {
          caption = WindowText(d);
          currentChecked = IsDlgButtonChecked(d, IDC_TYPE_CURRENT_USER) == BST_CHECKED;
          if (r.click) {
            CheckRadioButton(d, IDC_TYPE_ALL_USERS, IDC_TYPE_CURRENT_USER, r.click);
          }
          Click(d, r.button);
        },
        [&] { return AskProgramType(owner_.top); }, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(result, r.result);
    EXPECT_EQ(caption, "Startup Program Type");
    EXPECT_TRUE(currentChecked);
  }
}

}  // namespace

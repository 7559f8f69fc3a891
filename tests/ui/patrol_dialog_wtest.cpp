// The patrol-time dialog, opened for real from the built program's
// resources and driven through window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"
#include "core/program.h"
#include "core/settings.h"
#include "resources/resource.h"
#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/wine_support.h"
#include "ui/patrol_dialog.h"

using namespace tov;
using namespace testsupport;

namespace {

class PatrolDialogTest : public testing::Test {
 protected:
  ProgramResources program_;
  OwnerWindow owner_;
  void SetUp() override {
    ClearProductKeys();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(program_.loaded());
    for (int i = 0; i < kOptionCount; ++i)
      SetSetting(OptionId(i), OptionInfoOf(OptionId(i)).defaultValue);
  }
  void TearDown() override { ClearProductKeys(); }
  // Opens the dialog for titleId with drive working on it; the dialog result.
  int Open(int titleId, std::function<void(HWND)> drive) {
    bool found = false;
    int result = RunDriven(OwnedBy(owner_.top), std::move(drive),
                           [&] { return PatrolTimeDialog(owner_.top, titleId); }, &found);
    EXPECT_TRUE(found) << "dialog " << titleId << " did not appear";
    return result;
  }
};

int SliderPos(HWND dialog) {
  return int(SendDlgItemMessageA(dialog, IDC_PATROL_SLIDER, TBM_GETPOS, 0, 0));
}
void MoveSlider(HWND dialog, int position) {
  HWND slider = GetDlgItem(dialog, IDC_PATROL_SLIDER);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(slider));
}

struct Seen {
  std::string minutes;
  int slider = -1;
  bool checkShown = false;
};

TEST_F(PatrolDialogTest, EveryTitleShowsItsItem) {
  struct Row {
    int titleId;
    OptionId minutes;
    bool realtime;
  } rows[] = {
      {784, kOptStart, true},      {785, kOptIEHelpers, true}, {786, kOptTasks, false},
      {787, kOptCookies, false},   {788, kOptFileType, true},  {789, kOptNuts, false},
      {790, kOptWinInit, false},   {791, kOptStartPage, true}, {792, kOptHostFile, true},
      {924, kOptHidden, true},     {957, kOptServices, false},
  };
  int value = 10;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.titleId);
    const PatrolItem* item = FindPatrolItem(row.titleId);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->minutes, row.minutes);
    EXPECT_EQ(item->realtime != kOptionCount, row.realtime);
    if (row.realtime) SetSetting(item->realtime, 0);
    SetSetting(row.minutes, ++value);
    char title[256];
    LoadText(row.titleId, title);
    const DialogSnapshot expected = {
        {kCaption, title},
        {IDC_PATROL_MINUTES, std::to_string(value)},
        {IDC_PATROL_UNIT, "minutes."},
        {IDC_PATROL_NOTE, "Set to 0 to disable monitoring."},
        {IDC_PATROL_REALTIME, row.realtime ? "  Monitor in Real-time" : "[hidden]"},
        {IDCANCEL, "Close"}};
    DialogSnapshot seen;
    int slider = -1, sliderMax = -1, limit = -1;
    int result = Open(row.titleId, [&](HWND d) {
      seen = SnapshotLike(d, expected);
      slider = SliderPos(d);
      sliderMax = int(SendDlgItemMessageA(d, IDC_PATROL_SLIDER, TBM_GETRANGEMAX, 0, 0));
      limit = int(SendDlgItemMessageA(d, IDC_PATROL_MINUTES, EM_GETLIMITTEXT, 0, 0));
      Click(d, IDCANCEL);
    });
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(slider, value);
    EXPECT_EQ(sliderMax, 30);
    EXPECT_EQ(limit, 2);
    EXPECT_EQ(result, kPatrolCancelled);
    EXPECT_EQ(Setting(row.minutes), value);  // Close changes nothing
  }
}

TEST_F(PatrolDialogTest, UnknownTitleShowsThreeWithoutCheckBox) {
  Seen seen;
  int result = Open(606, [&](HWND d) {
    seen.minutes = ControlText(d, IDC_PATROL_MINUTES);
    seen.slider = SliderPos(d);
    seen.checkShown = IsShown(d, IDC_PATROL_REALTIME);
    Click(d, IDOK);
  });
  EXPECT_EQ(seen.minutes, "3");
  EXPECT_EQ(seen.slider, 3);
  EXPECT_FALSE(seen.checkShown);
  EXPECT_EQ(result, 3);
  EXPECT_FALSE(ApplyPatrolResult(606, result));
}

TEST_F(PatrolDialogTest, RealtimeStartupOnShowsZeroAndOkTurnsPatrolOff) {
  SetSetting(kOptRealtimeStartup, 1);
  SetSetting(kOptStart, 5);
  bool checked = false, sliderOn = true, boxOn = true;
  std::string minutes;
  int slider = -1;
  int result = Open(kPatrolStartup, [&](HWND d) {
    checked = IsChecked(d, IDC_PATROL_REALTIME);
    sliderOn = IsEnabled(d, IDC_PATROL_SLIDER);
    boxOn = IsEnabled(d, IDC_PATROL_MINUTES);
    minutes = ControlText(d, IDC_PATROL_MINUTES);
    slider = SliderPos(d);
    Screenshot(d, "patrol");
    Click(d, IDOK);
  });
  EXPECT_TRUE(checked);
  EXPECT_FALSE(sliderOn);
  EXPECT_FALSE(boxOn);
  EXPECT_EQ(minutes, "0");
  EXPECT_EQ(slider, 0);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(ApplyPatrolResult(kPatrolStartup, result));
  EXPECT_EQ(Setting(kOptStart), 0);
  EXPECT_EQ(GetOption("Start", -1), 0);
  // The page then shows the real-time picture: off, but real-time.
  EXPECT_FALSE(PatrolIsOn(kPatrolStartup));
  EXPECT_TRUE(PatrolIsRealtime(kPatrolStartup));
  EXPECT_EQ(GetOption("RealtimeStartup", -1), 1);
}

TEST_F(PatrolDialogTest, CheckBoxActsAtOnceAndCloseTakesItBack) {
  SetSetting(kOptRealtimeFileType, 0);
  SetSetting(kOptFileType, 10);
  int flagWhileOpen = -1;
  std::string optionWhileOpen;
  bool sliderOn = true;
  std::string minutes;
  int result = Open(kPatrolFileTypes, [&](HWND d) {
    SendDlgItemMessageA(d, IDC_PATROL_REALTIME, BM_CLICK, 0, 0);
    flagWhileOpen = Setting(kOptRealtimeFileType);
    optionWhileOpen = std::to_string(GetOption("RealtimeFileType", -1));
    sliderOn = IsEnabled(d, IDC_PATROL_SLIDER);
    minutes = ControlText(d, IDC_PATROL_MINUTES);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(flagWhileOpen, 1);
  EXPECT_EQ(optionWhileOpen, "1");
  EXPECT_FALSE(sliderOn);
  EXPECT_EQ(minutes, "0");
  EXPECT_EQ(result, kPatrolCancelled);
  EXPECT_EQ(Setting(kOptRealtimeFileType), 0);
  EXPECT_EQ(GetOption("RealtimeFileType", -1), 0);
  EXPECT_FALSE(ApplyPatrolResult(kPatrolFileTypes, result));
  EXPECT_EQ(Setting(kOptFileType), 10);

  // Unchecking a flag that was on and pressing Escape puts it back on.
  SetSetting(kOptRealtimeHidden, 1);
  SetSetting(kOptHidden, 6);
  std::string restored;
  result = Open(kPatrolHidden, [&](HWND d) {
    SendDlgItemMessageA(d, IDC_PATROL_REALTIME, BM_CLICK, 0, 0);
    restored = ControlText(d, IDC_PATROL_MINUTES);  // filled again from "Hidden"
    SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(restored, "6");
  EXPECT_EQ(result, kPatrolCancelled);
  EXPECT_EQ(Setting(kOptRealtimeHidden), 1);

  // OK keeps the box's state.
  SetSetting(kOptRealtimeIEHelper, 0);
  SetSetting(kOptIEHelpers, 4);
  result = Open(kPatrolIEHelpers, [&](HWND d) {
    SendDlgItemMessageA(d, IDC_PATROL_REALTIME, BM_CLICK, 0, 0);
    Click(d, IDOK);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Setting(kOptRealtimeIEHelper), 1);
  EXPECT_EQ(GetOption("RealtimeIEHelper", -1), 1);
}

TEST_F(PatrolDialogTest, TypedNumberBeyondTheSlider) {
  SetSetting(kOptTasks, 11);
  int slider = -1;
  int result = Open(kPatrolTasks, [&](HWND d) {
    SetDlgItemTextA(d, IDC_PATROL_MINUTES, "45");
    slider = SliderPos(d);
    Click(d, IDOK);
  });
  EXPECT_EQ(slider, 30);
  EXPECT_EQ(result, 45);
  EXPECT_TRUE(ApplyPatrolResult(kPatrolTasks, result));
  EXPECT_EQ(Setting(kOptTasks), 45);
  EXPECT_EQ(GetOption("Tasks", -1), 45);
  EXPECT_TRUE(PatrolIsOn(kPatrolTasks));
  EXPECT_FALSE(PatrolIsRealtime(kPatrolTasks));
}

TEST_F(PatrolDialogTest, SliderWritesTheBoxAndZeroDisablesIt) {
  SetSetting(kOptServices, 7);
  std::string atZero, atTwelve;
  bool boxAtZero = true, boxAtTwelve = false, checkShown = true;
  int result = Open(kPatrolServices, [&](HWND d) {
    checkShown = IsShown(d, IDC_PATROL_REALTIME);
    MoveSlider(d, 0);
    atZero = ControlText(d, IDC_PATROL_MINUTES);
    boxAtZero = IsEnabled(d, IDC_PATROL_MINUTES);
    MoveSlider(d, 12);
    atTwelve = ControlText(d, IDC_PATROL_MINUTES);
    boxAtTwelve = IsEnabled(d, IDC_PATROL_MINUTES);
    Click(d, IDOK);
  });
  EXPECT_FALSE(checkShown);
  EXPECT_EQ(atZero, "0");
  EXPECT_FALSE(boxAtZero);
  EXPECT_EQ(atTwelve, "12");
  EXPECT_TRUE(boxAtTwelve);
  EXPECT_EQ(result, 12);
}

TEST_F(PatrolDialogTest, BoxWithoutANumberGivesZero) {
  SetSetting(kOptCookies, 9);
  int slider = -1;
  int result = Open(kPatrolCookies, [&](HWND d) {
    SetDlgItemTextA(d, IDC_PATROL_MINUTES, "x5");
    slider = SliderPos(d);  // not a number: the slider stays
    Click(d, IDOK);
  });
  EXPECT_EQ(slider, 9);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(ApplyPatrolResult(kPatrolCookies, result));
  EXPECT_EQ(GetOption("Cookies", -1), 0);
}

}  // namespace

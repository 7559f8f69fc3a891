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
#include "tests/support/fixtures.h"
#include "ui/patrol_dialog.h"

using namespace tov;
using namespace testsupport;

namespace {

class PatrolDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    for (int i = 0; i < kOptionCount; ++i)
      SetSetting(OptionId(i), OptionInfoOf(OptionId(i)).defaultValue);
  }
  // Opens the dialog for titleId with drive working on it; the dialog result.
  int Open(int titleId, std::function<void(HWND)> drive) {
    SCOPED_TRACE(titleId);
    return Drive([&] { return PatrolTimeDialog(owner_.top, titleId); }, std::move(drive));
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

// The box, the slider and the check box as the user sees them.
DialogSnapshot Controls(HWND d) {
  return Snapshot(d, {IDC_PATROL_MINUTES, IDC_PATROL_SLIDER, IDC_PATROL_REALTIME});
}
DialogSnapshot Expected(const char* minutes, const char* slider, const char* realtime) {
  return {{IDC_PATROL_MINUTES, minutes}, {IDC_PATROL_SLIDER, slider}, {IDC_PATROL_REALTIME, realtime}};
}
const char kRealtimeOff[] = "  Monitor in Real-time";
const char kRealtimeOn[] = "  Monitor in Real-time [checked]";

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
  DialogSnapshot seen;
  int slider = -1;
  int result = Open(606, [&](HWND d) {
    seen = Controls(d);
    slider = SliderPos(d);
    Click(d, IDOK);
  });
  EXPECT_EQ(seen, Expected("3", "", "[hidden]"));
  EXPECT_EQ(slider, 3);
  EXPECT_EQ(result, 3);
  EXPECT_FALSE(ApplyPatrolResult(606, result));
}

TEST_F(PatrolDialogTest, RealtimeStartupOnShowsZeroAndOkTurnsPatrolOff) {
  SetSetting(kOptRealtimeStartup, 1);
  SetSetting(kOptStart, 5);
  DialogSnapshot seen;
  int slider = -1;
  int result = Open(kPatrolStartup, [&](HWND d) {
    seen = Controls(d);
    slider = SliderPos(d);
    Screenshot(d, "patrol");
    Click(d, IDOK);
  });
  EXPECT_EQ(seen, Expected("0 [disabled]", " [disabled]", kRealtimeOn));
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
  int flagWhileOpen = -1, optionWhileOpen = -1;
  DialogSnapshot seen;
  int result = Open(kPatrolFileTypes, [&](HWND d) {
    SendDlgItemMessageA(d, IDC_PATROL_REALTIME, BM_CLICK, 0, 0);
    flagWhileOpen = Setting(kOptRealtimeFileType);
    optionWhileOpen = GetOption("RealtimeFileType", -1);
    seen = Controls(d);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(flagWhileOpen, 1);
  EXPECT_EQ(optionWhileOpen, 1);
  EXPECT_EQ(seen, Expected("0 [disabled]", " [disabled]", kRealtimeOn));
  EXPECT_EQ(result, kPatrolCancelled);
  EXPECT_EQ(Setting(kOptRealtimeFileType), 0);
  EXPECT_EQ(GetOption("RealtimeFileType", -1), 0);
  EXPECT_FALSE(ApplyPatrolResult(kPatrolFileTypes, result));
  EXPECT_EQ(Setting(kOptFileType), 10);

  // Unchecking a flag that was on and pressing Escape puts it back on.
  SetSetting(kOptRealtimeHidden, 1);
  SetSetting(kOptHidden, 6);
  result = Open(kPatrolHidden, [&](HWND d) {
    SendDlgItemMessageA(d, IDC_PATROL_REALTIME, BM_CLICK, 0, 0);
    seen = Controls(d);  // the box filled again from "Hidden"
    SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(seen, Expected("6", "", kRealtimeOff));
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
  DialogSnapshot atZero, atTwelve;
  int result = Open(kPatrolServices, [&](HWND d) {
    MoveSlider(d, 0);
    atZero = Controls(d);
    MoveSlider(d, 12);
    atTwelve = Controls(d);
    Click(d, IDOK);
  });
  EXPECT_EQ(atZero, Expected("0 [disabled]", "", "[hidden]"));
  EXPECT_EQ(atTwelve, Expected("12", "", "[hidden]"));
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

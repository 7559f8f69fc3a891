// Dialogs and message boxes from a test: finding them (in this process or
// in a running TovrelEx), reading their controls as one snapshot, pressing
// their buttons, answering them, and driving a modal dialog that this
// thread opens from a second thread.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>

namespace testsupport {

// Which dialog to look for. Every field left at its default matches any
// visible "#32770" window; message boxes (which Wine draws as "#32770" too)
// carry their text in a Static with id 65535.
struct DialogQuery {
  HWND owner = nullptr;         // owned by this window
  DWORD process = 0;            // of this process (0: any)
  const char* caption = nullptr;  // with exactly this caption
  bool messageBox = false;      // only message boxes
  HWND except = nullptr;        // not this one (a sheet, say)
};
DialogQuery OwnedBy(HWND owner);
DialogQuery OfProcess(DWORD process);
DialogQuery OfProcessOf(HWND window);  // the process that owns the window
DialogQuery MessageBoxOf(HWND window);  // a message box of the window's process

HWND FindDialog(const DialogQuery& query);
// Polls until a matching dialog shows; null after ms.
HWND WaitDialog(const DialogQuery& query, DWORD ms = 8000);
// Waits until the window is gone; false after ms.
bool WaitClosed(HWND window, DWORD ms = 8000);

// Controls, by id; work across processes (WM_GETTEXT is marshalled).
std::string ControlText(HWND dialog, int id);
std::string WindowText(HWND window);
bool IsShown(HWND dialog, int id);  // the control's own WS_VISIBLE style
bool IsEnabled(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// Sends a button click and returns once the dialog handled it (false when
// it did not within ms, for example because it opened a modal box).
bool Click(HWND dialog, int id, DWORD ms = 10000);
// A user's click on a check box: its state flips, then BN_CLICKED is sent
// as Click sends it (for a box that opens a message, flip with
// FlipCheckBox and Press instead).
bool ClickCheckBox(HWND dialog, int id, DWORD ms = 10000);
void FlipCheckBox(HWND dialog, int id);
// Posts a button click: for a command that opens a modal box. The caller
// then waits for the effect (the box, or what the command changes).
void Press(HWND dialog, int id);
// Sends WM_NULL and waits for the answer: every message the window's thread
// is already handling (a command that showed a box, say) has ended by then.
// It does not wait for messages still queued: a sent message overtakes them.
bool Settle(HWND window, DWORD ms = 10000);

// A dialog as a test compares it: control id to "text", with " [disabled]"
// and " [checked]" added where they apply; a hidden control reads
// "[hidden]" whatever its text. Key kCaption holds the dialog's caption.
using DialogSnapshot = std::map<int, std::string>;
constexpr int kCaption = 0;
DialogSnapshot Snapshot(HWND dialog, std::initializer_list<int> ids);
// The same controls as `expected` holds, so EXPECT_EQ(expected, seen) prints
// only the two maps.
DialogSnapshot SnapshotLike(HWND dialog, const DialogSnapshot& expected);

// Waits for a message box of the window's process, presses `button` and
// waits until it is gone; returns its text ("" when no box came).
std::string AnswerMessageBox(HWND window, int button, DWORD ms = 8000);

// Answers, from a second thread and until it goes out of scope, every
// dialog that matches `query` by pressing `button` (a failing shell call
// must not leave the test waiting on an error box). `answered` counts them.
class DialogAnswerer {
 public:
  DialogAnswerer(DialogQuery query, int button);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  int answered() const { return answered_; }

 private:
  static DWORD WINAPI Run(void* self);
  DialogQuery query_;
  int button_;
  volatile LONG stop_ = 0;
  volatile LONG answered_ = 0;
  HANDLE thread_ = nullptr;
};

// Runs open() on this thread (it shows a modal dialog and returns when the
// dialog ends) while drive(dialog) works on the first dialog matching query
// from a second thread. A dialog drive() leaves open is cancelled, so no
// test waits forever. *found tells whether the dialog appeared. Assertions
// belong after the call, on this thread: drive() only records what it sees.
int RunDriven(const DialogQuery& query, std::function<void(HWND)> drive, std::function<int()> open,
              bool* found);

// Layout facts: a control's top in its dialog's client area, a window's
// height, the screen's dots per inch.
int ControlTop(HWND dialog, int id);
int WindowHeight(HWND window);
int ScreenDpi();

// Copies the window's screen rectangle into "<TOVREL_SHOT_DIR>\<name>.bmp"
// when that variable names a folder; does nothing otherwise.
void Screenshot(HWND window, const char* name);

// A hidden top-level window to own dialogs, with a child standing in for a
// page's list.
struct OwnerWindow {
  HWND top = nullptr;
  HWND child = nullptr;
  OwnerWindow();
  ~OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
};

}  // namespace testsupport

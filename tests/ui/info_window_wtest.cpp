// The information window, opened for real from the built program's
// resources over a small entry list and driven through window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "core/files.h"
#include "core/messages.h"
#include "core/program.h"
#include "core/registry.h"
#include "core/text.h"
#include "resources/resource.h"
#include "startup/entries.h"
#include "tests/support/dialogs.h"
#include "tests/support/program_resources.h"
#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"
#include "ui/info_window.h"
#include "ui/look.h"

using namespace tov;
using namespace testsupport;

namespace {

constexpr char kGhost[] = "C:\\nowhere\\ghost.exe /quiet";

class InfoWindowTest : public testing::Test {
 protected:
  ProgramResources program_;
  OwnerWindow owner_;
  std::string exe_;
  char programPath_[kPathCapacity] = "";
  char notePath_[kPathCapacity] = "";

  void SetUp() override {
    ClearProductKeys();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    exe_ = BinPath("TovrelEx.exe");
    ASSERT_TRUE(program_.loaded());
    CreateProgramFonts();
    ClearEntries();
    ASSERT_EQ(AddEntry("Fixture Program", exe_.c_str(), "", "", 11, 0), 1);
    ASSERT_EQ(AddEntry("Ghost", kGhost, "", "", 1, 0), 1);
    ASSERT_EQ(AddEntry("Helper Object", exe_.c_str(), "", "{0000}", 900, 0), 1);
    ProgramOfCommand(EntryAt(0)->path, programPath_);
    NotePath(EntryAt(0)->path, notePath_);
    DeleteFileA(notePath_);
  }
  void TearDown() override {
    DeleteFileA(notePath_);
    ClearEntries();
    ClearProductKeys();
  }
  void Open(int index, std::function<void(HWND)> drive) {
    bool found = false;
    RunDriven(OwnedBy(owner_.child), std::move(drive),
              [&] {
                InfoWindow(owner_.child, index);
                return 0;
              },
              &found);
    EXPECT_TRUE(found) << "the information window did not appear";
  }
};

std::string LoadString(int id) {
  char text[kMessageCapacity];
  LoadText(id, text);
  return text;
}

TEST_F(InfoWindowTest, ShowsTheFieldsOfAKnownProgram) {
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\Detected\\Startup", programPath_,
               "2007-01-02 10:00");
  WIN32_FILE_ATTRIBUTE_DATA facts;
  ASSERT_TRUE(GetFileAttributesExA(exe_.c_str(), GetFileExInfoStandard, &facts));
  char size[32];
  GroupThousands(facts.nFileSizeLow, size, sizeof size);
  EXPECT_NE(std::string(size).find(','), std::string::npos);
  const DialogSnapshot expected = {
      {kCaption, "Fixture Program"},
      {IDC_INFO_DESCRIPTION, "Tovrel Explorer"},
      {IDC_INFO_PRODUCT, "Tovrel"},
      {IDC_INFO_VERSION, "11.2.2007.1"},
      {IDC_INFO_COMPANY, "Brenvik"},
      {IDC_INFO_COPYRIGHT, "Copyright (C) 2007 Brenvik"},
      {IDC_INFO_PATH, programPath_},
      {IDC_INFO_STATUS, "Ready"},
      {IDC_INFO_DETECTED, "2007-01-02 10:00"},
      {IDC_INFO_SIZE, size},
      {IDC_INFO_RUN, "Run"},
      {IDC_INFO_KILL, "[hidden]"},
      {IDC_INFO_START_TYPE, "[hidden]"},
      {IDOK, "Close"},
      {IDC_INFO_NOTE_BUTTON, "&Create Note"}};
  DialogSnapshot seen;
  std::string location, created, saved, notes;
  bool notesReadOnly = false;
  Open(0, [&](HWND d) {
    seen = SnapshotLike(d, expected);
    location = ControlText(d, IDC_INFO_LOCATION);
    created = ControlText(d, IDC_INFO_CREATED);
    saved = ControlText(d, IDC_INFO_SAVED);
    notes = ControlText(d, IDC_INFO_NOTES);
    notesReadOnly = (GetWindowLongA(GetDlgItem(d, IDC_INFO_NOTES), GWL_STYLE) & ES_READONLY) != 0;
    Click(d, IDOK);
  });
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(location.rfind("Startup Location: ", 0), 0u) << location;
  EXPECT_GT(location.size(), strlen("Startup Location: "));
  EXPECT_FALSE(created.empty());
  EXPECT_FALSE(saved.empty());
  EXPECT_EQ(notes, LoadString(647));
  EXPECT_TRUE(notesReadOnly);
  // Closing saved the window's place.
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "xInfo"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "dyInfo"));
}

TEST_F(InfoWindowTest, StepsThroughTheListWrappingAtBothEnds) {
  std::string afterNext, afterPrevious, afterSecondPrevious, ghostStatus, ghostProduct,
      ghostNotes, ghostSize, helperLocation;
  bool helperStatusShown = true, helperRunShown = true;
  Open(2, [&](HWND d) {
    helperLocation = ControlText(d, IDC_INFO_LOCATION);
    helperStatusShown = IsShown(d, IDC_INFO_STATUS);
    helperRunShown = IsShown(d, IDC_INFO_RUN);
    Click(d, IDC_INFO_NEXT);  // last -> first
    afterNext = WindowText(d);
    Click(d, IDC_INFO_PREVIOUS);  // first -> last
    afterPrevious = WindowText(d);
    Click(d, IDC_INFO_PREVIOUS);
    afterSecondPrevious = WindowText(d);
    ghostStatus = ControlText(d, IDC_INFO_STATUS);
    ghostProduct = ControlText(d, IDC_INFO_PRODUCT);
    ghostNotes = ControlText(d, IDC_INFO_NOTES);
    ghostSize = ControlText(d, IDC_INFO_SIZE);
    Click(d, IDOK);
  });
  EXPECT_EQ(helperLocation,
            "Location: \"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser "
            "Helper Objects\"");
  EXPECT_FALSE(helperStatusShown);
  EXPECT_FALSE(helperRunShown);
  EXPECT_EQ(afterNext, "Fixture Program");
  EXPECT_EQ(afterPrevious, "Helper Object");
  EXPECT_EQ(afterSecondPrevious, "Ghost");
  // A program file that is missing still shows, without file facts.
  EXPECT_EQ(ghostStatus, "Local File not found.");
  EXPECT_EQ(ghostProduct, "");
  EXPECT_EQ(ghostSize, "");
  EXPECT_EQ(ghostNotes, LoadString(647));
}

TEST_F(InfoWindowTest, ExpandedFlagFlipsOnOpeningAndOnTheButton) {
  SetInfoExpanded(true);
  int dpi = ScreenDpi();
  struct Form {
    int height = 0, closeTop = 0;
    bool notes = false, noteButton = false, created = false;
    std::string expandText;
  };
  auto read = [](HWND d) {
    Form f;
    f.height = WindowHeight(d);
    f.closeTop = ControlTop(d, IDOK);
    f.notes = IsShown(d, IDC_INFO_NOTES);
    f.noteButton = IsShown(d, IDC_INFO_NOTE_BUTTON);
    f.created = IsShown(d, IDC_INFO_CREATED_LABEL);
    f.expandText = ControlText(d, IDC_INFO_EXPAND);
    return f;
  };
  Form shortForm, expandedForm;
  Open(0, [&](HWND d) {
    shortForm = read(d);
    Screenshot(d, "info_short");
    Click(d, IDC_INFO_EXPAND);
    expandedForm = read(d);
    Screenshot(d, "info_expanded");
    Click(d, IDOK);
  });
  EXPECT_EQ(shortForm.height, ScaleForDpi(kInfoShortHeight, dpi));
  EXPECT_EQ(shortForm.closeTop, ScaleForDpi(kInfoButtonRowShort, dpi));
  EXPECT_FALSE(shortForm.notes);
  EXPECT_FALSE(shortForm.noteButton);
  EXPECT_FALSE(shortForm.created);
  EXPECT_EQ(shortForm.expandText, "E&xpand Info");
  EXPECT_EQ(expandedForm.height, ScaleForDpi(kInfoExpandedHeight, dpi));
  EXPECT_EQ(expandedForm.closeTop, ScaleForDpi(kInfoButtonRowExpanded, dpi));
  EXPECT_TRUE(expandedForm.notes);
  EXPECT_TRUE(expandedForm.noteButton);
  EXPECT_TRUE(expandedForm.created);
  EXPECT_EQ(expandedForm.expandText, "Shrin&k Window");
  EXPECT_TRUE(InfoExpanded());
  // The next opening flips it back: short again.
  Form again;
  Open(1, [&](HWND d) {
    again = read(d);
    Click(d, IDOK);
  });
  EXPECT_FALSE(InfoExpanded());
  EXPECT_EQ(again.height, ScaleForDpi(kInfoShortHeight, dpi));
}

TEST_F(InfoWindowTest, CreatesAndSavesANote) {
  ASSERT_FALSE(NoteExists(EntryAt(0)->path));
  std::string created, saved;
  bool editable = false, enabledAfterCreate = true, enabledAfterEdit = false,
       enabledAfterSave = true;
  std::string captionAfterCreate;
  SetInfoExpanded(false);  // opens expanded
  Open(0, [&](HWND d) {
    Click(d, IDC_INFO_NOTE_BUTTON);
    created = ReadWholeFile(notePath_);
    editable = (GetWindowLongA(GetDlgItem(d, IDC_INFO_NOTES), GWL_STYLE) & ES_READONLY) == 0;
    captionAfterCreate = ControlText(d, IDC_INFO_NOTE_BUTTON);
    enabledAfterCreate = IsEnabled(d, IDC_INFO_NOTE_BUTTON);
    // Typed over the whole text (a multi-line box reports no change for
    // WM_SETTEXT).
    SendDlgItemMessageA(d, IDC_INFO_NOTES, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(d, IDC_INFO_NOTES, EM_REPLACESEL, TRUE,
                        reinterpret_cast<LPARAM>("Checked by hand.\r\nKeep it."));
    enabledAfterEdit = IsEnabled(d, IDC_INFO_NOTE_BUTTON);
    Click(d, IDC_INFO_NOTE_BUTTON);
    saved = ReadWholeFile(notePath_);
    enabledAfterSave = IsEnabled(d, IDC_INFO_NOTE_BUTTON);
    Click(d, IDOK);
  });
  EXPECT_EQ(created, std::string("Fixture Program\r\n") + programPath_ + "\r\n");
  EXPECT_TRUE(editable);
  EXPECT_EQ(captionAfterCreate, "&Save Note");
  EXPECT_FALSE(enabledAfterCreate);
  EXPECT_TRUE(enabledAfterEdit);
  EXPECT_EQ(saved, "Checked by hand.\r\nKeep it.");
  EXPECT_FALSE(enabledAfterSave);
  // The note lives in the data folder under the program's name, and the
  // pages' Info button now shows it.
  std::string name = notePath_;
  EXPECT_NE(name.find("\\Tovrel\\note_TOVRELEX.txt"), std::string::npos) << name;
  EXPECT_TRUE(NoteExists(EntryAt(0)->path));
  EXPECT_FALSE(NoteExists(EntryAt(1)->path));

  // Opened again, the note is shown and can be edited.
  std::string notes, button;
  Open(0, [&](HWND d) {
    notes = ControlText(d, IDC_INFO_NOTES);
    button = ControlText(d, IDC_INFO_NOTE_BUTTON);
    Click(d, IDOK);
  });
  EXPECT_EQ(notes, "Checked by hand.\r\nKeep it.");
  EXPECT_EQ(button, "&Save Note");
}

TEST_F(InfoWindowTest, LongNoteIsCutAtItsLimit) {
  std::string text(kNoteLimit + 100, 'n');
  ASSERT_TRUE(WriteNoteFile(notePath_, text.c_str()));
  EXPECT_EQ(ReadWholeFile(notePath_).size(), kNoteLimit);
  EXPECT_FALSE(WriteNoteFile("", "x"));
}

TEST_F(InfoWindowTest, SiteRootAndKnowledgeBasePages) {
  char root[260];
  SiteRoot(root, sizeof root);
  EXPECT_STREQ(root, kDefaultSiteRoot);
  SetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "SiteRoot", "http://mirror.test");
  SiteRoot(root, sizeof root);
  EXPECT_STREQ(root, "http://mirror.test/");

  char page[260];
  EXPECT_FALSE(KnowledgeBasePage("AGENT.EXE", page));
  EXPECT_STREQ(page, "");
  std::string folder = BinFolder() + "\\kbase";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string file = folder + "\\agent.html";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(KnowledgeBasePage("AGENT.EXE", page));
  EXPECT_EQ(std::string(page), file);
  EXPECT_TRUE(KnowledgeBasePage("Agent-Updater.exe", page));
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}


TEST_F(InfoWindowTest, ServiceEntryShowsItsStartTypeControls) {
  ClearEntries();
  ASSERT_EQ(AddEntry("Spooler Service", exe_.c_str(), "Manual", "Prints.", 700, 0), 1);
  const DialogSnapshot expected = {
      {IDC_INFO_START_LABEL, "Startup Type:"},
      {IDC_INFO_START_TYPE, "Manual"},
      {IDC_INFO_APPLY, "&Apply [disabled]"},
      {IDC_INFO_KILL, "&Stop [disabled]"},  // the service does not answer
      {IDC_INFO_RUN, "[hidden]"},
      {IDC_INFO_LOCATION, ""},
      {IDC_INFO_NOTES, "Prints."}};
  DialogSnapshot seen;
  bool applyAfterChoice = false, applyBackToSame = true;
  Open(0, [&](HWND d) {
    seen = SnapshotLike(d, expected);
    HWND types = GetDlgItem(d, IDC_INFO_START_TYPE);
    auto choose = [&](int row) {
      SendMessageA(types, CB_SETCURSEL, row, 0);
      SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_INFO_START_TYPE, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(types));
      return IsEnabled(d, IDC_INFO_APPLY);
    };
    applyAfterChoice = choose(2);
    applyBackToSame = choose(1);
    Screenshot(d, "info_service");
    Click(d, IDOK);
  });
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(applyAfterChoice);
  EXPECT_FALSE(applyBackToSame);
}

TEST_F(InfoWindowTest, FileTypeAndSystemLocationTexts) {
  ClearEntries();
  ASSERT_EQ(AddEntry("Text Document", exe_.c_str(), "txtfile", ".txt", 400, 0), 1);
  ASSERT_EQ(AddEntry("Userinit", exe_.c_str(), "", "", 250, 0), 1);
  std::string typeLocation, typeNotes, systemNotes;
  bool systemRun = true, systemStatus = false;
  Open(0, [&](HWND d) {
    typeLocation = ControlText(d, IDC_INFO_LOCATION);
    typeNotes = ControlText(d, IDC_INFO_NOTES);
    Click(d, IDC_INFO_NEXT);
    systemNotes = ControlText(d, IDC_INFO_NOTES);
    systemRun = IsShown(d, IDC_INFO_RUN);
    systemStatus = IsShown(d, IDC_INFO_STATUS);
    Click(d, IDOK);
  });
  EXPECT_EQ(typeLocation, "");
  EXPECT_EQ(typeNotes, "File Type Extension: .txt");
  // Not a Microsoft file, no service: the standard explanation; no Run.
  EXPECT_EQ(systemNotes, LoadString(647));
  EXPECT_FALSE(systemRun);
  EXPECT_TRUE(systemStatus);
}

}  // namespace

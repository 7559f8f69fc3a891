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
#include "core/entries.h"
#include "startup/entry_facts.h"
#include "tests/support/wine_support.h"
#include "tests/ui/dialog_driver.h"
#include "ui/info_window.h"
#include "ui/look.h"

using namespace tov;
using namespace uitest;

namespace {

constexpr char kGhost[] = "C:\\nowhere\\ghost.exe /quiet";

class InfoWindowTest : public testing::Test {
 protected:
  HMODULE program_ = nullptr;
  OwnerWindow owner_;
  std::string exe_;
  char programPath_[kPathCapacity] = "";
  char notePath_[kPathCapacity] = "";

  void SetUp() override {
    testsupport::ClearProductKeys();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    exe_ = testsupport::BinPath("TovrelEx.exe");
    program_ = LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program_);
    SetProgramInstance(program_);
    SetProgramCaption("Tovrel");
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
    SetProgramInstance(nullptr);
    if (program_) FreeLibrary(program_);
    testsupport::ClearProductKeys();
  }
  void Open(int index, std::function<void(HWND)> drive) {
    bool found = false;
    RunDriven(owner_.top, std::move(drive),
              [&] {
                InfoWindow(owner_.child, index, LocationText);
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
  struct {
    std::string caption, description, product, version, company, copyright, path, location,
        status, detected, size, created, saved, run, close, notes, noteButton;
    bool runShown = false, killShown = true, startTypeShown = true, notesReadOnly = false;
  } seen;
  Open(0, [&](HWND d) {
    seen.caption = Caption(d);
    seen.description = Text(d, IDC_INFO_DESCRIPTION);
    seen.product = Text(d, IDC_INFO_PRODUCT);
    seen.version = Text(d, IDC_INFO_VERSION);
    seen.company = Text(d, IDC_INFO_COMPANY);
    seen.copyright = Text(d, IDC_INFO_COPYRIGHT);
    seen.path = Text(d, IDC_INFO_PATH);
    seen.location = Text(d, IDC_INFO_LOCATION);
    seen.status = Text(d, IDC_INFO_STATUS);
    seen.detected = Text(d, IDC_INFO_DETECTED);
    seen.size = Text(d, IDC_INFO_SIZE);
    seen.created = Text(d, IDC_INFO_CREATED);
    seen.saved = Text(d, IDC_INFO_SAVED);
    seen.run = Text(d, IDC_INFO_RUN);
    seen.close = Text(d, IDOK);
    seen.notes = Text(d, IDC_INFO_NOTES);
    seen.noteButton = Text(d, IDC_INFO_NOTE_BUTTON);
    seen.runShown = Visible(d, IDC_INFO_RUN);
    seen.killShown = Visible(d, IDC_INFO_KILL);
    seen.startTypeShown = Visible(d, IDC_INFO_START_TYPE);
    seen.notesReadOnly =
        (GetWindowLongA(GetDlgItem(d, IDC_INFO_NOTES), GWL_STYLE) & ES_READONLY) != 0;
    Click(d, IDOK);
  });
  EXPECT_EQ(seen.caption, "Fixture Program");
  EXPECT_EQ(seen.description, "Tovrel Explorer");
  EXPECT_EQ(seen.product, "Tovrel");
  EXPECT_EQ(seen.version, "11.2.2007.1");
  EXPECT_EQ(seen.company, "Brenvik");
  EXPECT_EQ(seen.copyright, "Copyright (C) 2007 Brenvik");
  EXPECT_EQ(seen.path, programPath_);
  EXPECT_EQ(seen.location.rfind("Startup Location: ", 0), 0u) << seen.location;
  EXPECT_GT(seen.location.size(), strlen("Startup Location: "));
  EXPECT_EQ(seen.status, "Ready");
  EXPECT_TRUE(seen.runShown);
  EXPECT_EQ(seen.run, "Run");
  EXPECT_FALSE(seen.killShown);
  EXPECT_FALSE(seen.startTypeShown);
  EXPECT_EQ(seen.detected, "2007-01-02 10:00");
  WIN32_FILE_ATTRIBUTE_DATA facts;
  ASSERT_TRUE(GetFileAttributesExA(exe_.c_str(), GetFileExInfoStandard, &facts));
  char size[32];
  GroupThousands(facts.nFileSizeLow, size, sizeof size);
  EXPECT_EQ(seen.size, size);
  EXPECT_NE(seen.size.find(','), std::string::npos);
  EXPECT_FALSE(seen.created.empty());
  EXPECT_FALSE(seen.saved.empty());
  EXPECT_EQ(seen.close, "Close");
  EXPECT_EQ(seen.notes, LoadString(647));
  EXPECT_TRUE(seen.notesReadOnly);
  EXPECT_EQ(seen.noteButton, "&Create Note");
  // Closing saved the window's place.
  char x[16], dy[16];
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "xInfo", x), 0u);
  EXPECT_GT(GetRegString(HKEY_CURRENT_USER, "Software\\Brenvik\\Tovrel", "dyInfo", dy), 0u);
}

TEST_F(InfoWindowTest, StepsThroughTheListWrappingAtBothEnds) {
  std::string afterNext, afterPrevious, afterSecondPrevious, ghostStatus, ghostProduct,
      ghostNotes, ghostSize, helperLocation;
  bool helperStatusShown = true, helperRunShown = true;
  Open(2, [&](HWND d) {
    helperLocation = Text(d, IDC_INFO_LOCATION);
    helperStatusShown = Visible(d, IDC_INFO_STATUS);
    helperRunShown = Visible(d, IDC_INFO_RUN);
    Click(d, IDC_INFO_NEXT);  // last -> first
    afterNext = Caption(d);
    Click(d, IDC_INFO_PREVIOUS);  // first -> last
    afterPrevious = Caption(d);
    Click(d, IDC_INFO_PREVIOUS);
    afterSecondPrevious = Caption(d);
    ghostStatus = Text(d, IDC_INFO_STATUS);
    ghostProduct = Text(d, IDC_INFO_PRODUCT);
    ghostNotes = Text(d, IDC_INFO_NOTES);
    ghostSize = Text(d, IDC_INFO_SIZE);
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
    f.closeTop = ClientTop(d, IDOK);
    f.notes = Visible(d, IDC_INFO_NOTES);
    f.noteButton = Visible(d, IDC_INFO_NOTE_BUTTON);
    f.created = Visible(d, IDC_INFO_CREATED_LABEL);
    f.expandText = Text(d, IDC_INFO_EXPAND);
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
    created = testsupport::ReadWholeFile(notePath_);
    editable = (GetWindowLongA(GetDlgItem(d, IDC_INFO_NOTES), GWL_STYLE) & ES_READONLY) == 0;
    captionAfterCreate = Text(d, IDC_INFO_NOTE_BUTTON);
    enabledAfterCreate = Enabled(d, IDC_INFO_NOTE_BUTTON);
    // Typed over the whole text (a multi-line box reports no change for
    // WM_SETTEXT).
    SendDlgItemMessageA(d, IDC_INFO_NOTES, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(d, IDC_INFO_NOTES, EM_REPLACESEL, TRUE,
                        reinterpret_cast<LPARAM>("Checked by hand.\r\nKeep it."));
    enabledAfterEdit = Enabled(d, IDC_INFO_NOTE_BUTTON);
    Click(d, IDC_INFO_NOTE_BUTTON);
    saved = testsupport::ReadWholeFile(notePath_);
    enabledAfterSave = Enabled(d, IDC_INFO_NOTE_BUTTON);
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
    notes = Text(d, IDC_INFO_NOTES);
    button = Text(d, IDC_INFO_NOTE_BUTTON);
    Click(d, IDOK);
  });
  EXPECT_EQ(notes, "Checked by hand.\r\nKeep it.");
  EXPECT_EQ(button, "&Save Note");
}

TEST_F(InfoWindowTest, LongNoteIsCutAtItsLimit) {
  std::string text(kNoteLimit + 100, 'n');
  ASSERT_TRUE(WriteNoteFile(notePath_, text.c_str()));
  EXPECT_EQ(testsupport::ReadWholeFile(notePath_).size(), kNoteLimit);
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
  std::string folder = testsupport::BinFolder() + "\\kbase";
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

}  // namespace

namespace {

TEST_F(InfoWindowTest, ServiceEntryShowsItsStartTypeControls) {
  ClearEntries();
  ASSERT_EQ(AddEntry("Spooler Service", exe_.c_str(), "Manual", "Prints.", 700, 0), 1);
  struct {
    bool startShown = false, applyShown = false, applyEnabled = true, applyAfterChoice = false,
         applyBackToSame = true, stopShown = false, stopEnabled = true, runShown = true;
    std::string stop, apply, startLabel, chosen, location, notes;
  } seen;
  Open(0, [&](HWND d) {
    seen.startShown = Visible(d, IDC_INFO_START_TYPE);
    seen.applyShown = Visible(d, IDC_INFO_APPLY);
    seen.applyEnabled = Enabled(d, IDC_INFO_APPLY);
    seen.stopShown = Visible(d, IDC_INFO_KILL);
    seen.stopEnabled = Enabled(d, IDC_INFO_KILL);  // the service does not answer
    seen.runShown = Visible(d, IDC_INFO_RUN);
    seen.stop = Text(d, IDC_INFO_KILL);
    seen.apply = Text(d, IDC_INFO_APPLY);
    seen.startLabel = Text(d, IDC_INFO_START_LABEL);
    seen.chosen = Text(d, IDC_INFO_START_TYPE);
    seen.location = Text(d, IDC_INFO_LOCATION);
    seen.notes = Text(d, IDC_INFO_NOTES);
    HWND types = GetDlgItem(d, IDC_INFO_START_TYPE);
    SendMessageA(types, CB_SETCURSEL, 2, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_INFO_START_TYPE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(types));
    seen.applyAfterChoice = Enabled(d, IDC_INFO_APPLY);
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_INFO_START_TYPE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(types));
    seen.applyBackToSame = Enabled(d, IDC_INFO_APPLY);
    Screenshot(d, "info_service");
    Click(d, IDOK);
  });
  EXPECT_TRUE(seen.startShown);
  EXPECT_TRUE(seen.applyShown);
  EXPECT_FALSE(seen.applyEnabled);
  EXPECT_TRUE(seen.stopShown);
  EXPECT_FALSE(seen.stopEnabled);
  EXPECT_FALSE(seen.runShown);
  EXPECT_EQ(seen.stop, "&Stop");
  EXPECT_EQ(seen.apply, "&Apply");
  EXPECT_EQ(seen.startLabel, "Startup Type:");
  EXPECT_EQ(seen.chosen, "Manual");
  EXPECT_EQ(seen.location, "");
  EXPECT_EQ(seen.notes, "Prints.");
  EXPECT_TRUE(seen.applyAfterChoice);
  EXPECT_FALSE(seen.applyBackToSame);
}

TEST_F(InfoWindowTest, FileTypeAndSystemLocationTexts) {
  ClearEntries();
  ASSERT_EQ(AddEntry("Text Document", exe_.c_str(), "txtfile", ".txt", 400, 0), 1);
  ASSERT_EQ(AddEntry("Userinit", exe_.c_str(), "", "", 250, 0), 1);
  std::string typeLocation, typeNotes, systemNotes;
  bool systemRun = true, systemStatus = false;
  Open(0, [&](HWND d) {
    typeLocation = Text(d, IDC_INFO_LOCATION);
    typeNotes = Text(d, IDC_INFO_NOTES);
    Click(d, IDC_INFO_NEXT);
    systemNotes = Text(d, IDC_INFO_NOTES);
    systemRun = Visible(d, IDC_INFO_RUN);
    systemStatus = Visible(d, IDC_INFO_STATUS);
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

// The end of a run: what the close asks, what it saves and when it refuses;
// what every close writes; and the automatic save, which never runs in the
// middle of something else.
#include "AboutDialog.h"
#include "KbfFormat.h"
#include "ModalScript.h"
#include "Progress.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "StartedMain.h"
#include "Streams.h"
#include "TreeView.h"
#include "UncommittedTyping.h"
#include "WatcherHandshake.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const char* const FileQuestion = "Current file is changed. Would you like to save changes?";
const char* const OptionsQuestion = "Would you like to save changes made to options?";

void WriteOutline(const std::string& path, const std::string& rootTitle)
{
    KbfOutline outline;
    KbfPage root;
    root.title = rootTitle;
    outline.pages.push_back(root);
    KbfPage page;
    page.title = "Page";
    outline.pages.push_back(page);
    TFileStream file(path, fmCreate | fmShareExclusive);
    WriteKbf(file, outline, KbfStamp{"1 January 2026 12:00", "Test"});
}

// The root page the file holds now.
KbfPage StoredRoot(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    KbfOutline outline;
    ReadKbfBytes(bytes.str(), outline);
    return outline.pages.front();
}

std::string StoredRootTitle(const std::string& path) { return StoredRoot(path).title; }

class Close : public StartedMain {
protected:
    // A named outline, opened at start, its root retitled without saving.
    void StartWithChangedOutline()
    {
        outline_ = PathOf("Notes.kbf");
        WriteOutline(outline_, "Top");
        // What the store held before this run's close.
        user.LastDb = "C:\\Before.kbf";
        user.Width = 600;
        Start({outline_});
        ASSERT_EQ(CurrentFileName, outline_);
        Main->Tree->Items().GetFirstNode()->SetText("Changed");
        OutlineProperties.FileChanged = 1;
    }
    bool OutlineSaved() const { return StoredRootTitle(outline_) == "Changed"; }
    bool SettingsSaved() const { return StoredText("User", "LastDb") != "C:\\Before.kbf"; }
    bool CloseStateWritten() const { return StoredNumber("Reopen", "Count") >= 0 && RawKeyExists(base_ + "\\States"); }
    // A fresh start for the next case: no window, no file, no close state.
    void Restart()
    {
        Application.DestroyForms();
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        CurrentFileName = UntitledFileName;
        RegDeleteTreeA(HKEY_CURRENT_USER, (base_ + "\\States").c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, (base_ + "\\Reopen").c_str(), "Count");
    }

    std::string outline_;
};

} // namespace

TEST_F(Close, AnUnchangedOutlineClosesWithoutAQuestion)
{
    user.LastDb = "C:\\Before.kbf";
    Start({"/m"});
    Main->Close();
    EXPECT_TRUE(Main->Closed());
    EXPECT_EQ(StoredText("User", "LastDb"), "Untitled");
    EXPECT_TRUE(CloseStateWritten());
    EXPECT_EQ(Main->Caption(), "Closing Quillo...");
    ASSERT_EQ(shellOpened.size(), 1u);
    EXPECT_EQ(shellOpened[0], WatcherPath());
    EXPECT_EQ(Main->FExportProfiles, nullptr);
}

TEST_F(Close, AChangedOutlineAsksAndDoesWhatTheAnswerSays)
{
    struct Case {
        const char* name;
        int answer;
        bool closes;
        bool outlineSaved;
    };
    const Case cases[] = {
        {"Cancel", IDCANCEL, false, false},
        {"No", IDNO, true, false},
        {"Yes", IDYES, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithChangedOutline();
        {
            ScriptedMessageBoxes boxes;
            boxes.Answer(c.answer);
            Main->Close();
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].text, FileQuestion);
            EXPECT_EQ(boxes.Shown()[0].caption, "Corvane Quillo");
            EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONINFORMATION));
        }
        EXPECT_EQ(Main->Closed(), c.closes);
        EXPECT_EQ(OutlineSaved(), c.outlineSaved);
        // Cancel saves nothing at all; a close saves the settings too.
        EXPECT_EQ(SettingsSaved(), c.closes);
        EXPECT_EQ(CloseStateWritten(), c.closes);
        if (c.closes) {
            EXPECT_EQ(StoredText("User", "LastDb"), outline_);
        }
        Restart();
    }
}

TEST_F(Close, YesWithASaveThatFailsKeepsTheWindowOpenAndSavesNothing)
{
    StartWithChangedOutline();
    // The outline's folder has gone: the save cannot write it.
    CurrentFileName = PathOf("gone\\Notes.kbf");
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);
    Main->Close();
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{FileQuestion, "Cannot open output file!"}));
    EXPECT_FALSE(Main->Closed());
    EXPECT_FALSE(SettingsSaved());
    EXPECT_FALSE(CloseStateWritten());
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    EXPECT_NE(Main->FExportProfiles, nullptr);
}

TEST_F(Close, YesWithACancelledSaveDialogKeepsTheWindowOpenAndSavesNothing)
{
    user.LastDb = "C:\\Before.kbf";
    Start({"/m"});
    OutlineProperties.FileChanged = 1;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDYES);
    ScriptedFileDialogs dialogs;
    dialogs.Cancel();
    Main->Close();
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_FALSE(Main->Closed());
    EXPECT_FALSE(SettingsSaved());
    EXPECT_FALSE(CloseStateWritten());
    EXPECT_EQ(CurrentFileName, "Untitled");
}

TEST_F(Close, SaveExitSavesWithoutAskingAndTheOptionsQuestionStillComes)
{
    options.SaveExit = true;
    options.SaveOptions = true;
    StartWithChangedOutline();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDYES);
    Main->Close();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{OptionsQuestion});
    EXPECT_TRUE(Main->Closed());
    EXPECT_TRUE(OutlineSaved());
    EXPECT_TRUE(SettingsSaved());
}

TEST_F(Close, TypingNotYetStoredCountsAsAChangeAndIsSaved)
{
    struct Case {
        const char* name;
        bool saveExit;
        std::vector<int> answers;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"Yes", false, {IDYES}, {FileQuestion}},
        {"SaveExit", true, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options.SaveExit = c.saveExit;
        outline_ = PathOf("Notes.kbf");
        WriteOutline(outline_, "Top");
        Start({outline_});
        ASSERT_EQ(OutlineProperties.FileChanged, 0);
        {
            UncommittedTyping typing("typed before closing");
            ScriptedMessageBoxes boxes;
            for (int answer : c.answers)
                boxes.Answer(answer);
            Main->Close();
            EXPECT_EQ(boxes.Texts(), c.texts);
        }
        EXPECT_TRUE(Main->Closed());
        EXPECT_EQ(StoredRoot(outline_).body, "typed before closing");
        Restart();
    }
}

TEST_F(Close, TheOptionsQuestionDecidesWhetherTheSettingsAreSaved)
{
    struct Case {
        const char* name;
        std::vector<int> answers; // to the file question, then the options question
        bool closes;
        bool outlineSaved;
        bool settingsSaved;
    };
    const Case cases[] = {
        {"Yes, then Cancel", {IDYES, IDCANCEL}, false, false, false},
        {"No, then No", {IDNO, IDNO}, true, false, false},
        {"No, then Yes", {IDNO, IDYES}, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options.SaveOptions = true;
        StartWithChangedOutline();
        {
            ScriptedMessageBoxes boxes;
            for (int answer : c.answers)
                boxes.Answer(answer);
            Main->Close();
            EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{FileQuestion, OptionsQuestion}));
        }
        EXPECT_EQ(Main->Closed(), c.closes);
        EXPECT_EQ(OutlineSaved(), c.outlineSaved);
        EXPECT_EQ(SettingsSaved(), c.settingsSaved);
        // The recent list and the dialog states go with every close.
        EXPECT_EQ(CloseStateWritten(), c.closes);
        Restart();
    }
}

TEST_F(Close, TheRecentListAndTheDialogStatesAreWrittenEvenWhenTheOptionsAreNot)
{
    options.SaveOptions = true;
    StartWithChangedOutline();
    OutlineProperties.FileChanged = 0;
    DialogStates.FindRInitialized = true;
    DialogStates.FindRTop = 77;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO);
    Main->Close();
    ASSERT_TRUE(Main->Closed());
    EXPECT_FALSE(SettingsSaved());
    EXPECT_EQ(StoredNumber("Reopen", "Count"), 1);
    EXPECT_EQ(StoredText("Reopen", "0"), outline_);
    EXPECT_EQ(StoredNumber("States", "FindRInitialized"), 1);
    EXPECT_EQ(StoredNumber("States", "FindRTop"), 77);
}

TEST_F(Close, AWindowClosedMinimisedOrHiddenInTheTraySavesItsNormalPlacement)
{
    struct Case {
        const char* name;
        bool maximised;
        bool intoTray;
    };
    const Case cases[] = {
        {"minimised", false, false},
        {"hidden in the tray", false, true},
        {"minimised from maximised", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.XPos = 30; // the top
        user.YPos = 50; // the left
        user.Width = 700;
        user.Height = 500;
        user.TreeWidth = 250;
        user.Maximized = c.maximised;
        options.Traybar = c.intoTray ? 3 : 1;
        Start({"/m"});
        if (c.intoTray)
            Main->Tray.Minimize();
        else
            ShowWindow(Main->Handle(), SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(Main->Handle()));
        ASSERT_EQ(IsWindowVisible(Main->Handle()) == FALSE, c.intoTray);
        Main->Close();
        ASSERT_TRUE(Main->Closed());
        EXPECT_EQ(StoredNumber("User", "XPos"), 30);
        EXPECT_EQ(StoredNumber("User", "YPos"), 50);
        EXPECT_EQ(StoredNumber("User", "Width"), 700);
        EXPECT_EQ(StoredNumber("User", "Height"), 500);
        EXPECT_EQ(StoredNumber("User", "TreeWidth"), 250);
        EXPECT_EQ(StoredNumber("User", "Maximized"), c.maximised ? 1 : 0);
        Application.DestroyForms();
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
    }
}

namespace {
class StandInDialog : public TForm {
public:
    StandInDialog() : TForm(CreateParams{"Stand-in dialog"}) {}
};

class AutoSave : public Close {
protected:
    void StartWithNamedOutline(int minutes)
    {
        StartWithChangedOutline();
        OptionSettings.AutoSave = minutes;
        AutoSaveMinutes = 0;
    }
    void Tick(int times)
    {
        for (int i = 0; i < times; ++i)
            Main->TimerTimer();
    }
};
} // namespace

TEST_F(AutoSave, SavesEveryAutoSaveMinutes)
{
    StartWithNamedOutline(3);
    Tick(2);
    EXPECT_FALSE(OutlineSaved());
    Tick(1);
    EXPECT_TRUE(OutlineSaved());
    EXPECT_EQ(AutoSaveMinutes, 0);
    // The count starts again.
    Main->Tree->Items().GetFirstNode()->SetText("Changed again");
    Tick(2);
    EXPECT_EQ(StoredRootTitle(outline_), "Changed");
    Tick(1);
    EXPECT_EQ(StoredRootTitle(outline_), "Changed again");
}

TEST_F(AutoSave, ZeroMinutesNeverSaves)
{
    StartWithNamedOutline(0);
    Tick(30);
    EXPECT_FALSE(OutlineSaved());
}

TEST_F(AutoSave, AShorterIntervalChosenLaterStillSaves)
{
    StartWithNamedOutline(10);
    Tick(6);
    OptionSettings.AutoSave = 5;
    Tick(1);
    EXPECT_TRUE(OutlineSaved());
}

TEST_F(AutoSave, NothingHappensInsideAModalDialogOrALongOperation)
{
    StartWithNamedOutline(1);
    {
        TProgressScope progress("Quillo is loading Notes: ");
        Tick(3);
    }
    EXPECT_FALSE(OutlineSaved());
    EXPECT_EQ(AutoSaveMinutes, 0);

    ModalScript script;
    script.Then<StandInDialog>([this](StandInDialog& dialog) {
        Tick(3);
        dialog.ModalResult = mrOk;
    });
    StandInDialog dialog;
    dialog.ShowModal();
    EXPECT_EQ(script.PendingSteps(), 0u);
    EXPECT_FALSE(OutlineSaved());
    EXPECT_EQ(AutoSaveMinutes, 0);

    // A message box of a modeless window leaves the main window enabled.
    const MessageBoxHandler previous = Application.GetMessageBoxHandler();
    Application.SetMessageBoxHandler([this](const MessageBoxRequest&) {
        Tick(3);
        return IDOK;
    });
    Application.MessageBox("A question of another window", "Corvane Quillo", MB_OK);
    Application.SetMessageBoxHandler(previous);
    EXPECT_FALSE(OutlineSaved());
    EXPECT_EQ(AutoSaveMinutes, 0);

    // Once nothing else runs, the minute counts and the save runs.
    Tick(1);
    EXPECT_TRUE(OutlineSaved());
}

namespace {
// The end of the user's session, as the system announces it to the main
// window: first the question whether it may end, then that it ends (or not,
// when another program refused).
class SessionEnd : public Close {
protected:
    void StartWithSavedOutline()
    {
        outline_ = PathOf("Notes.kbf");
        WriteOutline(outline_, "Top");
        user.LastDb = "C:\\Before.kbf";
        Start({outline_});
        ASSERT_EQ(OutlineProperties.FileChanged, 0);
    }
    static LRESULT MayEnd() { return SendMessageA(Main->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); }
    static void Ends(LRESULT ending) { SendMessageA(Main->Handle(), WM_ENDSESSION, ending, ENDSESSION_LOGOFF); }
};
} // namespace

TEST_F(SessionEnd, TypingNotYetStoredIsAskedAboutAsAtACloseAndTheAnswerDecides)
{
    const std::string typed = "typed before the log off";
    struct Case {
        const char* name;
        int answer;
        LRESULT mayEnd;
        bool outlineSaved;
    };
    const Case cases[] = {
        {"Yes", IDYES, TRUE, true},
        {"No", IDNO, TRUE, false},
        {"Cancel", IDCANCEL, FALSE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSavedOutline();
        {
            UncommittedTyping typing(typed);
            ScriptedMessageBoxes boxes;
            boxes.Answer(c.answer);
            const LRESULT mayEnd = MayEnd();
            EXPECT_EQ(mayEnd, c.mayEnd);
            EXPECT_EQ(boxes.Texts(), std::vector<std::string>{FileQuestion});
            Ends(mayEnd);
        }
        EXPECT_EQ(StoredRoot(outline_).body == typed, c.outlineSaved);
        // A session that ends writes what a close writes, once; a refused
        // one leaves everything as it was and the window open.
        EXPECT_EQ(SettingsSaved(), c.mayEnd == TRUE);
        EXPECT_EQ(CloseStateWritten(), c.mayEnd == TRUE);
        EXPECT_EQ(Main->Closed(), c.mayEnd == TRUE);
        if (c.mayEnd) {
            EXPECT_EQ(StoredText("User", "LastDb"), outline_);
        }
        // The system ends the process: no closing window is started.
        EXPECT_TRUE(shellOpened.empty());
        Restart();
    }
}

TEST_F(SessionEnd, AnUnchangedOutlineLetsTheSessionEndAndItsSettingsAreWritten)
{
    StartWithSavedOutline();
    ScriptedMessageBoxes boxes;
    EXPECT_EQ(MayEnd(), TRUE);
    Ends(TRUE);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(Main->Closed());
    EXPECT_EQ(StoredText("User", "LastDb"), outline_);
    EXPECT_EQ(StoredNumber("Reopen", "Count"), 1);
    EXPECT_EQ(StoredText("Reopen", "0"), outline_);
    EXPECT_TRUE(RawKeyExists(base_ + "\\States"));
    EXPECT_FALSE(Main->Timer.Enabled());
}

TEST_F(SessionEnd, WhenAnotherProgramRefusesTheRunGoesOn)
{
    StartWithSavedOutline();
    Main->Tree->Items().GetFirstNode()->SetText("Changed");
    OutlineProperties.FileChanged = 1;
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDYES);
        EXPECT_EQ(MayEnd(), TRUE);
    }
    Ends(FALSE);
    EXPECT_TRUE(OutlineSaved());
    EXPECT_FALSE(Main->Closed());
    EXPECT_FALSE(CloseStateWritten());
    // What printing and saving copies need is still there.
    EXPECT_NE(Main->FExportProfiles, nullptr);
    Main->Close();
    EXPECT_TRUE(Main->Closed());
}

TEST_F(SessionEnd, AQuestionOrDialogWaitingForTheUserKeepsTheSessionFromEnding)
{
    StartWithChangedOutline();
    // The close's own question is up.
    LRESULT underTheQuestion = -1;
    const MessageBoxHandler previous = Application.GetMessageBoxHandler();
    Application.SetMessageBoxHandler([&](const MessageBoxRequest&) {
        underTheQuestion = MayEnd();
        return IDCANCEL;
    });
    Main->Close();
    Application.SetMessageBoxHandler(previous);
    EXPECT_EQ(underTheQuestion, FALSE);

    // A modal dialog is up.
    LRESULT underTheDialog = -1;
    {
        ModalScript script;
        script.Then<TAboutDlg>([&](TAboutDlg& dialog) {
            underTheDialog = MayEnd();
            dialog.ModalResult = mrOk;
        });
        Main->RunHandler("mAboutClick", nullptr);
    }
    EXPECT_EQ(underTheDialog, FALSE);
    Ends(FALSE);
    EXPECT_FALSE(Main->Closed());
    EXPECT_FALSE(OutlineSaved());
    EXPECT_FALSE(SettingsSaved());
}

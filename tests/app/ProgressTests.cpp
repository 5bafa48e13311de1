// The status bar's progress display and busy note on the real main window:
// the bar inside panel 0, nested displays, the hourglass, and the note.
#include "Application.h"
#include "Cursors.h"
#include "ExtCtrls.h"
#include "Main.h"
#include "Progress.h"
#include "RichEdit.h"
#include "StatusBar.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
class Progress : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.CreateForm<TMain>();
        SetScreenCursorId(crDefault);
        Panel().SetText("Untitled");
        normalWidth_ = Panel().Width();
    }
    void TearDown() override
    {
        SetScreenCursorId(crDefault);
        Application.DestroyForms();
        Application.Initialize();
    }

    TStatusPanel& Panel() const { return Main->StatusBar->Panel(0); }
    const TProgressBar* Bar() const { return Main->FProgressBar.get(); }
    size_t StatusChildren() const { return Main->StatusBar->Controls().size(); }

    void ExpectEnded() const
    {
        EXPECT_EQ(ProgressDepth(), 0);
        EXPECT_EQ(Bar(), nullptr);
        EXPECT_EQ(StatusChildren(), 0u);
        EXPECT_EQ(Panel().Width(), normalWidth_);
        EXPECT_EQ(Panel().Bevel(), TStatusPanelBevel::pbLowered);
        EXPECT_EQ(Panel().Text(), "Ready");
    }

    int normalWidth_ = 0;
};

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
}

TEST_F(Progress, BeginShowsTheTextAndABarAtZeroInsidePanelZero)
{
    ASSERT_GT(normalWidth_, 0);
    BeginProgress("Loading outline...");

    EXPECT_EQ(ProgressDepth(), 1);
    EXPECT_EQ(SavedStatusWidth, normalWidth_);
    EXPECT_EQ(Panel().Width(), Main->StatusBar->Width());
    EXPECT_EQ(Panel().Bevel(), TStatusPanelBevel::pbNone);
    EXPECT_EQ(Panel().Text(), "Loading outline...");
    ASSERT_NE(Bar(), nullptr);
    EXPECT_EQ(Bar()->Parent(), Main->StatusBar.get());
    EXPECT_EQ(Bar()->Owner(), Main->StatusBar.get());
    EXPECT_TRUE(Bar()->Visible());
    EXPECT_EQ(Bar()->Min(), 0);
    EXPECT_EQ(Bar()->Max(), 100);
    EXPECT_EQ(Bar()->Position(), 0);
    EXPECT_GT(Bar()->Left(), 5); // behind the text
    EXPECT_EQ(Bar()->Top(), 5);
    EXPECT_EQ(Bar()->Width(), 100);
    EXPECT_EQ(Bar()->Height(), 10);
    const RECT bar{Bar()->Left(), Bar()->Top(), Bar()->Left() + Bar()->Width(), Bar()->Top() + Bar()->Height()};
    EXPECT_TRUE(Inside(bar, Main->StatusBar->PanelRect(0)));

    // A longer text puts the bar further right.
    const int shortLeft = Bar()->Left();
    EndProgress();
    BeginProgress("Loading outline... and a good deal more");
    EXPECT_GT(Bar()->Left(), shortLeft);
    EndProgress();
}

TEST_F(Progress, TheBarMovesToTheShareOfTheWorkDone)
{
    const int n = 7;
    BeginProgress("Saving...");
    for (int i = 0; i < n; ++i) {
        Main->FProgressBar->SetPosition(i * 100 / n);
        EXPECT_EQ(Bar()->Position(), i * 100 / n);
    }
    EndProgress();
    ExpectEnded();
}

TEST_F(Progress, EndRestoresTheWidthAndReadsReady)
{
    BeginProgress("Exporting...");
    EndProgress();
    ExpectEnded();
}

TEST_F(Progress, EndWithoutBeginDoesNothing)
{
    EndProgress();
    EXPECT_EQ(Panel().Text(), "Untitled");
    EXPECT_EQ(Panel().Width(), normalWidth_);
    EXPECT_EQ(ProgressDepth(), 0);
}

TEST_F(Progress, NestedDisplaysShareOneBarAndRestoreThePanel)
{
    BeginProgress("Importing...");
    const TProgressBar* outer = Bar();
    Main->FProgressBar->SetPosition(40);

    BeginProgress("Saving...");
    EXPECT_EQ(ProgressDepth(), 2);
    EXPECT_EQ(Bar(), outer);
    EXPECT_EQ(StatusChildren(), 1u);
    EXPECT_EQ(SavedStatusWidth, normalWidth_);
    EXPECT_EQ(Panel().Text(), "Saving...");
    EXPECT_EQ(Bar()->Position(), 0);
    Main->FProgressBar->SetPosition(90);

    EndProgress();
    EXPECT_EQ(ProgressDepth(), 1);
    EXPECT_EQ(Bar(), outer);
    EXPECT_EQ(Panel().Text(), "Importing...");
    EXPECT_EQ(Bar()->Position(), 40);
    EXPECT_EQ(Panel().Width(), Main->StatusBar->Width());

    EndProgress();
    ExpectEnded();
    EndProgress(); // one too many changes nothing
    ExpectEnded();
}

TEST_F(Progress, ThreeDeepStillRestoresTheNormalWidth)
{
    BeginProgress("One");
    BeginProgress("Two");
    BeginProgress("Three");
    EXPECT_EQ(StatusChildren(), 1u);
    EndProgress();
    EndProgress();
    EndProgress();
    ExpectEnded();
}

TEST_F(Progress, ScopeShowsTheHourglassAndEndsWithTheDefaultCursor)
{
    {
        TProgressScope scope("Loading outline...");
        EXPECT_EQ(ScreenCursorId(), crHourGlass);
        EXPECT_EQ(ProgressDepth(), 1);
        const int n = 3;
        for (int i = 0; i <= n; ++i) {
            scope.SetProgress(i, n);
            EXPECT_EQ(Bar()->Position(), i * 100 / n);
        }
        scope.SetProgress(5, 0);
        EXPECT_EQ(Bar()->Position(), 0);
    }
    EXPECT_EQ(ScreenCursorId(), crDefault);
    ExpectEnded();
}

TEST_F(Progress, WhatIsTypedDuringAScopeIsDroppedNotReplayedAfterIt)
{
    TQRichEdit& editor = *Main->RichEdit;
    editor.SetReadOnly(false);
    {
        // A load or a save lets no message through while it runs: the keys
        // wait in the queue until it ends.
        TProgressScope scope("Loading outline...");
        PostMessageA(editor.Handle(), WM_KEYDOWN, 'Q', 1);
        PostMessageA(editor.Handle(), WM_CHAR, 'q', 1);
    }
    Application.ProcessMessages();
    EXPECT_EQ(editor.Text(), "");
    // Typing after the work reaches the page as ever.
    PostMessageA(editor.Handle(), WM_CHAR, 'a', 1);
    Application.ProcessMessages();
    EXPECT_EQ(editor.Text(), "a");
}

TEST_F(Progress, AnExceptionInsideAScopeStillEndsIt)
{
    EXPECT_THROW(
        {
            TProgressScope scope("Saving...");
            throw std::runtime_error("Cannot open output file!");
        },
        std::runtime_error);
    EXPECT_EQ(ScreenCursorId(), crDefault);
    ExpectEnded();
}

TEST_F(Progress, AnExceptionInANestedScopeRestoresTheOuterDisplay)
{
    {
        TProgressScope outer("Importing...");
        outer.SetProgress(1, 4);
        EXPECT_THROW(
            {
                TProgressScope inner("Saving...");
                throw std::runtime_error("disk full");
            },
            std::runtime_error);
        EXPECT_EQ(ScreenCursorId(), crHourGlass);
        EXPECT_EQ(ProgressDepth(), 1);
        EXPECT_EQ(Panel().Text(), "Importing...");
        EXPECT_EQ(Bar()->Position(), 25);
    }
    EXPECT_EQ(ScreenCursorId(), crDefault);
    ExpectEnded();
}

TEST_F(Progress, AScopeEndsDisplaysLeftOpenInsideIt)
{
    {
        TProgressScope scope("Exporting...");
        BeginProgress("Writing page...");
    }
    EXPECT_EQ(ScreenCursorId(), crDefault);
    ExpectEnded();
}

TEST_F(Progress, ANewWindowStartsAfresh)
{
    BeginProgress("Loading outline...");
    Application.DestroyForms();
    Application.CreateForm<TMain>();
    EXPECT_EQ(ProgressDepth(), 0);
    EndProgress(); // belongs to no display of this window
    EXPECT_EQ(Bar(), nullptr);
    normalWidth_ = Panel().Width();
    BeginProgress("Saving...");
    EXPECT_EQ(SavedStatusWidth, normalWidth_);
    EndProgress();
    ExpectEnded();
}

TEST_F(Progress, TheBusyNoteShowsItsIconBehindTheText)
{
    ShowBusyNote("To add new page, click");
    EXPECT_EQ(Panel().Text(), "To add new page, click");
    EXPECT_EQ(Panel().Bevel(), TStatusPanelBevel::pbNone);
    ASSERT_NE(Main->FNoteImage, nullptr);
    const TImage& image = *Main->FNoteImage;
    EXPECT_EQ(image.Parent(), Main->StatusBar.get());
    EXPECT_TRUE(image.Visible());
    EXPECT_TRUE(image.Transparent());
    EXPECT_GT(image.Left(), 5);
    EXPECT_EQ(image.Top(), 2);
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.Height(), 16);

    HideBusyNote();
    EXPECT_EQ(Main->FNoteImage, nullptr);
    EXPECT_EQ(StatusChildren(), 0u);
    EXPECT_EQ(Panel().Bevel(), TStatusPanelBevel::pbLowered);
    EXPECT_EQ(Panel().Text(), "To add new page, click"); // left for the caller
    HideBusyNote(); // none shown: nothing happens
    EXPECT_EQ(Panel().Bevel(), TStatusPanelBevel::pbLowered);
}

TEST_F(Progress, ASecondNoteChangesNothing)
{
    ShowBusyNote("To add new page, click");
    const TImage* first = Main->FNoteImage.get();
    ShowBusyNote("Something else");
    EXPECT_EQ(Main->FNoteImage.get(), first);
    EXPECT_EQ(Panel().Text(), "To add new page, click");
    EXPECT_EQ(StatusChildren(), 1u);
    HideBusyNote();
}

TEST_F(Progress, BeginRemovesTheNoteFirst)
{
    ShowBusyNote("To add new page, click");
    BeginProgress("Loading outline...");
    EXPECT_EQ(Main->FNoteImage, nullptr);
    EXPECT_EQ(StatusChildren(), 1u);
    EXPECT_EQ(Panel().Text(), "Loading outline...");
    EndProgress();
    ExpectEnded();
}

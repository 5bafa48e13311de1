// Opening an outline by its path, a new empty outline and Save: what becomes
// current, what the captions and the recent list say, and that no answer to
// "save changes?" loses the open outline unless the user said No.
#include "Application.h"
#include "Main.h"
#include "OpenOutline.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "OutlineOnDiskTest.h"
#include "TestFolder.h"
#include "TreeView.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {
class OpenOutlineTest : public OutlineOnDiskTest {};
}

TEST_F(OpenOutlineTest, TitleAndPropertiesTextDescribeTheOpenOutline)
{
    CurrentFileName = "C:\\Notes\\Work.kbf";
    EXPECT_EQ("Work", OutlineTitle());
    CurrentFileName = UntitledFileName;
    EXPECT_EQ("Untitled", OutlineTitle());

    AddChildPage("One");
    OutlineProperties.Created = "1 May 2026 10:00";
    OutlineProperties.Description = "two\nlines";
    EXPECT_EQ("Outline Name:  \tUntitled\r\n"
              "Last saved by: \tNone\r\n"
              "Subject:       \tNone\r\n"
              "Description:   \ttwo\nlines\r\n"
              "Created:       \t1 May 2026 10:00\r\n"
              "Modified:      \tNone\r\n"
              "Revisions:     \t0\r\n"
              "Total pages:   \t2\r\n",
              PropertiesText());
}

TEST_F(OpenOutlineTest, AnOpenedFileBecomesTheCurrentOutlineEverywhere)
{
    const std::string path = SavedOutline("Work.kbf", "Work root");
    Main->bNewClick(nullptr);
    ParentOutlineFile = "C:\\elsewhere.kbf";
    RecentFiles.Clear();

    OpenOutline(path);

    EXPECT_EQ(path, CurrentFileName);
    EXPECT_EQ("Work - Corvane Quillo", Main->Caption());
    EXPECT_EQ("Work - Corvane Quillo", Application.Title());
    EXPECT_EQ("Work - Corvane Quillo", Main->Tray.Hint());
    ASSERT_EQ(1, RecentFiles.Count());
    EXPECT_EQ(path, RecentFiles[0]);
    EXPECT_EQ("", ParentOutlineFile);
    EXPECT_EQ(Root(), Tree().Selected());
    ASSERT_EQ(1, PageHistory.Count());
    EXPECT_EQ(Root(), PageHistory.Entry(0));
    EXPECT_EQ("Work root body", Main->RichEdit->Text());
    EXPECT_EQ(0, OutlineProperties.FileChanged);
}

TEST_F(OpenOutlineTest, AListedPathKeepsItsPlaceInAnyLetterCase)
{
    const std::string a = SavedOutline("A.kbf", "A");
    const std::string b = SavedOutline("B.kbf", "B");
    const std::string c = SavedOutline("C.kbf", "C");
    RecentFiles.Clear();
    for (const std::string& path : {b, c, a})
        RecentFiles.Add(path);
    std::string upper = a;
    CharUpperA(upper.data());

    OpenOutline(upper);

    EXPECT_EQ((std::vector<std::string>{b, c, a}),
              (std::vector<std::string>{RecentFiles[0], RecentFiles[1], RecentFiles[2]}));
    EXPECT_EQ(3, RecentFiles.Count());
}

TEST_F(OpenOutlineTest, TheSaveQuestionKeepsTheOutlineUnlessTheUserLetsItGo)
{
    const std::string target = SavedOutline("Target.kbf", "Target");

    struct Case {
        const char* name;
        int answer;
        bool saveDialogChooses; // for Yes: the unnamed outline's save dialog
        bool opened;
    };
    const Case cases[] = {
        {"Cancel", IDCANCEL, false, false},
        {"No", IDNO, false, true},
        {"Yes, save dialog cancelled", IDYES, false, false},
        {"Yes, saved", IDYES, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutlineProperties.FileChanged = 0;
        Main->bNewClick(nullptr);
        Change();
        ScriptedMessageBoxes boxes;
        ScriptedFileDialogs dialogs;
        boxes.Answer(c.answer);
        const std::string savedTo = folder_ / (std::string("Saved ") + std::to_string(c.answer) + ".kbf");
        if (c.answer == IDYES) {
            if (c.saveDialogChooses)
                dialogs.Choose(savedTo);
            else
                dialogs.Cancel();
        }

        OpenOutline(target);

        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Current file is changed. Whould you like to save changes before open another file?",
                  boxes.Shown()[0].text);
        EXPECT_EQ(MB_YESNOCANCEL | MB_ICONINFORMATION, boxes.Shown()[0].flags);
        if (c.opened) {
            EXPECT_EQ(target, CurrentFileName);
            EXPECT_EQ("Target", Root()->Text());
        } else {
            EXPECT_EQ(UntitledFileName, CurrentFileName);
            EXPECT_EQ("Changed", Root()->Text());
            EXPECT_EQ(1, OutlineProperties.FileChanged);
            EXPECT_EQ("Untitled - Corvane Quillo", Main->Caption());
        }
        EXPECT_EQ(c.saveDialogChooses, GetFileAttributesA(savedTo.c_str()) != INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(OpenOutlineTest, ADamagedFileLeavesANewEmptyOutline)
{
    const std::string path = folder_ / "Damaged.kbf";
    WriteFileBytes(path, "not an outline at all");
    SavedOutline("Other.kbf", "Other");
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);

    OpenOutline(path);

    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ("Untitled - Corvane Quillo", Main->Caption());
    EXPECT_EQ(1, Tree().Items().Count());
    EXPECT_EQ("Untitled", Root()->Text());
    EXPECT_NE(nullptr, PageDataOf(Root()));
    EXPECT_EQ(0, OutlineProperties.FileChanged);
}

TEST_F(OpenOutlineTest, ANewOutlineReplacesEveryPageAndForgetsTheOldOne)
{
    SavedOutline("Old.kbf", "Old");
    Tree().SetSelected(Root()->Item(0));
    Main->TreeClick();
    PageClipboard.Source = Root()->Item(0);
    ParentOutlineFile = "C:\\parent.kbf";

    Main->bNewClick(nullptr);

    EXPECT_EQ(1, Tree().Items().Count());
    EXPECT_EQ("Untitled", Root()->Text());
    EXPECT_EQ(1, Root()->StateIndex());
    EXPECT_EQ("", PageDataOf(Root())->BodyText());
    EXPECT_EQ(nullptr, PageClipboard.Source);
    EXPECT_EQ("", ParentOutlineFile);
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ("Untitled - Corvane Quillo", Main->Caption());
    ASSERT_EQ(1, PageHistory.Count());
    EXPECT_EQ(Root(), PageHistory.Entry(0));
    EXPECT_EQ("None", OutlineProperties.Subject);
}

TEST_F(OpenOutlineTest, SavingAnUnnamedOutlineAsksForANameAndNotesItAfterTheWrite)
{
    Change();
    const std::string path = folder_ / "Named.kbf";
    {
        ScriptedFileDialogs dialogs;
        dialogs.Cancel();
        EXPECT_FALSE(Main->mSaveClick(nullptr));
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_TRUE(FilesIn(folder_.Path()).empty());
        EXPECT_EQ(1, OutlineProperties.FileChanged);
    }
    ScriptedFileDialogs dialogs;
    dialogs.Choose(path);
    EXPECT_TRUE(Main->mSaveClick(nullptr));
    EXPECT_EQ(path, CurrentFileName);
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    ASSERT_EQ(1, RecentFiles.Count());
    EXPECT_EQ(path, RecentFiles[0]);
    EXPECT_EQ("Named - Corvane Quillo", Main->Caption());
    EXPECT_EQ(std::vector<std::string>{"Named.kbf"}, FilesIn(folder_.Path()));
}

TEST_F(OpenOutlineTest, SaveMakesABackupOnlyWithTheOption)
{
    const std::string path = SavedOutline("Kept.kbf", "Kept");
    OptionSettings.BackupFolder = folder_ / "Backups";

    EXPECT_TRUE(Main->mSaveClick(nullptr));
    EXPECT_TRUE(FilesIn(OptionSettings.BackupFolder).empty());

    OptionSettings.BackupCopy = true;
    EXPECT_TRUE(Main->mSaveClick(nullptr));
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(OptionSettings.BackupFolder + "\\Kept.bak"));
}

TEST_F(OpenOutlineTest, AFailedSaveReportsFailureAndKeepsTheChange)
{
    const std::string path = SavedOutline("Locked.kbf", "Locked");
    const std::string before = ReadFileBytes(path);
    Change();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);

    EXPECT_FALSE(Main->mSaveClick(nullptr));

    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_EQ(1, OutlineProperties.FileChanged);
}

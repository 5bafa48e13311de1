// The File commands of the main window, driven through their handlers with
// every dialog, question, shell call and folder sent through a seam: what
// becomes the open outline and its name, what is written where, and that no
// answer but No lets a command drop unsaved work.
#include "AnsiStrings.h"
#include "Application.h"
#include "Cursors.h"
#include "LongLines.h"
#include "Main.h"
#include "Menus.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "ProgramFolder.h"
#include "RecentMenu.h"
#include "RichEdit.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "SendCommands.h"
#include "SentMessages.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "StatusBar.h"
#include "ShellOpen.h"
#include "ShellShortcuts.h"
#include "ModalScript.h"
#include "OutlineOnDiskTest.h"
#include "PageTreeTest.h"
#include "TestFolder.h"
#include "TreeView.h"
#include "UncommittedTyping.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {
const char* const OpenQuestion = "Current file is changed. Whould you like to save changes before open another file?";
const char* const SendQuestion = "Current file is changed. Whould you like to save changes before sending it?";
const char* const SaveFirst = "Save your outline first!";

std::string CurrentFolder()
{
    char folder[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

std::vector<std::string> ListOf(const TStrings& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back(list[i]);
    return entries;
}

class FileCommandsTest : public OutlineOnDiskTest {
protected:
    void SetUp() override
    {
        OutlineOnDiskTest::SetUp();
        OptionSettings.DocumentsFolder = folder_.Path();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(startFolder_.c_str());
        OutlineOnDiskTest::TearDown();
    }

    TMenuItem* Item(const std::string& name) { return dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }

    // Runs File > Open choosing path.
    void OpenThroughDialog(const std::string& path)
    {
        const std::string documents = OptionSettings.DocumentsFolder;
        ScriptedFileDialogs dialogs;
        dialogs.Choose(path);
        Main->mOpenClick(nullptr);
        ASSERT_EQ(1u, dialogs.Requests().size());
        EXPECT_EQ(documents, dialogs.Requests()[0].initialDir);
        EXPECT_EQ("", dialogs.Requests()[0].fileName);
        // The folder is remembered for the next time.
        EXPECT_EQ(ExtractFilePath(path), OptionSettings.DocumentsFolder);
    }

    const std::string startFolder_ = CurrentFolder();
};
}

TEST_F(FileCommandsTest, OpenNamesTheOutlineOnlyForALowerCaseKbfFile)
{
    const std::string other = SavedOutline("Other.kbf", "Other");
    const std::string work = folder_ / "Work.kbf";
    struct Case {
        const char* file;
        bool named;
    };
    for (const Case& c : {Case{"Work.kbf", true}, Case{"Upper.KBF", false}, Case{"Copy.bak", false}}) {
        SCOPED_TRACE(c.file);
        const std::string path = SavedOutline(c.file, "Root of " + std::string(c.file));
        NewOutline();
        ParentOutlineFile = other;
        RecentFiles.Clear();
        RecentFiles.Add(other);
        RecentFiles.Add(AnsiUpperCase(work));

        OpenThroughDialog(path);

        EXPECT_EQ("Root of " + std::string(c.file), Root()->Text());
        EXPECT_EQ("Child of Root of " + std::string(c.file), Root()->Item(0)->Text());
        const std::string title = c.named ? "Work" : "Untitled";
        EXPECT_EQ(c.named ? path : UntitledFileName, CurrentFileName);
        EXPECT_EQ(title + " - Corvane Quillo", Main->Caption());
        EXPECT_EQ(title + " - Corvane Quillo", Application.Title());
        // Listed in another letter case, Work.kbf keeps its place; the
        // unnamed ones are no file to list.
        EXPECT_EQ((std::vector<std::string>{other, AnsiUpperCase(work)}), ListOf(RecentFiles));
        EXPECT_EQ("", ParentOutlineFile);
        ASSERT_EQ(1, PageHistory.Count());
        EXPECT_EQ(Root(), PageHistory.Entry(0));
        EXPECT_EQ(0, OutlineProperties.FileChanged);
    }
}

TEST_F(FileCommandsTest, OpenOfAFileThatCannotBeReadLeavesANewEmptyOutline)
{
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"Tree.hjt", "Input file is not valid TreePad file!"},
        {"Outline.ao", "Input file is not valid ActionOutline file!"},
        {"Upper.AO", "Input file is not Quillo .kbf file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        SavedOutline("Open.kbf", "Open");
        const std::string path = folder_ / c.file;
        WriteFileBytes(path, "some other program's outline");
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);

        OpenThroughDialog(path);

        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(c.message, boxes.Shown()[0].text);
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_EQ(1, Tree().Items().Count());
        EXPECT_EQ("Untitled - Corvane Quillo", Main->Caption());
        EXPECT_EQ(0, OutlineProperties.FileChanged);
    }
}

TEST_F(FileCommandsTest, OpenKeepsAChangedOutlineUnlessItWasSavedOrLetGo)
{
    const std::string target = SavedOutline("Target.kbf", "Target");
    enum class Outline { Unnamed, ReadOnlyFile };
    struct Case {
        const char* name;
        Outline outline;
        bool typed; // the change is typing still in the editor
        std::vector<int> answers;
        std::vector<std::string> texts;
        bool opened;
    };
    const Case cases[] = {
        {"Cancel", Outline::Unnamed, false, {IDCANCEL}, {OpenQuestion}, false},
        {"No", Outline::Unnamed, false, {IDNO}, {OpenQuestion}, true},
        {"Typing, Cancel", Outline::Unnamed, true, {IDCANCEL}, {OpenQuestion}, false},
        {"Yes, save dialog cancelled", Outline::Unnamed, false, {IDYES}, {OpenQuestion}, false},
        {"Yes, file read-only", Outline::ReadOnlyFile, false, {IDYES, IDOK}, {OpenQuestion, "Cannot open output file!"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string locked = folder_ / "Locked.kbf";
        SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.outline == Outline::ReadOnlyFile) {
            SavedOutline("Locked.kbf", "Locked");
            SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
        } else {
            NewOutline();
        }
        const std::string name = CurrentFileName;
        if (c.typed) {
            Main->RichEdit->SetSelText("typed");
            Main->RichEdit->SetModified(true);
        } else {
            Change();
        }
        const std::string title = Root()->Text();
        ScriptedMessageBoxes boxes;
        for (int answer : c.answers)
            boxes.Answer(answer);
        ScriptedFileDialogs dialogs;
        dialogs.Choose(target);
        if (c.outline == Outline::Unnamed && c.answers[0] == IDYES)
            dialogs.Cancel(); // the unnamed outline's save dialog

        Main->mOpenClick(nullptr);

        EXPECT_EQ(c.texts, boxes.Texts());
        if (c.opened) {
            EXPECT_EQ(target, CurrentFileName);
            EXPECT_EQ("Target", Root()->Text());
        } else {
            EXPECT_EQ(name, CurrentFileName);
            EXPECT_EQ(title, Root()->Text());
            EXPECT_EQ(1, OutlineProperties.FileChanged);
            if (c.typed) {
                EXPECT_EQ("typed", PageDataOf(Root())->BodyText());
            }
        }
    }
}

TEST_F(FileCommandsTest, SaveAsWritesTheChosenFileNotesItAndMakesNoBackup)
{
    OptionSettings.BackupCopy = true;
    OptionSettings.BackupFolder = folder_ / "Backups";
    Change();
    const std::string path = folder_ / "Renamed.kbf";
    {
        ScriptedFileDialogs dialogs;
        dialogs.Cancel();
        Main->mSaveAsClick(nullptr);
        EXPECT_TRUE(FilesIn(folder_.Path()).empty());
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_EQ(1, OutlineProperties.FileChanged);
    }
    ScriptedFileDialogs dialogs;
    dialogs.Choose(path);

    Main->mSaveAsClick(nullptr);

    ASSERT_EQ(1u, dialogs.Requests().size());
    EXPECT_EQ("", dialogs.Requests()[0].fileName);
    EXPECT_EQ(folder_.Path(), dialogs.Requests()[0].initialDir);
    EXPECT_EQ(std::vector<std::string>{"Renamed.kbf"}, FilesIn(folder_.Path()));
    EXPECT_EQ(path, CurrentFileName);
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(std::vector<std::string>{path}, ListOf(RecentFiles));
    EXPECT_EQ("&0  " + path, Item("m0")->Caption());
    EXPECT_EQ("Renamed - Corvane Quillo", Main->Caption());
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ("Changed", Root()->Text());
}

TEST_F(FileCommandsTest, AFailedFirstSaveLeavesTheOutlineUnsavedAndUnnamed)
{
    Change();
    {
        ScriptedFileDialogs dialogs;
        dialogs.Choose(folder_ / "No such folder\\Notes.kbf");
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(Main->mSaveClick(nullptr));
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_TRUE(ListOf(RecentFiles).empty());
    // Revert has no file to go back to, so the outline stays.
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    Main->mRevertClick(nullptr);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("This file is not saved!", boxes.Shown()[0].text);
    EXPECT_EQ("Changed", Root()->Text());
}

TEST_F(FileCommandsTest, SaveAndSaveAsStoreTypingWhereverTheFocusIs)
{
    for (const bool saveAs : {false, true}) {
        SCOPED_TRACE(saveAs ? "Save As" : "Save");
        const std::string path = SavedOutline("Typed.kbf", "Typed");
        const std::string target = saveAs ? folder_ / "Renamed.kbf" : path;
        UncommittedTyping typing("typed, not stored yet");
        ASSERT_FALSE(Main->RichEdit->Focused());
        ASSERT_EQ("Typed body", PageDataOf(Root())->BodyText());
        ScriptedFileDialogs dialogs;
        if (saveAs)
            dialogs.Choose(target);

        if (saveAs)
            Main->mSaveAsClick(nullptr);
        else
            Main->mSaveClick(nullptr);

        EXPECT_EQ(0, OutlineProperties.FileChanged);
        EXPECT_FALSE(Main->RichEdit->Modified());
        ASSERT_TRUE(LoadOutline(target));
        EXPECT_EQ("typed, not stored yet", PageDataOf(Root())->BodyText());
    }
}

TEST_F(FileCommandsTest, ASaveWhoseCommitFailsStopsBeforeWritingTheFile)
{
    const std::string path = SavedOutline("Typed.kbf", "Typed");
    const std::string before = ReadFileBytes(path);
    UncommittedTyping typing("typed, not stored yet");
    Main->RichEdit->Lines().SetConverter(std::make_unique<RefusingConversion>());

    EXPECT_THROW(Main->mSaveClick(nullptr), std::exception);

    Main->RichEdit->Lines().SetConverter(nullptr);
    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_TRUE(Main->RichEdit->Modified());
}

namespace {
// Another program or window writes the file: other bytes of another size, or
// the same size written later.
void RewriteElsewhere(const std::string& path, bool sameSize)
{
    std::string bytes = ReadFileBytes(path);
    if (sameSize)
        bytes.back() ^= 1;
    else
        bytes = "an outline written by someone else";
    WriteFileBytes(path, bytes);
    if (!sameSize)
        return;
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    ULARGE_INTEGER later{{written.dwLowDateTime, written.dwHighDateTime}};
    later.QuadPart += 20'000'000; // two seconds
    written = FILETIME{later.LowPart, later.HighPart};
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}

const char* const ChangedElsewhereQuestion =
    " was changed by another program or another Quillo window after this window opened or saved it.\n\n"
    "Replace it with the outline shown here? No keeps that file as it is; Save As can then save this outline "
    "under another name.";
} // namespace

TEST_F(FileCommandsTest, ASaveOverTheFileAnotherWriterChangedAsksAndNoKeepsIt)
{
    for (const bool sameSize : {false, true}) {
        SCOPED_TRACE(sameSize ? "the same size, written later" : "another size");
        const std::string path = SavedOutline("Shared.kbf", "Mine");
        RewriteElsewhere(path, sameSize);
        const std::string theirs = ReadFileBytes(path);
        Change();
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDNO);
        EXPECT_FALSE(Main->mSaveClick(nullptr));
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, "The file " + path + ChangedElsewhereQuestion);
        EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
        EXPECT_EQ(ReadFileBytes(path), theirs);
        EXPECT_EQ(OutlineProperties.FileChanged, 1);

        boxes.Answer(IDYES);
        EXPECT_TRUE(Main->mSaveClick(nullptr));
        EXPECT_EQ(OutlineProperties.FileChanged, 0);
        ASSERT_TRUE(LoadOutline(path));
        EXPECT_EQ(Root()->Text(), "Changed");
        // Once written again, the file is this window's: no more questions.
        Change();
        EXPECT_TRUE(Main->mSaveClick(nullptr));
        EXPECT_EQ(boxes.Shown().size(), 2u);
    }
}

TEST_F(FileCommandsTest, AnAutomaticSaveLeavesAFileAnotherWriterChangedAndSaysSoOnce)
{
    const std::string path = SavedOutline("Shared.kbf", "Mine");
    RewriteElsewhere(path, false);
    const std::string theirs = ReadFileBytes(path);
    Change();
    OptionSettings.AutoSave = 1;
    AutoSaveMinutes = 0;
    ScriptedMessageBoxes boxes;
    Main->TimerTimer();
    EXPECT_EQ(ReadFileBytes(path), theirs);
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(),
              "Not saved automatically: another program or window changed Shared.kbf.");
    Main->StatusBar->Panel(0).SetText("Ready");
    Main->TimerTimer();
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "Ready");
    EXPECT_EQ(ReadFileBytes(path), theirs);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FileCommandsTest, WhatIsTypedDuringAnAutomaticSaveGoesIntoThePage)
{
    const std::string path = SavedOutline("Typing.kbf", "Mine");
    Change();
    Main->RichEdit->SetFocus();
    Main->RichEdit->SetSelStart(Main->RichEdit->TextLength());
    OptionSettings.AutoSave = 1;
    AutoSaveMinutes = 0;
    for (const char c : std::string(" typed"))
        PostMessageA(Main->RichEdit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    Main->TimerTimer();
    Application.ProcessMessages();
    EXPECT_EQ(Main->RichEdit->Text(), "Mine body typed");
}

TEST_F(FileCommandsTest, AFileThatIsGoneIsWrittenAgainUnasked)
{
    const std::string path = SavedOutline("Gone.kbf", "Mine");
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    Change();
    ScriptedMessageBoxes boxes;
    EXPECT_TRUE(Main->mSaveClick(nullptr));
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ(Root()->Text(), "Changed");
}

TEST_F(FileCommandsTest, RevertAsksOnlyForASavedOutlineAndReloadsIt)
{
    {
        Change();
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        Main->mRevertClick(nullptr);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("This file is not saved!", boxes.Shown()[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Shown()[0].flags);
        EXPECT_EQ("Changed", Root()->Text());
    }
    const std::string path = SavedOutline("Saved.kbf", "Saved");
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        Change();
        ScriptedMessageBoxes boxes;
        boxes.Answer(answer);

        Main->mRevertClick(nullptr);

        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Abandon changes and revert to the saved file?", boxes.Shown()[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION), boxes.Shown()[0].flags);
        EXPECT_EQ(answer == IDYES ? "Saved" : "Changed", Root()->Text());
        EXPECT_EQ(answer == IDYES ? 0 : 1, OutlineProperties.FileChanged);
        EXPECT_EQ(path, CurrentFileName);
    }
    ASSERT_EQ(1, PageHistory.Count());
    EXPECT_EQ("Saved body", Main->RichEdit->Text());
}

TEST_F(FileCommandsTest, InsertFileAddsASubPageOrTextAtTheCaretAsPlainText)
{
    WriteFileBytes(folder_ / "Notes.txt", "first line\r\nsecond line");
    WriteFileBytes(folder_ / "Styled.rtf", "{\\rtf1\\ansi {\\b Bold} and plain}");
    struct Case {
        const char* file;
        bool treeFocused;
        const char* text;
    };
    const Case cases[] = {
        {"Notes.txt", true, "first line\r\nsecond line"},
        {"Notes.txt", false, "first line\r\nsecond line"},
        {"Styled.rtf", true, "Bold and plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.treeFocused ? " into the tree" : " into the editor"));
        NewOutline();
        PageDataOf(Root())->SetBodyText("Before After");
        LastShownPage = nullptr;
        Main->TreeClick();
        if (c.treeFocused) {
            Tree().SetFocus();
            ASSERT_TRUE(Tree().Focused());
        } else {
            Main->RichEdit->SetFocus();
            Main->RichEdit->SetSelStart(7);
        }
        ScriptedFileDialogs dialogs;
        dialogs.Choose(folder_ / c.file);

        Main->mFileClick(nullptr);

        EXPECT_EQ(1, OutlineProperties.FileChanged);
        EXPECT_EQ("", Main->Rich->Text());
        EXPECT_TRUE(Main->Rich->PlainText());
        EXPECT_TRUE(Main->Rich->WordWrap());
        if (c.treeFocused) {
            ASSERT_EQ(1, Root()->Count());
            TTreeNode* page = Root()->Item(0);
            EXPECT_EQ(ChangeFileExt(c.file, ""), page->Text());
            EXPECT_EQ(c.text, PageDataOf(page)->BodyText());
            EXPECT_EQ(page, Tree().Selected());
            EXPECT_TRUE(Root()->Expanded());
            EXPECT_EQ(page, PageHistory.Entry(PageHistory.Count() - 1));
            EXPECT_EQ(c.text, Main->RichEdit->Text());
        } else {
            EXPECT_EQ(0, Root()->Count());
            const std::string body = "Before " + std::string(c.text) + "After";
            EXPECT_EQ(body, PageDataOf(Root())->BodyText());
            EXPECT_EQ(body, Main->RichEdit->Text());
            // One position per line break in the control.
            EXPECT_EQ(static_cast<int>(std::string("Before first line\rsecond line").size()),
                      Main->RichEdit->SelStart());
        }
    }
}

TEST_F(FileCommandsTest, InsertFileShowsTheHourglassAndMovesTheBarAsItReads)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "Line " + std::to_string(i) + " of a long text file\r\n";
    WriteFileBytes(folder_ / "Long.txt", text);
    for (const bool treeFocused : {true, false}) {
        SCOPED_TRACE(treeFocused ? "into the tree" : "into the editor");
        NewOutline();
        if (treeFocused)
            Tree().SetFocus();
        else
            Main->RichEdit->SetFocus();
        ScriptedFileDialogs dialogs;
        dialogs.Choose(folder_ / "Long.txt");
        SetScreenCursorId(crDefault);
        TSentMessages bar(PBM_SETPOS);
        // The rows the editor has laid out when the bar first stands full.
        LRESULT rowsWhenFull = -1;
        bar.OnSent = [&](const TSentMessages::Sent& sent) {
            if (sent.wParam == 100 && rowsWhenFull < 0)
                rowsWhenFull = SendMessageA(Main->RichEdit->Handle(), EM_GETLINECOUNT, 0, 0);
        };

        Main->mFileClick(nullptr);

        std::vector<WPARAM> positions;
        for (const auto& sent : bar.Seen) {
            EXPECT_EQ(crHourGlass, sent.cursor);
            if (sent.wParam > 0)
                positions.push_back(sent.wParam);
        }
        EXPECT_GE(positions.size(), 10u);
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        // Up to the end: putting the text into the editor is part of the work.
        ASSERT_FALSE(positions.empty());
        EXPECT_EQ(positions.back(), 100u);
        // Full only once the editor has laid the whole text out.
        EXPECT_EQ(rowsWhenFull, SendMessageA(Main->RichEdit->Handle(), EM_GETLINECOUNT, 0, 0));
        EXPECT_EQ(crDefault, ScreenCursorId());
        EXPECT_EQ(nullptr, Main->FProgressBar);
        EXPECT_EQ(text, PageDataOf(Tree().Selected())->BodyText());
        // The focus stays where it was.
        EXPECT_TRUE(treeFocused ? Tree().Focused() : Main->RichEdit->Focused());
    }
}

// Files that ended or froze the program: a table of more cells than the
// rich edit control holds, a control word longer than its token buffer, a
// line far longer than any paragraph. The outline stays as it was, or gets
// the file's text.
TEST_F(FileCommandsTest, InsertFileOfAFileTheEditorCannotTakeEndsWithTheOutlineWhole)
{
    std::string table = "{\\rtf1\\trowd";
    for (int i = 0; i < 2000; ++i)
        table += "\\cellx99999999";
    for (int i = 0; i < 2000; ++i)
        table += "\\intbl x\\cell";
    WriteFileBytes(folder_ / "Table.rtf", table + "\\row}");
    WriteFileBytes(folder_ / "Word.rtf", "{\\rtf1 \\" + std::string(3000, 'a') + "}");
    std::string line;
    while (line.size() < 3 * LongestKeptLine)
        line += "words in one line ";
    WriteFileBytes(folder_ / "Line.txt", line);
    struct Case {
        const char* file;
        bool read;
    };
    const Case cases[] = {{"Table.rtf", false}, {"Word.rtf", false}, {"Gone.txt", false}, {"Line.txt", true}};
    for (const Case& c : cases) {
        for (const bool treeFocused : {true, false}) {
            SCOPED_TRACE(std::string(c.file) + (treeFocused ? " into the tree" : " into the editor"));
            NewOutline();
            PageDataOf(Root())->SetBodyText("Before After");
            LastShownPage = nullptr;
            Main->TreeClick();
            if (treeFocused) {
                Tree().SetFocus();
            } else {
                Main->RichEdit->SetFocus();
                Main->RichEdit->SetSelStart(7);
            }
            ScriptedFileDialogs dialogs;
            dialogs.Choose(folder_ / c.file);
            ScriptedMessageBoxes boxes;
            if (!c.read)
                boxes.Answer(IDOK);

            Main->mFileClick(nullptr);

            EXPECT_EQ(c.read ? std::vector<std::string>{} : std::vector<std::string>{"Cannot open input file!"},
                      boxes.Texts());
            EXPECT_EQ(c.read ? 1 : 0, OutlineProperties.FileChanged);
            EXPECT_EQ("", Main->Rich->Text());
            const std::string body = PageDataOf(Tree().Selected())->BodyText();
            if (!c.read) {
                EXPECT_EQ(0, Root()->Count());
                EXPECT_EQ("Before After", body);
                continue;
            }
            std::string text = body;
            std::erase(text, '\r');
            std::erase(text, '\n');
            EXPECT_EQ(treeFocused ? line : "Before " + line + "After", text);
            for (std::size_t start = 0, end; start < body.size(); start = end + 2) {
                end = std::min(body.find("\r\n", start), body.size());
                EXPECT_LE(end - start, LongestKeptLine);
            }
        }
    }
}

namespace {
class InsertFileKeysTest : public PageTreeTest {};
}

TEST_F(InsertFileKeysTest, KeysPressedDuringTheWorkChangeNoPageSelectionOrTextAndOpenNothing)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "Line " + std::to_string(i) + " of a long text file\r\n";
    WriteFileBytes(folder_ / "Long.txt", text);
    struct Case {
        const char* keys;
        bool intoTree;
        WORD key;
        TShiftState shift;
    } cases[] = {
        {"Up", true, VK_UP, 0},
        {"End", true, VK_END, 0},
        {"Delete", true, VK_DELETE, 0},
        {"Ctrl+P", true, 'P', ssCtrl},
        {"letters", false, 'Q', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        Build("A,B");
        Select(N("A"));
        TControl& focused = c.intoTree ? static_cast<TControl&>(Tree()) : Editor();
        focused.SetFocus();
        // Before the page's own text.
        Editor().SetSelStart(0);
        ModalScript dialogs;
        ScriptedMessageBoxes boxes;
        ScriptedFileDialogs files;
        files.Choose(folder_ / "Long.txt");
        // The key comes as the bar first moves, held as a person holds it.
        SetKeyboardStateProvider([&c] { return c.shift; });
        press_key_detail::HoldModifiers(c.shift);
        TSentMessages bar(PBM_SETPOS);
        bool pressed = false;
        bar.OnSent = [&](const TSentMessages::Sent& sent) {
            if (sent.wParam > 0 && !std::exchange(pressed, true))
                PostMessageA(focused.Handle(), WM_KEYDOWN, c.key, 1);
        };
        Main->mFileClick(nullptr);
        Application.ProcessMessages();
        LetGoOfModifiers();
        SetKeyboardStateProvider(nullptr);

        if (c.intoTree) {
            EXPECT_EQ(Shape(), "A(Long),B");
            EXPECT_EQ(Tree().Selected(), N("A")->getFirstChild());
            EXPECT_TRUE(Editor().Text() == text);
        } else {
            EXPECT_EQ(Shape(), "A,B");
            EXPECT_EQ(Tree().Selected(), N("A"));
            EXPECT_TRUE(PageDataOf(N("A"))->BodyText() == text + "A text");
            EXPECT_TRUE(Editor().Text() == text + "A text");
        }
        EXPECT_TRUE(dialogs.Shown().empty());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_TRUE(focused.Focused());
    }
}

TEST_F(FileCommandsTest, InsertFileOfAnOutlineAddsItAsABranch)
{
    const std::string path = SavedOutline("Branch.kbf", "Branch");
    NewOutline();
    ScriptedFileDialogs dialogs;
    dialogs.Choose(path);

    Main->mFileClick(nullptr);

    ASSERT_EQ(1, Root()->Count());
    TTreeNode* branch = Root()->Item(0);
    EXPECT_EQ("Branch", branch->Text());
    ASSERT_EQ(1, branch->Count());
    EXPECT_EQ("Child of Branch", branch->Item(0)->Text());
    EXPECT_EQ(branch, Tree().Selected());
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_EQ(UntitledFileName, CurrentFileName);
}

TEST_F(FileCommandsTest, DesktopShortcutNeedsAFileAndReplacesAnEarlierOne)
{
    const std::string desktop = folder_ / "Desktop";
    CreateDirectoryA(desktop.c_str(), nullptr);
    std::vector<int> asked;
    SetSpecialFolderHandler([&](int csidl) {
        asked.push_back(csidl);
        return desktop;
    });
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        Main->mDesktopClick(nullptr);
        EXPECT_EQ(std::vector<std::string>{SaveFirst}, boxes.Texts());
        EXPECT_TRUE(FilesIn(desktop).empty());
    }
    SavedOutline("Work.kbf", "Work");
    const std::string link = desktop + "\\Work.lnk";
    WriteFileBytes(link, "an old file of that name");

    Main->mDesktopClick(nullptr);

    SetSpecialFolderHandler(nullptr);
    EXPECT_EQ(std::vector<int>{0x10}, asked);
    EXPECT_EQ(std::vector<std::string>{"Work.lnk"}, FilesIn(desktop));
    // A shell link begins with its header's size, 76.
    EXPECT_EQ(std::string("\x4C\0\0\0", 4), ReadFileBytes(link).substr(0, 4));
}

TEST_F(FileCommandsTest, FloppyCopyAsksWhatItMustAndRestoresTheCurrentFolder)
{
    const std::string drive = folder_ / "A";
    SetFloppyRoot(drive + "\\");
    const std::string target = drive + "\\Work.kbf";
    const char* const copied = "File saved succesfully!";
    const char* const failed = "Error saving file! (Write protect enabled or not enought free space!)";
    const char* const insert = "Please insert disk in drive A: and then click retry!";
    const char* const overwrite = "File exists. Overwrite?";
    // Blocked: a folder of the file's name stands where the copy would go.
    enum class Disk { Missing, Empty, HasFile, Blocked };
    struct Case {
        const char* name;
        Disk disk;
        bool changed;
        std::vector<int> answers;
        std::vector<std::string> texts;
        bool copiedFile; // the target holds the outline afterwards
    };
    const Case cases[] = {
        {"empty disk", Disk::Empty, false, {IDOK}, {copied}, true},
        {"no disk", Disk::Missing, false, {IDRETRY, IDCANCEL}, {insert, insert}, false},
        {"overwrite: no", Disk::HasFile, false, {IDNO}, {overwrite}, false},
        {"overwrite: yes", Disk::HasFile, false, {IDYES, IDOK}, {overwrite, copied}, true},
        {"cannot write", Disk::Blocked, false, {IDOK}, {failed}, false},
        {"changed: cancel", Disk::Empty, true, {IDCANCEL}, {SendQuestion}, false},
        {"changed: save first", Disk::Empty, true, {IDYES, IDOK}, {SendQuestion, copied}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFolderTree(drive);
        if (c.disk != Disk::Missing)
            CreateDirectoryA(drive.c_str(), nullptr);
        if (c.disk == Disk::HasFile)
            WriteFileBytes(target, "older copy");
        if (c.disk == Disk::Blocked)
            CreateDirectoryA(target.c_str(), nullptr);
        const std::string path = SavedOutline("Work.kbf", "Work");
        if (c.changed)
            Change();
        SetCurrentDirectoryA(folder_.Path().c_str());
        ScriptedMessageBoxes boxes;
        for (int answer : c.answers)
            boxes.Answer(answer);

        Main->m144FloppyClick(nullptr);

        EXPECT_EQ(c.texts, boxes.Texts());
        for (const MessageBoxRequest& box : boxes.Shown()) {
            const UINT buttons = box.text == insert ? MB_RETRYCANCEL : box.text == overwrite ? MB_YESNO
                                 : box.text == SendQuestion                               ? MB_YESNOCANCEL
                                                                                          : MB_OK;
            EXPECT_EQ(buttons | MB_ICONINFORMATION, box.flags) << box.text;
        }
        EXPECT_EQ(folder_.Path(), CurrentFolder());
        if (c.copiedFile) {
            EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(target));
        } else if (c.disk == Disk::HasFile) {
            EXPECT_EQ("older copy", ReadFileBytes(target));
        } else if (c.disk == Disk::Empty) {
            EXPECT_TRUE(FilesIn(drive).empty());
        }
        if (c.changed && c.copiedFile) {
            ASSERT_TRUE(LoadOutline(target));
            EXPECT_EQ("Changed", Root()->Text());
        }
    }
    SetFloppyRoot("");
    EXPECT_EQ("a:\\", FloppyRoot());

    NewOutline();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    Main->m144FloppyClick(nullptr);
    EXPECT_EQ(std::vector<std::string>{SaveFirst}, boxes.Texts());
}

TEST_F(FileCommandsTest, ReopenItemsOfTheMenuAndThePopupOpenThePathTheirCaptionShows)
{
    const std::string first = SavedOutline("First.kbf", "First");
    const std::string second = SavedOutline("Second.kbf", "Second");
    RecentFiles.Clear();
    RecentFiles.Add(first);
    RecentFiles.Add(second);
    RebuildRecentMenu(RecentFiles);

    for (const char* item : {"m0", "pr1", "pr0", "m1"}) {
        SCOPED_TRACE(item);
        Item(item)->Click();
        const bool isFirst = std::string(item).back() == '0';
        EXPECT_EQ(isFirst ? first : second, CurrentFileName);
        EXPECT_EQ(isFirst ? "First" : "Second", Root()->Text());
    }
    EXPECT_EQ((std::vector<std::string>{first, second}), ListOf(RecentFiles));
}

TEST_F(FileCommandsTest, UpOneLevelGoesToTheParentPageOrBackToTheOutlineOfOrigin)
{
    const std::string origin = SavedOutline("Origin.kbf", "Origin");
    const std::string linked = SavedOutline("Linked.kbf", "Linked");

    Tree().SetSelected(Root()->Item(0));
    Main->mUpOneLevelClick(nullptr);
    EXPECT_EQ(Root(), Tree().Selected());
    EXPECT_EQ("Linked body", Main->RichEdit->Text());

    for (const std::string& parent : {std::string(), folder_ / "Gone.kbf"}) {
        SCOPED_TRACE(parent);
        ParentOutlineFile = parent;
        Main->mUpOneLevelClick(nullptr);
        EXPECT_EQ(linked, CurrentFileName);
        EXPECT_EQ("", ParentOutlineFile);
    }

    ParentOutlineFile = origin;
    Main->mUpOneLevelClick(nullptr);
    EXPECT_EQ(origin, CurrentFileName);
    EXPECT_EQ("Origin", Root()->Text());
    EXPECT_EQ("", ParentOutlineFile);
}

TEST_F(FileCommandsTest, NewWindowStartsTheProgramAgain)
{
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    Main->mNewWindowClick(nullptr);
    SetShellOpenHandler(nullptr);
    EXPECT_EQ(std::vector<std::string>{ExePath()}, opened);
    EXPECT_EQ(ExeFolder() + "app_tests.exe", ExePath());
}

#include "PageTreeTest.h"

#include "ExportProfiles.h"
#include "FileHandle.h"
#include "LiveDialogScript.h"
#include "MachineMailClients.h"
#include "ProgramFolder.h"
#include "RichEdit.h"
#include "SafeFileWriter.h"
#include "SaveCopy.h"
#include "SaveExtPanel.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "ShellOpen.h"

#include <dlgs.h>

namespace {
class SaveCopy : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        SetShellOpenHandler([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        OptionSettings.ExternalFolder = folder_.Path() + "\\";
        Build("A(A1),B");
        Select(N("A"));
    }
    void TearDown() override
    {
        SetShellOpenHandler(nullptr);
        SafeWriteFaultsForTests() = SafeWriteFaults{};
        PageTreeTest::TearDown();
    }

    // Save Copy As with the panel's items and action set as the person would.
    void SaveCopyAs(const std::string& name, int type, int items, int after = TSaveExt::AfterNone)
    {
        TSaveExt& panel = EnsureSaveExt();
        panel.ItemsE.SetItemIndex(items);
        panel.AfterE.SetItemIndex(after);
        dialogs.Choose(folder_ / name, type);
        Main->RunHandler("mSaveCopyAsClick", nullptr);
    }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(folder_ / name); }

    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes boxes;
    std::vector<std::string> opened;
};
} // namespace

TEST_F(SaveCopy, EachTypeAndItemsWriteTheirFormatUnderTheNameGiven)
{
    Editor().SetText("Typed text of A");
    struct Case {
        std::string name;
        int type;
        int items;
        std::string written; // as the file is named after the extension rule
        std::string starts;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {"all", 1, TSaveExt::AllPages, "all.txt", "", {"A1 text", "B text"}, {"{\\rtf"}},
        {"branch.doc", 1, TSaveExt::CurrentBranch, "branch.doc", "", {"A1 text"}, {"B text"}},
        // The chosen type decides the format, not the name's extension.
        {"page.rtf", 1, TSaveExt::SelectedPage, "page.rtf", "Typed text of A", {}, {"{\\rtf"}},
        {"all", 2, TSaveExt::AllPages, "all.rtf", "{\\rtf", {"A1 text", "B text"}, {}},
        {"page.txt", 2, TSaveExt::SelectedPage, "page.txt", "{\\rtf", {"Typed text of A"}, {}},
        {"all", 3, TSaveExt::AllPages, "all.htm", "<HTML>", {"A1 text", "B text"}, {}},
        {"branch", 3, TSaveExt::CurrentBranch, "branch.htm", "<HTML>", {"A1 text"}, {"B text"}},
        {"all", 4, TSaveExt::AllPages, "all.kbf", "kbf", {"A1 text", "B text"}, {}},
        // The outline type writes the branch for the selected page too.
        {"branch", 4, TSaveExt::SelectedPage, "branch.kbf", "kbf", {"A1 text"}, {"B text"}},
    };
    for (const Case& c : cases) {
        SaveCopyAs(c.name, c.type, c.items);
        const std::string bytes = Bytes(c.written);
        EXPECT_EQ(bytes.compare(0, c.starts.size(), c.starts), 0) << c.written;
        for (const std::string& text : c.present)
            EXPECT_NE(bytes.find(text), std::string::npos) << c.written << ": " << text;
        for (const std::string& text : c.absent)
            EXPECT_EQ(bytes.find(text), std::string::npos) << c.written << ": " << text;
        EXPECT_EQ(Main->FExportProfiles->Current()->Settings.ExportSource, c.items == TSaveExt::AllPages ? 0 : 1);
    }
    EXPECT_EQ(Bytes("page.rtf"), "Typed text of A");
    for (const char* rtf : {"all.rtf", "page.txt"})
        EXPECT_EQ(Bytes(rtf).back(), '}') << rtf;
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(SaveCopy, AnOutlineCopyLeavesTheOpenOutlineItsNameAndItsChanges)
{
    const std::string name = CurrentFileName;
    OutlineProperties.FileChanged = 1;
    Editor().SetText("Typing that stays unsaved");
    Editor().SetModified(true);
    SaveCopyAs("copy", 4, TSaveExt::AllPages);
    EXPECT_TRUE(FileExists(folder_ / "copy.kbf"));
    EXPECT_EQ(CurrentFileName, name);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}

TEST_F(SaveCopy, TheSelectedPageInRtfLeavesTheEditorAsItWas)
{
    Editor().SetText("line one\r\nline two");
    Editor().SetSelection(3, 7, false);
    Editor().SetModified(true);
    const HWND window = Editor().Handle();
    SaveCopyAs("page", 2, TSaveExt::SelectedPage);
    EXPECT_TRUE(Editor().PlainText());
    EXPECT_TRUE(Editor().Modified());
    EXPECT_EQ(Editor().Handle(), window);
    EXPECT_EQ(Editor().SelStart(), 3);
    EXPECT_EQ(Editor().SelLength(), 4);
    EXPECT_EQ(Bytes("page.rtf").rfind("{\\rtf", 0), 0u);
}

TEST_F(SaveCopy, TheSinglePageWebPageIsACompleteDocument)
{
    N("A")->SetText("Plan & <x>");
    OptionSettings.ExtraHead = "<meta name=\"q\">";
    OptionSettings.AllowHtml = false;
    Editor().SetText("Line one\r\nTwo < three");
    SaveCopyAs("page", 3, TSaveExt::SelectedPage);
    EXPECT_EQ(Bytes("page.htm"), "<HTML>\r\n\r\n<HEAD>\r\n<TITLE>Plan &amp; &lt;x&gt;</TITLE>\r\n<meta name=\"q\">\r\n"
                                 "</HEAD>\r\n\r\n<BODY>\r\nLine one\r\n<BR>\r\nTwo &lt; three</BODY>\r\n</HTML>\r\n");
}

TEST_F(SaveCopy, OverwritingAsksAndNoWritesNothingAndRunsNoAction)
{
    WriteFileBytes(folder_ / "old.txt", "old bytes");
    boxes.Answer(IDNO);
    SaveCopyAs("old.txt", 1, TSaveExt::AllPages, TSaveExt::OpenFile);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, folder_ / "old.txt" + " already exists!\n Do you want to overwrite?");
    EXPECT_EQ(boxes.Shown()[0].caption, "Save File As");
    EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(Bytes("old.txt"), "old bytes");
    EXPECT_TRUE(opened.empty());

    boxes.Answer(IDYES);
    SaveCopyAs("old.txt", 1, TSaveExt::AllPages, TSaveExt::OpenFile);
    EXPECT_NE(Bytes("old.txt"), "old bytes");
    EXPECT_EQ(opened, (std::vector<std::string>{folder_ / "old.txt"}));
}

TEST_F(SaveCopy, AFailedWriteKeepsTheOldFileAndRunsNoAction)
{
    for (int type : {1, 2, 3, 4}) {
        const std::string name = "kept" + std::to_string(type);
        const std::string path = WithSaveCopyExtension(name, type);
        WriteFileBytes(folder_ / path, "old bytes");
        SafeWriteFaultsForTests().FailWriteAtByte = 0;
        ScriptedMessageBoxes answers;
        answers.Answer(IDYES);
        answers.Answer(IDOK);
        SaveCopyAs(name, type, TSaveExt::AllPages, TSaveExt::OpenFile);
        SafeWriteFaultsForTests() = SafeWriteFaults{};
        EXPECT_EQ(Bytes(path), "old bytes") << type;
        ASSERT_EQ(answers.Shown().size(), 2u) << type;
        EXPECT_EQ(answers.Shown()[1].text, "Error writing on disk! Disk full?") << type;
    }
    EXPECT_TRUE(opened.empty());
}

TEST_F(SaveCopy, SavePageAsOffersThreeTypesAndTheSelectedPageEvenAfterAnOutlineCopy)
{
    // An outline copy takes "Selected page" away from the items...
    SaveCopyAs("outline", 4, TSaveExt::AllPages);
    Main->dlgSaveCopy->FilterIndex = 4;
    Main->dlgSaveCopySelectionChange(nullptr);
    EXPECT_EQ(SaveExt->ItemsE.Items().Count(), 2);
    EXPECT_FALSE(SaveExt->ProfileE.Enabled());

    // ...and the page's command must still save the page alone.
    Editor().SetText("Only this page");
    dialogs.Choose(folder_ / "page", 1);
    Main->RunHandler("ppSavePageAsClick", nullptr);
    const auto& request = dialogs.Requests().back();
    EXPECT_EQ(request.title, "Save Page As");
    EXPECT_EQ(request.filter, "Text File(*.txt)|*.txt|Rich Text Format File(*.rtf)|*.rtf|Web Page(*.htm)|*.htm");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(SaveExt->ItemsE.ItemIndex(), TSaveExt::SelectedPage);
    EXPECT_FALSE(SaveExt->ItemsE.Enabled());
    EXPECT_EQ(SaveExt->AfterE.ItemIndex(), TSaveExt::AfterNone);
    EXPECT_EQ(Bytes("page.txt"), "Only this page");
    EXPECT_TRUE(opened.empty());

    // Choosing "Selected page" with another type greys the profile group.
    Main->dlgSaveCopy->FilterIndex = 2;
    Main->dlgSaveCopySelectionChange(nullptr);
    EXPECT_EQ(SaveExt->ItemsE.Items().Count(), 3);
    EXPECT_FALSE(SaveExt->ProfileE.Enabled());
    SaveExt->ItemsE.UserSelect(TSaveExt::CurrentBranch);
    EXPECT_TRUE(SaveExt->ProfileE.Enabled());
    EXPECT_FALSE(SaveExt->RemoveE.Enabled());
}

TEST_F(SaveCopy, SaveAsWebPageStartsOnTheWebTypeAndSaveCopyAsOnTheLastOne)
{
    dialogs.Choose(folder_ / "web", 0);
    Main->RunHandler("mSaveAsWebPageClick", nullptr);
    EXPECT_EQ(dialogs.Requests().back().filterIndex, 3);
    EXPECT_EQ(dialogs.Requests().back().title, "Save Copy As");
    EXPECT_TRUE(FileExists(folder_ / "web.htm"));
    dialogs.Cancel();
    Main->RunHandler("mSaveCopyAsClick", nullptr);
    EXPECT_EQ(dialogs.Requests().back().filterIndex, 3);
    EXPECT_EQ(dialogs.Requests().back().initialDir, folder_.Path() + "\\");
}

TEST_F(SaveCopy, EmailFileMailsTheWrittenFile)
{
    MachineMailClients clients;
    TestFolder logFolder;
    const std::string log = logFolder / "mail.log";
    SetEnvironmentVariableA("QUILLO_FAKE_MAIL_LOG", log.c_str());
    OptionSettings.Email = FakeClient;
    clients.SetDllPath(ExeFolder() + "fake_mail_client.dll");
    SaveCopyAs("mailed", 1, TSaveExt::AllPages, TSaveExt::EmailFile);
    SetEnvironmentVariableA("QUILLO_FAKE_MAIL_LOG", nullptr);
    EXPECT_NE(ReadFileBytes(log).find("file.path=\"" + folder_ / "mailed.txt" + "\""), std::string::npos);
    EXPECT_NE(ReadFileBytes(log).find("recipients=0"), std::string::npos);
}

namespace {
// Save copies tried onto the file of the outline the window has open.
class SaveCopyOverTheOpenOutline : public SaveCopy {
protected:
    void SetUp() override
    {
        SaveCopy::SetUp();
        outline = folder_ / "My outline notes.kbf";
        ASSERT_TRUE(SaveOutline(outline));
        saved = ReadFileBytes(outline);
        Select(N("A"));
    }

    // Runs the command with the dialog answered by name and type, then by
    // Cancel when it is asked again; true when it was refused and asked again.
    bool Refused(const std::string& command, const std::string& name, int type)
    {
        const std::size_t asked = dialogs.Requests().size();
        ScriptedMessageBoxes messages;
        messages.Answer(IDOK);
        dialogs.Choose(name, type);
        dialogs.Cancel();
        Main->RunHandler(command, nullptr);
        EXPECT_EQ(dialogs.PendingAnswers(), 0u);
        if (messages.Shown().size() != 1 || dialogs.Requests().size() != asked + 2)
            return false;
        const MessageBoxRequest& shown = messages.Shown()[0];
        EXPECT_EQ(shown.text, WithSaveCopyExtension(name, type) +
                                  " is the file of the outline open in this window.\n"
                                  "A copy cannot replace the open outline. Please choose another name.");
        EXPECT_EQ(shown.caption, "Corvane Quillo");
        EXPECT_EQ(shown.flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        // Asked again with the refused name, ready to be changed.
        EXPECT_EQ(dialogs.Requests().back().fileName, WithSaveCopyExtension(name, type));
        return true;
    }

    std::string outline;
    std::string saved;
};

std::string ShortPathOf(const std::string& path)
{
    char shortPath[MAX_PATH + 1] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : std::string();
}
} // namespace

TEST_F(SaveCopyOverTheOpenOutline, EveryCommandTypeAndRangeIsRefusedAndTheFileKept)
{
    struct Case {
        const char* command;
        int type;
        int items;
    } cases[] = {
        {"mSaveCopyAsClick", TextCopy, TSaveExt::AllPages},
        {"mSaveCopyAsClick", TextCopy, TSaveExt::CurrentBranch},
        {"mSaveCopyAsClick", TextCopy, TSaveExt::SelectedPage},
        {"mSaveCopyAsClick", RtfCopy, TSaveExt::AllPages},
        {"mSaveCopyAsClick", RtfCopy, TSaveExt::CurrentBranch},
        {"mSaveCopyAsClick", RtfCopy, TSaveExt::SelectedPage},
        {"mSaveCopyAsClick", WebPageCopy, TSaveExt::AllPages},
        {"mSaveCopyAsClick", WebPageCopy, TSaveExt::CurrentBranch},
        {"mSaveCopyAsClick", WebPageCopy, TSaveExt::SelectedPage},
        {"mSaveCopyAsClick", OutlineCopy, TSaveExt::AllPages},
        {"mSaveCopyAsClick", OutlineCopy, TSaveExt::CurrentBranch},
        // Save As Web Page opens on its own type.
        {"mSaveAsWebPageClick", 0, TSaveExt::AllPages},
        {"mSaveAsWebPageClick", 0, TSaveExt::CurrentBranch},
        {"ppSavePageAsClick", TextCopy, TSaveExt::SelectedPage},
        {"ppSavePageAsClick", RtfCopy, TSaveExt::SelectedPage},
        {"ppSavePageAsClick", WebPageCopy, TSaveExt::SelectedPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + std::to_string(c.type) + " " + std::to_string(c.items));
        EnsureSaveExt().ItemsE.SetItemIndex(c.items);
        EnsureSaveExt().AfterE.SetItemIndex(TSaveExt::OpenFile);
        EXPECT_TRUE(Refused(c.command, outline, c.type));
        EXPECT_EQ(ReadFileBytes(outline), saved);
        EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::string>{"My outline notes.kbf"});
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(CurrentFileName, outline);
}

TEST_F(SaveCopyOverTheOpenOutline, TheNameIsReadAsTheSystemReadsIt)
{
    const std::string shortName = ShortPathOf(outline);
    ASSERT_FALSE(shortName.empty());
    ASSERT_NE(shortName, outline);
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    std::string upper = outline;
    CharUpperA(upper.data());
    for (const std::string& name : {upper, std::string("My outline notes.kbf"), std::string(".\\MY OUTLINE NOTES.kbf"),
                                    shortName}) {
        SCOPED_TRACE(name);
        EnsureSaveExt().ItemsE.SetItemIndex(TSaveExt::AllPages);
        EXPECT_TRUE(Refused("mSaveCopyAsClick", name, TextCopy));
        EXPECT_EQ(ReadFileBytes(outline), saved);
    }
    SetCurrentDirectoryA(current);
}

TEST_F(SaveCopyOverTheOpenOutline, AnotherNameChosenAfterTheRefusalTakesTheCopy)
{
    EnsureSaveExt().ItemsE.SetItemIndex(TSaveExt::AllPages);
    EnsureSaveExt().AfterE.SetItemIndex(TSaveExt::OpenFile);
    boxes.Answer(IDOK);
    dialogs.Choose(outline, TextCopy);
    dialogs.Choose(folder_ / "copy", TextCopy);
    Main->RunHandler("mSaveCopyAsClick", nullptr);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(ReadFileBytes(outline), saved);
    EXPECT_NE(ReadFileBytes(folder_ / "copy.txt").find("A1 text"), std::string::npos);
    EXPECT_EQ(opened, std::vector<std::string>{folder_ / "copy.txt"});

}

namespace {
// The real save dialog, driven from its show event.
class SaveCopyLive : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        SetShellOpenHandler([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        OptionSettings.ExternalFolder = folder_.Path() + "\\";
        Build("A(A1),B");
        Select(N("A"));
    }
    void TearDown() override
    {
        SetShellOpenHandler(nullptr);
        PageTreeTest::TearDown();
    }
    std::vector<std::string> opened;
};

void ChooseType(HWND dialog, int index)
{
    SendMessageA(GetDlgItem(dialog, cmb1), CB_SETCURSEL, index, 0);
    SendDialogCommand(dialog, cmb1, CBN_SELENDOK);
}
} // namespace

TEST_F(SaveCopyLive, SaveCopyAsDocksThePanelAndAnOutlineCopyLeavesTheOpenOutline)
{
    WriteFileBytes(folder_ / "older.kbf", "kbf");
    const std::string openName = CurrentFileName;
    OutlineProperties.FileChanged = 1;
    EnsureSaveExt();
    LiveDialogScript script(*Main->dlgSaveCopy);
    script
        .Then([](TApCustomOpenDialog& live) {
            char caption[64] = {};
            GetWindowTextA(live.DialogWindow(), caption, sizeof caption);
            EXPECT_STREQ(caption, "Save Copy As");
            EXPECT_EQ(GetParent(SaveExt->Handle()), live.DialogWindow());
            EXPECT_TRUE(IsWindowVisible(SaveExt->Handle()));
            EXPECT_EQ(SaveExt->AfterE.ItemIndex(), TSaveExt::OpenFile);
            ChooseType(live.DialogWindow(), 3);
        })
        .Then([](TApCustomOpenDialog& live) {
            // The outline file shown is selected: the panel follows the type.
            LVITEMA item{};
            item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(live.GetLVHandle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        })
        .Then([](TApCustomOpenDialog& live) {
            EXPECT_EQ(SaveExt->ItemsE.Items().Count(), 2);
            EXPECT_FALSE(SaveExt->ProfileE.Enabled());
            live.SetFNameText("copy");
            live.CloseDialog(IDOK);
        });
    ASSERT_TRUE(script.Run([] {
        Main->RunHandler("mSaveCopyAsClick", nullptr);
        return true;
    }));
    EXPECT_EQ(ReadFileBytes(folder_ / "copy.kbf").rfind("kbf", 0), 0u);
    EXPECT_EQ(opened, (std::vector<std::string>{folder_ / "copy.kbf"}));
    EXPECT_EQ(CurrentFileName, openName);
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
    ASSERT_NE(SaveExt, nullptr);
    EXPECT_FALSE(IsWindowVisible(SaveExt->Handle()));
    EXPECT_EQ(ActiveApDialog, nullptr);
}

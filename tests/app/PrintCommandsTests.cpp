#include "PageTreeTest.h"

#include "Cursors.h"
#include "EmfPrinter.h"
#include "ExportProfiles.h"
#include "ModalScript.h"
#include "PrintDialog.h"
#include "ScriptedMessageBoxes.h"
#include "SentMessages.h"
#include "UncommittedTyping.h"

#include <algorithm>
#include <commctrl.h>
#include <functional>
#include <utility>

namespace {
class PrintCommands : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
        auto owned = std::make_unique<TEmfPrinter>();
        printer = owned.get();
        installed_ = std::make_unique<TInstalledPrinter>(std::move(owned));
        OptionSettings.PrintFontFace = "Courier New";
        OptionSettings.PrintFontSize = 10;
        Build("A(A1),B");
    }
    void TearDown() override
    {
        installed_.reset();
        DialogStates = states_;
        PageTreeTest::TearDown();
    }

    // Runs Print with the dialog answered by the step.
    void RunPrint(std::function<void(TPrintKB&)> step)
    {
        ModalScript script;
        script.Then<TPrintKB>(std::move(step));
        Main->RunHandler("mPrintKBClick", nullptr);
        EXPECT_EQ(script.PendingSteps(), 0u);
    }
    static std::function<void(TPrintKB&)> PrintItems(int items)
    {
        return [items](TPrintKB& dialog) {
            dialog.ItemsE.UserSelect(items);
            dialog.Button1.Click();
        };
    }

    // Every text drawn, page after page.
    std::vector<std::string> Printed() const
    {
        std::vector<std::string> texts;
        for (const auto& page : printer->Pages)
            for (const auto& drawn : page.texts)
                texts.push_back(drawn.text.substr(drawn.text.find_first_not_of(' ')));
        return texts;
    }

    // Rich is left as the next user expects it: empty, plain, in the page font.
    void ExpectRichRestored()
    {
        TQRichEdit& rich = *Main->Rich;
        EXPECT_EQ(rich.Text(), "");
        EXPECT_TRUE(rich.PlainText());
        EXPECT_EQ(SendMessageA(rich.Handle(), WM_GETFONT, 0, 0), SendMessageA(Editor().Handle(), WM_GETFONT, 0, 0));
    }

    TEmfPrinter* printer = nullptr;

private:
    TDialogStates states_;
    std::unique_ptr<TInstalledPrinter> installed_;
};
} // namespace

TEST_F(PrintCommands, EachItemChoicePrintsItsTextTitledByItsFirstLine)
{
    Select(N("A"));
    // Typing the editor has not stored yet is what the page prints.
    Editor().SetText("Typed first line\r\nsecond line");
    struct Case {
        int items;
        std::vector<std::string> present;
        std::vector<std::string> absent;
        int exportSource;
    } cases[] = {
        {TPrintKB::SelectedPage, {"Typed first line", "second line"}, {"A1 text"}, 1},
        {TPrintKB::CurrentBranch, {"A", "A1", "A1 text"}, {"B", "B text"}, 1},
        {TPrintKB::WholeOutline, {"A", "A1 text", "B", "B text"}, {}, 0},
    };
    for (const Case& c : cases) {
        RunPrint(PrintItems(c.items));
        ASSERT_FALSE(printer->Steps.empty());
        const std::vector<std::string> printed = Printed();
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(printer->Steps.front(), "begin " + printed.front()) << c.items;
        EXPECT_EQ(printer->Steps.back(), "end");
        for (const std::string& line : c.present)
            EXPECT_NE(std::find(printed.begin(), printed.end(), line), printed.end()) << line;
        for (const std::string& line : c.absent)
            EXPECT_EQ(std::find(printed.begin(), printed.end(), line), printed.end()) << line;
        EXPECT_EQ(Main->FExportProfiles->Current()->Settings.ExportSource, c.exportSource);
        EXPECT_EQ(printer->Pages[0].texts[0].face, "Courier New");
        ExpectRichRestored();
        printer->Steps.clear();
    }
}

TEST_F(PrintCommands, EveryItemChoicePrintsTypingStillInTheEditorWhileAnotherWindowIsActive)
{
    for (const int items : {TPrintKB::WholeOutline, TPrintKB::CurrentBranch, TPrintKB::SelectedPage}) {
        SCOPED_TRACE(items);
        Build("A(A1),B");
        Select(N("A"));
        {
            UncommittedTyping typing("typed while away");
            ASSERT_FALSE(Editor().Focused());
            RunPrint(PrintItems(items));
        }
        const std::vector<std::string> printed = Printed();
        EXPECT_NE(std::find(printed.begin(), printed.end(), "typed while away"), printed.end());
        EXPECT_EQ(std::find(printed.begin(), printed.end(), "A text"), printed.end());
        EXPECT_EQ(PageDataOf(N("A"))->BodyText(), "typed while away");
        printer->Steps.clear();
        printer->Pages.clear();
    }
}

TEST_F(PrintCommands, PrintPageWrapsTheWholeParagraphAtThePrintersWidthNotTheScreens)
{
    Select(N("B"));
    std::string paragraph;
    for (int i = 0; i < 120; ++i)
        paragraph += "word" + std::to_string(i) + " ";
    paragraph.pop_back();
    Editor().SetText(paragraph);
    Main->RunHandler("ppPrintPageClick", nullptr);
    EXPECT_EQ(printer->Steps.front(), "begin B");
    std::string joined;
    for (const std::string& line : Printed())
        joined += line + " ";
    joined.pop_back();
    EXPECT_EQ(joined, paragraph);
    // The screen shows many narrow lines; the page takes far fewer.
    EXPECT_LT(Printed().size(), static_cast<size_t>(Editor().Lines().Count()));
    ExpectRichRestored();
}

TEST_F(PrintCommands, ALongPrintShowsTheHourglassAndMovesTheBarSheetBySheet)
{
    Select(N("B"));
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "Line " + std::to_string(i) + " of a page long enough for several sheets\r\n";
    Editor().SetText(many);
    Editor().SetFocus();
    SetScreenCursorId(crDefault);
    TSentMessages bar(PBM_SETPOS);
    Main->RunHandler("ppPrintPageClick", nullptr);
    ASSERT_GE(printer->Pages.size(), 4u);
    std::vector<WPARAM> positions;
    for (const auto& sent : bar.Seen) {
        EXPECT_EQ(crHourGlass, sent.cursor);
        if (sent.wParam > 0)
            positions.push_back(sent.wParam);
    }
    // Each sheet after the first moves the bar on, and the end fills it.
    EXPECT_GE(positions.size(), printer->Pages.size() - 1);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(std::adjacent_find(positions.begin(), positions.end()), positions.end());
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(100u, positions.back());
    EXPECT_EQ(crDefault, ScreenCursorId());
    EXPECT_EQ(nullptr, Main->FProgressBar);
    EXPECT_TRUE(Editor().Focused());
    ExpectRichRestored();
}

TEST_F(PrintCommands, KeysPressedDuringAPrintChangeNoPageSelectionOrTextAndOpenNothing)
{
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "Line " + std::to_string(i) + " of a page long enough for several sheets\r\n";
    struct Case {
        const char* keys;
        bool intoTree;
        WORD key;
        TShiftState shift;
    } cases[] = {
        {"End", true, VK_END, 0},
        {"Delete", true, VK_DELETE, 0},
        {"Ctrl+P", true, 'P', ssCtrl},
        {"letters", false, 'Q', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        Build("A(A1),B");
        PageDataOf(N("A"))->SetBodyText(many);
        Select(N("A"));
        TControl& focused = c.intoTree ? static_cast<TControl&>(Tree()) : Editor();
        focused.SetFocus();
        // No dialog and no message box may open; either fails the test.
        ModalScript dialogs;
        ScriptedMessageBoxes boxes;
        printer->OnNewPage = [&](int page) {
            if (page == 2)
                PressKey(focused.Handle(), c.key, c.shift);
        };
        Main->RunHandler("ppPrintPageClick", nullptr);
        // Nothing comes back once the print is over either.
        Application.ProcessMessages();
        printer->OnNewPage = nullptr;
        EXPECT_EQ(printer->Steps.back(), "end");
        EXPECT_GE(printer->Pages.size(), 4u);
        EXPECT_EQ(Shape(), "A(A1),B");
        EXPECT_EQ(Tree().Selected(), N("A"));
        EXPECT_TRUE(Editor().Text() == many);
        EXPECT_FALSE(Editor().Modified());
        EXPECT_TRUE(dialogs.Shown().empty());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_TRUE(focused.Focused());
        ExpectRichRestored();
        printer->Steps.clear();
    }
}

TEST_F(PrintCommands, PrintDuringAPrintSaysSoWithoutAskingAndTheFirstGoesOn)
{
    Select(N("B"));
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "line " + std::to_string(i) + "\r\n";
    Editor().SetText(many);
    ModalScript dialogs;
    std::vector<std::string> refusals;
    bool tried = false;
    printer->OnNewPage = [&](int page) {
        if (page != 2 || std::exchange(tried, true))
            return;
        for (const char* command : {"mPrintKBClick", "ppPrintPageClick"}) {
            try {
                Main->RunHandler(command, nullptr);
            } catch (const EPrinter& error) {
                refusals.push_back(error.what());
            }
        }
    };
    Main->RunHandler("ppPrintPageClick", nullptr);
    printer->OnNewPage = nullptr;
    EXPECT_EQ(refusals, std::vector<std::string>(2, "Printing in progress"));
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(printer->Steps.front(), "begin B");
    EXPECT_EQ(printer->Steps.back(), "end");
    EXPECT_EQ(std::count(printer->Steps.begin(), printer->Steps.end(), "begin B"), 1);
    EXPECT_EQ(Printed().back(), "line 399");
    ExpectRichRestored();
}

TEST_F(PrintCommands, APrinterErrorPassesOnWithRichRestored)
{
    Select(N("B"));
    Editor().SetText("some text");
    printer->FailOnPage = 1;
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "line\r\n";
    Editor().SetText(many);
    EXPECT_THROW(Main->RunHandler("ppPrintPageClick", nullptr), EPrinter);
    EXPECT_EQ(printer->Steps.back(), "abort");
    ExpectRichRestored();

    // Without a printer the system's printer object refuses to begin,
    // whatever printers this machine has.
    TInstalledPrinter systemPrinter(std::make_unique<TSystemPrinter>([] { return std::string(); }));
    EXPECT_THROW(Main->RunHandler("ppPrintPageClick", nullptr), EPrinter);
    ExpectRichRestored();
}

TEST_F(PrintCommands, TheDialogKeepsItsPlaceAndProfileOnCancelAndCancelPrintsNothing)
{
    DialogStates.PrintKBInitialized = false;
    OptionSettings.DefaultProfile = "";
    RunPrint([](TPrintKB& dialog) {
        EXPECT_EQ(dialog.ItemsE.ItemIndex(), TPrintKB::WholeOutline);
        EXPECT_EQ(dialog.ProfileE.Text(), "Default");
        EXPECT_FALSE(dialog.RemoveE.Enabled());
        dialog.ItemsE.UserSelect(TPrintKB::SelectedPage);
        EXPECT_FALSE(dialog.ProfileE.Enabled());
        EXPECT_FALSE(dialog.Label3.Enabled());
        dialog.SetBounds(123, 77, dialog.Width(), dialog.Height());
        dialog.Cancel.Click();
    });
    EXPECT_TRUE(printer->Steps.empty());
    EXPECT_TRUE(DialogStates.PrintKBInitialized);
    EXPECT_EQ(DialogStates.PrintKBLeft, 123);
    EXPECT_EQ(DialogStates.PrintKBTop, 77);
    EXPECT_EQ(OptionSettings.DefaultProfile, "Default");
    RunPrint([](TPrintKB& dialog) {
        EXPECT_EQ(dialog.Left(), 123);
        EXPECT_EQ(dialog.Top(), 77);
        dialog.Cancel.Click();
    });
}

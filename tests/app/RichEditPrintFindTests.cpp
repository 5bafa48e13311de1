// Printing the rich edit control onto metafile pages, and finding and
// replacing in it, under Wine (whose control lays out no pages itself).
#include "EmfPrinter.h"
#include "Form.h"
#include "RichEdit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

namespace {
// A control whose page layout the test decides: each call answers the next
// position from the script, or repeats the last one.
class ScriptedLayoutRichEdit : public TQRichEdit {
public:
    using TQRichEdit::TQRichEdit;
    std::vector<LRESULT> answers;
    std::vector<FORMATRANGE> asked;
    int clears = 0;
    bool throwOnRender = false;

protected:
    LRESULT FormatRange(bool, FORMATRANGE* range) override
    {
        if (!range) {
            ++clears;
            return 0;
        }
        if (throwOnRender)
            throw EPrinter("The printer is out of paper.");
        asked.push_back(*range);
        const std::size_t index = std::min(asked.size(), answers.size()) - 1;
        return answers.empty() ? 0 : answers[index];
    }
};

class RichEditPrintFind : public ::testing::Test {
protected:
    void SetUp() override
    {
        TForm::CreateParams params;
        params.caption = "Rich edit printing test";
        params.width = 400;
        params.height = 300;
        form = std::make_unique<TForm>(params);
        edit = std::make_unique<ScriptedLayoutRichEdit>(form.get(), form.get());
        edit->SetBounds(0, 0, 380, 250);
        edit->SetPlainText(true);
        auto owned = std::make_unique<TEmfPrinter>();
        printer = owned.get();
        installed = std::make_unique<TInstalledPrinter>(std::move(owned));
    }
    void TearDown() override
    {
        installed.reset();
        edit.reset();
        form.reset();
    }

    void Print(const std::string& title) { edit->Print(title); }

    std::unique_ptr<TForm> form;
    std::unique_ptr<ScriptedLayoutRichEdit> edit;
    TEmfPrinter* printer = nullptr;
    std::unique_ptr<TInstalledPrinter> installed;
};

std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "Line " + std::to_string(i) + " of the text to print, long enough to be a real line.\r\n";
    return text;
}
} // namespace

TEST_F(RichEditPrintFind, AnEmptyTextIsOnePageAndTheJobEnds)
{
    edit->answers = {0};
    Print("Empty");
    EXPECT_EQ(printer->Steps, (std::vector<std::string>{"begin Empty", "end"}));
    ASSERT_EQ(printer->Pages.size(), 1u);
    EXPECT_TRUE(printer->Pages[0].texts.empty());
    EXPECT_EQ(edit->asked.size(), 1u);
    EXPECT_EQ(edit->clears, 2);
}

TEST_F(RichEditPrintFind, TheControlsPagesRunUntilItsEndAndTheRectangleFollowsTheResolution)
{
    edit->SetText("abcdefghijklmnopqrstuvwxyz");
    edit->answers = {10, 20, 26};
    Print("Pages");
    EXPECT_EQ(printer->Steps, (std::vector<std::string>{"begin Pages", "new page", "new page", "end"}));
    ASSERT_EQ(edit->asked.size(), 3u);
    EXPECT_EQ(edit->asked[1].chrg.cpMin, 10);
    EXPECT_EQ(edit->asked[2].chrg.cpMin, 20);
    // 4800 x 6600 pixels at 600 dpi are 8 x 11 inches.
    EXPECT_EQ(edit->asked[0].rc.right, 4800 * 1440 / 600);
    EXPECT_EQ(edit->asked[0].rc.bottom, 6600 * 1440 / 600);
    EXPECT_EQ(edit->asked[0].rcPage.right, edit->asked[0].rc.right);
}

TEST_F(RichEditPrintFind, APageWithoutProgressEndsTheLoopAndThePlainLayoutPrintsTheRest)
{
    edit->SetText("First page text.\rSecond part that the control cannot lay out.");
    edit->answers = {17, 17};
    Print("Stuck");
    EXPECT_EQ(printer->Steps, (std::vector<std::string>{"begin Stuck", "new page", "end"}));
    ASSERT_EQ(printer->Pages.size(), 2u);
    ASSERT_EQ(printer->Pages[1].texts.size(), 1u);
    EXPECT_EQ(printer->Pages[1].texts[0].text, "Second part that the control cannot lay out.");
}

TEST_F(RichEditPrintFind, UnderWineALongTextPrintsEveryLineInOrderInTheFontAndIndents)
{
    // The control itself, whose page layout under Wine draws nothing.
    TQRichEdit real(form.get(), form.get());
    real.SetPlainText(true);
    TEmfPrinter* emf = printer;
    real.SetText(NumberedLines(300));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE;
    format.yHeight = 12 * 20;
    lstrcpyA(format.szFaceName, "Courier New");
    SendMessageA(real.Handle(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    real.SelectAll();
    real.ParaAttributes().SetFirstIndent(40);
    real.ParaAttributes().SetRightIndent(30);
    EXPECT_EQ(real.ParaAttributes().FirstIndent(), 40);
    EXPECT_EQ(real.ParaAttributes().RightIndent(), 30);

    real.Print("Long");
    ASSERT_GT(emf->Pages.size(), 1u);
    EXPECT_EQ(emf->Steps.front(), "begin Long");
    EXPECT_EQ(emf->Steps.back(), "end");
    int expected = 1;
    // 40 points at 600 dpi; 30 points from the right edge.
    const int left = 40 * 600 / 72;
    const int right = 4800 - 30 * 600 / 72;
    for (const auto& page : emf->Pages) {
        for (const auto& drawn : page.texts) {
            EXPECT_EQ(drawn.face, "Courier New");
            EXPECT_EQ(drawn.height, -(12 * 600 / 72));
            EXPECT_GE(drawn.x, left);
            EXPECT_LT(drawn.x, right);
            EXPECT_GE(drawn.y, 0);
            EXPECT_LE(drawn.y + 12 * 600 / 72, 6600);
            if (drawn.text.rfind("Line ", 0) == 0) {
                EXPECT_EQ(drawn.text.substr(0, drawn.text.find(" of")), "Line " + std::to_string(expected));
                ++expected;
            }
        }
    }
    EXPECT_EQ(expected, 301);
}

TEST_F(RichEditPrintFind, AnErrorInThePageLoopAbortsTheJobAndPassesOn)
{
    struct Case {
        bool throwInLayout;
        int failOnPage;
    } cases[] = {{true, 0}, {false, 1}};
    for (const Case& c : cases) {
        printer->Steps.clear();
        printer->FailOnPage = c.failOnPage;
        edit->throwOnRender = c.throwInLayout;
        edit->clears = 0;
        edit->SetText("abcdefghij");
        edit->answers = {5, 10};
        EXPECT_THROW(Print("Fails"), EPrinter);
        EXPECT_EQ(printer->Steps.back(), "abort");
        EXPECT_TRUE(printer->Pages.empty());
        EXPECT_EQ(edit->clears, 2);
    }
}

TEST_F(RichEditPrintFind, FindTextHonoursCaseWholeWordsDirectionAndSelection)
{
    edit->SetText("Word sword word, WORD.");
    struct Case {
        std::string text;
        int start;
        int length;
        TRichSearchTypes options;
        int found;
    } cases[] = {
        {"word", 0, 22, 0, 0},
        {"word", 0, 22, stMatchCase, 6},
        {"word", 0, 22, stWholeWord | stMatchCase, 11},
        {"WORD", 1, 21, stWholeWord | stMatchCase, 17},
        {"word", 15, 16, stBackward, 11},
        // Up from the very end of the text.
        {"WORD.", 22, 23, stBackward, 17},
        {"nothing", 0, 22, 0, -1},
        {"", 0, 22, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(edit->FindText(c.text, c.start, c.length, c.options), c.found) << c.text << " " << c.options;
    EXPECT_EQ(edit->FindText("sword", 0, 22, stSetSelection), 5);
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(edit->SelLength(), 5);
}

TEST_F(RichEditPrintFind, ReplaceAllEndsAfterOnePassAndReportsOnce)
{
    int changes = 0;
    int selectionChanges = 0;
    std::vector<std::string> notFound;
    edit->OnChange = [&] { ++changes; };
    edit->OnSelectionChange = [&] { ++selectionChanges; };
    edit->OnTextNotFound = [&](TComponent*, const std::string& text) { notFound.push_back(text); };
    EXPECT_FALSE(edit->CanFindNext());
    EXPECT_FALSE(edit->FindNext());

    TReplaceDialog dialog;
    dialog.FindText = "a";
    dialog.ReplaceText = "aa";
    dialog.Options = frDown | frReplaceAll;
    edit->SetText("a b a");
    edit->SetSelStart(0);
    changes = selectionChanges = 0;
    edit->ReplaceDialogReplace(dialog);
    EXPECT_EQ(edit->Text(), "aa b aa");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selectionChanges, 1);
    EXPECT_TRUE(notFound.empty());
    EXPECT_TRUE(edit->CanFindNext());

    dialog.FindText = "zzz";
    changes = selectionChanges = 0;
    edit->ReplaceDialogReplace(dialog);
    EXPECT_EQ(notFound, (std::vector<std::string>{"zzz"}));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(edit->Text(), "aa b aa");

    // An empty replacement removes every match, going up as well.
    dialog.FindText = "a";
    dialog.ReplaceText = "";
    dialog.Options = frReplaceAll;
    edit->SetSelStart(edit->TextLength());
    edit->ReplaceDialogReplace(dialog);
    EXPECT_EQ(edit->Text(), " b ");

    // Replace alone replaces the next match only; Find Next goes on from it.
    edit->SetText("x1 x2 x3");
    edit->SetSelStart(0);
    dialog.FindText = "x";
    dialog.ReplaceText = "y";
    dialog.Options = frDown | frReplace;
    edit->ReplaceDialogReplace(dialog);
    EXPECT_EQ(edit->Text(), "y1 x2 x3");
    EXPECT_TRUE(edit->FindNext());
    EXPECT_EQ(edit->SelStart(), 3);
}

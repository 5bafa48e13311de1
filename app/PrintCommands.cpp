// Print and Print Page: the text goes into the hidden converter Rich, in the
// print font with the page indents, and Rich prints it.
#include "Main.h"

#include "ControlFont.h"
#include "ConverterUse.h"
#include "ExportProfiles.h"
#include "PrintDialog.h"
#include "Printers.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "TreeView.h"
#include "WindowExports.h"
#include "WindowWork.h"

#include <memory>

namespace {
const char* const PrintingText = "Quillo is printing: ";
constexpr int PrintFirstIndent = 40;
constexpr int PrintRightIndent = 30;

// Prints text through Rich. Rich ends empty, in plain-text mode and in the
// page editor's font on every path, a printer error included, which passes on.
void PrintThroughRich(const std::string& text, const std::string& title)
{
    TQRichEdit& rich = *Main->Rich;
    TControlFont printFont;
    const TConverterUse scratch(rich);
    struct EditorFontBack {
        TQRichEdit& rich;
        ~EditorFontBack()
        {
            SendMessageA(rich.Handle(), WM_SETFONT, SendMessageA(Main->RichEdit->Handle(), WM_GETFONT, 0, 0), FALSE);
        }
    } editorFontBack{rich};
    printFont.Apply(rich, OptionSettings.PrintFontFace, OptionSettings.PrintFontSize);
    TWindowWork work(PrintingText);
    rich.OnPrintProgress = [&work](long long done, long long total) { work.Step(done, total); };
    struct ProgressOff {
        TQRichEdit& rich;
        ~ProgressOff() { rich.OnPrintProgress = nullptr; }
    } progressOff{rich};
    // The whole text: the editor's display lines would cut every paragraph
    // at the screen's width.
    rich.PrintText(text, title, [&rich] {
        // Both indents in one exchange: each is a pass over every paragraph.
        TParaUpdate update(rich.ParaAttributes());
        rich.ParaAttributes().SetFirstIndent(PrintFirstIndent);
        rich.ParaAttributes().SetRightIndent(PrintRightIndent);
    });
}

std::string FirstLineOf(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }
} // namespace

void TMain::mPrintKBClick(TComponent*)
{
    // A print that runs is using Rich: a second one must not start, nor ask
    // what to print first.
    Printer().RefuseWhilePrinting();
    // Whatever has the focus: typing stays in the editor while another
    // window is active, and the outline and branch print from the pages.
    CommitTyping();
    const auto dialog = std::make_unique<TPrintKB>();
    if (dialog->ShowModal() != mrOk)
        return;
    const int items = dialog->ItemsE.ItemIndex();
    ExportProfile& profile = *FExportProfiles->Current();
    profile.Settings.ExportSource = items == TPrintKB::WholeOutline ? 0 : 1;
    // The page as the editor shows it, typing not yet stored included.
    const std::string text =
        items == TPrintKB::SelectedPage ? RichEdit->Text() : ExportWindowOutlineText(profile).GetText();
    PrintThroughRich(text, FirstLineOf(text));
}

void TMain::ppPrintPageClick(TComponent*)
{
    Printer().RefuseWhilePrinting();
    const TTreeNode* page = Tree->Selected();
    PrintThroughRich(RichEdit->Text(), page ? page->Text() : std::string());
}

void TMain::WirePrintCommands()
{
    SetHandler("mPrintKBClick", [this](TComponent* sender) { mPrintKBClick(sender); });
    SetHandler("ppPrintPageClick", [this](TComponent* sender) { ppPrintPageClick(sender); });
}

// The Find window's search: forward from the page editor's selection, in the
// current page only or on through the pages after it in tree order. A match
// is left selected, so the next Find Next goes on after it; the search never
// wraps to the top of the outline.
#include "FindDialog.h"

#include "Application.h"
#include "EditorSearch.h"
#include "Main.h"
#include "PageData.h"
#include "PageTextMatcher.h"
#include "PageHistory.h"
#include "Pages.h"
#include "ProductNames.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "TreeView.h"

void TFindR::FindButtonClick()
{
    const std::string text = Edit.Text();
    RememberSearchText(text);
    SharedResultText = text;
    if (Scope() == scCurrentPage)
        SearchCurrentPage(text);
    else
        SearchOutline(text, Scope() == scOutlineWithTitles);
}

void TFindR::SearchCurrentPage(const std::string& text)
{
    const TQRichEdit& editor = *Main->RichEdit;
    if (!FindInPageEditor(text, editor.SelStart() + editor.SelLength()))
        ReportMiss(text);
}

void TFindR::SearchOutline(const std::string& text, bool withTitles)
{
    TMain& main = *Main;
    // Typing the editor holds goes to its page first, wherever the focus
    // is: the user types in the page and then clicks into this window, so
    // the editor never has the focus here.
    if (main.ActiveControl() == main.RichEdit.get() && main.RichEdit->Modified())
        main.RichEditExit();
    const TQRichEdit& editor = *main.RichEdit;
    if (FindInPageEditor(text, editor.SelStart() + editor.SelLength()))
        return;
    // Only the pages the matcher cannot rule out go through the control.
    const TPageTextMatcher matcher(text, Case.Checked(), Whole.Checked(), SystemCaseFold());
    const auto holds = [&](const std::string& pageText) {
        return (!PageTextMatcherUsable() || matcher.MayHold(pageText)) && ScratchHolds(pageText, text);
    };
    const TTreeNode* selected = main.Tree->Selected();
    TTreeNode* page = selected ? selected->GetNext() : main.Tree->Items().GetFirstNode();
    for (; page; page = page->GetNext()) {
        if (withTitles && holds(page->Text())) {
            ShowFoundPage(*page);
            main.RichEdit->SetSelection(0, 0, false);
            main.SetActiveControl(main.Tree.get());
            return;
        }
        const PageData* data = PageDataOf(page);
        if (data && holds(data->BodyText())) {
            ShowFoundPage(*page);
            main.RichEditEnter();
            FindInPageEditor(text, 0);
            return;
        }
    }
    ReportMiss(text);
}

bool TFindR::FindInPageEditor(const std::string& text, int start)
{
    TQRichEdit& editor = *Main->RichEdit;
    const int found = FindInEditor(text, start, Case.Checked(), Whole.Checked(), editor);
    if (found < 0)
        return false;
    // The editor becomes the main window's active control; while this window
    // is active that only takes effect when the user goes back there.
    Main->SetActiveControl(&editor);
    editor.SetSelection(found, found + static_cast<int>(text.size()), true);
    return true;
}

bool TFindR::ScratchHolds(const std::string& pageText, const std::string& text)
{
    TQRichEdit& scratch = *Main->Rich;
    scratch.SetText(pageText);
    return FindInEditor(text, 0, Case.Checked(), Whole.Checked(), scratch) >= 0;
}

void TFindR::ShowFoundPage(TTreeNode& page)
{
    // Selecting the page and showing it the way a click does is what loads
    // its text: whatever the editor held was stored before.
    Main->Tree->SetSelected(&page);
    Main->TreeClick();
    PushVisitedPage(&page);
}

void TFindR::ReportMiss(const std::string& text)
{
    Application.MessageBox(SearchMissText(text), ProductCaption, MB_ICONINFORMATION | MB_TASKMODAL);
}

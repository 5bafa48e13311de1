#include "CaseDialog.h"

#include "Application.h"
#include "CaseConversions.h"
#include "Cursors.h"
#include "HelpTopics.h"
#include "Main.h"
#include "RichEdit.h"
#include "SharedState.h"

#include <memory>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Change Case";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 207;
    params.clientHeight = 113;
    return params;
}
}

TCase::TCase() : TForm(Params())
{
    SetName("Case");
    UpperE.SetName("UpperE");
    LowerE.SetName("LowerE");
    TitleE.SetName("TitleE");
    ToggleE.SetName("ToggleE");
    RandomE.SetName("RandomE");
    OK.SetName("OK");
    Cancel.SetName("Cancel");
    BitBtn1.SetName("BitBtn1");
    UpperE.SetChecked(true);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    PlaceControls();
    DoCreate();
}

void TCase::PlaceControls()
{
    UpperE.SetBounds(12, 8, 105, 17);
    LowerE.SetBounds(12, 28, 105, 17);
    TitleE.SetBounds(12, 48, 105, 17);
    ToggleE.SetBounds(12, 68, 105, 17);
    RandomE.SetBounds(12, 88, 105, 17);
    OK.SetBounds(124, 8, 75, 25);
    Cancel.SetBounds(124, 38, 75, 25);
    BitBtn1.SetBounds(124, 80, 75, 25);
}

void TCase::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TCase")); }

std::string TCase::Convert(const std::string& text) const
{
    if (UpperE.Checked())
        return SystemUpperCase(text);
    if (LowerE.Checked())
        return SystemLowerCase(text);
    if (TitleE.Checked())
        return ToTitleCase(text);
    if (ToggleE.Checked())
        return ToToggleCase(text);
    return ToRandomCase(text);
}

std::string SystemUpperCase(const std::string& text)
{
    std::string result = text;
    if (!result.empty())
        CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

std::string SystemLowerCase(const std::string& text)
{
    std::string result = text;
    if (!result.empty())
        CharLowerBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

void TMain::mCaseClick(TComponent*)
{
    const auto dialog = std::make_unique<TCase>();
    if (dialog->ShowModal() == mrCancel)
        return;
    {
        // A whole long page takes a moment.
        const TBusyCursorScope busy;
        RichEdit->Lines().BeginUpdate();
        // A change of case can be taken back, as a paste can.
        RichEdit->ReplaceSelectionUndoably(dialog->Convert(RichEdit->SelText()));
        RichEdit->Lines().EndUpdate();
    }
    OutlineProperties.FileChanged = 1;
}

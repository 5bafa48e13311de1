#include "DatePickDialog.h"

#include "Application.h"
#include "DateTime.h"
#include "HelpTopics.h"
#include "Main.h"
#include "Pages.h"
#include "PageHistory.h"
#include "ProductNames.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"
#include "WorkArea.h"

#include <memory>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Date and Time";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.clientWidth = 297;
    params.clientHeight = 252;
    return params;
}
} // namespace

TDatePick::TDatePick() : TForm(Params())
{
    SetName("DatePick");
    Label1.SetName("Label1");
    List.SetName("List");
    OK.SetName("OK");
    Cancel.SetName("Cancel");
    Button1.SetName("Button1");
    BitBtn1.SetName("BitBtn1");
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    OnShow = [this] { FormShow(); };
    OK.OnClick = [this] { OKClick(); };
    List.OnDblClick = [this] { ListDblClick(); };
    Button1.OnClick = [this] { Button1Click(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    PlaceControls();
    DoCreate();
}

void TDatePick::PlaceControls()
{
    Label1.SetBounds(8, 8, 200, 13);
    List.SetBounds(8, 24, 193, 220);
    OK.SetBounds(212, 24, 75, 25);
    Cancel.SetBounds(212, 56, 75, 25);
    Button1.SetBounds(212, 100, 75, 25);
    BitBtn1.SetBounds(212, 219, 75, 25);
}

void TDatePick::FormShow()
{
    // One moment for every entry, so the list never straddles a second.
    const TDateTime now = Now();
    std::vector<std::string> texts;
    for (const char* format : Formats)
        texts.push_back(FormatDateTime(format, now));
    List.SetItems(texts);
    List.SetItemIndex(0);
}

void TDatePick::OKClick()
{
    const int index = List.ItemIndex();
    SharedResultText = index >= 0 ? List.Items()[index] : std::string();
}

void TDatePick::ListDblClick()
{
    OKClick();
    ModalResult = mrOk;
}

void TDatePick::Button1Click()
{
    const int index = List.ItemIndex();
    const std::string shown = index >= 0 ? List.Items()[index] : std::string();
    const std::string question =
        "Do you want to change the default date/time format to match: \"" + shown + "\"?";
    if (Application.MessageBox(question, ProductCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    if (index >= 0 && index < static_cast<int>(Formats.size()))
        OptionSettings.DateTimeFormat = Formats[index];
}

void TDatePick::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TDatePick")); }

void TMain::mDateClick(TComponent*)
{
    const auto dialog = std::make_unique<TDatePick>();
    if (DialogStates.DatePickInitialized)
        PlaceRestoredDialog(*dialog, DialogStates.DatePickLeft, DialogStates.DatePickTop);
    const bool chosen = dialog->ShowModal() == mrOk;
    // The position is kept however the dialog ended, a refused page included.
    DialogStates.DatePickInitialized = true;
    DialogStates.DatePickTop = dialog->Top();
    DialogStates.DatePickLeft = dialog->Left();
    if (!chosen)
        return;
    if (RichEdit->Focused()) {
        RichEdit->Lines().BeginUpdate();
        RichEdit->SetSelText(SharedResultText);
        RichEdit->SetSelStart(RichEdit->SelStart() + RichEdit->SelLength());
        RichEdit->Lines().EndUpdate();
        OutlineProperties.FileChanged = 1;
        return;
    }
    TTreeNode* page = AddPageChecked(SharedResultText);
    if (!page)
        return;
    Tree->SetPopupMenu(PopupMenuNamed("PopupPage"));
    PushHistory(page);
}

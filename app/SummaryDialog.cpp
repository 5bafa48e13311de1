#include "SummaryDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "Main.h"
#include "OpenOutline.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

namespace {
const char* const Placeholder = "None";

TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Outline Summary";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 346;
    params.clientHeight = 386;
    return params;
}
} // namespace

std::string WithCrLf(const std::string& text)
{
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            shown += '\r';
        shown += text[i];
    }
    return shown;
}

TSummery::TSummery() : TForm(Params())
{
    SetName("Summery");
    SubjectEdit.SetName("SubjectEdit");
    DescriptionEdit.SetName("DescriptionEdit");
    Path.SetName("Path");
    Total.SetName("Total");
    OK.SetName("OK");
    Cancel.SetName("Cancel");
    BitBtn1.SetName("BitBtn1");
    Label6.SetFocusControl(&SubjectEdit);
    Label7.SetFocusControl(&DescriptionEdit);
    DescriptionEdit.SetScrollBars(TScrollStyle::ssVertical);
    DescriptionEdit.SetText(Placeholder);
    Revisions.SetAlignment(TAlignment::taRightJustify);
    Total.SetAlignment(TAlignment::taRightJustify);
    Path.SetPathEllipsis(true);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    PlaceControls();
    WireEvents();
    DoCreate();
}

void TSummery::PlaceControls()
{
    Label3.SetBounds(8, 8, 330, 13);
    const std::pair<TLabel*, TLabel*> shown[] = {{&DbLabel, &Db}, {&AuthorLabel, &Author}};
    int top = 28;
    for (const auto& [label, value] : shown) {
        label->SetBounds(16, top, 90, 13);
        value->SetBounds(110, top, 228, 13);
        top += 20;
    }
    Label6.SetBounds(16, 72, 90, 13);
    SubjectEdit.SetBounds(110, 68, 228, 21);
    Label7.SetBounds(16, 98, 90, 13);
    DescriptionEdit.SetBounds(110, 96, 228, 66);
    Label4.SetBounds(8, 172, 330, 13);
    const std::pair<TLabel*, TLabel*> statistics[] = {
        {&Label1, &Created}, {&Label2, &Modified}, {&Label8, &Savedby}, {&Label9, &Revisions}, {&Label10, &Total}};
    top = 192;
    for (const auto& [label, value] : statistics) {
        label->SetBounds(16, top, 90, 13);
        value->SetBounds(110, top, 228, 13);
        top += 20;
    }
    Label11.SetBounds(16, top, 90, 13);
    Path.SetBounds(110, top, 228, 13);
    OK.SetBounds(101, 352, 75, 25);
    Cancel.SetBounds(182, 352, 75, 25);
    BitBtn1.SetBounds(263, 352, 75, 25);
}

void TSummery::WireEvents()
{
    OnShow = [this] { FormShow(); };
    OK.OnClick = [this] { OKClick(); };
    SubjectEdit.OnMouseUp = [this](TMouseButton button, TShiftState, int, int) {
        if (button == TMouseButton::mbLeft)
            SubjectEditClick();
    };
    DescriptionEdit.OnMouseDown = [this](TMouseButton, TShiftState, int, int) { DescriptionEditMouseDown(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

void TSummery::FormShow()
{
    const struct OutlineProperties& properties = OutlineProperties;
    Db.SetCaption(OutlineTitle());
    Author.SetCaption(UserSettings.Name);
    SubjectEdit.SetText(properties.Subject);
    DescriptionEdit.SetText(WithCrLf(properties.Description));
    SetActiveControl(&SubjectEdit);
    Created.SetCaption(properties.Created);
    Modified.SetCaption(properties.Modified);
    Savedby.SetCaption(properties.SavedBy);
    Revisions.SetCaption(std::to_string(properties.Revisions));
    // Every page of the outline, folded branches too: the tree control
    // itself holds items only for branches that have been shown.
    Total.SetCaption(std::to_string(Main->Tree->Items().Count()));
    OutlineProperties.Path = CurrentFileName == UntitledFileName ? "Unsaved" : CurrentFileName;
    Path.SetCaption(OutlineProperties.Path);
}

void TSummery::OKClick()
{
    OutlineProperties.Subject = SubjectEdit.Text();
    // Without word wrap the text holds only the user's own line breaks.
    DescriptionEdit.SetWordWrap(false);
    OutlineProperties.Description = DescriptionEdit.Text();
}

void TSummery::SubjectEditClick()
{
    if (SubjectEdit.Text() == Placeholder)
        SubjectEdit.SelectAll();
}

void TSummery::DescriptionEditMouseDown()
{
    const std::string text = DescriptionEdit.Text();
    if (text == Placeholder || text == std::string(Placeholder) + "\r\n")
        DescriptionEdit.SelectAll();
}

void TSummery::BitBtn1Click() { ShowHelpTopic(HelpTopicAddress(Application.HelpFile(), "tsummery")); }

#include "NewDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "SettingsRecords.h"
#include "TemplateDialogImages.h"
#include "TemplateFolder.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "New";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 330;
    params.clientHeight = 252;
    return params;
}
}

TNew::TNew() : TForm(Params())
{
    SetName("New");
    ListView.SetName("ListView");
    OK.SetName("OK");
    Button2.SetName("Button2");
    BitBtn1.SetName("BitBtn1");
    LoadTemplateImages(Images, SmallImages);
    SetUpViewButtons(ViewImages, Large, Small);
    ListView.SetLargeImages(Images.Handle());
    ListView.SetSmallImages(SmallImages.Handle());
    ListView.SetReadOnly(true);
    ListView.SetShowColumnHeaders(false);
    ListView.SetHideSelection(false);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Button2.ModalResult = mrCancel;
    Button2.SetCancel(true);
    PlaceControls();
    WireEvents();
    DoCreate();
}

void TNew::PlaceControls()
{
    Large.SetBounds(275, 6, 23, 22);
    Small.SetBounds(299, 6, 23, 22);
    ListView.SetBounds(8, 34, 314, 172);
    OK.SetBounds(85, 218, 75, 25);
    Button2.SetBounds(166, 218, 75, 25);
    BitBtn1.SetBounds(247, 218, 75, 25);
}

void TNew::WireEvents()
{
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    ListView.OnChange = [this](TListItem* item) { ListViewChange(item); };
    ListView.OnDblClick = [this] { ListViewDblClick(); };
    OK.OnClick = [this] { OKClick(); };
    Large.OnClick = [this] { LargeClick(); };
    Small.OnClick = [this] { SmallClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

void TNew::FormCreate()
{
    const int blankImage = TemplateImageIndex(TemplateKind::Page);
    ListView.BeginUpdate();
    for (const std::string& name : ListTemplates(OptionSettings.TemplatesFolder, TemplateKind::Outline))
        ListView.AddItem(name, TemplateImageIndex(TemplateKind::Outline));
    ListView.EndUpdate();
    ListView.AlphaSort();
    TListItem* blank = ListView.Insert(0);
    blank->SetCaption(BlankOutlineCaption);
    blank->SetImageIndex(blankImage);
    ListView.SetSelected(blank);
    ListView.SetFocus();
    ListView.SetViewStyle(TViewStyle::vsIcon);
    Large.SetDown(true);
}

void TNew::FormShow()
{
    if (DialogStates.NewList) {
        Small.SetDown(true);
        ListView.SetViewStyle(TViewStyle::vsList);
    }
}

void TNew::FormClose(TCloseAction&) { DialogStates.NewList = Small.Down(); }

void TNew::ListViewChange(TListItem*) { OK.SetEnabled(ListView.Selected() != nullptr); }

void TNew::ListViewDblClick()
{
    if (!OK.Enabled())
        return;
    OKClick();
    ModalResult = mrOk;
}

void TNew::OKClick()
{
    const TListItem* selected = ListView.Selected();
    if (!selected) {
        ModalResult = mrNone;
        return;
    }
    // The first row is "Blank Outline"; a template may carry that name too.
    FTemplateName = selected->Index() == 0 ? std::string() : selected->Caption();
}

void TNew::LargeClick() { ListView.SetViewStyle(TViewStyle::vsIcon); }

void TNew::SmallClick() { ListView.SetViewStyle(TViewStyle::vsList); }

void TNew::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TNew")); }

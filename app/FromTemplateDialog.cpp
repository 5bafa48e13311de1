#include "FromTemplateDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "SettingsRecords.h"
#include "TemplateDialogImages.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Insert From Template";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 330;
    params.clientHeight = 276;
    return params;
}

void Fill(TListView& list, TemplateKind kind)
{
    list.BeginUpdate();
    for (const std::string& name : ListTemplates(OptionSettings.TemplatesFolder, kind))
        list.AddItem(name, TemplateImageIndex(kind));
    list.EndUpdate();
    if (TListItem* first = list.Item(0))
        list.SetSelected(first);
}
}

TFromTemplate::TFromTemplate() : TForm(Params())
{
    SetName("FromTemplate");
    Pages.SetName("Pages");
    Page.SetName("Page");
    Outline.SetName("Outline");
    OK.SetName("OK");
    Button2.SetName("Button2");
    BitBtn1.SetName("BitBtn1");
    LoadTemplateImages(Images, SmallImages);
    SetUpViewButtons(ViewImages, Large, Small);
    Large.SetDown(true);
    SetUpList(ListViewP, "ListViewP");
    SetUpList(ListViewO, "ListViewO");
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    OK.SetEnabled(false);
    Button2.ModalResult = mrCancel;
    Button2.SetCancel(true);
    PlaceControls();
    WireEvents();
    SetActiveControl(&ListViewP);
    DoCreate();
}

void TFromTemplate::SetUpList(TListView& list, const char* name)
{
    list.SetName(name);
    list.SetLargeImages(Images.Handle());
    list.SetSmallImages(SmallImages.Handle());
    list.SetReadOnly(true);
    list.SetShowColumnHeaders(false);
    list.SetHideSelection(false);
    list.SetSortType(TSortType::stText);
    list.SetAlign(TAlign::alClient);
}

void TFromTemplate::PlaceControls()
{
    Large.SetBounds(275, 6, 23, 22);
    Small.SetBounds(299, 6, 23, 22);
    Pages.SetBounds(8, 32, 314, 198);
    OK.SetBounds(85, 242, 75, 25);
    Button2.SetBounds(166, 242, 75, 25);
    BitBtn1.SetBounds(247, 242, 75, 25);
}

void TFromTemplate::WireEvents()
{
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    Page.OnShow = [this] { PageShow(); };
    Outline.OnShow = [this] { OutlineShow(); };
    ListViewP.OnChange = [this](TListItem* item) { ListViewPChange(item); };
    ListViewO.OnChange = [this](TListItem* item) { ListViewOChange(item); };
    ListViewP.OnDblClick = [this] { ListViewPDblClick(); };
    ListViewO.OnDblClick = [this] { ListViewPDblClick(); };
    OK.OnClick = [this] { OKClick(); };
    Large.OnClick = [this] { LargeClick(); };
    Small.OnClick = [this] { SmallClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

TListView& TFromTemplate::ActiveList() { return Pages.ActivePage() == &Outline ? ListViewO : ListViewP; }

void TFromTemplate::FollowActiveList()
{
    if (Pages.ActivePage() == &Outline)
        OutlineShow();
    else
        PageShow();
}

void TFromTemplate::FormCreate()
{
    Fill(ListViewO, TemplateKind::Outline);
    Fill(ListViewP, TemplateKind::Page);
    // Filling the outline list may have enabled OK while the page list,
    // in view, is empty.
    FollowActiveList();
}

void TFromTemplate::FormShow()
{
    if (DialogStates.FromTemplateList) {
        Small.SetDown(true);
        SmallClick();
    }
    if (DialogStates.FromTemplateOutline)
        Pages.SetActivePage(&Outline);
    FollowActiveList();
    ActiveList().SetFocus();
}

void TFromTemplate::FormClose(TCloseAction&)
{
    DialogStates.FromTemplateList = Small.Down();
    DialogStates.FromTemplateOutline = Pages.ActivePage() == &Outline;
}

void TFromTemplate::PageShow() { ListViewPChange(nullptr); }

void TFromTemplate::OutlineShow() { ListViewOChange(nullptr); }

void TFromTemplate::ListViewPChange(TListItem*) { OK.SetEnabled(ListViewP.Selected() != nullptr); }

void TFromTemplate::ListViewOChange(TListItem*) { OK.SetEnabled(ListViewO.Selected() != nullptr); }

void TFromTemplate::ListViewPDblClick()
{
    if (!OK.Enabled())
        return;
    OKClick();
    ModalResult = mrOk;
}

void TFromTemplate::OKClick()
{
    const TListItem* selected = ActiveList().Selected();
    if (!selected) {
        ModalResult = mrNone;
        return;
    }
    FTemplateName = selected->Caption();
    FTemplateKind = &ActiveList() == &ListViewO ? TemplateKind::Outline : TemplateKind::Page;
}

void TFromTemplate::LargeClick()
{
    ListViewP.SetViewStyle(TViewStyle::vsIcon);
    ListViewO.SetViewStyle(TViewStyle::vsIcon);
}

void TFromTemplate::SmallClick()
{
    ListViewP.SetViewStyle(TViewStyle::vsList);
    ListViewO.SetViewStyle(TViewStyle::vsList);
}

void TFromTemplate::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TFromTemplate")); }

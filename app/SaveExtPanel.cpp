#include "SaveExtPanel.h"

#include "ApDialogs.h"
#include "Application.h"
#include "ExportProfileChoice.h"
#include "ExportProfiles.h"
#include "HelpTopics.h"
#include "Main.h"
#include "SettingsRecords.h"

TSaveExt* SaveExt = nullptr;

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "SaveExt";
    params.borderStyle = TFormBorderStyle::bsNone;
    params.clientWidth = 412;
    params.clientHeight = 110;
    return params;
}
} // namespace

TSaveExt::TSaveExt() : TForm(Params())
{
    SetName("SaveExt");
    Label1.SetName("Label1");
    ItemsE.SetName("ItemsE");
    Label4.SetName("Label4");
    AfterE.SetName("AfterE");
    Label3.SetName("Label3");
    Bevel1.SetName("Bevel1");
    Label2.SetName("Label2");
    ProfileE.SetName("ProfileE");
    RemoveE.SetName("RemoveE");
    BitBtn1.SetName("BitBtn1");
    Label1.SetFocusControl(&ItemsE);
    Label2.SetFocusControl(&ProfileE);
    ItemsE.SetItems({"All pages", "Current branch", SelectedPageText});
    AfterE.SetItems({"None", "Open File", "Email File"});
    ProfileE.SetSorted(true);
    RemoveE.SetEnabled(false);
    Bevel1.SetBevelOuter(TBevelCut::bvLowered);
    OnShow = [this] { FormShow(); };
    OnHide = [this] { FormHide(); };
    ItemsE.OnChange = [this] { ItemsEClick(); };
    ProfileE.OnChange = [this] { ProfileEClick(); };
    RemoveE.OnClick = [this] { RemoveEClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    PlaceControls();
    DoCreate();
}

TSaveExt::~TSaveExt()
{
    if (SaveExt == this)
        SaveExt = nullptr;
}

void TSaveExt::PlaceControls()
{
    Label1.SetBounds(8, 8, 90, 13);
    ItemsE.SetBounds(100, 4, 145, 21);
    Label4.SetBounds(256, 8, 60, 13);
    AfterE.SetBounds(316, 4, 90, 21);
    Label3.SetBounds(8, 38, 40, 13);
    Bevel1.SetBounds(50, 45, 356, 2);
    Label2.SetBounds(8, 62, 90, 13);
    ProfileE.SetBounds(100, 58, 145, 21);
    RemoveE.SetBounds(252, 56, 75, 25);
    BitBtn1.SetBounds(382, 84, 23, 22);
}

void TSaveExt::EnableProfileGroup(bool enabled)
{
    for (TControl* control : {static_cast<TControl*>(&Label2), static_cast<TControl*>(&Label3),
                              static_cast<TControl*>(&ProfileE), static_cast<TControl*>(&RemoveE)})
        control->SetEnabled(enabled);
}

void TSaveExt::FormShow()
{
    ProfileE.Items().Clear();
    ProfileE.Items().Add(DefaultExportProfileName);
    ProfileE.SetEnabled(false);
    if (ItemsE.ItemIndex() < 0)
        ItemsE.SetItemIndex(AllPages);
    if (AfterE.ItemIndex() < 0)
        AfterE.SetItemIndex(OpenFile);
    const int preferred = ProfileE.Items().IndexOf(OptionSettings.DefaultProfile);
    ProfileE.SetItemIndex(preferred >= 0 ? preferred : 0);
    ProfileEClick();
}

void TSaveExt::FormHide()
{
    const int index = ProfileE.ItemIndex();
    OptionSettings.DefaultProfile = index >= 0 ? ProfileE.Items()[index] : std::string();
}

void TSaveExt::ProfileEClick() { ChooseExportProfile(ProfileE, RemoveE); }

void TSaveExt::ItemsEClick()
{
    if (Main->dlgSaveCopy->FilterIndex == 4) {
        Main->dlgSaveCopySelectionChange(&ItemsE);
        return;
    }
    if (ItemsE.ItemIndex() == SelectedPage) {
        EnableProfileGroup(false);
        return;
    }
    EnableProfileGroup(true);
    ProfileEClick();
}

void TSaveExt::RemoveEClick() { RemoveChosenExportProfile(ProfileE, RemoveE); }

void TSaveExt::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TSaveExt")); }

TSaveExt& EnsureSaveExt()
{
    if (!SaveExt)
        SaveExt = Application.CreateForm<TSaveExt>();
    return *SaveExt;
}

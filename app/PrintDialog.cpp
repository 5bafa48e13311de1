#include "PrintDialog.h"

#include "Application.h"
#include "ExportProfileChoice.h"
#include "ExportProfiles.h"
#include "HelpTopics.h"
#include "SettingsRecords.h"
#include "WorkArea.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Print";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.clientWidth = 369;
    params.clientHeight = 154;
    return params;
}
} // namespace

TPrintKB::TPrintKB() : TForm(Params())
{
    SetName("PrintKB");
    Label1.SetName("Label1");
    ItemsE.SetName("ItemsE");
    Label3.SetName("Label3");
    ProfileE.SetName("ProfileE");
    RemoveE.SetName("RemoveE");
    Button1.SetName("Button1");
    Cancel.SetName("Cancel");
    BitBtn1.SetName("BitBtn1");
    Label1.SetFocusControl(&ItemsE);
    Label3.SetFocusControl(&ProfileE);
    ItemsE.SetItems({"Whole Outline", "Current Branch", "Selected Page"});
    ProfileE.SetSorted(true);
    RemoveE.SetEnabled(false);
    Button1.ModalResult = mrOk;
    Button1.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    ItemsE.OnChange = [this] { ItemsEClick(); };
    ProfileE.OnChange = [this] { ProfileEClick(); };
    RemoveE.OnClick = [this] { RemoveEClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    PlaceControls();
    DoCreate();
}

void TPrintKB::PlaceControls()
{
    Label1.SetBounds(8, 12, 120, 13);
    ItemsE.SetBounds(8, 28, 257, 21);
    Label3.SetBounds(8, 64, 120, 13);
    ProfileE.SetBounds(8, 80, 177, 21);
    RemoveE.SetBounds(190, 78, 75, 25);
    Button1.SetBounds(284, 26, 75, 25);
    Cancel.SetBounds(284, 58, 75, 25);
    BitBtn1.SetBounds(284, 120, 75, 25);
}

void TPrintKB::FormCreate()
{
    ProfileE.Items().Add(DefaultExportProfileName);
    ProfileE.SetEnabled(false);
}

void TPrintKB::FormShow()
{
    if (ItemsE.ItemIndex() < 0)
        ItemsE.SetItemIndex(WholeOutline);
    if (DialogStates.PrintKBInitialized)
        PlaceRestoredDialog(*this, DialogStates.PrintKBLeft, DialogStates.PrintKBTop);
    const int preferred = ProfileE.Items().IndexOf(OptionSettings.DefaultProfile);
    ProfileE.SetItemIndex(preferred >= 0 ? preferred : 0);
    ProfileEClick();
    ItemsEClick();
}

void TPrintKB::FormClose(TCloseAction&)
{
    DialogStates.PrintKBInitialized = true;
    DialogStates.PrintKBTop = Top();
    DialogStates.PrintKBLeft = Left();
    const int index = ProfileE.ItemIndex();
    OptionSettings.DefaultProfile = index >= 0 ? ProfileE.Items()[index] : std::string();
}

void TPrintKB::ProfileEClick() { ChooseExportProfile(ProfileE, RemoveE); }

void TPrintKB::ItemsEClick()
{
    const bool profile = ItemsE.ItemIndex() != SelectedPage;
    ProfileE.SetEnabled(profile);
    Label3.SetEnabled(profile);
    RemoveE.SetEnabled(profile);
    if (profile)
        ProfileEClick();
}

void TPrintKB::RemoveEClick() { RemoveChosenExportProfile(ProfileE, RemoveE); }

void TPrintKB::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TPrintKB")); }

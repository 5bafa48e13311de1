#include "AboutDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "ProductNames.h"
#include "resource.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = std::string("About ") + ProductCaption;
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 290;
    params.clientHeight = 112;
    return params;
}

// Loaded shared: the system keeps the program's icon for the whole run.
HICON ProgramIcon()
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), ICO_MAIN, IMAGE_ICON, 32, 32, LR_SHARED));
}
} // namespace

TAboutDlg::TAboutDlg() : TForm(Params())
{
    SetName("AboutDlg");
    Image.SetName("Image");
    Label2.SetName("Label2");
    OK.SetName("OK");
    Button1.SetName("Button1");
    Image.SetIcon(ProgramIcon());
    Image.SetTransparent(true);
    Label2.SetCaption(ProductCaption);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    OK.SetCancel(true);
    Image.SetBounds(16, 16, 32, 32);
    Label2.SetBounds(64, 24, 210, 16);
    OK.SetBounds(64, 76, 75, 25);
    Button1.SetBounds(147, 76, 127, 25);
    OnShow = [this] { FormShow(); };
    Button1.OnClick = [this] { Button1Click(); };
    DoCreate();
}

void TAboutDlg::Button1Click() { ShowHelpTopic(HelpTopicAddress(Application.HelpFile(), "acknowledgments")); }

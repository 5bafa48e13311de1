#include "DeleteDialog.h"

#include "resource.h"

#include <memory>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Confirm Delete";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 336;
    params.clientHeight = 118;
    return params;
}

// The program's own warning picture. Loaded shared: the system keeps it for
// the life of the program, so no dialog has to free it.
HICON WarningPicture()
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DELETE_WARNING), IMAGE_ICON,
                                         32, 32, LR_SHARED));
}
}

TDelete::TDelete() : TForm(Params())
{
    SetName("Delete");
    Image1.SetName("Image1");
    MessageE.SetName("MessageE");
    Yes.SetName("Yes");
    No.SetName("No");
    Image1.SetIcon(WarningPicture());
    MessageE.SetWordWrap(true);
    Yes.ModalResult = mrYes;
    Yes.SetDefault(true);
    No.ModalResult = mrNo;
    No.SetCancel(true);
    PlaceControls();
    DoCreate();
}

void TDelete::PlaceControls()
{
    Image1.SetBounds(12, 12, 32, 32);
    MessageE.SetBounds(56, 12, 273, 73);
    Yes.SetBounds(89, 86, 75, 25);
    No.SetBounds(172, 86, 75, 25);
}

bool ConfirmDelete(const std::string& question)
{
    const auto dialog = std::make_unique<TDelete>();
    dialog->MessageE.SetCaption(question);
    return dialog->ShowModal() == mrYes;
}

#include "PlaceEditorForm.h"

#include "Application.h"
#include "FileDialogs.h"
#include "ShellFolders.h"

#include "AnsiStrings.h"
#include "FileHandle.h"

#include <shellapi.h>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Places bar item";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 394;
    params.clientHeight = 319;
    return params;
}

// The library's icon count; a file that is missing answers -1, which is no
// icons too, not four billion of them.
int IconCount(const std::string& library)
{
    const UINT count = ExtractIconExA(library.c_str(), -1, nullptr, nullptr, 0);
    return count == static_cast<UINT>(-1) || count > 0x7FFF ? 0 : static_cast<int>(count);
}

constexpr int FolderIcon = 3;
constexpr int OpenFolderIcon = 4;
} // namespace

TApAddPlaceFrm::TApAddPlaceFrm(TComponent* owner)
    : TForm(Params(), owner),
      titleFont_(CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"))
{
    ShowHint = true;
    cbTargetType.SetItems({"Folder/file path", "Special shell folder", "Registry value"});
    cbTargetType.SetItemIndex(ttPath);
    cbTargetType.OnChange = [this] { chkClick(); };
    SetPathStyle(TComboBoxStyle::csDropDown);

    Label7.SetFont(titleFont_.Get());
    Panel1.SetBevelOuter(TBevelCut::bvLowered);
    ExtractIconExA("shell32.dll", FolderIcon, &picture_, nullptr, 1);
    Image1.SetIcon(picture_);
    Image1.SetCenter(true);
    eShort.Hint = "Caption";
    eHint.Hint = "Hint for this place";
    eIconLib.Hint = "Extract icons from this library";
    btnShowIcons.Hint = "Load images from selected library";
    btnBrowseLib.Hint = "Browse for icon file";
    dg1.Hint = "Select icon wich will be displayed when this place is not selected";
    dg2.Hint = "Select icon to represent this place when it is selected on the places bar";
    for (TStringGrid* grid : {&dg1, &dg2}) {
        grid->SetHorizontalScroll(true);
        grid->ClearFocusCell();
        grid->OnDrawCell = [this](HDC dc, int col, int row, const RECT& rect, bool focused) {
            if (row == 0)
                DrawIconCell(dc, col, rect, focused);
        };
    }
    Label8.SetFocusControl(&cbTargetType);
    Label2.SetFocusControl(&eShort);
    Label3.SetFocusControl(&eHint);
    Label6.SetFocusControl(&eIconLib);
    Label4.SetFocusControl(&dg1);
    Label5.SetFocusControl(&dg2);

    chkAutoCap.OnClick = [this] { chkAutoCapClick(); };
    btnShowIcons.OnClick = [this] { btnShowIconsClick(); };
    btnBrowseLib.OnClick = [this] { btnBrowseLibClick(); };
    Button1.ModalResult = mrOk;
    Button1.SetDefault(true);
    Button1.OnClick = [this] { Button1Click(); };
    Button2.ModalResult = mrCancel;
    Button2.SetCancel(true);
    OnShow = [this] { FormShow(); };

    NameControls();
    PlaceControls();
    SetActiveControl(&eShort);
    DoCreate();
}

TApAddPlaceFrm::~TApAddPlaceFrm()
{
    Image1.Clear();
    if (picture_)
        DestroyIcon(picture_);
}

void TApAddPlaceFrm::NameControls()
{
    SetName("ApAddPlaceFrm");
    const std::pair<TComponent*, const char*> names[] = {
        {&Panel1, "Panel1"},   {&Image1, "Image1"},         {&Label7, "Label7"},
        {&Label8, "Label8"},   {&cbTargetType, "cbTargetType"}, {&Label1, "Label1"},
        {&Label2, "Label2"},   {&eShort, "eShort"},         {&chkAutoCap, "chkAutoCap"},
        {&Label3, "Label3"},   {&eHint, "eHint"},           {&Label6, "Label6"},
        {&eIconLib, "eIconLib"}, {&btnShowIcons, "btnShowIcons"}, {&btnBrowseLib, "btnBrowseLib"},
        {&Label4, "Label4"},   {&dg1, "dg1"},               {&Label5, "Label5"},
        {&dg2, "dg2"},         {&Bevel1, "Bevel1"},         {&Button1, "Button1"},
        {&Button2, "Button2"},
    };
    for (const auto& [component, name] : names)
        component->SetName(name);
}

void TApAddPlaceFrm::PlaceControls()
{
    Panel1.SetBounds(8, 8, 64, 264);
    Image1.SetBounds(2, 2, 60, 60);
    Label7.SetBounds(80, 8, 306, 20);
    Label8.SetBounds(80, 38, 88, 16);
    cbTargetType.SetBounds(170, 34, 216, 120);
    Label1.SetBounds(80, 64, 88, 16);
    Label2.SetBounds(80, 90, 88, 16);
    eShort.SetBounds(170, 86, 120, 21);
    chkAutoCap.SetBounds(298, 88, 88, 17);
    Label3.SetBounds(80, 116, 88, 16);
    eHint.SetBounds(170, 112, 216, 21);
    Label6.SetBounds(80, 142, 88, 16);
    eIconLib.SetBounds(170, 138, 166, 21);
    btnShowIcons.SetBounds(340, 137, 22, 22);
    btnBrowseLib.SetBounds(364, 137, 22, 22);
    Label4.SetBounds(80, 168, 150, 16);
    dg1.SetBounds(80, 184, 150, 64);
    Label5.SetBounds(236, 168, 150, 16);
    dg2.SetBounds(236, 184, 150, 64);
    Bevel1.SetBevelOuter(TBevelCut::bvLowered);
    Bevel1.SetBounds(8, 280, 378, 2);
    Button1.SetBounds(230, 288, 75, 25);
    Button2.SetBounds(311, 288, 75, 25);
}

void TApAddPlaceFrm::SetPathStyle(TComboBoxStyle style)
{
    if (ePath_ && ePath_->Style() == style)
        return;
    const bool focused = ePath_ && ePath_->Focused();
    const std::string text = ePath_ && style == TComboBoxStyle::csDropDown ? ePath_->Text() : std::string();
    // A combo box keeps its style for life: the other kind takes its place,
    // at the same spot in the tab order.
    ePath_.reset();
    ePath_ = std::make_unique<TComboBox>(this, this, style);
    ePath_->SetName("ePath");
    SetWindowPos(ePath_->Handle(), Label1.Handle(), 170, 60, 216, 120, SWP_NOACTIVATE);
    Label1.SetFocusControl(ePath_.get());
    ePath_->SetText(text);
    if (focused)
        ePath_->SetFocus();
}

void TApAddPlaceFrm::FillShellFolders() { ePath_->SetItems(GetSpecFolders()); }

void TApAddPlaceFrm::FormShow() { SetCaption(place_ ? "Places Bar item" : "New Places Bar item"); }

void TApAddPlaceFrm::InitControls()
{
    if (!place_)
        return;
    eShort.SetText(GetPlaceName(*place_));
    eHint.SetText(place_->PlaceDesc);
    chkAutoCap.SetChecked(place_->AutoCaption);
    chkAutoCapClick();
    const int folder = OfferedSpecFolderIndex(place_->PlaceSpecPath);
    if (folder >= 0) {
        cbTargetType.SetItemIndex(ttShellFolder);
        SetPathStyle(TComboBoxStyle::csDropDownList);
        FillShellFolders();
        ePath_->SetItemIndex(folder);
    } else if (!place_->PlaceRegPath.empty()) {
        cbTargetType.SetItemIndex(ttRegistryValue);
        SetPathStyle(TComboBoxStyle::csDropDown);
        ePath_->SetText(place_->PlaceRegPath);
    } else {
        cbTargetType.SetItemIndex(ttPath);
        SetPathStyle(TComboBoxStyle::csDropDown);
        ePath_->SetText(place_->PlacePath);
    }
    eIconLib.SetText(place_->PlaceIconDll);
    btnShowIconsClick();
    SelectIcon(dg1, place_->PlaceIcon);
    SelectIcon(dg2, place_->PlaceHotIcon);
}

void TApAddPlaceFrm::PresetForDrop(const std::string& path)
{
    cbTargetType.SetItemIndex(ttPath);
    SetPathStyle(TComboBoxStyle::csDropDown);
    ePath_->SetText(path);
    eShort.SetText(ExtractFileName(path));
    eHint.SetText(ExtractFileName(path));
    eIconLib.SetText("Shell32.dll");
    btnShowIconsClick();
    const bool folder = DirectoryExists(path);
    SelectIcon(dg1, folder ? FolderIcon : 0);
    SelectIcon(dg2, folder ? OpenFolderIcon : 0);
}

void TApAddPlaceFrm::SelectIcon(TStringGrid& grid, int index)
{
    // A stored index the library does not have (another library, an older
    // one) selects nothing rather than a cell that is not there.
    if (index < 0 || index >= grid.ColCount()) {
        grid.ClearFocusCell();
        return;
    }
    grid.SetFocusCell(index, 0);
    grid.ScrollToCol(index);
}

void TApAddPlaceFrm::chkClick()
{
    if (cbTargetType.ItemIndex() == ttShellFolder) {
        SetPathStyle(TComboBoxStyle::csDropDownList);
        ePath_->Items().Clear();
        FillShellFolders();
    } else {
        SetPathStyle(TComboBoxStyle::csDropDown);
    }
}

void TApAddPlaceFrm::chkAutoCapClick() { eShort.SetEnabled(!chkAutoCap.Checked()); }

void TApAddPlaceFrm::btnShowIconsClick()
{
    const std::string library = eIconLib.Text();
    const int count = IconCount(library);
    if (count < 1) {
        library_.clear();
        dg1.SetColCount(0);
        dg2.SetColCount(0);
        Application.MessageBox(NoIconsText, NoIconsCaption, MB_OK | MB_ICONERROR);
        return;
    }
    library_ = library;
    for (TStringGrid* grid : {&dg1, &dg2}) {
        grid->SetColCount(count);
        grid->Invalidate();
    }
}

void TApAddPlaceFrm::btnBrowseLibClick()
{
    TOpenDialog dialog(this);
    dialog.Filter = "Executables|*.exe;*.dll;*.ocx;*.bpl;*.cpl;|Icons|*.ico|All files|*.*";
    dialog.Title = "Browse for icon library";
    dialog.FileName = eIconLib.Text();
    if (dialog.Execute())
        eIconLib.SetText(dialog.FileName);
}

void TApAddPlaceFrm::DrawIconCell(HDC dc, int col, const RECT& rect, bool focused)
{
    if (library_.empty())
        return;
    if (focused)
        FillRect(dc, &rect, GetSysColorBrush(COLOR_ACTIVECAPTION));
    HICON icon = nullptr;
    if (ExtractIconExA(library_.c_str(), col, &icon, nullptr, 1) == 0 || !icon)
        return;
    ICONINFO info{};
    int width = 32;
    int height = 32;
    if (GetIconInfo(icon, &info)) {
        BITMAP bitmap{};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap)) {
            width = bitmap.bmWidth;
            height = bitmap.bmHeight;
        }
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
    const int cellWidth = rect.right - rect.left;
    const int cellHeight = rect.bottom - rect.top;
    DrawIconEx(dc, rect.left + cellWidth / 2 - width / 2, rect.top + cellHeight / 2 - height / 2, icon, width, height,
               0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

void TApAddPlaceFrm::Button1Click()
{
    if (!places_)
        return;
    const int type = cbTargetType.ItemIndex();
    if (type == ttShellFolder && ePath_->ItemIndex() < 0) {
        // No folder chosen: there is no place to store yet.
        ModalResult = mrNone;
        MessageBeep(MB_ICONWARNING);
        ePath_->SetFocus();
        return;
    }
    TApPlace& place = place_ ? *place_ : places_->Add();
    place.PlaceName = eShort.Text();
    place.PlaceDesc = eHint.Text();
    place.AutoCaption = chkAutoCap.Checked();
    switch (type) {
    case ttShellFolder:
        place.PlaceSpecPath = OfferedSpecFolders[ePath_->ItemIndex()];
        place.PlaceRegPath.clear();
        place.PlacePath.clear();
        break;
    case ttRegistryValue:
        place.PlaceSpecPath = TApSpecShellFolder::ftNone;
        place.PlaceRegPath = ePath_->Text();
        place.PlacePath.clear();
        break;
    default:
        place.PlaceSpecPath = TApSpecShellFolder::ftNone;
        place.PlaceRegPath.clear();
        place.PlacePath = ePath_->Text();
        break;
    }
    place.PlaceIconDll = eIconLib.Text();
    // A grid where nothing was chosen keeps the icon the place had.
    if (dg1.Col() >= 0)
        place.PlaceIcon = dg1.Col();
    if (dg2.Col() >= 0)
        place.PlaceHotIcon = dg2.Col();
    ModalResult = mrOk;
}

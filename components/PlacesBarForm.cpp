#include "PlacesBarForm.h"

#include "Application.h"
#include "IconLibrary.h"
#include "PlaceEditorForm.h"
#include "PostedCalls.h"
#include "ShellFolders.h"

#include "AnsiStrings.h"
#include "FileHandle.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace {
constexpr int LookInBox = 1137;
constexpr int LookInLabel = 1091;
constexpr int FileList = 1120;
constexpr int ShellView = 1121;
constexpr int FileTypeBox = 1136;

TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.borderStyle = TFormBorderStyle::bsNone;
    params.clientWidth = 119;
    params.clientHeight = 232;
    return params;
}

// The dropped files' names; the drop is finished whatever happens.
std::vector<std::string> DroppedPaths(HDROP drop)
{
    struct Finish {
        HDROP drop;
        ~Finish() { DragFinish(drop); }
    } finish{drop};
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(std::move(path));
    }
    return paths;
}

// A control's rectangle in its dialog's client coordinates.
bool ControlRect(HWND dialog, int id, RECT& rect)
{
    const HWND control = GetDlgItem(dialog, id);
    if (!control || !GetWindowRect(control, &rect))
        return false;
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}
} // namespace

TApPlacesBarFrm::TApPlacesBarFrm() : TForm(Params())
{
    SetName("ApPlacesBarFrm");
    KeyPreview = true;
    ShowHint = true;
    Panel1.SetName("Panel1");
    Panel1.SetAlign(TAlign::alClient);
    ps1.SetName("ps1");
    ps1.SetAlign(TAlign::alClient);
    ps1.SetAutoScroll(true);
    ToolBar1.SetName("ToolBar1");
    ps1.SetControl(&ToolBar1);
    ToolBar1.OnHeightChanged = [this] { ps1.ControlResized(); };
    ToolBar1.OnButtonClick = [this](int index) { OnFolderClick(index); };
    ToolBar1.OnButtonMoved = [this](int from, int to) { MovePlace(from, to); };
    ToolBar1.SetPopupMenu(&pop1);

    pop1.SetName("pop1");
    auto deleteItem = std::make_unique<TMenuItem>(this);
    deleteItem->SetName("Deleteplace1");
    deleteItem->SetCaption("Delete place...");
    deleteItem->OnClick = [this](TComponent*) { Deleteplace1Click(); };
    Deleteplace1 = pop1.Items().Add(std::move(deleteItem));
    auto changeItem = std::make_unique<TMenuItem>(this);
    changeItem->SetName("Changeplace1");
    changeItem->SetCaption("Properties...");
    changeItem->OnClick = [this](TComponent*) { Changeplace1Click(); };
    Changeplace1 = pop1.Items().Add(std::move(changeItem));
    pop1.OnPopup = [this](TComponent*) { ShowTargetOnMenu(); };

    OnCreate = [this] { FormCreate(); };
    DoCreate();
}

TApPlacesBarFrm::~TApPlacesBarFrm() { ToolBar1.Clear(); }

void TApPlacesBarFrm::FormCreate()
{
    // The system's own words for the commands where it has them.
    if (const std::string text = LoadShellString(33553); !text.empty())
        Deleteplace1->SetCaption(text + "...");
    if (const std::string text = LoadShellString(33555); !text.empty())
        Changeplace1->SetCaption(text + "...");
}

void UpdatePlacesOn(const TApPlaces& places, TApPlacesToolBar& bar)
{
    bar.Clear();
    bar.AddButtons(places.Count());
    // Places mostly share one library: each is opened once for the bar.
    std::vector<std::unique_ptr<TIconLibrary>> libraries;
    for (int i = 0; i < places.Count(); ++i) {
        const TApPlace& place = places.Items(i);
        auto library = std::find_if(libraries.begin(), libraries.end(),
                                    [&place](const auto& open) { return open->File() == place.PlaceIconDll; });
        if (library == libraries.end())
            library = libraries.insert(libraries.end(), std::make_unique<TIconLibrary>(place.PlaceIconDll));
        TApPlaceButton& button = bar.Buttons(i);
        button.SetCaption(GetPlaceName(place));
        button.Hint = place.PlaceDesc;
        button.SetIcons(**library, place.PlaceIcon, place.PlaceHotIcon);
    }
}

void TApPlacesBarFrm::UpdatePlaces()
{
    placeLists_.clear();
    if (places_)
        UpdatePlacesOn(*places_, ToolBar1);
    else
        ToolBar1.Clear();
}

void TApPlacesBarFrm::OnFolderClick(int index)
{
    if (!dialog_ || !places_ || index < 0 || index >= places_->Count())
        return;
    const TApPlace& place = places_->Items(index);
    switch (place.PlaceSpecPath) {
    case TApSpecShellFolder::ftNone: {
        const std::string target = PlaceTargetPath(place);
        if (target.empty())
            return;
        if (DirectoryExists(target)) {
            dialog_->SetSelPath(target);
        } else if (FileExists(target)) {
            dialog_->SetSelPath(ExtractFileDir(target));
            dialog_->SetFNameText(ExtractFileName(target));
        }
        return;
    }
    case TApSpecShellFolder::ftDesktop:
    case TApSpecShellFolder::ftDrives: {
        // These have no path to type: the look-in box takes the dialog there.
        dialog_->SetSelPath(dialog_->GetSelPath());
        const HWND window = dialog_->DialogWindow();
        const HWND lookIn = GetDlgItem(window, LookInBox);
        if (!lookIn)
            return;
        const std::string name = GetSpecFolderName(place.PlaceSpecPath);
        SendMessageA(lookIn, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
        for (WORD code : {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE})
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(LookInBox, code), reinterpret_cast<LPARAM>(lookIn));
        return;
    }
    case TApSpecShellFolder::ftPersonal:
        dialog_->SetSelPath(ShellFolderPath(CSIDL_PERSONAL));
        return;
    default:
        dialog_->SetSelPath(ShellFolderPath(CSIDL_FAVORITES));
        return;
    }
}

void TApPlacesBarFrm::FollowFolder()
{
    if (!dialog_ || !places_)
        return;
    const LPCITEMIDLIST current = dialog_->GetSelPathPidl();
    if (!current)
        return;
    DesktopFolder desktop;
    const int count = std::min(places_->Count(), ToolBar1.ButtonCount());
    placeLists_.resize(static_cast<size_t>(count));
    const auto isCurrent = [&](int index) {
        ItemIdList& list = placeLists_[static_cast<size_t>(index)];
        if (!list)
            list = GetPlacePidl(places_->Items(index), desktop.Get());
        return SameItem(desktop.Get(), list.Get(), current);
    };
    if (TApPlaceButton* pressed = ToolBar1.PressedButton()) {
        const int index = pressed->Index();
        if (index >= count || !isCurrent(index)) {
            pressed->SetDown(false);
            pressed->Update();
        }
    }
    for (int i = 0; i < count; ++i) {
        if (isCurrent(i)) {
            ToolBar1.Buttons(i).SetDown(true);
            return;
        }
    }
}

void TApPlacesBarFrm::FitToDialog()
{
    if (!dialog_)
        return;
    const HWND window = dialog_->DialogWindow();
    if (GetParent(Handle()) != window)
        return;
    RECT list{};
    RECT type{};
    if ((!ControlRect(window, FileList, list) && !ControlRect(window, ShellView, list)) ||
        !ControlRect(window, FileTypeBox, type))
        return;
    // Only the height changes: the bar stays where it was put.
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), std::max<int>(type.bottom - list.top, 0),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TApPlacesBarFrm::ShowTargetOnMenu()
{
    // The place is fixed when the menu opens: the button it was opened for,
    // by the mouse or from the keyboard on the focused button.
    const auto* button = dynamic_cast<TApPlaceButton*>(pop1.PopupComponent);
    popupTarget_ = button && &button->Bar() == &ToolBar1 ? button->Index() : -1;
}

TApPlaceButton* TApPlacesBarFrm::PopupTarget() const
{
    return popupTarget_ >= 0 && popupTarget_ < ToolBar1.ButtonCount() ? &ToolBar1.Buttons(popupTarget_) : nullptr;
}

void TApPlacesBarFrm::Deleteplace1Click()
{
    const int index = popupTarget_;
    popupTarget_ = -1;
    if (!places_ || index < 0 || index >= places_->Count() || index >= ToolBar1.ButtonCount())
        return;
    TApPlaceButton& button = ToolBar1.Buttons(index);
    if (Application.MessageBox(DeletePlaceQuestion + button.Caption(), DeletePlaceCaption,
                               MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    places_->Delete(index);
    placeLists_.clear();
    // The button's own menu handling is still on the stack: it goes once
    // that is over.
    button.SetVisible(false);
    PostCall(*this, [this] { UpdatePlaces(); });
}

void TApPlacesBarFrm::Changeplace1Click()
{
    const int index = popupTarget_;
    popupTarget_ = -1;
    if (!places_ || index < 0 || index >= places_->Count())
        return;
    TApPlace& place = places_->Items(index);
    placeLists_.clear();
    const auto editor = std::make_unique<TApAddPlaceFrm>();
    editor->SetPlaces(places_);
    editor->SetPlace(&place);
    editor->InitControls();
    if (editor->ShowModal() != mrOk || index >= ToolBar1.ButtonCount())
        return;
    TApPlaceButton& button = ToolBar1.Buttons(index);
    button.SetIconDll(place.PlaceIconDll);
    button.SetCaption(GetPlaceName(place));
    button.Hint = place.PlaceDesc;
    button.SetIconIndex(place.PlaceIcon);
    button.SetIconSelIndex(place.PlaceHotIcon);
    button.Invalidate();
}

void TApPlacesBarFrm::MovePlace(int from, int to)
{
    if (!places_)
        return;
    places_->Move(from, to);
    placeLists_.clear();
    // The dragged button is still finishing its drag: rebuild after it.
    PostCall(*this, [this] { UpdatePlaces(); });
}

void TApPlacesBarFrm::DropFiles(HDROP drop)
{
    const std::vector<std::string> paths = DroppedPaths(drop);
    if (!places_)
        return;
    if (!paths.empty()) {
        const auto editor = std::make_unique<TApAddPlaceFrm>();
        for (const std::string& path : paths) {
            editor->SetPlaces(places_);
            editor->SetPlace(nullptr);
            editor->PresetForDrop(path);
            Application.SetHint("");
            editor->ShowModal();
        }
    }
    UpdatePlaces();
}

LRESULT TApPlacesBarFrm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES) {
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return TForm::WndProc(message, wParam, lParam);
}

int PlacesBarShift() { return PlacesBarExtraWidth + GetSystemMetrics(SM_CXDLGFRAME); }

std::unique_ptr<TApPlacesBarFrm> BuildPlacesBarIn(TApPlacesBarDialog& dialog, TApPlacesBarOptions& options)
{
    const HWND window = dialog.DialogWindow();
    RECT lookIn{};
    if (ControlRect(window, LookInBox, lookIn))
        SetWindowPos(GetDlgItem(window, LookInBox), nullptr, 6, 6, lookIn.right - lookIn.left + 45,
                     lookIn.bottom - lookIn.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window, LookInLabel), nullptr, -80, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    const int shift = PlacesBarShift();
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(child, nullptr, rect.left + shift, rect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    // As much wider as the controls moved, so none is cut off at the right.
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + shift, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    auto bar = std::make_unique<TApPlacesBarFrm>();
    const HWND form = bar->Handle();
    LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE)) | WS_CHILD | WS_CLIPCHILDREN;
    SetWindowLongPtrA(form, GWL_STYLE, style);
    SetWindowLongPtrA(form, GWL_EXSTYLE, GetWindowLongPtrA(form, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetParent(form, window);
    if (options.BorderStyle == TBorderStyle::bsSingle) {
        SetWindowLongPtrA(bar->Panel1.Handle(), GWL_STYLE,
                          GetWindowLongPtrA(bar->Panel1.Handle(), GWL_STYLE) | WS_BORDER);
        SetWindowPos(bar->Panel1.Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    bar->SetDialog(&dialog);

    if (!options.RegistryKey.empty())
        options.LoadFromRegistry();
    if (options.AllowDrop)
        DragAcceptFiles(form, TRUE);
    SetWindowPos(form, nullptr, 4, 33, options.BorderStyle == TBorderStyle::bsSingle ? 91 : 87, bar->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(form, SW_SHOWNA);
    bar->ps1.SetAutoScroll(options.AutoScroll);
    bar->Changeplace1->SetEnabled(options.AllowEdit);
    bar->Deleteplace1->SetEnabled(options.AllowDelete);
    bar->SetPlaces(&options.Places());
    bar->UpdatePlaces();
    return bar;
}

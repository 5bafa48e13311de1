#include "DialogParams.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "Form.h"

#include <windowsx.h>

#include <algorithm>

namespace {
TDlgRect WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return TDlgRect{rect.left, rect.top, rect.right, rect.bottom};
}

void MoveWindowTo(HWND window, const TDlgRect& rect)
{
    SetWindowPos(window, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceChild(TForm* form, const TDlgBounds& bounds)
{
    if (form)
        SetWindowPos(form->Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void ResizeChild(TForm* form, int width, int height)
{
    if (form)
        SetWindowPos(form->Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moves every direct child of the dialog by (dx, dy) and redraws it with its
// descendants.
void ShiftChildren(HWND dialog, int dx, int dy)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(child, nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
}

void CreateFormAs(TForm*& form, const std::string& name)
{
    if (form || name.empty())
        return;
    const std::string className = UpperCase("T" + name);
    for (TForm* owned : Application.Forms())
        if (UpperCase(owned->ClassName()) == className) {
            form = owned;
            return;
        }
}

void ApCenterWindow(HWND window)
{
    MoveWindowTo(window, CenterRectOnScreen(WindowRect(window), ScreenWidth(), ScreenHeight()));
}

// --- Position parameters ----------------------------------------------------

void TApPosParams::SetFormName(const std::string& name)
{
    formName_ = name;
    Form = nullptr;
}

void TApPosParams::Assign(const TApPosParams& source)
{
    ShiftX = source.ShiftX;
    ShiftY = source.ShiftY;
    Form = source.Form;
    FitToScreen = source.FitToScreen;
}

// --- Dialog parameters ------------------------------------------------------

TApCustDlgParams::TApCustDlgParams(TComponent* dialog) : dialog_(dialog) {}

TApCustDlgParams::~TApCustDlgParams() = default;

void TApCustDlgParams::SetCustFormName(const std::string& name)
{
    custFormName_ = name;
    custForm_ = nullptr;
}

void TApCustDlgParams::SetBottomForm(TForm* form)
{
    bottomForm_ = form;
    BottomFormName.clear();
}

void TApCustDlgParams::SetTopForm(TForm* form)
{
    topForm_ = form;
    TopFormName.clear();
}

void TApCustDlgParams::SetLeftForm(TForm* form)
{
    leftForm_ = form;
    LeftFormName.clear();
}

void TApCustDlgParams::SetRightForm(TForm* form)
{
    rightForm_ = form;
    RightFormName.clear();
}

void TApCustDlgParams::SetCustForm(TForm* form)
{
    custForm_ = form;
    custFormName_.clear();
}

void TApCustDlgParams::Assign(const TApCustDlgParams& source)
{
    // Field by field: the setters would empty the names or forget the forms
    // just copied.
    topForm_ = source.topForm_;
    leftForm_ = source.leftForm_;
    bottomForm_ = source.bottomForm_;
    rightForm_ = source.rightForm_;
    custForm_ = source.custForm_;
    BottomFormName = source.BottomFormName;
    RightFormName = source.RightFormName;
    TopFormName = source.TopFormName;
    LeftFormName = source.LeftFormName;
    custFormName_ = source.custFormName_;
    Position = source.Position;
    PosParams.Assign(source.PosParams);
}

TDockedPanelSizes TApCustDlgParams::PanelSizes() const
{
    return TDockedPanelSizes{leftForm_ ? leftForm_->Width() : 0, topForm_ ? topForm_->Height() : 0,
                             rightForm_ ? rightForm_->Width() : 0, bottomForm_ ? bottomForm_->Height() : 0};
}

void TApCustDlgParams::SetClientSize(int width, int height)
{
    lastClientWidth_ = width;
    lastClientHeight_ = height;
}

void TApCustDlgParams::DockForm(TForm& form, HWND dialog)
{
    HWND window = form.Handle();
    if (!window)
        return;
    const auto known = std::find_if(docked_.begin(), docked_.end(), [&](const DockedForm& d) { return d.form == &form; });
    if (known == docked_.end())
        docked_.push_back(DockedForm{&form, GetWindowLongPtrA(window, GWL_STYLE), GetWindowLongPtrA(window, GWL_EXSTYLE)});
    form.Hide();
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_MAXIMIZEBOX | WS_BORDER | WS_DLGFRAME);
    SetWindowLongPtrA(window, GWL_STYLE, style | WS_CHILD);
    LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW | WS_EX_TOOLWINDOW |
                                      WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    // Joins the dialog's tab order.
    SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
    SetParent(window, dialog);
    // Last in the z-order, which is the tab order: after the system's
    // controls, as a part added below them.
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // Shown as a part of the dialog, not as a window of its own: no
    // activation, but the form's show event all the same.
    if (form.OnShow)
        form.OnShow();
    ShowWindow(window, SW_SHOWNA);
}

void TApCustDlgParams::UndockForm(TForm* form)
{
    if (!form || !form->Handle())
        return;
    const auto known = std::find_if(docked_.begin(), docked_.end(), [&](const DockedForm& d) { return d.form == form; });
    if (known == docked_.end())
        return;
    HWND window = form->Handle();
    // The dialog is hidden by now, so the form counts as hidden too: its
    // own visibility decides whether it hears of the hiding.
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) && form->OnHide)
        form->OnHide();
    ShowWindow(window, SW_HIDE);
    SetParent(window, nullptr);
    SetWindowLongPtrA(window, GWL_STYLE, known->style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    SetWindowLongPtrA(window, GWL_EXSTYLE, known->exStyle);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    docked_.erase(known);
}

void TApCustDlgParams::ConnectForms(HWND dialog)
{
    dialogWnd_ = dialog;
    extraWidth_ = 0;
    extraHeight_ = 0;
    CreateFormAs(leftForm_, LeftFormName);
    CreateFormAs(rightForm_, RightFormName);
    CreateFormAs(topForm_, TopFormName);
    CreateFormAs(bottomForm_, BottomFormName);
    CreateFormAs(custForm_, custFormName_);
    CreateFormAs(PosParams.Form, PosParams.FormName());

    RECT windowRect{};
    GetWindowRect(dialog, &windowRect);
    RECT client{};
    GetClientRect(dialog, &client);
    const TDockedPanelSizes sizes = PanelSizes();
    if (leftForm_) {
        ShiftChildren(dialog, sizes.leftWidth + GetSystemMetrics(SM_CXDLGFRAME), 0);
        DockForm(*leftForm_, dialog);
    }
    if (topForm_) {
        ShiftChildren(dialog, 0, sizes.topHeight + GetSystemMetrics(SM_CYDLGFRAME));
        DockForm(*topForm_, dialog);
    }
    if (rightForm_)
        DockForm(*rightForm_, dialog);
    if (bottomForm_)
        DockForm(*bottomForm_, dialog);

    const TDockedPanelLayout layout = LayOutDockedPanels(sizes, client.right, client.bottom);
    PlaceChild(leftForm_, layout.left);
    PlaceChild(topForm_, layout.top);
    PlaceChild(rightForm_, layout.right);
    PlaceChild(bottomForm_, layout.bottom);

    extraWidth_ = sizes.leftWidth + sizes.rightWidth;
    extraHeight_ = sizes.topHeight + sizes.bottomHeight;
    if (extraWidth_ != 0 || extraHeight_ != 0)
        SetWindowPos(dialog, nullptr, 0, 0, windowRect.right - windowRect.left + extraWidth_,
                     windowRect.bottom - windowRect.top + extraHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TApCustDlgParams::DisconnectForms()
{
    for (TForm* form : {bottomForm_, topForm_, leftForm_, rightForm_, custForm_})
        UndockForm(form);
    dialogWnd_ = nullptr;
}

void TApCustDlgParams::OnResizeWindow(int clientWidth, int clientHeight)
{
    const TDockedPanelResize sizes = ResizeDockedPanels(PanelSizes(), clientWidth, clientHeight);
    if (topForm_)
        ResizeChild(topForm_, sizes.topWidth, topForm_->Height());
    if (leftForm_)
        ResizeChild(leftForm_, leftForm_->Width(), sizes.sideHeight);
    if (rightForm_)
        ResizeChild(rightForm_, rightForm_->Width(), sizes.sideHeight);
    if (bottomForm_)
        ResizeChild(bottomForm_, sizes.bottomWidth, bottomForm_->Height());
    fileListRect_.width += clientWidth - lastClientWidth_;
    fileListRect_.height += clientHeight - lastClientHeight_;
    lastClientWidth_ = clientWidth;
    lastClientHeight_ = clientHeight;
}

void TApCustDlgParams::TrackContextMenus(bool& allow, UINT message, WPARAM, LPARAM lParam) const
{
    if (message != WM_CONTEXTMENU)
        return;
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HWND window = point.x == -1 && point.y == -1 ? GetFocus() : WindowFromPoint(point);
    // The framework control the window belongs to: a control's own window or
    // a window inside it (the edit box of a combo box).
    for (; window && window != dialogWnd_; window = GetParent(window))
        if (TControl* control = TControl::FromHandle(window)) {
            if (control->PopupMenu())
                allow = false;
            return;
        }
}

TForm* TApCustDlgParams::ReferenceForm() const
{
    switch (Position) {
    case TApDlgPosition::dpMainFormCenter:
        return Application.MainForm();
    case TApDlgPosition::dpOwnerCenter:
        if (auto* owner = dynamic_cast<TForm*>(dialog_ ? dialog_->Owner() : nullptr))
            return owner;
        return Application.MainForm();
    case TApDlgPosition::dpFormCenter:
        return PosParams.Form ? PosParams.Form : Application.MainForm();
    default:
        return nullptr;
    }
}

void TApCustDlgParams::ApSetPosition(HWND dialog) const
{
    if (Position != TApDlgPosition::dpDefault) {
        TForm* over = ReferenceForm();
        if (over && over->Handle())
            MoveWindowTo(dialog, CenterRectOver(WindowRect(dialog), WindowRect(over->Handle())));
        else
            ApCenterWindow(dialog);
    }
    TDlgRect rect = WindowRect(dialog);
    rect = TDlgRect{rect.left + PosParams.ShiftX, rect.top + PosParams.ShiftY, rect.right + PosParams.ShiftX,
                    rect.bottom + PosParams.ShiftY};
    if (PosParams.FitToScreen)
        rect = FitRectToScreen(rect, ScreenWidth(), ScreenHeight());
    MoveWindowTo(dialog, rect);
}

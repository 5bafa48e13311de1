// The messages of the extended file dialog's own window: undocking before
// the window goes, sizing and placing it at its first paint, panels that
// follow a resize, and the toolbar and file name commands a handler may veto.

#include "ApDialogs.h"

#include "Form.h"

#include <dlgs.h>

namespace {
// The commands of the dialog's toolbar.
constexpr WORD UpOneLevelCommand = 40961;
constexpr WORD NewFolderCommand = 40962;
constexpr WORD DesktopCommand = 40969;
constexpr WORD LastFolderCommand = 40971;

// How far the controls below the file list are pushed when the system put
// them over it, and the right panel with them.
constexpr int PushDown = 70;
constexpr int PushRight = 36;

RECT ClientBounds(HWND window, HWND dialog)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveBy(HWND window, HWND dialog, int dx, int dy)
{
    if (!window)
        return;
    const RECT rect = ClientBounds(window, dialog);
    SetWindowPos(window, nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}

LRESULT TApCustomOpenDialog::NewDlgProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    TApMessage hooked{message, wParam, lParam, 0};
    bool allowDispatch = true;
    DoHookQueryEvent(hooked, allowDispatch);
    if (!allowDispatch)
        return hooked.Result;

    HWND dialog = dialogSubclass_.Window();
    LRESULT result = 0;
    switch (message) {
    case WM_DESTROY:
        DialogDestroying();
        result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        break;
    case WM_SIZE:
        DialogResized(LOWORD(lParam), HIWORD(lParam));
        result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        break;
    case WM_GETMINMAXINFO:
        // A window being destroyed has no size to keep within bounds, and
        // the shrinking at its destruction must not be held back.
        if (!FClosing)
            result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        break;
    case WM_CONTEXTMENU: {
        bool allow = true;
        CustDlgParams.TrackContextMenus(allow, message, wParam, lParam);
        if (allow)
            result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        break;
    }
    case WM_NCPAINT:
        result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        if (dialog)
            DialogNcPaint();
        break;
    case WM_COMMAND: {
        void (TApCustomOpenDialog::*navigated)() = nullptr;
        if (DialogCommand(wParam, navigated))
            return 0;
        result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        if (navigated)
            (this->*navigated)();
        break;
    }
    default:
        result = dialogSubclass_.CallPrevious(message, wParam, lParam);
        break;
    }
    hooked.Result = result;
    DoHookEvent(hooked);
    return result;
}

void TApCustomOpenDialog::DialogDestroying()
{
    FClosing = true;
    RECT window{};
    GetWindowRect(FDialogWnd, &window);
    const int extraWidth = CustDlgParams.ExtraWidth();
    const int extraHeight = CustDlgParams.ExtraHeight();
    // Here, while the panels are still children of the dialog but before the
    // system destroys its children: taken out now, they survive it.
    CustDlgParams.DisconnectForms();
    int width = window.right - window.left - extraWidth;
    const int height = window.bottom - window.top - extraHeight;
    if (ShowCustomPlacesBar()) {
        width -= FPlacesBarWidth;
        DestroyPlacesBar();
    }
    FRememberedWidth = width;
    FRememberedHeight = height;
}

void TApCustomOpenDialog::DialogResized(int clientWidth, int clientHeight)
{
    ResizePlacesBar();
    TForm* custom = CustDlgParams.CustForm();
    if ((Options & ofEnableSizing) && selectionType_ == TApDlgSelectionType::stCustom && custom && custom->Handle()) {
        SetWindowPos(custom->Handle(), nullptr, 0, 0, custom->Width() + clientWidth - lastClientWidth_,
                     custom->Height() + clientHeight - lastClientHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (HWND child = GetWindow(FDialogWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            InvalidateRect(child, nullptr, TRUE);
    }
    lastClientWidth_ = clientWidth;
    lastClientHeight_ = clientHeight;
    CustDlgParams.OnResizeWindow(clientWidth, clientHeight);
    if (custom && custom->Handle())
        custom->Invalidate();
}

void TApCustomOpenDialog::DialogNcPaint()
{
    if (FFirstPaint && FRememberedWidth > 0) {
        // Cleared first: the sizing below paints the frame again.
        FFirstPaint = false;
        const int barWidth = ShowCustomPlacesBar() ? FPlacesBarWidth : 0;
        SetWindowPos(FDialogWnd, nullptr, 0, 0, CustDlgParams.ExtraWidth() + FRememberedWidth + barWidth,
                     CustDlgParams.ExtraHeight() + FRememberedHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ResizePlacesBar();
        CustDlgParams.ApSetPosition(FDialogWnd);
    }
    RefreshSelCtrl();
    PushLowerControls();
}

void TApCustomOpenDialog::PushLowerControls()
{
    // Once per show: pushed controls that still overlap the list (or a
    // list the system moved) must not walk off the window paint by paint.
    if (pushedThisShow_ || !FDialogWnd)
        return;
    HWND name = GetEdit();
    HWND list = GetDlgItem(FDialogWnd, lst1);
    if (!list)
        list = GetDlgItem(FDialogWnd, lst2);
    if (!name || !list)
        return;
    if (ClientBounds(name, FDialogWnd).top >= ClientBounds(list, FDialogWnd).bottom)
        return;
    pushedThisShow_ = true;
    MoveBy(name, FDialogWnd, 0, PushDown);
    for (int control : {stc3, stc2, cmb1, IDOK, IDCANCEL, pshHelp, chx1})
        MoveBy(GetDlgItem(FDialogWnd, control), FDialogWnd, 0, PushDown);
    if (TForm* bottom = CustDlgParams.BottomForm(); bottom && GetParent(bottom->Handle()) == FDialogWnd)
        MoveBy(bottom->Handle(), FDialogWnd, 0, PushDown);
    if (TForm* right = CustDlgParams.RightForm(); right && GetParent(right->Handle()) == FDialogWnd)
        MoveBy(right->Handle(), FDialogWnd, PushRight, 0);
    ResizePlacesBar();
}

bool TApCustomOpenDialog::DialogCommand(WPARAM wParam, void (TApCustomOpenDialog::*&navigated)())
{
    const WORD id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    bool allow = true;
    if (code == 0) {
        switch (id) {
        case IDOK: {
            HWND edit = GetEdit();
            HWND focused = GetFocus();
            if (!quietFileName_ && edit && focused && (focused == edit || IsChild(edit, focused)))
                DoFilenameEntering(allow);
            break;
        }
        case NewFolderCommand:
            DoFolderCreating(allow);
            break;
        case DesktopCommand:
            DoDesktopNavigating(allow);
            navigated = &TApCustomOpenDialog::DoDesktopNavigate;
            break;
        case UpOneLevelCommand:
            DoUpLevelNavigating(allow);
            navigated = &TApCustomOpenDialog::DoUpLevelNavigate;
            break;
        case LastFolderCommand:
            DoLastFolderNavigating(allow);
            navigated = &TApCustomOpenDialog::DoLastFolderNavigate;
            break;
        default:
            break;
        }
    } else if (id == edt1 && code == EN_CHANGE && !quietFileName_) {
        DoFilenameChanging(allow);
        navigated = &TApCustomOpenDialog::DoFilenameChange;
    }
    if (!allow)
        navigated = nullptr;
    return !allow;
}

// The extended file dialog's file list, filter and toolbar options: the
// shell view and list subclassed anew for every folder, their styles, the
// toolbar's style and the custom toolbar, and the thread hooks. Until the
// options exist the system's list and toolbar stay as the system made them.

#include "ApDialogs.h"

TViewStyle TApCustomOpenDialog::SelectionStyle() const
{
    HWND list = GetLVHandle();
    if (!list)
        return TViewStyle::vsIcon;
    switch (GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK) {
    case LVS_REPORT:
        return TViewStyle::vsReport;
    case LVS_SMALLICON:
        return TViewStyle::vsSmallIcon;
    case LVS_LIST:
        return TViewStyle::vsList;
    default:
        return TViewStyle::vsIcon;
    }
}

void TApCustomOpenDialog::RecreateHWnds()
{
    FShellViewWnd = GetDVHandle();
    FListViewWnd = GetLVHandle();
}

void TApCustomOpenDialog::RefreshListViewStyles() {}

void TApCustomOpenDialog::PrepareToolBar() {}

void TApCustomOpenDialog::RestoreToolBar() {}

void TApCustomOpenDialog::InstallThreadHooks() {}

void TApCustomOpenDialog::RemoveThreadHooks() {}

// Which system controls of the extended file dialog are shown, and what
// fills the file list area: the system's list or the custom selection form.

#include "ApDialogs.h"

#include "Form.h"
#include "WindowUtils.h"

#include <dlgs.h>

#include <utility>

namespace {
// The controls shown or hidden by their identifier. The file list area
// (whose identifier names a hidden placeholder) and the toolbars are handled
// on their own.
constexpr std::pair<TApOpenDlgControl, int> IdentifiedControls[] = {
    {TApOpenDlgControl::dcFolderCombo, cmb2},   {TApOpenDlgControl::dcFolderLabel, stc4},
    {TApOpenDlgControl::dcOkBtn, IDOK},         {TApOpenDlgControl::dcCancelBtn, IDCANCEL},
    {TApOpenDlgControl::dcFileName, edt1},      {TApOpenDlgControl::dcFileNameLabel, stc3},
    {TApOpenDlgControl::dcFileType, cmb1},      {TApOpenDlgControl::dcFileTypeLabel, stc2},
};

BOOL CALLBACK ShowToolBar(HWND window, LPARAM show)
{
    if (WindowClassName(window) == TOOLBARCLASSNAMEA)
        ShowWindow(window, show ? SW_SHOW : SW_HIDE);
    return TRUE;
}

void ShowToolBars(HWND dialog, bool show) { EnumChildWindows(dialog, &ShowToolBar, show); }

void HideAtBottom(HWND window)
{
    if (window)
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}
}

void TApCustomOpenDialog::SetSelectionType(TApDlgSelectionType type)
{
    selectionType_ = type;
    RefreshSelCtrl();
}

void TApCustomOpenDialog::SetVisibleCtrls(TApOpenDlgControls controls)
{
    visibleControls_ = controls;
    if (!FDialogWnd)
        return;
    for (const auto& [control, id] : IdentifiedControls) {
        // The file name box of the layout with the system's places bar has
        // an identifier of its own.
        const int target = control == TApOpenDlgControl::dcFileName && GetEdit() ? GetDlgCtrlID(GetEdit()) : id;
        if (controls & ApControlBit(control))
            ShowWindow(GetDlgItem(FDialogWnd, target), SW_SHOW);
        else
            SendMessageA(FDialogWnd, CDM_HIDECONTROL, static_cast<WPARAM>(target), 0);
    }
    RefreshSelCtrl();
    ShowToolBars(FDialogWnd, (controls & ApControlBit(TApOpenDlgControl::dcToolBar)) != 0);
}

bool TApCustomOpenDialog::CustomFormShown() const
{
    const TForm* form = CustDlgParams.CustForm();
    return form && form->Handle() && GetParent(form->Handle()) == FDialogWnd && IsWindowVisible(form->Handle());
}

void TApCustomOpenDialog::RefreshSelCtrl()
{
    if (!FDialogWnd)
        return;
    const bool area = (visibleControls_ & ApControlBit(TApOpenDlgControl::dcSelectionCtrl)) != 0;
    const bool custom = area && selectionType_ == TApDlgSelectionType::stCustom;
    const bool standard = area && selectionType_ == TApDlgSelectionType::stStandard;
    // Only what differs: this runs on every paint of the frame, and the
    // system's list keeps the place the system gave it.
    if (!custom && CustomFormShown())
        ShowCustomSelectionCtrl(false);
    HWND view = GetDVHandle();
    if (view && (IsWindowVisible(view) != FALSE) != standard)
        ShowStdSelectionCtrls(standard);
    if (custom && !CustomFormShown())
        ShowCustomSelectionCtrl(true);
}

void TApCustomOpenDialog::ShowStdSelectionCtrls(bool show)
{
    if (!FDialogWnd)
        return;
    HWND placeholder = GetDlgItem(FDialogWnd, lst1);
    HWND other = GetDlgItem(FDialogWnd, lst2);
    if (!show) {
        for (HWND window : {placeholder, other}) {
            if (!window)
                continue;
            for (HWND part : {window, GetWindow(window, GW_CHILD)}) {
                HideAtBottom(part);
                if (part)
                    EnableWindow(part, FALSE);
            }
        }
        return;
    }
    if (CustomFormShown())
        ShowCustomSelectionCtrl(false);
    HWND view = placeholder && WindowClassName(placeholder) == "SHELLDLL_DefView" ? placeholder : other;
    HWND spare = view == placeholder ? other : placeholder;
    const TDlgBounds& area = CustDlgParams.FileListRect();
    if (view) {
        UINT sizing = area.width > 0 && area.height > 0 ? 0 : SWP_NOMOVE | SWP_NOSIZE;
        SetWindowPos(view, nullptr, area.left, area.top, area.width, area.height,
                     sizing | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        EnableWindow(view, TRUE);
        if (HWND list = GetWindow(view, GW_CHILD)) {
            SetWindowPos(list, nullptr, 0, 0, area.width, area.height,
                         sizing | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            EnableWindow(list, TRUE);
        }
    }
    if (spare) {
        HideAtBottom(spare);
        EnableWindow(spare, TRUE);
    }
}

void TApCustomOpenDialog::ShowCustomSelectionCtrl(bool show)
{
    TForm* form = CustDlgParams.CustForm();
    if (!FDialogWnd || !form || !form->Handle())
        return;
    if (!show) {
        CustDlgParams.UndockForm(form);
        return;
    }
    CustDlgParams.DockForm(*form, FDialogWnd);
    const TDlgBounds& area = CustDlgParams.FileListRect();
    SetWindowPos(form->Handle(), nullptr, area.left, area.top, area.width, area.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    form->Invalidate();
}

// The extended file dialog's file list, filter and toolbar options: the
// shell view and list subclassed anew for every folder, their styles, the
// toolbar's style and the custom toolbar, and the thread hooks. The work is
// the file list session's; the dialog answers for it with its options and
// events.

#include "ApDialogs.h"

#include "ApFileListSession.h"

struct TApCustomOpenDialog::ListOptionsRun final : TApFileListHost {
    explicit ListOptionsRun(TApCustomOpenDialog& dialog) : dialog(dialog), session(*this) {}

    HWND DialogWindow() const override { return dialog.FDialogWnd; }
    TApListViewStyles& ListViewStyles() override { return dialog.ListViewStyles; }
    TApFileFilter& ExtFilter() override { return dialog.ExtFilter; }
    TApToolBarOptions& ToolBarOptions() override { return dialog.ToolBar; }
    void SelectionStyleChanging(TViewStyle style, bool& allowChange) override
    {
        dialog.DoSelectionStyleChanging(style, allowChange);
    }
    void SelectionStyleChanged(TViewStyle style) override { dialog.DoSelectionStyleChange(style); }

    static void Free(ListOptionsRun* run) { delete run; }

    TApCustomOpenDialog& dialog;
    TApFileListSession session;
};

TViewStyle TApCustomOpenDialog::SelectionStyle() const { return ListViewSelStyle(GetLVHandle()); }

bool TApCustomOpenDialog::RecreateHWnds()
{
    if (!listOptions_)
        return false;
    const bool newList = listOptions_->session.RecreateHWnds();
    FShellViewWnd = listOptions_->session.ShellView();
    FListViewWnd = listOptions_->session.ListView();
    return newList;
}

void TApCustomOpenDialog::RefreshListViewStyles()
{
    if (listOptions_)
        listOptions_->session.RefreshListViewStyles();
}

void TApCustomOpenDialog::ListOptionsFolderChanged()
{
    if (!listOptions_)
        return;
    listOptions_->session.FolderChanged();
    FShellViewWnd = listOptions_->session.ShellView();
    FListViewWnd = listOptions_->session.ListView();
}

void TApCustomOpenDialog::PrepareToolBar()
{
    // A show that failed half-way left its run behind: it ends here.
    listOptions_ = {new ListOptionsRun(*this), &ListOptionsRun::Free};
    listOptions_->session.ShowToolbar();
}

void TApCustomOpenDialog::RestoreToolBar()
{
    if (listOptions_)
        listOptions_->session.GiveBackCustomBar();
}

void TApCustomOpenDialog::InstallThreadHooks()
{
    if (!listOptions_)
        return;
    listOptions_->session.StartHooks();
    KeyboardHook = TApThreadHooks::KeyboardHandle();
    CallWndHook = TApThreadHooks::CallWndHandle();
    listOptions_->session.ShowDone();
    FShellViewWnd = listOptions_->session.ShellView();
    FListViewWnd = listOptions_->session.ListView();
}

void TApCustomOpenDialog::RemoveThreadHooks() { listOptions_.reset(); }

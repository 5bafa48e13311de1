// The Explorer-style hook of the extended file dialogs: the system's
// notifications become the dialog's steps and events.

#include "ApDialogs.h"

#include "Application.h"

UINT_PTR CALLBACK TApCustomOpenDialog::HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<TApCustomOpenDialog*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
        SetWindowLongPtrA(hook, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->hookWnd_ = hook;
        return TRUE;
    }
    auto* dialog = reinterpret_cast<TApCustomOpenDialog*>(GetWindowLongPtrA(hook, DWLP_USER));
    if (!dialog)
        return 0;
    return GuardedCall(
        [&]() -> UINT_PTR {
            if (message == WM_NOTIFY) {
                dialog->HookNotify(*reinterpret_cast<const OFNOTIFYA*>(lParam));
            } else if (message == WM_DESTROY) {
                SetWindowLongPtrA(hook, DWLP_USER, 0);
                dialog->DoClose();
            }
            return 0;
        },
        UINT_PTR{0});
}

void TApCustomOpenDialog::HookNotify(const OFNOTIFYA& notify)
{
    switch (notify.hdr.code) {
    case CDN_INITDONE:
        DoShow();
        break;
    case CDN_SELCHANGE:
        DoSelectionChange();
        break;
    case CDN_FOLDERCHANGE:
        DoFolderChange();
        break;
    case CDN_TYPECHANGE:
        // Before the event, so that handlers (and a selection handler after
        // them) read the type just chosen.
        FilterIndex = static_cast<int>(notify.lpOFN->nFilterIndex);
        DoTypeChange();
        break;
    default:
        break;
    }
}

LRESULT TApCustomOpenDialog::FRealHook(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto& notify = *reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (notify.hdr.code == CDN_SHAREVIOLATION) {
            int result = -1;
            DoShareViolation(result, notify.pszFile ? notify.pszFile : "");
            if (result != -1) {
                SetWindowLongPtrA(hookSubclass_.Window(), DWLP_MSGRESULT, result);
                return result;
            }
        }
    }
    return hookSubclass_.CallPrevious(message, wParam, lParam);
}

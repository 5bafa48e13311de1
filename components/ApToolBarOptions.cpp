#include "ApToolBarOptions.h"

#include "ToolBar.h"

#include <commctrl.h>

HWND ApFindToolbar(HWND dialog)
{
    if (!dialog)
        return nullptr;
    for (HWND child = FindWindowExA(dialog, nullptr, TOOLBARCLASSNAMEA, nullptr); child;
         child = FindWindowExA(dialog, child, TOOLBARCLASSNAMEA, nullptr)) {
        // Neither the system's places bar nor a bar the application lent.
        if (GetDlgCtrlID(child) != SystemPlacesBarId && !TControl::FromHandle(child))
            return child;
    }
    return nullptr;
}

void MakeFlatButtons(HWND toolbar)
{
    if (!toolbar)
        return;
    const LONG style = GetWindowLongA(toolbar, GWL_STYLE);
    if (!(style & TBSTYLE_FLAT)) {
        SetWindowLongA(toolbar, GWL_STYLE, style | TBSTYLE_FLAT);
        InvalidateRect(toolbar, nullptr, TRUE);
    }
}

TApCustomBarLoan::TApCustomBarLoan(TToolBar& bar, HWND dialog, HWND dialogToolbar)
    : bar_(&bar), barWindow_(bar.Handle()), parentWindow_(bar.Parent() ? bar.Parent()->Handle() : nullptr),
      align_(static_cast<int>(bar.Align())), visible_(bar.Visible()),
      bounds_{bar.Left(), bar.Top(), bar.Left() + bar.Width(), bar.Top() + bar.Height()}
{
    // Out of its parent's layout first, so a realignment there cannot move it
    // about inside the dialog.
    bar.SetAlign(TAlign::alNone);
    SetParent(barWindow_, dialog);
    int left = 0;
    int top = 0;
    if (dialogToolbar) {
        RECT place{};
        GetWindowRect(dialogToolbar, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        left = place.right;
        top = place.top + (place.bottom - place.top) / 2 - bar.Height() / 2;
    }
    SetWindowPos(barWindow_, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    bar.SetVisible(true);
}

TApCustomBarLoan::~TApCustomBarLoan() { GiveBack(); }

void TApCustomBarLoan::GiveBack()
{
    TToolBar* bar = bar_;
    bar_ = nullptr;
    // A bar freed meanwhile, or whose window went, has nothing to get back.
    if (!bar || TControl::FromHandle(barWindow_) != bar)
        return;
    bar->SetVisible(visible_);
    SetParent(barWindow_, parentWindow_);
    bar->SetAlign(static_cast<TAlign>(align_));
    bar->SetBounds(bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
}

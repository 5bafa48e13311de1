#pragma once
// The toolbar options of the extended file dialog: the dialog's own toolbar
// made flat, and a toolbar of the application lent to the dialog while it is
// shown, beside the dialog's own.

#include <windows.h>

#include <optional>

class TToolBar;

class TApToolBarOptions {
public:
    bool Flat = false;
    // Not owned; lent to the dialog while it is shown.
    TToolBar* CustomBar = nullptr;
};

// Control identifier of the system's own places bar, itself a toolbar.
inline constexpr int SystemPlacesBarId = 1184;

// The dialog's navigation toolbar: the first child toolbar that is neither
// the system's places bar nor a toolbar of the application's (a lent one);
// null when there is none.
HWND ApFindToolbar(HWND dialog);
// Gives the toolbar the flat style.
void MakeFlatButtons(HWND toolbar);

// Lends an application toolbar to a dialog window: it sits at the right edge
// of the dialog's toolbar, centred on it, until it is given back, which puts
// back its parent, alignment, bounds and visibility. It must be given back
// before the dialog destroys its children, or the bar's window goes with them.
class TApCustomBarLoan {
public:
    TApCustomBarLoan(TToolBar& bar, HWND dialog, HWND dialogToolbar);
    ~TApCustomBarLoan();
    TApCustomBarLoan(const TApCustomBarLoan&) = delete;
    TApCustomBarLoan& operator=(const TApCustomBarLoan&) = delete;

    void GiveBack();

private:
    TToolBar* bar_;
    HWND barWindow_;
    HWND parentWindow_;
    int align_;
    bool visible_;
    RECT bounds_;
};

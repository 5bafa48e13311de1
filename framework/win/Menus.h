#pragma once
// Main and popup menus. (Grows into the full menu model: items built from
// tables, shortcuts, hints, hidden items.)

#include "Component.h"
#include "KeyboardState.h"

#include <windows.h>

class TControl;

class TMainMenu : public TComponent {
public:
    using TComponent::TComponent;
    virtual HMENU Handle() const { return nullptr; }
    // Runs the item whose shortcut this key is; true when one ran.
    virtual bool IsShortCut(WORD key, TShiftState shift);
};

class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;
    // Opens the menu at a screen point.
    virtual void Popup(int screenX, int screenY);
    // Whether a right click opens it by itself.
    bool AutoPopup = true;
    // The control the menu was last opened for.
    TControl* PopupComponent = nullptr;
};

// Menu messages that reach a form (WM_INITMENUPOPUP, WM_MENUSELECT, WM_COMMAND
// from a menu, WM_EXITMENULOOP) go to the menus here. True when handled.
bool DispatchMenuMessage(HWND form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

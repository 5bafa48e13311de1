// The main window's own keys, seen before any control or menu shortcut does
// because the window previews keys. The focused control still gets every key,
// except where the window has already done what the key would make it do and
// the window's own shortcuts, which would otherwise also type their letter.
#include "Main.h"

#include "Application.h"
#include "DateTexts.h"
#include "Menus.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "ToolBar.h"
#include "TreeView.h"

#include <windows.h>

namespace {
constexpr WORD KeyD = 'D';
constexpr WORD KeyN = 'N';
constexpr WORD KeyO = 'O';
constexpr WORD KeyP = 'P';
constexpr WORD KeyR = 'R';

bool AltCtrlHeld(TShiftState shift) { return (shift & (ssAlt | ssCtrl)) == (ssAlt | ssCtrl); }
}

void TMain::FormKeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_F4 && (shift & ssAlt)) {
        Close();
        // The close is asked for: neither the Exit shortcut nor the system's
        // own Alt+F4 may ask a second time.
        key = 0;
    } else if (key == VK_ESCAPE) {
        if (!Tree->IsEditing() && OptionSettings.EscMinimize)
            Application.Minimize();
    } else if (key == VK_F10 && (shift & ssShift)) {
        OpenPopupFromKeyboard();
        // The focused control would open its own menu too.
        key = 0;
    } else if (AltCtrlHeld(shift) && RunAltCtrlKey(key)) {
        key = 0;
    }
}

bool TMain::RunAltCtrlKey(WORD key)
{
    switch (key) {
    case KeyN:
        mNormalClick(this);
        return true;
    case KeyO:
        mOutlineClick(this);
        return true;
    case KeyP:
        mPageOnlyClick(this);
        return true;
    case KeyR:
        if (auto* open = dynamic_cast<TToolButton*>(FindComponent("bOpen")))
            open->CheckMenuDropdown();
        return true;
    case KeyD:
        InsertDateAndTime();
        return true;
    default:
        return false;
    }
}

void TMain::OpenPopupFromKeyboard()
{
    if (Tree->Focused()) {
        const TTreeNode* page = Tree->Selected();
        if (!page)
            return;
        // Just below the selected title.
        const RECT title = page->DisplayRect(true);
        const POINT at = Tree->ClientToScreen({title.left, title.bottom});
        PopupMenuNamed("PopupPage")->Popup(at.x, at.y);
        return;
    }
    TPopupMenu* popup = RichEdit->PopupMenu();
    if (!popup)
        return;
    const POINT at = RichEdit->ClientToScreen(RichEdit->GetCharPos(RichEdit->GetSelection().cpMax));
    popup->Popup(at.x, at.y);
}

void TMain::InsertDateAndTime()
{
    if (Tree->Focused() && !Tree->IsEditing()) {
        AddPageChecked(FormatNow(OptionSettings.DateTimeFormat));
        return;
    }
    if (!RichEdit->Focused())
        return;
    const std::string text = FormatNow(OptionSettings.DateTimeFormat);
    RichEdit->Lines().BeginUpdate();
    RichEdit->SetSelText(text);
    const int end = RichEdit->GetSelection().cpMax;
    RichEdit->SetSelection(end, end, true);
    RichEdit->Lines().EndUpdate();
}

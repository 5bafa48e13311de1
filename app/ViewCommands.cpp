// How the main window is laid out: the three view modes, which are nothing
// but the page tree's width (the tree is aligned left, the editor takes the
// rest), and the toolbar and status bar shown or hidden.
#include "Main.h"

#include "Exceptions.h"
#include "Menus.h"
#include "SettingsRecords.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TreeView.h"

namespace {
TMenuItem& MenuItem(const TMain& main, const char* name)
{
    auto* item = dynamic_cast<TMenuItem*>(main.FindComponent(name));
    if (!item)
        throw Exception(std::string("The main window has no menu item ") + name);
    return *item;
}
}

void TMain::mNormalClick(TComponent*)
{
    // Runs even when Normal is already chosen: choosing it again centres the
    // splitter once more.
    MenuItem(*this, "mNormal").SetChecked(true);
    Tree->SetWidth(Width() / 2);
}

void TMain::mOutlineClick(TComponent*)
{
    TMenuItem& outline = MenuItem(*this, "mOutline");
    if (outline.Checked())
        return;
    outline.SetChecked(true);
    // The editor keeps a pixel or less.
    Tree->SetWidth(ClientWidth() - Splitter->Width() - 1);
}

void TMain::mPageOnlyClick(TComponent*)
{
    TMenuItem& pageOnly = MenuItem(*this, "mPageOnly");
    if (pageOnly.Checked())
        return;
    pageOnly.SetChecked(true);
    Tree->SetWidth(1);
}

void TMain::mToolbarClick(TComponent*)
{
    const bool shown = !Toolbar->Visible();
    MenuItem(*this, "mToolbar").SetChecked(shown);
    Toolbar->SetVisible(shown);
    UserSettings.Toolbar = shown;
}

void TMain::mStatusBarClick(TComponent*)
{
    // Each of the three flips from its own value.
    TMenuItem& item = MenuItem(*this, "mStatusbar");
    item.SetChecked(!item.Checked());
    StatusBar->SetVisible(!StatusBar->Visible());
    OptionSettings.StatusBar = !OptionSettings.StatusBar;
}

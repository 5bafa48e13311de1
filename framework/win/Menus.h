#pragma once
// Main and popup menus. Items are objects that keep their place among their
// siblings whatever their state, and the Win32 menus are kept in step with
// them. A Win32 menu cannot hide an entry, so a hidden item simply has no
// entry until it is shown again. Shortcuts are not an accelerator table: the
// program changes some of them while it runs (Paste is "Ctrl+V" or "Ins"), so
// the form asks the main menu about every key instead.

#include "Component.h"
#include "KeyboardState.h"
#include "MenuTable.h"
#include "ShortCut.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TControl;
class TMenu;

// Handlers of clicks and similar events get the object the event came from.
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TMenuItem : public TComponent {
public:
    // The item is registered with owner for name lookup; it belongs to the
    // item it is added to.
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    // Shown as it is: "&" marks the access key, "-" makes a separator.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsSeparator() const { return caption_ == "-"; }

    // Shown after a tab behind the caption and run by the main menu's key check.
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    std::string ShortCutText() const { return ShortCutToText(shortCut_); }
    // "" removes the shortcut; text that names no key throws EConvertError.
    void SetShortCutText(const std::string& text);

    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool checked);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radioItem);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    // Shown bold.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Shown by the status bar while the item is highlighted.
    std::string Hint;
    // The image of the menu's Images shown beside the caption when a popup
    // menu opens; -1 for none.
    int ImageIndex = -1;

    TMenuItem* Parent() const { return parent_; }
    // The menu the item is in, or null while it is in none.
    TMenu* ParentMenu() const;
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    int IndexOf(const TMenuItem* item) const;
    // The position among all siblings, hidden ones included.
    int MenuIndex() const;

    TMenuItem* Add(std::unique_ptr<TMenuItem> item);
    TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
    // Takes the item out and hands it back to the caller.
    std::unique_ptr<TMenuItem> Remove(TMenuItem* item);
    void Clear();

    // Runs OnClick. A main menu's top-level item is "clicked" when its menu
    // drops down, which is where the program refreshes the items' states.
    virtual void Click();
    TNotifyEvent OnClick;

    // The submenu of an item with children (the menu itself for a menu's
    // root item); null while it has none.
    HMENU Handle() const { return items_.empty() && !menu_ ? nullptr : handle_; }
    // The command id the item's entry carries.
    UINT Command() const { return command_; }
    // The item behind a command id or a submenu handle, or null.
    static TMenuItem* FromCommand(UINT command);
    static TMenuItem* FromHandle(HMENU menu);
    // The visible child at an entry position of the submenu, or null.
    TMenuItem* VisibleItem(int position) const;

    // Whether the entry shows an image of images (ImageIndex set), and the
    // menu's answers for it: the space it takes and its drawing, which the
    // system asks of the menu's owner window.
    void ShowPictures(HIMAGELIST images);
    bool ShowsPicture() const { return pictureList_ != nullptr; }
    SIZE PictureSize() const;
    void DrawPicture(HDC dc, const RECT& area) const;

protected:
    // The items below belong to this one, whoever owns them by name.
    void DestructionStarted() override;

private:
    friend class TMenu;

    int EntryPosition() const;
    void DescribeEntry(MENUITEMINFOA& info, std::string& text, bool withSubmenu) const;
    void InsertEntry();
    void RemoveEntry();
    void ReplaceEntry();
    void UpdateEntry();
    void EntriesChanged();
    void CreateSubmenu(bool menuBar);

    std::string caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on a menu's root item only
    std::vector<std::unique_ptr<TMenuItem>> items_;
    HMENU handle_ = nullptr;
    UINT command_ = 0;
    // The list whose image ImageIndex the entry shows, while it shows one.
    HIMAGELIST pictureList_ = nullptr;
};

// What main and popup menus share: the root item whose children are the
// menu's entries, and the menu's handle.
class TMenu : public TComponent {
public:
    ~TMenu() override;

    TMenuItem& Items() { return *items_; }
    const TMenuItem& Items() const { return *items_; }
    virtual HMENU Handle() const { return items_->handle_; }
    // Not owned. Popup menus show the images their items name; a main menu
    // keeps the list for the program only.
    HIMAGELIST Images = nullptr;

    // The item of this menu with this command id, or null.
    TMenuItem* FindItem(UINT command) const;
    // The first item, depth first, with this shortcut that is visible and
    // enabled along with every item above it; null when none.
    TMenuItem* FindShortCut(TShortCut shortCut) const;

protected:
    TMenu(TComponent* owner, bool menuBar);
    // The entries of the menu's own handle changed.
    virtual void EntriesChanged() {}
    void DestructionStarted() override { items_->Destroying(); }

private:
    friend class TMenuItem;
    std::unique_ptr<TMenuItem> items_;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner = nullptr);
    ~TMainMenu() override;
    // Runs the item whose shortcut this key is; true when one ran.
    virtual bool IsShortCut(WORD key, TShiftState shift);

protected:
    void EntriesChanged() override;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner = nullptr);
    // Runs OnPopup, opens the menu at a screen point and runs the item chosen.
    // A menu with no visible item once OnPopup has run does not open.
    virtual void Popup(int screenX, int screenY);
    // Whether a right click opens it by itself.
    bool AutoPopup = true;
    // The control the menu was last opened for.
    TControl* PopupComponent = nullptr;
    // Runs just before the menu opens, to bring its items up to date.
    TNotifyEvent OnPopup;
};

// Shows a popup menu and returns the command chosen, 0 for none. The default
// (an empty function) tracks the real menu; tests install one that answers
// at once, since the real menu holds a modal loop until the user acts.
using TPopupTracker = std::function<UINT(TPopupMenu& menu, int screenX, int screenY, HWND owner)>;
void SetPopupTracker(TPopupTracker tracker);

// Menus open now (a popup, or the menu bar's loop), and how many menus have
// opened in the run: work that waits for a moment, such as the tree's title
// editor after a click, is dropped when a menu came up meanwhile.
bool MenuIsOpen();
unsigned MenusOpened();

// Menu messages that reach a form (WM_INITMENUPOPUP, WM_MENUSELECT, WM_COMMAND
// from a menu, WM_EXITMENULOOP) go to the menus here. True when handled.
bool DispatchMenuMessage(HWND form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Finds the function a table names as the handler of an item or a button;
// an empty function leaves the event unhandled.
using THandlerResolver = std::function<TNotifyEvent(const std::string& handlerName)>;

// Makes the items of a table, in table order, and adds each to its parent: a
// menu or an item made earlier, found by name through owner->FindComponent.
// The items belong to their parents and are registered with owner under
// their names. Throws Exception for a parent that does not exist, a name
// used twice or a shortcut that names no key.
void BuildMenuItems(TComponent* owner, std::span<const MenuItemSpec> items,
                    const THandlerResolver& resolveHandler);

// Makes one popup menu per name, registered with owner; the caller keeps them.
std::vector<std::unique_ptr<TPopupMenu>> CreatePopupMenus(TComponent* owner, std::span<const char* const> names);

#include "Menus.h"

#include "Application.h"
#include "Control.h"
#include "Exceptions.h"
#include "Form.h"

#include <optional>
#include <unordered_map>

namespace {
// Command ids of menu entries. They stay clear of the small ids dialogs use
// (IDOK, IDCANCEL...) and of the window menu's range.
constexpr UINT FirstCommand = 1000;
constexpr UINT LastCommand = 0xEFFF;

// Every live item by its command id and by its submenu, for the messages that
// name an entry only by one of the two. Never freed: an item in a static
// object may outlive any other static.
struct MenuRegistry {
    std::unordered_map<UINT, TMenuItem*> byCommand;
    std::unordered_map<HMENU, TMenuItem*> byHandle;
    UINT nextCommand = FirstCommand;
};

MenuRegistry& Registry()
{
    static MenuRegistry* registry = new MenuRegistry;
    return *registry;
}

UINT AllocateCommand(TMenuItem* item)
{
    MenuRegistry& registry = Registry();
    for (UINT tries = 0; tries <= LastCommand - FirstCommand; ++tries) {
        const UINT command = registry.nextCommand;
        registry.nextCommand = command == LastCommand ? FirstCommand : command + 1;
        if (registry.byCommand.emplace(command, item).second)
            return command;
    }
    throw EOutOfResources("Too many menu items");
}

struct MenuBarSearch {
    HMENU menu;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMenuBarWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<MenuBarSearch*>(data);
    if (GetMenu(window) == search->menu)
        search->found.push_back(window);
    return TRUE;
}

// Windows of this thread that show a menu bar, for redrawing and detaching.
std::vector<HWND> WindowsShowing(HMENU menu)
{
    MenuBarSearch search{menu, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectMenuBarWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Owns menus that were opened while no form of the program could own them.
LRESULT CALLBACK MenuOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    const bool handled =
        GuardedCall([&] { return DispatchMenuMessage(window, message, wParam, lParam, result); }, false);
    return handled ? result : DefWindowProcA(window, message, wParam, lParam);
}

HWND FallbackMenuOwner()
{
    static HWND owner = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = MenuOwnerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuilloMenuOwner";
        RegisterClassExA(&windowClass);
        return CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, windowClass.hInstance, nullptr);
    }();
    return owner;
}

// A popup is best owned by the form it was opened over, so that the system
// closes it when the user clicks elsewhere and its messages reach the menus.
HWND PopupOwner(TControl* component)
{
    if (component) {
        if (TForm* form = component->ParentForm(); form && form->Handle())
            return form->Handle();
    }
    if (HWND active = GetActiveWindow(); active && dynamic_cast<TForm*>(TControl::FromHandle(active)))
        return active;
    if (TForm* mainForm = Application.MainForm(); mainForm && mainForm->Handle())
        return mainForm->Handle();
    return FallbackMenuOwner();
}

TPopupTracker& Tracker()
{
    static auto* tracker = new TPopupTracker;
    return *tracker;
}

struct MenuLoops {
    int open = 0;
    unsigned opened = 0;
};

MenuLoops& Loops()
{
    static MenuLoops loops;
    return loops;
}

// Counts a menu open for its lifetime.
class MenuLoopScope {
public:
    MenuLoopScope()
    {
        ++Loops().open;
        ++Loops().opened;
    }
    ~MenuLoopScope() { --Loops().open; }
    MenuLoopScope(const MenuLoopScope&) = delete;
    MenuLoopScope& operator=(const MenuLoopScope&) = delete;
};

std::optional<MenuLoopScope>& MenuBarLoop()
{
    static std::optional<MenuLoopScope> loop;
    return loop;
}

TMenuItem* SelectedItem(HMENU menu, UINT idOrPosition, UINT flags)
{
    if (flags & MF_POPUP) {
        if (TMenuItem* parent = TMenuItem::FromHandle(menu)) {
            if (TMenuItem* item = parent->VisibleItem(static_cast<int>(idOrPosition)))
                return item;
        }
    }
    return TMenuItem::FromCommand(idOrPosition);
}

bool MatchesCommand(const TMenuItem& item, UINT command)
{
    if (item.Command() == command)
        return true;
    for (int index = 0; index < item.Count(); ++index) {
        if (MatchesCommand(*item.Items(index), command))
            return true;
    }
    return false;
}

TMenuItem* FindUsable(const TMenuItem& parent, TShortCut shortCut)
{
    for (int index = 0; index < parent.Count(); ++index) {
        TMenuItem* item = parent.Items(index);
        if (!item->Visible() || !item->Enabled())
            continue;
        if (item->ShortCut() == shortCut && item->Count() == 0)
            return item;
        if (TMenuItem* found = FindUsable(*item, shortCut))
            return found;
    }
    return nullptr;
}
}

// --- TMenuItem ---------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem()
{
    // Empty the submenu first: destroying a child's submenu while an entry of
    // ours still points at it would leave a dangling entry behind.
    if (handle_) {
        while (GetMenuItemCount(handle_) > 0)
            RemoveMenu(handle_, 0, MF_BYPOSITION);
    }
    items_.clear();
    if (handle_) {
        Registry().byHandle.erase(handle_);
        if (IsMenu(handle_))
            DestroyMenu(handle_);
    }
    Registry().byCommand.erase(command_);
}

TMenuItem* TMenuItem::FromCommand(UINT command)
{
    const auto found = Registry().byCommand.find(command);
    return found == Registry().byCommand.end() ? nullptr : found->second;
}

TMenuItem* TMenuItem::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    const auto found = Registry().byHandle.find(menu);
    return found == Registry().byHandle.end() ? nullptr : found->second;
}

void TMenuItem::CreateSubmenu(bool menuBar)
{
    handle_ = menuBar ? CreateMenu() : CreatePopupMenu();
    if (!handle_)
        throw EOutOfResources("Cannot create a menu");
    Registry().byHandle[handle_] = this;
}

TMenu* TMenuItem::ParentMenu() const
{
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception("Menu index out of bounds");
    return items_[static_cast<size_t>(index)].get();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    for (size_t index = 0; index < items_.size(); ++index) {
        if (items_[index].get() == item)
            return static_cast<int>(index);
    }
    return -1;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

TMenuItem* TMenuItem::VisibleItem(int position) const
{
    int visibleIndex = 0;
    for (const auto& item : items_) {
        if (!item->visible_)
            continue;
        if (visibleIndex++ == position)
            return item.get();
    }
    return nullptr;
}

int TMenuItem::EntryPosition() const
{
    int position = 0;
    for (const auto& sibling : parent_->items_) {
        if (sibling.get() == this)
            break;
        if (sibling->visible_)
            ++position;
    }
    return position;
}

void TMenuItem::DescribeEntry(MENUITEMINFOA& info, std::string& text, bool withSubmenu) const
{
    info = MENUITEMINFOA{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.wID = command_;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    if (IsSeparator()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING;
        info.fType = MFT_STRING | (radioItem_ ? MFT_RADIOCHECK : 0);
        text = caption_;
        if (shortCut_ != scNone)
            text.append(1, '\t').append(ShortCutToText(shortCut_));
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
    if (pictureList_) {
        // Drawn by the owner window when the menu shows it (WM_DRAWITEM).
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = HBMMENU_CALLBACK;
    }
    if (withSubmenu) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = items_.empty() ? nullptr : handle_;
    }
}

void TMenuItem::ShowPictures(HIMAGELIST images)
{
    for (const auto& item : items_) {
        HIMAGELIST wanted = images && item->ImageIndex >= 0 && !item->IsSeparator() ? images : nullptr;
        if (wanted != item->pictureList_) {
            const bool hadPicture = item->pictureList_ != nullptr;
            item->pictureList_ = wanted;
            if (hadPicture && !wanted && handle_ && item->visible_) {
                MENUITEMINFOA info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_BITMAP;
                info.hbmpItem = nullptr;
                SetMenuItemInfoA(handle_, static_cast<UINT>(item->EntryPosition()), TRUE, &info);
            }
            item->UpdateEntry();
        }
        item->ShowPictures(images);
    }
}

SIZE TMenuItem::PictureSize() const
{
    SIZE size{0, 0};
    int width = 0;
    int height = 0;
    if (pictureList_ && ImageList_GetIconSize(pictureList_, &width, &height))
        size = SIZE{width, height};
    return size;
}

void TMenuItem::DrawPicture(HDC dc, const RECT& area) const
{
    if (!pictureList_ || ImageIndex < 0 || ImageIndex >= ImageList_GetImageCount(pictureList_))
        return;
    const SIZE size = PictureSize();
    const int top = area.top + (area.bottom - area.top - size.cy) / 2;
    ImageList_Draw(pictureList_, ImageIndex, dc, area.left, top,
                   enabled_ ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}

// The entry operations below keep the parent's submenu equal to its visible
// children in order. They run only for a visible item whose parent has a menu.

void TMenuItem::InsertEntry()
{
    if (!parent_ || !parent_->handle_ || !visible_)
        return;
    MENUITEMINFOA info;
    std::string text;
    DescribeEntry(info, text, true);
    InsertMenuItemA(parent_->handle_, static_cast<UINT>(EntryPosition()), TRUE, &info);
}

void TMenuItem::RemoveEntry()
{
    if (!parent_ || !parent_->handle_ || !visible_)
        return;
    // RemoveMenu, unlike DeleteMenu, leaves the submenu alive: it is ours.
    RemoveMenu(parent_->handle_, static_cast<UINT>(EntryPosition()), MF_BYPOSITION);
}

// Gaining a first child or losing the last one turns the entry into a
// submenu or back; the entry is made again rather than changed in place so
// that the system never gets the chance to destroy a submenu it had.
void TMenuItem::ReplaceEntry()
{
    RemoveEntry();
    InsertEntry();
}

void TMenuItem::UpdateEntry()
{
    if (!parent_ || !parent_->handle_ || !visible_)
        return;
    MENUITEMINFOA info;
    std::string text;
    DescribeEntry(info, text, false);
    SetMenuItemInfoA(parent_->handle_, static_cast<UINT>(EntryPosition()), TRUE, &info);
    parent_->EntriesChanged();
}

void TMenuItem::EntriesChanged()
{
    if (menu_)
        menu_->EntriesChanged();
}

void TMenuItem::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    const bool separatorChanged = (caption == "-") != IsSeparator();
    caption_ = caption;
    if (separatorChanged)
        ReplaceEntry();
    UpdateEntry();
}

void TMenuItem::SetShortCut(TShortCut shortCut)
{
    if (shortCut == shortCut_)
        return;
    shortCut_ = shortCut;
    UpdateEntry();
}

void TMenuItem::SetShortCutText(const std::string& text)
{
    const TShortCut shortCut = TextToShortCut(text);
    if (shortCut == scNone && !text.empty())
        throw EConvertError(std::string(1, '"').append(text).append("\" is not a valid shortcut"));
    SetShortCut(shortCut);
}

void TMenuItem::SetChecked(bool checked)
{
    if (checked == checked_)
        return;
    checked_ = checked;
    if (checked && radioItem_ && parent_) {
        for (const auto& sibling : parent_->items_) {
            if (sibling.get() != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ &&
                sibling->checked_) {
                sibling->checked_ = false;
                sibling->UpdateEntry();
            }
        }
    }
    UpdateEntry();
}

void TMenuItem::SetRadioItem(bool radioItem)
{
    if (radioItem == radioItem_)
        return;
    radioItem_ = radioItem;
    UpdateEntry();
}

void TMenuItem::SetGroupIndex(int groupIndex) { groupIndex_ = groupIndex; }

void TMenuItem::SetDefault(bool isDefault)
{
    if (isDefault == default_)
        return;
    default_ = isDefault;
    UpdateEntry();
}

void TMenuItem::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateEntry();
}

void TMenuItem::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    if (visible) {
        visible_ = true;
        InsertEntry();
    } else {
        RemoveEntry();
        visible_ = false;
    }
    if (parent_)
        parent_->EntriesChanged();
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) { return Insert(Count(), std::move(item)); }

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item)
{
    if (!item)
        return nullptr;
    if (item->parent_)
        throw Exception("Menu item is already in a menu");
    if (index < 0 || index > Count())
        throw Exception("Menu index out of bounds");
    if (!handle_)
        CreateSubmenu(false);
    TMenuItem* added = item.get();
    added->parent_ = this;
    items_.insert(items_.begin() + index, std::move(item));
    added->InsertEntry();
    if (items_.size() == 1)
        ReplaceEntry();
    EntriesChanged();
    return added;
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(TMenuItem* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        throw Exception("Menu item not found");
    item->RemoveEntry();
    std::unique_ptr<TMenuItem> removed = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    removed->parent_ = nullptr;
    if (items_.empty())
        ReplaceEntry();
    EntriesChanged();
    return removed;
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        Remove(items_.back().get());
}

void TMenuItem::DestructionStarted()
{
    for (const auto& item : items_)
        item->Destroying();
}

void TMenuItem::Click()
{
    if (OnClick && !IsDestroying())
        OnClick(this);
}

// --- TMenu -------------------------------------------------------------------

TMenu::TMenu(TComponent* owner, bool menuBar) : TComponent(owner), items_(std::make_unique<TMenuItem>())
{
    items_->menu_ = this;
    items_->CreateSubmenu(menuBar);
}

TMenu::~TMenu() = default;

TMenuItem* TMenu::FindItem(UINT command) const
{
    TMenuItem* item = TMenuItem::FromCommand(command);
    return item && item != items_.get() && MatchesCommand(*items_, command) ? item : nullptr;
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const
{
    return shortCut == scNone ? nullptr : FindUsable(*items_, shortCut);
}

// --- TMainMenu ---------------------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner, true) {}

TMainMenu::~TMainMenu()
{
    // A window destroys the menu bar it shows; take ours back first.
    for (HWND window : WindowsShowing(Handle()))
        ::SetMenu(window, nullptr);
}

void TMainMenu::EntriesChanged()
{
    for (HWND window : WindowsShowing(Handle()))
        DrawMenuBar(window);
}

bool TMainMenu::IsShortCut(WORD key, TShiftState shift)
{
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)
        return false;
    TMenuItem* item = FindShortCut(MakeShortCut(key, shift));
    if (!item)
        return false;
    // Keys are checked in the message loop, outside any window procedure:
    // an error in the command is shown here and the loop goes on.
    GuardedCall(
        [item] {
            item->Click();
            return true;
        },
        false);
    return true;
}

// --- TPopupMenu --------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner, false) {}

void TPopupMenu::Popup(int screenX, int screenY)
{
    if (OnPopup)
        OnPopup(this);
    // A menu that its refresh left without a visible item would open as an
    // empty box with nothing to choose.
    if (!Items().VisibleItem(0))
        return;
    Items().ShowPictures(Images);
    const HWND owner = PopupOwner(PopupComponent);
    // The chosen command comes back here instead of as WM_COMMAND, so the
    // item runs even when the owner is no window of ours.
    constexpr UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;
    UINT command = 0;
    {
        MenuLoopScope loop;
        command = Tracker() ? Tracker()(*this, screenX, screenY, owner)
                            : static_cast<UINT>(TrackPopupMenu(Handle(), flags, screenX, screenY, 0, owner, nullptr));
    }
    if (command == 0)
        return;
    if (TMenuItem* item = FindItem(command))
        item->Click();
}

void SetPopupTracker(TPopupTracker tracker) { Tracker() = std::move(tracker); }

bool MenuIsOpen() { return Loops().open > 0; }

unsigned MenusOpened() { return Loops().opened; }

// --- Messages ----------------------------------------------------------------

bool DispatchMenuMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_INITMENUPOPUP: {
        if (HIWORD(lParam))
            return false; // the window menu
        TMenuItem* item = TMenuItem::FromHandle(reinterpret_cast<HMENU>(wParam));
        if (!item)
            return false;
        // A popup menu's own handle has no item above it: its OnPopup ran
        // before it opened.
        if (item->Parent())
            item->Click();
        result = 0;
        return true;
    }
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wParam);
        const auto menu = reinterpret_cast<HMENU>(lParam);
        if (flags == 0xFFFF && !menu) {
            Application.SetHint("");
            return false;
        }
        TMenuItem* item = nullptr;
        if (!(flags & (MF_SYSMENU | MF_SEPARATOR)))
            item = SelectedItem(menu, LOWORD(wParam), flags);
        Application.SetHint(item ? item->Hint : std::string());
        if (!item)
            return false;
        result = 0;
        return true;
    }
    case WM_COMMAND: {
        if (HIWORD(wParam) != 0 || lParam != 0)
            return false;
        TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam));
        if (!item)
            return false;
        item->Click();
        result = 0;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        TMenuItem* item = measure && measure->CtlType == ODT_MENU ? TMenuItem::FromCommand(measure->itemID) : nullptr;
        if (!item || !item->ShowsPicture())
            return false;
        const SIZE size = item->PictureSize();
        measure->itemWidth = static_cast<UINT>(size.cx);
        measure->itemHeight = static_cast<UINT>(size.cy);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        TMenuItem* item = draw && draw->CtlType == ODT_MENU ? TMenuItem::FromCommand(draw->itemID) : nullptr;
        if (!item || !item->ShowsPicture())
            return false;
        item->DrawPicture(draw->hDC, draw->rcItem);
        result = TRUE;
        return true;
    }
    case WM_ENTERMENULOOP:
        // A popup's loop (wParam TRUE) is counted where it is tracked.
        if (!wParam)
            MenuBarLoop().emplace();
        return false;
    case WM_EXITMENULOOP:
        if (!wParam)
            MenuBarLoop().reset();
        Application.SetHint("");
        return false;
    default:
        return false;
    }
}

// --- Tables ------------------------------------------------------------------

void BuildMenuItems(TComponent* owner, std::span<const MenuItemSpec> items,
                    const THandlerResolver& resolveHandler)
{
    for (const MenuItemSpec& row : items) {
        TComponent* parentComponent = owner->FindComponent(row.parent);
        TMenuItem* parent = nullptr;
        if (auto* menu = dynamic_cast<TMenu*>(parentComponent))
            parent = &menu->Items();
        else
            parent = dynamic_cast<TMenuItem*>(parentComponent);
        if (!parent)
            throw Exception(std::string("Menu item ") + row.name + ": no menu or item named " + row.parent);
        if (*row.name && owner->FindComponent(row.name))
            throw Exception(std::string("Menu item ") + row.name + ": the name is taken");

        auto item = std::make_unique<TMenuItem>(owner);
        item->SetName(row.name);
        item->SetCaption(row.caption);
        item->SetShortCutText(row.shortcut);
        item->Hint = row.hint;
        item->SetRadioItem((row.flags & miRadio) != 0);
        item->SetChecked((row.flags & miChecked) != 0);
        item->SetEnabled((row.flags & miDisabled) == 0);
        item->SetVisible((row.flags & miHidden) == 0);
        item->SetDefault((row.flags & miDefault) != 0);
        if (*row.handler && resolveHandler)
            item->OnClick = resolveHandler(row.handler);
        parent->Add(std::move(item));
    }
}

std::vector<std::unique_ptr<TPopupMenu>> CreatePopupMenus(TComponent* owner, std::span<const char* const> names)
{
    std::vector<std::unique_ptr<TPopupMenu>> menus;
    for (const char* name : names) {
        auto menu = std::make_unique<TPopupMenu>(owner);
        menu->SetName(name);
        menus.push_back(std::move(menu));
    }
    return menus;
}

#include "ToolBar.h"

#include "Application.h"
#include "Exceptions.h"

namespace {
// Button command ids, per bar.
constexpr int FirstButtonCommand = 100;
constexpr int SeparatorWidth = 8;
const char* const NotifySinkClassName = "QuilloToolBarNotify";

void RegisterNotifySinkClass(WNDPROC procedure)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), NotifySinkClassName, &existing))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = NotifySinkClassName;
    if (!RegisterClassExA(&windowClass))
        throw EOutOfResources("Cannot register the window class");
}

int BitmapIndex(int imageIndex) { return imageIndex >= 0 ? imageIndex : I_IMAGENONE; }
}

// --- TToolButton -------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner, TToolBar& bar, TToolButtonStyle style, int index, int command)
    : TComponent(owner), bar_(bar), style_(style), index_(index), command_(command)
{
}

void TToolButton::SetImageIndex(int imageIndex)
{
    if (imageIndex == imageIndex_ || style_ == TToolButtonStyle::tbsSeparator)
        return;
    imageIndex_ = imageIndex;
    SendMessageA(bar_.Handle(), TB_CHANGEBITMAP, static_cast<WPARAM>(command_), BitmapIndex(imageIndex));
}

void TToolButton::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    SendMessageA(bar_.Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void TToolButton::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    SendMessageA(bar_.Handle(), TB_HIDEBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(visible ? FALSE : TRUE, 0));
}

void TToolButton::SetDown(bool down)
{
    if (down == down_)
        return;
    down_ = down;
    SendMessageA(bar_.Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(down ? TRUE : FALSE, 0));
}

void TToolButton::Click()
{
    if (OnClick && !IsDestroying())
        OnClick(this);
}

RECT TToolButton::BoundsRect() const
{
    RECT rect{};
    SendMessageA(bar_.Handle(), TB_GETRECT, static_cast<WPARAM>(command_), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TToolButton::CheckMenuDropdown()
{
    if (!DropdownMenu)
        return false;
    const RECT bounds = BoundsRect();
    const POINT below = bar_.ClientToScreen(POINT{bounds.left, bounds.bottom});
    // The button looks pressed while its menu is open, and as before after.
    const HWND bar = bar_.Handle();
    const WPARAM command = static_cast<WPARAM>(command_);
    const bool down = down_;
    SendMessageA(bar, TB_PRESSBUTTON, command, MAKELPARAM(TRUE, 0));
    struct Release {
        HWND bar;
        WPARAM command;
        bool down;
        ~Release() { SendMessageA(bar, TB_PRESSBUTTON, command, MAKELPARAM(down ? TRUE : FALSE, 0)); }
    } release{bar, command, down};
    DropdownMenu->PopupComponent = &bar_;
    DropdownMenu->Popup(below.x, below.y);
    return true;
}

// --- TToolBar ----------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterNotifySinkClass(&TToolBar::NotifySinkProc);
    // The form lays the bar out, so the control must not move or size itself.
    CreateHandle(TOOLBARCLASSNAMEA,
                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                     CCS_NORESIZE | CCS_NODIVIDER,
                 0);
    const HWND bar = Handle();
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    sink_ = CreateWindowExA(0, NotifySinkClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!sink_)
        throw EOutOfResources("Error creating window");
    SetWindowLongPtrA(sink_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(sink_), 0);
    SetBounds(0, 0, 0, buttonHeight_ + 4);
}

TToolBar::~TToolBar()
{
    // The bar may still report to the sink while it goes.
    DestroyHandle();
    SetWindowLongPtrA(sink_, GWLP_USERDATA, 0);
    DestroyWindow(sink_);
}

TToolButton& TToolBar::Buttons(int index) const
{
    if (index < 0 || index >= ButtonCount())
        throw Exception("Tool button index out of bounds");
    return *buttons_[static_cast<size_t>(index)];
}

TToolButton* TToolBar::FindButton(int command) const
{
    const int index = command - FirstButtonCommand;
    return index >= 0 && index < ButtonCount() ? buttons_[static_cast<size_t>(index)].get() : nullptr;
}

TToolButton& TToolBar::AddButton(const std::string& name, TToolButtonStyle style, int imageIndex)
{
    const int index = ButtonCount();
    std::unique_ptr<TToolButton> button(new TToolButton(Owner(), *this, style, index, FirstButtonCommand + index));
    button->SetName(name);
    TBBUTTON entry{};
    if (style == TToolButtonStyle::tbsSeparator) {
        entry.iBitmap = SeparatorWidth;
        entry.fsStyle = BTNS_SEP;
    } else {
        button->imageIndex_ = imageIndex;
        entry.iBitmap = BitmapIndex(imageIndex);
        entry.fsStyle = style == TToolButtonStyle::tbsDropDown ? BTNS_DROPDOWN : BTNS_BUTTON;
    }
    entry.idCommand = button->command_;
    entry.fsState = TBSTATE_ENABLED;
    entry.iString = -1;
    if (!SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&entry)))
        throw EOutOfResources("Cannot add a tool button");
    buttons_.push_back(std::move(button));
    SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);
    return *buttons_.back();
}

void TToolBar::SetImages(HIMAGELIST images)
{
    images_ = images;
    if (images) {
        int width = 16;
        int height = 16;
        ImageList_GetIconSize(images, &width, &height);
        SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    }
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // A new bitmap size resets the button size.
    SetButtonSize(buttonWidth_, buttonHeight_);
}

void TToolBar::SetHotImages(HIMAGELIST images)
{
    hotImages_ = images;
    SendMessageA(Handle(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    Invalidate();
}

void TToolBar::SetButtonSize(int width, int height)
{
    buttonWidth_ = width;
    buttonHeight_ = height;
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
    SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);
    Invalidate();
}

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The bar's own tooltip asks the bar for its texts.
    if (message == WM_NOTIFY && lParam) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == reinterpret_cast<HWND>(SendMessageA(Handle(), TB_GETTOOLTIPS, 0, 0)) &&
            HandleTooltipText(header))
            return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}

bool TToolBar::HandleTooltipText(NMHDR& header)
{
    if (header.code != TTN_GETDISPINFOA && header.code != TTN_GETDISPINFOW)
        return false;
    const TToolButton* button = FindButton(static_cast<int>(header.idFrom));
    tipText_ = button ? button->Hint : std::string();
    if (header.code == TTN_GETDISPINFOA) {
        auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
        info.hinst = nullptr;
        info.lpszText = tipText_.data();
        return true;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, tipText_.c_str(), -1, nullptr, 0);
    tipWideText_.assign(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, tipText_.c_str(), -1, tipWideText_.data(), length);
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    info.hinst = nullptr;
    info.lpszText = tipWideText_.data();
    return true;
}

bool TToolBar::HandleBarNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case TBN_DROPDOWN: {
        const auto& info = reinterpret_cast<const NMTOOLBARA&>(header);
        if (TToolButton* button = FindButton(info.iItem))
            button->CheckMenuDropdown();
        result = TBDDRET_DEFAULT;
        return true;
    }
    case TBN_HOTITEMCHANGE: {
        const auto& info = reinterpret_cast<const NMTBHOTITEM&>(header);
        const TToolButton* button = (info.dwFlags & HICF_LEAVING) ? nullptr : FindButton(info.idNew);
        // The bar's own hint follows the button under the mouse, so whatever
        // asks the control under the mouse for its hint gets the button's.
        Hint = button ? button->Hint : std::string();
        Application.SetHint(Hint);
        result = 0;
        return true;
    }
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW:
        result = 0;
        return HandleTooltipText(header);
    default:
        return false;
    }
}

LRESULT CALLBACK TToolBar::NotifySinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* bar = reinterpret_cast<TToolBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (bar && bar->IsDestroying())
        bar = nullptr;
    if (bar && message == WM_COMMAND) {
        return GuardedCall(
            [&] {
                if (TToolButton* button = bar->FindButton(LOWORD(wParam)))
                    button->Click();
                return LRESULT{0};
            },
            LRESULT{0});
    }
    if (bar && message == WM_NOTIFY && lParam) {
        LRESULT result = 0;
        if (GuardedCall([&] { return bar->HandleBarNotify(*reinterpret_cast<NMHDR*>(lParam), result); }, false))
            return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void BuildToolButtons(TToolBar& bar, std::span<const ToolButtonSpec> buttons, const THandlerResolver& resolveHandler)
{
    for (const ToolButtonSpec& row : buttons) {
        if (*row.name && bar.Owner() && bar.Owner()->FindComponent(row.name))
            throw Exception(std::string("Tool button ") + row.name + ": the name is taken");
        TPopupMenu* dropDown = nullptr;
        if (*row.dropDownMenu) {
            dropDown = bar.Owner() ? dynamic_cast<TPopupMenu*>(bar.Owner()->FindComponent(row.dropDownMenu)) : nullptr;
            if (!dropDown)
                throw Exception(std::string("Tool button ") + row.name + ": no popup menu named " + row.dropDownMenu);
        }
        const TToolButtonStyle style = (row.flags & tbSeparator)  ? TToolButtonStyle::tbsSeparator
                                       : (row.flags & tbDropDown) ? TToolButtonStyle::tbsDropDown
                                                                   : TToolButtonStyle::tbsButton;
        TToolButton& button = bar.AddButton(row.name, style, row.imageIndex);
        button.Hint = row.hint;
        button.DropdownMenu = dropDown;
        button.SetEnabled((row.flags & tbDisabled) == 0);
        if (*row.handler && resolveHandler)
            button.OnClick = resolveHandler(row.handler);
    }
}

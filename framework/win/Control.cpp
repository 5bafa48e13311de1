#include "Control.h"

#include "Application.h"
#include "Cursors.h"
#include "DragManager.h"
#include "Exceptions.h"
#include "Form.h"
#include "Menus.h"

#include <algorithm>
#include <unordered_map>
#include <windowsx.h>

namespace {
const char* const ControlProperty = "QuilloControl";

// The control behind each window of this process. Reading a window property
// costs a round trip to the Wine server (about 30 microseconds), which every
// message and every reflected notification would pay; the table costs
// nothing. The property stays for anyone who looks at the window itself.
std::unordered_map<HWND, TControl*>& ControlTable()
{
    static std::unordered_map<HWND, TControl*> table;
    return table;
}

constexpr TAlign LayoutOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                  TAlign::alClient};

int RectWidth(const RECT& rect) { return rect.right - rect.left; }
int RectHeight(const RECT& rect) { return rect.bottom - rect.top; }
}

TShiftState ShiftStateFromMouseKeys(WPARAM keys)
{
    TShiftState state = 0;
    if (keys & MK_SHIFT)
        state |= ssShift;
    if (keys & MK_CONTROL)
        state |= ssCtrl;
    if (keys & MK_LBUTTON)
        state |= ssLeft;
    if (keys & MK_RBUTTON)
        state |= ssRight;
    if (keys & MK_MBUTTON)
        state |= ssMiddle;
    if (GetKeyState(VK_MENU) & 0x8000)
        state |= ssAlt;
    return state;
}

void TRedrawSuspension::Suspend(HWND window)
{
    shownBefore_ = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
}

void TRedrawSuspension::Resume(HWND window)
{
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    if (!shownBefore_)
        SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) & ~WS_VISIBLE);
}

const char* RegisterPlainClass(const char* name, UINT style, int background)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing))
        return name;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background < 0 ? nullptr : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
    return name;
}

TControl::TControl(TComponent* owner, TControl* parent) : TComponent(owner), parent_(parent)
{
    if (parent_)
        parent_->AddChild(this);
}

TControl::~TControl()
{
    Destroying();
    if (TForm* form = ParentForm(); form && form != this)
        form->ControlDestroying(this);
    for (TControl* child : children_)
        child->parent_ = nullptr;
    if (parent_)
        parent_->RemoveChild(this);
    DestroyHandle();
}

void TControl::DestructionStarted()
{
    const std::vector<TControl*> children = children_;
    for (TControl* child : children)
        child->Destroying();
    DragManager().ForgetControl(this);
}

void TControl::AddChild(TControl* child) { children_.push_back(child); }

void TControl::RemoveChild(TControl* child) { std::erase(children_, child); }

void TControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, const std::string& text)
{
    HWND parentWindow = parent_ ? parent_->Handle() : nullptr;
    if (parentWindow)
        style |= WS_CHILD;
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style, 0, 0, 0, 0, parentWindow, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw EOutOfResources("Error creating window");
    AdoptHandle(window);
    if (parentWindow)
        SendMessageA(window, WM_SETFONT, SendMessageA(parentWindow, WM_GETFONT, 0, 0), FALSE);
}

void TControl::AdoptHandle(HWND window)
{
    handle_ = window;
    SetPropA(window, ControlProperty, this);
    ControlTable()[window] = this;
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::StaticWndProc)));
}

void TControl::DestroyHandle()
{
    if (!handle_)
        return;
    HWND window = handle_;
    handle_ = nullptr;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    RemovePropA(window, ControlProperty);
    ControlTable().erase(window);
    DestroyWindow(window);
}

HWND TControl::ReplaceHandle(HWND window)
{
    HWND old = handle_;
    if (old) {
        handle_ = nullptr;
        SetWindowLongPtrA(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropA(old, ControlProperty);
        ControlTable().erase(old);
    }
    AdoptHandle(window);
    return old;
}

TControl* TControl::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    const auto found = ControlTable().find(window);
    return found == ControlTable().end() ? nullptr : found->second;
}

TForm* TControl::ParentForm() const
{
    const TControl* control = this;
    while (control->parent_)
        control = control->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

LRESULT CALLBACK TControl::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TControl* control = FromHandle(window);
    if (!control || control->handle_ != window)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC previous = control->previousProc_;
        RemovePropA(window, ControlProperty);
        ControlTable().erase(window);
        control->handle_ = nullptr;
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    // Its handlers may use parts that are already gone.
    if (control->IsDestroying())
        return control->DefaultHandler(message, wParam, lParam);
    return GuardedCall([&] { return control->WndProc(message, wParam, lParam); }, LRESULT{0});
}

bool TControl::AnswerFontMessage(HFONT& font, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_SETFONT) {
        font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            Invalidate();
        result = 0;
        return true;
    }
    if (message == WM_GETFONT) {
        result = reinterpret_cast<LRESULT>(font);
        return true;
    }
    return false;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(previousProc_, handle_, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    switch (message) {
    case WM_SETFOCUS:
        if (TForm* form = ParentForm(); form && form != this)
            form->ActiveControlChanged(this);
        break;
    case WM_SETCURSOR:
        // The hourglass of a long operation wins over every control's own cursor.
        if (HCURSOR busy = ScreenCursorOverride()) {
            ::SetCursor(busy);
            return TRUE;
        }
        if (cursor_ && LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == handle_) {
            ::SetCursor(cursor_);
            return TRUE;
        }
        break;
    case WM_CONTEXTMENU: {
        TControl* target = FromHandle(reinterpret_cast<HWND>(wParam));
        if (!target)
            target = this;
        if (target->HandleContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
            return 0;
        break;
    }
    case WM_COMMAND:
    case WM_NOTIFY: {
        const LRESULT result = ReflectToChild(message, wParam, lParam, handled);
        if (handled)
            return result;
        break;
    }
    case WM_SIZE:
        Realign();
        if (OnResize)
            OnResize();
        break;
    default:
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && HandleMouse(message, wParam, lParam))
            return 0;
        if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) && HandleKey(message, wParam))
            return 0;
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        TControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        handled = child && child != this && child->HandleCommand(HIWORD(wParam));
        return 0;
    }
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    TControl* child = header ? FromHandle(header->hwndFrom) : nullptr;
    handled = child && child != this && child->HandleNotify(*header, result);
    return result;
}

bool TControl::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const TShiftState shift = ShiftStateFromMouseKeys(wParam);
    switch (message) {
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const TMouseButton button = message == WM_RBUTTONDOWN   ? TMouseButton::mbRight
                                    : message == WM_MBUTTONDOWN ? TMouseButton::mbMiddle
                                                                : TMouseButton::mbLeft;
        const TShiftState state = message == WM_LBUTTONDBLCLK ? shift | ssDouble : shift;
        if (OnMouseDown)
            OnMouseDown(button, state, x, y);
        if (message == WM_LBUTTONDBLCLK && OnDblClick)
            OnDblClick();
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton button = message == WM_RBUTTONUP   ? TMouseButton::mbRight
                                    : message == WM_MBUTTONUP ? TMouseButton::mbMiddle
                                                              : TMouseButton::mbLeft;
        if (OnMouseUp)
            OnMouseUp(button, shift, x, y);
        break;
    }
    default:
        break;
    }
    return false;
}

bool TControl::HandleKey(UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        WORD key = static_cast<WORD>(wParam);
        if (OnKeyDown)
            OnKeyDown(key, KeyboardShiftState());
        return key == 0;
    }
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        WORD key = static_cast<WORD>(wParam);
        if (OnKeyUp)
            OnKeyUp(key, KeyboardShiftState());
        return key == 0;
    }
    if (message == WM_CHAR && OnKeyPress) {
        char key = static_cast<char>(wParam);
        OnKeyPress(key);
        if (key == 0)
            return true;
        if (key != static_cast<char>(wParam)) {
            DefaultHandler(WM_CHAR, static_cast<unsigned char>(key), 0);
            return true;
        }
    }
    return false;
}

bool TControl::HandleCommand(WORD code)
{
    if (code == BN_CLICKED && OnClick) {
        OnClick();
        return true;
    }
    return false;
}

bool TControl::HandleNotify(NMHDR&, LRESULT&) { return false; }

bool TControl::HandleContextMenu(int screenX, int screenY)
{
    if (!popupMenu_ || !popupMenu_->AutoPopup)
        return false;
    if (screenX == -1 && screenY == -1) {
        const POINT origin = ClientToScreen(POINT{0, 0});
        screenX = origin.x;
        screenY = origin.y;
    }
    popupMenu_->PopupComponent = this;
    popupMenu_->Popup(screenX, screenY);
    return true;
}

int TControl::Left() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    if (parent_)
        MapWindowPoints(HWND_DESKTOP, parent_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect.left;
}

int TControl::Top() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    if (parent_)
        MapWindowPoints(HWND_DESKTOP, parent_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect.top;
}

int TControl::Width() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return RectWidth(rect);
}

int TControl::Height() const
{
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return RectHeight(rect);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    MoveWindow(handle_, left, top, std::max(width, 0), std::max(height, 0), TRUE);
}

void TControl::SetWidth(int width)
{
    SetBounds(Left(), Top(), width, Height());
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
}

void TControl::SetHeight(int height)
{
    SetBounds(Left(), Top(), Width(), height);
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
}

RECT TControl::ClientRect() const
{
    RECT rect{};
    GetClientRect(handle_, &rect);
    return rect;
}

POINT TControl::ClientToScreen(POINT point) const
{
    ::ClientToScreen(handle_, &point);
    return point;
}

POINT TControl::ScreenToClient(POINT point) const
{
    ::ScreenToClient(handle_, &point);
    return point;
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::Realign()
{
    if (!handle_)
        return;
    RECT free = ClientRect();
    // Visibility is the control's own flag, not IsWindowVisible: a form lays
    // out its controls while it is still hidden.
    for (const TAlign pass : LayoutOrder) {
        for (TControl* child : children_) {
            if (child->align_ != pass || !child->Visible())
                continue;
            switch (pass) {
            case TAlign::alTop:
                child->SetBounds(free.left, free.top, RectWidth(free), child->Height());
                free.top += child->Height();
                break;
            case TAlign::alBottom:
                child->SetBounds(free.left, free.bottom - child->Height(), RectWidth(free), child->Height());
                free.bottom -= child->Height();
                break;
            case TAlign::alLeft:
                child->SetBounds(free.left, free.top, child->Width(), RectHeight(free));
                free.left += child->Width();
                break;
            case TAlign::alRight:
                child->SetBounds(free.right - child->Width(), free.top, child->Width(), RectHeight(free));
                free.right -= child->Width();
                break;
            default:
                child->SetBounds(free.left, free.top, RectWidth(free), RectHeight(free));
                break;
            }
        }
    }
}

bool TControl::Visible() const { return handle_ && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE); }

void TControl::SetVisible(bool visible)
{
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
}

bool TControl::Enabled() const { return IsWindowEnabled(handle_) != 0; }

void TControl::SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }

bool TControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TControl::SetFocus() { ::SetFocus(handle_); }

bool TControl::CanFocus() const { return IsWindowVisible(handle_) && IsWindowEnabled(handle_); }

std::string TControl::Text() const
{
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), length + 1)));
    return text;
}

void TControl::SetText(const std::string& text) { SetWindowTextA(handle_, text.c_str()); }

void TControl::SetFont(HFONT font) { SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void TControl::Invalidate() { InvalidateRect(handle_, nullptr, TRUE); }

void TControl::Update() { UpdateWindow(handle_); }

void TControl::SetCursor(HCURSOR cursor)
{
    cursor_ = cursor;
    POINT point{};
    GetCursorPos(&point);
    if (WindowFromPoint(point) == handle_)
        ::SetCursor(cursor ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

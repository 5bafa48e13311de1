#include "TrayComp.h"

#include "Application.h"
#include "Form.h"
#include "ImageList.h"
#include "Menus.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {
const char* const TrayWindowClass = "QuilloTrayWindow";

TrayShellCall& ShellCall()
{
    static auto* call = new TrayShellCall;
    return *call;
}

// The component whose handlers the application's minimise and restore events
// call, so that a component going away unhooks only its own handlers.
TTrayComp*& HookedTray()
{
    static TTrayComp* tray = nullptr;
    return tray;
}

UINT NextIconId()
{
    static UINT last = 0;
    return ++last;
}

bool RegisterTrayClass()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = TrayWindowClass;
        return RegisterClassExA(&windowClass) != 0;
    }();
    return registered;
}

HICON ApplicationIcon()
{
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON"))
        return icon;
    return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

HWND MainWindow()
{
    TForm* form = Application.MainForm();
    return form ? form->Handle() : nullptr;
}
} // namespace

void SetTrayShellCall(TrayShellCall call) { ShellCall() = std::move(call); }

TTrayComp::TTrayComp(TComponent* owner) : TComponent(owner)
{
    timer_.SetEnabled(false);
    timer_.SetInterval(1000);
    timer_.OnTimer = [this](TComponent*) { OnAnimation(); };
    SetIcon(ApplicationIcon(), false);
    CreateHiddenWindow();
    record_.cbSize = TrayRecordSize;
    record_.hWnd = window_;
    record_.uID = NextIconId();
    record_.uFlags = NIF_MESSAGE | NIF_ICON;
    record_.uCallbackMessage = TrayCallbackMessage;
    record_.hIcon = icon_;
    HookApplicationEvents();
    Update();
}

TTrayComp::~TTrayComp()
{
    // Nothing is left to recover when the removal fails. A main window hidden
    // in the tray stays hidden: the component goes only as the program ends.
    if (visible_)
        Shell(NIM_DELETE);
    visible_ = false;
    UnhookApplicationEvents();
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    FreeIcon();
}

void TTrayComp::CreateHiddenWindow()
{
    RegisterTrayClass();
    // A top-level window, never shown: a message-only window would not be
    // told that Windows ends nor that the shell restarted.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, TrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (!window_)
        return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTrayComp::WindowProc));
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

LRESULT CALLBACK TTrayComp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = reinterpret_cast<TTrayComp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!tray || tray->IsDestroying())
        return DefWindowProcA(window, message, wParam, lParam);
    return GuardedCall([&] { return tray->OnMessage(message, wParam, lParam); }, LRESULT{0});
}

void TTrayComp::DestructionStarted()
{
    timer_.Destroying();
    UnhookApplicationEvents();
}

void TTrayComp::UnhookApplicationEvents()
{
    if (HookedTray() != this)
        return;
    Application.OnMinimize = nullptr;
    Application.OnRestore = nullptr;
    HookedTray() = nullptr;
}

void TTrayComp::HookApplicationEvents()
{
    HookedTray() = this;
    Application.OnMinimize = [this] { TrayCompMinimize(); };
    Application.OnRestore = [this] { TrayCompRestore(); };
}

void TTrayComp::Loaded()
{
    if (Icons && iconIndex_ >= 0 && iconIndex_ < Icons->Count())
        SetIcon(ImageList_GetIcon(Icons->Handle(), iconIndex_, ILD_NORMAL), true);
    else
        SetIcon(ApplicationIcon(), false);
    Update();
}

bool TTrayComp::Shell(DWORD message)
{
    if (const TrayShellCall& call = ShellCall())
        return call(message, &record_) != FALSE;
    return Shell_NotifyIconA(message, &record_) != FALSE;
}

bool TTrayComp::AddIcon()
{
    record_.hIcon = icon_;
    return Shell(NIM_ADD);
}

void TTrayComp::SetVisible(bool visible)
{
    // The shell refuses a second add of the same icon and the removal of one
    // it does not have.
    if (visible == visible_)
        return;
    if (visible) {
        if (!AddIcon()) {
            if (OnShellFailure)
                OnShellFailure(this, TrayAddFailedText);
            return;
        }
        visible_ = true;
        SetHide(true);
        HookApplicationEvents();
    } else {
        visible_ = false;
        const bool removed = Shell(NIM_DELETE);
        ShowHiddenMainWindow();
        SetHide(false);
        if (!removed && OnShellFailure)
            OnShellFailure(this, TrayRemoveFailedText);
    }
}

void TTrayComp::SetHint(const std::string& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    const std::size_t length = std::min(hint.size(), TrayTipLength);
    std::memcpy(record_.szTip, hint.data(), length);
    record_.szTip[length] = '\0';
    if (hint.empty())
        record_.uFlags &= ~static_cast<UINT>(NIF_TIP);
    else
        record_.uFlags |= NIF_TIP;
    Update();
}

void TTrayComp::SetHide(bool hide) { hide_ = hide; }

unsigned TTrayComp::GetInterval() const { return timer_.Interval(); }

void TTrayComp::SetInterval(unsigned interval) { timer_.SetInterval(interval); }

bool TTrayComp::GetAnimate() const { return timer_.Enabled(); }

void TTrayComp::SetAnimate(bool animate)
{
    if (Icons)
        timer_.SetEnabled(animate);
}

void TTrayComp::SetIconIndex(int index)
{
    iconIndex_ = index;
    if (Icons && index >= 0 && index < Icons->Count())
        SetIcon(ImageList_GetIcon(Icons->Handle(), index, ILD_NORMAL), true);
    Update();
}

void TTrayComp::SetDefaultIcon()
{
    SetIcon(ApplicationIcon(), false);
    Update();
}

void TTrayComp::OnAnimation()
{
    if (!Icons || Icons->Count() == 0)
        return;
    const int next = iconIndex_ + 1 < Icons->Count() ? iconIndex_ + 1 : 0;
    SetIconIndex(next);
}

void TTrayComp::Update()
{
    record_.hIcon = icon_;
    // Only an icon the shell holds can be modified.
    if (visible_)
        Shell(NIM_MODIFY);
}

LRESULT TTrayComp::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_QUERYENDSESSION:
        return 1;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return 0;
    case TrayCallbackMessage:
        switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONDOWN: LButtonDown(); break;
        case WM_LBUTTONUP: LButtonUp(); break;
        case WM_LBUTTONDBLCLK: LButtonDblClick(); break;
        case WM_RBUTTONDOWN: RButtonDown(); break;
        case WM_RBUTTONUP: RButtonUp(); break;
        case WM_RBUTTONDBLCLK: RButtonDblClick(); break;
        default: break;
        }
        return 0;
    default:
        break;
    }
    if (taskbarCreated_ && message == taskbarCreated_ && visible_) {
        // A restarted shell has forgotten the icon; without it a hidden
        // window could not come back.
        if (!AddIcon()) {
            visible_ = false;
            ShowHiddenMainWindow();
        }
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void TTrayComp::ButtonAction(TTrayCompButtonClick action, const TNotify& event)
{
    if (RestoreOn == action)
        Restore();
    if (PopupMenuOn == action)
        ShowMenu();
    if (event)
        event(this);
}

void TTrayComp::LButtonDown() { ButtonAction(arLeftClick, OnLButtonDown); }
void TTrayComp::LButtonUp() { ButtonAction(arLeftClickUp, OnLButtonUp); }
void TTrayComp::LButtonDblClick() { ButtonAction(arLeftDblClick, OnLButtonDblClick); }
void TTrayComp::RButtonDown() { ButtonAction(arRightClick, OnRButtonDown); }
void TTrayComp::RButtonUp() { ButtonAction(arRightClickUp, OnRButtonUp); }
void TTrayComp::RButtonDblClick() { ButtonAction(arRightDblClick, OnRButtonDblClick); }

void TTrayComp::EndSession()
{
    if (!visible_)
        return;
    visible_ = false;
    Shell(NIM_DELETE);
}

void TTrayComp::TrayCompMinimize() { Minimize(); }

void TTrayComp::TrayCompRestore() { Restore(); }

void TTrayComp::Minimize()
{
    if (inMinimize_)
        return;
    inMinimize_ = true;
    try {
        Application.Minimize();
        if (hide_ && visible_) {
            if (HWND window = MainWindow(); window && IsWindowVisible(window)) {
                ShowWindow(window, SW_HIDE);
                hidMainWindow_ = true;
            }
        }
        if (OnMinimize)
            OnMinimize(this);
    } catch (...) {
        inMinimize_ = false;
        throw;
    }
    inMinimize_ = false;
}

void TTrayComp::Restore()
{
    if (inRestore_)
        return;
    inRestore_ = true;
    try {
        Application.Restore();
        if (hide_ && visible_) {
            if (HWND window = MainWindow()) {
                // Restoring a window that is no longer minimised would take
                // a maximised one back to its normal size.
                ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
                SetForegroundWindow(window);
            }
        }
        hidMainWindow_ = false;
        if (OnRestore)
            OnRestore(this);
    } catch (...) {
        inRestore_ = false;
        throw;
    }
    inRestore_ = false;
}

void TTrayComp::ShowHiddenMainWindow()
{
    if (!hidMainWindow_)
        return;
    hidMainWindow_ = false;
    if (HWND window = MainWindow(); window && !IsWindowVisible(window))
        ShowWindow(window, SW_SHOWMINNOACTIVE);
}

void TTrayComp::ShowMenu()
{
    if (!PopupMenu)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // A menu opened from the notification area closes on a click elsewhere
    // only when its owner (the main window, which owns popups without a
    // control) is in the foreground, and it needs a message after it to
    // close for good.
    HWND owner = MainWindow();
    if (!owner)
        owner = window_;
    if (owner)
        SetForegroundWindow(owner);
    PopupMenu->Popup(cursor.x, cursor.y);
    if (owner)
        PostMessageA(owner, WM_NULL, 0, 0);
}

void TTrayComp::SetIcon(HICON icon, bool owned)
{
    if (!icon)
        return;
    FreeIcon();
    icon_ = icon;
    iconOwned_ = owned;
    record_.hIcon = icon_;
}

void TTrayComp::FreeIcon()
{
    if (icon_ && iconOwned_)
        DestroyIcon(icon_);
    icon_ = nullptr;
    iconOwned_ = false;
}

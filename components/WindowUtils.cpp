#include "WindowUtils.h"

#include "Application.h"
#include "Control.h"
#include "Exceptions.h"
#include "Graphics.h"
#include "Win32Errors.h"

#include <algorithm>

HMODULE LoadDLL(const std::string& fileName)
{
    const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
    HMODULE module = LoadLibraryA(fileName.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(previous);
    if (reinterpret_cast<UINT_PTR>(module) < 32)
        RaiseWin32Error(error);
    return module;
}

bool RegisterServer(const std::string& fileName)
{
    HMODULE module = LoadDLL(fileName);
    using Register = HRESULT(WINAPI*)();
    auto entry = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    if (entry)
        entry();
    FreeLibrary(module);
    return entry != nullptr;
}

void Beep() { MessageBeep(0); }

namespace {
HMODULE oleTaken = nullptr;
} // namespace

void LoadOleForRelease()
{
    if (!oleTaken)
        oleTaken = LoadLibraryA("OleAut32");
}

void FreeUnusedOle()
{
    if (!oleTaken)
        return;
    FreeLibrary(oleTaken);
    oleTaken = nullptr;
}

void KillMessage(HWND window, UINT message)
{
    MSG pending{};
    if (PeekMessageA(&pending, window, message, message, PM_REMOVE) && pending.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(pending.wParam));
}

void Delay(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Application.ProcessMessages();
        const DWORD now = GetTickCount();
        if (now < start || now - start >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - (now - start), 10), QS_ALLINPUT);
    }
}

void CenterControl(TControl& control)
{
    RECT area{};
    if (control.Parent()) {
        area = control.Parent()->ClientRect();
    } else {
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int left = std::max(0, static_cast<int>(area.right - area.left - control.Width()) / 2);
    const int top = std::max(0, static_cast<int>(area.bottom - area.top - control.Height()) / 2);
    control.SetBounds(left, top, control.Width(), control.Height());
}

void CenterWindow(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int left = (screenWidth - width) / 2, top = (screenHeight - height) / 2;
    left = std::min(left, screenWidth - width);
    top = std::min(top, screenHeight - height);
    left = std::max(left, 0);
    top = std::max(top, 0);
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MergeForm(TControl& container, TControl& form, int alignment, bool show)
{
    HWND window = form.Handle();
    const RECT place{form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
    form.SetVisible(false);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowLongA(window, GWL_STYLE, style | WS_CHILD);
    SetWindowLongA(window, GWL_EXSTYLE,
                   GetWindowLongA(window, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW));
    SetParent(window, container.Handle());
    POINT origin = container.ClientToScreen(POINT{0, 0});
    RECT containerRect{};
    GetWindowRect(container.Handle(), &containerRect);
    if (alignment != 0) {
        form.SetAlign(static_cast<TAlign>(alignment));
        container.Realign();
    } else {
        form.SetBounds(place.left - (origin.x - containerRect.left), place.top - (origin.y - containerRect.top),
                       place.right - place.left, place.bottom - place.top);
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (show)
        form.SetVisible(true);
}

void ShowMDIClientEdge(HWND clientWindow, bool show)
{
    if (!clientWindow)
        return;
    const LONG style = GetWindowLongA(clientWindow, GWL_EXSTYLE);
    if (((style & WS_EX_CLIENTEDGE) != 0) == show)
        return;
    SetWindowLongA(clientWindow, GWL_EXSTYLE, show ? style | WS_EX_CLIENTEDGE : style & ~WS_EX_CLIENTEDGE);
    SetWindowPos(clientWindow, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void CopyParentImage(TControl& control, TCanvas& canvas)
{
    TControl* parent = control.Parent();
    if (!parent || !parent->Handle())
        return;
    HDC dc = canvas.Handle();
    const int state = SaveDC(dc);
    POINT origin{};
    SetViewportOrgEx(dc, -control.Left(), -control.Top(), &origin);
    SendMessageA(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, state);
}

RECT ScreenWorkArea()
{
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || area.right <= area.left)
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

std::string WindowClassName(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, 256);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

void ShowWinNoAnimate(HWND window, int showCommand)
{
    ANIMATIONINFO animation{sizeof animation, 0};
    SystemParametersInfoA(SPI_GETANIMATION, sizeof animation, &animation, 0);
    const bool animated = animation.iMinAnimate != 0;
    if (animated) {
        animation.iMinAnimate = 0;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
    ShowWindow(window, showCommand);
    if (animated) {
        animation.iMinAnimate = 1;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
}

void SwitchToWindow(HWND window, bool restore)
{
    if (!IsWindowEnabled(window))
        return;
    SetForegroundWindow(window);
    if (restore && IsWindowVisible(window) && !IsZoomed(window)) {
        ShowWinNoAnimate(window, SW_RESTORE);
        SetFocus(window);
    }
}

HWND WindowOwner(HWND window) { return GetWindow(window, GW_OWNER); }

void ActivateWindow(HWND window)
{
    if (!window)
        return;
    ShowWinNoAnimate(window, SW_SHOW);
    SetForegroundWindow(window);
}

HWND FindPrevInstance(const std::string& mainFormClass, const std::string& title)
{
    if (mainFormClass.empty() && title.empty())
        return nullptr;
    return FindWindowA(mainFormClass.empty() ? nullptr : mainFormClass.c_str(), title.empty() ? nullptr : title.c_str());
}

namespace {

BOOL CALLBACK FindIdeWindow(HWND window, LPARAM found)
{
    if (WindowClassName(window) == "TIdeMainWindow") {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool ActivatePrevInstance(const std::string& mainFormClass, const std::string& title)
{
    HWND window = FindPrevInstance(mainFormClass, title);
    if (!window)
        return false;
    while (HWND owner = WindowOwner(window))
        window = owner;
    bool ide = false;
    EnumThreadWindows(GetCurrentThreadId(), FindIdeWindow, reinterpret_cast<LPARAM>(&ide));
    if (ide)
        return true;
    if (IsIconic(window))
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    else
        ShowWindow(window, SW_SHOWNOACTIVATE);
    HWND popup = GetLastActivePopup(window);
    if (popup && IsWindowVisible(popup) && IsWindowEnabled(popup))
        SetForegroundWindow(popup);
    return true;
}

bool IsForegroundTask()
{
    HWND active = GetForegroundWindow();
    return active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

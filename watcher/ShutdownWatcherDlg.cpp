#include "ShutdownWatcherDlg.h"

#include "OwnedMutex.h"
#include "ShutdownHandshake.h"
#include "resource.h"

CShutdownWatcherDlg::CShutdownWatcherDlg(HINSTANCE instance)
    : instance_(instance), m_hIcon(LoadIconA(instance, MAKEINTRESOURCEA(IDI_SHUTDOWN_WATCHER)))
{
}

INT_PTR CShutdownWatcherDlg::DoModal()
{
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SHUTDOWN_WATCHER), nullptr,
                           &CShutdownWatcherDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CShutdownWatcherDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    // Exceptions must not unwind into the dialog manager: the process would
    // end without releasing anything. Ending the dialog is the safe way out.
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            reinterpret_cast<CShutdownWatcherDlg*>(lParam)->hwnd_ = hwnd;
        }
        auto* self = reinterpret_cast<CShutdownWatcherDlg*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        // Messages before WM_INITDIALOG (WM_SETFONT) get the default.
        if (!self)
            return FALSE;
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        if (auto* self = reinterpret_cast<CShutdownWatcherDlg*>(GetWindowLongPtrA(hwnd, DWLP_USER)))
            self->ended_ = true;
        EndDialog(hwnd, 0);
        return TRUE;
    }
}

INT_PTR CShutdownWatcherDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns directly.
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_WINDOWPOSCHANGING:
        // The notification the handshake ran in belongs to a ShowWindow call
        // that, once the handshake returns, still shows the window it has
        // just hidden. An ended dialog stays hidden until it is destroyed.
        if (ended_)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return FALSE;
    case WM_SHOWWINDOW:
        if (handshakeStarted_)
            return FALSE;
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CShutdownWatcherDlg::OnInitDialog()
{
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

bool CShutdownWatcherDlg::OnPaint()
{
    if (!IsIconic(hwnd_))
        return false;

    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd_, &paint);
    SendMessageA(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);

    RECT client{};
    GetClientRect(hwnd_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(hwnd_, &paint);
    return true;
}

HICON CShutdownWatcherDlg::OnQueryDragIcon() const { return m_hIcon; }

void CShutdownWatcherDlg::OnShowWindow(BOOL show, UINT status)
{
    // Set first: showing the window below notifies again, re-entrantly.
    handshakeStarted_ = true;
    DefWindowProcA(hwnd_, WM_SHOWWINDOW, static_cast<WPARAM>(show), static_cast<LPARAM>(status));

    // A second watcher leaves at once and never touches the ready mutex, which
    // stays with the first.
    OwnedMutex instance(shutdown_handshake::kInstanceMutex);
    if (instance.AlreadyExisted()) {
        instance.Reset();
        End();
        return;
    }
    OwnedMutex ready(shutdown_handshake::kReadyMutex);

    // The notification comes before the window is visible, and nothing is
    // dispatched while waiting: show and paint it now, so the user reads
    // "Closing Quillo..." for the whole wait.
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);

    // At least one round, so the window is painted even when Quillo's
    // closing window went in the meantime.
    do {
        Sleep(5);
        UpdateWindow(hwnd_);
    } while (shutdown_handshake::ClosingWindowExists());

    // Quillo's closing window goes a moment before its process has ended: a
    // short grace before the mutexes say the watcher is done.
    Sleep(100);

    ready.Reset();
    instance.Reset();
    End();
}

void CShutdownWatcherDlg::End()
{
    ended_ = true;
    EndDialog(hwnd_, 0);
}

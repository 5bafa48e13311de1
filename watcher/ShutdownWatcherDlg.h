// The "Closing Quillo..." dialog. Once shown it holds the ready mutex until
// Quillo's closing window is gone, then ends itself.
#pragma once

#include <windows.h>

class CShutdownWatcherDlg {
public:
    explicit CShutdownWatcherDlg(HINSTANCE instance);
    CShutdownWatcherDlg(const CShutdownWatcherDlg&) = delete;
    CShutdownWatcherDlg& operator=(const CShutdownWatcherDlg&) = delete;

    // Runs the dialog without a parent; the window is destroyed on return.
    INT_PTR DoModal();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    // True when it painted (minimised); false leaves painting to the dialog.
    bool OnPaint();
    HICON OnQueryDragIcon() const;
    void OnShowWindow(BOOL show, UINT status);
    void End();

    HINSTANCE instance_;
    HICON m_hIcon;
    HWND hwnd_ = nullptr;
    // Hiding the dialog at its end may notify again; the handshake runs once.
    bool handshakeStarted_ = false;
    bool ended_ = false;
};

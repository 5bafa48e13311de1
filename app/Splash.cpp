#include "Splash.h"

#include "ProductNames.h"

std::unique_ptr<TSplash> Splash;

namespace {
constexpr int SplashWidth = 398;
constexpr int SplashHeight = 243;
}

TSplash::TSplash()
{
    CreateParams params;
    params.caption = ProductCaption;
    params.style = WS_POPUP | WS_BORDER;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.width = SplashWidth;
    params.height = SplashHeight;
    params.left = (GetSystemMetrics(SM_CXSCREEN) - SplashWidth) / 2;
    params.top = (GetSystemMetrics(SM_CYSCREEN) - SplashHeight) / 2;
    CreateHandle(params);
}

LRESULT TSplash::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        Paint();
        return 0;
    }
    return TForm::WndProc(message, wParam, lParam);
}

void TSplash::Paint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, ProductCaption, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(Handle(), &paint);
}

void ShowSplash()
{
    Splash = std::make_unique<TSplash>();
    ShowWindow(Splash->Handle(), SW_SHOWNOACTIVATE);
    Splash->Update();
}

void CloseSplash() { Splash.reset(); }

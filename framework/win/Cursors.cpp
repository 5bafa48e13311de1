#include "Cursors.h"

#include <map>

namespace {
std::map<int, HCURSOR>& Table()
{
    static auto* table = new std::map<int, HCURSOR>;
    return *table;
}

int& CurrentScreenCursor()
{
    static int id = crDefault;
    return id;
}

LPCSTR StandardCursorName(int id)
{
    switch (id) {
    case crIBeam:
        return IDC_IBEAM;
    case crHourGlass:
        return IDC_WAIT;
    case crAppStart:
        return IDC_APPSTARTING;
    case crNoDrop:
    case crNo:
        return IDC_NO;
    case crHandPoint:
        return IDC_HAND;
    case crSizeAll:
        return IDC_SIZEALL;
    case crSizeWE:
    case crHSplit:
        return IDC_SIZEWE;
    case crSizeNS:
    case crVSplit:
        return IDC_SIZENS;
    case crCross:
        return IDC_CROSS;
    default:
        return IDC_ARROW;
    }
}

// Makes the window under the mouse choose its cursor again, so a change of
// the screen cursor shows at once and not at the next mouse move.
void RefreshCursorUnderMouse()
{
    POINT point{};
    if (!GetCursorPos(&point))
        return;
    HWND window = WindowFromPoint(point);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return;
    const auto hit = static_cast<WORD>(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
}
}

HCURSOR ScreenCursor(int id)
{
    if (const auto found = Table().find(id); found != Table().end())
        return found->second;
    return LoadCursorA(nullptr, StandardCursorName(id));
}

void SetScreenCursor(int id, HCURSOR cursor)
{
    if (cursor)
        Table()[id] = cursor;
    else
        Table().erase(id);
}

int ScreenCursorId() { return CurrentScreenCursor(); }

void SetScreenCursorId(int id)
{
    if (id == CurrentScreenCursor())
        return;
    CurrentScreenCursor() = id;
    if (id != crDefault)
        SetCursor(ScreenCursor(id));
    else
        RefreshCursorUnderMouse();
}

HCURSOR ScreenCursorOverride()
{
    return CurrentScreenCursor() == crDefault ? nullptr : ScreenCursor(CurrentScreenCursor());
}

void SetBusyCursor(bool busy) { SetScreenCursorId(busy ? crHourGlass : crDefault); }

TBusyCursorScope::TBusyCursorScope() : previous_(ScreenCursorId()) { SetBusyCursor(true); }

TBusyCursorScope::~TBusyCursorScope() { SetScreenCursorId(previous_); }

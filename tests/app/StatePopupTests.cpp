// The state popup as it opens from the tree: each item shows the state image
// of its number, drawn from the tree's own state images.
#include "ImageList.h"
#include "Menus.h"
#include "PageTreeTest.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
// The pixels of a 16 x 16 picture drawn on white by draw.
template <class Draw>
std::vector<COLORREF> DrawnOnWhite(Draw draw)
{
    constexpr int Size = 16;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, Size, Size);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT area{0, 0, Size, Size};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc, area);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

class StatePopup : public PageTreeTest {
protected:
    void TearDown() override
    {
        SetPopupTracker(nullptr);
        PageTreeTest::TearDown();
    }
    TMenuItem& Item(const char* name) { return *dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }
};
}

TEST_F(StatePopup, EachItemShowsTheStateImageOfItsNumber)
{
    const std::map<std::string, int> states = {
        {"psNone", 1},     {"psDone", 2},   {"mWhite", 3},  {"psQuestion", 4}, {"psReminder", 5},
        {"psPunchPin", 6}, {"psDollar", 7}, {"psIdea", 8},  {"mRed", 9},       {"mGreen", 10},
        {"mYellow", 11},   {"mCyan", 12},   {"mMagenta", 13}, {"mBlue", 14},   {"mGray", 15},
    };
    Build("A,B");
    Select(N("B"));
    Tree().SetFocus();
    std::map<std::string, std::vector<COLORREF>> shown;
    HWND ownerSeen = nullptr;
    SetPopupTracker([&](TPopupMenu& menu, int, int, HWND owner) -> UINT {
        ownerSeen = owner;
        for (const auto& [name, state] : states) {
            TMenuItem& item = Item(name.c_str());
            // The system asks the owner window for the picture's size and
            // drawing, as it does while the menu is up.
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            EXPECT_TRUE(GetMenuItemInfoA(item.Parent()->Handle(), item.Command(), FALSE, &info)) << name;
            EXPECT_EQ(HBMMENU_CALLBACK, info.hbmpItem) << name;
            MEASUREITEMSTRUCT measure{};
            measure.CtlType = ODT_MENU;
            measure.itemID = item.Command();
            measure.itemData = reinterpret_cast<ULONG_PTR>(&item);
            SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
            EXPECT_EQ(16u, measure.itemWidth) << name;
            EXPECT_EQ(16u, measure.itemHeight) << name;
            shown[name] = DrawnOnWhite([&](HDC dc, const RECT& area) {
                DRAWITEMSTRUCT draw{};
                draw.CtlType = ODT_MENU;
                draw.itemID = item.Command();
                draw.itemAction = ODA_DRAWENTIRE;
                draw.hwndItem = reinterpret_cast<HWND>(menu.Handle());
                draw.hDC = dc;
                draw.rcItem = area;
                draw.itemData = reinterpret_cast<ULONG_PTR>(&item);
                SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
            });
        }
        return 0u;
    });
    PressKey(Tree().Handle(), VK_SPACE, 0);
    ASSERT_TRUE(ownerSeen);
    ASSERT_EQ(states.size(), shown.size());
    const std::vector<COLORREF> blank = DrawnOnWhite([](HDC, const RECT&) {});
    for (const auto& [name, state] : states) {
        SCOPED_TRACE(name);
        const std::vector<COLORREF> expected = DrawnOnWhite(
            [&](HDC dc, const RECT&) { ImageList_Draw(Tree().StateImages(), state, dc, 0, 0, ILD_TRANSPARENT); });
        // State 1, "none", is an empty picture; every other one shows something.
        EXPECT_EQ(state == 1, blank == expected);
        EXPECT_EQ(expected, shown[name]);
    }
}

#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "ImageList.h"
#include "Menus.h"
#include "ToolBar.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
// Layout needs a visible form; the controls work as well in a hidden one.
void ShowInactive(TForm& form)
{
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    form.Realign();
}

class BarForm : public TForm {
public:
    BarForm()
    {
        CreateParams params;
        params.caption = "Toolbar form";
        params.left = 40;
        params.top = 40;
        params.width = 640;
        params.height = 300;
        CreateHandle(params);
    }
};

const ToolButtonSpec TestButtons[] = {
    {"bNew", "New File", 0, "NewClick", 0, ""},
    {"bOpen", "Open (Ctrl+O)", 1, "OpenClick", tbDropDown, "PopupReopen"},
    {"bSave", "Save (Ctrl+S)", 2, "SaveClick", 0, ""},
    {"", "", -1, "", tbSeparator, ""},
    {"bAddPage", "New Sibling Page (Alt+Enter)", 21, "AddPageClick", tbDisabled, ""},
    {"", "", -1, "", tbSeparator, ""},
    {"bSort", "Sort Pages (F6)", 27, "SortClick", tbDropDown, "PopupSort"},
};

const MenuItemSpec TestPopupItems[] = {
    {"None1", "PopupReopen", "None", "", "", miDisabled, ""},
    {"psAlphabetically", "PopupSort", "&Alphabetically", "", "", miChecked | miRadio, ""},
};

const char* const TestPopupNames[] = {"PopupReopen", "PopupSort"};

TBBUTTON ReadButton(HWND bar, int index)
{
    TBBUTTON button{};
    EXPECT_TRUE(SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)));
    return button;
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        popups = CreatePopupMenus(&form, TestPopupNames);
        BuildMenuItems(&form, TestPopupItems, nullptr);
        bar.SetAlign(TAlign::alTop);
        bar.SetButtonSize(23, 23);
        bar.SetHeight(26);
        BuildToolButtons(bar, TestButtons, [this](const std::string& handler) -> TNotifyEvent {
            return [this, handler](TComponent* sender) {
                ++clicks[handler];
                senders.push_back(sender);
            };
        });
    }

    void TearDown() override
    {
        SetPopupTracker(nullptr);
        Application.SetHint("");
    }

    TToolButton& Button(const char* name)
    {
        auto* button = dynamic_cast<TToolButton*>(form.FindComponent(name));
        if (!button)
            throw Exception(std::string("no button ") + name);
        return *button;
    }

    BarForm form;
    std::vector<std::unique_ptr<TPopupMenu>> popups;
    TToolBar bar{&form, &form};
    std::map<std::string, int> clicks;
    std::vector<TComponent*> senders;
};
}

TEST_F(ToolBarTest, ButtonsComeFromTheTableWithSeparatorsImagesStatesAndDropDowns)
{
    const HWND handle = bar.Handle();
    ASSERT_EQ(SendMessageA(handle, TB_BUTTONCOUNT, 0, 0), 7);
    ASSERT_EQ(bar.ButtonCount(), 7);
    EXPECT_EQ(ReadButton(handle, 0).iBitmap, 0);
    EXPECT_EQ(ReadButton(handle, 2).iBitmap, 2);
    EXPECT_EQ(ReadButton(handle, 4).iBitmap, 21);
    EXPECT_TRUE(ReadButton(handle, 3).fsStyle & BTNS_SEP);
    EXPECT_TRUE(ReadButton(handle, 5).fsStyle & BTNS_SEP);
    EXPECT_FALSE(ReadButton(handle, 2).fsStyle & BTNS_SEP);
    EXPECT_TRUE(ReadButton(handle, 1).fsStyle & BTNS_DROPDOWN);
    EXPECT_TRUE(ReadButton(handle, 6).fsStyle & BTNS_DROPDOWN);
    EXPECT_FALSE(ReadButton(handle, 0).fsStyle & BTNS_DROPDOWN);
    EXPECT_TRUE(ReadButton(handle, 0).fsState & TBSTATE_ENABLED);
    EXPECT_FALSE(ReadButton(handle, 4).fsState & TBSTATE_ENABLED);
    EXPECT_FALSE(Button("bAddPage").Enabled());
    EXPECT_EQ(ReadButton(handle, 4).idCommand, Button("bAddPage").Command());
    EXPECT_EQ(Button("bOpen").DropdownMenu, form.FindComponent("PopupReopen"));
    EXPECT_EQ(Button("bSort").DropdownMenu, form.FindComponent("PopupSort"));
    EXPECT_EQ(Button("bNew").DropdownMenu, nullptr);
    EXPECT_EQ(Button("bSave").Hint, "Save (Ctrl+S)");
    EXPECT_EQ(bar.Buttons(3).Style(), TToolButtonStyle::tbsSeparator);
    EXPECT_TRUE(SendMessageA(handle, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_TRUE(GetWindowLongPtrA(handle, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(GetWindowLongPtrA(handle, GWL_STYLE) & TBSTYLE_TOOLTIPS);
}

TEST_F(ToolBarTest, TheBarKeepsTheHeightAndButtonHeightItIsGiven)
{
    ShowInactive(form);
    EXPECT_EQ(bar.Height(), 26);
    EXPECT_EQ(bar.Top(), 0);
    EXPECT_EQ(bar.Width(), form.ClientRect().right);
    EXPECT_EQ(HIWORD(SendMessageA(bar.Handle(), TB_GETBUTTONSIZE, 0, 0)), 23);
    const RECT bounds = Button("bNew").BoundsRect();
    EXPECT_EQ(bounds.bottom - bounds.top, 23);
}

TEST_F(ToolBarTest, ButtonStatesChangeAtRunTime)
{
    const HWND handle = bar.Handle();
    TToolButton& sort = Button("bSort");
    sort.SetImageIndex(34 + 2);
    EXPECT_EQ(SendMessageA(handle, TB_GETBITMAP, static_cast<WPARAM>(sort.Command()), 0), 36);
    EXPECT_EQ(sort.ImageIndex(), 36);
    Button("bAddPage").SetEnabled(true);
    EXPECT_TRUE(SendMessageA(handle, TB_ISBUTTONENABLED, static_cast<WPARAM>(Button("bAddPage").Command()), 0));
    Button("bSave").SetVisible(false);
    EXPECT_TRUE(SendMessageA(handle, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(Button("bSave").Command()), 0));
    Button("bSave").SetVisible(true);
    EXPECT_FALSE(SendMessageA(handle, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(Button("bSave").Command()), 0));
    Button("bNew").SetDown(true);
    EXPECT_TRUE(SendMessageA(handle, TB_ISBUTTONPRESSED, static_cast<WPARAM>(Button("bNew").Command()), 0));
}

TEST_F(ToolBarTest, ClickingAButtonRunsItsHandler)
{
    const POINT centre = Centre(Button("bSave").BoundsRect());
    SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    Application.ProcessMessages();
    EXPECT_EQ(clicks["SaveClick"], 1);
    ASSERT_FALSE(senders.empty());
    EXPECT_EQ(senders.back(), &Button("bSave"));

    // A disabled button does nothing.
    const POINT disabled = Centre(Button("bAddPage").BoundsRect());
    SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(disabled.x, disabled.y));
    SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(disabled.x, disabled.y));
    Application.ProcessMessages();
    EXPECT_EQ(clicks["AddPageClick"], 0);
}

TEST_F(ToolBarTest, TheArrowOfADropDownButtonOpensItsMenuBelowTheButton)
{
    std::vector<TPopupMenu*> shown;
    POINT shownAt{};
    SetPopupTracker([&](TPopupMenu& menu, int x, int y, HWND) -> UINT {
        shown.push_back(&menu);
        shownAt = POINT{x, y};
        return 0;
    });
    const RECT bounds = Button("bSort").BoundsRect();
    const POINT arrow{bounds.right - 3, (bounds.top + bounds.bottom) / 2};
    SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow.x, arrow.y));
    SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(arrow.x, arrow.y));
    Application.ProcessMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], form.FindComponent("PopupSort"));
    const POINT expected = bar.ClientToScreen(POINT{bounds.left, bounds.bottom});
    EXPECT_EQ(shownAt.x, expected.x);
    EXPECT_EQ(shownAt.y, expected.y);
    EXPECT_EQ(clicks["SortClick"], 0);
    EXPECT_EQ(static_cast<TPopupMenu*>(shown[0])->PopupComponent, &bar);
}

TEST_F(ToolBarTest, ADropDownMenuCanBeOpenedFromCode)
{
    std::vector<TPopupMenu*> shown;
    bool pressedWhileShown = false;
    SetPopupTracker([&](TPopupMenu& menu, int, int, HWND) -> UINT {
        shown.push_back(&menu);
        pressedWhileShown =
            SendMessageA(bar.Handle(), TB_ISBUTTONPRESSED, static_cast<WPARAM>(Button("bOpen").Command()), 0) != 0;
        return 0;
    });
    EXPECT_TRUE(Button("bOpen").CheckMenuDropdown());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], form.FindComponent("PopupReopen"));
    EXPECT_TRUE(pressedWhileShown);
    EXPECT_FALSE(SendMessageA(bar.Handle(), TB_ISBUTTONPRESSED, static_cast<WPARAM>(Button("bOpen").Command()), 0));
    EXPECT_FALSE(Button("bNew").CheckMenuDropdown());
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(ToolBarTest, ADropDownLeftWithoutVisibleItemsByItsRefreshDoesNotOpen)
{
    int tracked = 0;
    SetPopupTracker([&](TPopupMenu&, int, int, HWND) -> UINT {
        ++tracked;
        return 0;
    });
    auto& menu = dynamic_cast<TPopupMenu&>(*form.FindComponent("PopupReopen"));
    bool show = false;
    int refreshes = 0;
    menu.OnPopup = [&](TComponent*) {
        ++refreshes;
        menu.Items().Items(0)->SetVisible(show);
    };
    Button("bOpen").CheckMenuDropdown();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(tracked, 0);
    show = true;
    Button("bOpen").CheckMenuDropdown();
    EXPECT_EQ(tracked, 1);
}

TEST_F(ToolBarTest, TheTooltipOfAButtonIsItsHint)
{
    const auto tooltip = reinterpret_cast<HWND>(SendMessageA(bar.Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    NMTTDISPINFOA ansi{};
    ansi.hdr.hwndFrom = tooltip;
    ansi.hdr.idFrom = static_cast<UINT_PTR>(Button("bOpen").Command());
    ansi.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(bar.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
    ASSERT_NE(ansi.lpszText, nullptr);
    EXPECT_STREQ(ansi.lpszText, "Open (Ctrl+O)");

    NMTTDISPINFOW wide{};
    wide.hdr.hwndFrom = tooltip;
    wide.hdr.idFrom = static_cast<UINT_PTR>(Button("bSort").Command());
    wide.hdr.code = TTN_GETDISPINFOW;
    SendMessageA(bar.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    ASSERT_NE(wide.lpszText, nullptr);
    EXPECT_STREQ(wide.lpszText, L"Sort Pages (F6)");
}

TEST_F(ToolBarTest, TheHintOfTheButtonUnderTheMouseBecomesTheApplicationsHint)
{
    Application.SetHint("");
    const POINT centre = Centre(Button("bNew").BoundsRect());
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(Application.Hint(), "New File");
    const POINT other = Centre(Button("bSave").BoundsRect());
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(other.x, other.y));
    EXPECT_EQ(Application.Hint(), "Save (Ctrl+S)");
    EXPECT_EQ(bar.Hint, "Save (Ctrl+S)");
}

TEST_F(ToolBarTest, AButtonTableNamingAMissingMenuIsRefused)
{
    const ToolButtonSpec missing[] = {{"bBack", "Back", 30, "", tbDropDown, "PopupBack"}};
    EXPECT_THROW(BuildToolButtons(bar, missing, nullptr), Exception);
}

TEST_F(ToolBarTest, TheBarShowsTheImagesOfItsLists)
{
    TImageList images(&form);
    TImageList hot(&form);
    bar.SetImages(images.Handle());
    bar.SetHotImages(hot.Handle());
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(bar.Handle(), TB_GETIMAGELIST, 0, 0)), images.Handle());
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(bar.Handle(), TB_GETHOTIMAGELIST, 0, 0)), hot.Handle());
    EXPECT_EQ(HIWORD(SendMessageA(bar.Handle(), TB_GETBUTTONSIZE, 0, 0)), 23);
    bar.SetImages(nullptr);
    bar.SetHotImages(nullptr);
}

// --- Image lists ---------------------------------------------------------------

namespace {
// A strip of three 16x16 images: red, green and blue squares whose top-left
// corner pixel has the transparent colour.
HBITMAP MakeStrip()
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 48;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    const DWORD colours[] = {0x00FF0000, 0x0000FF00, 0x000000FF}; // 0x00RRGGBB
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 48; ++x)
            pixels[y * 48 + x] = (x % 16 == 0 && y == 0) ? 0x00FF00FF : colours[x / 16];
    }
    return bitmap;
}
}

TEST(ImageList, AStripAddsOneImageEachAndDrawsWithTheMaskColourTransparent)
{
    TImageList images;
    EXPECT_EQ(images.Count(), 0);
    HBITMAP strip = MakeStrip();
    EXPECT_EQ(images.AddMasked(strip, RGB(255, 0, 255)), 0);
    DeleteObject(strip);
    EXPECT_EQ(images.Count(), 3);
    EXPECT_EQ(images.Width(), 16);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    images.Draw(dc, 0, 0, 1);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    images.Draw(dc, 16, 16, 2);
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 255));
    // Nothing is drawn for an index the list does not have.
    images.Draw(dc, 0, 16, 7);
    EXPECT_EQ(GetPixel(dc, 5, 20), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);

    EXPECT_EQ(images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 3);
    EXPECT_EQ(images.Count(), 4);
    images.Clear();
    EXPECT_EQ(images.Count(), 0);
}

TEST(ImageList, AMissingBitmapResourceIsAnError)
{
    TImageList images;
    EXPECT_THROW(images.AddStripResource(GetModuleHandleA(nullptr), "NOSUCHSTRIP", RGB(255, 0, 255)), EInvalidGraphic);
    EXPECT_EQ(images.Count(), 0);
}

TEST(ImageList, TheListIsFoundByNameOnItsOwner)
{
    TComponent owner;
    TImageList images(&owner, 16, 16);
    images.SetName("HotImages");
    EXPECT_EQ(owner.FindComponent("HotImages"), &images);
}

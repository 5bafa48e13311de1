#include "GeneralUtils.h"
#include "GraphicUtils.h"
#include "TestBitmaps.h"
#include "WindowUtils.h"
#include "Win32Errors.h"

#include "Cursors.h"
#include "Exceptions.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TEST(GraphicUtils, RectanglesAndPolygons)
{
    const RECT rect{10, 20, 30, 40};
    EXPECT_EQ(WidthOf(rect), 20);
    EXPECT_EQ(HeightOf(rect), 20);
    struct Case {
        POINT point;
        bool inside;
    } cases[] = {{{10, 20}, true}, {{30, 40}, true}, {{30, 20}, true}, {{20, 30}, true},
                 {{9, 30}, false}, {{31, 30}, false}, {{20, 19}, false}, {{20, 41}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(PointInRect(c.point, rect), c.inside) << c.point.x << "," << c.point.y;
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_TRUE(PointInPolyRgn(POINT{2, 2}, triangle, 2));
    EXPECT_FALSE(PointInPolyRgn(POINT{9, 9}, triangle, 2));
}

TEST(GraphicUtils, PatternsColourChangesAndDisabledPictures)
{
    auto pattern = CreateTwoColorsBrushPattern(0x0000FF, 0x00FF00);
    EXPECT_EQ(pattern->Width(), 8);
    EXPECT_EQ(pattern->Canvas().Pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(pattern->Canvas().Pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(pattern->Canvas().Pixel(1, 1), 0x00FF00u);

    auto picture = MakeBitmap(pf24bit, 4, 4, [](int x, int) { return x < 2 ? TColor{0x0000FF} : clSilver; });
    auto changed = ChangeBitmapColor(*picture, 0x0000FF, 0xFF0000);
    EXPECT_EQ(changed->Canvas().Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(changed->Canvas().Pixel(3, 0), clSilver);

    // Outline (silver) pixels become background; the rest the shadow colour,
    // with the highlight one pixel down and right where asked.
    struct Case {
        bool highlight;
        TColor atTwoOne;
    } cases[] = {{false, clWhite}, {true, 0x00FF00}};
    for (const Case& c : cases) {
        auto disabled = CreateDisabledBitmapEx(*picture, clSilver, clWhite, 0x00FF00, clGray, c.highlight);
        EXPECT_EQ(disabled->Canvas().Pixel(0, 0), clGray);
        EXPECT_EQ(disabled->Canvas().Pixel(3, 3), clWhite);
        EXPECT_EQ(disabled->Canvas().Pixel(2, 1), c.atTwoOne);
    }
}

TEST(GraphicUtils, ResourcesIconsAndCells)
{
    try {
        ResourceNotFound(ResourceId(1234u));
        FAIL();
    } catch (const EResNotFound& error) {
        EXPECT_STREQ(error.what(), "Resource 1234 not found");
    }
    EXPECT_EQ(MakeBitmap("NO_SUCH_BITMAP"), nullptr);
    EXPECT_EQ(MakeIcon("NO_SUCH_ICON"), nullptr);
    EXPECT_THROW(MakeModuleBitmap(nullptr, ResourceId(1u)), EResNotFound);
    auto system = MakeModuleBitmap(nullptr, ResourceId(32754u)); // the system's check mark
    ASSERT_NE(system, nullptr);
    EXPECT_GT(system->Width(), 0);

    auto grid = MakeBitmap(pf24bit, 6, 4, [](int x, int y) { return x / 2 + 3 * (y / 2) == 4 ? clWhite : clBlack; });
    TBitmap cell;
    AssignBitmapCell(*grid, cell, 3, 2, 4);
    EXPECT_EQ(cell.Width(), 2);
    EXPECT_EQ(cell.Canvas().Pixel(1, 1), clWhite);

    auto picture = MakeBitmap(pf24bit, 16, 16, [](int x, int) { return x < 8 ? clWhite : TColor{0x0000FF}; });
    auto icon = CreateIconFromBitmap(*picture, clWhite);
    ASSERT_NE(icon->Handle(), nullptr);
    EXPECT_EQ(icon->Width(), 16);
    auto back = CreateBitmapFromIcon(*icon, 0x00FF00);
    EXPECT_EQ(back->Canvas().Pixel(2, 2), 0x00FF00u);
    EXPECT_EQ(back->Canvas().Pixel(12, 2), 0x0000FFu);
    EXPECT_TRUE(back->Transparent());
    EXPECT_EQ(back->TransparentColor(), 0x00FF00u);
}

TEST(GraphicUtils, DialogUnitsAndFonts)
{
    const LONG base = GetDialogBaseUnits();
    EXPECT_EQ(DialogUnitsToPixelsX(8), 8 * LOWORD(base) / 4);
    EXPECT_EQ(DialogUnitsToPixelsY(8), 8 * HIWORD(base) / 8);
    EXPECT_EQ(PixelsToDialogUnitsX(DialogUnitsToPixelsX(40)), 40);
    HFONT rotated = CreateRotatedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), 90);
    LOGFONTA font{};
    GetObjectA(rotated, sizeof font, &font);
    EXPECT_EQ(font.lfEscapement, 900);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    DeleteObject(rotated);
}

TEST(WindowUtils, KillMessageRemovesOneAndPostsQuitAgain)
{
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(window, WM_USER + 5, 0, 0);
    PostMessageA(window, WM_USER + 5, 1, 0);
    KillMessage(window, WM_USER + 5);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, window, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_FALSE(PeekMessageA(&message, window, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    DestroyWindow(window);

    PostQuitMessage(7);
    KillMessage(nullptr, WM_QUIT);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(WindowUtils, WindowsClassesAndScreen)
{
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(WindowClassName(window), "Static");
    CenterWindow(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 100) / 2);
    EXPECT_EQ(rect.right - rect.left, 100);
    EXPECT_EQ(WindowOwner(window), nullptr);
    ShowMDIClientEdge(window, true);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    DestroyWindow(window);
    const RECT area = ScreenWorkArea();
    EXPECT_GT(area.right - area.left, 0);
    EXPECT_THROW(LoadDLL("no-such-library-here.dll"), EWin32Error);
    EXPECT_FALSE(RegisterServer("kernel32.dll"));
}

TEST(WindowUtils, FreeUnusedOleDropsOnlyItsOwnReference)
{
    // The program's own reference stays: the library remains loaded.
    HMODULE held = LoadLibraryA("OleAut32");
    ASSERT_NE(held, nullptr);
    FreeUnusedOle(); // nothing taken yet: no reference dropped
    LoadOleForRelease();
    FreeUnusedOle();
    FreeUnusedOle();
    EXPECT_EQ(GetModuleHandleA("OleAut32"), held);
    FreeLibrary(held);
}

TEST(GeneralUtils, NestedWaitsRestoreTheCursorOnTheLastStop)
{
    SetScreenCursorId(crDefault);
    StopWait(); // unmatched: nothing
    EXPECT_EQ(ScreenCursorId(), crDefault);
    StartWait();
    StartWait();
    EXPECT_EQ(ScreenCursorId(), crHourGlass);
    StopWait();
    EXPECT_EQ(ScreenCursorId(), crHourGlass);
    StopWait();
    EXPECT_EQ(ScreenCursorId(), crDefault);
    StopWait();
    EXPECT_EQ(ScreenCursorId(), crDefault);
}

TEST(GeneralUtils, AnimatedCursorFromTheProjectsCursor)
{
    // The test runs from any folder: the cursor lies beside the program.
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path = program;
    path = path.substr(0, path.find_last_of('\\') + 1) + "CTL_HANDCUR.cur";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << "CTL_HANDCUR.cur beside the tests";
    const std::string cur((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto put32 = [](std::string& to, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            to += static_cast<char>(value >> (8 * i));
    };
    std::string header;
    for (std::uint32_t field : {36u, 1u, 1u, 0u, 0u, 0u, 0u, 10u, 1u})
        put32(header, field);
    std::string frames = "fram";
    frames += "icon";
    put32(frames, static_cast<std::uint32_t>(cur.size()));
    frames += cur;
    if (cur.size() % 2)
        frames += '\0';
    std::string body = "ACON";
    body += "anih";
    put32(body, 36);
    body += header;
    body += "LIST";
    put32(body, static_cast<std::uint32_t>(frames.size()));
    body += frames;
    std::string ani = "RIFF";
    put32(ani, static_cast<std::uint32_t>(body.size()));
    ani += body;

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    auto leftovers = [&] {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((std::string(folder) + "ANI*.tmp").c_str(), &found);
        int count = 0;
        if (search != INVALID_HANDLE_VALUE) {
            do
                ++count;
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        return count;
    };
    const int before = leftovers();
    HCURSOR cursor = CursorFromAniBytes(ani.data(), ani.size());
    EXPECT_NE(cursor, nullptr);
    if (cursor)
        DestroyCursor(cursor);
    EXPECT_EQ(CursorFromAniBytes("RIFF", 4), nullptr);
    EXPECT_EQ(leftovers(), before);
    EXPECT_EQ(LoadAniCursor(GetModuleHandleA(nullptr), "NO_SUCH_CURSOR"), nullptr);
}

TEST(GeneralUtils, TextEnvironmentAndMessages)
{
    const std::string value(5000, 'v');
    SetEnvironmentVariableA("QUILLO_LONG_VALUE", value.c_str());
    EXPECT_EQ(GetEnvVar("QUILLO_LONG_VALUE"), value);
    SetEnvironmentVariableA("QUILLO_LONG_VALUE", nullptr);
    EXPECT_EQ(GetEnvVar("QUILLO_LONG_VALUE"), "");
    EXPECT_EQ(GetWindowsVersion().rfind("Windows ", 0), 0u);

    auto canvasBitmap = MakeBitmap(pf24bit, 4, 4, [](int, int) { return clWhite; });
    TCanvas& canvas = canvasBitmap->Canvas();
    const std::string shortened = MinimizeText("a rather long line of text", canvas, 60);
    EXPECT_LT(shortened.size(), 26u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...");
    EXPECT_EQ(MinimizeText("wide", canvas, 1), "");
    EXPECT_GT(GetAveCharSize(canvas).cx, 0);

    ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO);
    boxes.Answer(IDOK);
    EXPECT_EQ(MsgDlg("Go on?", mtConfirmation, mbYes | mbNo, 0), IDNO);
    EXPECT_EQ(MsgBox("Caption", "Text", MB_OK), IDOK);
    EXPECT_EQ(boxes.Shown()[0].flags, UINT{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(boxes.Shown()[1].caption, "Caption");

    VARIANT values[3];
    for (int i = 0; i < 3; ++i) {
        VariantInit(&values[i]);
        values[i].vt = VT_I4;
        values[i].lVal = (i * 7) % 5;
    }
    VARIANT largest = MaxOf(values);
    EXPECT_EQ(largest.lVal, 4);
    VARIANT many = MakeVariant(values);
    EXPECT_EQ(many.vt, VT_ARRAY | VT_VARIANT);
    VariantClear(&many);
    EXPECT_THROW(MinOf({}), EInvalidArgument);
}

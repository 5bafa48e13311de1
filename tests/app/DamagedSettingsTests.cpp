// Stores whose placement, splitter and font values would make the main window
// unusable: it starts usable all the same, the store keeps what it held until
// the close writes back what was in force.
#include "ControlFont.h"
#include "RichEdit.h"
#include "SettingsInForce.h"
#include "StartedMain.h"
#include "TreeView.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <climits>
#include <tuple>

namespace {

struct DamagedStore {
    const char* name;
    int top, left, width, height, treeWidth; // XPos, YPos, ...
    bool maximized;
    int outlinePoints, pagePoints;
    std::string face;
    int outlinePointsInForce, pagePointsInForce;
};

void PrintTo(const DamagedStore& store, std::ostream* out) { *out << store.name; }

const DamagedStore Stores[] = {
    {"TheReportedStore", -1, INT_MAX, INT_MIN, 0, INT_MAX, false, 8, 8, "Arial", 8, 8},
    {"AMonitorThatIsGone", 5000, 5000, 700, 500, 250, false, 8, 8, "Arial", 8, 8},
    {"ATreeWiderThanTheWindow", 30, 50, 500, 400, 900, false, 8, 8, "Arial", 8, 8},
    {"NegativeAndZeroWithoutAFace", 30, 50, 700, 500, -40, false, 0, -5, "", 4, 4},
    {"HugeWithAnAbsurdFace", 0, 0, 50000, 50000, 300, false, 5000, 31, std::string(5000, 'F'), 30, 30},
    {"MaximisedAtTheLeast", INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, true, INT_MIN, INT_MIN, "", 4, 4},
};

class DamagedSettings : public StartedMain, public ::testing::WithParamInterface<DamagedStore> {
protected:
    void StartWith(const DamagedStore& store)
    {
        user.XPos = store.top;
        user.YPos = store.left;
        user.Width = store.width;
        user.Height = store.height;
        user.TreeWidth = store.treeWidth;
        user.Maximized = store.maximized;
        options.OutlineFontSize = store.outlinePoints;
        options.PageFontSize = store.pagePoints;
        options.OutlineFontFace = options.PageFontFace = store.face;
        Start({"/m"});
    }
};

void ExpectRoomInside(const TControl& control, const RECT& client)
{
    EXPECT_GT(control.Width(), 0);
    EXPECT_GT(control.Height(), 0);
    EXPECT_GE(control.Left(), 0);
    EXPECT_LE(control.Left() + control.Width(), client.right);
    EXPECT_LE(control.Top() + control.Height(), client.bottom);
}

} // namespace

TEST_P(DamagedSettings, TheWindowStartsUsableAndTheStoreKeepsItsValues)
{
    const DamagedStore& store = GetParam();
    StartWith(store);

    // The work area of the test display's one monitor, in the workspace
    // coordinates of the normal bounds.
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const RECT bounds = Main->NormalBounds();
    EXPECT_GE(bounds.left, 0);
    EXPECT_GE(bounds.top, 0);
    EXPECT_LE(bounds.right, area.right - area.left);
    EXPECT_LE(bounds.bottom, area.bottom - area.top);
    EXPECT_GE(bounds.right - bounds.left, LeastWindowWidth);
    EXPECT_GE(bounds.bottom - bounds.top, LeastWindowHeight);
    EXPECT_EQ(Main->WindowState() == TWindowState::wsMaximized, store.maximized);
    ExpectRoomInside(*Main->Tree, Main->ClientRect());
    ExpectRoomInside(*Main->RichEdit, Main->ClientRect());

    LOGFONTA treeFont{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Main->Tree->Handle(), WM_GETFONT, 0, 0)), sizeof treeFont,
               &treeFont);
    EXPECT_EQ(treeFont.lfHeight, FontHeightForPoints(store.outlinePointsInForce));
    CHARFORMATA editorFont{};
    editorFont.cbSize = sizeof editorFont;
    SendMessageA(Main->RichEdit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&editorFont));
    // In twips, measured through the pixels of the font the editor was given.
    EXPECT_EQ(editorFont.yHeight, MulDiv(FontHeightForPoints(store.pagePointsInForce), 1440, FontHeightForPoints(72)));

    const std::tuple<const char*, const char*, int> kept[] = {{"User", "XPos", store.top},
                                                              {"User", "Width", store.width},
                                                              {"User", "TreeWidth", store.treeWidth},
                                                              {"Options", "PageFontSize", store.pagePoints}};
    for (const auto& [key, name, value] : kept)
        EXPECT_EQ(StoredNumber(key, name), value) << name;
}

INSTANTIATE_TEST_SUITE_P(Stores, DamagedSettings, ::testing::ValuesIn(Stores),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DamagedSettings, TheCloseWritesTheValuesInForce)
{
    DamagedStore store = Stores[0];
    store.outlinePoints = 0;
    store.pagePoints = 5000;
    StartWith(store);
    const RECT bounds = Main->NormalBounds();
    const int treeWidth = Main->Tree->Width();
    Main->Close();
    ASSERT_TRUE(Main->Closed());
    EXPECT_EQ(StoredNumber("User", "XPos"), bounds.top);
    EXPECT_EQ(StoredNumber("User", "YPos"), bounds.left);
    EXPECT_EQ(StoredNumber("User", "Width"), bounds.right - bounds.left);
    EXPECT_EQ(StoredNumber("User", "TreeWidth"), treeWidth);
    EXPECT_EQ(StoredNumber("Options", "OutlineFontSize"), OfferedFontPoints.least);
    EXPECT_EQ(StoredNumber("Options", "PageFontSize"), OfferedFontPoints.most);
}

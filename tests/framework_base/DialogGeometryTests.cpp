#include "DialogGeometry.h"
#include "FileNameList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DialogGeometry, FittingToTheScreenMovesButNeverResizes)
{
    constexpr int screenWidth = 1024;
    constexpr int screenHeight = 768;
    const struct {
        TDlgRect rect;
        TDlgRect fitted;
    } cases[] = {
        {{100, 100, 500, 400}, {100, 100, 500, 400}},
        {{900, 700, 1100, 800}, {824, 668, 1024, 768}},
        {{-50, -20, 150, 80}, {0, 0, 200, 100}},
        // Larger than the screen: the left and top edges stay on it.
        {{300, 200, 1500, 1000}, {0, 0, 1200, 800}},
        {{-300, -200, 900, 600}, {0, 0, 1200, 800}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitRectToScreen(c.rect, screenWidth, screenHeight), c.fitted)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
}

TEST(DialogGeometry, CentringUsesIntegerHalvesRoundedTowardsZero)
{
    // A 201 x 101 window over a 100 x 50 form at (-10, -10).
    EXPECT_EQ(CenterRectOver(TDlgRect{0, 0, 201, 101}, TDlgRect{-10, -10, 90, 40}), (TDlgRect{-60, -35, 141, 66}));
    EXPECT_EQ(CenterRectOver(TDlgRect{5, 5, 15, 15}, TDlgRect{0, 0, 31, 31}), (TDlgRect{10, 10, 20, 20}));
    EXPECT_EQ(CenterRectOnScreen(TDlgRect{0, 0, 401, 301}, 1024, 768), (TDlgRect{311, 233, 712, 534}));
    // Larger than the screen: centring would put it off the top left.
    EXPECT_EQ(CenterRectOnScreen(TDlgRect{50, 50, 1250, 850}, 1024, 768), (TDlgRect{0, 0, 1200, 800}));
}

TEST(DialogGeometry, PanelsAreLaidOutAroundTheClientArea)
{
    // The program's case: a bottom panel only, below the old client area.
    const TDockedPanelLayout bottomOnly = LayOutDockedPanels({0, 0, 0, 110}, 420, 300);
    EXPECT_EQ(bottomOnly.bottom, (TDlgBounds{0, 300, 420, 110}));

    const TDockedPanelLayout all = LayOutDockedPanels({40, 30, 20, 110}, 420, 300);
    EXPECT_EQ(all.left, (TDlgBounds{0, 0, 40, 330}));
    EXPECT_EQ(all.top, (TDlgBounds{40, 0, 420, 30}));
    EXPECT_EQ(all.right, (TDlgBounds{460, 0, 20, 330}));
    EXPECT_EQ(all.bottom, (TDlgBounds{0, 330, 480, 110}));
}

TEST(DialogGeometry, AResizeChangesThePanelSizesOnly)
{
    const struct {
        TDockedPanelSizes panels;
        TDockedPanelResize resized;
    } cases[] = {
        {{0, 0, 0, 110}, {600, 390, 600}},
        {{40, 30, 20, 110}, {540, 390, 600}},
        {{40, 30, 20, 0}, {540, 500, 600}},
    };
    for (const auto& c : cases) {
        const TDockedPanelResize resized = ResizeDockedPanels(c.panels, 600, 500);
        EXPECT_EQ(resized.topWidth, c.resized.topWidth);
        EXPECT_EQ(resized.sideHeight, c.resized.sideHeight);
        EXPECT_EQ(resized.bottomWidth, c.resized.bottomWidth);
    }
}

TEST(DialogGeometry, TheLargerRecordFromNtFiveAndWindowsFourNinety)
{
    const struct {
        unsigned platform, major, minor;
        bool large;
    } cases[] = {
        {2, 4, 0, false}, {2, 5, 0, true}, {2, 10, 0, true}, {1, 4, 10, false},
        {1, 4, 90, true}, {1, 3, 95, false}, {0, 9, 99, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SupportsLargeFileDialogRecord(c.platform, c.major, c.minor), c.large)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(FileNameList, QuotedNamesAreSplitAndJoined)
{
    using Names = std::vector<std::string>;
    const struct {
        std::string text;
        Names names;
    } cases[] = {
        {"", {}},
        {"plain name.txt", {"plain name.txt"}},
        {"\"one.txt\"", {"one.txt"}},
        {"\"a.txt\" \"b c.txt\" \"d.txt\"", {"a.txt", "b c.txt", "d.txt"}},
        // An unbalanced quote ends the list.
        {"\"a.txt\" \"b.txt", {"a.txt"}},
        // No complete pair: the whole text.
        {"\"a.txt", {"\"a.txt"}},
        // Only a text that begins with a quote is a list.
        {"x \"a.txt\"", {"x \"a.txt\""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFileNameList(c.text), c.names) << c.text;

    EXPECT_EQ(JoinFileNameList({}), "");
    EXPECT_EQ(JoinFileNameList({"only one.txt"}), "only one.txt");
    EXPECT_EQ(JoinFileNameList({"a.txt", "b c.txt", "d.txt"}), "\"a.txt\" \"b c.txt\" \"d.txt\"");
    EXPECT_EQ(SplitFileNameList(JoinFileNameList({"a.txt", "b c.txt"})), (Names{"a.txt", "b c.txt"}));
}

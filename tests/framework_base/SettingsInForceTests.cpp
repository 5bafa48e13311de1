// The sums that turn stored placement, splitter and font values into usable
// ones, over values at the extremes of their type.
#include "SettingsInForce.h"

#include <gtest/gtest.h>

#include <climits>

TEST(SettingsInForce, APlacementIsUsableAndKeptWhileItsCaptionCanBeReached)
{
    // A work area that does not start at the origin, as beside a task bar.
    const PixelRect area{100, 50, 1380, 1050};
    const WindowPlacement defaults{4, 2, 638, 472};
    const WindowPlacement cases[][2] = {
        {{200, 100, 700, 500}, {200, 100, 700, 500}},
        {{-400, 1020, 700, 500}, {-400, 1020, 700, 500}},  // partly off, caption reachable
        {{1281, 100, 700, 500}, {680, 100, 700, 500}},     // too little caption across
        {{200, 49, 700, 500}, {200, 50, 700, 500}},        // above the top
        {{200, 1021, 700, 500}, {200, 550, 700, 500}},     // caption below the bottom
        {{200, 100, LeastWindowWidth - 1, 0}, {200, 100, 638, 472}},
        {{INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {100, 50, 638, 472}},
        {{INT_MAX, -1, INT_MAX, INT_MAX}, {100, 50, 1280, 1000}},
    };
    for (const auto& [stored, inForce] : cases) {
        SCOPED_TRACE(testing::Message() << stored.left << ", " << stored.top);
        EXPECT_TRUE(FitOnWorkArea(SizeInForce(stored, defaults), area) == inForce);
    }
    const PixelRect span = SpanOf({INT_MAX - 10, INT_MIN, 638, 472}, 5, -1);
    EXPECT_EQ(span.right, INT_MAX);
    EXPECT_EQ(span.top, INT_MIN);
}

TEST(SettingsInForce, TheTreeAndTheFontsTakeUsableSizes)
{
    // A client area 600 wide with a splitter of 4: the tree may be 1 to 595.
    const int treeWidths[][2] = {{250, 250}, {1, 1}, {595, 595}, {596, 300}, {0, 300}, {INT_MIN, 300}, {INT_MAX, 300}};
    for (const auto& [stored, inForce] : treeWidths)
        EXPECT_EQ(TreeWidthInForce(stored, 600, 4), inForce) << stored;
    const int points[][2] = {{8, 8}, {4, 4}, {30, 30}, {3, 4}, {-5, 4}, {31, 30}, {INT_MIN, 4}, {INT_MAX, 30}};
    for (const auto& [stored, inForce] : points)
        EXPECT_EQ(FontPointsInForce(stored), inForce) << stored;
}

#include "Gradient.h"

#include <gtest/gtest.h>

TEST(GradientBands, BandsStepEvenlyAndTheRestTakesTheLastColour)
{
    const auto bands = GradientBands(0, 0, 10, 11, 0x000000, 0x0000FF, fdTopToBottom, 3);
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].color, 0x000000u);
    EXPECT_EQ(bands[1].color, 0x00007Fu);
    EXPECT_EQ(bands[2].color, 0x0000FFu);
    EXPECT_EQ(bands[0].bottom, 3);
    EXPECT_EQ(bands[2].top, 6);
    EXPECT_EQ(bands[2].bottom, 11);

    const auto reversed = GradientBands(0, 0, 4, 2, 0x102030, 0x406080, fdRightToLeft, 2);
    ASSERT_EQ(reversed.size(), 2u);
    EXPECT_EQ(reversed[0].color, 0x406080u);
    EXPECT_EQ(reversed[0].right, 2);
    EXPECT_EQ(reversed[1].color, 0x102030u);
}

TEST(GradientBands, BandsAreClampedToTheExtentAndFewerThanTwoFillSolid)
{
    EXPECT_EQ(GradientBands(0, 0, 3, 100, 0, 0xFFFFFF, fdLeftToRight, 64).size(), 3u);
    for (int bands : {1, 0, -4}) {
        const auto solid = GradientBands(1, 2, 30, 40, 0x123456, 0xFFFFFF, fdBottomToTop, bands);
        ASSERT_EQ(solid.size(), 1u);
        EXPECT_EQ(solid[0].color, 0x123456u);
    }
    EXPECT_EQ(GradientBands(0, 0, 30, 1, 0x123456, 0, fdTopToBottom, 64).size(), 1u);
}

TEST(ZoomImage, FitsWith98PercentAndRefusesEmptySizes)
{
    EXPECT_EQ(ZoomImage(200, 100, 100, 100, true), (ZoomPoint{98, 49}));
    EXPECT_EQ(ZoomImage(200, 100, 100, 100, false), (ZoomPoint{100, 100}));
    EXPECT_EQ(ZoomImage(50, 50, 100, 100, true), (ZoomPoint{98, 98}));
    // 0.98 x 1 / 1.96 is a tie: halves go away from zero.
    EXPECT_EQ(ZoomImage(196, 1, 196, 196, true), (ZoomPoint{192, 1}));
    for (int bad : {0, -1}) {
        EXPECT_EQ(ZoomImage(bad, 10, 10, 10, true), ZoomPoint{});
        EXPECT_EQ(ZoomImage(10, bad, 10, 10, true), ZoomPoint{});
        EXPECT_EQ(ZoomImage(10, 10, bad, 10, false), ZoomPoint{});
        EXPECT_EQ(ZoomImage(10, 10, 10, bad, false), ZoomPoint{});
    }
}

TEST(TQGradient, DefaultsChangesAndAssign)
{
    TQGradient gradient;
    EXPECT_EQ(gradient.StartColor(), 0xC0C0C0u);
    EXPECT_EQ(gradient.EndColor(), 0x808080u);
    EXPECT_EQ(gradient.StepCount(), 64);
    EXPECT_FALSE(gradient.Visible());
    EXPECT_EQ(gradient.Direction(), fdTopToBottom);
    int changes = 0;
    gradient.OnChange = [&](TQGradient& sender) {
        EXPECT_EQ(&sender, &gradient);
        ++changes;
    };
    gradient.SetStepCount(64);
    EXPECT_EQ(changes, 0);
    gradient.SetVisible(true);
    gradient.SetDirection(fdRightToLeft);
    EXPECT_EQ(changes, 2);
    TQGradient other;
    other.SetStartColor(0x0000FF);
    other.SetStepCount(3);
    gradient.Assign(other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(gradient.StartColor(), 0x0000FFu);
    EXPECT_EQ(gradient.StepCount(), 3);
    EXPECT_FALSE(gradient.Visible());
    EXPECT_EQ(gradient.Direction(), fdTopToBottom);
}

// The splash window: the program's own GIF picture from its resources, the
// window sized to it.

#include "GIFImage.h"
#include "Splash.h"

#include <gtest/gtest.h>

TEST(Splash, ShowsTheProgramsOwnPictureAtItsSize)
{
    ShowSplash();
    ASSERT_NE(Splash, nullptr);
    auto* picture = dynamic_cast<TGIFImage*>(Splash->Picture());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetCount(), 1);
    EXPECT_EQ(picture->GetGlobalColorCount(), 256);
    EXPECT_EQ(picture->Width(), 398);
    EXPECT_EQ(picture->Height(), 243);
    EXPECT_FALSE(picture->GetTransparent());
    EXPECT_EQ(Splash->ClientWidth(), 398);
    EXPECT_EQ(Splash->ClientHeight(), 243);
    EXPECT_EQ(Splash->Caption(), "Splash");
    EXPECT_EQ(GetWindowLongA(Splash->Handle(), GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongA(Splash->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    // The top left pixel is the top of the sky, as painted in the window.
    HDC dc = GetDC(Splash->Image.Handle());
    RedrawWindow(Splash->Image.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xA8, 0xCC, 0xF5));
    ReleaseDC(Splash->Image.Handle(), dc);
    CloseSplash();
    EXPECT_EQ(Splash, nullptr);
}

#include "Exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, FixedTextsNameTheFailingItem)
{
    EXPECT_EQ(FormatMessageText("Failed to get data for '%s'", "Traybar"),
              "Failed to get data for 'Traybar'");
    EXPECT_EQ(FormatMessageText("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(FormatMessageText("trailing %", "x"), "trailing %");
}

TEST(Exceptions, AbortIsSilentAndCaughtAsFrameworkError)
{
    EXPECT_THROW(Abort(), EAbort);
    EXPECT_THROW(Abort(), Exception);
}

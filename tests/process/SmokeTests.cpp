#include "ProcessDriver.h"
#include <gtest/gtest.h>
TEST(ProcessSmoke, BinFolder) { EXPECT_FALSE(BuildBinFolder().empty()); }

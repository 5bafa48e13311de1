#include "MemoryBlocks.h"
#include "MinMax.h"

#include "Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(MemoryBlocks, AllocGivesZeroedBlocksAndNullForNoSize)
{
    EXPECT_EQ(AllocMemo(0), nullptr);
    EXPECT_EQ(AllocMemo(-5), nullptr);
    void* block = AllocMemo(10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GetMemoSize(block), 10);
    const char zeros[10] = {};
    EXPECT_TRUE(CompareMem(block, zeros, 10));
    FreeMemo(block);
    EXPECT_EQ(block, nullptr);
    FreeMemo(block); // a null variable stays null
    EXPECT_EQ(GetMemoSize(nullptr), 0);
}

TEST(MemoryBlocks, ReallocKeepsContentsAndZeroesGrowth)
{
    auto* block = static_cast<unsigned char*>(AllocMemo(4));
    std::memset(block, 0xAB, 4);
    block = static_cast<unsigned char*>(ReallocMemo(block, 12));
    ASSERT_EQ(GetMemoSize(block), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(block[i], i < 4 ? 0xAB : 0) << i;
    EXPECT_EQ(ReallocMemo(block, 0), nullptr);
}

TEST(MemoryBlocks, CompareMemFindsADifferenceAtEveryLength)
{
    for (std::uint32_t count = 1; count <= 9; ++count) {
        std::vector<char> a(count, 'x'), b(count, 'x');
        EXPECT_TRUE(CompareMem(a.data(), b.data(), count)) << count;
        b.back() = 'y';
        EXPECT_FALSE(CompareMem(a.data(), b.data(), count)) << count;
        EXPECT_TRUE(CompareMem(a.data(), b.data(), count - 1)) << count;
    }
}

TEST(MemoryBlocks, HMemCpyMovesOverlapBothWaysAndIgnoresNegativeCounts)
{
    char up[] = "abcdefgh";
    HMemCpy(up + 2, up, 5);
    EXPECT_STREQ(up, "ababcdeh");
    char down[] = "abcdefgh";
    HMemCpy(down, down + 2, 5);
    EXPECT_STREQ(down, "cdefgfgh");
    char untouched[] = "abc";
    HMemCpy(untouched, "xyz", 0);
    HMemCpy(untouched, "xyz", -1);
    EXPECT_STREQ(untouched, "abc");
}

TEST(MemoryBlocks, PointerArithmeticIsInBytesAndHugeMoveInPointers)
{
    char bytes[16];
    void* p = bytes;
    EXPECT_EQ(HugeOffset(p, 5), bytes + 5);
    HugeInc(p, 7);
    EXPECT_EQ(p, bytes + 7);
    HugeDec(p, 3);
    EXPECT_EQ(p, bytes + 4);

    int v[5] = {};
    void* items[5] = {&v[0], &v[1], &v[2], &v[3], &v[4]};
    HugeMove(items, 0, 1, 3);
    EXPECT_EQ(items[1], &v[0]);
    EXPECT_EQ(items[3], &v[2]);
    EXPECT_EQ(items[4], &v[4]);
}

TEST(MinMax, ExtremesAreSignedAndEmptyArraysRaise)
{
    EXPECT_EQ(Max(-3, 2), 2);
    EXPECT_EQ(Min(-3, 2), -3);
    const std::int32_t ints[] = {4, -9, 7};
    EXPECT_EQ(MaxInteger(ints), 7);
    EXPECT_EQ(MinInteger(ints), -9);
    const std::int64_t wide[] = {std::int64_t{1} << 40, -1};
    EXPECT_EQ(MaxInt64(wide), std::int64_t{1} << 40);
    EXPECT_THROW(MaxInteger({}), EInvalidArgument);
    EXPECT_THROW(MinInt64({}), EInvalidArgument);
    EXPECT_THROW(MaxFloat({}), EInvalidArgument);
    EXPECT_THROW(MinDateTime({}), EInvalidArgument);
    std::int32_t a = 1, b = 2;
    SwapLong(a, b);
    EXPECT_EQ(a, 2);
}

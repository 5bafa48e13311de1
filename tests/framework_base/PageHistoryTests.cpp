// The page history's rules on a record of the test's own. The nodes are
// stand-ins: the history only keeps and compares their addresses and asks
// the caller for their titles.

#include "PageHistory.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

class PageHistoryTest : public ::testing::Test {
protected:
    static constexpr int NodeCount = 120;

    TTreeNode* Node(int i) { return reinterpret_cast<TTreeNode*>(&slots_[static_cast<std::size_t>(i)]); }

    // "Page <i>", worked out from the address, as a tree would read the label.
    THistoryTitle Titles()
    {
        return [this](const TTreeNode* node) {
            const auto* slot = reinterpret_cast<const int*>(node);
            return "Page " + std::to_string(slot - slots_.data());
        };
    }

    void PushRange(int from, int to)
    {
        for (int i = from; i < to; ++i)
            PushHistory(Node(i), history_);
    }

    std::array<int, NodeCount> slots_{};
    TPageHistory history_;
};

} // namespace

TEST_F(PageHistoryTest, StartsEmptyAndGoesNowhere)
{
    EXPECT_EQ(history_.Count(), 0);
    EXPECT_EQ(history_.Index(), 0);
    EXPECT_FALSE(CanGoBack(history_));
    EXPECT_FALSE(CanGoForward(history_));
    EXPECT_EQ(HistoryBack(history_), nullptr);
    EXPECT_EQ(HistoryForward(history_), nullptr);
    EXPECT_EQ(PreviousHistoryIndex(history_), -1);
    EXPECT_EQ(ForwardHistoryCount(history_), -1);
    EXPECT_EQ(BackEntryTitle(1, Titles(), history_), "");
    EXPECT_EQ(ForwardEntryTitle(1, Titles(), history_), "");
}

TEST_F(PageHistoryTest, TheRunsRecordStartsEmpty)
{
    ClearHistory();
    EXPECT_EQ(PageHistory.Count(), 0);
    EXPECT_EQ(PageHistory.Index(), 0);
    EXPECT_FALSE(CanGoBack());
    EXPECT_FALSE(CanGoForward());
}

TEST_F(PageHistoryTest, PushAppendsAndMakesTheNewEntryCurrent)
{
    PushRange(0, 3);
    ASSERT_EQ(history_.Count(), 3);
    EXPECT_EQ(history_.Index(), 2);
    EXPECT_EQ(history_.Entry(0), Node(0));
    EXPECT_EQ(history_.Entry(2), Node(2));
    EXPECT_TRUE(CanGoBack(history_));
    EXPECT_FALSE(CanGoForward(history_));
    EXPECT_EQ(PreviousHistoryIndex(history_), 1);
    EXPECT_EQ(ForwardHistoryCount(history_), 0);
}

TEST_F(PageHistoryTest, HundredAndOnePushesKeepTheLastHundred)
{
    PushRange(0, 101);
    ASSERT_EQ(history_.Count(), TPageHistory::MaxEntries);
    EXPECT_EQ(history_.Index(), 99);
    EXPECT_EQ(history_.Entry(0), Node(1));
    EXPECT_EQ(history_.Entry(99), Node(100));
    PushRange(101, 120);
    EXPECT_EQ(history_.Count(), 100);
    EXPECT_EQ(history_.Index(), 99);
    EXPECT_EQ(history_.Entry(0), Node(20));
}

TEST_F(PageHistoryTest, PushAfterGoingBackDropsTheForwardEntries)
{
    PushRange(0, 5);
    EXPECT_EQ(HistoryBack(history_), Node(3));
    EXPECT_EQ(HistoryBack(history_), Node(2));
    EXPECT_EQ(ForwardHistoryCount(history_), 2);
    PushHistory(Node(50), history_);
    ASSERT_EQ(history_.Count(), 4);
    EXPECT_EQ(history_.Index(), 3);
    EXPECT_EQ(history_.Entry(2), Node(2));
    EXPECT_EQ(history_.Entry(3), Node(50));
    EXPECT_FALSE(CanGoForward(history_));
}

TEST_F(PageHistoryTest, PushingTheCurrentPageAgainChangesNothing)
{
    PushRange(0, 3);
    PushHistory(Node(2), history_);
    EXPECT_EQ(history_.Count(), 3);
    EXPECT_EQ(history_.Index(), 2);
}

TEST_F(PageHistoryTest, PushingTheCurrentPageAfterGoingBackOnlyDropsTheForwardEntries)
{
    PushRange(0, 4);
    HistoryBack(history_);
    PushHistory(Node(2), history_);
    EXPECT_EQ(history_.Count(), 3);
    EXPECT_EQ(history_.Index(), 2);
    EXPECT_FALSE(CanGoForward(history_));
}

TEST_F(PageHistoryTest, AfterAResetTheFirstPageCanBePushedTwice)
{
    PushRange(0, 5);
    ClearHistory(history_);
    EXPECT_EQ(history_.Count(), 0);
    EXPECT_EQ(history_.Index(), 0);
    PushHistory(Node(7), history_);
    PushHistory(Node(7), history_);
    ASSERT_EQ(history_.Count(), 2);
    EXPECT_EQ(history_.Index(), 1);
    PushHistory(Node(7), history_);
    EXPECT_EQ(history_.Count(), 2);
}

TEST_F(PageHistoryTest, BackAndForwardStepOneEntry)
{
    PushRange(0, 3);
    EXPECT_EQ(HistoryBack(history_), Node(1));
    EXPECT_EQ(HistoryBack(history_), Node(0));
    EXPECT_EQ(HistoryBack(history_), nullptr);
    EXPECT_EQ(history_.Index(), 0);
    EXPECT_FALSE(CanGoBack(history_));
    EXPECT_EQ(HistoryForward(history_), Node(1));
    EXPECT_EQ(HistoryForward(history_), Node(2));
    EXPECT_EQ(HistoryForward(history_), nullptr);
    EXPECT_EQ(history_.Index(), 2);
}

TEST_F(PageHistoryTest, BackByTheIndexReturnsTheOldestEntry)
{
    PushRange(0, 6);
    EXPECT_EQ(HistoryBackBy(6, history_), nullptr);
    EXPECT_EQ(history_.Index(), 5);
    EXPECT_EQ(HistoryBackBy(history_.Index(), history_), Node(0));
    EXPECT_EQ(history_.Index(), 0);
}

TEST_F(PageHistoryTest, ForwardByReachesTheLastEntryAndNoFurther)
{
    PushRange(0, 6);
    HistoryBackBy(4, history_);
    EXPECT_EQ(ForwardHistoryCount(history_), 4);
    EXPECT_EQ(HistoryForwardBy(5, history_), nullptr);
    EXPECT_EQ(history_.Index(), 1);
    EXPECT_EQ(HistoryForwardBy(4, history_), Node(5));
    EXPECT_EQ(history_.Index(), 5);
}

TEST_F(PageHistoryTest, StepsBelowOneDoNothing)
{
    PushRange(0, 6);
    HistoryBackBy(3, history_);
    for (int n : {0, -1, -5}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(HistoryBackBy(n, history_), nullptr);
        EXPECT_EQ(HistoryForwardBy(n, history_), nullptr);
        EXPECT_EQ(BackEntryTitle(n, Titles(), history_), "");
        EXPECT_EQ(ForwardEntryTitle(n, Titles(), history_), "");
        EXPECT_EQ(history_.Index(), 2);
    }
}

TEST_F(PageHistoryTest, EntryTitlesCountFromTheNearest)
{
    PushRange(0, 6);
    HistoryBackBy(2, history_);
    EXPECT_EQ(BackEntryTitle(1, Titles(), history_), "Page 2");
    EXPECT_EQ(BackEntryTitle(3, Titles(), history_), "Page 0");
    EXPECT_EQ(BackEntryTitle(4, Titles(), history_), "");
    EXPECT_EQ(ForwardEntryTitle(1, Titles(), history_), "Page 4");
    EXPECT_EQ(ForwardEntryTitle(2, Titles(), history_), "Page 5");
    EXPECT_EQ(ForwardEntryTitle(3, Titles(), history_), "");
}

TEST_F(PageHistoryTest, TitlesAreAskedWhenWanted)
{
    std::string title = "Before";
    const THistoryTitle titleOf = [&title](const TTreeNode*) { return title; };
    PushRange(0, 2);
    title = "After";
    EXPECT_EQ(BackEntryTitle(1, titleOf, history_), "After");
    EXPECT_EQ(BackEntryTitle(1, nullptr, history_), "");
}

#include "ListViewOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(ListViewOptions, EachOptionAddsItsExtendedStyleBits)
{
    struct Row {
        TApListViewStyles styles;
        std::uint32_t bits;
    };
    auto with = [](auto set) {
        TApListViewStyles styles;
        set(styles);
        return styles;
    };
    const Row rows[] = {
        {TApListViewStyles{}, 0},
        {with([](auto& s) { s.HotTrack = true; }), 0x8},
        {with([](auto& s) { s.FlatScrollBars = true; }), 0x100},
        {with([](auto& s) { s.GridLines = true; }), 0x1},
        {with([](auto& s) { s.RowSelect = true; }), 0x20},
        {with([](auto& s) { s.HotTrackStyles = htHandPoint; }), 0x40},
        {with([](auto& s) { s.HotTrackStyles = htUnderlineHot; }), 0x80 | 0x800},
        {with([](auto& s) { s.HotTrackStyles = htUnderlineCold; }), 0x80 | 0x1000},
        // The hand point wins over the two-click activation of the underlines.
        {with([](auto& s) { s.HotTrackStyles = htHandPoint | htUnderlineHot | htUnderlineCold; }), 0x40 | 0x1800},
        // Renaming and the menus leave the extended style alone.
        {with([](auto& s) { s.EnableRename = s.EnableDelete = s.PopupOnEmpty = s.PopupOnSelection = false; }), 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ListViewExStyleBits(row.styles), row.bits) << std::hex << row.bits;
}

TEST(ListViewOptions, ExtendedBitsAreOnlyAddedAndLabelEditingOnlyRemoved)
{
    TApListViewStyles styles;
    styles.GridLines = true;
    std::uint32_t exStyle = 0x10000 | 0x20;
    EXPECT_TRUE(RefreshLVExStyle(styles, exStyle));
    EXPECT_EQ(exStyle, 0x10021u);
    EXPECT_FALSE(RefreshLVExStyle(styles, exStyle));
    styles.GridLines = false;
    EXPECT_FALSE(RefreshLVExStyle(styles, exStyle));
    EXPECT_EQ(exStyle, 0x10021u);

    std::uint32_t style = 0x50000203;
    EXPECT_FALSE(RefreshLVStyle(styles, style));
    styles.EnableRename = false;
    EXPECT_TRUE(RefreshLVStyle(styles, style));
    EXPECT_EQ(style, 0x50000003u);
    EXPECT_FALSE(RefreshLVStyle(styles, style));
}

TEST(ListViewOptions, ContextMenuRuleForEveryFlagPairWithAndWithoutSelection)
{
    struct Row {
        bool onEmpty, onSelection;
        bool emptyAllowed, selectedAllowed;
    };
    for (const Row& row : {Row{true, true, true, true}, Row{false, true, false, true}, Row{true, false, true, false},
                           Row{false, false, false, false}}) {
        TApListViewStyles styles;
        styles.PopupOnEmpty = row.onEmpty;
        styles.PopupOnSelection = row.onSelection;
        EXPECT_EQ(ContextMenuAllowed(styles, 0), row.emptyAllowed) << row.onEmpty << row.onSelection;
        EXPECT_EQ(ContextMenuAllowed(styles, 3), row.selectedAllowed) << row.onEmpty << row.onSelection;
    }
}

TEST(ListViewOptions, RenameAndDeleteAreFoundByIdentifierAtAnyPosition)
{
    const std::vector<std::uint32_t> system = {1, 2, 30737, 30738, 9, 10};
    const std::vector<std::uint32_t> wine = {17, 80, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    struct Row {
        bool rename, remove;
        const std::vector<std::uint32_t>& ids;
        std::vector<std::size_t> grey;
    };
    const Row rows[] = {
        {true, true, system, {}},     {false, true, system, {3}}, {true, false, system, {2}},
        {false, false, system, {2, 3}}, {false, false, wine, {0, 1}}, {true, false, wine, {0}},
    };
    for (const Row& row : rows) {
        TApListViewStyles styles;
        styles.EnableRename = row.rename;
        styles.EnableDelete = row.remove;
        EXPECT_EQ(MenuItemsToGrey(styles, row.ids), row.grey) << row.rename << row.remove << row.ids.size();
    }
}

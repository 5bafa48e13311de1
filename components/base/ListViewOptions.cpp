#include "ListViewOptions.h"

#include <algorithm>

namespace {
constexpr std::uint32_t ExGridLines = 0x1;
constexpr std::uint32_t ExTrackSelect = 0x8;
constexpr std::uint32_t ExFullRowSelect = 0x20;
constexpr std::uint32_t ExOneClickActivate = 0x40;
constexpr std::uint32_t ExTwoClickActivate = 0x80;
constexpr std::uint32_t ExFlatScrollBars = 0x100;
constexpr std::uint32_t ExUnderlineHot = 0x800;
constexpr std::uint32_t ExUnderlineCold = 0x1000;
constexpr std::uint32_t StyleEditLabels = 0x200;

bool Holds(std::span<const std::uint32_t> ids, std::uint32_t id) { return std::ranges::find(ids, id) != ids.end(); }
}

std::uint32_t ListViewExStyleBits(const TApListViewStyles& styles)
{
    std::uint32_t bits = 0;
    if (styles.HotTrack)
        bits |= ExTrackSelect;
    const TApHotTrackStyles hot = styles.HotTrackStyles;
    // One-click activation shows the hand; the underlines alone need two clicks.
    if (hot & htHandPoint)
        bits |= ExOneClickActivate;
    else if (hot & (htUnderlineCold | htUnderlineHot))
        bits |= ExTwoClickActivate;
    if (hot & htUnderlineHot)
        bits |= ExUnderlineHot;
    if (hot & htUnderlineCold)
        bits |= ExUnderlineCold;
    if (styles.FlatScrollBars)
        bits |= ExFlatScrollBars;
    if (styles.GridLines)
        bits |= ExGridLines;
    if (styles.RowSelect)
        bits |= ExFullRowSelect;
    return bits;
}

bool RefreshLVExStyle(const TApListViewStyles& styles, std::uint32_t& exStyle)
{
    const std::uint32_t before = exStyle;
    exStyle |= ListViewExStyleBits(styles);
    return exStyle != before;
}

bool RefreshLVStyle(const TApListViewStyles& styles, std::uint32_t& style)
{
    const std::uint32_t before = style;
    if (!styles.EnableRename)
        style &= ~StyleEditLabels;
    return style != before;
}

bool ContextMenuAllowed(const TApListViewStyles& styles, int selectedCount)
{
    const bool empty = selectedCount <= 0;
    return styles.PopupOnSelection ? styles.PopupOnEmpty || !empty : styles.PopupOnEmpty && empty;
}

std::vector<std::size_t> MenuItemsToGrey(const TApListViewStyles& styles, std::span<const std::uint32_t> commandIds)
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < commandIds.size(); ++i) {
        const std::uint32_t id = commandIds[i];
        if ((!styles.EnableRename && Holds(RenameCommandIds, id)) || (!styles.EnableDelete && Holds(DeleteCommandIds, id)))
            positions.push_back(i);
    }
    return positions;
}

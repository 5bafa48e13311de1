#pragma once
// The file list options of the extended file dialog, and the rules that turn
// them into list view style bits, context-menu permission and menu items to
// grey. No window is needed: the dialog applies the results.

#include <cstdint>
#include <span>
#include <vector>

// How hot tracking looks.
using TApHotTrackStyles = unsigned;
inline constexpr TApHotTrackStyles htHandPoint = 1u << 0;
inline constexpr TApHotTrackStyles htUnderlineCold = 1u << 1;
inline constexpr TApHotTrackStyles htUnderlineHot = 1u << 2;

class TApListViewStyles {
public:
    bool HotTrack = false;
    TApHotTrackStyles HotTrackStyles = 0;
    bool FlatScrollBars = false;
    bool GridLines = false;
    bool RowSelect = false;
    // False: no label editing in the list, and the menu's rename greyed.
    bool EnableRename = true;
    // False: the Delete key swallowed in the list, and the menu's delete greyed.
    bool EnableDelete = true;
    // The context menu may open with nothing selected / with a selection.
    bool PopupOnEmpty = true;
    bool PopupOnSelection = true;
};

// The extended list view style bits the options ask for.
std::uint32_t ListViewExStyleBits(const TApListViewStyles& styles);
// Adds those bits to an extended style (never removes any); true when it changed.
bool RefreshLVExStyle(const TApListViewStyles& styles, std::uint32_t& exStyle);
// Takes label editing out of a window style when renaming is off; true when
// it changed.
bool RefreshLVStyle(const TApListViewStyles& styles, std::uint32_t& style);

// Whether the list's context menu may open with that many items selected.
bool ContextMenuAllowed(const TApListViewStyles& styles, int selectedCount);

// Command identifiers of the shell view's rename and delete items: the
// system's own first, then those Wine's shell view uses.
inline constexpr std::uint32_t RenameCommandIds[] = {30738, 80};
inline constexpr std::uint32_t DeleteCommandIds[] = {30737, 17};
// Positions, in a menu holding these command identifiers, of the items to grey.
std::vector<std::size_t> MenuItemsToGrey(const TApListViewStyles& styles, std::span<const std::uint32_t> commandIds);

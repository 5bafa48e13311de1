#pragma once
// The tables the main window builds its menus and toolbar from.

#include "MenuTable.h"

#include <span>
#include <string_view>

// A popup menu and the handler that brings its items up to date just before
// it opens.
struct PopupRefreshSpec {
    const char* popup;
    const char* handler;
};

// Items of the main menu `Menu`; top-level items have the parent "Menu".
std::span<const MenuItemSpec> MainMenuItems();
// Items of every popup menu; an item's parent is its popup or its parent item.
std::span<const MenuItemSpec> PopupMenuItems();
// The popup menus, in the order they are made.
std::span<const char* const> PopupMenuNames();
// Buttons of `Toolbar`, left to right, separators included.
std::span<const ToolButtonSpec> ToolbarButtons();
// The popups that bring their items up to date as they open.
std::span<const PopupRefreshSpec> PopupRefreshHandlers();

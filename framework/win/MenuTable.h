#pragma once
// Menus and toolbars are written down as tables, transcribed once and checked
// item by item by one test; the framework builds the real menus from them.

enum MenuItemFlag : unsigned {
    miDisabled = 1,
    miHidden = 2,
    miChecked = 4,
    miRadio = 8,   // one of a group of which one is checked
    miDefault = 16 // shown bold, run by a double click on the tray icon
};

struct MenuItemSpec {
    const char* name;     // component name, e.g. "mSave"
    const char* parent;   // the menu ("Menu", "PopupPage"...) or the parent item
    const char* caption;  // verbatim, "&" marks the access key
    const char* shortcut; // "Ctrl+S", "Alt+F4", "" for none
    const char* handler;  // handler name, e.g. "mSaveClick"; "" opens a submenu
    unsigned flags;       // MenuItemFlag bits
    const char* hint;     // shown in the status bar while highlighted
};

enum ToolButtonFlag : unsigned {
    tbDisabled = 1,
    tbDropDown = 2, // has a drop-down menu
    tbSeparator = 4 // a gap, not a button
};

struct ToolButtonSpec {
    const char* name;
    const char* hint;
    int imageIndex;
    const char* handler;
    unsigned flags;
    const char* dropDownMenu; // name of the popup for drop-down buttons
};

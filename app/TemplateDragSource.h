#pragma once
// The list of the Organize Templates window, while that window exists: a
// template dragged from it onto the page tree is inserted where it drops.

#include <functional>
#include <string>

class TControl;

struct TTemplateDragSource {
    TControl* list = nullptr;
    // The file of the template selected in the list, of the row's own kind
    // (a page and an outline template may share a name); empty for none.
    std::function<std::string()> selectedPath;
};

// Empty (no list) while no Organize Templates window is open.
extern TTemplateDragSource TemplateDragSource;

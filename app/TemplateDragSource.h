#pragma once
// The list of the Organize Templates window, while that window exists: a
// template dragged from it onto the page tree is inserted where it drops.

#include <functional>
#include <string>

class TControl;

struct TTemplateDragSource {
    TControl* list = nullptr;
    // The caption of the list's selected item: the template's name.
    std::function<std::string()> selectedName;
};

// Empty (no list) while no Organize Templates window is open.
extern TTemplateDragSource TemplateDragSource;

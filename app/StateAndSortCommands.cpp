// Marking the selected page with a state icon, and sorting its sub pages.
// The state items and the sort-by-state items are rows of a table each; one
// body serves every row.
#include "Main.h"

#include "Exceptions.h"
#include "Menus.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ToolBar.h"
#include "TreeView.h"
#include "resource.h"

#include <cstdint>

namespace {
struct StateCommand {
    const char* item;
    const char* handler;
    std::int32_t state; // also the item's image in the state image list
};

const StateCommand StateCommands[] = {
    {"psNone", "psNoneClick", 1},         {"psDone", "psDoneClick", 2},
    {"mRed", "mRedClick", 9},             {"mGreen", "mGreenClick", 10},
    {"mYellow", "mYellowClick", 11},      {"mCyan", "mCyanClick", 12},
    {"mMagenta", "mMagentaClick", 13},    {"mBlue", "mBlueClick", 14},
    {"mGray", "mGrayClick", 15},          {"mWhite", "mWhiteClick", 3},
    {"psQuestion", "psQuestionClick", 4}, {"psReminder", "psReminderClick", 5},
    {"psPunchPin", "psFavoriteClick", 6}, {"psDollar", "psDollarClick", 7},
    {"psIdea", "psIdeaClick", 8},
};

// The key of a sort-by-state item is its state number minus 1.
struct SortByStateCommand {
    const char* item;
    const char* handler;
    int key;
};

const SortByStateCommand SortByStateCommands[] = {
    {"psByNone", "psByNoneClick", 0},         {"psByDone", "psByDoneClick", 1},
    {"psByWhite", "psByWhiteClick", 2},       {"psByQuestion", "psByQuestionClick", 3},
    {"psByReminder", "psByReminderClick", 4}, {"psByFavorite", "psByFavoriteClick", 5},
    {"psByDollar", "psByDollarClick", 6},     {"psByIdea", "psByIdeaClick", 7},
    {"psByRed", "psByRedClick", 8},           {"psByGreen", "psByGreenClick", 9},
    {"psByYellow", "psByYellowClick", 10},    {"psByCyan", "psByCyanClick", 11},
    {"psByMagenta", "psByMagentaClick", 12},  {"psByBlue", "psByBlueClick", 13},
    {"psByGray", "psByGrayClick", 14},
};

TMenuItem& MenuItem(const TMain& main, const char* name)
{
    auto* item = dynamic_cast<TMenuItem*>(main.FindComponent(name));
    if (!item)
        throw Exception(std::string("The main window has no menu item ") + name);
    return *item;
}

void MarkSelectedPage(const TMain& main, std::int32_t state)
{
    TTreeNode* page = main.Tree->Selected();
    if (!page)
        return;
    page->SetStateIndex(state);
    OutlineProperties.FileChanged = 1;
}

// The choice is kept with the options; the sort itself stays alphabetical.
void ChooseSortKey(TMain& main, const SortByStateCommand& command)
{
    MenuItem(main, command.item).SetChecked(true);
    if (auto* button = dynamic_cast<TToolButton*>(main.FindComponent("bSort")))
        button->SetImageIndex(HOT_IMAGE_SORT_BY_STATE + command.key);
    OptionSettings.SortType = command.key;
    main.mSortClick(nullptr);
}
}

void TMain::WireStateAndSortCommands()
{
    for (const StateCommand& command : StateCommands) {
        MenuItem(*this, command.item).ImageIndex = command.state;
        const std::int32_t state = command.state;
        SetHandler(command.handler, [this, state](TComponent*) { MarkSelectedPage(*this, state); });
    }
    for (const SortByStateCommand& command : SortByStateCommands)
        SetHandler(command.handler, [this, &command](TComponent*) { ChooseSortKey(*this, command); });
}

void TMain::mSortClick(TComponent*)
{
    // Only the direct sub pages, by title, with the system's case-sensitive
    // comparison for the user's locale; deeper levels keep their order.
    if (TTreeNode* page = Tree->Selected())
        page->AlphaSort(false);
    OutlineProperties.FileChanged = 1;
}

void TMain::psAlphabeticallyClick(TComponent* sender) { mSortClick(sender); }

void TMain::psSortWholeOutlineClick(TComponent*)
{
    TMenuItem& item = MenuItem(*this, "psSortWholeOutline");
    item.SetChecked(!item.Checked());
    OptionSettings.SortWholeOutline = item.Checked();
}

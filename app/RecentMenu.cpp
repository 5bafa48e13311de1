#include "RecentMenu.h"

#include "Main.h"
#include "Menus.h"
#include "RecentFiles.h"
#include "SharedState.h"

#include <string>

namespace {

TMenuItem* ItemNamed(TComponent* owner, const std::string& name)
{
    return dynamic_cast<TMenuItem*>(owner->FindComponent(name));
}

// prefix followed by the number; built by appending, which GCC 12 does not
// mistake for an overlapping copy as it does "literal" + std::string.
std::string Numbered(const char* prefix, int number)
{
    std::string name = prefix;
    name += std::to_string(number);
    return name;
}

void Show(TMenuItem* item, bool visible)
{
    if (item)
        item->SetVisible(visible);
}

} // namespace

void RebuildRecentMenu(TStrings& list, TComponent* owner)
{
    if (owner) {
        Show(ItemNamed(owner, "mNone"), false);
        Show(ItemNamed(owner, "None1"), false);
        for (int i = 0; i < MaxRecentFiles; ++i) {
            Show(ItemNamed(owner, Numbered("m", i)), false);
            Show(ItemNamed(owner, Numbered("pr", i)), false);
        }
    }
    PruneRecentFiles(list);
    if (!owner)
        return;
    // Checked after the files are: a list of files that are all gone ends
    // empty too, and the menus must not be left without an item.
    if (list.Count() == 0) {
        Show(ItemNamed(owner, "mNone"), true);
        Show(ItemNamed(owner, "None1"), true);
        return;
    }
    for (int i = 0; i < list.Count(); ++i) {
        const std::string caption = RecentCaption(i, list[i]);
        for (const char* prefix : {"m", "pr"}) {
            const std::string name = Numbered(prefix, i);
            if (TMenuItem* item = ItemNamed(owner, name)) {
                item->SetCaption(caption);
                item->SetVisible(true);
            }
        }
    }
}

void RebuildRecentMenu(TStrings& list) { RebuildRecentMenu(list, Main); }

void AddRecent(const std::string& path)
{
    if (RecentFilesHold(RecentFiles, path))
        return;
    RecentFiles.Insert(0, path);
    RebuildRecentMenu(RecentFiles);
}

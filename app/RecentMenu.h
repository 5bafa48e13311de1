#pragma once
// The main window's Reopen submenu and its popup twin, rebuilt from the
// recent-files list, and the one way paths join that list.

#include "StringList.h"

#include <string>

class TComponent;

// Brings list (always RecentFiles) to at most 8 entries whose files exist,
// then shows entry i as item m<i> of the Reopen submenu and pr<i> of the
// popup, captioned RecentCaption(i, path), with every other entry item
// hidden. An empty list shows only "None" (mNone and None1). The items are
// found by name on owner; without one only the list is brought in order.
void RebuildRecentMenu(TStrings& list, TComponent* owner);
// The same on the main window, or on the list alone while there is none.
void RebuildRecentMenu(TStrings& list);

// Called with the path of every outline opened or saved: unless RecentFiles
// already holds it (in any letter case; it then keeps its place), the path
// goes to the front and the menus are rebuilt.
void AddRecent(const std::string& path);

#include "ApFileFilter.h"

#include "Control.h"
#include "ShellFolderNames.h"

#include <commctrl.h>

#include <ranges>
#include <vector>

namespace {
bool IsExistingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell view keeps each entry's item list, relative to its folder, as
// the entry's data.
LPCITEMIDLIST EntryItem(HWND listView, int index)
{
    LVITEMA entry{};
    entry.mask = LVIF_PARAM;
    entry.iItem = index;
    if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry)))
        return nullptr;
    return reinterpret_cast<LPCITEMIDLIST>(entry.lParam);
}
}

int TApFileFilter::ProcessViaFilter(HWND listView, LPCITEMIDLIST folder) const
{
    if (!Enabled || !listView)
        return 0;
    const TShellFolderNames names(folder);
    if (!names.Bound())
        return 0;
    const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    std::vector<int> refused;
    for (int index = 0; index < count; ++index) {
        const std::string path = names.PathOf(EntryItem(listView, index));
        if (path.empty())
            continue;
        if (IsExistingFolder(path)) {
            if (!ShowFolders)
                refused.push_back(index);
            continue;
        }
        bool include = true;
        if (OnIncludeFile)
            OnIncludeFile(sender_, path, include);
        if (!include)
            refused.push_back(index);
    }
    // A list that draws would redraw and rescroll after every removal; one
    // whose drawing is off already (its owner is filling it) is left so.
    const bool drawing = !refused.empty() && IsWindowVisible(listView);
    TRedrawSuspension redraw;
    if (drawing)
        redraw.Suspend(listView);
    for (int index : refused | std::views::reverse)
        SendMessageA(listView, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (drawing) {
        redraw.Resume(listView);
        InvalidateRect(listView, nullptr, TRUE);
    }
    return static_cast<int>(refused.size());
}

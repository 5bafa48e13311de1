#pragma once
// Where places point: the names and item lists of the shell folders, paths
// kept in registry string values, and the item identifier lists the shell
// describes folders with.

#include "Places.h"

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

// Owns an item list of the shell's allocator and frees it when it goes.
class ItemIdList {
public:
    ItemIdList() = default;
    explicit ItemIdList(LPITEMIDLIST list) : list_(list) {}
    ~ItemIdList() { Reset(); }
    ItemIdList(ItemIdList&& other) noexcept : list_(other.Release()) {}
    ItemIdList& operator=(ItemIdList&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;

    LPITEMIDLIST Get() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }
    LPITEMIDLIST Release()
    {
        LPITEMIDLIST list = list_;
        list_ = nullptr;
        return list;
    }
    void Reset(LPITEMIDLIST list = nullptr);

private:
    LPITEMIDLIST list_ = nullptr;
};

// The shell's desktop folder, released when it goes.
class DesktopFolder {
public:
    DesktopFolder();
    ~DesktopFolder();
    DesktopFolder(const DesktopFolder&) = delete;
    DesktopFolder& operator=(const DesktopFolder&) = delete;
    IShellFolder* Get() const { return folder_; }

private:
    IShellFolder* folder_ = nullptr;
};

// The item after this one; null at the terminating zero size.
LPITEMIDLIST GetNextItemID(LPCITEMIDLIST item);
// The bytes of the whole list with its terminator (2 bytes).
UINT GetPIDLSize(LPCITEMIDLIST list);
// A copy of the list's first item alone, in the shell's allocator.
ItemIdList CreatePIDLCopy(LPCITEMIDLIST list);
// Parses a path through the desktop folder; raises "Error getting
// IShellFolder interface" without one and "Error parsing folder name to
// PIDL(does folder exist?)" for a path the shell does not know.
ItemIdList CreatePIDLFromPath(IShellFolder* desktop, const std::string& path);
// The file system path of a list; empty when it has none.
std::string GetPathFromPIDL(LPCITEMIDLIST list);
// Whether the desktop folder takes two lists for the same item.
bool SameItem(IShellFolder* desktop, LPCITEMIDLIST a, LPCITEMIDLIST b);

// The shell's folder identifier of a special folder.
int SpecFolderCsidl(TApSpecShellFolder folder);
// The file system path of a shell folder (by identifier); empty when none.
std::string ShellFolderPath(int csidl);

// A string of the shell's own library; empty when it has none.
std::string LoadShellString(UINT id);

// The shell folder's display name, with fallbacks for systems that give none.
std::string GetSpecFolderName(TApSpecShellFolder folder);
// The names of the four offered folders, in their list order.
std::vector<std::string> GetSpecFolders();
// The place's effective caption, shell folder names included.
std::string GetPlaceName(const TApPlace& place);

// The string value a registry spec names under the current user's hive:
// "\Key\Path\Value", or a plain value name under Explorer's "Shell Folders"
// key. Empty for an empty spec, a key that cannot be opened or a value that
// is not a string.
std::string ExtractRegStringValue(const std::string& spec);

// The path a plain place points at: its registry value when it has a spec,
// else its path.
std::string PlaceTargetPath(const TApPlace& place);
// The place's location as an item list; null when its folder cannot be
// found (the place then matches nothing).
ItemIdList GetPlacePidl(const TApPlace& place, IShellFolder* desktop);

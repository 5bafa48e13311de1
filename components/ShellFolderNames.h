#pragma once
// The file system names of the items of one shell folder, asked of the
// folder itself: an item list is relative to its folder, and virtual items
// (the desktop's Documents, My Computer) have no file system name at all.

#include <windows.h>

#include <shlobj.h>

#include <string>

class TShellFolderNames {
public:
    // Binds the folder of an absolute item list (the desktop for an empty
    // one); Bound() is false when the shell cannot.
    explicit TShellFolderNames(LPCITEMIDLIST folder);
    ~TShellFolderNames();
    TShellFolderNames(const TShellFolderNames&) = delete;
    TShellFolderNames& operator=(const TShellFolderNames&) = delete;

    bool Bound() const { return folder_ != nullptr; }
    // The full path of an item of the folder; empty when it has none.
    std::string PathOf(LPCITEMIDLIST item) const;

private:
    IShellFolder* folder_ = nullptr;
};

// True for "C:\..." and "\\server\...": names the file system can open.
bool IsFileSystemPath(const std::string& name);

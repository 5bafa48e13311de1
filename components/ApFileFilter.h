#pragma once
// The file list filter of the extended file dialog: entries of the shell's
// file list refused by a rule or an event are taken out of the list.

#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <string>

class TComponent;

// The full name of a file of the folder shown; clear includeFile (it starts
// true) to take it out of the list.
using TApFileFilterEvent = std::function<void(TComponent* sender, const std::string& fileName, bool& includeFile)>;

class TApFileFilter {
public:
    // The sender the event names: the dialog.
    explicit TApFileFilter(TComponent* sender = nullptr) : sender_(sender) {}

    bool ShowFolders = true;
    bool Enabled = false;
    TApFileFilterEvent OnIncludeFile;

    // One pass over the shell's file list of the folder (an absolute item
    // list): every refused entry is removed at once, highest index first, so
    // the indices still to remove stay right and a second pass removes
    // nothing. Entries without a file system name stay. Returns how many went.
    int ProcessViaFilter(HWND listView, LPCITEMIDLIST folder) const;

private:
    TComponent* sender_;
};

// Send To: a shortcut to the outline on the desktop, and a copy of its file
// on the floppy drive.
#include "SendCommands.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "FileHandle.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "OpenOutline.h"
#include "ProductNames.h"
#include "SafeFileWriter.h"
#include "SharedState.h"
#include "ShellShortcuts.h"

#include <windows.h>

#include <vector>

namespace {
const char* const SaveFirstText = "Save your outline first!";
const char* const SaveBeforeSendQuestion =
    "Current file is changed. Whould you like to save changes before sending it?";
const char* const InsertDiskText = "Please insert disk in drive A: and then click retry!";
const char* const OverwriteQuestion = "File exists. Overwrite?";
const char* const CopiedText = "File saved succesfully!";
const char* const CopyFailedText = "Error saving file! (Write protect enabled or not enought free space!)";

std::string& FloppyRootOverride()
{
    static std::string root;
    return root;
}

// The process's current folder, given back when the command ends: a folder
// left on the floppy would later take relative paths there and keep the
// drive busy.
class TCurrentFolderKeeper {
public:
    TCurrentFolderKeeper()
    {
        const DWORD length = GetCurrentDirectoryA(0, nullptr);
        std::vector<char> folder(length + 1);
        if (length > 0 && GetCurrentDirectoryA(length + 1, folder.data()) <= length)
            folder_ = folder.data();
    }
    ~TCurrentFolderKeeper()
    {
        if (!folder_.empty())
            SetCurrentDirectoryA(folder_.c_str());
    }
    TCurrentFolderKeeper(const TCurrentFolderKeeper&) = delete;
    TCurrentFolderKeeper& operator=(const TCurrentFolderKeeper&) = delete;

private:
    std::string folder_;
};

// An empty drive answers with a failure instead of the system's own box: the
// command asks for the disk in its own words.
class TNoDriveErrorBoxes {
public:
    TNoDriveErrorBoxes() : former_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(former_ | SEM_FAILCRITICALERRORS); }
    ~TNoDriveErrorBoxes() { SetErrorMode(former_); }
    TNoDriveErrorBoxes(const TNoDriveErrorBoxes&) = delete;
    TNoDriveErrorBoxes& operator=(const TNoDriveErrorBoxes&) = delete;

private:
    UINT former_;
};

// Makes the drive's root the current folder, asking for a disk while it
// cannot; false when the user gives up.
bool EnterFloppy(const std::string& root)
{
    while (!SetCurrentDirectoryA(root.c_str())) {
        if (Application.MessageBox(InsertDiskText, ProductCaption, MB_RETRYCANCEL | MB_ICONINFORMATION) != IDRETRY)
            return false;
    }
    return true;
}
}

std::string FloppyRoot() { return FloppyRootOverride().empty() ? "a:\\" : FloppyRootOverride(); }

void SetFloppyRoot(const std::string& root) { FloppyRootOverride() = root; }

void TMain::mDesktopClick(TComponent*)
{
    if (CurrentFileName == UntitledFileName) {
        ShowInfoMessage(SaveFirstText);
        return;
    }
    // A shortcut that cannot be made is not reported.
    CreateDesktopShortcut(CurrentFileName, ChangeFileExt(ExtractFileName(CurrentFileName), "") + ".lnk");
}

void TMain::m144FloppyClick(TComponent*)
{
    if (CurrentFileName == UntitledFileName) {
        ShowInfoMessage(SaveFirstText);
        return;
    }
    // What goes to the disk is the file: unsaved changes would be missing
    // from it, and a save that did not happen must not be copied as if it had.
    if (!SaveChangesFirst(SaveBeforeSendQuestion))
        return;
    const std::string root = FloppyRoot();
    TCurrentFolderKeeper keeper;
    TNoDriveErrorBoxes quiet;
    if (!EnterFloppy(root))
        return;
    const std::string target = root + ExtractFileName(CurrentFileName);
    if (FileExists(target)
        && Application.MessageBox(OverwriteQuestion, ProductCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    // A copy that fails on a full disk keeps the copy the disk held before.
    if (CopyFileSafely(CurrentFileName, target) == SafeWriteResult::Ok)
        ShowInfoMessage(CopiedText);
    else
        ShowInfoMessage(CopyFailedText);
}

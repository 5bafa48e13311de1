// The main window's own start-up steps, after its first activation has
// loaded and applied the settings, and the choice of the outline it starts
// with.
#include "Main.h"

#include "Application.h"
#include "CommandLine.h"
#include "ExportProfiles.h"
#include "ExportProfilesRegistry.h"
#include "FileHandle.h"
#include "HelpTopics.h"
#include "MainLifecycle.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "Pages.h"
#include "ProgramFolder.h"
#include "RecentFiles.h"
#include "RecentMenu.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "Splash.h"
#include "TreeView.h"

namespace {

// Starts Quillo without opening any outline.
const char* const NoOutlineSwitch = "/m";

// An unquoted path with blanks in it reaches the program as several
// arguments: they are joined again, one blank apart, until they name a file.
std::string StartupPathFromArguments(const std::vector<std::string>& arguments)
{
    std::string path = arguments.front();
    for (std::size_t next = 1; !FileExists(path) && next < arguments.size(); ++next)
        path += " " + arguments[next];
    return path;
}

} // namespace

void TMain::StartUp()
{
    TTreeNode* root = Tree->Items().GetFirstNode();
    AttachNewPageData(root);
    root->SetText(UntitledFileName);
    FExportProfiles = std::make_unique<ExportProfileList>();
    CreateExportProfilesKey();
    // The program entry names the help file; it lives beside the program.
    Application.SetHelpFile(ExeFolder() + Application.HelpFile());
    OpenStartupOutline();
    UpdateMenus();
    UpdateMoveCommands();
    if (OptionSettings.FirstUse) {
        ShowHelpContents(Application.HelpFile());
        // Saved with the other options at close.
        OptionSettings.FirstUse = false;
    }
}

void TMain::OpenStartupOutline()
{
    CloseSplash();
    if (lifecycle_->startupOutlineChosen)
        return;
    lifecycle_->startupOutlineChosen = true;
    const std::vector<std::string> arguments = CommandLineArguments();
    if (!arguments.empty()) {
        if (arguments.front() == NoOutlineSwitch)
            return;
        const std::string path = StartupPathFromArguments(arguments);
        if (OpenStartupFile(path))
            AddRecent(path);
    } else if (UserSettings.Startup && UserSettings.UseLast && UserSettings.LastDb != UntitledFileName) {
        // A last outline that has gone leaves the untitled outline as it is.
        if (!FileExists(UserSettings.LastDb))
            return;
        OpenStartupFile(UserSettings.LastDb);
    } else if (UserSettings.Startup && !UserSettings.UseLast && FileExists(UserSettings.CustomFile)) {
        OpenStartupFile(UserSettings.CustomFile);
    }
    ClearHistory();
    PushHistory(Tree->Selected());
    TreeClick();
}

bool TMain::OpenStartupFile(const std::string& path)
{
    if (!LoadOutline(path)) {
        bNewClick(this);
        return false;
    }
    CurrentFileName = path;
    Retitle();
    return true;
}

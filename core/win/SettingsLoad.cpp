#include "SettingsLoad.h"

#include "RecentFiles.h"
#include "SettingsRoot.h"
#include "SharedState.h"

#include <functional>
#include <vector>

namespace {

using Writer = std::function<void()>;

bool SettingsKeyExists(const char* key)
{
    return SettingsRegistry().KeyExists("\\" + SettingsRoot() + "\\" + key);
}

bool NoSettingsKeyExists()
{
    return !SettingsKeyExists("User") && !SettingsKeyExists("Options") && !SettingsKeyExists("Reopen");
}

// Option groups 1 to 5, from the first one to write.
std::vector<Writer> OptionWritersFrom(int firstGroup, const ViewMenuChecks& view)
{
    const std::vector<Writer> all = {
        [view] { WriteGeneralOptions(OptionSettings, view); },
        [] { WriteDateOptions(OptionSettings); },
        [] { WriteBehaviourOptions(OptionSettings); },
        [] { WriteFolderOptions(OptionSettings); },
        [] { WriteWebOptions(OptionSettings); },
    };
    return {all.begin() + (firstGroup - 1), all.end()};
}

// Reads the option groups 2 to 5; the first that fails is written back with
// the groups after it.
void ReadLaterOptionGroups(const ViewMenuChecks& view)
{
    if (!ReadDateOptions(OptionSettings)) {
        WriteSettingsReporting(OptionWritersFrom(2, view));
        return;
    }
    if (!ReadBehaviourOptions(OptionSettings)) {
        // A store that lost its behaviour group is not a first use.
        OptionSettings.FirstUse = false;
        WriteSettingsReporting(OptionWritersFrom(3, view));
        return;
    }
    if (!ReadFolderOptions(OptionSettings)) {
        WriteSettingsReporting(OptionWritersFrom(4, view));
        return;
    }
    if (!ReadWebOptions(OptionSettings))
        WriteSettingsReporting(OptionWritersFrom(5, view));
}

} // namespace

void LoadSettings(const std::string& programFolder, const ViewMenuChecks& view)
{
    if (SettingsKeysMissing()) {
        const bool firstRun = NoSettingsKeyExists();
        CreateSettingsKeys();
        if (firstRun) {
            WriteSettingsReporting({[] { WriteUserSettings(UserSettings); },
                                    [view] { WriteGeneralOptions(OptionSettings, view); }});
            return;
        }
    }
    if (ReadUserSettings(UserSettings) && ReadGeneralOptions(OptionSettings)) {
        ReadLaterOptionGroups(view);
    } else {
        CreateSettingsKeys();
        SetDefaultUserSettings(UserSettings, programFolder);
        SetDefaultOptions(OptionSettings, programFolder);
        std::vector<Writer> writers = {[] { WriteUserSettings(UserSettings); }};
        for (Writer& writer : OptionWritersFrom(1, view))
            writers.push_back(std::move(writer));
        WriteSettingsReporting(writers);
    }
    if (!ReadDialogStates(DialogStates))
        ClearDialogStates(DialogStates);
    RecentFiles.Assign(*LoadRecentFiles());
}

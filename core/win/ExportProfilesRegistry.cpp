#include "ExportProfilesRegistry.h"

#include "Registry.h"
#include "SettingsRoot.h"

bool CreateExportProfilesKey()
{
    TRegistry registry;
    const std::string path = "\\" + SettingsRoot() + "\\ExportProfiles";
    if (!registry.OpenKey(path, true))
        return false;
    registry.CloseKey();
    return registry.KeyExists(path);
}

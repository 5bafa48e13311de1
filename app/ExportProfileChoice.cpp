#include "ExportProfileChoice.h"

#include "DeleteDialog.h"
#include "ExportProfiles.h"
#include "Main.h"
#include "StdCtrls.h"

namespace {
std::string ChosenName(const TComboBox& list)
{
    const int index = list.ItemIndex();
    return index >= 0 ? list.Items()[index] : std::string();
}
} // namespace

void FillExportProfileList(TComboBox& list, const std::string& preferred)
{
    list.Items().Clear();
    list.Items().Add(DefaultExportProfileName);
    const int found = list.Items().IndexOf(preferred);
    list.SetItemIndex(found >= 0 ? found : 0);
}

void ChooseExportProfile(TComboBox& list, TButton& remove)
{
    const std::string name = ChosenName(list);
    remove.SetEnabled(name != DefaultExportProfileName);
    ExportProfileList& profiles = *Main->FExportProfiles;
    profiles.SetCurrent(FindExportProfile(profiles, name));
}

void RemoveChosenExportProfile(TComboBox& list, TButton& remove)
{
    const std::string name = ChosenName(list);
    if (!ConfirmDelete("Are you sure you want to delete '" + name + "' profile?"))
        return;
    ExportProfileList& profiles = *Main->FExportProfiles;
    RemoveExportProfile(profiles, FindExportProfile(profiles, name));
    if (const int index = list.ItemIndex(); index >= 0)
        list.Items().Delete(index);
    list.SetItemIndex(0);
    ChooseExportProfile(list, remove);
}

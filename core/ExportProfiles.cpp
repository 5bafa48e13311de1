#include "ExportProfiles.h"

#include "AnsiStrings.h"

#include <algorithm>

ExportProfileList::ExportProfileList()
{
    profiles_.push_back(std::make_unique<ExportProfile>(DefaultExportProfileName));
    current_ = profiles_.front().get();
}

ExportProfile* ExportProfileList::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return profiles_[static_cast<std::size_t>(index)].get();
}

void ExportProfileList::SetCurrent(ExportProfile* profile)
{
    current_ = Contains(profile) ? profile : Default();
}

ExportProfile* ExportProfileList::Add(const std::string& name)
{
    profiles_.push_back(std::make_unique<ExportProfile>(name));
    return profiles_.back().get();
}

bool ExportProfileList::Contains(const ExportProfile* profile) const
{
    return profile && std::any_of(profiles_.begin(), profiles_.end(),
                          [profile](const auto& held) { return held.get() == profile; });
}

ExportProfile* FindExportProfile(const ExportProfileList& list, const std::string& name)
{
    const std::string wanted = AnsiLowerCase(name);
    for (int index = 0; index < list.Count(); ++index) {
        ExportProfile* profile = list.Items(index);
        if (AnsiLowerCase(profile->Name) == wanted)
            return profile;
    }
    return nullptr;
}

bool RemoveExportProfile(ExportProfileList& list, ExportProfile* profile)
{
    if (!list.Contains(profile) || profile == list.Default())
        return false;
    const bool wasCurrent = list.current_ == profile;
    std::erase_if(list.profiles_, [profile](const auto& held) { return held.get() == profile; });
    if (wasCurrent)
        list.current_ = list.Default();
    return true;
}

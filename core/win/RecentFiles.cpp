#include "RecentFiles.h"

#include "AnsiStrings.h"
#include "Exceptions.h"
#include "FileHandle.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"

#include <windows.h>

#include <algorithm>

namespace {

const char* const CountValue = "Count";
// "&" + one digit + two blanks.
constexpr std::size_t CaptionPrefixLength = 4;

// Closes the shared object's key on every way out, so the next caller starts
// from a clean object.
class KeyCloser {
public:
    explicit KeyCloser(TRegistry& registry) : registry_(registry) {}
    ~KeyCloser() { registry_.CloseKey(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    TRegistry& registry_;
};

// From the root in one go: a missing middle key must fail the open rather
// than leave some other key current.
std::string RootPath()
{
    std::string path = "\\";
    path += SettingsRoot();
    return path;
}

std::string ReopenPath()
{
    std::string path = RootPath();
    path += "\\Reopen";
    return path;
}

[[noreturn]] void RefuseWrite(const std::string& name)
{
    throw ERegistryException(FormatMessageText("Failed to set data for '%s'", name));
}

// Keeps the system from asking for a disk while a path on a removable drive
// is checked; restores the former mode afterwards.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() : former_(SetErrorMode(SEM_FAILCRITICALERRORS))
    {
        // Keep whatever else the process had asked for.
        SetErrorMode(former_ | SEM_FAILCRITICALERRORS);
    }
    ~NoCriticalErrorBoxes() { SetErrorMode(former_); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    UINT former_;
};

} // namespace

std::unique_ptr<TStringList> LoadRecentFiles()
{
    auto list = std::make_unique<TStringList>();
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    try {
        if (!registry.OpenKey(ReopenPath(), false))
            return list;
        const int count = std::min(registry.ReadInteger(CountValue), MaxRecentFiles);
        for (int i = 0; i < count; ++i)
            list->Add(registry.ReadString(IntToStr(i)));
    } catch (const ERegistryException&) {
        // A damaged list is not worth a word: what was read stands.
    }
    return list;
}

void SaveRecentFiles(const TStrings& list)
{
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    // Only "Reopen" is ours to create; without the settings key the list
    // would land somewhere it is never read from.
    if (!registry.KeyExists(RootPath()) || !registry.OpenKey(ReopenPath(), true))
        RefuseWrite(CountValue);
    const int count = std::min(list.Count(), MaxRecentFiles);
    registry.WriteInteger(CountValue, count);
    for (int i = 0; i < count; ++i)
        registry.WriteString(IntToStr(i), list[i]);
}

void PruneRecentFiles(TStrings& list)
{
    while (list.Count() > MaxRecentFiles)
        list.Delete(list.Count() - 1);
    NoCriticalErrorBoxes quiet;
    for (int i = list.Count() - 1; i >= 0; --i) {
        if (!FileExists(list[i]))
            list.Delete(i);
    }
}

bool RecentFilesHold(const TStrings& list, const std::string& path)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (SameText(list[i], path))
            return true;
    }
    return false;
}

std::string RecentCaption(int index, const std::string& path)
{
    std::string caption = "&";
    caption += IntToStr(index);
    caption += "  ";
    caption += path;
    return caption;
}

std::string RecentPathFromCaption(const std::string& caption)
{
    return caption.size() > CaptionPrefixLength ? caption.substr(CaptionPrefixLength) : std::string();
}

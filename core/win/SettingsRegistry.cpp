#include "SettingsRegistry.h"

#include "Exceptions.h"
#include "SettingsRoot.h"

#include <utility>

namespace {

// Closes the shared object's key on every way out of a reader or writer, so
// the next caller starts from a clean object.
class KeyCloser {
public:
    explicit KeyCloser(TRegistry& registry) : registry_(registry) {}
    ~KeyCloser() { registry_.CloseKey(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    TRegistry& registry_;
};

// A leading backslash makes the object take the path from the root, never
// from whatever key happens to be open.
std::string SettingsPath(const std::string& key)
{
    std::string path = "\\" + SettingsRoot();
    if (!key.empty())
        path += "\\" + key;
    return path;
}

template <class Record>
bool ReadValues(const std::string& key, const SettingValues<Record>& values, Record& record)
{
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    try {
        if (!registry.OpenKey(SettingsPath(key), false))
            return false;
        for (const SettingValue<Record>& value : values) {
            if (value.use == SettingUse::WriteOnly)
                continue;
            if (value.onlyWhen && !(record.*value.onlyWhen))
                continue;
            switch (value.Kind()) {
            case SettingKind::Bool:
                record.*std::get<bool Record::*>(value.member) = registry.ReadBool(value.name);
                break;
            case SettingKind::Int:
                record.*std::get<int Record::*>(value.member) = registry.ReadInteger(value.name);
                break;
            case SettingKind::String: {
                std::string& text = record.*std::get<std::string Record::*>(value.member);
                text = registry.ReadString(value.name);
                if (value.use == SettingUse::NonEmpty && text.empty())
                    return false;
                break;
            }
            }
        }
    } catch (const ERegistryException&) {
        // A reader's failure is an answer, not an error: the caller repairs
        // the group by writing it back.
        return false;
    }
    return true;
}

template <class Record>
void WriteValues(const std::string& key, const SettingValues<Record>& values, const Record& record, bool canCreate)
{
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    // Without its key no value of the group can be written: say so in the
    // words a refused write would use rather than write somewhere else.
    const auto refuse = [&values]() {
        throw ERegistryException(
            FormatMessageText("Failed to set data for '%s'", values.empty() ? std::string() : values.front().name));
    };
    if (canCreate && !registry.KeyExists(SettingsPath({})))
        refuse(); // only the last component is ours to create
    if (!registry.OpenKey(SettingsPath(key), canCreate))
        refuse();
    for (const SettingValue<Record>& value : values) {
        switch (value.Kind()) {
        case SettingKind::Bool:
            registry.WriteBool(value.name, record.*std::get<bool Record::*>(value.member));
            break;
        case SettingKind::Int:
            registry.WriteInteger(value.name, record.*std::get<int Record::*>(value.member));
            break;
        case SettingKind::String:
            registry.WriteString(value.name, record.*std::get<std::string Record::*>(value.member));
            break;
        }
    }
}

const char* const OptionsKey = "Options";
const char* const UserKey = "User";
const char* const StatesKey = "States";
const char* const ReopenKey = "Reopen";

SettingsErrorReporter& Reporter()
{
    static SettingsErrorReporter reporter;
    return reporter;
}

} // namespace

TRegistry& SettingsRegistry()
{
    static TRegistry registry; // HKEY_CURRENT_USER, full access
    return registry;
}

bool ReadGeneralOptions(TOptionSettings& options) { return ReadValues(OptionsKey, GeneralOptionValues(), options); }
bool ReadDateOptions(TOptionSettings& options) { return ReadValues(OptionsKey, DateOptionValues(), options); }
bool ReadBehaviourOptions(TOptionSettings& options)
{
    return ReadValues(OptionsKey, BehaviourOptionValues(), options);
}
bool ReadFolderOptions(TOptionSettings& options) { return ReadValues(OptionsKey, FolderOptionValues(), options); }
bool ReadWebOptions(TOptionSettings& options) { return ReadValues(OptionsKey, WebOptionValues(), options); }
bool ReadUserSettings(TUserSettings& user) { return ReadValues(UserKey, UserSettingValues(), user); }
bool ReadDialogStates(TDialogStates& states) { return ReadValues(StatesKey, DialogStateReadValues(), states); }

void WriteGeneralOptions(const TOptionSettings& options)
{
    WriteValues(OptionsKey, GeneralOptionValues(), options, false);
}

void WriteGeneralOptions(const TOptionSettings& options, const ViewMenuChecks& view)
{
    TOptionSettings shown = options;
    shown.NormalView = view.normal;
    shown.OutlineView = view.outline;
    WriteGeneralOptions(shown);
}

void WriteDateOptions(const TOptionSettings& options) { WriteValues(OptionsKey, DateOptionValues(), options, false); }
void WriteBehaviourOptions(const TOptionSettings& options)
{
    WriteValues(OptionsKey, BehaviourOptionValues(), options, false);
}
void WriteFolderOptions(const TOptionSettings& options)
{
    WriteValues(OptionsKey, FolderOptionValues(), options, false);
}
void WriteWebOptions(const TOptionSettings& options) { WriteValues(OptionsKey, WebOptionValues(), options, false); }
void WriteUserSettings(const TUserSettings& user) { WriteValues(UserKey, UserSettingValues(), user, false); }
void WriteDialogStates(const TDialogStates& states)
{
    WriteValues(StatesKey, DialogStateWriteValues(), states, true);
}

bool SettingsKeysMissing()
{
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    if (!registry.OpenKey(SettingsPath({}), true))
        return true;
    return !(registry.KeyExists(UserKey) && registry.KeyExists(OptionsKey) && registry.KeyExists(ReopenKey));
}

bool CreateSettingsKeys()
{
    TRegistry& registry = SettingsRegistry();
    registry.CloseKey();
    KeyCloser closer(registry);
    if (!registry.OpenKey(SettingsPath({}), true))
        return false;
    bool created = true;
    for (const char* key : {UserKey, OptionsKey, ReopenKey})
        created = registry.CreateKey(key) && created;
    return created;
}

void SetSettingsErrorReporter(SettingsErrorReporter reporter) { Reporter() = std::move(reporter); }

bool WriteSettingsReporting(const std::vector<std::function<void()>>& writers)
{
    std::string firstError;
    bool failed = false;
    for (const auto& writer : writers) {
        try {
            writer();
        } catch (const ERegistryException& e) {
            if (!failed)
                firstError = e.what();
            failed = true;
        }
    }
    if (failed && Reporter())
        Reporter()(firstError);
    return !failed;
}

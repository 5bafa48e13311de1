#include "SettingsRecords.h"

#include "AnsiStrings.h"

#include <utility>

TOptionSettings OptionSettings;
TUserSettings UserSettings;
TDialogStates DialogStates;

void SetDefaultOptions(TOptionSettings& options, const std::string& programFolder)
{
    // Start from a fresh record, then put back what "Restore Defaults" keeps.
    TOptionSettings defaults;
    defaults.OutlineColor = options.OutlineColor;
    defaults.PageColor = options.PageColor;
    defaults.OutlineView = options.OutlineView;
    defaults.DefaultProfile = options.DefaultProfile;
    defaults.DocumentsFolder = programFolder;
    defaults.TemplatesFolder = programFolder + "Templates";
    defaults.BackupFolder = programFolder + "Backup files";
    options = std::move(defaults);
}

void SetDefaultUserSettings(TUserSettings& user, const std::string& programFolder)
{
    user = TUserSettings{};
    user.LastDb = programFolder + "Quillo Tutorial.kbf";
    user.CustomFile = programFolder + "Quillo Tutorial.kbf";
}

void ClearDialogStates(TDialogStates& states)
{
    states.PrintKBInitialized = false;
    states.ExportInitialized = false;
    states.PagesInitialized = false;
    states.FindRInitialized = false;
    states.HyperlinkInitialized = false;
    states.DatePickInitialized = false;
    states.SymbolInitialized = false;
    states.OrganizeTemplatesInitialized = false;
    states.OptionsIndex = 0;
}

void RememberFolder(TOptionSettings& options, int kind, const std::string& filePath)
{
    if (!options.UseLastFolder)
        return;
    std::string* folder = nullptr;
    switch (kind) {
    case DocumentsFolderKind: folder = &options.DocumentsFolder; break;
    case TemplatesFolderKind: folder = &options.TemplatesFolder; break;
    case BackupFolderKind: folder = &options.BackupFolder; break;
    case ExternalFolderKind: folder = &options.ExternalFolder; break;
    default: return;
    }
    *folder = ExtractFilePath(filePath);
}

namespace {
using O = TOptionSettings;
using U = TUserSettings;
using D = TDialogStates;
} // namespace

const SettingValues<TOptionSettings>& GeneralOptionValues()
{
    static const SettingValues<O> values = {
        {"StatusBar", &O::StatusBar},
        {"SaveOptions", &O::SaveOptions},
        {"SaveExit", &O::SaveExit},
        {"AutoSave", &O::AutoSave},
        {"DocumentsFolder", &O::DocumentsFolder},
        {"TreeButtons", &O::TreeButtons},
        {"TreeLines", &O::TreeLines},
        {"TreeStates", &O::TreeStates},
        {"TreeImages", &O::TreeImages},
        {"EscMinimize", &O::EscMinimize},
        {"DblClickHyperlink", &O::DblClickHyperlink},
        {"InsInsert", &O::InsInsert},
        {"UseLastFolder", &O::UseLastFolder},
        {"OutlineFontFace", &O::OutlineFontFace},
        {"PageFontFace", &O::PageFontFace},
        {"PrintFontFace", &O::PrintFontFace},
        {"OutlineFontSize", &O::OutlineFontSize},
        {"PageFontSize", &O::PageFontSize},
        {"PrintFontSize", &O::PrintFontSize},
        {"OutlineColor", &O::OutlineColor},
        {"PageColor", &O::PageColor},
        {"Traybar", &O::Traybar},
        {"NormalView", &O::NormalView},
        {"OutlineView", &O::OutlineView},
        {"DeleteConfirm", &O::DeleteConfirm},
    };
    return values;
}

const SettingValues<TOptionSettings>& DateOptionValues()
{
    static const SettingValues<O> values = {
        {"DateTimeFormat", &O::DateTimeFormat},
        {"BackupCopy", &O::BackupCopy},
    };
    return values;
}

const SettingValues<TOptionSettings>& BehaviourOptionValues()
{
    static const SettingValues<O> values = {
        {"InPlace", &O::InPlace},
        {"DefaultProfile", &O::DefaultProfile},
        {"FirstUse", &O::FirstUse},
        {"SortWholeOutline", &O::SortWholeOutline},
        {"SortType", &O::SortType},
    };
    return values;
}

const SettingValues<TOptionSettings>& FolderOptionValues()
{
    static const SettingValues<O> values = {
        {"TemplatesFolder", &O::TemplatesFolder},
        {"BackupFolder", &O::BackupFolder},
        {"ExternalFolder", &O::ExternalFolder},
        {"Email", &O::Email},
    };
    return values;
}

const SettingValues<TOptionSettings>& WebOptionValues()
{
    static const SettingValues<O> values = {
        {"SupportFolder", &O::SupportFolder},
        {"OriginalImages", &O::OriginalImages},
        {"AllowHtml", &O::AllowHtml},
        {"ExtraHead", &O::ExtraHead},
    };
    return values;
}

const SettingValues<TUserSettings>& UserSettingValues()
{
    static const SettingValues<U> values = {
        {"Name", &U::Name},
        {"Startup", &U::Startup},
        {"UseLast", &U::UseLast},
        {"LastDb", &U::LastDb},
        // Written as a boolean; any value other than 0 reads as maximized.
        {"Maximized", &U::Maximized},
        {"Toolbar", &U::Toolbar},
        {"Height", &U::Height},
        {"Width", &U::Width},
        {"TreeWidth", &U::TreeWidth},
        {"XPos", &U::XPos},
        {"YPos", &U::YPos},
        {"CustomFile", &U::CustomFile},
        // Older installations look for it; nothing here reads it.
        {"ShowWelcome", &U::Toolbar, nullptr, SettingUse::WriteOnly},
    };
    return values;
}

const SettingValues<TDialogStates>& DialogStateReadValues()
{
    static const SettingValues<D> values = {
        {"PrintKBInitialized", &D::PrintKBInitialized},
        {"PrintKBTop", &D::PrintKBTop, &D::PrintKBInitialized},
        {"PrintKBLeft", &D::PrintKBLeft, &D::PrintKBInitialized},
        {"ExportInitialized", &D::ExportInitialized},
        {"ExportTop", &D::ExportTop, &D::ExportInitialized},
        {"ExportLeft", &D::ExportLeft, &D::ExportInitialized},
        {"ExportSourceEdit", &D::ExportSourceEdit, &D::ExportInitialized},
        {"PagesInitialized", &D::PagesInitialized},
        {"PagesTop", &D::PagesTop, &D::PagesInitialized},
        {"PagesLeft", &D::PagesLeft, &D::PagesInitialized},
        {"PagesNumberEdit", &D::PagesNumberEdit, &D::PagesInitialized},
        {"PagesNameEdit", &D::PagesNameEdit, &D::PagesInitialized},
        {"PagesIncrementEdit", &D::PagesIncrementEdit, &D::PagesInitialized},
        {"PagesFileEdit", &D::PagesFileEdit, &D::PagesInitialized, SettingUse::NonEmpty},
        {"FindRInitialized", &D::FindRInitialized},
        {"FindRTop", &D::FindRTop, &D::FindRInitialized},
        {"FindRLeft", &D::FindRLeft, &D::FindRInitialized},
        {"FindRCase", &D::FindRCase, &D::FindRInitialized},
        {"FindRWhole", &D::FindRWhole, &D::FindRInitialized},
        {"FindRSearchEdit", &D::FindRSearchEdit, &D::FindRInitialized},
        {"DatePickInitialized", &D::DatePickInitialized},
        {"DatePickTop", &D::DatePickTop, &D::DatePickInitialized},
        {"DatePickLeft", &D::DatePickLeft, &D::DatePickInitialized},
        {"SymbolInitialized", &D::SymbolInitialized},
        {"SymbolTop", &D::SymbolTop, &D::SymbolInitialized},
        {"SymbolLeft", &D::SymbolLeft, &D::SymbolInitialized},
        {"OptionsIndex", &D::OptionsIndex},
        {"NewList", &D::NewList},
        {"FromTemplateList", &D::FromTemplateList},
        {"FromTemplateOutline", &D::FromTemplateOutline},
        {"OrganizeTemplatesInitialized", &D::OrganizeTemplatesInitialized},
        {"OrganizeTemplatesTop", &D::OrganizeTemplatesTop, &D::OrganizeTemplatesInitialized},
        {"OrganizeTemplatesLeft", &D::OrganizeTemplatesLeft, &D::OrganizeTemplatesInitialized},
        {"OrganizeTemplatesFilter", &D::OrganizeTemplatesFilter, &D::OrganizeTemplatesInitialized},
    };
    return values;
}

const SettingValues<TDialogStates>& DialogStateWriteValues()
{
    static const SettingValues<D> values = {
        {"PrintKBInitialized", &D::PrintKBInitialized},
        {"PrintKBTop", &D::PrintKBTop},
        {"PrintKBLeft", &D::PrintKBLeft},
        {"ExportInitialized", &D::ExportInitialized},
        {"ExportTop", &D::ExportTop},
        {"ExportLeft", &D::ExportLeft},
        {"ExportSourceEdit", &D::ExportSourceEdit},
        {"PagesInitialized", &D::PagesInitialized},
        {"PagesTop", &D::PagesTop},
        {"PagesLeft", &D::PagesLeft},
        {"PagesNumberEdit", &D::PagesNumberEdit},
        {"PagesNameEdit", &D::PagesNameEdit},
        {"PagesIncrementEdit", &D::PagesIncrementEdit},
        {"PagesFileEdit", &D::PagesFileEdit},
        {"FindRInitialized", &D::FindRInitialized},
        {"FindRTop", &D::FindRTop},
        {"FindRLeft", &D::FindRLeft},
        {"FindRWhole", &D::FindRWhole},
        {"FindRCase", &D::FindRCase},
        {"FindRSearchEdit", &D::FindRSearchEdit},
        {"DatePickInitialized", &D::DatePickInitialized},
        {"DatePickTop", &D::DatePickTop},
        {"DatePickLeft", &D::DatePickLeft},
        {"SymbolInitialized", &D::SymbolInitialized},
        {"SymbolTop", &D::SymbolTop},
        {"SymbolLeft", &D::SymbolLeft},
        {"OptionsIndex", &D::OptionsIndex},
        {"NewList", &D::NewList},
        {"FromTemplateList", &D::FromTemplateList},
        {"FromTemplateOutline", &D::FromTemplateOutline},
        {"OrganizeTemplatesInitialized", &D::OrganizeTemplatesInitialized},
        {"OrganizeTemplatesTop", &D::OrganizeTemplatesTop},
        {"OrganizeTemplatesLeft", &D::OrganizeTemplatesLeft},
        {"OrganizeTemplatesFilter", &D::OrganizeTemplatesFilter},
    };
    return values;
}

#pragma once
// The three settings records Quillo keeps for the whole run, their defaults,
// and the tables that say under which value name and type each field is kept
// in the registry. The tables are the one place the stored form is written
// down: the registry store walks them, and the tests check against them.
//
// Portable on purpose: nothing here knows about the registry itself.

#include <string>
#include <variant>
#include <vector>

// Everything the Options dialog sets, in five value groups.
struct TOptionSettings {
    // group 1 (general)
    bool StatusBar = true;
    bool SaveOptions = false;
    bool SaveExit = false;
    int AutoSave = 0; // minutes between automatic saves; 0 = off
    std::string DocumentsFolder;
    bool TreeButtons = true;
    bool TreeLines = true;
    bool TreeStates = true;
    bool TreeImages = true;
    bool EscMinimize = false;
    bool DblClickHyperlink = true;
    bool InsInsert = false;
    bool UseLastFolder = true;
    std::string OutlineFontFace = "Verdana";
    std::string PageFontFace = "Verdana";
    std::string PrintFontFace = "Verdana";
    int OutlineFontSize = 8;
    int PageFontSize = 8;
    int PrintFontSize = 8;
    int OutlineColor = 0; // kept and written back only
    int PageColor = 0;    // kept and written back only
    int Traybar = 3;      // notification-area icon mode 1-4
    bool NormalView = true;
    bool OutlineView = false;
    bool DeleteConfirm = true;
    // group 2 (date)
    std::string DateTimeFormat;
    bool BackupCopy = false;
    // group 3 (behaviour)
    bool InPlace = true;
    std::string DefaultProfile;
    bool FirstUse = true;
    bool SortWholeOutline = false;
    int SortType = -1; // -1 until a sort key is chosen
    // group 4 (folders and mail)
    std::string TemplatesFolder;
    std::string BackupFolder;
    std::string ExternalFolder = "C:\\My Documents";
    std::string Email = "System Default";
    // group 5 (web page export)
    bool SupportFolder = true;
    bool OriginalImages = true;
    bool AllowHtml = true;
    std::string ExtraHead;

    friend bool operator==(const TOptionSettings&, const TOptionSettings&) = default;
};

struct TUserSettings {
    std::string Name = "Anybody";
    bool Startup = true;
    bool UseLast = true;
    std::string LastDb;
    bool Maximized = false;
    bool Toolbar = true;
    int Height = 472;
    int Width = 638;
    int TreeWidth = 319;
    int XPos = 2; // the main window's top, despite the name: stored files depend on it
    int YPos = 4; // and its left
    std::string CustomFile;

    friend bool operator==(const TUserSettings&, const TUserSettings&) = default;
};

// Where the dialogs stood and what was last entered in them. A group whose
// ...Initialized flag is clear holds nothing: its dialog keeps its designed
// position and inputs.
struct TDialogStates {
    bool PrintKBInitialized = false;
    bool ExportInitialized = false;
    bool PagesInitialized = false;
    bool FindRInitialized = false;
    bool HyperlinkInitialized = false;
    bool DatePickInitialized = false;
    bool SymbolInitialized = false;
    bool OrganizeTemplatesInitialized = false;
    int PrintKBTop = 0;
    int PrintKBLeft = 0;
    // The Export and Pages values are carried from run to run; no window uses them.
    int ExportTop = 0;
    int ExportLeft = 0;
    int ExportSourceEdit = 0;
    int PagesTop = 0;
    int PagesLeft = 0;
    int PagesNumberEdit = 0;
    std::string PagesNameEdit;
    bool PagesIncrementEdit = false;
    std::string PagesFileEdit;
    int FindRTop = 0;
    int FindRLeft = 0;
    bool FindRWhole = false;
    bool FindRCase = false;
    int FindRSearchEdit = 0;
    // The Hyperlink values live only for the run: they are never stored.
    int HyperlinkTop = 0;
    int HyperlinkLeft = 0;
    int HyperlinkTypeEdit = 0;
    std::string HyperlinkAddressEdit;
    bool HyperlinkRelativeEdit = false;
    int DatePickTop = 0;
    int DatePickLeft = 0;
    int SymbolTop = 0;
    int SymbolLeft = 0;
    int OptionsIndex = 0;
    bool NewList = false;
    bool FromTemplateList = false;
    bool FromTemplateOutline = false;
    int OrganizeTemplatesLeft = 0;
    int OrganizeTemplatesTop = 0;
    int OrganizeTemplatesFilter = 0;
};

// The records of the run. The folder defaults depend on where the program
// lives, so start-up completes them with SetDefaultOptions and
// SetDefaultUserSettings before anything reads them.
extern TOptionSettings OptionSettings;
extern TUserSettings UserSettings;
extern TDialogStates DialogStates;

// Fills every option that has a default. OutlineColor, PageColor, OutlineView
// and DefaultProfile keep their values ("Restore Defaults" must not undo
// them). programFolder ends with a backslash.
void SetDefaultOptions(TOptionSettings& options, const std::string& programFolder);
void SetDefaultUserSettings(TUserSettings& user, const std::string& programFolder);
// Clears the eight ...Initialized flags and OptionsIndex; positions and
// inputs stay, but nothing will use them until a dialog sets its flag again.
void ClearDialogStates(TDialogStates& states);

// The kinds of file whose folder RememberFolder keeps.
enum RememberedFolderKind {
    DocumentsFolderKind = 0,
    TemplatesFolderKind = 1,
    BackupFolderKind = 2,
    ExternalFolderKind = 3,
};
// With UseLastFolder set, keeps the folder of filePath (with its trailing
// backslash) as the folder offered next time for that kind of file. Any other
// kind changes nothing.
void RememberFolder(TOptionSettings& options, int kind, const std::string& filePath);

// How a value is kept in the registry: booleans and integers as REG_DWORD,
// strings as REG_SZ.
enum class SettingKind { Bool, Int, String };

enum class SettingUse {
    ReadWrite,
    WriteOnly, // written for others' sake, never read back
    NonEmpty,  // an empty string read back fails the group
};

template <class Record>
struct SettingValue {
    using Member = std::variant<bool Record::*, int Record::*, std::string Record::*>;

    const char* name;
    Member member;
    // Read only while this flag of the record (as read so far) is set.
    bool Record::*onlyWhen = nullptr;
    SettingUse use = SettingUse::ReadWrite;

    // The kind follows from the field's type, so the two cannot disagree.
    SettingKind Kind() const { return static_cast<SettingKind>(member.index()); }
};

template <class Record>
using SettingValues = std::vector<SettingValue<Record>>;

// Value groups in the order they are read and written. Options groups 1-5
// share the key "Options"; the user settings live in "User".
const SettingValues<TOptionSettings>& GeneralOptionValues();
const SettingValues<TOptionSettings>& DateOptionValues();
const SettingValues<TOptionSettings>& BehaviourOptionValues();
const SettingValues<TOptionSettings>& FolderOptionValues();
const SettingValues<TOptionSettings>& WebOptionValues();
const SettingValues<TUserSettings>& UserSettingValues();
// The dialog states are read group by group, skipping a group whose flag is
// clear, but always written whole and in an order of their own.
const SettingValues<TDialogStates>& DialogStateReadValues();
const SettingValues<TDialogStates>& DialogStateWriteValues();

#pragma once
// The places of the file dialogs' places bar: what each place points at, how
// its caption is derived, the ordered list the bar shows, and the numbering
// of the places kept in the registry. Nothing here needs a window.

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The shell's special folders a place can stand for. Only ftDesktop,
// ftDrives, ftPersonal and ftFavorites are offered and understood by the bar.
enum class TApSpecShellFolder {
    ftNone,
    ftRecycleBin,
    ftCommonDesktopDir,
    ftCommonPrograms,
    ftCommonStartMenu,
    ftCommonStartup,
    ftControls,
    ftDesktop,
    ftDesktopDir,
    ftDrives,
    ftFonts,
    ftNethood,
    ftNetwork,
    ftPersonal,
    ftFavorites,
    ftPrinters,
    ftPrograms,
    ftRecent,
    ftSendTo,
    ftStartMenu,
    ftStartup,
    ftTemplates
};

// The number a folder is stored as: the shell's folder identifier, and -1976
// for none.
int SpecFolderRegistryNumber(TApSpecShellFolder folder);
// Reading back understands only the four folders the bar offers; every other
// number is no folder.
TApSpecShellFolder SpecFolderFromRegistry(int number);

// The four folders the bar offers, in the order its lists show them.
inline constexpr TApSpecShellFolder OfferedSpecFolders[] = {
    TApSpecShellFolder::ftDesktop, TApSpecShellFolder::ftDrives, TApSpecShellFolder::ftPersonal,
    TApSpecShellFolder::ftFavorites};
// Position in that list, -1 for the others.
int OfferedSpecFolderIndex(TApSpecShellFolder folder);

class TApPlace {
public:
    // The stored caption; the effective one comes from PlaceCaption.
    std::string PlaceName;
    std::string PlacePath;
    // Names a registry string value that holds the path (see
    // ExtractRegStringValue); wins over PlacePath when set.
    std::string PlaceRegPath;
    TApSpecShellFolder PlaceSpecPath = TApSpecShellFolder::ftNone;
    std::string PlaceDesc;
    std::string PlaceIconDll;
    int PlaceIcon = 0;
    int PlaceHotIcon = 0;
    bool AutoCaption = false;

    bool operator==(const TApPlace&) const = default;
};

// The shell folder's display name, supplied by the caller (it comes from
// the system).
using TSpecFolderNamer = std::function<std::string(TApSpecShellFolder)>;

// The effective caption: the stored one, or with AutoCaption the shell
// folder's name, else the last component of the registry spec or the path
// (the whole folder part when the path ends in a delimiter).
std::string PlaceCaption(const TApPlace& place, const TSpecFolderNamer& folderName);
// "C:\a\b.txt" -> "b.txt"; "C:\a\" -> "C:\a\".
std::string PathCaption(const std::string& path);

// The ordered places of a bar. Places are held by pointer, so a place stays
// where it is in memory while others are added or removed.
class TApPlaces {
public:
    TApPlaces() = default;
    TApPlaces(const TApPlaces& other) { Assign(other); }
    TApPlaces& operator=(const TApPlaces& other)
    {
        if (this != &other)
            Assign(other);
        return *this;
    }

    int Count() const { return static_cast<int>(items_.size()); }
    TApPlace& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TApPlace& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    // The index of a place of this list, -1 for any other.
    int IndexOf(const TApPlace* place) const;

    TApPlace& Add();
    TApPlace& Insert(int index);
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Copies every place.
    void Assign(const TApPlaces& other);
    // The place at from goes to to; those in between shift by one towards from.
    void Move(int from, int to);

    // The first place with the exact caption name when both it and folder are
    // no shell folder, or the first of that shell folder; null when none.
    TApPlace* PlaceViaName(const std::string& name, TApSpecShellFolder folder);

private:
    std::vector<std::unique_ptr<TApPlace>> items_;
};

// The subkey that holds place n: "Place_" and n in decimal.
std::string PlaceKeyName(int index);
// The stored places in the order they were saved: "Place_<n>" by n (the
// registry lists Place_10 before Place_2), any other names after them, as
// listed.
std::vector<std::string> OrderPlaceKeys(const std::vector<std::string>& listed);

// A caption drawn on a place button: whole when it fits in the button width
// less 4, else the longest beginning that with "..." fits in the width less
// the dots and 6.
struct TFittedCaption {
    std::string text;
    bool shortened = false;
};
TFittedCaption FitCaption(const std::string& caption, int buttonWidth,
                          const std::function<int(const std::string&)>& textWidth);

#include "Places.h"

#include "AnsiStrings.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {
struct FolderNumber {
    TApSpecShellFolder folder;
    int number;
};

constexpr FolderNumber FolderNumbers[] = {
    {TApSpecShellFolder::ftNone, -1976},           {TApSpecShellFolder::ftRecycleBin, 10},
    {TApSpecShellFolder::ftCommonDesktopDir, 25},  {TApSpecShellFolder::ftCommonPrograms, 23},
    {TApSpecShellFolder::ftCommonStartMenu, 22},   {TApSpecShellFolder::ftCommonStartup, 24},
    {TApSpecShellFolder::ftControls, 3},           {TApSpecShellFolder::ftDesktop, 0},
    {TApSpecShellFolder::ftDesktopDir, 16},        {TApSpecShellFolder::ftDrives, 17},
    {TApSpecShellFolder::ftFonts, 20},             {TApSpecShellFolder::ftNethood, 19},
    {TApSpecShellFolder::ftNetwork, 18},           {TApSpecShellFolder::ftPersonal, 5},
    {TApSpecShellFolder::ftFavorites, 6},          {TApSpecShellFolder::ftPrinters, 4},
    {TApSpecShellFolder::ftPrograms, 2},           {TApSpecShellFolder::ftRecent, 8},
    {TApSpecShellFolder::ftSendTo, 9},             {TApSpecShellFolder::ftStartMenu, 11},
    {TApSpecShellFolder::ftStartup, 7},            {TApSpecShellFolder::ftTemplates, 21},
};

const std::string PlaceKeyPrefix = "Place_";

// The number of a "Place_<n>" name as its digits without leading zeros, so
// that numbers of any length compare without overflowing; false for any
// other name.
bool PlaceKeyNumber(const std::string& name, std::string& digits)
{
    if (name.size() <= PlaceKeyPrefix.size() || !SameText(name.substr(0, PlaceKeyPrefix.size()), PlaceKeyPrefix))
        return false;
    digits = name.substr(PlaceKeyPrefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return false;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    return true;
}

bool NumberLess(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}
} // namespace

int SpecFolderRegistryNumber(TApSpecShellFolder folder)
{
    for (const FolderNumber& entry : FolderNumbers)
        if (entry.folder == folder)
            return entry.number;
    return -1976;
}

TApSpecShellFolder SpecFolderFromRegistry(int number)
{
    switch (number) {
    case 0:
        return TApSpecShellFolder::ftDesktop;
    case 5:
        return TApSpecShellFolder::ftPersonal;
    case 6:
        return TApSpecShellFolder::ftFavorites;
    case 17:
        return TApSpecShellFolder::ftDrives;
    default:
        return TApSpecShellFolder::ftNone;
    }
}

int OfferedSpecFolderIndex(TApSpecShellFolder folder)
{
    const auto found = std::find(std::begin(OfferedSpecFolders), std::end(OfferedSpecFolders), folder);
    return found == std::end(OfferedSpecFolders) ? -1 : static_cast<int>(found - std::begin(OfferedSpecFolders));
}

std::string PathCaption(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return name.empty() ? ExtractFilePath(path) : name;
}

std::string PlaceCaption(const TApPlace& place, const TSpecFolderNamer& folderName)
{
    if (!place.AutoCaption)
        return place.PlaceName;
    if (place.PlaceSpecPath != TApSpecShellFolder::ftNone)
        return folderName ? folderName(place.PlaceSpecPath) : std::string();
    return PathCaption(!place.PlaceRegPath.empty() ? place.PlaceRegPath : place.PlacePath);
}

int TApPlaces::IndexOf(const TApPlace* place) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == place)
            return static_cast<int>(i);
    return -1;
}

TApPlace& TApPlaces::Add()
{
    items_.push_back(std::make_unique<TApPlace>());
    return *items_.back();
}

TApPlace& TApPlaces::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    return **items_.insert(items_.begin() + index, std::make_unique<TApPlace>());
}

void TApPlaces::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TApPlaces::Assign(const TApPlaces& other)
{
    std::vector<std::unique_ptr<TApPlace>> copies;
    copies.reserve(other.items_.size());
    for (const auto& place : other.items_)
        copies.push_back(std::make_unique<TApPlace>(*place));
    items_ = std::move(copies);
}

void TApPlaces::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    const auto first = items_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

TApPlace* TApPlaces::PlaceViaName(const std::string& name, TApSpecShellFolder folder)
{
    constexpr auto none = TApSpecShellFolder::ftNone;
    for (const auto& place : items_) {
        const bool sameCaption =
            folder == none && place->PlaceSpecPath == none && PlaceCaption(*place, nullptr) == name;
        if (sameCaption || (folder != none && place->PlaceSpecPath == folder))
            return place.get();
    }
    return nullptr;
}

std::string PlaceKeyName(int index) { return PlaceKeyPrefix + std::to_string(index); }

std::vector<std::string> OrderPlaceKeys(const std::vector<std::string>& listed)
{
    std::vector<std::pair<std::string, std::string>> numbered; // digits, name
    std::vector<std::string> others;
    for (const std::string& name : listed) {
        std::string digits;
        if (PlaceKeyNumber(name, digits))
            numbered.emplace_back(std::move(digits), name);
        else
            others.push_back(name);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return NumberLess(a.first, b.first); });
    std::vector<std::string> ordered;
    ordered.reserve(listed.size());
    for (auto& entry : numbered)
        ordered.push_back(std::move(entry.second));
    ordered.insert(ordered.end(), others.begin(), others.end());
    return ordered;
}

TFittedCaption FitCaption(const std::string& caption, int buttonWidth,
                          const std::function<int(const std::string&)>& textWidth)
{
    if (textWidth(caption) <= buttonWidth - 4)
        return {caption, false};
    const std::string dots = "...";
    const int limit = buttonWidth - textWidth(dots) - 6;
    // Widths grow with the length, so the longest beginning that fits is
    // found by halving.
    std::size_t fits = 0;
    std::size_t tooLong = caption.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (textWidth(caption.substr(0, middle)) <= limit)
            fits = middle;
        else
            tooLong = middle;
    }
    return {caption.substr(0, fits) + dots, true};
}

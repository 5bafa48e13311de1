#include "Places.h"

#include <gtest/gtest.h>

namespace {
using F = TApSpecShellFolder;

TApPlace PathPlace(const std::string& name, const std::string& path)
{
    TApPlace place;
    place.PlaceName = name;
    place.PlacePath = path;
    return place;
}

std::vector<std::string> Names(const TApPlaces& places)
{
    std::vector<std::string> names;
    for (int i = 0; i < places.Count(); ++i)
        names.push_back(places.Items(i).PlaceName);
    return names;
}
} // namespace

TEST(Places, ShellFoldersStoreAsTheirNumbersAndOnlyTheOfferedFourReadBack)
{
    EXPECT_EQ(SpecFolderRegistryNumber(F::ftNone), -1976);
    EXPECT_EQ(SpecFolderRegistryNumber(F::ftRecent), 8);
    EXPECT_EQ(SpecFolderRegistryNumber(F::ftCommonDesktopDir), 25);
    for (F folder : OfferedSpecFolders)
        EXPECT_EQ(SpecFolderFromRegistry(SpecFolderRegistryNumber(folder)), folder);
    for (int other : {-1976, 8, 2, 25, -1, 1000})
        EXPECT_EQ(SpecFolderFromRegistry(other), F::ftNone) << other;
    EXPECT_EQ(OfferedSpecFolderIndex(F::ftDrives), 1);
    EXPECT_EQ(OfferedSpecFolderIndex(F::ftRecent), -1);
}

TEST(Places, EffectiveCaptionFollowsTheAutoCaptionRules)
{
    const TSpecFolderNamer namer = [](F folder) { return folder == F::ftDrives ? "My Computer" : "?"; };
    struct Case {
        bool autoCaption;
        std::string path, regPath;
        F folder;
        std::string caption;
    } cases[] = {
        {false, "C:\\Docs\\a.txt", "", F::ftNone, "stored"},
        {true, "C:\\Docs\\", "", F::ftNone, "C:\\Docs\\"},
        {true, "C:\\Docs\\a.txt", "", F::ftNone, "a.txt"},
        {true, "C:\\Docs", "\\Software\\X\\Personal", F::ftNone, "Personal"},
        {true, "C:\\Docs", "", F::ftDrives, "My Computer"},
        {true, "", "", F::ftNone, ""},
    };
    for (const Case& c : cases) {
        TApPlace place = PathPlace("stored", c.path);
        place.AutoCaption = c.autoCaption;
        place.PlaceRegPath = c.regPath;
        place.PlaceSpecPath = c.folder;
        EXPECT_EQ(PlaceCaption(place, namer), c.caption) << c.path;
    }
}

TEST(Places, PlaceViaNameMatchesCaptionsOfPlainPlacesAndFoldersOfShellPlaces)
{
    TApPlaces places;
    places.Add() = PathPlace("Docs", "C:\\a");
    places.Add() = PathPlace("docs", "C:\\b");
    TApPlace& desktop = places.Add();
    desktop = PathPlace("Docs", "");
    desktop.PlaceSpecPath = F::ftDesktop;

    EXPECT_EQ(places.PlaceViaName("Docs", F::ftNone), &places.Items(0));
    EXPECT_EQ(places.PlaceViaName("docs", F::ftNone), &places.Items(1));
    EXPECT_EQ(places.PlaceViaName("anything", F::ftDesktop), &desktop);
    EXPECT_EQ(places.PlaceViaName("Docs", F::ftFavorites), nullptr);
    EXPECT_EQ(places.PlaceViaName("DOCS", F::ftNone), nullptr);
}

TEST(Places, MovingShiftsThePlacesInBetweenTowardsTheOldIndex)
{
    struct Case {
        int from, to;
        std::vector<std::string> order;
    } cases[] = {
        {0, 2, {"1", "2", "0", "3"}},
        {3, 1, {"0", "3", "1", "2"}},
        {1, 1, {"0", "1", "2", "3"}},
        {0, 4, {"0", "1", "2", "3"}},
        {-1, 0, {"0", "1", "2", "3"}},
    };
    for (const Case& c : cases) {
        TApPlaces places;
        for (const char* name : {"0", "1", "2", "3"})
            places.Add().PlaceName = name;
        TApPlace* moved = c.from >= 0 && c.from < 4 ? &places.Items(c.from) : nullptr;
        places.Move(c.from, c.to);
        EXPECT_EQ(Names(places), c.order) << c.from << " -> " << c.to;
        if (moved && c.to < 4) {
            EXPECT_EQ(places.IndexOf(moved), c.to);
        }
    }
}

TEST(Places, CopiesAreDeepAndInsertKeepsOthersInPlace)
{
    TApPlaces places;
    TApPlace& first = places.Add();
    first.PlaceName = "a";
    places.Insert(0).PlaceName = "b";
    places.Insert(99).PlaceName = "c";
    EXPECT_EQ(Names(places), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(places.IndexOf(&first), 1);

    TApPlaces copy = places;
    copy.Items(0).PlaceName = "changed";
    copy.Delete(2);
    copy.Delete(7);
    EXPECT_EQ(Names(places), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(Names(copy), (std::vector<std::string>{"changed", "a"}));
}

TEST(Places, StoredKeysComeBackInTheOrderTheyWereSaved)
{
    std::vector<std::string> listed;
    for (int n : {0, 1, 10, 11, 2, 3, 4, 5, 6, 7, 8, 9})
        listed.push_back(PlaceKeyName(n));
    listed.insert(listed.begin() + 3, "Other");
    listed.push_back("place_007");
    listed.push_back("Place_");
    listed.push_back("Place_x1");
    listed.push_back("Place_99999999999999999999");

    const std::vector<std::string> expected{
        "Place_0", "Place_1", "Place_2", "Place_3", "Place_4", "Place_5", "Place_6", "Place_7",
        "place_007", "Place_8", "Place_9", "Place_10", "Place_11", "Place_99999999999999999999",
        "Other",   "Place_",  "Place_x1"};
    EXPECT_EQ(OrderPlaceKeys(listed), expected);
}

TEST(Places, LongCaptionsEndInDotsWithinTheButton)
{
    // Four pixels per character.
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 4; };
    EXPECT_EQ(FitCaption("Documents", 87, width).text, "Documents");
    EXPECT_FALSE(FitCaption(std::string(20, 'x'), 87, width).shortened); // 80 <= 83

    const TFittedCaption fitted = FitCaption(std::string(21, 'x'), 87, width);
    EXPECT_TRUE(fitted.shortened);
    // 87 - 12 - 6 = 69: seventeen characters fit, eighteen would not.
    EXPECT_EQ(fitted.text, std::string(17, 'x') + "...");

    EXPECT_EQ(FitCaption("wide", 10, width).text, "...");
}

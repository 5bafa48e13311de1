// Shell folder names, registry-held paths and item lists of the places bar.
#include "Exceptions.h"
#include "IconLibrary.h"
#include "ShellFolders.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <objbase.h>

TEST(ShellFolders, NamesFallBackWhereTheSystemHasNone)
{
    // Wine has the desktop's class name but neither the user's class names
    // nor the shell's strings.
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftDesktop), "Desktop");
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftDrives), "My Computer");
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftPersonal), "My Documents");
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftFavorites), "Favorites");
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftRecent), "Recent");
    EXPECT_EQ(GetSpecFolderName(TApSpecShellFolder::ftFonts), "");
    EXPECT_EQ(GetSpecFolders(), (std::vector<std::string>{"Desktop", "My Computer", "My Documents", "Favorites"}));

    TApPlace place;
    place.AutoCaption = true;
    place.PlaceSpecPath = TApSpecShellFolder::ftDrives;
    EXPECT_EQ(GetPlaceName(place), "My Computer");
}

TEST(ShellFolders, RegistrySpecsReadStringValuesUnderTheUsersHive)
{
    const std::string key = "Software\\Corvane\\QuilloTests\\ShellFolders." + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Docs", REG_SZ, "C:\\Docs", 8), ERROR_SUCCESS);
    const DWORD number = 5;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Number", REG_DWORD, &number, sizeof number),
              ERROR_SUCCESS);

    char personal[MAX_PATH] = {};
    DWORD size = sizeof personal;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal",
                 RRF_RT_REG_SZ, nullptr, personal, &size);

    struct Case {
        std::string spec, value;
    } cases[] = {
        {"\\" + key + "\\Docs", "C:\\Docs"},
        {"\\" + key + "\\Missing", ""},
        {"\\" + key + "\\Number", ""},
        {"\\" + key + "Gone\\Docs", ""},
        {"Personal", personal},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractRegStringValue(c.spec), c.value) << c.spec;
    EXPECT_NE(std::string(personal), "");

    TApPlace place;
    place.PlacePath = "C:\\Else";
    place.PlaceRegPath = "\\" + key + "\\Docs";
    EXPECT_EQ(PlaceTargetPath(place), "C:\\Docs");
    place.PlaceRegPath.clear();
    EXPECT_EQ(PlaceTargetPath(place), "C:\\Else");

    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvane\\QuilloTests");
}

TEST(ShellFolders, ItemListsOfPathsAndPlaces)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        TestFolder folder;
        const std::string sub = folder / "sub";
        ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
        DesktopFolder desktop;
        ASSERT_NE(desktop.Get(), nullptr);

        ItemIdList list = CreatePIDLFromPath(desktop.Get(), sub);
        ASSERT_TRUE(list);
        EXPECT_EQ(GetPathFromPIDL(list.Get()), sub);
        // Items: the drive, each folder down to "sub".
        UINT items = 0;
        UINT bytes = 2;
        for (LPITEMIDLIST item = list.Get(); item; item = GetNextItemID(item)) {
            ++items;
            bytes += item->mkid.cb;
        }
        EXPECT_GE(items, 2u);
        EXPECT_EQ(GetPIDLSize(list.Get()), bytes);
        const ItemIdList first = CreatePIDLCopy(list.Get());
        EXPECT_EQ(GetPIDLSize(first.Get()), list.Get()->mkid.cb + 2u);
        EXPECT_EQ(GetPIDLSize(nullptr), 0u);

        TApPlace place;
        place.PlacePath = sub;
        const ItemIdList placeList = GetPlacePidl(place, desktop.Get());
        EXPECT_TRUE(SameItem(desktop.Get(), placeList.Get(), list.Get()));
        EXPECT_FALSE(SameItem(desktop.Get(), first.Get(), list.Get()));

        place.PlaceSpecPath = TApSpecShellFolder::ftDrives;
        EXPECT_TRUE(GetPlacePidl(place, desktop.Get()));

        // A folder that is gone: no list, no error.
        place.PlaceSpecPath = TApSpecShellFolder::ftNone;
        place.PlacePath = folder / "gone";
        EXPECT_FALSE(GetPlacePidl(place, desktop.Get()));
        std::string message;
        try {
            CreatePIDLFromPath(desktop.Get(), folder / "gone");
        } catch (const Exception& error) {
            message = error.what();
        }
        EXPECT_EQ(message, "Error parsing folder name to PIDL(does folder exist?)");
        EXPECT_THROW(CreatePIDLFromPath(nullptr, sub), Exception);
    }
    CoUninitialize();
}

TEST(ShellFolders, AnIconLibraryCountsAndSizesIconsAsTheShellDoes)
{
    const TIconLibrary library("shell32.dll");
    const int large = GetSystemMetrics(SM_CXICON);
    for (int index : {0, 3, 4, 183}) {
        const HICON icon = library.Extract(index);
        ASSERT_NE(icon, nullptr) << index;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, large) << index;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ(library.Extract(184), nullptr);
    EXPECT_EQ(library.Extract(-1), nullptr);
    EXPECT_EQ(TIconLibrary("missing.dll").Extract(0), nullptr);
    EXPECT_EQ(TIconLibrary("").Extract(0), nullptr);
}

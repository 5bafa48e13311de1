// Times the places bar: making the buttons of a bar of 20 places with icons
// from shell32.dll, and following the dialog's folder over 20 places (each
// place's folder parsed, as every folder change does).

#include "BenchReport.h"
#include "PlacesBarForm.h"
#include "ShellFolders.h"

#include <windows.h>

#include <objbase.h>

#include <string>
#include <vector>

namespace {
constexpr int PlaceCount = 20;
constexpr int Runs = 5;

// A dialog that is always in one folder.
class FixedFolder final : public TApPlacesBarDialog {
public:
    explicit FixedFolder(LPCITEMIDLIST folder) : folder_(folder) {}
    HWND DialogWindow() const override { return nullptr; }
    std::string GetSelPath() override { return std::string(); }
    void SetSelPath(const std::string&) override {}
    void SetFNameText(const std::string&) override {}
    LPCITEMIDLIST GetSelPathPidl() override { return folder_; }

private:
    LPCITEMIDLIST folder_;
};

std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return std::string(path) + "places_bar_bench";
}
} // namespace

int main()
{
    CoInitialize(nullptr);
    const std::string root = TempFolder();
    CreateDirectoryA(root.c_str(), nullptr);
    TApPlaces places;
    for (int i = 0; i < PlaceCount; ++i) {
        TApPlace& place = places.Add();
        place.PlaceName = "Place " + std::to_string(i);
        place.PlacePath = root + "\\folder" + std::to_string(i);
        CreateDirectoryA(place.PlacePath.c_str(), nullptr);
        place.PlaceIconDll = "shell32.dll";
        place.PlaceIcon = 3 + i;
        place.PlaceHotIcon = 4 + i;
    }

    {
        std::vector<double> runs;
        for (int run = 0; run < Runs; ++run) {
            const auto start = BenchClock::now();
            TApPlacesBarFrm bar;
            bar.SetPlaces(&places);
            bar.UpdatePlaces();
            runs.push_back(MillisecondsSince(start));
        }
        std::printf("  bar of %d places: %s\n", PlaceCount, RunsText(runs).c_str());
        Report("Places bar: 20 places with shell32 icons built", Best(runs), 100);
    }

    {
        DesktopFolder desktop;
        // The last place's folder: every place is looked at.
        const ItemIdList current = CreatePIDLFromPath(desktop.Get(), places.Items(PlaceCount - 1).PlacePath);
        TApPlacesBarFrm bar;
        FixedFolder dialog(current.Get());
        bar.SetDialog(&dialog);
        bar.SetPlaces(&places);
        bar.UpdatePlaces();
        std::vector<double> runs;
        for (int run = 0; run < Runs; ++run) {
            bar.ToolBar1.Buttons(0).SetDown(true);
            const auto start = BenchClock::now();
            bar.FollowFolder();
            runs.push_back(MillisecondsSince(start));
        }
        // The first run parses every place; the later ones compare.
        std::printf("  following over %d places: %s\n", PlaceCount, RunsText(runs).c_str());
        Report("Places bar: following the folder over 20 places", Best(runs), 20);
    }

    for (int i = 0; i < PlaceCount; ++i)
        RemoveDirectoryA(places.Items(i).PlacePath.c_str());
    RemoveDirectoryA(root.c_str());
    CoUninitialize();
    return 0;
}

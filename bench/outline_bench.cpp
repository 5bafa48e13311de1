// Times the outline file at the format's limit: a generated outline of 65,535
// pages (about 20 MB) opened into the main window's page tree and saved back,
// against inserting the same number of bare items into a tree in the same run.

#include "BenchTreeForm.h"
#include "Application.h"
#include "CommandLine.h"
#include "Form.h"
#include "KbfFormat.h"
#include "Main.h"
#include "OutlineFile.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"
#include "SharedState.h"
#include "Streams.h"
#include "TreeView.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, double value, double target, const char* unit)
{
    std::printf("%-58s %9.1f %s  (target <= %6.0f %s)  %s\n", what, value, unit, target, unit,
                value <= target ? "PASS" : "SLOW");
    std::fflush(stdout);
}

// Pages in pre-order down to level 8, bodies of a few hundred bytes in lines.
KbfOutline GeneratedOutline()
{
    std::mt19937 random(7);
    KbfOutline outline;
    outline.pages.resize(PageCount);
    outline.pages[0].title = "Generated";
    std::vector<int> path{0};
    for (int i = 1; i < PageCount; ++i) {
        const unsigned roll = random() % 10;
        if (roll < 3 && path.size() < 8)
            path.push_back(i - 1);
        else if (roll < 5 && path.size() > 1)
            path.pop_back();
        KbfPage& page = outline.pages[static_cast<size_t>(i)];
        page.parent = path.back();
        page.title = "Page " + std::to_string(i);
        page.state = static_cast<std::int32_t>(random() % 21);
        for (int line = 0; line < 5; ++line)
            page.body += "Some words of page text that fill a line of a typical note.\n";
    }
    // Expand states from the shape: a page followed by its child has children.
    for (int i = 1; i + 1 < PageCount; ++i)
        if (outline.pages[static_cast<size_t>(i + 1)].parent == i)
            outline.pages[static_cast<size_t>(i)].expand = (i % 3 == 0) ? KbfExpanded : KbfCollapsed;
    return outline;
}

std::size_t PrivateBytes(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

class BareForm : public BenchTreeForm {
public:
    BareForm() : BenchTreeForm("Bare tree") {}
};
}

int main()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "quillo-outline-bench.kbf";
    const std::string copy = std::string(temp) + "quillo-outline-bench-saved.kbf";
    std::size_t fileSize = 0;
    {
        KbfOutline outline = GeneratedOutline();
        TStringStream bytes;
        WriteKbf(bytes, outline, KbfStamp{"1 January 2026 12:00", "Bench"});
        fileSize = bytes.DataString().size();
        TFileStream file(path, fmCreate | fmShareExclusive);
        file.WriteBuffer(bytes.DataString().data(), static_cast<std::int64_t>(fileSize));
    }
    std::printf("outline: %d pages, %.1f MB\n", PageCount, static_cast<double>(fileSize) / 1e6);

    double bare = 0;
    {
        BareForm form;
        TTreeNodes& items = form.tree->Items();
        const auto start = Clock::now();
        items.BeginUpdate();
        TTreeNode* root = items.AddChild(nullptr, "root");
        for (int i = 1; i < PageCount; ++i)
            items.AddChild(root, "Page");
        items.EndUpdate();
        bare = MillisecondsSince(start);
    }
    Report("insert 65,535 bare items into a tree", bare, 1e9, "ms");

    // The window starts as "Quillo /m" with settings of the bench's own: no
    // outline, no help, no notification icon.
    const std::string settingsParent = "Software\\Corvane\\QuilloBench";
    RegDeleteTreeA(HKEY_CURRENT_USER, settingsParent.c_str());
    SetSettingsRoot(settingsParent + "\\1");
    SetCommandLineArguments(std::vector<std::string>{"/m"});
    OptionSettings.Traybar = 1;
    OptionSettings.FirstUse = false;
    Application.Initialize();
    Application.CreateForm<TMain>();
    const std::size_t before = PrivateBytes(false);
    auto start = Clock::now();
    const bool loaded = LoadOutline(path);
    const double load = MillisecondsSince(start);
    const std::size_t peak = PrivateBytes(true);
    if (!loaded || Main->Tree->Items().Count() != PageCount)
        std::printf("LoadOutline FAILED\n");
    Report("LoadOutline, 65,535 pages", load, 1500, "ms");
    Report("LoadOutline within 2x of bare inserts (ratio x100)", load / (bare > 0 ? bare : 1) * 100, 200, "");
    Report("peak memory growth during the load (x100 of file size)",
           static_cast<double>(peak > before ? peak - before : 0) / static_cast<double>(fileSize) * 100, 300, "");

    start = Clock::now();
    const bool saved = SaveOutline(copy);
    const double save = MillisecondsSince(start);
    if (!saved)
        std::printf("SaveOutline FAILED\n");
    Report("SaveOutline, 65,535 pages", save, 300, "ms");

    Application.DestroyForms();
    SettingsRegistry().CloseKey();
    RegDeleteTreeA(HKEY_CURRENT_USER, settingsParent.c_str());
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());
    return 0;
}

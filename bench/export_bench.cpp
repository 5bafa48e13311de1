// Times the text and web page exports of the main window over an outline at
// the format's limit, 65,535 pages of about 20 MB, and measures the web page
// export's memory against the size of the page it makes.

#include "Application.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "HtmlExport.h"
#include "Main.h"
#include "OpenOutline.h"
#include "OutlineFile.h"
#include "ProgramFolder.h"
#include "TreePages.h"
#include "TreeView.h"
#include "WindowExports.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 3;

// A regular shape eight levels deep, every page with five lines of text and
// one of the fifteen states.
KbfOutline GeneratedOutline()
{
    KbfOutline outline;
    outline.pages.resize(PageCount);
    outline.pages[0].title = "Generated";
    for (int i = 1; i < PageCount; ++i) {
        KbfPage& page = outline.pages[static_cast<size_t>(i)];
        const int level = i % 8;
        page.parent = level == 0 ? 0 : i - 1;
        page.title = "Page " + std::to_string(i) + (i % 5 == 0 ? " & <more>" : "");
        page.state = 1 + i % 15;
        for (int line = 0; line < 5; ++line)
            page.body += "Some  words of page text that fill a line\tof a typical note.\r\n";
    }
    return outline;
}

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// The highest memory use seen while the export runs.
class PeakWatch : public ExportProgress {
public:
    void Step(long long done, long long) override
    {
        if (done % 256 == 0)
            peak = std::max(peak, PrivateBytes());
    }
    std::size_t peak = 0;
};

// Each run gives its own time.
template <typename Export>
std::vector<double> Timed(Export&& exportOutline)
{
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        runs.push_back(exportOutline());
    }
    return runs;
}
}

int main()
{
    const std::string path = BenchTempPath("quillo-export-bench.kbf");
    const std::string page = BenchTempPath("quillo-export-bench.htm");
    KbfOutline outline = GeneratedOutline();
    const std::size_t fileSize = WriteBenchOutline(path, outline);
    outline = KbfOutline{};
    std::printf("outline: %d pages, %.1f MB\n", PageCount, static_cast<double>(fileSize) / 1e6);

    StartShownBenchWindow();
    if (!LoadOutline(path) || Main->Tree->Items().Count() != PageCount) {
        std::printf("  the outline did not load\n");
        EndBenchWindow();
        return 0;
    }

    ExportProfile profile("Bench");
    // The lines are kept until the timing ends, as the caller keeps them.
    std::optional<TStringList> lines;
    const std::vector<double> text = Timed([&] {
        lines.reset();
        const auto start = BenchClock::now();
        lines.emplace(ExportWindowOutlineText(profile));
        return MillisecondsSince(start);
    });
    std::printf("  text export: %s, %.1f MB\n", RunsText(text).c_str(),
                static_cast<double>(lines->GetText().size()) / 1e6);
    lines.reset();
    Report("text export of 65,535 pages", Best(text), 1000);

    std::size_t html = 0;
    const std::vector<double> web = Timed([&] {
        const auto start = BenchClock::now();
        html = ExportWindowOutlineHtml(profile, page).size();
        return MillisecondsSince(start);
    });
    std::printf("  web page export: %s, %.1f MB\n", RunsText(web).c_str(), static_cast<double>(html) / 1e6);
    Report("web page export of 65,535 pages", Best(web), 2000);
    profile.Settings.SimulateStates = true;
    const std::vector<double> pictures = Timed([&] {
        const auto start = BenchClock::now();
        html = ExportWindowOutlineHtml(profile, page).size();
        return MillisecondsSince(start);
    });
    std::printf("  web page export with the states as pictures: %s, %.1f MB\n", RunsText(pictures).c_str(),
                static_cast<double>(html) / 1e6);
    Report("web page export of 65,535 pages with state pictures", Best(pictures), 2000);

    {
        PeakWatch watch;
        const TreePages pages(*Main->Tree);
        WebPageExport exporter{*Main->FExportProfiles, profile.Settings, OptionSettings, ExeFolder()};
        const std::size_t before = PrivateBytes();
        const std::string result =
            ExportOutlineHtml(exporter, OutlineToExport{pages, nullptr, PropertiesText(), &watch}, page);
        const std::size_t peak = std::max(watch.peak, PrivateBytes()) - before;
        std::printf("  web page export memory: %.1f MB at the peak for a page of %.1f MB\n",
                    static_cast<double>(peak) / 1e6, static_cast<double>(result.size()) / 1e6);
        Report("web page export peak memory / page size", static_cast<double>(peak) / result.size(), 3, "x");
    }

    EndBenchWindow();
    DeleteFileA(path.c_str());
    DeleteFileA(page.c_str());
    return 0;
}

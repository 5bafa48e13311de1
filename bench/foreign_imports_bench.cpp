// Times File > Open's two foreign readers at the page limit: a generated
// TreePad file and a generated ActionOutline file of 65,535 pages (about
// 20 MB each) imported into the shown main window, with the peak memory the
// first import of each adds.

#include "Application.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "ForeignImports.h"
#include "Main.h"
#include "TreeView.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 3;
const std::string BodyLine = "Some words of page text that fill a line of a typical note.";

// Levels of pages in pre-order down to level 8, the root first.
std::vector<int> GeneratedLevels()
{
    std::mt19937 random(7);
    std::vector<int> levels{0};
    for (int i = 1; i < PageCount; ++i) {
        const unsigned roll = random() % 10;
        int level = levels.back();
        if (roll < 3 && level < 8)
            ++level;
        else if (roll < 5 && level > 1)
            --level;
        levels.push_back(std::max(level, 1));
    }
    return levels;
}

std::string TreePadFile(const std::vector<int>& levels)
{
    std::string file = "<Treepad version 2.7>\r\n";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        file += "dt=Text\r\n<node>\r\nPage " + std::to_string(i) + "\r\n" + std::to_string(levels[i]) + "\r\n";
        for (int line = 0; line < 5; ++line)
            file += BodyLine + "\r\n";
        file += "<end node> 5P9i0s8y19Z\r\n";
    }
    return file;
}

void AppendInt32(std::string& out, std::int32_t value)
{
    for (int k = 0; k < 4; ++k)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * k)) & 0xFF);
}

void AppendField(std::string& out, const std::string& text)
{
    AppendInt32(out, static_cast<std::int32_t>(text.size()));
    out += text;
}

std::string ActionOutlineFile(const std::vector<int>& levels)
{
    std::string body;
    for (int line = 0; line < 5; ++line)
        body += BodyLine + "\r\n";
    std::string file("[GP][AO][1.0][01]\x08" "0000000", 25);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        AppendField(file, "\x01\x01\x03Page " + std::to_string(i));
        AppendField(file, body);
        // Direct children: the following pages one level deeper, up to the
        // next page at this level or above.
        std::int32_t children = 0;
        for (std::size_t j = i + 1; j < levels.size() && levels[j] > levels[i]; ++j)
            children += levels[j] == levels[i] + 1;
        AppendInt32(file, children);
    }
    return file;
}

void Measure(const char* name, const std::string& path, std::size_t fileSize,
             const std::function<bool(const std::string&)>& import)
{
    std::vector<double> runs;
    bool imported = true;
    std::size_t added = 0;
    for (int run = 0; run < Runs; ++run) {
        // Not timed: the pages of the import before go first, so that the
        // memory the import adds is measured from an empty outline.
        Main->bNewClick(nullptr);
        const std::size_t before = PrivateBytes(false);
        const auto start = BenchClock::now();
        imported = import(path) && imported;
        runs.push_back(MillisecondsSince(start));
        if (run == 0)
            added = std::max(PrivateBytes(true), before) - before;
    }
    if (!imported || Main->Tree->Items().Count() != PageCount)
        std::printf("%s import FAILED (%d pages)\n", name, Main->Tree->Items().Count());
    std::printf("  %s: %s\n", name, RunsText(runs).c_str());
    Report((std::string("import a 65,535-page ") + name + " file").c_str(), Best(runs), 1500);
    Report((std::string("peak memory it adds, ") + name + " (x file size)").c_str(),
           static_cast<double>(added) / static_cast<double>(fileSize), 3, "x");
}
}

int main()
{
    const std::string padPath = BenchTempPath("quillo-import-bench.hjt");
    const std::string aoPath = BenchTempPath("quillo-import-bench.ao");
    std::size_t padSize = 0;
    std::size_t aoSize = 0;
    {
        const std::vector<int> levels = GeneratedLevels();
        const std::string pad = TreePadFile(levels);
        const std::string ao = ActionOutlineFile(levels);
        std::ofstream(padPath, std::ios::binary).write(pad.data(), static_cast<std::streamsize>(pad.size()));
        std::ofstream(aoPath, std::ios::binary).write(ao.data(), static_cast<std::streamsize>(ao.size()));
        padSize = pad.size();
        aoSize = ao.size();
    }
    std::printf("TreePad file %.1f MB, ActionOutline file %.1f MB, %d pages each\n", static_cast<double>(padSize) / 1e6,
                static_cast<double>(aoSize) / 1e6, PageCount);

    StartShownBenchWindow();
    Measure("TreePad", padPath, padSize, ImportTreePad);
    Measure("ActionOutline", aoPath, aoSize, ImportActionOutline);
    EndBenchWindow();
    DeleteFileA(padPath.c_str());
    DeleteFileA(aoPath.c_str());
    return 0;
}

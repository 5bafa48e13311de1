// Times the outline file at the format's limit: a generated outline of 65,535
// pages (about 20 MB) opened into the shown main window's page tree and saved
// back, against putting the same number of items into a bare tree view control
// in the same run; the load's peak memory is taken in a fresh process.

#include "Application.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "Form.h"
#include "KbfFormat.h"
#include "Main.h"
#include "OutlineFile.h"
#include "SharedState.h"
#include "Streams.h"
#include "TreeView.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;

// Each timing is taken this many times and the best counts.
constexpr int Runs = 3;

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

// The honest fastest way to put N items into the system tree view, with no
// framework in between: a bare control made with CreateWindowEx, drawing
// switched off, one TVM_INSERTITEM per item with only its text, each item
// appended last under a parent whose handle is already at hand.
class BareTree {
public:
    BareTree()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        frame_ = CreateWindowExA(0, "STATIC", "Bare tree", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS |
                                    TVS_SHOWSELALWAYS,
                                0, 0, 380, 560, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~BareTree() { DestroyWindow(frame_); }
    BareTree(const BareTree&) = delete;
    BareTree& operator=(const BareTree&) = delete;

    void Show() { ShowWindow(frame_, SW_SHOWNOACTIVATE); UpdateWindow(frame_); }
    void Redraw(bool on) { SendMessageA(tree_, WM_SETREDRAW, on ? TRUE : FALSE, 0); }
    HTREEITEM Insert(HTREEITEM parent, const char* text)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

private:
    HWND frame_ = nullptr;
    HWND tree_ = nullptr;
};

// Times N bare inserts. Flat: the root item and N - 1 items below it. Shaped:
// every item below the item of its page's parent, the outline's own shape.
double BareInserts(const std::vector<std::int32_t>& parents, bool shaped)
{
    BareTree tree;
    tree.Show();
    std::vector<std::string> titles(parents.size());
    for (std::size_t i = 0; i < titles.size(); ++i)
        titles[i] = "Page " + std::to_string(i);
    std::vector<HTREEITEM> items(parents.size(), nullptr);
    const auto start = BenchClock::now();
    tree.Redraw(false);
    items[0] = tree.Insert(TVI_ROOT, titles[0].c_str());
    for (std::size_t i = 1; i < parents.size(); ++i)
        items[i] = tree.Insert(items[shaped ? static_cast<std::size_t>(parents[i]) : 0], titles[i].c_str());
    tree.Redraw(true);
    return MillisecondsSince(start);
}

// The cost of first touching fresh memory, a floor under anything that must
// hold the file's texts: on some hosts every new page is expensive.
double TouchFreshMemory(std::size_t bytes)
{
    const auto start = BenchClock::now();
    void* block = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (block) {
        std::memset(block, 1, bytes);
        VirtualFree(block, 0, MEM_RELEASE);
    }
    return MillisecondsSince(start);
}

// The peak of the load alone: a fresh process of this program opens the
// outline and writes its memory use before and at the peak into a file, so
// what this process built before does not hide the load's own peak.
constexpr const char* PeakSwitch = "--load-peak";

int MeasureLoadPeak(const std::string& path)
{
    StartBenchWindow();
    const std::size_t before = PrivateBytes(false);
    const bool loaded = LoadOutline(path);
    const std::size_t peak = PrivateBytes(true);
    std::FILE* out = std::fopen((path + ".peak").c_str(), "w");
    if (out) {
        std::fprintf(out, "%zu %zu %d\n", before, peak, loaded ? 1 : 0);
        std::fclose(out);
    }
    Application.DestroyForms();
    return 0;
}

bool LoadPeakInFreshProcess(const std::string& path, std::size_t& before, std::size_t& peak)
{
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" " + PeakSwitch + " \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::FILE* in = std::fopen((path + ".peak").c_str(), "r");
    if (!in)
        return false;
    int loaded = 0;
    const bool read = std::fscanf(in, "%zu %zu %d", &before, &peak, &loaded) == 3;
    std::fclose(in);
    DeleteFileA((path + ".peak").c_str());
    return read && loaded == 1;
}

// Control items made by the load: only those of branches that can be seen.
int ControlItems(TTreeNode* node)
{
    int items = 0;
    for (; node; node = node->GetNext())
        items += node->ItemId() != nullptr;
    return items;
}
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == PeakSwitch)
        return MeasureLoadPeak(argv[2]);
    const std::string path = BenchTempPath("quillo-outline-bench.kbf");
    const std::string copy = BenchTempPath("quillo-outline-bench-saved.kbf");
    std::size_t fileSize = 0;
    std::vector<std::int32_t> parents;
    {
        KbfOutline outline = GeneratedOutline();
        for (const KbfPage& page : outline.pages)
            parents.push_back(page.parent);
        fileSize = WriteBenchOutline(path, outline);
    }
    std::printf("outline: %d pages, %.1f MB\n", PageCount, static_cast<double>(fileSize) / 1e6);

    // The codec alone, for the share of the load and save it takes.
    {
        auto start = BenchClock::now();
        KbfOutline outline;
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        const KbfReadResult result = ReadKbf(file, outline);
        const double read = MillisecondsSince(start);
        start = BenchClock::now();
        TStringStream bytes;
        WriteKbf(bytes, outline, KbfStamp{"1 January 2026 12:00", "Bench"});
        const double write = MillisecondsSince(start);
        std::printf("  codec only: read the file %.1f ms%s, write it to memory %.1f ms\n", read,
                    result == KbfReadResult::Ok ? "" : " (FAILED)", write);
    }

    std::size_t peakBefore = 0;
    std::size_t peak = 0;
    const bool peakMeasured = LoadPeakInFreshProcess(path, peakBefore, peak);

    std::vector<double> flat;
    std::vector<double> shaped;
    for (int run = 0; run < Runs; ++run) {
        flat.push_back(BareInserts(parents, false));
        shaped.push_back(BareInserts(parents, true));
    }
    const double bare = std::min(Best(flat), Best(shaped));
    std::printf("  bare control, %d TVM_INSERTITEM with redraw off: flat %s, outline's shape %s\n", PageCount,
                RunsText(flat).c_str(), RunsText(shaped).c_str());
    std::printf("  first touch of %.1f MB of fresh memory (a floor for holding the texts): %.1f ms\n",
                static_cast<double>(fileSize) / 1e6, TouchFreshMemory(fileSize));

    StartShownBenchWindow();
    std::vector<double> loads;
    bool loaded = true;
    for (int run = 0; run < Runs; ++run) {
        // Not timed: the pages of the run before go, as a new outline would take them.
        if (run > 0)
            Main->Tree->Items().GetFirstNode()->DeleteChildren();
        const auto start = BenchClock::now();
        loaded = LoadOutline(path) && loaded;
        loads.push_back(MillisecondsSince(start));
    }
    const double load = Best(loads);
    if (!loaded || Main->Tree->Items().Count() != PageCount)
        std::printf("LoadOutline FAILED\n");
    std::printf("  LoadOutline runs: %s\n", RunsText(loads).c_str());
    std::printf("  the load made %d control items for %d pages (only branches that can be seen get items);\n"
                "  the bare baseline inserts all %d\n",
                ControlItems(Main->Tree->Items().GetFirstNode()), Main->Tree->Items().Count(), PageCount);
    Report("bare inserts of 65,535 items (best, flat or shaped)", bare, 1e9, "ms");
    Report("LoadOutline, 65,535 pages (best)", load, 1500, "ms");
    Report("LoadOutline / bare inserts (ratio x100)", load / (bare > 0 ? bare : 1) * 100, 200, "");
    if (!peakMeasured)
        std::printf("peak measurement FAILED\n");
    std::printf("  private bytes of a fresh process: %.1f MB before the load, %.1f MB at its peak; file %.1f MB\n",
                static_cast<double>(peakBefore) / 1e6, static_cast<double>(peak) / 1e6,
                static_cast<double>(fileSize) / 1e6);
    Report("peak memory growth during the load (x100 of file size)",
           static_cast<double>(peak > peakBefore ? peak - peakBefore : 0) / static_cast<double>(fileSize) * 100, 300,
           "");

    std::vector<double> saves;
    bool saved = true;
    for (int run = 0; run < Runs; ++run) {
        const auto start = BenchClock::now();
        saved = SaveOutline(copy) && saved;
        saves.push_back(MillisecondsSince(start));
    }
    if (!saved)
        std::printf("SaveOutline FAILED\n");
    std::printf("  SaveOutline runs: %s\n", RunsText(saves).c_str());
    Report("SaveOutline, 65,535 pages (best)", Best(saves), 300, "ms");

    EndBenchWindow();
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());
    return 0;
}

// Times Browse For Page, opened from the hyperlink dialog, over an outline at
// the format's limit of 65,535 pages: making the copy of the page tree and
// showing it, as choosing "Page in This Outline" does.

#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "BrowsePageDialog.h"
#include "HyperlinkDialog.h"
#include "Main.h"
#include "OutlineFile.h"
#include "RichEdit.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 3;

// Pages in branches of up to six levels, every fourth one with sub pages.
KbfOutline LimitOutline()
{
    KbfOutline outline;
    std::vector<std::int32_t> parents{-1};
    for (int i = 0; i < PageCount; ++i) {
        KbfPage page;
        page.parent = parents.back();
        page.title = "Page " + std::to_string(i);
        page.body = "A line of page text.\n";
        page.expand = KbfCollapsed;
        outline.pages.push_back(page);
        const auto index = static_cast<std::int32_t>(i);
        if (i % 4 == 0 && parents.size() < 6)
            parents.push_back(index);
        else if (i % 7 == 0 && parents.size() > 2)
            parents.pop_back();
    }
    std::vector<bool> hasChildren(outline.pages.size(), false);
    for (const KbfPage& page : outline.pages) {
        if (page.parent >= 0)
            hasChildren[static_cast<std::size_t>(page.parent)] = true;
    }
    for (std::size_t i = 0; i < outline.pages.size(); ++i) {
        if (!hasChildren[i])
            outline.pages[i].expand = KbfNoChildren;
    }
    return outline;
}
}

int main()
{
    const std::string path = BenchTempPath("quillo-hyperlink-bench.kbf");
    {
        KbfOutline outline = LimitOutline();
        WriteBenchOutline(path, outline);
    }
    StartShownBenchWindow();
    if (!LoadOutline(path))
        std::printf("  LoadOutline FAILED\n");
    Main->RichEdit->SetFocus();
    Application.ProcessMessages();

    std::vector<double> opens;
    int copied = 0;
    for (int run = 0; run < Runs; ++run) {
        auto dialog = std::make_unique<THyperlink>();
        BenchClock::time_point start;
        // The browser ends as soon as it is up: the time is the opening's.
        TForm::ModalShownHook = [&](TForm& form) {
            if (auto* browser = dynamic_cast<TBrowsePage*>(&form)) {
                opens.push_back(MillisecondsSince(start));
                copied = browser->Tree.Items().Count();
                form.ModalResult = mrCancel;
            }
        };
        start = BenchClock::now();
        dialog->bPageClick();
        TForm::ModalShownHook = nullptr;
    }
    std::printf("  Browse For Page opened on %d pages (%d copied): %s\n", Main->Tree->Items().Count(), copied,
                RunsText(opens).c_str());
    Report("open Browse For Page, 65,535 pages (best)", Best(opens), 500);

    EndBenchWindow();
    DeleteFileA(path.c_str());
    return 0;
}

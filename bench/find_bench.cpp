// Times a whole-outline Find Next that finds nothing on an outline at the
// format's limit of 65,535 pages (about 20 MB of page text): the search goes
// through every title and every page's text after the selected page and ends
// with the miss message. Also a search whose only match is in the last page.

#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "FindDialog.h"
#include "Main.h"
#include "ModelessWindows.h"
#include "OutlineFile.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 3;

// Pages of five lines, ten pages to a branch, as a big outline grows.
KbfOutline BigOutline()
{
    KbfOutline outline;
    for (int index = 0; index < PageCount; ++index) {
        KbfPage page;
        page.parent = index == 0 ? -1 : index % 10 == 1 ? 0 : index - 1 - (index - 1) % 10 + 1;
        page.title = index == 0 ? "Find" : "Page " + std::to_string(index);
        for (int line = 0; line < 5; ++line)
            page.body += "Some words of page text that fill a line of a typical note " + std::to_string(line) + ".\n";
        if (index == PageCount - 1)
            page.body += "The last page holds the needle.\n";
        outline.pages.push_back(page);
    }
    return outline;
}

double TimedSearch(const std::string& text, TSearchScope scope, bool matchCase, bool whole)
{
    Main->Tree->SetSelected(Main->Tree->Items().GetFirstNode());
    Main->TreeClick();
    TFindR& find = *FindRWindow();
    find.Edit.SetText(text);
    find.SearchEdit.SetItemIndex(scope);
    find.Case.SetChecked(matchCase);
    find.Whole.SetChecked(whole);
    const auto start = BenchClock::now();
    find.FindButtonClick();
    return MillisecondsSince(start);
}

void Measure(const char* what, const std::string& text, TSearchScope scope, bool matchCase, bool whole,
             const std::string& expectedTitle)
{
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        runs.push_back(TimedSearch(text, scope, matchCase, whole));
        const std::string found = Main->Tree->Selected()->Text();
        if (found != expectedTitle)
            std::printf("  search FAILED: stopped at \"%s\"\n", found.c_str());
    }
    std::printf("  %s: %s\n", what, RunsText(runs).c_str());
    Report(what, Best(runs), 500);
}
}

int main()
{
    const std::string path = BenchTempPath("quillo-find-bench.kbf");
    std::size_t bytes = 0;
    {
        KbfOutline outline = BigOutline();
        bytes = WriteBenchOutline(path, outline);
    }
    std::printf("  outline of %d pages, %zu bytes\n", PageCount, bytes);

    StartShownBenchWindow();
    if (!LoadOutline(path))
        std::printf("  LoadOutline FAILED\n");
    Main->mFindClick(nullptr);
    Application.ProcessMessages();

    const std::string last = "Page " + std::to_string(PageCount - 1);
    Measure("Find Next, no match, titles and texts (best)", "zebra quartz", scOutlineWithTitles, false, false, "Find");
    Measure("Find Next, no match, texts only, case, whole (best)", "Zebra", scOutlineWithoutTitles, true, true,
            "Find");
    // Inside a word of every page, so only the word boundaries rule it out.
    Measure("Find Next, no match, whole word inside every page (best)", "ord", scOutlineWithTitles, false, true,
            "Find");
    Measure("Find Next, the one match in the last page (best)", "needle", scOutlineWithTitles, false, true, last);

    FindR.reset();
    EndBenchWindow();
    DeleteFileA(path.c_str());
    return 0;
}
